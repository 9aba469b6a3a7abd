// Control and label attributes: value syntax, attribute lists, styles, visibility rules.
#include <gtest/gtest.h>

#include "TreeFixture.h"
#include "controls/ButtonUI.h"
#include "controls/LabelUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Lomar;
using namespace Lomar::test;

TEST(ControlAttributes, PosSetsFixedPositionAndSize)
{
    struct Row
    {
        const wchar_t* pos;
        CUISize xy;
        int w, h;
    } rows[] = {
        {L"10,20,110,60", {10, 20}, 100, 40},
        {L"-1,20,110,60", {110, 20}, 111, 40},
        {L"10,-5,20,30", {10, 30}, 10, 35},
    };
    for (const Row& r : rows)
    {
        CControlUI c;
        c.apply_attribute(L"pos", r.pos);
        EXPECT_EQ(c.get_fixed_xy(), r.xy) << r.pos;
        EXPECT_EQ(c.get_fixed_width(), r.w) << r.pos;
        EXPECT_EQ(c.get_fixed_height(), r.h) << r.pos;
    }
}

TEST(ControlAttributes, FloatTakesABooleanOrFourRatios)
{
    CControlUI a;
    a.apply_attribute(L"float", L"true");
    EXPECT_TRUE(a.is_float());
    EXPECT_EQ(a.get_float_ratios().left, 0.0);
    CControlUI b;
    b.apply_attribute(L"float", L"0.5,0,0.5,0");
    EXPECT_TRUE(b.is_float());
    EXPECT_EQ(b.get_float_ratios().left, 0.5);
    EXPECT_EQ(b.get_float_ratios().right, 0.5);
    CControlUI c;
    c.apply_attribute(L"floatalign", L"right,bottom");
    EXPECT_EQ(c.get_float_align(), uint32_t(FLOATALIGN_RIGHT | FLOATALIGN_BOTTOM));
    c.apply_attribute(L"floatalign", L"center vcenter");
    EXPECT_EQ(c.get_float_align(), uint32_t(FLOATALIGN_CENTER | FLOATALIGN_VCENTER));
    c.apply_attribute(L"floatalign", L"bogus");
    EXPECT_EQ(c.get_float_align(), uint32_t(FLOATALIGN_CENTER | FLOATALIGN_VCENTER));
    c.apply_attribute(L"floatalign", L"null");
    EXPECT_EQ(c.get_float_align(), 0u);
}

TEST(ControlAttributes, ColoursAndBorders)
{
    struct Row
    {
        const wchar_t* name;
        const wchar_t* value;
        uint32_t back, border;
    } rows[] = {
        {L"bkcolor", L" #FFA7A6AA", 0xFFA7A6AA, 0},
        {L"bkcolor", L"FFA7A6AA", 0xFFA7A6AA, 0},
        {L"BKCOLOR1", L"#FF000000", 0xFF000000, 0},
        {L"bordercolor", L" #FFA7A6AA", 0, 0},            // only "#" is skipped there
        {L"bordercolor", L"#FF112233", 0, 0xFF112233},
    };
    for (const Row& r : rows)
    {
        CControlUI c;
        c.apply_attribute(r.name, r.value);
        EXPECT_EQ(c.get_back_color(), r.back) << r.name << r.value;
        EXPECT_EQ(c.get_border_color(), r.border) << r.name << r.value;
    }
    CControlUI c;
    c.apply_attribute(L"bordersize", L"1,2,3,4");
    EXPECT_EQ(c.get_border_rect(), CUIRect(1, 2, 3, 4));
    EXPECT_EQ(c.get_border_size(), 0);
    c.apply_attribute(L"bordersize", L"2");
    EXPECT_EQ(c.get_border_size(), 2);
    EXPECT_EQ(c.get_border_rect(), CUIRect());
    c.apply_attribute(L"topbordersize", L"5");
    EXPECT_EQ(c.get_border_rect(), CUIRect(0, 5, 0, 0));
}

TEST(ControlAttributes, TextsCursorShortcutAndCustom)
{
    CControlUI c;
    c.apply_attribute(L"text", L"a{\\n}b");
    EXPECT_STREQ(c.get_text().data(), L"a\nb");
    c.apply_attribute(L"tooltip", L"x<n>y");
    EXPECT_STREQ(c.get_tooltip().data(), L"x\r\ny");
    c.apply_attribute(L"cursor", L"hand");
    EXPECT_EQ(c.get_cursor(), 32649);
    EXPECT_STREQ(c.get_cursor_name().data(), L"hand");
    c.apply_attribute(L"cursor", L"nonsense");
    EXPECT_EQ(c.get_cursor(), 32649);
    c.apply_attribute(L"shortcut", L"Qx");
    EXPECT_EQ(c.get_shortcut(), L'Q');
    c.apply_attribute(L"widgetcolour", L"blue");
    c.apply_attribute(L"widgetcolour", L"red");   // the first value stays
    EXPECT_STREQ(c.get_custom_attribute(L"widgetcolour"), L"blue");
    c.apply_attribute(L"visible", L"TRUE");
    EXPECT_TRUE(c.is_visible());
    c.apply_attribute(L"visible", L"yes");
    EXPECT_FALSE(c.is_visible());
}

