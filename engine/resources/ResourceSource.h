// CResourceSource: the process-wide source of skin files, images and font files, either a
// folder on disk or a ZIP archive handed over as a block of memory, and the rule that turns a
// name written in a skin into a folder path or an archive entry. The paint manager's static
// resource operations are these.
#pragma once

#include "core/UIString.h"
#include "resources/FileReader.h"
#include "resources/ResourceBytes.h"

#include <cstdint>

namespace Lomar {

struct ZipArchive;

class CResourceSource
{
public:
    // Files read through read_named_file are refused above this size; an archive entry's stored
    // size is also checked against its compressed size before anything is allocated.
    enum : uint32_t { kMaxNamedFile = 64u << 20 };

    // A non-empty path that does not end in '\' or '/' gets a '\' appended.
    static void set_resource_path(const wchar_t* path);
    static const CUIString& resource_path();

    static void set_resource_type(int type);   // the application's choice; not interpreted
    static int resource_type();

    // Selects a memory archive ("membuffer"). A second call while one is selected changes
    // nothing. The block must outlive the selection.
    static void set_resource_zip(const void* memory, uint32_t length, const wchar_t* password);
    // Back to folder mode: closes the cached archive.
    static void clear_resource_zip();
    static const CUIString& resource_zip();            // empty in folder mode
    static const CUIString& resource_zip_password();
    static bool is_cached_resource_zip();
    static ZipArchive* resource_zip_handle();          // null when opening the archive failed

    // A file of the active source: the resource path + name in folder mode, the entry with
    // slashes for backslashes (ASCII case ignored) in archive mode.
    static ResourceReadResult read_source_file(const wchar_t* name, uint32_t limit, CResourceBytes* out);
    // Images and font files: the active source, then the name as a plain file path.
    static bool read_named_file(const wchar_t* name, CResourceBytes* out);
    // An archive entry, whole; `limit` caps its size.
    static ResourceReadResult read_zip_entry(ZipArchive* archive, const wchar_t* name, uint32_t limit,
                                             CResourceBytes* out);
};

} // namespace Lomar
