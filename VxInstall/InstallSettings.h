// Where things are: the process-wide install settings and the installer's path routines.
#pragma once

#include "core/UIString.h"

#include <atomic>
#include <cstdint>

using Lomar::CUIString;

class CVXInstallSettings
{
public:
    CVXInstallSettings();

    CUIString baseDir;                 // the product goes into baseDir + "\Kestvane"
    bool desktopShortcut = true;
    bool taskbar = true;
    std::atomic<int64_t> done{0};      // written by the extraction's progress reports
    std::atomic<int64_t> total{INT64_MAX};
};

CVXInstallSettings& GetInstallSettings();

CUIString GetInstallDir();
CUIString GetModuleDir();
// GetModuleDir on top of a GetModuleFileNameW-like call (for tests of long paths).
using ModuleFileNameFn = unsigned long (*)(wchar_t* buffer, unsigned long size);
CUIString ModuleDirFrom(ModuleFileNameFn moduleFileName);
CUIString GetSpecialFolder(int csidl);
CUIString GetDefaultBaseDir();
CUIString GetLogDir();
int CreateDirectories(const wchar_t* path);

// The install folder for a given base folder: base + "\" + "Kestvane", joined as they are.
CUIString InstallDirFor(const wchar_t* baseDir);