TEST(ControlAttributes, AttributeListsAndStyles)
{
    CControlUI a;
    a.apply_attribute_list(L"width=\"10\" height=\"20\"");
    EXPECT_EQ(a.get_fixed_size(), CUISize(10, 20));
    CControlUI b;
    b.apply_attribute_list(L"width=\"10\"x height=\"20\"");
    EXPECT_EQ(b.get_fixed_size(), CUISize(10, 0));
    CControlUI c;
    c.apply_attribute_list(L"text=\"say &quot;hi&quot;\",name=\"n\"");
    EXPECT_STREQ(c.get_text().data(), L"say ");   // the replaced quote ends the value early
    EXPECT_TRUE(c.get_name().is_empty());          // and "h" after it stops the list
    CControlUI d;
    d.apply_attribute_list(L"name=\"one\",width=\"7\"");
    EXPECT_STREQ(d.get_name().data(), L"one");
    EXPECT_EQ(d.get_fixed_width(), 7);

    CPaintManagerUI manager;
    manager.add_style(L"big", L"width=\"300\" height=\"40\"");
    CControlUI e;
    e.set_manager(&manager, nullptr, false);
    e.apply_attribute(L"style", L"big");
    EXPECT_EQ(e.get_fixed_size(), CUISize(300, 40));
    e.apply_attribute(L"style", L"missing");
    EXPECT_STREQ(e.get_custom_attribute(L"style"), L"missing");
    e.set_manager(nullptr, nullptr, false);
}

TEST(ControlAttributes, SizeSettersRejectNegativeValues)
{
    CControlUI c;
    c.set_min_width(-1);
    EXPECT_EQ(c.get_min_width(), 0);
    c.set_fixed_width(-5);
    EXPECT_EQ(c.get_fixed_width(), 0);
    EXPECT_EQ(c.get_max_width(), 9999);

    // The same fixed width still asks the parent for a layout.
    CPaintManagerUI manager;
    auto* parent = new CVerticalLayoutUI;
    manager.attach_root(parent);
    auto* child = new CControlUI;
    parent->add(child);
    child->set_fixed_width(10);
    parent->set_pos(CUIRect(0, 0, 100, 100), false);
    EXPECT_FALSE(parent->is_update_needed());
    child->set_fixed_width(10);
    EXPECT_TRUE(parent->is_update_needed());
}

TEST(ControlAttributes, LabelAlignmentWords)
{
    struct Row
    {
        std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> attrs;
        unsigned style;
    };
    const Row rows[] = {
        {{{L"align", L"left center"}}, DT_CENTER | DT_VCENTER | DT_SINGLELINE},
        {{{L"align", L"right"}}, DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
        {{{L"valign", L"vcenter"}, {L"wordbreak", L"true"}}, DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL},
        {{{L"wordbreak", L"true"}, {L"valign", L"vcenter"}}, DT_VCENTER | DT_SINGLELINE | DT_EDITCONTROL},
        {{{L"valign", L"bottom"}}, DT_BOTTOM | DT_SINGLELINE},
        {{{L"endellipsis", L"true"}, {L"noprefix", L"true"}}, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX},
    };
    for (const Row& r : rows)
    {
        CLabelUI label;
        for (const auto& a : r.attrs) label.apply_attribute(a.first, a.second);
        EXPECT_EQ(label.get_text_style(), r.style);
    }
}

TEST(ControlVisibility, HidingAFocusedControlClearsTheManagersFocus)
{
    CPaintManagerUI manager;
    auto* root = new CVerticalLayoutUI;
    auto* button = new CButtonUI;
    root->add(button);
    manager.attach_root(root);
    button->set_focus();
    EXPECT_EQ(manager.get_focus(), button);
    EXPECT_TRUE(button->is_focused());
    button->set_visible(false);
    EXPECT_EQ(manager.get_focus(), nullptr);
    EXPECT_FALSE(button->is_focused());
    // Hidden or disabled controls cannot take the focus.
    button->set_focus();
    EXPECT_EQ(manager.get_focus(), nullptr);
    button->set_visible(true);
    button->set_enabled(false);
    button->set_focus();
    EXPECT_EQ(manager.get_focus(), nullptr);
}

TEST(ControlHooks, FireInOrderAndStopAtFalse)
{
    CControlUI c;
    std::vector<int> seen;
    c.event_hooks.add([&](UIEvent&) { seen.push_back(1); return true; });
    c.event_hooks.add([&](UIEvent&) { seen.push_back(2); return false; });
    c.event_hooks.add([&](UIEvent&) { seen.push_back(3); return true; });
    UIEvent e = make_event(UIEVENT_SETFOCUS);
    c.dispatch_event(e);
    EXPECT_EQ(seen, (std::vector<int>{1, 2}));
    EXPECT_FALSE(c.is_focused());   // a false hook keeps the event from the control
    int destroyed = 0;
    {
        CControlUI d;
        d.destroy_hooks.add([&](CControlUI&) { ++destroyed; return true; });
    }
    EXPECT_EQ(destroyed, 1);
}
