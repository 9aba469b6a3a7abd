#include "InstallSettings.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <direct.h>
#include <mutex>
#include <vector>

namespace {

// Exists before WinMain runs, so that the first GetInstallSettings from any thread is safe.
std::mutex g_settingsGuard;
CVXInstallSettings* g_settings = nullptr;

const wchar_t kProductFolder[] = L"Kestvane";

} // namespace

CVXInstallSettings::CVXInstallSettings()
{
    baseDir = GetDefaultBaseDir();
    if (!PathFileExistsW(baseDir)) CreateDirectories(baseDir);
}

CVXInstallSettings& GetInstallSettings()
{
    std::lock_guard<std::mutex> lock(g_settingsGuard);
    if (g_settings == nullptr)
    {
        // Lives until the process ends; the worker may still report while statics are torn down.
        static CVXInstallSettings settings;
        g_settings = &settings;
    }
    return *g_settings;
}

CUIString InstallDirFor(const wchar_t* baseDir)
{
    CUIString dir(baseDir);
    dir += L"\\";
    dir += kProductFolder;
    return dir;
}

CUIString GetInstallDir() { return InstallDirFor(GetInstallSettings().baseDir); }

namespace {
unsigned long OwnModuleFileName(wchar_t* buffer, unsigned long size)
{
    return GetModuleFileNameW(nullptr, buffer, size);
}
} // namespace

CUIString GetModuleDir() { return ModuleDirFrom(&OwnModuleFileName); }

CUIString ModuleDirFrom(ModuleFileNameFn moduleFileName)
{
    // A module path can exceed MAX_PATH: grow the buffer instead of working on a cut path.
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    for (;;)
    {
        unsigned long n = moduleFileName(buffer.data(), (unsigned long)buffer.size());
        if (n == 0) return CUIString();
        if (n < buffer.size()) break;
        if (buffer.size() >= 32768) return CUIString();
        buffer.assign(buffer.size() * 2, L'\0');
    }
    CUIString path(buffer.data());
    int slash = path.reverse_find(L'\\');
    if (slash < 0) return CUIString();
    return path.left(slash);
}

CUIString GetSpecialFolder(int csidl)
{
    wchar_t buffer[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return CUIString();
    return CUIString(buffer);
}

CUIString GetDefaultBaseDir()
{
    CUIString dir = GetSpecialFolder(CSIDL_PROGRAM_FILES);
    dir += L"\\";
    dir += kProductFolder;
    return dir;
}

CUIString GetLogDir()
{
    CUIString dir = GetSpecialFolder(CSIDL_LOCAL_APPDATA);
    dir += L"\\Kestvane\\data";
    dir += L"\\";
    dir += L"Kestvanelog";
    return dir;
}

int CreateDirectories(const wchar_t* path)
{
    if (path == nullptr || path[0] == L'\0') return 0;
    // A private copy of any length: a long path is never cut into a wrongly named folder;
    // levels the file system refuses simply fail, as every failure here does.
    std::vector<wchar_t> buffer(path, path + wcslen(path));
    wchar_t last = buffer.back();
    if (last != L'\\' && last != L'/') buffer.push_back(L'/');
    buffer.push_back(L'\0');
    for (size_t i = 0; buffer[i] != L'\0'; ++i)
    {
        if (buffer[i] != L'\\' && buffer[i] != L'/') continue;
        buffer[i] = L'\0';
        if (i > 0 && !PathFileExistsW(buffer.data())) _wmkdir(buffer.data());
        buffer[i] = L'/';
    }
    return 0;
}
