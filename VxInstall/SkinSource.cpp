#include "SkinSource.h"

#include "InstallSettings.h"
#include "resources/ResourceCatalog.h"
#include "resources/ResourceSource.h"

using namespace Lomar;

namespace {
const int kSkinResourceId = 113;
const int kSkinInResource = 4;
} // namespace

void SelectSkinSource(HINSTANCE instance)
{
    CResourceSource::set_resource_type(kSkinInResource);
    CUIString folder = GetModuleDir() + L"\\" + L"skin\\";
    CResourceSource::set_resource_path(folder);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(kSkinResourceId), L"VXZIP_RES");
    if (found == nullptr) return;
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr) return;
    DWORD size = SizeofResource(instance, found);
    if (size == 0) return;
    // The executable's own mapped resource: valid for the life of the process.
    CResourceSource::set_resource_zip(LockResource(loaded), size, nullptr);
    // The installer's archive holds no catalog; a missing one is not an error.
    CResourceCatalog::instance().load(L"res.xml", nullptr);
}
