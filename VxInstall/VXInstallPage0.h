// The welcome page: agreement tick box and link, quick install, the way to the options page.
#pragma once

#include "ControlRef.h"
#include "VXPage.h"
#include "controls/ButtonUI.h"
#include "controls/OptionUI.h"
#include "controls/VerticalLayoutUI.h"

extern const wchar_t kAgreementUrl[];

class CVXInstallPage0 : public CVXPage
{
public:
    explicit CVXInstallPage0(Lomar::CPaintManagerUI* manager) : CVXPage(manager) {}

    const Lomar::NotifyMap* get_message_map() const override { return &s_message_map; }
    virtual void OnClick(Lomar::UINotify& msg);
    virtual void OnSelectChanged(Lomar::UINotify& msg);
    void InitControls();

    static const Lomar::NotifyMap s_message_map;

private:
    ControlRef<Lomar::CVerticalLayoutUI> m_root;
    ControlRef<Lomar::CButtonUI> m_minimize;
    ControlRef<Lomar::CButtonUI> m_close;
    ControlRef<Lomar::COptionUI> m_agreement;
    ControlRef<Lomar::CButtonUI> m_install;
    ControlRef<Lomar::CButtonUI> m_agreementLink;
    ControlRef<Lomar::CButtonUI> m_custom;
};
