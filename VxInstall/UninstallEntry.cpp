#include "UninstallEntry.h"

#include "VXReg2.h"

#include <windows.h>

const wchar_t kUninstallProductCode[] = L"{5E1A0C47-93B2-4D8F-A6E0-2C7B19D4F350}";

bool IsRunningUnderWow64()
{
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (kernel == nullptr) return false;
    auto isWow64 = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
    if (isWow64 == nullptr) return false;
    BOOL flag = FALSE;
    isWow64(GetCurrentProcess(), &flag);
    return flag != FALSE;
}

CUIString UninstallSubkey(bool wow64)
{
    const wchar_t* base = wow64 ? L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"
                                : L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    CUIString subkey;
    subkey.format(L"%s\\%s", base, kUninstallProductCode);
    return subkey;
}

void WriteUninstallEntry(const wchar_t* installDir) { WriteUninstallEntry(installDir, IsRunningUnderWow64()); }

void WriteUninstallEntry(const wchar_t* installDir, bool wow64)
{
    CUIString dir(installDir);
    VXReg2 key;
    if (key.Create(HKEY_LOCAL_MACHINE, UninstallSubkey(wow64), KEY_ALL_ACCESS) != ERROR_SUCCESS)
    {
        key.Close();
        return;
    }
    // Each write's status is ignored: a failed value does not stop the others.
    key.SetString(L"DisplayName", L"Ostrel");
    key.SetString(L"DisplayIcon", dir + L"\\VXApp.exe");
    key.SetString(L"UninstallString", dir + L"\\VXUnInstall.exe");
    key.SetString(L"InstallLocation", dir);
    key.SetString(L"DisplayVersion", L"9.3.3.0");
    key.SetString(L"Publisher", L"Halvenor");
    key.Close();
}
