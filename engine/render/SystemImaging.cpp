#include "render/SystemImaging.h"

#include <cwchar>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace Lomar {

namespace {

HMODULE load_from_system_folder(const wchar_t* file)
{
    HMODULE module = LoadLibraryExW(file, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module) return module;
    // Systems without the search flag: spell out the full path instead.
    wchar_t path[MAX_PATH + 32];
    UINT n = GetSystemDirectoryW(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wcscat(path, L"\\");
    std::wcscat(path, file);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemImaging resolve()
{
    SystemImaging s;
    if (HMODULE m = load_from_system_folder(L"msimg32.dll"))
    {
        s.alpha_blend = reinterpret_cast<AlphaBlendFn>(reinterpret_cast<void*>(GetProcAddress(m, "AlphaBlend")));
        s.gradient_fill =
            reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(GetProcAddress(m, "GradientFill")));
    }
    return s;
}

} // namespace

const SystemImaging& system_imaging()
{
    static const SystemImaging s = resolve();   // C++ guarantees one-time, thread-safe initialisation
    return s;
}

} // namespace Lomar
