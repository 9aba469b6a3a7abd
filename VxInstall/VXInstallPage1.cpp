#include "VXInstallPage1.h"

#include "InstallSettings.h"

#include <shlobj.h>

#include <cwchar>
#include <vector>

using namespace Lomar;

namespace {
const NotifyMapEntry kEntries[] = {
    VX_NOTIFY_RECORD(L"click", L"", CVXInstallPage1, OnClick),
    VX_NOTIFY_RECORD(L"selectchanged", L"", CVXInstallPage1, OnSelectChanged),
    VX_NOTIFY_END,
};

const size_t kPickerBuffer = 4096;

int CALLBACK PickerCallback(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}
} // namespace

const NotifyMap CVXInstallPage1::s_message_map = {&CNotifyPump::s_message_map, kEntries};

void CVXInstallPage1::InitControls()
{
    m_root = FindControlRef<CVerticalLayoutUI>(m_manager, L"verroot1", L"VerticalLayout");
    m_minimize = FindControlRef<CButtonUI>(m_manager, L"minbtn1", L"Button");
    m_close = FindControlRef<CButtonUI>(m_manager, L"closebtn1", L"Button");
    m_back = FindControlRef<CButtonUI>(m_manager, L"gobackbtn", L"Button");
    m_install = FindControlRef<CButtonUI>(m_manager, L"installBtn1", L"Button");
    m_path = FindControlRef<CLabelUI>(m_manager, L"pathLab", L"Label");
    m_change = FindControlRef<CButtonUI>(m_manager, L"modifyBtn", L"Button");
    m_desktop = FindControlRef<COptionUI>(m_manager, L"desktopShortCutOpt", L"Option");
    m_taskbar = FindControlRef<COptionUI>(m_manager, L"addtaskbarOpt", L"Option");

    CVXInstallSettings& settings = GetInstallSettings();
    if (m_path) m_path->set_text(settings.baseDir);
    if (m_desktop) m_desktop->set_selected(settings.desktopShortcut, true);
    if (m_taskbar) m_taskbar->set_selected(settings.taskbar, true);
    if (m_root) m_root->set_back_image(L"Install_and_uninstall\\table_bg_install_02.png");
}

void CVXInstallPage1::OnClick(UINotify& msg)
{
    CControlUI* sender = msg.sender;
    if (sender == nullptr) return;
    if (sender == m_minimize.get()) Minimize();
    else if (sender == m_close.get()) ConfirmAndClose();
    else if (sender == m_install.get()) RaiseEvent(VXE_SELECT_PAGE, 2, 0);
    else if (sender == m_back.get()) RaiseEvent(VXE_SELECT_PAGE, 0, 0);
    else if (sender == m_change.get())
    {
        CVXInstallSettings& settings = GetInstallSettings();
        CUIString chosen = BrowseForFolder(MainWindow(), settings.baseDir);
        if (chosen.is_empty()) return;
        settings.baseDir = chosen;
        if (m_path) m_path->set_text(settings.baseDir);
    }
}

void CVXInstallPage1::OnSelectChanged(UINotify&) {}

CUIString BrowseForFolder(HWND owner, const wchar_t* initial)
{
    std::vector<wchar_t> buffer(kPickerBuffer, L'\0');
    if (initial) wcsncpy(buffer.data(), initial, kPickerBuffer - 1);
    // The dialog may write display names into its buffer while it starts: the folder to open
    // on is handed over in a copy of its own.
    std::vector<wchar_t> start(buffer);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = buffer.data();
    info.lpszTitle = L"请选择文件路径";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE | BIF_UAHINT | BIF_BROWSEINCLUDEFILES;
    info.lpfn = PickerCallback;
    info.lParam = reinterpret_cast<LPARAM>(start.data());
    LPITEMIDLIST items = SHBrowseForFolderW(&info);
    if (items == nullptr) return CUIString();
    // The display-name buffer holds MAX_PATH characters at least, which the path needs.
    BOOL ok = SHGetPathFromIDListW(items, buffer.data());
    CoTaskMemFree(items);
    if (!ok) return CUIString();
    return CUIString(buffer.data());
}
