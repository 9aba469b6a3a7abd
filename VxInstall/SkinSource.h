// Where the engine reads the installer's skin from.
#pragma once

#include <windows.h>

// The skin archive in resource "VXZIP_RES" 113 of `instance`, or, when that resource is missing
// or empty, the folder "skin" beside the installer.
void SelectSkinSource(HINSTANCE instance);
