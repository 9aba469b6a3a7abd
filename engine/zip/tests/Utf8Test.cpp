// UTF-8 <-> UTF-16 conversion: code units, replacement of bad input, cutting at capacity.
#include "zip/Utf8.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Lomar;

namespace {

std::vector<unsigned> to_units(const char* utf8, size_t capacity = 64)
{
    wchar_t out[64];
    size_t n = utf8_to_utf16(utf8, std::strlen(utf8), out, capacity);
    std::vector<unsigned> units;
    for (size_t i = 0; i < n; ++i)
        units.push_back(static_cast<unsigned>(out[i]));
    return units;
}

} // namespace

TEST(Utf8Decode, GivesUtf16CodeUnits)
{
    struct Row
    {
        const char* utf8;
        std::vector<unsigned> units;
    } const rows[] = {
        {"abc", {'a', 'b', 'c'}},
        {"\xC3\x9C" "b", {0xDC, 'b'}},
        {"\xE5\x9B\xBE\xE7\x89\x87", {0x56FE, 0x7247}},
        {"\xF0\x9F\x98\x80", {0xD83D, 0xDE00}},               // surrogate pair on every host
        {"\xFF" "a", {0xFFFD, 'a'}},
        {"\xE5\x9B", {0xFFFD, 0xFFFD}},                       // cut sequence
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},                       // overlong
        {"\xED\xA0\x80", {0xFFFD}},                           // encoded surrogate
        {"\xE5" "a", {0xFFFD, 'a'}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(to_units(row.utf8), row.units) << row.utf8;
}

TEST(Utf8Decode, CountsAndCutsAtCodePoints)
{
    const char* text = "a\xF0\x9F\x98\x80";
    EXPECT_EQ(utf8_to_utf16(text, std::strlen(text), nullptr, 0), 3u);
    EXPECT_EQ(to_units(text, 2), (std::vector<unsigned>{'a'}));   // no half pair
    EXPECT_EQ(to_units(text, 0), std::vector<unsigned>{});
}

TEST(Utf8Encode, RoundTripsAndCuts)
{
    const wchar_t pair[] = {L'x', static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00), 0};
    const wchar_t lone[] = {static_cast<wchar_t>(0xDC00), L'y', 0};
    struct Row
    {
        const wchar_t* text;
        const char* utf8;
    } const rows[] = {
        {L"skin/btn.png", "skin/btn.png"},
        {L"\u00dcber/\u56fe\u7247", "\xC3\x9C" "ber/\xE5\x9B\xBE\xE7\x89\x87"},
        {pair, "x\xF0\x9F\x98\x80"},
        {lone, "\xEF\xBF\xBDy"},
    };
    for (const Row& row : rows)
    {
        char out[64];
        size_t n = utf16_to_utf8(row.text, out, sizeof(out));
        EXPECT_EQ(std::string(out, n), row.utf8);
        EXPECT_EQ(utf16_to_utf8(row.text, nullptr, 0), n);
    }
    char out[4];
    EXPECT_EQ(utf16_to_utf8(L"ab\u56fe", out, 4), 2u);   // the 3-byte character does not fit
}
