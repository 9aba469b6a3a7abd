// Cleaning of stored entry names and the ASCII-only case folding of lookups.
#include "zip/ZipName.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Lomar;

TEST(ZipNameClean, NamesNeverClimbOutOfTheirFolder)
{
    struct Row
    {
        const wchar_t* stored;
        const wchar_t* cleaned;
    } const rows[] = {
        {L"plain.txt", L"plain.txt"},
        {L"sub/dir/file.png", L"sub/dir/file.png"},
        {L"C:\\x.txt", L"x.txt"},
        {L"C:x.txt", L"x.txt"},
        {L"/abs/x.txt", L"abs/x.txt"},
        {L"\\\\server\\share\\x", L"server\\share\\x"},
        {L"../x.txt", L"x.txt"},
        {L"..\\..\\x.txt", L"x.txt"},
        {L"a\\..\\b.txt", L"b.txt"},
        {L"a\\../b.txt", L"b.txt"},
        {L"a/../b.txt", L"b.txt"},
        {L"a/..\\b.txt", L"b.txt"},
        {L"/C:/../../x", L"x"},
        {L"a/b/../../../c", L"c"},
        {L"..name/x", L"..name/x"},
        {L"a..b/c..", L"a..b/c.."},
        {L"", L""},
    };
    for (const Row& row : rows)
    {
        wchar_t name[64];
        std::wcscpy(name, row.stored);
        clean_zip_name(name);
        EXPECT_EQ(std::wstring(name), row.cleaned) << "stored: " << std::wstring(row.stored).size();
    }
}

TEST(ZipNameCompare, OnlyAsciiLettersFold)
{
    struct Row
    {
        const char* a;
        const char* b;
        bool ignore_case;
        bool equal;
    } const rows[] = {
        {"Skin/Btn.PNG", "skin/btn.png", true, true},
        {"Skin/Btn.PNG", "skin/btn.png", false, false},
        {"same", "same", false, true},
        {"\xC3\x9C" "ber", "\xC3\xBC" "ber", true, false},   // U+00DC and U+00FC
        {"[x]", "{x}", true, false},                        // '[' and '{' differ by 0x20 too
        {"@", "`", true, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(zip_names_equal(row.a, row.b, std::strlen(row.a), row.ignore_case), row.equal)
            << row.a << " / " << row.b;
}
