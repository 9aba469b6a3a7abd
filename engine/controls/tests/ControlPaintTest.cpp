// Layered painting of controls and containers into real DIB sections.
#include <gtest/gtest.h>

#include "../../render/tests/DibCanvas.h"
#include "TreeFixture.h"
#include "controls/ButtonUI.h"
#include "controls/LabelUI.h"
#include "controls/ProgressUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

const uint32_t kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000, kBlack = 0xFF000000;

class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = new CVerticalLayoutUI;
        manager.attach_root(root);
    }
    template <typename T>
    T* place(T* c, CUIRect r)
    {
        root->add(c);
        c->set_pos(r, false);
        return c;
    }
    CPaintManagerUI manager;
    CVerticalLayoutUI* root = nullptr;
};

int red_of(uint32_t c) { return (c >> 16) & 0xFF; }

} // namespace

TEST_F(PaintTest, OpaqueBackgroundFillsThePaintRectTranslucentTheWholeItem)
{
    DibCanvas out(100, 20, kWhite);
    auto* c = place(new CControlUI, CUIRect(0, 0, 100, 20));
    c->apply_attribute(L"bkcolor", L"#FFFF0000");
    EXPECT_TRUE(c->paint(out.dc(), CUIRect(0, 0, 50, 20), nullptr));
    EXPECT_EQ(out.at(10, 10) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(out.at(60, 10), kWhite);

    DibCanvas faint(100, 20, kWhite);
    c->apply_attribute(L"bkcolor", L"#80000000");
    // The translucent fill covers the item, but the clip still holds it to the paint rect.
    c->paint(faint.dc(), CUIRect(0, 0, 50, 20), nullptr);
    EXPECT_NEAR(red_of(faint.at(10, 10)), 127, 2);
    EXPECT_EQ(faint.at(60, 10), kWhite);

    DibCanvas none(100, 20, kWhite);
    c->apply_attribute(L"bkcolor", L"#00FF0000");
    c->paint(none.dc(), CUIRect(0, 0, 100, 20), nullptr);
    EXPECT_EQ(none.at(10, 10), kWhite);
}

TEST_F(PaintTest, StopControlAndOutsideRect)
{
    DibCanvas out(100, 100, kWhite);
    auto* a = place(new CControlUI, CUIRect(0, 0, 100, 50));
    auto* b = place(new CControlUI, CUIRect(0, 50, 100, 100));
    a->apply_attribute(L"bkcolor", L"#FFFF0000");
    b->apply_attribute(L"bkcolor", L"#FF0000FF");
    root->set_pos(CUIRect(0, 0, 100, 100), false);
    a->set_pos(CUIRect(0, 0, 100, 50), false);
    b->set_pos(CUIRect(0, 50, 100, 100), false);
    EXPECT_FALSE(a->paint(out.dc(), CUIRect(0, 0, 100, 100), a));
    EXPECT_TRUE(b->paint(out.dc(), CUIRect(0, 0, 100, 40), nullptr));   // outside: nothing drawn
    EXPECT_EQ(out.at(50, 75), kWhite);
    EXPECT_FALSE(root->paint(out.dc(), CUIRect(0, 0, 100, 100), b));
    EXPECT_EQ(out.at(50, 25) & 0xFFFFFF, 0xFF0000u);   // painted before the stop
    EXPECT_EQ(out.at(50, 75), kWhite);                 // the stop control and later ones are not
}

TEST_F(PaintTest, BordersOutlineTheItem)
{
    DibCanvas out(40, 40, kWhite);
    auto* c = place(new CControlUI, CUIRect(5, 5, 35, 35));
    c->apply_attribute(L"bordercolor", L"#FF000000");
    c->apply_attribute(L"bordersize", L"1");
    c->paint(out.dc(), CUIRect(0, 0, 40, 40), nullptr);
    EXPECT_EQ(out.at(5, 20) & 0xFFFFFF, 0u);
    EXPECT_EQ(out.at(34, 20) & 0xFFFFFF, 0u);
    EXPECT_EQ(out.at(20, 34) & 0xFFFFFF, 0u);
    EXPECT_EQ(out.at(20, 20), kWhite);

    DibCanvas sides(40, 40, kWhite);
    c->apply_attribute(L"bordersize", L"0,0,0,2");   // only a bottom line
    c->paint(sides.dc(), CUIRect(0, 0, 40, 40), nullptr);
    EXPECT_EQ(sides.at(20, 34) & 0xFFFFFF, 0u);
    EXPECT_EQ(sides.at(5, 20), kWhite);
}

TEST_F(PaintTest, ProgressForeColourFillsTheDonePart)
{
    struct Row
    {
        int min, max, value;
        int filled;
    } rows[] = {{0, 100, 50, 297}, {0, 100, 0, 0}, {0, 100, 100, 594}, {5, 5, 5, 0}, {0, 3, 1, 198}};
    for (const Row& r : rows)
    {
        DibCanvas out(600, 24, kWhite);
        auto* p = place(new CProgressUI, CUIRect(0, 0, 594, 24));
        p->set_min(r.min);
        p->set_max(r.max);
        p->set_value(r.value);
        p->apply_attribute(L"forecolor", L"#FFFF0000");
        p->paint(out.dc(), CUIRect(0, 0, 600, 24), nullptr);
        int n = 0;
        for (int x = 0; x < 600; ++x) n += (out.at(x, 12) & 0xFFFFFF) == 0xFF0000u;
        EXPECT_EQ(n, r.filled) << r.min << ".." << r.max << " = " << r.value;
        if (r.min == r.max)
        {
            EXPECT_EQ(p->get_max(), r.min + 1);
        }
        root->remove(p);
    }
}

TEST_F(PaintTest, ProgressForeImageModifier)
{
    auto* p = place(new CProgressUI, CUIRect(0, 0, 594, 24));
    p->set_value(50);
    p->set_fore_image(L"bar.png");
    DibCanvas out(600, 24, kWhite);
    p->paint(out.dc(), CUIRect(0, 0, 600, 24), nullptr);
    EXPECT_STREQ(p->get_fore_modifier().data(), L"dest='0,0,297,24'");
    p->set_value(0);
    p->paint(out.dc(), CUIRect(0, 0, 600, 24), nullptr);
    EXPECT_STREQ(p->get_fore_modifier().data(), L"dest='0,0,0,24'");
    p->set_value(30);
    p->apply_attribute(L"isstretchfore", L"false");
    p->paint(out.dc(), CUIRect(0, 0, 600, 24), nullptr);
    EXPECT_STREQ(p->get_fore_modifier().data(), L"dest='0,0,178,24' source='0,0,178,24'");
    p->apply_attribute(L"hor", L"false");
    p->paint(out.dc(), CUIRect(0, 0, 600, 24), nullptr);
    EXPECT_STREQ(p->get_fore_modifier().data(), L"dest='0,16,594,24' source='0,16,594,24'");
}

TEST_F(PaintTest, LabelTextIgnoresAlphaAndStaysInItsBox)
{
    DibCanvas out(200, 40, kBlack);
    auto* l = place(new CLabelUI, CUIRect(20, 5, 180, 35));
    l->apply_attribute(L"text", L"Setup ready");
    l->apply_attribute(L"textcolor", L"#00FFFFFF");
    l->apply_attribute(L"textpadding", L"4,0,4,0");
    l->paint(out.dc(), CUIRect(0, 0, 200, 40), nullptr);
    int inside = 0, outside = 0, white = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 200; ++x)
        {
            uint32_t px = out.at(x, y) & 0xFFFFFF;
            if (px == 0) continue;
            (x >= 24 && x < 176 && y >= 5 && y < 35 ? inside : outside)++;
            white += px == 0xFFFFFF;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
    EXPECT_GT(white, 0);
}

TEST_F(PaintTest, LabelMeasureUsesTheFontHeight)
{
    auto* l = new CLabelUI;
    l->apply_attribute(L"textpadding", L"2,3,2,5");
    root->add(l);
    const int expected = 3 + manager.get_font_height(-1) + 5 + 8;
    EXPECT_EQ(l->measure(CUISize(100, 100)).cy, expected);
    root->set_pos(CUIRect(0, 0, 100, 300), false);
    EXPECT_EQ(l->get_height(), expected);
    l->apply_attribute(L"width", L"30");
    l->apply_attribute(L"height", L"10");
    EXPECT_EQ(l->measure(CUISize(100, 100)), CUISize(30, 10));
}

TEST_F(PaintTest, EndEllipsisShortensLongText)
{
    DibCanvas a(60, 20, kWhite), b(60, 20, kWhite);
    auto* l = place(new CLabelUI, CUIRect(0, 0, 60, 20));
    l->apply_attribute(L"text", L"WWWWWWWWWWWWWWWWWWWWWWWW");
    l->paint(a.dc(), CUIRect(0, 0, 60, 20), nullptr);
    l->apply_attribute(L"endellipsis", L"true");
    l->paint(b.dc(), CUIRect(0, 0, 60, 20), nullptr);
    // The ellipsis leaves blank columns near the right where the clipped text had ink.
    int ink_a = 0, ink_b = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 40; x < 60; ++x)
        {
            ink_a += a.at(x, y) != kWhite;
            ink_b += b.at(x, y) != kWhite;
        }
    EXPECT_GT(ink_a, ink_b);
    EXPECT_GT(ink_b, 0);
}
