// Loading skin files from the skin folder and from the skin archive, with every way of failing.
#include "markup/XmlDocument.h"

#include "resources/ResourceSource.h"

#include "MarkupTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Lomar;
using markuptest::fixture;
using markuptest::read_file;
using markuptest::write_file;

namespace {

std::wstring str(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(L"(null)"); }

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

std::string padded(size_t size)
{
    std::string head = "<Window>", tail = "</Window>";
    return head + std::string(size - head.size() - tail.size(), ' ') + tail;
}

// Every test starts in folder mode and leaves the process in folder mode.
class XmlLoadFile : public testing::Test
{
protected:
    void SetUp() override { CResourceSource::clear_resource_zip(); }
    void TearDown() override
    {
        CResourceSource::clear_resource_zip();
        CResourceSource::set_resource_path(L"");
    }
};

} // namespace

TEST_F(XmlLoadFile, FolderModeMessages)
{
    // Files written here, in the test's working folder.
    const std::string dir = "markup-folder";
    ASSERT_TRUE(write_file(dir + "-probe", "x")) << "working folder not writable";
#ifdef _WIN32
    _wmkdir(L"markup-folder");
#else
    std::system("mkdir -p markup-folder");
#endif
    ASSERT_TRUE(write_file(dir + "/exact.xml", padded(CXmlDocument::kMaxFileSize)));
    ASSERT_TRUE(write_file(dir + "/over.xml", padded(CXmlDocument::kMaxFileSize + 1)));
    ASSERT_TRUE(write_file(dir + "/empty.xml", ""));
    ASSERT_TRUE(write_file(dir + "/broken.xml", "<Window><A></B></Window>"));
    CResourceSource::set_resource_path(widen(dir).c_str());
    EXPECT_EQ(str(CResourceSource::resource_path()), L"markup-folder\\");

    struct Row
    {
        const wchar_t* name;
        const wchar_t* error;   // null: loads
    } const rows[] = {
        {L"exact.xml", nullptr},
        {L"over.xml", L"File too large"},
        {L"empty.xml", L"File is empty"},
        {L"missing.xml", L"Error opening file"},
        {L"broken.xml", L"Unmatched closing tag"},
        {L"", L"Error opening file"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        CXmlDocument doc;
        EXPECT_EQ(doc.load_from_file(row.name), row.error == nullptr);
        EXPECT_EQ(str(doc.error_message()), row.error ? row.error : L"");
        EXPECT_EQ(doc.root().is_valid(), row.error == nullptr);
    }
}

TEST_F(XmlLoadFile, FolderModeReadsSubfoldersWrittenWithBackslashes)
{
    std::string skins = fixture("skins");
    CResourceSource::set_resource_path(widen(skins).c_str());
    CXmlDocument doc;
    ASSERT_TRUE(doc.load_from_file(L"VXMainFrame.xml")) << str(doc.error_message()).size();
    EXPECT_EQ(str(doc.root().name()), L"Window");
    // The parent folder, then back into "skins" through a backslash.
    CResourceSource::set_resource_path(widen(fixture("")).c_str());
    ASSERT_TRUE(doc.load_from_file(L"skins\\VXMsgBox.xml"));
    wchar_t size[32];
    EXPECT_TRUE(doc.root().attribute_value(L"size", size, 32));
    EXPECT_EQ(str(size), L"360,200");
}

TEST_F(XmlLoadFile, ArchiveModeMessages)
{
    std::vector<unsigned char> zip = read_file(fixture("skins.zip"));
    ASSERT_FALSE(zip.empty());
    CResourceSource::set_resource_zip(zip.data(), static_cast<uint32_t>(zip.size()), nullptr);
    ASSERT_NE(CResourceSource::resource_zip_handle(), nullptr);
    EXPECT_EQ(str(CResourceSource::resource_zip()), L"membuffer");
    EXPECT_TRUE(CResourceSource::is_cached_resource_zip());

    struct Row
    {
        const wchar_t* name;
        const wchar_t* error;
    } const rows[] = {
        {L"Skin/VXMainFrame.xml", nullptr},
        {L"Skin\\VXMainFrame.xml", nullptr},
        {L"SKIN\\vxmainframe.XML", nullptr},
        {L"skin\\exact.xml", nullptr},
        {L"Skin\\over.xml", L"File too large"},
        {L"Skin\\empty.xml", L"File is empty"},
        {L"Skin\\missing.xml", L"Could not find ziped file"},
        {L"VXMainFrame.xml", L"Could not find ziped file"},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        CXmlDocument doc;
        EXPECT_EQ(doc.load_from_file(row.name), row.error == nullptr);
        EXPECT_EQ(str(doc.error_message()), row.error ? row.error : L"");
    }
    // The archive stays open between loads, and a second archive does not replace the first.
    std::vector<unsigned char> other(64, 0);
    CResourceSource::set_resource_zip(other.data(), static_cast<uint32_t>(other.size()), nullptr);
    CXmlDocument doc;
    EXPECT_TRUE(doc.load_from_file(L"Skin\\VXMsgBox.xml"));
}

TEST_F(XmlLoadFile, ArchiveThatDoesNotOpenOrEntryThatDoesNotInflate)
{
    std::vector<unsigned char> garbage(200, 0x5A);
    CResourceSource::set_resource_zip(garbage.data(), static_cast<uint32_t>(garbage.size()), L"");
    EXPECT_EQ(CResourceSource::resource_zip_handle(), nullptr);
    CXmlDocument doc;
    EXPECT_FALSE(doc.load_from_file(L"Skin\\VXMainFrame.xml"));
    EXPECT_EQ(str(doc.error_message()), L"Error opening zip file");
    CResourceSource::clear_resource_zip();

    // The same archive with the compressed bytes of its first entry overwritten.
    std::vector<unsigned char> zip = read_file(fixture("skins.zip"));
    ASSERT_GT(zip.size(), 200u);
    ASSERT_EQ(zip[0], 0x50);
    const size_t data = 30 + (zip[26] | (zip[27] << 8)) + (zip[28] | (zip[29] << 8));
    std::memset(&zip[data + 10], 0xFF, 40);
    CResourceSource::set_resource_zip(zip.data(), static_cast<uint32_t>(zip.size()), nullptr);
    ASSERT_NE(CResourceSource::resource_zip_handle(), nullptr);
    EXPECT_FALSE(doc.load_from_file(L"Skin\\VXMainFrame.xml"));
    EXPECT_EQ(str(doc.error_message()), L"Could not unzip file");
    EXPECT_TRUE(doc.load_from_file(L"Skin\\VXMsgBox.xml"));   // the others still load
}
