// Drawing operations checked on real 32-bit DIB sections.
#include <gtest/gtest.h>

#include <cwchar>

#include "DibCanvas.h"
#include "render/SkinRenderer.h"
#include "render/SystemImaging.h"
#include "window/PaintManagerUI.h"

using namespace Lomar;
using Lomar::test::DibCanvas;

namespace {

const uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF,
               kBlack = 0xFF000000;

int channel(uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

class RendererTest : public ::testing::Test
{
protected:
    CPaintManagerUI manager;   // starts GDI+ and answers the renderer's font and mode questions
};

// A source image whose column x has blue channel x (opaque), handy for checking copies.
HBITMAP column_coded_image(DibCanvas& img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.set(x, y, 0xFF000000u | static_cast<uint32_t>(x + 1));
    return img.detach_for_source();
}

} // namespace

TEST_F(RendererTest, ImagingEntryPointsComeFromTheSystemFolder)
{
    const SystemImaging& s = system_imaging();
    ASSERT_NE(s.alpha_blend, nullptr);
    ASSERT_NE(s.gradient_fill, nullptr);
    HMODULE m = GetModuleHandleW(L"msimg32.dll");
    ASSERT_NE(m, nullptr);
    wchar_t path[MAX_PATH], sys[MAX_PATH];
    GetModuleFileNameW(m, path, MAX_PATH);
    GetSystemDirectoryW(sys, MAX_PATH);
    EXPECT_EQ(_wcsnicmp(path, sys, std::wcslen(sys)), 0) << "loaded from elsewhere";
}

TEST_F(RendererTest, NineGridKeepsCornerColumnsAtTheirWidths)
{
    // 30 x 24 image: columns 0-19 left border, 20-28 centre, 29 right border.
    DibCanvas img(30, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 30; ++x) img.set(x, y, x < 20 ? 0xFF000000u | (x + 1) : x < 29 ? kGreen : kRed);
    HBITMAP src = img.detach_for_source();
    DibCanvas out(120, 24, kWhite);
    CUIRect dest(0, 0, 100, 24);
    CSkinRenderer::draw_bitmap(out.dc(), src, dest, dest, CUIRect(0, 0, 30, 24), CUIRect(20, 0, 1, 0), false);
    for (int x = 0; x < 20; ++x) EXPECT_EQ(out.at(x, 12), 0xFF000000u | (x + 1)) << "column " << x;
    for (int x = 20; x < 99; ++x) EXPECT_EQ(out.at(x, 12) & 0xFFFFFF, kGreen & 0xFFFFFF) << "column " << x;
    EXPECT_EQ(out.at(99, 12) & 0xFFFFFF, kRed & 0xFFFFFF);
    EXPECT_EQ(out.at(100, 12), kWhite);   // nothing beyond dest
}

TEST_F(RendererTest, OpaqueUnscaledImageCopiesOnlyTheDirtyPart)
{
    DibCanvas img(40, 10);
    HBITMAP src = column_coded_image(img);
    DibCanvas out(60, 20, kWhite);
    CUIRect dest(10, 5, 50, 15);
    CSkinRenderer::draw_bitmap(out.dc(), src, dest, CUIRect(20, 0, 30, 20), CUIRect(0, 0, 40, 10), CUIRect(), false);
    EXPECT_EQ(out.at(19, 8), kWhite);
    EXPECT_EQ(out.at(20, 8), 0xFF000000u | 11);   // source column 10
    EXPECT_EQ(out.at(29, 8), 0xFF000000u | 20);
    EXPECT_EQ(out.at(30, 8), kWhite);
}

TEST_F(RendererTest, TilingLaysCopiesAndCutsTheLast)
{
    struct Row
    {
        bool x_tiled, y_tiled;
        CUIRect dest;
    } rows[] = {
        {true, false, {0, 0, 25, 10}},
        {false, true, {0, 0, 10, 25}},
        {true, true, {0, 0, 25, 25}},
    };
    for (const Row& r : rows)
    {
        DibCanvas img(10, 10);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x) img.set(x, y, 0xFF000000u | static_cast<uint32_t>((y << 8) | x));
        HBITMAP src = img.detach_for_source();
        DibCanvas out(30, 30, kWhite);
        CSkinRenderer::draw_bitmap(out.dc(), src, r.dest, CUIRect(0, 0, 30, 30), CUIRect(0, 0, 10, 10), CUIRect(),
                                   false, 255, false, r.x_tiled, r.y_tiled);
        for (int y = 0; y < r.dest.bottom; ++y)
            for (int x = 0; x < r.dest.right; ++x)
            {
                const uint32_t want = 0xFF000000u | static_cast<uint32_t>(((r.y_tiled ? y % 10 : y) << 8) |
                                                                           (r.x_tiled ? x % 10 : x));
                ASSERT_EQ(out.at(x, y), want) << x << "," << y;
            }
        EXPECT_EQ(out.at(r.dest.right, 0), kWhite);   // the cut copy stops at the edge
        EXPECT_EQ(out.at(0, r.dest.bottom), kWhite);
    }
}

