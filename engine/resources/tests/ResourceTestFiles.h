// Test helpers: the fixture folder of make_resource_fixtures.py, reads, wide paths.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace restest {

inline std::string fixture(const std::string& name)
{
    const char* dir = std::getenv("VX_RESOURCE_FIXTURES");
    return std::string(dir ? dir : "fixtures") + (name.empty() ? "" : "/" + name);
}

inline std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

inline std::wstring wfixture(const std::string& name) { return widen(fixture(name)); }

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

inline bool copy_file(const std::string& from, const std::string& to)
{
    std::vector<unsigned char> data = read_file(from);
    FILE* f = std::fopen(to.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok && !data.empty();
}

} // namespace restest
