#include "VXInstallPage2.h"

#include "InstallSettings.h"
#include "Log.h"
#include "ProgressText.h"
#include "Shortcuts.h"

using namespace Lomar;

namespace {
const NotifyMapEntry kEntries[] = {
    VX_NOTIFY_RECORD(L"click", L"", CVXInstallPage2, OnClick),
    VX_NOTIFY_END,
};
} // namespace

const NotifyMap CVXInstallPage2::s_message_map = {&CNotifyPump::s_message_map, kEntries};

void CVXInstallPage2::InitControls()
{
    m_root = FindControlRef<CVerticalLayoutUI>(m_manager, L"verroot2", L"VerticalLayout");
    m_minimize = FindControlRef<CButtonUI>(m_manager, L"minbtn2", L"Button");
    m_close = FindControlRef<CButtonUI>(m_manager, L"closebtn2", L"Button");
    m_bar = FindControlRef<CProgressUI>(m_manager, L"installPrg", L"Progress");
    m_status = FindControlRef<CLabelUI>(m_manager, L"installproglab", L"Label");
    if (m_bar) m_bar->set_value(0);
    if (m_root) m_root->set_back_image(L"pkg_enum3-kstv\\table_bg_install_03.png");
}

void CVXInstallPage2::OnClick(UINotify& msg)
{
    CControlUI* sender = msg.sender;
    if (sender == nullptr) return;
    if (sender == m_minimize.get()) Minimize();
    else if (sender == m_close.get()) ConfirmAndClose();
}

void CVXInstallPage2::OnProgChanged()
{
    CVXInstallSettings& settings = GetInstallSettings();
    ProgressView view = ComputeProgressView(settings.done.load(), settings.total.load());
    if (m_status) m_status->set_text(view.text);
    if (m_bar) m_bar->set_value(view.value);

    // Read again: the worker may have reported between the two reads above.
    if (settings.done.load() != settings.total.load() || m_completed != 0) return;
    m_completed = 1;
    SetTimer(MainWindow(), kCompletionTimerId, 1000, nullptr);

    CUIString dir = GetInstallDir();
    CUIString target = dir + L"\\VXApp.exe";
    CUIString link = GetDesktopDirectory() + L"\\" + L"Ostrel" + L".lnk";
    if (!CreateShortcut(target, dir, L"Ostrel", target, 0, link))
    {
        CUIString message;
        message.format(L"%s %s ", L"VxInstall\\VXInstallPage2", L"CVXInstallPage2::OnProgChanged");
        message += L"CreateShortcut error.";
        WriteLog(message);
    }
}

LRESULT CVXInstallPage2::OnTimer(UINT, WPARAM timerId, LPARAM, bool&)
{
    if (timerId != kCompletionTimerId) return 0;
    KillTimer(MainWindow(), kCompletionTimerId);
    RaiseEvent(VXE_SELECT_PAGE, 3, 0);
    return 0;
}
