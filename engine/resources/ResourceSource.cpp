// The process-wide resource source (see ResourceSource.h). Set during start-up on the UI thread,
// then only read.
#include "resources/ResourceSource.h"

#include "zip/ZipArchive.h"

#include <cstdlib>

namespace Lomar {

namespace {

// Deflate cannot expand data by more than about 1032:1; a larger stored size is a lie.
const uint64_t kMaxDeflateRatio = 1032;

struct SourceSettings
{
    CUIString path;            // with its trailing separator
    int type = 0;
    CUIString zip_name;        // empty: folder mode; "membuffer": memory archive
    CUIString zip_password;
    bool zip_cached = false;
    ZipArchive* zip = nullptr;
};

SourceSettings& settings()
{
    static SourceSettings s;
    return s;
}

const wchar_t kMemoryArchive[] = L"membuffer";

} // namespace

void CResourceSource::set_resource_path(const wchar_t* path)
{
    CUIString& stored = settings().path;
    stored = path;
    int n = stored.length();
    if (n > 0 && stored[n - 1] != L'\\' && stored[n - 1] != L'/')
        stored += L'\\';
}

const CUIString& CResourceSource::resource_path() { return settings().path; }

void CResourceSource::set_resource_type(int type) { settings().type = type; }

int CResourceSource::resource_type() { return settings().type; }

void CResourceSource::set_resource_zip(const void* memory, uint32_t length, const wchar_t* password)
{
    SourceSettings& s = settings();
    if (s.zip_name == kMemoryArchive)
        return;
    if (s.zip)
        close_zip(s.zip);
    s.zip = nullptr;
    s.zip_name = kMemoryArchive;
    s.zip_cached = true;
    s.zip_password = password;
    char* ansi = password_to_ansi(password);
    if (ansi)
        s.zip = open_zip(memory, length, ansi[0] ? ansi : nullptr);
    std::free(ansi);
}

void CResourceSource::clear_resource_zip()
{
    SourceSettings& s = settings();
    if (s.zip)
        close_zip(s.zip);
    s.zip = nullptr;
    s.zip_name.empty();
    s.zip_password.empty();
    s.zip_cached = false;
}

const CUIString& CResourceSource::resource_zip() { return settings().zip_name; }
const CUIString& CResourceSource::resource_zip_password() { return settings().zip_password; }
bool CResourceSource::is_cached_resource_zip() { return settings().zip_cached; }
ZipArchive* CResourceSource::resource_zip_handle() { return settings().zip; }

ResourceReadResult CResourceSource::read_zip_entry(ZipArchive* archive, const wchar_t* name, uint32_t limit,
                                                   CResourceBytes* out)
{
    out->reset();
    if (!archive)
        return RESOURCE_ZIP_NOT_OPEN;
    CUIString entry_name(name);
    entry_name.replace(L"\\", L"/");
    int index = -1;
    ZipEntry entry;
    if (find_zip_item(archive, entry_name, true, &index, &entry) != ZR_OK)
        return RESOURCE_NOT_IN_ZIP;
    if (entry.uncompressed_size == 0)
        return RESOURCE_EMPTY;
    if (entry.uncompressed_size > limit)
        return RESOURCE_TOO_LARGE;
    if (entry.uncompressed_size > uint64_t(entry.compressed_size) * kMaxDeflateRatio + 1024)
        return RESOURCE_UNZIP_FAILED;
    if (!out->allocate(entry.uncompressed_size))
        return RESOURCE_NO_MEMORY;
    ZRESULT r = unzip_item(archive, index, out->data(), out->size());
    if (r != ZR_OK && r != ZR_MORE)
    {
        out->reset();
        return RESOURCE_UNZIP_FAILED;
    }
    return RESOURCE_OK;
}

ResourceReadResult CResourceSource::read_source_file(const wchar_t* name, uint32_t limit, CResourceBytes* out)
{
    out->reset();
    if (!name || !*name)
        return RESOURCE_OPEN_FAILED;
    SourceSettings& s = settings();
    if (s.zip_name.is_empty())
        return read_whole_file(s.path + name, limit, out);
    return read_zip_entry(s.zip, name, limit, out);
}

bool CResourceSource::read_named_file(const wchar_t* name, CResourceBytes* out)
{
    if (read_source_file(name, kMaxNamedFile, out) == RESOURCE_OK)
        return true;
    return name && *name && read_whole_file(name, kMaxNamedFile, out) == RESOURCE_OK;
}

} // namespace Lomar
