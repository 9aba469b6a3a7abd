#include "Shortcuts.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// Releases a COM interface on every path out of a routine.
template <typename I>
struct ComRef
{
    I* p = nullptr;
    ~ComRef()
    {
        if (p) p->Release();
    }
};

// The short (8.3) form when the file system has one, else the path as given.
std::vector<wchar_t> IconLocation(const wchar_t* iconPath)
{
    std::vector<wchar_t> longForm(iconPath, iconPath + wcslen(iconPath) + 1);
    DWORD needed = GetShortPathNameW(iconPath, nullptr, 0);
    if (needed == 0) return longForm;
    std::vector<wchar_t> shortForm(needed, L'\0');
    DWORD got = GetShortPathNameW(iconPath, shortForm.data(), needed);
    if (got == 0 || got >= needed) return longForm;
    return shortForm;
}

// Joins folder, separator, name and ending into a MAX_PATH buffer. A path that does not fit
// is refused rather than cut: a cut path would write a link under a wrong name.
bool JoinMenuPath(wchar_t (&buffer)[MAX_PATH], const wchar_t* folder, const wchar_t* sep,
                  const wchar_t* name, const wchar_t* ending)
{
    CUIString path(folder);
    path += sep;
    path += name;
    path += ending;
    if (path.length() >= MAX_PATH) return false;
    wcscpy(buffer, path);
    return true;
}

} // namespace

bool CreateShortcut(const wchar_t* target, const wchar_t* workingDir, const wchar_t* description,
                    const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath)
{
    ComRef<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link.p));
    printf("%lx\n", static_cast<unsigned long>(hr));
    if (FAILED(hr))
    {
        printf("ERRO 1\n");
        return false;
    }
    link.p->SetPath(target);
    link.p->SetDescription(description);
    std::vector<wchar_t> icon = IconLocation(iconPath ? iconPath : L"");
    link.p->SetIconLocation(icon.data(), iconIndex);
    link.p->SetWorkingDirectory(workingDir);

    ComRef<IPersistFile> file;
    hr = link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p));
    if (FAILED(hr))
    {
        printf("ERRO 2\n");
        return false;
    }
    return SUCCEEDED(file.p->Save(linkPath, TRUE));
}

void CreateProgramsShortcuts(const wchar_t* target, const wchar_t* uninstaller, const wchar_t* workingDir,
                             const wchar_t* name)
{
    LPITEMIDLIST items = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PROGRAMS, &items) != S_OK) return;
    wchar_t programs[MAX_PATH] = {};
    BOOL resolved = SHGetPathFromIDListW(items, programs);
    CoTaskMemFree(items);
    if (!resolved) return;

    wchar_t folder[MAX_PATH] = {};
    if (!JoinMenuPath(folder, programs, L"\\", name, L"")) return;
    if (!PathFileExistsW(folder))
    {
        CreateDirectoryW(folder, nullptr);
        SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, folder, nullptr);
    }

    wchar_t link[MAX_PATH] = {};
    if (JoinMenuPath(link, folder, L"\\", name, L".lnk"))
        CreateShortcut(target, workingDir, name, target, 0, link);
    if (JoinMenuPath(link, folder, L"\\卸载", name, L".lnk"))
    {
        CreateShortcut(uninstaller, workingDir, name, uninstaller, 0, link);
        SHChangeNotify(SHCNE_CREATE | SHCNE_INTERRUPT, SHCNF_PATHW | SHCNF_FLUSH, link, nullptr);
    }
}

CUIString GetDesktopDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_DESKTOPDIRECTORY, FALSE)) return CUIString();
    return CUIString(buffer);
}
