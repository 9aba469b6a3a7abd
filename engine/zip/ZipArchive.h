// Read-only access to a ZIP archive held in memory: find an entry by name and inflate it
// into a caller-supplied buffer. Byte-level and portable; names are UTF-16 code units
// stored in wchar_t whatever the host's wchar_t width.
#pragma once

#include <cstdint>

namespace Lomar {

typedef uint32_t ZRESULT;

enum : ZRESULT
{
    ZR_OK = 0,               // success
    ZR_NOT_FOUND = 0x500,    // no entry of that name
    ZR_MORE = 0x600,         // the buffer is full and the entry has more data
    ZR_CORRUPT = 0x700,      // corrupt or not a ZIP archive
    ZR_READ = 0x800,         // the archive ends inside an entry's directory data
    ZR_PASSWORD = 0x1000,    // a correct password is required
    ZR_ARGS = 0x10000,       // null handle, index out of range, null buffer
    ZR_NOT_ARCHIVE = 0x80000,// the handle is not an archive opened for reading
    ZR_FLATE = 0x5000000,    // the compressed data could not be decoded
};

enum
{
    kZipMaxName = 260,       // UTF-16 code units of an entry name, terminator excluded
};

// File attribute flags, with the values of the Windows ones.
enum : uint32_t
{
    ZIP_ATTR_READONLY = 0x01,
    ZIP_ATTR_HIDDEN = 0x02,
    ZIP_ATTR_SYSTEM = 0x04,
    ZIP_ATTR_DIRECTORY = 0x10,
    ZIP_ATTR_ARCHIVE = 0x20,
};

struct ZipEntry
{
    int32_t index;                      // position in the central directory, -1 for none
    wchar_t name[kZipMaxName + 1];      // cleaned name: no drive, no leading slash, no "..\" climb
    uint32_t attributes;                // ZIP_ATTR_* flags
    uint64_t access_time;               // Windows file times (100 ns units since 1601, UTC)
    uint64_t creation_time;
    uint64_t modification_time;
    uint32_t compressed_size;
    uint32_t uncompressed_size;
};

struct ZipArchive;

// The memory block is not copied and must outlive the handle. The password (active code page
// bytes) may be null. Returns null when the block holds no readable central directory.
ZipArchive* open_zip(const void* memory, uint32_t length, const char* password);

// Number of entries, or -1 for a null or wrong handle.
int zip_item_count(ZipArchive* archive);

// Describes entry `index` without opening it.
ZRESULT get_zip_item(ZipArchive* archive, int index, ZipEntry* entry);

// ignore_case folds ASCII letters only; the name must use slashes, as stored.
ZRESULT find_zip_item(ZipArchive* archive, const wchar_t* name, bool ignore_case, int* index,
                      ZipEntry* entry);

// Inflates entry `index` into the buffer. ZR_MORE leaves the entry open: the next call with the
// same index continues where this one stopped.
ZRESULT unzip_item(ZipArchive* archive, int index, void* buffer, uint32_t capacity);

ZRESULT close_zip(ZipArchive* archive);

} // namespace Lomar
