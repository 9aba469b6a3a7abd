// The progress page: the bar and status text, the desktop shortcut at 100 %, then the last page.
#pragma once

#include "ControlRef.h"
#include "VXPage.h"
#include "controls/ButtonUI.h"
#include "controls/LabelUI.h"
#include "controls/ProgressUI.h"
#include "controls/VerticalLayoutUI.h"

const UINT_PTR kCompletionTimerId = 268;

class CVXInstallPage2 : public CVXPage
{
public:
    explicit CVXInstallPage2(Lomar::CPaintManagerUI* manager) : CVXPage(manager) {}

    const Lomar::NotifyMap* get_message_map() const override { return &s_message_map; }
    virtual void OnClick(Lomar::UINotify& msg);
    void InitControls();
    void OnProgChanged();
    LRESULT OnTimer(UINT message, WPARAM timerId, LPARAM lparam, bool& handled);

    static const Lomar::NotifyMap s_message_map;

private:
    int m_completed = 0;
    ControlRef<Lomar::CVerticalLayoutUI> m_root;
    ControlRef<Lomar::CButtonUI> m_minimize;
    ControlRef<Lomar::CButtonUI> m_close;
    ControlRef<Lomar::CProgressUI> m_bar;
    ControlRef<Lomar::CLabelUI> m_status;
};
