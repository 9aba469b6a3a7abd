// Whole-file reads for the resource source: the one place that touches the file system.
#pragma once

#include "resources/ResourceBytes.h"

#include <cstdint>

namespace Lomar {

enum ResourceReadResult
{
    RESOURCE_OK = 0,
    RESOURCE_OPEN_FAILED,     // no such file, or it cannot be opened for reading
    RESOURCE_EMPTY,           // the file or entry has size 0
    RESOURCE_TOO_LARGE,       // above the caller's limit
    RESOURCE_READ_FAILED,     // fewer bytes read than the file size
    RESOURCE_ZIP_NOT_OPEN,    // an archive is selected but could not be opened
    RESOURCE_NOT_IN_ZIP,      // no archive entry of that name
    RESOURCE_UNZIP_FAILED,    // the entry could not be decompressed
    RESOURCE_NO_MEMORY,
};

// Reads the whole file (shared read, existing file only) when its size is 1..limit bytes.
// Backslashes in the path are folder separators on every host.
ResourceReadResult read_whole_file(const wchar_t* path, uint32_t limit, CResourceBytes* out);

// The password text in the active ANSI code page (UTF-8 where there is none); the result is
// malloc'ed and NUL-terminated, or null when out of memory.
char* password_to_ansi(const wchar_t* password);

} // namespace Lomar
