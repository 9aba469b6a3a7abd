// The ZIP reader against archives written by Info-ZIP zip, 7-Zip, cmake -E tar and Python's
// zipfile at test time, and against damaged copies of them.
#include "zip/ZipArchive.h"

#include "ZipTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Lomar;
using ziptest::fixture;
using ziptest::read_file;
using ziptest::widen;

namespace {

const char* const kPassword = "s3cret";

struct ArchiveCase
{
    const char* file;
    const char* password;
    std::vector<const char*> entries;   // source files, by the name stored
};

const std::vector<const char*> kAllFiles = {"hello.txt", "empty.txt", "sub/inner.txt", "big.bin"};
const std::vector<const char*> kStreamedFiles = {"hello.txt", "big.bin"};

const ArchiveCase kArchives[] = {
    {"good-infozip-stored.zip", nullptr, kAllFiles},
    {"good-infozip-deflated.zip", nullptr, kAllFiles},
    {"good-infozip-encrypted.zip", kPassword, kAllFiles},
    {"good-infozip-streamed.zip", nullptr, kStreamedFiles},
    {"good-infozip-streamed-encrypted.zip", kPassword, kStreamedFiles},
    {"good-7zip-encrypted.zip", kPassword, kAllFiles},
    {"good-cmake.zip", nullptr, kAllFiles},
};

// Owns an archive's bytes and the handle over them.
struct Opened
{
    std::vector<unsigned char> bytes;
    ZipArchive* zip = nullptr;
    Opened(std::vector<unsigned char> data, const char* password) : bytes(std::move(data))
    {
        zip = open_zip(bytes.data(), static_cast<uint32_t>(bytes.size()), password);
    }
    Opened(const char* file, const char* password) : Opened(read_file(fixture(file)), password) {}
    ~Opened()
    {
        if (zip)
            close_zip(zip);
    }
};

std::vector<unsigned char> source(const char* name) { return read_file(fixture(std::string("src/") + name)); }

// Finds an entry case-insensitively and unzips it whole into a buffer of its exact size.
ZRESULT unzip_whole(ZipArchive* zip, const std::wstring& name, std::vector<unsigned char>* out)
{
    int index = -1;
    ZipEntry entry;
    ZRESULT r = find_zip_item(zip, name.c_str(), true, &index, &entry);
    if (r != ZR_OK)
        return r;
    out->assign(entry.uncompressed_size, 0);
    r = unzip_item(zip, index, out->data(), entry.uncompressed_size);
    return r == ZR_MORE ? ZR_OK : r;
}

} // namespace

TEST(ZipRead, EveryToolsArchiveGivesBackTheSourceFiles)
{
    for (const ArchiveCase& c : kArchives)
    {
        SCOPED_TRACE(c.file);
        Opened a(c.file, c.password);
        ASSERT_NE(a.zip, nullptr);
        EXPECT_EQ(zip_item_count(a.zip), static_cast<int>(c.entries.size()));
        for (const char* name : c.entries)
        {
            SCOPED_TRACE(name);
            std::vector<unsigned char> want = source(name);
            int index = -1;
            ZipEntry entry;
            ASSERT_EQ(find_zip_item(a.zip, widen(name).c_str(), true, &index, &entry), ZR_OK);
            EXPECT_EQ(entry.index, index);
            EXPECT_EQ(std::wstring(entry.name), widen(name));
            EXPECT_EQ(entry.uncompressed_size, want.size());
            EXPECT_EQ(entry.attributes & ZIP_ATTR_DIRECTORY, 0u);
            std::vector<unsigned char> got(entry.uncompressed_size);
            ZRESULT r = unzip_item(a.zip, index, got.data(), entry.uncompressed_size);
            EXPECT_TRUE(r == ZR_OK || r == ZR_MORE) << std::hex << r;
            EXPECT_TRUE(got == want);
        }
    }
}

