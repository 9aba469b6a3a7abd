// The process-wide resource source: path rules, folder and archive lookups, the plain-path
// fallback, and archive entries whose stored sizes lie.
#include "resources/ResourceSource.h"

#include "zip/ZipArchive.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Lomar;
using restest::fixture;
using restest::read_file;
using restest::wfixture;

namespace {

std::string text_of(const CResourceBytes& bytes)
{
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class ResourceSource : public testing::Test
{
protected:
    void SetUp() override
    {
        CResourceSource::clear_resource_zip();
        archive = read_file(fixture("skin.zip"));
        ASSERT_FALSE(archive.empty());
    }
    void TearDown() override
    {
        CResourceSource::clear_resource_zip();
        CResourceSource::set_resource_path(L"");
    }
    void select_archive(std::vector<unsigned char>& bytes)
    {
        CResourceSource::set_resource_zip(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr);
    }
    std::vector<unsigned char> archive;
};

} // namespace

TEST_F(ResourceSource, ResourcePathGetsItsSeparator)
{
    struct Row
    {
        const wchar_t* set;
        const wchar_t* stored;
    } const rows[] = {
        {L"C:\\Program Files\\Ostrel\\skin", L"C:\\Program Files\\Ostrel\\skin\\"},
        {L"skin\\", L"skin\\"},
        {L"skin/", L"skin/"},
        {L"", L""},
        {nullptr, L""},
    };
    for (const Row& row : rows)
    {
        CResourceSource::set_resource_path(row.set);
        EXPECT_EQ(std::wstring(CResourceSource::resource_path()), row.stored);
    }
    CResourceSource::set_resource_type(4);
    EXPECT_EQ(CResourceSource::resource_type(), 4);
}

TEST_F(ResourceSource, FolderModeReadsResourcePathPlusName)
{
    CResourceSource::set_resource_path(wfixture("skin").c_str());
    EXPECT_TRUE(CResourceSource::resource_zip().is_empty());
    CResourceBytes bytes;
    EXPECT_EQ(CResourceSource::read_source_file(L"Images\\Sub\\Pic.txt", 1000, &bytes), RESOURCE_OK);
    EXPECT_EQ(text_of(bytes), "from the folder");
    EXPECT_EQ(CResourceSource::read_source_file(L"Images\\Sub\\Pic.txt", 5, &bytes), RESOURCE_TOO_LARGE);
    EXPECT_EQ(bytes.size(), 0u);
    EXPECT_EQ(CResourceSource::read_source_file(L"Images\\Sub\\None.txt", 1000, &bytes), RESOURCE_OPEN_FAILED);
    EXPECT_EQ(CResourceSource::read_source_file(nullptr, 1000, &bytes), RESOURCE_OPEN_FAILED);
}

TEST_F(ResourceSource, ArchiveModeUsesSlashesAndIgnoresAsciiCase)
{
    select_archive(archive);
    ASSERT_NE(CResourceSource::resource_zip_handle(), nullptr);
    CResourceBytes bytes;
    for (const wchar_t* name : {L"Images/Sub/Pic.txt", L"Images\\Sub\\Pic.txt", L"IMAGES\\sub\\pic.TXT"})
    {
        EXPECT_EQ(CResourceSource::read_source_file(name, 1000, &bytes), RESOURCE_OK);
        EXPECT_EQ(text_of(bytes), "from the archive");
    }
    EXPECT_EQ(CResourceSource::read_source_file(L"Images\\Sub", 1000, &bytes), RESOURCE_NOT_IN_ZIP);
    // Skin files never fall back to the plain path.
    EXPECT_EQ(CResourceSource::read_source_file(wfixture("plain/only-plain.txt").c_str(), 1000, &bytes),
              RESOURCE_NOT_IN_ZIP);

    // A second memory archive leaves the first one selected.
    ZipArchive* first = CResourceSource::resource_zip_handle();
    std::vector<unsigned char> other = archive;
    select_archive(other);
    EXPECT_EQ(CResourceSource::resource_zip_handle(), first);
}

TEST_F(ResourceSource, NamedFilesFallBackToThePlainPath)
{
    const std::wstring plain = wfixture("plain/only-plain.txt");
    CResourceBytes bytes;
    CResourceSource::set_resource_path(wfixture("skin").c_str());
    ASSERT_TRUE(CResourceSource::read_named_file(plain.c_str(), &bytes));
    EXPECT_EQ(text_of(bytes), "plain path");
    EXPECT_TRUE(CResourceSource::read_named_file(L"Images\\Sub\\Pic.txt", &bytes));
    EXPECT_EQ(text_of(bytes), "from the folder");

    select_archive(archive);
    ASSERT_TRUE(CResourceSource::read_named_file(plain.c_str(), &bytes));
    EXPECT_EQ(text_of(bytes), "plain path");
    EXPECT_TRUE(CResourceSource::read_named_file(L"images\\sub\\pic.txt", &bytes));
    EXPECT_EQ(text_of(bytes), "from the archive");
    // Relative to the current folder (tests run in their build folder, beside "fixtures").
    ASSERT_TRUE(CResourceSource::read_named_file(L"fixtures\\plain\\only-plain.txt", &bytes));
    EXPECT_EQ(text_of(bytes), "plain path");
    EXPECT_FALSE(CResourceSource::read_named_file(L"nowhere\\at-all.png", &bytes));
    EXPECT_FALSE(CResourceSource::read_named_file(L"", &bytes));
}

TEST_F(ResourceSource, StoredSizesAreCheckedBeforeAllocating)
{
    // The first central-directory entry is Images/Sub/Pic.txt; patch its uncompressed size.
    std::vector<unsigned char> bad = archive;
    const size_t end = bad.size() - 22;
    const size_t central = bad[end + 16] | (bad[end + 17] << 8) | (bad[end + 18] << 16) |
                           (static_cast<size_t>(bad[end + 19]) << 24);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bad[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    const size_t local = 0;
    put32(central + 24, 60000000);   // 60 MB from a few bytes of deflate: impossible
    put32(local + 22, 60000000);
    ZipArchive* zip = open_zip(bad.data(), static_cast<uint32_t>(bad.size()), nullptr);
    ASSERT_NE(zip, nullptr);
    CResourceBytes bytes;
    EXPECT_EQ(CResourceSource::read_zip_entry(zip, L"Images/Sub/Pic.txt", CResourceSource::kMaxNamedFile, &bytes),
              RESOURCE_UNZIP_FAILED);
    EXPECT_EQ(CResourceSource::read_zip_entry(zip, L"Images/Sub/Pic.txt", 1000, &bytes), RESOURCE_TOO_LARGE);
    EXPECT_EQ(bytes.data(), nullptr);
    close_zip(zip);
    EXPECT_EQ(CResourceSource::read_zip_entry(nullptr, L"x", 10, &bytes), RESOURCE_ZIP_NOT_OPEN);
}
