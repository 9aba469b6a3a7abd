// CResourceModule: the application's module handle and the module that resources are read
// from (Windows only). The effective resource module is the set one, else the instance.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Lomar {

class CResourceModule
{
public:
    static void set_instance(HINSTANCE instance);
    static HINSTANCE instance();
    static void set_resource_module(HINSTANCE module);
    static HINSTANCE resource_module();   // the effective one

    // Finds a resource by name or numeric id (MAKEINTRESOURCE) in `module`, null meaning the
    // effective resource module. The bytes stay valid as long as the module is loaded.
    static bool find(HINSTANCE module, const wchar_t* name, const wchar_t* type, const void** data,
                     uint32_t* size);
};

// A name below 65536 is a numeric resource id, as Win32 passes them.
inline bool is_resource_id(const wchar_t* name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

} // namespace Lomar
