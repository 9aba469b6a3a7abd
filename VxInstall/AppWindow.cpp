#include "AppWindow.h"

#include "VXObjectWnd.h"

CVXObjectWnd* RunAppWindow(CVXObjectWnd* window, HWND parent, VxBase* relayTarget, bool modal, const wchar_t* title,
                           std::function<void()> onDestroy, std::function<void()> extra, DWORD style, DWORD exStyle,
                           int showFlag)
{
    window->SetDestroyCallback(onDestroy);
    window->SetExtraCallback(extra);
    if (window->create(parent, title, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       nullptr) == nullptr)
    {
        delete window;
        return nullptr;
    }
    window->set_icon(kAppIconResource);
    window->SetRelayTarget(relayTarget);
    window->Center();
    if (modal)
    {
        window->show_modal();
        return nullptr;
    }
    window->show_window(showFlag != SW_HIDE, true);
    return window;
}
