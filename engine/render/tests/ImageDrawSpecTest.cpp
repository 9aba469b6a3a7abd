// Image string grammar, the per-window cache and the placement of sized images.
#include <gtest/gtest.h>

#include "render/DrawSpecTable.h"
#include "render/ImageDrawSpec.h"
#include "render/SkinRenderer.h"

using namespace Lomar;

namespace {

ImageDrawSpec parse(const wchar_t* draw, const wchar_t* modify = nullptr)
{
    ImageDrawSpec s;
    s.parse(draw, modify);
    return s;
}

} // namespace

TEST(ImageString, NameComesFromTheWholeTextOrFromFileAndRes)
{
    struct Row
    {
        const wchar_t* text;
        const wchar_t* name;
    } rows[] = {
        {L"Install_and_uninstall\\btn_install.png", L"Install_and_uninstall\\btn_install.png"},
        {L"file='Install_and_uninstall\\btn_install.png'", L"Install_and_uninstall\\btn_install.png"},
        {L"res='113' restype='PNG'", L"113"},
        {L"FILE='a.png'", L"FILE='a.png'"},          // keys are case-sensitive
        {L"file='' corner='1,1,1,1'", L"file='' corner='1,1,1,1'"},   // empty value skipped
        {L"  file = 'b.png'", L"b.png"},             // blanks around = and before the quote
    };
    for (const Row& r : rows) EXPECT_STREQ(parse(r.text).image_name.data(), r.name) << r.text;
}

TEST(ImageString, ReadsEveryKey)
{
    ImageDrawSpec s = parse(L"file='a.png' restype='PNG' dest='1,2,3,4' source='5,6,7,8' corner='9,10,11,12' "
                            L"mask='#FFFF00FF' fade='128' hole='TRUE' xtiled='true' ytiled='True' hsl='true' "
                            L"size='10,20' align='right bottom' padding='1,2,3,4'");
    EXPECT_STREQ(s.resource_type.data(), L"PNG");
    EXPECT_EQ(s.dest, CUIRect(1, 2, 3, 4));
    EXPECT_EQ(s.source, CUIRect(5, 6, 7, 8));
    EXPECT_EQ(s.corner, CUIRect(9, 10, 11, 12));
    EXPECT_EQ(s.mask, 0xFFFF00FFu);
    EXPECT_EQ(s.fade, 128);
    EXPECT_TRUE(s.hole);
    EXPECT_TRUE(s.x_tiled);
    EXPECT_TRUE(s.y_tiled);
    EXPECT_TRUE(s.hsl);
    EXPECT_EQ(s.size, CUISize(10, 20));
    EXPECT_STREQ(s.align.data(), L"right bottom");
    EXPECT_EQ(s.padding, CUIRect(1, 2, 3, 4));
}

TEST(ImageString, DefaultsAndEdgeValues)
{
    ImageDrawSpec d = parse(L"a.png");
    EXPECT_EQ(d.fade, 255);
    EXPECT_FALSE(d.hole);
    EXPECT_EQ(d.source, CUIRect());
    EXPECT_EQ(parse(L"fade='256'").fade, 0);         // kept in 8 bits
    EXPECT_EQ(parse(L"mask='FF00FF00'").mask, 0xFF00FF00u);
    EXPECT_FALSE(parse(L"hole='yes'").hole);
    EXPECT_EQ(parse(L"corner='1,2'").corner, CUIRect(1, 2, 0, 0));   // a short list leaves zeros
}

