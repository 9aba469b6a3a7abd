#include "VXInstallPage3.h"

#include "InstallSettings.h"
#include "Shortcuts.h"
#include "UninstallEntry.h"
#include "VXMsgBox.h"

#include <shellapi.h>

using namespace Lomar;

namespace {
const NotifyMapEntry kEntries[] = {
    VX_NOTIFY_RECORD(L"click", L"", CVXInstallPage3, OnClick),
    VX_NOTIFY_END,
};
} // namespace

const NotifyMap CVXInstallPage3::s_message_map = {&CNotifyPump::s_message_map, kEntries};

void CVXInstallPage3::InitControls()
{
    m_root = FindControlRef<CVerticalLayoutUI>(m_manager, L"verroot3", L"VerticalLayout");
    m_minimize = FindControlRef<CButtonUI>(m_manager, L"minbtn3", L"Button");
    m_close = FindControlRef<CButtonUI>(m_manager, L"closebtn3", L"Button");
    m_complete = FindControlRef<CButtonUI>(m_manager, L"completeBtn", L"Button");
    if (m_root) m_root->set_back_image(L"pkg_enum3-kstv\\table_bg_install_04.png");
}

void CVXInstallPage3::FinishInstall()
{
    CUIString dir = GetInstallDir();
    CUIString product = dir + L"\\VXApp.exe";
    CUIString uninstaller = dir + L"\\VXUnInstall.exe";
    WriteUninstallEntry(GetInstallDir());
    CreateProgramsShortcuts(product, uninstaller, GetInstallDir(), L"Ostrel");
}

void CVXInstallPage3::OnClick(UINotify& msg)
{
    CControlUI* sender = msg.sender;
    if (sender == nullptr) return;
    if (sender == m_minimize.get()) Minimize();
    else if (sender == m_close.get())
    {
        if (ConfirmClose(m_manager) != 1) return;
        FinishInstall();
        PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
    }
    else if (sender == m_complete.get())
    {
        FinishInstall();
        CUIString product = GetInstallDir() + L"\\VXApp.exe";
        ShowWindow(MainWindow(), SW_HIDE);
        PostMessageW(MainWindow(), WM_CLOSE, 0, 0);
        ShellExecuteW(nullptr, L"open", product, nullptr, nullptr, SW_SHOWNORMAL);
    }
}
