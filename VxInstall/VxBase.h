// VxBase: the installer's event interface. Objects raise events on their relay target;
// pages are linked to the main frame, which is linked to nobody.
#pragma once

#include <functional>
#include <memory>

enum VxEventCode
{
    VXE_POST = 1,           // run the event whose code is the argument later, on the UI thread
    VXE_SELECT_PAGE = 52,   // show page `argument`; page 2 also starts the installation
    VXE_START_INSTALL = 53, // create the install folder and queue the extraction
    VXE_PROGRESS = 54,      // the extraction counters changed
};

// The window message that carries a posted event: wParam = event code, lParam = 0.
const unsigned WM_VXEVENT = 0x0400 + 514;

class VxBase
{
public:
    VxBase() = default;
    virtual ~VxBase();
    VxBase(const VxBase&) = delete;
    VxBase& operator=(const VxBase&) = delete;

    virtual void OnEvent(int code, int argument, int extra);
    virtual void SetDestroyCallback(std::function<void()> callback);
    virtual void SetExtraCallback(std::function<void()> callback);

    // A weak link: the target must outlive this object.
    void SetRelayTarget(VxBase* target);
    void RaiseEvent(int code, int argument, int extra);
    bool HasRelayTarget() const { return static_cast<bool>(m_relayTarget); }

private:
    std::shared_ptr<VxBase> m_relayTarget;  // non-owning: empty deleter
    std::function<void()> m_onDestroy;
    std::function<void()> m_extra;          // stored for the owner, never called here
};

// Non-owning shared handle to something the control tree owns.
template <typename T>
std::shared_ptr<T> MakeWeakHandle(T* p)
{
    return std::shared_ptr<T>(p, [](T*) {});
}
