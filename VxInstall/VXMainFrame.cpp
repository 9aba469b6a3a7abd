#include "VXMainFrame.h"

#include "InstallSettings.h"

using namespace Lomar;

VXMainFrame::VXMainFrame(UnzipFunction unzip)
    : m_worker(unzip), m_page0(&m_manager), m_page1(&m_manager), m_page2(&m_manager), m_page3(&m_manager)
{
    skin_file_name = L"VXMainFrame.xml";
    window_class_name = L"vxmainframe";
    CVXPage* pages[] = {&m_page0, &m_page1, &m_page2, &m_page3};
    for (int n = 0; n < 4; ++n)
    {
        CUIString name;
        name.format(L"install%d", n);
        add_virtual_wnd(name, pages[n]);
        pages[n]->SetRelayTarget(this);
    }
}

VXMainFrame::~VXMainFrame()
{
    for (int n = 0; n < 4; ++n)
    {
        CUIString name;
        name.format(L"install%d", n);
        remove_virtual_wnd(name);
    }
    m_tab.reset();
    // The pages and then the worker go with the members, in reverse order: the worker's
    // destructor waits for a running extraction.
}

void VXMainFrame::on_final_message(HWND window)
{
    {
        std::lock_guard<std::mutex> lock(m_reportLock);
        m_reportWindow = nullptr;
    }
    CVXObjectWnd::on_final_message(window);
    delete this;
}

void VXMainFrame::init_window()
{
    m_manager.set_layered(true);
    m_tab = FindControlRef<CTabLayoutUI>(&m_manager, L"tabInstall", L"TabLayout");
    m_page0.InitControls();
    m_page1.InitControls();
    m_page2.InitControls();
    m_page3.InitControls();
    if (m_tab) m_tab->select_item(0);
    std::lock_guard<std::mutex> lock(m_reportLock);
    m_reportWindow = get_hwnd();
}

LRESULT VXMainFrame::handle_custom_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled)
{
    handled = false;
    if (message == WM_TIMER) OnWindowTimer(message, wparam, lparam, handled);
    else if (message == WM_VXEVENT) OnEvent(int(wparam), 0, 0);
    return 0;
}

LRESULT VXMainFrame::OnWindowTimer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled)
{
    return m_page2.OnTimer(message, wparam, lparam, handled);
}

void VXMainFrame::PostToWindow(int code)
{
    std::lock_guard<std::mutex> lock(m_reportLock);
    if (m_reportWindow) PostMessageW(m_reportWindow, WM_VXEVENT, WPARAM(code), 0);
}

void VXMainFrame::OnEvent(int code, int argument, int)
{
    switch (code)
    {
    case VXE_POST:
        PostToWindow(argument);
        break;
    case VXE_SELECT_PAGE:
        if (m_tab) m_tab->select_item(argument);
        if (argument == 2) OnEvent(VXE_START_INSTALL, 0, 0);
        break;
    case VXE_START_INSTALL:
    {
        CreateDirectories(GetInstallDir());
        NINSTALL_INFO job;
        job.srcArchive = GetModuleDir() + L"\\vx.7z";
        job.destDir = GetInstallDir();
        job.onProgress = [this](uint64_t done, uint64_t total) { OnExtractProgress(done, total); };
        m_worker.PostJob(job);
        break;
    }
    case VXE_PROGRESS:
        m_page2.OnProgChanged();
        break;
    default:
        break;
    }
}

void VXMainFrame::OnExtractProgress(uint64_t done, uint64_t total)
{
    CVXInstallSettings& settings = GetInstallSettings();
    settings.done.exchange(int64_t(done));
    settings.total.exchange(int64_t(total));
    RaiseEvent(VXE_POST, VXE_PROGRESS, done == total ? 1 : 0);
}