TEST(ZipRead, EntryInSmallPiecesContinuesWhereItStopped)
{
    const std::vector<unsigned char> want = source("big.bin");
    for (const ArchiveCase& c : kArchives)
    {
        SCOPED_TRACE(c.file);
        Opened a(c.file, c.password);
        ASSERT_NE(a.zip, nullptr);
        int index = -1;
        ZipEntry entry;
        ASSERT_EQ(find_zip_item(a.zip, L"big.bin", false, &index, &entry), ZR_OK);
        std::vector<unsigned char> got;
        unsigned char piece[997];
        ZRESULT r = ZR_MORE;
        int calls = 0;
        while (r == ZR_MORE && calls++ < 1000)
        {
            uint32_t before = static_cast<uint32_t>(got.size());
            r = unzip_item(a.zip, index, piece, sizeof(piece));
            uint32_t left = static_cast<uint32_t>(want.size()) - before;
            got.insert(got.end(), piece, piece + (left < sizeof(piece) ? left : sizeof(piece)));
        }
        EXPECT_EQ(r, ZR_OK);
        EXPECT_TRUE(got == want);
    }
}

TEST(ZipRead, BufferLargerThanTheEntryEndsWithSuccess)
{
    Opened a("good-infozip-deflated.zip", nullptr);
    ASSERT_NE(a.zip, nullptr);
    int index;
    ZipEntry entry;
    ASSERT_EQ(find_zip_item(a.zip, L"hello.txt", false, &index, &entry), ZR_OK);
    std::vector<unsigned char> got(entry.uncompressed_size + 100, 0xAB);
    EXPECT_EQ(unzip_item(a.zip, index, got.data(), static_cast<uint32_t>(got.size())), ZR_OK);
    std::vector<unsigned char> want = source("hello.txt");
    EXPECT_TRUE(std::equal(want.begin(), want.end(), got.begin()));
    EXPECT_EQ(got[want.size()], 0xAB);   // nothing written behind the entry
    ASSERT_EQ(find_zip_item(a.zip, L"empty.txt", false, &index, &entry), ZR_OK);
    EXPECT_EQ(unzip_item(a.zip, index, got.data(), static_cast<uint32_t>(got.size())), ZR_OK);
    EXPECT_EQ(unzip_item(a.zip, index, nullptr, 0), ZR_OK);
}

TEST(ZipRead, WrongOrMissingPasswordIsReported)
{
    const char* const encrypted[] = {"good-infozip-encrypted.zip", "good-infozip-streamed-encrypted.zip",
                                     "good-7zip-encrypted.zip"};
    const char* const passwords[] = {nullptr, "", "S3CRET", "wrong password"};
    for (const char* file : encrypted)
        for (const char* password : passwords)
        {
            SCOPED_TRACE(std::string(file) + " / " + (password ? password : "(null)"));
            Opened a(file, password);
            ASSERT_NE(a.zip, nullptr);
            for (const char* name : kStreamedFiles)
            {
                std::vector<unsigned char> got;
                EXPECT_EQ(unzip_whole(a.zip, widen(name), &got), ZR_PASSWORD) << name;
            }
        }
}

