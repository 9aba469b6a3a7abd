// Test helpers: the fixture folder of make_markup_fixtures.py, file reads and writes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace markuptest {

inline std::string fixture(const std::string& name)
{
    const char* dir = std::getenv("VX_MARKUP_FIXTURES");
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

inline bool write_file(const std::string& path, const std::string& data)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace markuptest
