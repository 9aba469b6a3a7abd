// CXmlDocument::load_from_file: fetches a skin file from the active resource source and turns
// each way of failing into the loader's own message.
#include "markup/XmlDocument.h"

#include "resources/ResourceSource.h"

namespace Lomar {

namespace {

const wchar_t* message_of(ResourceReadResult r, bool archive)
{
    switch (r)
    {
    case RESOURCE_OK:
        return nullptr;
    case RESOURCE_OPEN_FAILED:
        return L"Error opening file";
    case RESOURCE_EMPTY:
        return L"File is empty";
    case RESOURCE_TOO_LARGE:
        return L"File too large";
    case RESOURCE_READ_FAILED:
        return L"Could not read file";
    case RESOURCE_ZIP_NOT_OPEN:
        return L"Error opening zip file";
    case RESOURCE_NOT_IN_ZIP:
        return L"Could not find ziped file";
    case RESOURCE_UNZIP_FAILED:
        return L"Could not unzip file";
    case RESOURCE_NO_MEMORY:
        break;
    }
    return archive ? L"Could not unzip file" : L"Could not read file";
}

} // namespace

bool CXmlDocument::load_from_file(const wchar_t* file_name, XmlEncoding encoding)
{
    release();
    clear_error();
    CResourceBytes bytes;
    ResourceReadResult r = CResourceSource::read_source_file(file_name, kMaxFileSize, &bytes);
    if (r != RESOURCE_OK)
        return fail(message_of(r, !CResourceSource::resource_zip().is_empty()), file_name);
    return load_from_memory(bytes.data(), bytes.size(), encoding);
}

} // namespace Lomar