TEST(ZipNames, LookupFoldsAsciiCaseOnlyAndCleansStoredNames)
{
    struct Row
    {
        const wchar_t* requested;
        bool ignore_case;
        const char* content;          // null: not found
        const wchar_t* described;     // the cleaned name
    };
    const Row rows[] = {
        {L"ReadMe.txt", false, "lower-case variant", L"ReadMe.txt"},
        {L"README.TXT", false, "upper-case variant", L"README.TXT"},
        {L"readme.txt", false, nullptr, nullptr},
        {L"readme.txt", true, "lower-case variant", L"ReadMe.txt"},   // first in directory order
        {L"\u00dcber/\u56fe\u7247.txt", false, "non-ascii name", L"\u00dcber/\u56fe\u7247.txt"},
        {L"\u00dcBER/\u56fe\u7247.TXT", true, "non-ascii name", L"\u00dcber/\u56fe\u7247.txt"},
        {L"\u00fcBER/\u56fe\u7247.txt", true, "non-ascii lower-case u", L"\u00fcber/\u56fe\u7247.txt"},
        {L"\u00fcber/\u56fe\u7247.txt", false, "non-ascii lower-case u", L"\u00fcber/\u56fe\u7247.txt"},
        {L"\u00dcber\\\u56fe\u7247.txt", true, nullptr, nullptr},      // callers turn \ into / first
        {L"../evil.txt", false, "parent step", L"evil.txt"},
        {L"/rooted.txt", false, "leading slash", L"rooted.txt"},
        {L"C:/drive.txt", true, "drive prefix", L"drive.txt"},
        {L"a/../../deep.txt", true, "inner parent step", L"deep.txt"},
        {L"evil.txt", true, nullptr, nullptr},                          // lookups use stored names
        {L"folder/", false, "", L"folder/"},
        {L"", true, nullptr, nullptr},
    };
    Opened a("good-python.zip", nullptr);
    ASSERT_NE(a.zip, nullptr);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        int index = 7;
        ZipEntry entry;
        ZRESULT r = find_zip_item(a.zip, row.requested, row.ignore_case, &index, &entry);
        if (!row.content)
        {
            EXPECT_EQ(r, ZR_NOT_FOUND);
            EXPECT_EQ(index, -1);
            EXPECT_EQ(entry.index, -1);
            continue;
        }
        ASSERT_EQ(r, ZR_OK);
        EXPECT_EQ(std::wstring(entry.name), row.described);
        std::vector<unsigned char> got(entry.uncompressed_size);
        EXPECT_EQ(unzip_item(a.zip, index, got.data(), entry.uncompressed_size), ZR_OK);
        EXPECT_EQ(std::string(got.begin(), got.end()), row.content);
    }
}

TEST(ZipNames, NamesOf256BytesOrMoreAreNeverFound)
{
    Opened a("good-python.zip", nullptr);
    ASSERT_NE(a.zip, nullptr);
    std::wstring longest(255, L'a'), too_long(256, L'a'), wide_too_long(86, L'\u56fe');  // 258 bytes
    int index;
    EXPECT_EQ(find_zip_item(a.zip, longest.c_str(), true, &index, nullptr), ZR_NOT_FOUND);
    EXPECT_EQ(find_zip_item(a.zip, too_long.c_str(), true, &index, nullptr), ZR_NOT_FOUND);
    EXPECT_EQ(find_zip_item(a.zip, wide_too_long.c_str(), true, &index, nullptr), ZR_NOT_FOUND);
    // The failed walks leave the directory usable.
    EXPECT_EQ(find_zip_item(a.zip, L"README.TXT", false, &index, nullptr), ZR_OK);
    EXPECT_EQ(index, 1);
}

