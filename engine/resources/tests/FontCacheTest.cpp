// The font cache under Wine: real font handles read back with GetObjectW, the default font,
// lookups, rebuilding on DPI, default colours and fonts imported from files.
#include "resources/WindowResourceCache.h"

#include "resources/ResourceSource.h"

#include "ResourceTestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Lomar;
using restest::fixture;
using restest::wfixture;

namespace {

LOGFONTW logfont_of(HFONT font)
{
    LOGFONTW lf = {};
    EXPECT_EQ(GetObjectW(font, sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    return lf;
}

LOGFONTW stock()
{
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    return lf;
}

// The face GDI actually selects for a requested face name. Each call asks for another height:
// GDI may keep the realisation of an identical request from before a font was added.
std::wstring selected_face(const wchar_t* face)
{
    static int height = 11;
    LOGFONTW lf = stock();
    lf.lfHeight = -(height++);
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectW(&lf);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t name[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, name);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return name;
}

class FontCache : public testing::Test
{
protected:
    void TearDown() override
    {
        CWindowResourceCache().remove_all_fonts(true);
        CResourceSource::clear_resource_zip();
        CResourceSource::set_resource_path(L"");
    }
};

} // namespace

TEST_F(FontCache, DefaultFontComesFromTheStockGuiFont)
{
    CWindowResourceCache cache;
    const LOGFONTW s = stock();
    FontRecord* def = cache.default_font_info();
    ASSERT_NE(def, nullptr);
    ASSERT_NE(def->font, nullptr);
    EXPECT_EQ(std::wstring(def->face_name), s.lfFaceName);
    EXPECT_EQ(def->size, -s.lfHeight);
    EXPECT_EQ(def->bold, s.lfWeight >= 700);
    LOGFONTW lf = logfont_of(def->font);
    EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(cache.get_font(-1), def->font);
    EXPECT_EQ(cache.get_font(7), def->font);   // no font 7 anywhere
    EXPECT_EQ(cache.get_font_info(7), def);
}

TEST_F(FontCache, AddFontBuildsTheLogfontFromTheStockFont)
{
    CWindowResourceCache cache;
    struct Row
    {
        int id;
        const wchar_t* face;
        int size;
        bool bold, underline, italic;
        const wchar_t* stored_face;
    } const rows[] = {
        {0, L"Arial", 12, false, false, false, L"Arial"},
        {1, L"\u5fae\u8f6f\u96c5\u9ed1", 14, true, false, false, L"\u5fae\u8f6f\u96c5\u9ed1"},
        {2, L"Liberation Sans", 20, false, true, true, L"Liberation Sans"},
        {3, L"A face name of exactly forty characters", 9, false, false, false,
         L"A face name of exactly forty ch"},   // cut to 31
        {4, L"", 16, false, false, false, nullptr},   // empty: the stock face stays
    };
    const LOGFONTW s = stock();
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.id);
        HFONT font = cache.add_font(row.id, row.face, row.size, row.bold, row.underline, row.italic, false);
        ASSERT_NE(font, nullptr);
        LOGFONTW lf = logfont_of(font);
        std::wstring face = row.stored_face ? row.stored_face : s.lfFaceName;
        EXPECT_EQ(std::wstring(lf.lfFaceName), face);
        EXPECT_EQ(lf.lfHeight, -row.size);
        EXPECT_EQ(lf.lfWeight, row.bold ? 700 : s.lfWeight);
        EXPECT_EQ(lf.lfUnderline != 0, row.underline);
        EXPECT_EQ(lf.lfItalic != 0, row.italic);
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET);
        EXPECT_EQ(cache.get_font(row.id), font);
        FontRecord* record = cache.get_font_info(row.id);
        EXPECT_EQ(std::wstring(record->face_name), face);
        EXPECT_EQ(record->size, row.size);
        EXPECT_EQ(cache.get_font_info(font), record);
        EXPECT_EQ(cache.find_font(face.c_str(), row.size, row.bold, row.underline, row.italic), font);
        EXPECT_EQ(cache.find_font(face.c_str(), row.size + 1, row.bold, row.underline, row.italic), nullptr);
    }
    EXPECT_EQ(cache.find_font(L"arial", 12, false, false, false), nullptr);   // faces compare exactly

    // The same id again replaces the font and deletes the old handle.
    HFONT old = cache.get_font(1);
    HFONT replaced = cache.add_font(1, L"Arial", 30, false, false, false, false);
    ASSERT_NE(replaced, nullptr);
    EXPECT_EQ(GetObjectType(old), 0u);
    EXPECT_EQ(cache.get_font(1), replaced);
    EXPECT_EQ(cache.get_font_info(reinterpret_cast<HFONT>(0x1234)), cache.default_font_info());
}

TEST_F(FontCache, MetricsAreMeasuredWithThePaintDc)
{
    CWindowResourceCache cache;
    cache.add_font(5, L"Arial", 24, false, false, false, false);
    EXPECT_EQ(cache.get_font_info(5)->metrics.tmHeight, 0);   // no device context yet
    HDC dc = CreateCompatibleDC(nullptr);
    cache.set_paint_dc(dc);
    EXPECT_GE(cache.get_font_info(5)->metrics.tmHeight, 20);
    EXPECT_GT(cache.default_font_info()->metrics.tmHeight, 0);
    cache.set_paint_dc(nullptr);
    DeleteDC(dc);
}

