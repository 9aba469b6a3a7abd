#include "VXInstallPage0.h"

#include <shellapi.h>

using namespace Lomar;

const wchar_t kAgreementUrl[] = L"http://www.halvenor.com/agreement.html";

namespace {
const NotifyMapEntry kEntries[] = {
    VX_NOTIFY_RECORD(L"click", L"", CVXInstallPage0, OnClick),
    VX_NOTIFY_RECORD(L"selectchanged", L"", CVXInstallPage0, OnSelectChanged),
    VX_NOTIFY_END,
};
} // namespace

const NotifyMap CVXInstallPage0::s_message_map = {&CNotifyPump::s_message_map, kEntries};

void CVXInstallPage0::InitControls()
{
    m_root = FindControlRef<CVerticalLayoutUI>(m_manager, L"verroot0", L"VerticalLayout");
    m_minimize = FindControlRef<CButtonUI>(m_manager, L"minbtn", L"Button");
    m_close = FindControlRef<CButtonUI>(m_manager, L"closebtn", L"Button");
    m_agreement = FindControlRef<COptionUI>(m_manager, L"protocalOpt", L"Option");
    m_install = FindControlRef<CButtonUI>(m_manager, L"installBtn", L"Button");
    m_agreementLink = FindControlRef<CButtonUI>(m_manager, L"vx_btn_protocal", L"Button");
    m_custom = FindControlRef<CButtonUI>(m_manager, L"customBtn", L"Button");
    if (m_root) m_root->set_back_image(L"pkg_enum3-kstv\\table_bg_install_01.png");
}

void CVXInstallPage0::OnClick(UINotify& msg)
{
    CControlUI* sender = msg.sender;
    if (sender == nullptr) return;
    if (sender == m_minimize.get()) Minimize();
    else if (sender == m_close.get()) ConfirmAndClose();
    else if (sender == m_install.get()) RaiseEvent(VXE_SELECT_PAGE, 2, 0);
    else if (sender == m_custom.get()) RaiseEvent(VXE_SELECT_PAGE, 1, 0);
    else if (sender == m_agreementLink.get())
        ShellExecuteW(nullptr, L"open", kAgreementUrl, nullptr, nullptr, SW_SHOW);
}

void CVXInstallPage0::OnSelectChanged(UINotify& msg)
{
    if (msg.sender == nullptr || msg.sender != m_agreement.get() || !HasRelayTarget()) return;
    bool agreed = m_agreement->is_selected();
    if (m_custom) m_custom->set_enabled(agreed);
    if (m_install) m_install->set_enabled(agreed);
}