TEST(ZipEntries, AttributesAndTimesAreDescribed)
{
    Opened a("good-python.zip", nullptr);
    ASSERT_NE(a.zip, nullptr);
    ZipEntry entry;
    int index;
    ASSERT_EQ(find_zip_item(a.zip, L"folder/", false, &index, &entry), ZR_OK);
    EXPECT_EQ(entry.attributes & ZIP_ATTR_DIRECTORY, ZIP_ATTR_DIRECTORY);
    ASSERT_EQ(find_zip_item(a.zip, L"ReadMe.txt", false, &index, &entry), ZR_OK);
    EXPECT_EQ(entry.attributes, ZIP_ATTR_READONLY | ZIP_ATTR_ARCHIVE);   // mode 0444
    // 2021-06-15 13:45:30 in local time: within a day of that moment in UTC whatever the zone.
    const uint64_t utc = (1623764730ULL + 11644473600ULL) * 10000000ULL;
    const uint64_t day = 86400ULL * 10000000ULL;
    EXPECT_GT(entry.modification_time, utc - day);
    EXPECT_LT(entry.modification_time, utc + day);
    EXPECT_EQ(entry.access_time, entry.modification_time);

    // Info-ZIP writes an extended time stamp: its Unix time wins over the DOS time.
    Opened z("good-infozip-deflated.zip", nullptr);
    ASSERT_NE(z.zip, nullptr);
    ASSERT_EQ(find_zip_item(z.zip, L"hello.txt", false, &index, &entry), ZR_OK);
    EXPECT_EQ(entry.modification_time, (1600000000ULL + 11644473600ULL) * 10000000ULL);
    EXPECT_EQ(entry.attributes & ZIP_ATTR_DIRECTORY, 0u);

    // Describing by index gives the same record as the lookup.
    ZipEntry again;
    ASSERT_EQ(get_zip_item(z.zip, index, &again), ZR_OK);
    EXPECT_EQ(std::memcmp(&again, &entry, sizeof(entry)), 0);
    ASSERT_EQ(get_zip_item(z.zip, 0, &again), ZR_OK);
    EXPECT_EQ(again.index, 0);
}

TEST(ZipErrors, BadHandlesAndArguments)
{
    ZipEntry entry;
    int index;
    unsigned char buffer[16];
    EXPECT_EQ(find_zip_item(nullptr, L"a", true, &index, &entry), ZR_ARGS);
    EXPECT_EQ(unzip_item(nullptr, 0, buffer, sizeof(buffer)), ZR_ARGS);
    EXPECT_EQ(get_zip_item(nullptr, 0, &entry), ZR_ARGS);
    EXPECT_EQ(close_zip(nullptr), ZR_ARGS);
    EXPECT_EQ(zip_item_count(nullptr), -1);

    alignas(16) unsigned char not_a_handle[4096] = {};
    ZipArchive* wrong = reinterpret_cast<ZipArchive*>(not_a_handle);
    EXPECT_EQ(find_zip_item(wrong, L"a", true, &index, &entry), ZR_NOT_ARCHIVE);
    EXPECT_EQ(unzip_item(wrong, 0, buffer, sizeof(buffer)), ZR_NOT_ARCHIVE);
    EXPECT_EQ(close_zip(wrong), ZR_NOT_ARCHIVE);

    Opened a("good-infozip-deflated.zip", nullptr);
    ASSERT_NE(a.zip, nullptr);
    int count = zip_item_count(a.zip);
    EXPECT_EQ(unzip_item(a.zip, count, buffer, sizeof(buffer)), ZR_ARGS);
    EXPECT_EQ(unzip_item(a.zip, -1, buffer, sizeof(buffer)), ZR_ARGS);
    EXPECT_EQ(unzip_item(a.zip, 0, nullptr, 10), ZR_ARGS);
    EXPECT_EQ(get_zip_item(a.zip, count, &entry), ZR_ARGS);
    EXPECT_EQ(find_zip_item(a.zip, nullptr, true, &index, &entry), ZR_ARGS);
}

TEST(ZipErrors, BlocksWithoutADirectoryDoNotOpen)
{
    std::vector<unsigned char> good = read_file(fixture("good-infozip-deflated.zip"));
    ASSERT_GT(good.size(), 100u);
    EXPECT_EQ(open_zip(nullptr, 100, nullptr), nullptr);
    const std::vector<unsigned char> blocks[] = {
        {},
        std::vector<unsigned char>(21, 0),
        std::vector<unsigned char>(good.begin(), good.end() - 10),           // end record cut
        std::vector<unsigned char>(good.begin(), good.begin() + good.size() / 2),
        source("hello.txt"),
    };
    for (const auto& block : blocks)
    {
        SCOPED_TRACE(block.size());
        ZipArchive* zip = open_zip(block.data(), static_cast<uint32_t>(block.size()), nullptr);
        EXPECT_EQ(zip, nullptr);
        if (zip)
            close_zip(zip);
    }
    // An end record alone is an empty archive.
    std::vector<unsigned char> empty(22, 0);
    empty[0] = 0x50, empty[1] = 0x4b, empty[2] = 5, empty[3] = 6;
    Opened a(empty, nullptr);
    ASSERT_NE(a.zip, nullptr);
    EXPECT_EQ(zip_item_count(a.zip), 0);
    int index;
    EXPECT_EQ(find_zip_item(a.zip, L"hello.txt", true, &index, nullptr), ZR_NOT_FOUND);
    EXPECT_EQ(unzip_item(a.zip, 0, nullptr, 0), ZR_ARGS);
}