TEST_F(FontCache, WindowAndSharedTablesAndDefaults)
{
    CWindowResourceCache one, two;
    HFONT shared = one.add_font(3, L"Arial", 11, false, false, false, true);
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(two.get_font(3), shared);
    EXPECT_EQ(two.find_font(L"Arial", 11, false, false, false), shared);
    HFONT own = two.add_font(3, L"Arial", 13, false, false, false, false);
    EXPECT_EQ(two.get_font(3), own);      // the window's table first
    EXPECT_EQ(one.get_font(3), shared);

    // A window default font replaces the process default for that window only.
    FontRecord* process_default = one.default_font_info();
    ASSERT_TRUE(two.set_default_font(L"Arial", 18, true, false, false, false));
    EXPECT_EQ(std::wstring(two.default_font_info()->face_name), L"Arial");
    EXPECT_EQ(logfont_of(two.get_font(-1)).lfHeight, -18);
    EXPECT_EQ(logfont_of(two.get_font(-1)).lfWeight, 700);
    EXPECT_EQ(one.default_font_info(), process_default);
}

TEST_F(FontCache, RebuildOnDpiRecreatesEveryFont)
{
    CWindowResourceCache cache;
    HFONT bold = cache.add_font(1, L"Arial", 14, true, false, true, false);
    HFONT shared = cache.add_font(2, L"Arial", 10, false, true, false, true);
    ASSERT_NE(bold, nullptr);
    ASSERT_NE(shared, nullptr);
    cache.set_dpi_scale(150);
    cache.rebuild_for_dpi();
    HFONT rebuilt = cache.get_font(1);
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_NE(rebuilt, bold);
    EXPECT_EQ(GetObjectType(bold), 0u);
    LOGFONTW lf = logfont_of(rebuilt);
    EXPECT_EQ(lf.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_EQ(lf.lfHeight, -21);           // 14 at 150 %
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1);
    EXPECT_EQ(cache.get_font_info(1)->size, 14);   // the record keeps the size as written
    LOGFONTW shared_lf = logfont_of(cache.get_font(2));
    EXPECT_EQ(shared_lf.lfHeight, -15);
    EXPECT_EQ(shared_lf.lfUnderline, 1);
    EXPECT_EQ(logfont_of(cache.default_font_info()->font).lfQuality, CLEARTYPE_QUALITY);
    cache.set_dpi_scale(100);
    cache.rebuild_for_dpi();
    EXPECT_EQ(logfont_of(cache.get_font(1)).lfHeight, -14);
}

TEST_F(FontCache, DefaultColours)
{
    CWindowResourceCache one;
    EXPECT_EQ(one.default_disabled_color(), 0xFFA7A6AAu);
    EXPECT_EQ(one.default_font_color(), 0xFF000000u);
    EXPECT_EQ(one.default_link_font_color(), 0xFF0000FFu);
    EXPECT_EQ(one.default_link_hover_font_color(), 0xFFD3215Fu);
    EXPECT_EQ(one.default_selected_bk_color(), 0xFFBAE4FFu);

    one.set_default_font_color(0xFF111111, false);   // window scope: nothing else changes
    EXPECT_EQ(one.default_font_color(), 0xFF111111u);
    EXPECT_EQ(CWindowResourceCache().default_font_color(), 0xFF000000u);

    CWindowResourceCache two;
    two.set_default_link_font_color(0xFF222222, true);   // shared: the window follows
    EXPECT_EQ(two.default_link_font_color(), 0xFF222222u);
    EXPECT_EQ(CWindowResourceCache().default_link_font_color(), 0xFF222222u);
    one.set_default_font_color(0xFF333333, true);        // the window had its own value: kept
    EXPECT_EQ(one.default_font_color(), 0xFF111111u);
    EXPECT_EQ(CWindowResourceCache().default_font_color(), 0xFF333333u);
    two.set_default_font_color(0xFF000000, true);
    two.set_default_link_font_color(0xFF0000FF, true);
}

TEST_F(FontCache, ImportedFontFilesAreUsableUntilTheWindowGoes)
{
    const wchar_t* face = L"Vxskintest Sans";
    ASSERT_NE(selected_face(face), face) << "the test font must not be installed";
    {
        CResourceSource::set_resource_path(wfixture("").c_str());
        CWindowResourceCache cache;
        EXPECT_FALSE(cache.import_font_file(L"fonts\\missing.ttf"));
        ASSERT_TRUE(cache.import_font_file(L"fonts\\VxSkinTest.ttf"));
        EXPECT_EQ(cache.imported_font_count(), 1);
        EXPECT_EQ(selected_face(face), face);
        HFONT font = cache.add_font(9, face, 16, false, false, false, false);
        ASSERT_NE(font, nullptr);

        // The same file out of the skin archive.
        std::vector<unsigned char> zip = restest::read_file(fixture("skin.zip"));
        CResourceSource::set_resource_zip(zip.data(), static_cast<uint32_t>(zip.size()), nullptr);
        ASSERT_TRUE(cache.import_font_file(L"FONTS\\vxskintest.ttf"));
        EXPECT_EQ(cache.imported_font_count(), 2);
        cache.remove_all_fonts(false);
    }
    // The cache hands its handles to RemoveFontMemResourceEx when it goes; Wine 8 keeps memory
    // fonts until the process ends (its removal is a stub), so there is nothing to observe here.
}
