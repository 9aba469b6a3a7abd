// The options page: the base folder and its folder picker, the shortcut options, install, back.
#pragma once

#include "ControlRef.h"
#include "VXPage.h"
#include "controls/ButtonUI.h"
#include "controls/LabelUI.h"
#include "controls/OptionUI.h"
#include "controls/VerticalLayoutUI.h"
#include "core/UIString.h"

class CVXInstallPage1 : public CVXPage
{
public:
    explicit CVXInstallPage1(Lomar::CPaintManagerUI* manager) : CVXPage(manager) {}

    const Lomar::NotifyMap* get_message_map() const override { return &s_message_map; }
    virtual void OnClick(Lomar::UINotify& msg);
    virtual void OnSelectChanged(Lomar::UINotify& msg);
    void InitControls();

    static const Lomar::NotifyMap s_message_map;

private:
    ControlRef<Lomar::CVerticalLayoutUI> m_root;
    ControlRef<Lomar::CButtonUI> m_minimize;
    ControlRef<Lomar::CButtonUI> m_close;
    ControlRef<Lomar::CButtonUI> m_back;
    ControlRef<Lomar::CButtonUI> m_install;
    ControlRef<Lomar::COptionUI> m_desktop;
    ControlRef<Lomar::COptionUI> m_taskbar;
    ControlRef<Lomar::CLabelUI> m_path;
    ControlRef<Lomar::CButtonUI> m_change;
};

// The system folder picker opened on `initial`; the chosen path, or empty text on cancel.
Lomar::CUIString BrowseForFolder(HWND owner, const wchar_t* initial);
