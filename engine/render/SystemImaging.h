// The two msimg32 entry points, resolved once from the system folder at run time.
#pragma once

#include <windows.h>

namespace Lomar {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct SystemImaging
{
    AlphaBlendFn alpha_blend = nullptr;      // null when msimg32 is missing
    GradientFillFn gradient_fill = nullptr;
};

// Loads msimg32.dll from the system folder on the first call (thread-safe) and never by a bare
// name, so a planted copy beside the executable is not picked up.
const SystemImaging& system_imaging();

} // namespace Lomar
