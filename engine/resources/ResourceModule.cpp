// CResourceModule (see ResourceModule.h). Set during start-up, then only read.
#include "resources/ResourceModule.h"

namespace Lomar {

namespace {

HINSTANCE g_instance = nullptr;          // the application's module
HINSTANCE g_resource_module = nullptr;   // null: resources come from g_instance

} // namespace

void CResourceModule::set_instance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE CResourceModule::instance() { return g_instance; }
void CResourceModule::set_resource_module(HINSTANCE module) { g_resource_module = module; }
HINSTANCE CResourceModule::resource_module() { return g_resource_module ? g_resource_module : g_instance; }

bool CResourceModule::find(HINSTANCE module, const wchar_t* name, const wchar_t* type, const void** data,
                           uint32_t* size)
{
    *data = nullptr;
    *size = 0;
    if (!module)
        module = resource_module();
    if (!name || !type)
        return false;
    HRSRC found = FindResourceW(module, name, type);
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    DWORD length = SizeofResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || length == 0)
        return false;
    *data = bytes;
    *size = length;
    return true;
}

} // namespace Lomar
