// The resource catalog: ids to image and skin-file paths from "res.xml", texts by id.
#include "resources/ResourceCatalog.h"

#include "resources/ResourceSource.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Lomar;
using restest::fixture;
using restest::wfixture;

namespace {

std::wstring str(const wchar_t* s) { return s ? std::wstring(s) : std::wstring(L"(null)"); }

} // namespace

TEST(ResourceCatalog, ImageAndXmlElementsAtAnyDepth)
{
    CResourceCatalog catalog;
    ASSERT_TRUE(catalog.load(L"<Res>"
                             L"<Image id=\"a\" path=\"first.png\"/>"
                             L"<Image id=\"a\" path=\"second.png\"/>"
                             L"<Group><Group><Image id=\"deep\" path=\"d\\deep.png\"/></Group></Group>"
                             L"<Xml id=\"dlg\" path=\"dialogs\\dlg.xml\"/>"
                             L"<IMAGE ID=\"upper\" PATH=\"u1.png\" path=\"u2.png\"/>"
                             L"<Image id=\"nopath\"/>"
                             L"<Image path=\"noid.png\"/>"
                             L"<Other id=\"o\" path=\"o.png\"/>"
                             L"<Image/>"
                             L"</Res>"));
    struct Row
    {
        const wchar_t* id;
        const wchar_t* image;
        const wchar_t* xml;
    } const rows[] = {
        {L"a", L"first.png", nullptr},   // a second element does not replace the first
        {L"deep", L"d\\deep.png", nullptr},
        {L"dlg", nullptr, L"dialogs\\dlg.xml"},
        {L"upper", L"u2.png", nullptr},  // the last "path" of an element wins
        {L"nopath", nullptr, nullptr},
        {L"o", nullptr, nullptr},
        {L"A", nullptr, nullptr},        // ids are case-sensitive
        {nullptr, nullptr, nullptr},
    };
    for (const Row& row : rows)
    {
        EXPECT_EQ(str(catalog.image_path(row.id)), str(row.image)) << str(row.id).size();
        EXPECT_EQ(str(catalog.xml_path(row.id)), str(row.xml));
    }
}

TEST(ResourceCatalog, LoadsFromTheFolderAndTheArchive)
{
    CResourceSource::clear_resource_zip();
    CResourceSource::set_resource_path(wfixture("skin").c_str());
    CResourceCatalog catalog;
    ASSERT_TRUE(catalog.load(L"res.xml"));
    EXPECT_EQ(str(catalog.image_path(L"logo")), L"img\\good-alpha.png");
    EXPECT_EQ(str(catalog.image_path(L"deep")), L"deep.png");

    std::vector<unsigned char> zip = restest::read_file(fixture("skin.zip"));
    CResourceSource::set_resource_zip(zip.data(), static_cast<uint32_t>(zip.size()), nullptr);
    ASSERT_TRUE(catalog.load(L"RES.XML"));
    EXPECT_EQ(str(catalog.xml_path(L"main")), L"Main.xml");
    EXPECT_EQ(str(catalog.image_path(L"logo")), L"img\\good-alpha.png");   // tables only grow

    // Failures leave the tables as they were.
    EXPECT_FALSE(catalog.load(L"missing.xml"));
    EXPECT_FALSE(catalog.load(L"<Res><Image id=\"x\" path=\"y\"></Res>"));
    EXPECT_FALSE(catalog.load(nullptr));
    EXPECT_EQ(catalog.image_path(L"x"), nullptr);
    EXPECT_EQ(str(catalog.xml_path(L"main")), L"Main.xml");
    CResourceSource::clear_resource_zip();
    CResourceSource::set_resource_path(L"");
}

TEST(ResourceCatalog, TextsPassUnknownIdsThroughAndCacheQueries)
{
    struct Query : IQueryControlText
    {
        int calls = 0;
        const wchar_t* query(const wchar_t* id, int type) override
        {
            ++calls;
            EXPECT_EQ(type, 3);
            return std::wstring(id) == L"known" ? L"\u5b89\u88c5" : nullptr;
        }
    } query;
    CResourceCatalog catalog;
    EXPECT_EQ(std::wstring(catalog.text(nullptr)), L"");
    EXPECT_EQ(std::wstring(catalog.text(L"plain id")), L"plain id");
    catalog.set_text_query(&query);
    EXPECT_EQ(std::wstring(catalog.text(L"known", 3)), L"\u5b89\u88c5");
    EXPECT_EQ(std::wstring(catalog.text(L"known", 3)), L"\u5b89\u88c5");
    EXPECT_EQ(query.calls, 1);   // the answer was kept
    EXPECT_EQ(std::wstring(catalog.text(L"other", 3)), L"other");
    EXPECT_EQ(query.calls, 2);
    EXPECT_EQ(&CResourceCatalog::instance(), &CResourceCatalog::instance());
}
