// Vertical, horizontal and tab layouts, float children and hit tests on real trees.
#include <gtest/gtest.h>

#include "TreeFixture.h"
#include "controls/ButtonUI.h"
#include "controls/HorizontalLayoutUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

CControlUI* sized(int w, int h)
{
    auto* c = new CControlUI;
    if (w) c->set_fixed_width(w);
    if (h) c->set_fixed_height(h);
    return c;
}

class LayoutTest : public ::testing::Test
{
protected:
    template <typename T>
    T* attach(T* root)
    {
        manager.attach_root(root);
        return root;
    }
    CPaintManagerUI manager;
};

} // namespace

TEST_F(LayoutTest, VerticalSharesTheRestAndTheLastAdjustableTakesTheRounding)
{
    auto* v = attach(new CVerticalLayoutUI);
    CControlUI* title = sized(0, 54);
    CControlUI* body = sized(0, 0);
    v->add(title);
    v->add(body);
    v->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(title->get_pos(), CUIRect(0, 0, 700, 54));
    EXPECT_EQ(body->get_pos(), CUIRect(0, 54, 700, 420));

    auto* w = new CVerticalLayoutUI;
    CControlUI* a = sized(0, 0);
    CControlUI* b = sized(0, 0);
    w->add(a);
    w->add(b);
    v->add(w);
    w->set_pos(CUIRect(0, 0, 100, 421), false);
    EXPECT_EQ(a->get_height(), 210);
    EXPECT_EQ(b->get_pos(), CUIRect(0, 210, 100, 421));
}

TEST_F(LayoutTest, VerticalPaddingsChildPaddingAndClamps)
{
    auto* v = attach(new CVerticalLayoutUI);
    v->set_inset(CUIRect(5, 5, 5, 5));
    v->set_child_padding(4);
    CControlUI* a = sized(50, 20);
    a->set_padding(CUIRect(3, 2, 0, 1));
    CControlUI* b = sized(0, 0);
    b->set_max_height(30);
    CControlUI* c = sized(0, 0);
    c->set_min_height(40);
    v->add(a);
    v->add(b);
    v->add(c);
    v->set_pos(CUIRect(0, 0, 110, 200), false);
    EXPECT_EQ(a->get_pos(), CUIRect(8, 7, 58, 27));
    // Free space 190 - 23 - 8 = 159, two adjustable shares of 79; b is capped at 30.
    EXPECT_EQ(b->get_pos(), CUIRect(5, 32, 105, 62));
    EXPECT_EQ(c->get_pos(), CUIRect(5, 66, 105, 195));
}

TEST_F(LayoutTest, FixedHeightsLargerThanTheSpace)
{
    auto* v = attach(new CVerticalLayoutUI);
    CControlUI* a = sized(0, 80);
    CControlUI* b = sized(0, 80);
    CControlUI* c = sized(0, 0);
    v->add(a);
    v->add(b);
    v->add(c);
    v->set_pos(CUIRect(0, 0, 50, 100), false);
    EXPECT_EQ(a->get_height(), 80);
    EXPECT_EQ(b->get_pos(), CUIRect(0, 80, 50, 160));   // keeps its height past the edge
    EXPECT_EQ(c->get_pos(), CUIRect(0, 160, 50, 160));  // nothing left for the adjustable child
}

TEST_F(LayoutTest, ChildValignMovesAStackWithoutAdjustableChildren)
{
    struct Row
    {
        const wchar_t* valign;
        int h1, h2;
        int expected_top;
    } rows[] = {
        {L"top", 20, 20, 0},     {L"vcenter", 20, 20, 30}, {L"bottom", 20, 20, 60},
        {L"vcenter", 20, 21, 29}, {L"vcenter", 60, 60, -10},
    };
    for (const Row& r : rows)
    {
        CVerticalLayoutUI v;
        v.apply_attribute(L"childvalign", r.valign);
        CControlUI* a = sized(10, r.h1);
        v.add(a);
        v.add(sized(10, r.h2));
        v.set_pos(CUIRect(0, 0, 50, 100), false);
        EXPECT_EQ(a->get_pos().top, r.expected_top) << r.valign << " " << r.h1 << "+" << r.h2;
    }
    CVerticalLayoutUI v;
    v.apply_attribute(L"childvalign", L"Bottom");   // values are exact lower case
    v.apply_attribute(L"childalign", L"center");
    CControlUI* a = sized(10, 20);
    v.add(a);
    v.set_pos(CUIRect(0, 0, 50, 100), false);
    EXPECT_EQ(a->get_pos(), CUIRect(20, 0, 30, 20));
}

TEST_F(LayoutTest, HorizontalFillsHeightUnlessFixed)
{
    auto* h = attach(new CHorizontalLayoutUI);
    CControlUI* button = sized(80, 24);
    button->set_padding(CUIRect(0, 11, 0, 0));
    CControlUI* filler = sized(0, 0);
    filler->set_padding(CUIRect(0, 3, 0, 5));
    CControlUI* right = sized(100, 0);
    h->add(button);
    h->add(filler);
    h->add(right);
    h->set_pos(CUIRect(0, 100, 700, 154), false);
    EXPECT_EQ(button->get_pos(), CUIRect(0, 111, 80, 135));
    EXPECT_EQ(filler->get_pos(), CUIRect(80, 103, 600, 149));
    EXPECT_EQ(right->get_pos(), CUIRect(600, 100, 700, 154));

    CHorizontalLayoutUI centred;
    centred.apply_attribute(L"childalign", L"center");
    centred.apply_attribute(L"childvalign", L"vcenter");
    CControlUI* b = sized(40, 10);
    centred.add(b);
    centred.set_pos(CUIRect(0, 0, 100, 31), false);
    EXPECT_EQ(b->get_pos(), CUIRect(30, 10, 70, 20));
}

