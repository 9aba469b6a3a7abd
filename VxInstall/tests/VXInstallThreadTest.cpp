#include "VXInstallThread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

// What the stand-in library saw, in call order.
struct Recorder
{
    std::mutex m;
    std::condition_variable changed;
    std::vector<std::string> archives;
    std::vector<std::string> dests;
    std::vector<bool> hadCallback;
    std::atomic<int> inFlight{0};
    std::atomic<int> maxInFlight{0};
    std::atomic<bool> release{true};  // when false, calls block until it turns true
    std::atomic<int> started{0};

    void reset()
    {
        std::lock_guard<std::mutex> lock(m);
        archives.clear();
        dests.clear();
        hadCallback.clear();
        inFlight = 0;
        maxInFlight = 0;
        release = true;
        started = 0;
    }
    size_t finished()
    {
        std::lock_guard<std::mutex> lock(m);
        return archives.size();
    }
    bool wait_for(size_t n, int ms = 5000)
    {
        std::unique_lock<std::mutex> lock(m);
        return changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return archives.size() >= n; });
    }
};

Recorder rec;

bool FakeUnzip(const char* archive, const char* dest, ProgressCallback onProgress)
{
    int now = ++rec.inFlight;
    int seen = rec.maxInFlight.load();
    while (now > seen && !rec.maxInFlight.compare_exchange_weak(seen, now)) {}
    ++rec.started;
    while (!rec.release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (onProgress)
    {
        onProgress(50, 100);
        onProgress(100, 100);
    }
    --rec.inFlight;
    std::lock_guard<std::mutex> lock(rec.m);
    rec.archives.push_back(archive);
    rec.dests.push_back(dest);
    rec.hadCallback.push_back(bool(onProgress));
    rec.changed.notify_all();
    return true;
}

NINSTALL_INFO Job(const wchar_t* archive, const wchar_t* dest, ProgressCallback cb = nullptr)
{
    NINSTALL_INFO job;
    job.srcArchive = archive;
    job.destDir = dest;
    job.onProgress = cb;
    return job;
}

} // namespace

TEST(InstallThread, JobQueuedRightAfterConstructionIsHandled)
{
    rec.reset();
    CVXInstallThread worker(&FakeUnzip);
    worker.PostJob(Job(L"C:\\a\\vx.7z", L"C:\\dest"));
    ASSERT_TRUE(rec.wait_for(1));
    EXPECT_EQ("C:\\a\\vx.7z", rec.archives[0]);
    EXPECT_EQ("C:\\dest", rec.dests[0]);
    EXPECT_FALSE(rec.hadCallback[0]);  // an empty callable still reaches the library
}

TEST(InstallThread, JobsRunInOrderOneAtATimeWithTheirProgress)
{
    rec.reset();
    std::atomic<uint64_t> lastDone{0};
    std::atomic<int> reports{0};
    CVXInstallThread worker(&FakeUnzip);
    rec.release = false;  // the first job blocks while the others are queued behind it
    worker.PostJob(Job(L"one", L"d1", [&](uint64_t done, uint64_t) {
        lastDone = done;
        ++reports;
    }));
    while (rec.started.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    worker.PostJob(Job(L"two", L"d2"));
    worker.PostJob(Job(L"three", L"d3"));
    rec.release = true;
    ASSERT_TRUE(rec.wait_for(3));
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), rec.archives);
    EXPECT_EQ(1, rec.maxInFlight.load());
    EXPECT_EQ(2, reports.load());
    EXPECT_EQ(100u, lastDone.load());
}

TEST(InstallThread, IdleWorkerStopsAtOnce)
{
    rec.reset();
    auto start = std::chrono::steady_clock::now();
    {
        CVXInstallThread worker(&FakeUnzip);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(2));  // a lost wake-up would hang here, not run slow
    EXPECT_EQ(0u, rec.finished());
}

TEST(InstallThread, StopDuringALongJobWaitsForItAndDiscardsTheRest)
{
    rec.reset();
    rec.release = false;
    std::thread releaser;
    {
        CVXInstallThread worker(&FakeUnzip);
        worker.PostJob(Job(L"long", L"d"));
        while (rec.started.load() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        worker.PostJob(Job(L"behind1", L"d"));
        worker.PostJob(Job(L"behind2", L"d"));
        releaser = std::thread([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            rec.release = true;
        });
        // The destructor must wait for the running job.
    }
    EXPECT_EQ(1u, rec.finished());
    EXPECT_EQ("long", rec.archives[0]);
    releaser.join();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(1u, rec.finished());
}

TEST(InstallThread, ManyJobsFromManyPostsAreNeverLost)
{
    rec.reset();
    CVXInstallThread worker(&FakeUnzip);
    for (int i = 0; i < 20; ++i)
    {
        worker.PostJob(Job(std::to_wstring(i).c_str(), L"d"));
        if (i % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(rec.wait_for(20, 10000));
    for (int i = 0; i < 20; ++i) EXPECT_EQ(std::to_string(i), rec.archives[size_t(i)]);
}

TEST(WideToAnsi, UnrepresentableCharactersBecomeTheDefaultCharacter)
{
    EXPECT_EQ("C:\\Program Files\\Kestvane", WideToAnsi(L"C:\\Program Files\\Kestvane"));
    EXPECT_EQ("", WideToAnsi(L""));
    EXPECT_EQ("", WideToAnsi(nullptr));
    UINT acp = GetACP();
    if (acp == 936 || acp == 65001 || acp == 54936)
        GTEST_SKIP() << "this ANSI code page holds Chinese characters";
    EXPECT_EQ("D:\\??\\x", WideToAnsi(L"D:\\安装\\x"));
}