namespace {

uint32_t get32(const std::vector<unsigned char>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
void put16(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void put32(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// Offset of the central header of entry `index` (archives here carry no comment).
size_t central_of(const std::vector<unsigned char>& b, int index)
{
    size_t at = get32(b, b.size() - 22 + 16);
    for (int i = 0; i < index; ++i)
        at += 46 + (b[at + 28] | (b[at + 29] << 8)) + (b[at + 30] | (b[at + 31] << 8)) +
              (b[at + 32] | (b[at + 33] << 8));
    return at;
}

} // namespace

TEST(ZipErrors, DamagedEntriesReportTheirFault)
{
    const std::vector<unsigned char> good = read_file(fixture("good-infozip-deflated.zip"));
    ASSERT_FALSE(good.empty());
    const int big = 3;   // big.bin, deflated
    const size_t central = central_of(good, big);
    const size_t local = get32(good, central + 42);
    const size_t data = local + 30 + (good[local + 26] | (good[local + 27] << 8)) +
                        (good[local + 28] | (good[local + 29] << 8));
    struct Damage
    {
        const char* what;
        void (*apply)(std::vector<unsigned char>&, size_t central, size_t local, size_t data);
        ZRESULT expected;
        ZRESULT alternative;   // a second acceptable result
    };
    const Damage damages[] = {
        {"local signature", [](auto& b, size_t, size_t l, size_t) { b[l] = 'X'; }, ZR_CORRUPT, ZR_CORRUPT},
        {"method 12 (bzip2)", [](auto& b, size_t c, size_t l, size_t) { put16(b, c + 10, 12); put16(b, l + 8, 12); },
         ZR_CORRUPT, ZR_CORRUPT},
        {"local offset past the end", [](auto& b, size_t c, size_t, size_t) { put32(b, c + 42, 0xFFFFFF00); },
         ZR_CORRUPT, ZR_CORRUPT},
        {"compressed size past the end",
         [](auto& b, size_t c, size_t l, size_t) { put32(b, c + 20, 0x7FFFFFFF); put32(b, l + 18, 0x7FFFFFFF); },
         ZR_CORRUPT, ZR_CORRUPT},
        {"local size differs", [](auto& b, size_t, size_t l, size_t) { put32(b, l + 22, 5); }, ZR_CORRUPT, ZR_CORRUPT},
        {"deflate data overwritten",
         [](auto& b, size_t, size_t, size_t d) { std::memset(&b[d + 100], 0xFF, 2000); }, ZR_FLATE, ZR_CORRUPT},
        {"CRC differs", [](auto& b, size_t c, size_t l, size_t) { put32(b, c + 16, 1); put32(b, l + 14, 1); },
         ZR_CORRUPT, ZR_CORRUPT},
        {"uncompressed size larger than the stream",
         [](auto& b, size_t c, size_t l, size_t) { put32(b, c + 24, 200000); put32(b, l + 22, 200000); },
         ZR_FLATE, ZR_FLATE},
    };
    for (const Damage& d : damages)
    {
        SCOPED_TRACE(d.what);
        std::vector<unsigned char> bad = good;
        d.apply(bad, central, local, data);
        Opened a(bad, nullptr);
        ASSERT_NE(a.zip, nullptr);
        ZipEntry entry;
        ASSERT_EQ(get_zip_item(a.zip, big, &entry), ZR_OK);
        std::vector<unsigned char> out(65536);
        ZRESULT r = ZR_MORE;
        for (int calls = 0; r == ZR_MORE && calls < 100; ++calls)
            r = unzip_item(a.zip, big, out.data(), static_cast<uint32_t>(out.size()));
        EXPECT_TRUE(r == d.expected || r == d.alternative) << std::hex << r;
        // The other entries are untouched.
        std::vector<unsigned char> hello;
        EXPECT_EQ(unzip_whole(a.zip, L"hello.txt", &hello), ZR_OK);
        EXPECT_TRUE(hello == source("hello.txt"));
    }
}

TEST(ZipErrors, DirectoryThatPointsOutsideTheBlockDoesNotOpen)
{
    const std::vector<unsigned char> good = read_file(fixture("good-python.zip"));
    ASSERT_FALSE(good.empty());
    const size_t end = good.size() - 22;
    struct Damage
    {
        const char* what;
        size_t at;
        uint32_t value;
        int width;
    } const damages[] = {
        {"directory offset past the end record", end + 16, 0xFFFFFFF0, 4},
        {"directory size past the end record", end + 12, 0x00FFFFFF, 4},
        {"more entries than the directory holds", end + 10, 2000, 2},
        {"a name length running past the directory", central_of(good, 8) + 28, 0xFFFF, 2},
        {"central signature broken", central_of(good, 4), 0x1234, 2},
    };
    for (const Damage& d : damages)
    {
        SCOPED_TRACE(d.what);
        std::vector<unsigned char> bad = good;
        if (d.width == 4)
            put32(bad, d.at, d.value);
        else
            put16(bad, d.at, d.value);
        ZipArchive* zip = open_zip(bad.data(), static_cast<uint32_t>(bad.size()), nullptr);
        EXPECT_EQ(zip, nullptr);
        if (zip)
            close_zip(zip);
    }
}

TEST(ZipRead, MovingToAnotherEntryRestartsTheFirst)
{
    const std::vector<unsigned char> big = source("big.bin");
    const std::vector<unsigned char> hello = source("hello.txt");
    std::string password = kPassword;   // the handle keeps its own copy
    Opened a("good-infozip-encrypted.zip", password.c_str());
    password.assign(password.size(), 'x');
    ASSERT_NE(a.zip, nullptr);
    int big_index, hello_index;
    ZipEntry big_entry, hello_entry;
    ASSERT_EQ(find_zip_item(a.zip, L"big.bin", false, &big_index, &big_entry), ZR_OK);
    ASSERT_EQ(find_zip_item(a.zip, L"hello.txt", false, &hello_index, &hello_entry), ZR_OK);

    std::vector<unsigned char> part(1000);
    ASSERT_EQ(unzip_item(a.zip, big_index, part.data(), 1000), ZR_MORE);
    std::vector<unsigned char> got(hello_entry.uncompressed_size);
    ASSERT_EQ(unzip_item(a.zip, hello_index, got.data(), hello_entry.uncompressed_size), ZR_OK);
    EXPECT_TRUE(got == hello);
    // Back to the first entry: it starts over.
    got.assign(big_entry.uncompressed_size, 0);
    ASSERT_EQ(unzip_item(a.zip, big_index, got.data(), big_entry.uncompressed_size), ZR_OK);
    EXPECT_TRUE(got == big);

    // A lookup closes the open entry too.
    ASSERT_EQ(unzip_item(a.zip, big_index, part.data(), 1000), ZR_MORE);
    ASSERT_EQ(find_zip_item(a.zip, L"hello.txt", false, &hello_index, nullptr), ZR_OK);
    ASSERT_EQ(unzip_item(a.zip, big_index, got.data(), big_entry.uncompressed_size), ZR_OK);
    EXPECT_TRUE(got == big);
}
