// Test helpers: the fixture folder written by make_zip_fixtures.py and whole-file reads.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace ziptest {

inline std::string fixture(const std::string& name)
{
    const char* dir = std::getenv("VX_ZIP_FIXTURES");
    return std::string(dir ? dir : "fixtures") + "/" + name;
}

inline std::vector<unsigned char> read_file(const std::string& path)
{
    std::vector<unsigned char> data;
    if (FILE* f = std::fopen(path.c_str(), "rb"))
    {
        unsigned char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof(chunk), f)) > 0)
            data.insert(data.end(), chunk, chunk + n);
        std::fclose(f);
    }
    return data;
}

inline std::wstring widen(const char* ascii) { return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii)); }

} // namespace ziptest
