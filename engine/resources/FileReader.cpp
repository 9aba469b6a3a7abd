// Whole-file reads: Win32 CreateFileW where the engine ships, stdio on the native build used
// for tests, benchmarks and fuzzing.
#include "resources/FileReader.h"

#include "zip/Utf8.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <string>
#endif

namespace Lomar {

#ifdef _WIN32

ResourceReadResult read_whole_file(const wchar_t* path, uint32_t limit, CResourceBytes* out)
{
    out->reset();
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return RESOURCE_OPEN_FAILED;
    ResourceReadResult result = RESOURCE_OK;
    LARGE_INTEGER size;
    DWORD read = 0;
    if (!GetFileSizeEx(file, &size))
        result = RESOURCE_READ_FAILED;
    else if (size.QuadPart == 0)
        result = RESOURCE_EMPTY;
    else if (size.QuadPart > static_cast<LONGLONG>(limit))
        result = RESOURCE_TOO_LARGE;
    else if (!out->allocate(static_cast<uint32_t>(size.QuadPart)))
        result = RESOURCE_NO_MEMORY;
    else if (!ReadFile(file, out->data(), out->size(), &read, nullptr) || read != out->size())
        result = RESOURCE_READ_FAILED;
    CloseHandle(file);
    if (result != RESOURCE_OK)
        out->reset();
    return result;
}

char* password_to_ansi(const wchar_t* password)
{
    if (!password)
        password = L"";
    int n = WideCharToMultiByte(CP_ACP, 0, password, -1, nullptr, 0, nullptr, nullptr);
    char* ansi = static_cast<char*>(std::malloc(n > 0 ? n : 1));
    if (!ansi)
        return nullptr;
    if (n <= 0 || !WideCharToMultiByte(CP_ACP, 0, password, -1, ansi, n, nullptr, nullptr))
        ansi[0] = 0;
    return ansi;
}

#else

namespace {

std::string native_path(const wchar_t* path)
{
    size_t n = utf16_to_utf8(path, nullptr, 0);
    std::string s(n, '\0');
    utf16_to_utf8(path, &s[0], n);
    for (char& c : s)
        if (c == '\\')
            c = '/';
    return s;
}

} // namespace

ResourceReadResult read_whole_file(const wchar_t* path, uint32_t limit, CResourceBytes* out)
{
    out->reset();
    FILE* file = std::fopen(native_path(path).c_str(), "rb");
    if (!file)
        return RESOURCE_OPEN_FAILED;
    ResourceReadResult result = RESOURCE_OK;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    std::rewind(file);
    if (size < 0)
        result = RESOURCE_OPEN_FAILED;   // a folder, or a stream without a size
    else if (size == 0)
        result = RESOURCE_EMPTY;
    else if (static_cast<unsigned long>(size) > limit)
        result = RESOURCE_TOO_LARGE;
    else if (!out->allocate(static_cast<uint32_t>(size)))
        result = RESOURCE_NO_MEMORY;
    else if (std::fread(out->data(), 1, out->size(), file) != out->size())
        result = RESOURCE_READ_FAILED;
    std::fclose(file);
    if (result != RESOURCE_OK)
        out->reset();
    return result;
}

char* password_to_ansi(const wchar_t* password)
{
    if (!password)
        password = L"";
    size_t n = utf16_to_utf8(password, nullptr, 0);
    char* ansi = static_cast<char*>(std::malloc(n + 1));
    if (!ansi)
        return nullptr;
    utf16_to_utf8(password, ansi, n);
    ansi[n] = 0;
    return ansi;
}

#endif

} // namespace Lomar
