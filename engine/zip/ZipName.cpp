// Entry-name cleaning and comparison (see ZipName.h).
#include "zip/ZipName.h"

#include <cstring>

namespace Lomar {

namespace {

size_t wide_length(const wchar_t* s)
{
    size_t n = 0;
    while (s[n])
        ++n;
    return n;
}

bool is_separator(wchar_t c) { return c == L'/' || c == L'\\'; }

// Position just after the first climbing sequence, in the order the rules look for them.
wchar_t* after_parent_step(wchar_t* name)
{
    static const wchar_t* const kSteps[] = {L"\\..\\", L"\\../", L"/../", L"/..\\"};
    for (const wchar_t* step : kSteps)
    {
        for (wchar_t* p = name; *p; ++p)
        {
            size_t k = 0;
            while (k < 4 && p[k] == step[k])
                ++k;
            if (k == 4)
                return p + 4;
        }
    }
    return nullptr;
}

void drop_front(wchar_t* name, size_t count)
{
    size_t n = wide_length(name);
    std::memmove(name, name + count, (n - count + 1) * sizeof(wchar_t));
}

char fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

} // namespace

void clean_zip_name(wchar_t* name)
{
    for (;;)
    {
        if (name[0] && name[1] == L':')
            drop_front(name, 2);
        else if (is_separator(name[0]))
            drop_front(name, 1);
        else if (name[0] == L'.' && name[1] == L'.' && is_separator(name[2]))
            drop_front(name, 3);
        else if (wchar_t* rest = after_parent_step(name))
            drop_front(name, static_cast<size_t>(rest - name));
        else
            return;
    }
}

bool zip_names_equal(const char* a, const char* b, size_t length, bool ignore_case)
{
    if (!ignore_case)
        return std::memcmp(a, b, length) == 0;
    for (size_t i = 0; i < length; ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}

} // namespace Lomar
