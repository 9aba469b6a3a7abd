// VXMainFrame: the installer's only top-level window and the conductor of the install flow.
// It owns the four pages and the extraction worker; pages reach it only through events.
#pragma once

#include "ControlRef.h"
#include "VXInstallPage0.h"
#include "VXInstallPage1.h"
#include "VXInstallPage2.h"
#include "VXInstallPage3.h"
#include "VXInstallThread.h"
#include "VXObjectWnd.h"
#include "controls/TabLayoutUI.h"

#include <mutex>

class VXMainFrame : public CVXObjectWnd
{
public:
    explicit VXMainFrame(UnzipFunction unzip);
    ~VXMainFrame() override;

    void on_final_message(HWND window) override;
    void init_window() override;
    LRESULT handle_custom_message(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
    LRESULT OnWindowTimer(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) override;
    void OnEvent(int code, int argument, int extra) override;

    // Called by the extraction library, on its thread.
    void OnExtractProgress(uint64_t done, uint64_t total);

private:
    void PostToWindow(int code);

    CVXInstallThread m_worker;
    CVXInstallPage0 m_page0;
    CVXInstallPage1 m_page1;
    CVXInstallPage2 m_page2;
    CVXInstallPage3 m_page3;
    ControlRef<Lomar::CTabLayoutUI> m_tab;

    // Where progress reports are posted. Set once the window exists, cleared under the lock
    // when it is gone: a report that comes during the worker's join posts nothing.
    std::mutex m_reportLock;
    HWND m_reportWindow = nullptr;
};
