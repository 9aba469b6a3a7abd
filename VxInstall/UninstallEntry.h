// The product's entry in the machine-wide list of installed programs.
#pragma once

#include "core/UIString.h"

using Lomar::CUIString;

extern const wchar_t kUninstallProductCode[];

bool IsRunningUnderWow64();

// The Uninstall key path for a 32-bit process on 64-bit Windows (wow64) or not.
CUIString UninstallSubkey(bool wow64);

void WriteUninstallEntry(const wchar_t* installDir);
// The same with the WOW64 answer given: lets the 64-bit build exercise the 32-bit branch.
void WriteUninstallEntry(const wchar_t* installDir, bool wow64);