TEST(ImageString, ParsingStopsAtTheFirstDeviationKeepingWhatWasRead)
{
    struct Row
    {
        const wchar_t* text;
        CUIRect corner;
        CUIRect dest;
    } rows[] = {
        {L"corner='1,2,3,4' dest='5,5,6,6'", {1, 2, 3, 4}, {5, 5, 6, 6}},
        {L"corner='1,2,3,4'x dest='5,5,6,6'", {1, 2, 3, 4}, {}},      // no space after the value
        {L"corner='1,2,3,4' dest=\"5,5,6,6\"", {1, 2, 3, 4}, {}},     // not a single quote
        {L"corner='1,2,3,4' dest='5,5,6,6", {1, 2, 3, 4}, {}},        // unterminated value
        {L"corner '1,2,3,4'", {}, {}},                                 // no '='
    };
    for (const Row& r : rows)
    {
        ImageDrawSpec s = parse(r.text);
        EXPECT_EQ(s.corner, r.corner) << r.text;
        EXPECT_EQ(s.dest, r.dest) << r.text;
    }
}

TEST(ImageString, ModifyStringOverridesTheDrawString)
{
    ImageDrawSpec s = parse(L"file='bar.png' dest='0,0,10,10' corner='2,2,2,2'", L"dest='0,0,297,24'");
    EXPECT_STREQ(s.image_name.data(), L"bar.png");
    EXPECT_EQ(s.dest, CUIRect(0, 0, 297, 24));
    EXPECT_EQ(s.corner, CUIRect(2, 2, 2, 2));
}

TEST(DrawSpecTable, ParsesOncePerDrawAndModifyPair)
{
    CDrawSpecTable table;
    const ImageDrawSpec* a = table.get(L"a.png", nullptr);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(table.get(L"a.png", nullptr), a);
    EXPECT_EQ(table.get(L"a.png", L""), a);
    const ImageDrawSpec* b = table.get(L"a.png", L"dest='0,0,1,1'");
    EXPECT_NE(b, a);
    EXPECT_EQ(b->dest, CUIRect(0, 0, 1, 1));
    EXPECT_EQ(table.get(L"", nullptr), nullptr);
    EXPECT_EQ(table.get(nullptr, nullptr), nullptr);
    EXPECT_EQ(table.size(), 2);
    table.remove_all();
    EXPECT_EQ(table.size(), 0);
}

TEST(ImagePlacement, DestSizeAlignAndPadding)
{
    struct Row
    {
        const wchar_t* spec;
        CUIRect item;
        CUIRect expected;
    } rows[] = {
        {L"a.png", {100, 50, 200, 80}, {100, 50, 200, 80}},
        {L"dest='10,10,20,20'", {100, 50, 200, 80}, {110, 60, 120, 70}},
        {L"size='10,10' align='right bottom'", {0, 0, 100, 30}, {90, 20, 100, 30}},
        {L"size='10,10' align='vcenter'", {0, 0, 100, 30}, {45, 10, 55, 20}},   // also centres horizontally
        {L"size='10,10' align='left top'", {5, 5, 100, 30}, {5, 5, 15, 15}},
        {L"size='10,10' align='center'", {0, 0, 15, 30}, {2, 0, 12, 30}},        // only x changes
        {L"size='10,10' align='left top' padding='3,4,0,0'", {0, 0, 100, 30}, {3, 4, 13, 14}},
        {L"size='10,10' align='right top' padding='5,0,0,0'", {0, 0, 100, 30}, {95, 0, 100, 10}},   // cut at the right
        {L"size='10,0' align='right'", {0, 0, 100, 30}, {0, 0, 100, 30}},        // both sizes needed
    };
    for (const Row& r : rows)
    {
        ImageDrawSpec s;
        s.parse(r.spec, nullptr);
        EXPECT_EQ(CSkinRenderer::place_image(r.item, s), r.expected) << r.spec;
    }
}

TEST(GlyphEntity, ReadsTheCodeUnitAfterTheMarker)
{
    struct Row
    {
        const wchar_t* text;
        wchar_t glyph;
    } rows[] = {
        {L"&#xe601;", 0xE601}, {L"ab&#xE601;cd", 0xE601}, {L"&#x41", 0x41},
        {L"&#x4a ;", 0x4A},    {L"plain", 0},              {L"&#x;", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(CSkinRenderer::glyph_from_entity(r.text), r.glyph) << r.text;
}
