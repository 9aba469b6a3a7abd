// CVXThread: a worker thread with a first-in first-out job queue, one job at a time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// The worker's wake-up object.
class CVXEvent
{
public:
    virtual ~CVXEvent() = default;

    std::mutex waitMutex;                 // held by the worker around its wait
    std::condition_variable_any condition;
    bool pending = false;                 // a job was queued since the worker last woke; under waitMutex
};

template <typename T>
class CVXThread
{
public:
    CVXThread() = default;
    virtual ~CVXThread() { Stop(); }

    CVXThread(const CVXThread&) = delete;
    CVXThread& operator=(const CVXThread&) = delete;

    void PostJob(const T& job)
    {
        {
            std::lock_guard<std::mutex> lock(m_queueMutex);
            m_queue.push_back(job);
        }
        // The pending flag lives under the wait mutex: a job queued between the worker's last
        // look at the queue and the start of its wait is seen by the wait's condition.
        {
            std::lock_guard<std::mutex> lock(m_event.waitMutex);
            m_event.pending = true;
        }
        m_event.condition.notify_one();
    }

    bool TryPopJob(T& job)
    {
        std::lock_guard<std::mutex> lock(m_queueMutex);
        if (m_queue.empty()) return false;
        job = m_queue.front();
        m_queue.pop_front();
        return true;
    }

    // Must not be called on the worker thread itself.
    void Stop()
    {
        m_stop.exchange(true);
        {
            std::lock_guard<std::mutex> lock(m_event.waitMutex);
        }
        m_event.condition.notify_all();
        if (m_thread.joinable()) m_thread.join();
    }

    bool IsStopping() const { return m_stop.load(); }

protected:
    // Derived classes call this as the last step of their construction, so that no job
    // is handled before OnJob dispatches to them.
    void Start() { m_thread = std::thread([this] { Run(); }); }

    virtual bool Run()
    {
        while (!m_stop.load())
        {
            {
                std::unique_lock<std::mutex> lock(m_event.waitMutex);
                m_event.condition.wait(lock, [this] { return m_stop.load() || m_event.pending; });
                m_event.pending = false;
            }
            if (m_stop.load()) break;
            while (!m_stop.load())
            {
                T job;
                if (!TryPopJob(job)) break;
                OnJob(job);
            }
        }
        return m_stop.load();
    }

    virtual void OnJob(T job) = 0;

private:
    std::deque<T> m_queue;
    std::mutex m_queueMutex;
    CVXEvent m_event;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};
