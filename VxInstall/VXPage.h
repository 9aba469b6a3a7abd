// What the four wizard pages share: a notification pump of their own, the event relay to
// the main frame, and the minimise and confirmed-close buttons of the borderless window.
#pragma once

#include "VxBase.h"
#include "window/NotifyPump.h"
#include "window/PaintManagerUI.h"

#include <windows.h>

class CVXPage : public Lomar::CNotifyPump, public VxBase
{
public:
    explicit CVXPage(Lomar::CPaintManagerUI* manager) : m_manager(manager) {}

    // Pages only pass posted events on; they never raise code 1 on themselves.
    void OnEvent(int code, int argument, int extra) override;

protected:
    HWND MainWindow() const { return m_manager ? m_manager->get_window() : nullptr; }
    void Minimize() const;
    // The close confirmation; true when the user answered "确定" and the window is closing.
    bool ConfirmAndClose() const;

    Lomar::CPaintManagerUI* m_manager;  // the main window's; not owned
};
