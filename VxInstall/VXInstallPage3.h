// The completion page: finish the installation (uninstall entry, menu links) and start the product.
#pragma once

#include "ControlRef.h"
#include "VXPage.h"
#include "controls/ButtonUI.h"
#include "controls/VerticalLayoutUI.h"

class CVXInstallPage3 : public CVXPage
{
public:
    explicit CVXInstallPage3(Lomar::CPaintManagerUI* manager) : CVXPage(manager) {}

    const Lomar::NotifyMap* get_message_map() const override { return &s_message_map; }
    virtual void OnClick(Lomar::UINotify& msg);
    void InitControls();
    void FinishInstall();

    static const Lomar::NotifyMap s_message_map;

private:
    ControlRef<Lomar::CVerticalLayoutUI> m_root;
    ControlRef<Lomar::CButtonUI> m_minimize;
    ControlRef<Lomar::CButtonUI> m_close;
    ControlRef<Lomar::CButtonUI> m_complete;
};
