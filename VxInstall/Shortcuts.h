// Shell shortcuts: the desktop link and the Programs-menu folder with its two links.
#pragma once

#include "core/UIString.h"

using Lomar::CUIString;

bool CreateShortcut(const wchar_t* target, const wchar_t* workingDir, const wchar_t* description,
                    const wchar_t* iconPath, int iconIndex, const wchar_t* linkPath);

void CreateProgramsShortcuts(const wchar_t* target, const wchar_t* uninstaller, const wchar_t* workingDir,
                             const wchar_t* name);

CUIString GetDesktopDirectory();