TEST_F(LayoutTest, FloatChildrenUsePosFromTheContainerCorner)
{
    auto* v = attach(new CVerticalLayoutUI);
    auto* page = new CVerticalLayoutUI;
    v->add(page);
    CControlUI* f = sized(0, 0);
    f->apply_attribute(L"float", L"true");
    f->apply_attribute(L"pos", L"246,264,454,308");
    CControlUI* flow = sized(0, 0);
    page->add(f);
    page->add(flow);
    page->set_inset(CUIRect(7, 7, 7, 7));
    page->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(f->get_pos(), CUIRect(246, 264, 454, 308));
    EXPECT_EQ(flow->get_pos(), CUIRect(7, 7, 693, 413));   // the float takes no room in the flow
    page->set_pos(CUIRect(10, 20, 710, 440), false);
    EXPECT_EQ(f->get_pos(), CUIRect(256, 284, 464, 328));   // moved with the container, not by the inset

    CControlUI* centred = sized(0, 0);
    centred->apply_attribute(L"float", L"true");
    centred->apply_attribute(L"pos", L"5,6,105,46");
    centred->apply_attribute(L"floatalign", L"center");
    page->add(centred);
    page->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(centred->get_pos(), CUIRect(300, 6, 400, 46));
    centred->apply_attribute(L"floatalign", L"right,bottom");
    page->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(centred->get_pos(), CUIRect(600, 380, 700, 420));

    CControlUI* ratio = sized(0, 0);
    ratio->apply_attribute(L"float", L"0.5,0,0.5,0");
    ratio->apply_attribute(L"pos", L"-30,0,-10,10");   // x -10 counts from the right edge
    page->add(ratio);
    page->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(ratio->get_pos(), CUIRect(1040, 0, 1060, 10));
}

TEST_F(LayoutTest, HitTestsRespectMouseFlags)
{
    auto* root = attach(new CVerticalLayoutUI);
    auto* box = new CHorizontalLayoutUI;
    auto* button = new CButtonUI;
    button->set_fixed_width(50);
    box->add(button);
    root->add(box);
    root->set_pos(CUIRect(0, 0, 200, 100), false);
    EXPECT_EQ(manager.find_control_at(CUIPoint(10, 10)), button);
    EXPECT_EQ(manager.find_control_at(CUIPoint(100, 10)), box);
    box->set_mouse_enabled(false);
    EXPECT_EQ(manager.find_control_at(CUIPoint(10, 10)), button);
    EXPECT_EQ(manager.find_control_at(CUIPoint(100, 10)), root);
    box->set_mouse_child_enabled(false);
    EXPECT_EQ(manager.find_control_at(CUIPoint(10, 10)), root);
    EXPECT_EQ(manager.find_control_at(CUIPoint(500, 10)), nullptr);
    button->set_visible(false);
    box->set_mouse_child_enabled(true);
    EXPECT_EQ(manager.find_control_at(CUIPoint(10, 10)), root);
}

TEST_F(LayoutTest, TabLayoutSelectsShowsAndNotifies)
{
    RecordingNotifier rec;
    manager.add_notifier(&rec);
    auto* tab = attach(new CTabLayoutUI);
    CControlUI* pages[4];
    for (auto& p : pages)
    {
        p = new CVerticalLayoutUI;
        tab->add(p);
    }
    EXPECT_EQ(tab->get_cur_sel(), 0);
    EXPECT_TRUE(pages[0]->is_visible());
    EXPECT_FALSE(pages[1]->is_visible());
    tab->set_pos(CUIRect(0, 0, 700, 420), false);
    EXPECT_EQ(pages[0]->get_pos(), CUIRect(0, 0, 700, 420));

    rec.log.clear();
    EXPECT_TRUE(tab->select_item(0));
    EXPECT_TRUE(rec.log.empty());
    EXPECT_TRUE(tab->select_item(2));
    ASSERT_FALSE(rec.log.empty());
    EXPECT_EQ(rec.log.back().type, L"tabselect");
    EXPECT_EQ(rec.log.back().wparam, 2u);
    EXPECT_EQ(rec.log.back().lparam, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(pages[i]->is_visible(), i == 2) << i;
    EXPECT_FALSE(tab->select_item(4));
    EXPECT_FALSE(tab->select_item(-1));

    tab->remove(pages[2]);
    EXPECT_EQ(tab->get_cur_sel(), 0);
    EXPECT_TRUE(pages[0]->is_visible());
    EXPECT_EQ(manager.delayed_cleanup_count(), 1);   // deleted later, from the manager's message
    manager.remove_notifier(&rec);
}

TEST_F(LayoutTest, NamesResolveToTheFirstInTreeOrder)
{
    auto* root = attach(new CVerticalLayoutUI);
    auto* first = new CControlUI;
    first->set_name(L"twin");
    auto* inner = new CVerticalLayoutUI;
    auto* second = new CControlUI;
    second->set_name(L"twin");
    inner->add(second);
    root->add(inner);
    root->add(first);
    EXPECT_EQ(manager.find_control_by_name(L"twin"), second);
    EXPECT_EQ(manager.find_control_by_name(L"Twin"), nullptr);
    EXPECT_EQ(manager.find_controls_by_class(L"ControlUI")->size(), 2);
    EXPECT_EQ(manager.find_controls_by_class(L"*")->size(), 4);
}