TEST_F(RendererTest, FadeSwitchesToBlendingAtThatStrength)
{
    DibCanvas img(4, 4, kWhite);
    HBITMAP src = img.detach_for_source();
    DibCanvas out(4, 4, kBlack);
    CUIRect r(0, 0, 4, 4);
    CSkinRenderer::draw_bitmap(out.dc(), src, r, r, r, CUIRect(), false, 128);
    const uint32_t px = out.at(1, 1);
    EXPECT_NEAR(channel(px, 16), 128, 1);
    EXPECT_NEAR(channel(px, 8), 128, 1);
    EXPECT_NEAR(channel(px, 0), 128, 1);
}

TEST_F(RendererTest, PerPixelAlphaBlendsPremultipliedSources)
{
    DibCanvas img(2, 1);
    img.set(0, 0, 0x00000000);     // transparent
    img.set(1, 0, 0x80800000);     // half-opaque red, premultiplied
    HBITMAP src = img.detach_for_source();
    DibCanvas out(2, 1, kWhite);
    CUIRect r(0, 0, 2, 1);
    CSkinRenderer::draw_bitmap(out.dc(), src, r, r, r, CUIRect(), true);
    EXPECT_EQ(out.at(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_NEAR(channel(out.at(1, 0), 16), 255, 1);
    EXPECT_NEAR(channel(out.at(1, 0), 8), 127, 1);
}

TEST_F(RendererTest, HoleLeavesTheCentreUndrawn)
{
    DibCanvas img(9, 9, kRed);
    HBITMAP src = img.detach_for_source();
    DibCanvas out(30, 30, kWhite);
    CUIRect dest(0, 0, 30, 30);
    CSkinRenderer::draw_bitmap(out.dc(), src, dest, dest, CUIRect(0, 0, 9, 9), CUIRect(3, 3, 3, 3), false, 255, true);
    EXPECT_EQ(out.at(15, 15), kWhite);
    EXPECT_EQ(out.at(1, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(15, 28) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(RendererTest, CornersWiderThanTheSourceLeaveTheCentreAlone)
{
    DibCanvas img(10, 10);
    HBITMAP src = column_coded_image(img);
    DibCanvas out(30, 8, kWhite);
    CUIRect dest(0, 0, 30, 8);
    // The source centre has negative width; StretchBlt would mirror the image into the centre.
    CSkinRenderer::draw_bitmap(out.dc(), src, dest, dest, CUIRect(0, 0, 10, 10), CUIRect(6, 0, 6, 0), false);
    EXPECT_EQ(out.at(15, 4), kWhite);
    EXPECT_EQ(out.at(0, 4) & 0xFFFFFF, 1u);    // left border: source column 0 (stretched copies lose alpha)
    EXPECT_EQ(out.at(29, 4) & 0xFFFFFF, 10u);  // right border ends with source column 9
}

TEST_F(RendererTest, ColourFillsHonourAlpha)
{
    DibCanvas out(10, 10, kWhite);
    CSkinRenderer::draw_color(out.dc(), CUIRect(0, 0, 10, 10), 0x00FF0000);
    EXPECT_EQ(out.at(5, 5), kWhite);
    CSkinRenderer::draw_color(out.dc(), CUIRect(0, 0, 5, 10), 0x8F000000);
    EXPECT_NEAR(channel(out.at(2, 5), 16), 255 - 0x8F, 2);
    EXPECT_EQ(out.at(7, 5), kWhite);
    CSkinRenderer::draw_color(out.dc(), CUIRect(5, 0, 10, 10), kBlue);
    EXPECT_EQ(out.at(7, 5) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(out.at(4, 5) & 0xFFFFFF, out.at(2, 5) & 0xFFFFFF);
}

TEST_F(RendererTest, GradientsRunAcrossTheirAxis)
{
    DibCanvas out(100, 100, kWhite);
    CSkinRenderer::draw_gradient(out.dc(), CUIRect(0, 0, 100, 50), kRed, kBlue, false, 16);
    EXPECT_GT(channel(out.at(1, 10), 16), 240);
    EXPECT_GT(channel(out.at(98, 10), 0), 240);
    EXPECT_NEAR(channel(out.at(50, 10), 16), 127, 8);
    EXPECT_EQ(out.at(1, 10), out.at(1, 40));      // horizontal: rows alike
    CSkinRenderer::draw_gradient(out.dc(), CUIRect(0, 50, 100, 100), kRed, kBlue, true, 16);
    EXPECT_GT(channel(out.at(10, 51), 16), 240);
    EXPECT_GT(channel(out.at(10, 98), 0), 240);
    EXPECT_EQ(out.at(10, 60), out.at(90, 60));    // vertical: columns alike
    // Half-transparent ends blend over what is there.
    DibCanvas faint(20, 4, kWhite);
    CSkinRenderer::draw_gradient(faint.dc(), CUIRect(0, 0, 20, 4), 0x80000000, 0x80000000, false, 16);
    EXPECT_NEAR(channel(faint.at(10, 2), 16), 127, 2);
    DibCanvas none(20, 4, kWhite);
    CSkinRenderer::draw_gradient(none.dc(), CUIRect(0, 0, 20, 4), 0x00000000, 0x00FF0000, false, 16);
    EXPECT_EQ(none.at(10, 2), kWhite);
}

TEST_F(RendererTest, LinesAndRectangleOutlines)
{
    DibCanvas out(20, 20, kWhite);
    CSkinRenderer::draw_line(out.dc(), CUIRect(2, 5, 15, 5), 1, 0x00FF0000);   // alpha ignored
    EXPECT_EQ(out.at(2, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(14, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(2, 6), kWhite);
    DibCanvas box(20, 20, kWhite);
    CSkinRenderer::draw_rect(box.dc(), CUIRect(2, 2, 12, 12), 1, kBlack);
    EXPECT_EQ(box.at(2, 2) & 0xFFFFFF, 0u);
    EXPECT_EQ(box.at(11, 11) & 0xFFFFFF, 0u);
    EXPECT_EQ(box.at(12, 12), kWhite);
    EXPECT_EQ(box.at(6, 6), kWhite);
    DibCanvas round(40, 40, kWhite);
    CSkinRenderer::draw_round_rect(round.dc(), CUIRect(0, 0, 40, 40), 1, 16, 16, kBlack);
    EXPECT_LT(channel(round.at(20, 0), 16), 128);     // edge drawn
    EXPECT_EQ(round.at(0, 0), kWhite);                 // corner rounded away
    EXPECT_EQ(round.at(20, 20), kWhite);               // not filled
}

TEST_F(RendererTest, ClipLimitsDrawingUntilRestored)
{
    DibCanvas out(20, 20, kWhite);
    RenderClip saved;
    CSkinRenderer::clip(out.dc(), CUIRect(5, 5, 10, 10), saved);
    CSkinRenderer::draw_color(out.dc(), CUIRect(0, 0, 20, 20), kRed);
    EXPECT_EQ(out.at(7, 7) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(3, 3), kWhite);
    CSkinRenderer::restore_clip(out.dc(), saved);
    CSkinRenderer::draw_color(out.dc(), CUIRect(0, 0, 20, 20), kBlue);
    EXPECT_EQ(out.at(3, 3) & 0xFFFFFF, 0x0000FFu);

    DibCanvas rounded(20, 20, kWhite);
    CSkinRenderer::round_clip(rounded.dc(), CUIRect(0, 0, 19, 19), 10, 10, saved);
    CSkinRenderer::draw_color(rounded.dc(), CUIRect(0, 0, 20, 20), kRed);
    EXPECT_EQ(rounded.at(0, 0), kWhite);
    EXPECT_EQ(rounded.at(10, 10) & 0xFFFFFF, 0xFF0000u);
    CSkinRenderer::restore_clip(rounded.dc(), saved);
}

namespace {

struct InkBox
{
    int count = 0;
    int outside = 0;
    int min_red = 255;
};

InkBox ink(const DibCanvas& c, const CUIRect& box)
{
    InkBox r;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
        {
            const uint32_t px = c.at(x, y) & 0xFFFFFF;
            if (px == 0xFFFFFF) continue;
            const bool in = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            (in ? r.count : r.outside)++;
            if (channel(px, 16) < r.min_red) r.min_red = channel(px, 16);
        }
    return r;
}

} // namespace

TEST_F(RendererTest, GdiTextStaysInItsBoxInTheRgbOfItsColour)
{
    DibCanvas out(200, 40, kWhite);
    CUIRect box(10, 5, 190, 35);
    CSkinRenderer::draw_text(out.dc(), &manager, box, L"Hello World", 0x00FF0000, -1, DT_SINGLELINE | DT_VCENTER);
    InkBox r = ink(out, CUIRect(10, 5, 190, 35));
    EXPECT_GT(r.count, 20);
    EXPECT_EQ(r.outside, 0);
    bool reddish = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
        {
            uint32_t px = out.at(x, y);
            if (channel(px, 16) > 200 && channel(px, 8) < 60 && channel(px, 0) < 60) reddish = true;
        }
    EXPECT_TRUE(reddish);

    CUIRect calc(0, 0, 9999, 100);
    CSkinRenderer::draw_text(out.dc(), &manager, calc, L"Hello World", 0, -1, DT_SINGLELINE | DT_CALCRECT);
    CUISize sz = CSkinRenderer::text_size(out.dc(), &manager, L"Hello World", -1);
    EXPECT_EQ(calc.width(), sz.cx);
    EXPECT_GT(sz.cy, 0);
    EXPECT_EQ(CSkinRenderer::text_size(out.dc(), &manager, nullptr, -1), CUISize());
}

TEST_F(RendererTest, GdiEntityTextDrawsOneGlyph)
{
    DibCanvas a(100, 30, kWhite), b(100, 30, kWhite);
    CUIRect box(0, 0, 100, 30);
    CUIRect box2 = box;
    CSkinRenderer::draw_text(a.dc(), &manager, box, L"&#x41;", kBlack, -1, DT_SINGLELINE);
    CSkinRenderer::draw_text(b.dc(), &manager, box2, L"A", kBlack, -1, DT_SINGLELINE);
    int differ = 0, inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 100; ++x)
        {
            differ += a.at(x, y) != b.at(x, y);
            inked += a.at(x, y) != kWhite;
        }
    EXPECT_GT(inked, 0);
    EXPECT_EQ(differ, 0);
}

TEST_F(RendererTest, GdiplusTextForcesAlphaFE)
{
    manager.set_use_gdiplus_text(true);
    DibCanvas out(300, 60, kWhite);
    CUIRect box(0, 0, 300, 60);
    CSkinRenderer::draw_text(out.dc(), &manager, box, L"HHHH IIII &&", 0x00333333, -1,
                             DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    InkBox r = ink(out, box);
    ASSERT_GT(r.count, 20);
    // Fully covered pixels of 0x33 at alpha 0xFE over white come out one step lighter than 0x33.
    EXPECT_EQ(r.min_red, 0x34);

    CUIRect calc(10, 10, 300, 60);
    CSkinRenderer::draw_text(out.dc(), &manager, calc, L"a&&b", 0, -1, DT_SINGLELINE | DT_CALCRECT);
    CUIRect calc2(10, 10, 300, 60);
    CSkinRenderer::draw_text(out.dc(), &manager, calc2, L"a&b", 0, -1, DT_SINGLELINE | DT_CALCRECT);
    EXPECT_EQ(calc, calc2);
    EXPECT_GT(calc.right, 11);
    manager.set_use_gdiplus_text(false);
}

TEST_F(RendererTest, GdiplusTextUsesTheFamilyGdiSelectsForASubstitutedFace)
{
    // The test prefix maps "微软雅黑" to "WenQuanYi Micro Hei" as a Chinese system would map it to
    // its own font; GDI+ alone would ignore that and draw boxes from a Latin family.
    manager.set_use_gdiplus_text(true);
    manager.add_font(41, L"微软雅黑", 14, false, false, false);
    manager.add_font(42, L"WenQuanYi Micro Hei", 14, false, false, false);
    DibCanvas a(200, 40, kWhite), b(200, 40, kWhite);
    CUIRect box(0, 0, 200, 40), box2(0, 0, 200, 40);
    CSkinRenderer::draw_text(a.dc(), &manager, box, L"安装路径", kBlack, 41, DT_SINGLELINE | DT_VCENTER);
    CSkinRenderer::draw_text(b.dc(), &manager, box2, L"安装路径", kBlack, 42, DT_SINGLELINE | DT_VCENTER);
    int differ = 0, inked = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
        {
            differ += a.at(x, y) != b.at(x, y);
            inked += a.at(x, y) != kWhite;
        }
    EXPECT_GT(inked, 40);
    EXPECT_EQ(differ, 0);
    manager.set_use_gdiplus_text(false);
}

TEST_F(RendererTest, GdiplusTextIsRasterisedOncePerTextFontColourAndBox)
{
    manager.set_use_gdiplus_text(true);
    manager.remove_all_draw_specs();
    DibCanvas a(200, 30, kWhite), b(200, 30, kWhite);
    CUIRect box(10, 0, 190, 30), box2 = box;
    CSkinRenderer::draw_text(a.dc(), &manager, box, L"Cached line", kBlack, -1, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(manager.text_cache().size(), 1);
    CSkinRenderer::draw_text(b.dc(), &manager, box2, L"Cached line", kBlack, -1, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(manager.text_cache().size(), 1);
    int differ = 0, inked = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
        {
            differ += a.at(x, y) != b.at(x, y);
            inked += a.at(x, y) != kWhite;
            if (x < 10 || x >= 190)
            {
                EXPECT_EQ(a.at(x, y), kWhite);   // stays in its box
            }
        }
    EXPECT_GT(inked, 20);
    EXPECT_EQ(differ, 0);
    CUIRect box3(10, 0, 190, 30);
    CSkinRenderer::draw_text(b.dc(), &manager, box3, L"Cached line", kRed, -1, DT_SINGLELINE | DT_VCENTER);
    EXPECT_EQ(manager.text_cache().size(), 2);
    // A clip still limits the cached pixels.
    DibCanvas c(200, 30, kWhite);
    RenderClip saved;
    CSkinRenderer::clip(c.dc(), CUIRect(0, 0, 60, 30), saved);
    CUIRect box4(10, 0, 190, 30);
    CSkinRenderer::draw_text(c.dc(), &manager, box4, L"Cached line", kBlack, -1, DT_SINGLELINE | DT_VCENTER);
    CSkinRenderer::restore_clip(c.dc(), saved);
    for (int y = 0; y < 30; ++y)
        for (int x = 60; x < 200; ++x) ASSERT_EQ(c.at(x, y), kWhite);
    manager.remove_all_draw_specs();
    EXPECT_EQ(manager.text_cache().size(), 0);
    manager.set_use_gdiplus_text(false);
}
