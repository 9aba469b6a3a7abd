// Button state machine and click rule, options and groups, check boxes, driven by UIEvent records.
#include <gtest/gtest.h>

#include "TreeFixture.h"
#include "controls/ButtonUI.h"
#include "controls/OptionUI.h"
#include "controls/ProgressUI.h"
#include "controls/TabLayoutUI.h"
#include "controls/VerticalLayoutUI.h"

using namespace Lomar;
using namespace Lomar::test;

namespace {

class ControlEventTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = new CVerticalLayoutUI;
        manager.attach_root(root);
        manager.add_notifier(&rec);
    }
    void TearDown() override { manager.remove_notifier(&rec); }

    template <typename T>
    T* add(T* c, int height = 30)
    {
        c->set_fixed_height(height);
        root->add(c);
        root->set_pos(CUIRect(0, 0, 200, 300), false);
        return c;
    }
    void send(CControlUI* c, int type, CUIPoint p = CUIPoint(), wchar_t key = 0)
    {
        UIEvent e = make_event(type, p, key);
        e.sender = c;
        c->dispatch_event(e);
    }

    CPaintManagerUI manager;
    CVerticalLayoutUI* root = nullptr;
    RecordingNotifier rec;
};

const CUIPoint kInside(10, 10), kOutside(10, 250);

} // namespace

TEST_F(ControlEventTest, ClickOnlyWhenReleasedInside)
{
    auto* b = add(new CButtonUI);
    send(b, UIEVENT_MOUSEENTER, kInside);
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_HOT));
    send(b, UIEVENT_BUTTONDOWN, kInside);
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_HOT | UISTATE_PUSHED | UISTATE_CAPTURED));
    send(b, UIEVENT_MOUSEMOVE, kOutside);
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_HOT | UISTATE_CAPTURED));
    send(b, UIEVENT_BUTTONUP, kOutside);
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_HOT));
    EXPECT_TRUE(rec.log.empty());

    send(b, UIEVENT_BUTTONDOWN, kInside);
    send(b, UIEVENT_MOUSEMOVE, kOutside);
    send(b, UIEVENT_MOUSEMOVE, kInside);
    EXPECT_TRUE(b->get_state() & UISTATE_PUSHED);
    send(b, UIEVENT_BUTTONUP, kInside);
    ASSERT_EQ(rec.types(), (std::vector<std::wstring>{L"click"}));
    EXPECT_EQ(rec.log[0].sender, b);
    send(b, UIEVENT_MOUSELEAVE, kOutside);
    EXPECT_EQ(b->get_state(), 0u);
}

TEST_F(ControlEventTest, SpaceAndReturnClickOtherKeysDoNot)
{
    auto* b = add(new CButtonUI);
    send(b, UIEVENT_KEYDOWN, kInside, VK_SPACE);
    send(b, UIEVENT_KEYDOWN, kInside, VK_RETURN);
    send(b, UIEVENT_KEYDOWN, kInside, L'A');
    EXPECT_EQ(rec.types(), (std::vector<std::wstring>{L"click", L"click"}));
    rec.log.clear();
    b->set_keyboard_enabled(false);
    send(b, UIEVENT_KEYDOWN, kInside, VK_SPACE);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(b->get_control_flags(), uint32_t(UIFLAG_SETCURSOR));
}

TEST_F(ControlEventTest, DisabledAndHiddenButtonsDoNotClick)
{
    auto* b = add(new CButtonUI);
    b->set_enabled(false);
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_DISABLED));
    send(b, UIEVENT_MOUSEENTER, kInside);
    send(b, UIEVENT_BUTTONDOWN, kInside);
    send(b, UIEVENT_BUTTONUP, kInside);
    send(b, UIEVENT_KEYDOWN, kInside, VK_SPACE);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(b->get_state(), uint32_t(UISTATE_DISABLED));
    b->set_enabled(true);
    EXPECT_EQ(b->get_state(), 0u);
    b->set_visible(false);
    EXPECT_FALSE(b->activate());
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(ControlEventTest, RichEventsAndMenu)
{
    auto* b = add(new CButtonUI);
    b->apply_attribute(L"richevent", L"true");
    b->apply_attribute(L"menu", L"true");
    send(b, UIEVENT_MOUSEENTER, kInside);
    send(b, UIEVENT_BUTTONDOWN, kInside);
    send(b, UIEVENT_BUTTONUP, kInside);
    send(b, UIEVENT_CONTEXTMENU, kInside);
    send(b, UIEVENT_MOUSELEAVE, kOutside);
    EXPECT_EQ(rec.types(),
              (std::vector<std::wstring>{L"mouseenter", L"buttondown", L"click", L"menu", L"mouseleave"}));
}

TEST_F(ControlEventTest, MouseDisabledButtonPassesMouseEventsUp)
{
    auto* b = add(new CButtonUI);
    b->set_mouse_enabled(false);
    send(b, UIEVENT_BUTTONDOWN, kInside);
    send(b, UIEVENT_BUTTONUP, kInside);
    EXPECT_TRUE(rec.log.empty());
    EXPECT_EQ(b->get_state(), 0u);
}

TEST_F(ControlEventTest, UngroupedOptionTogglesWithClickThenSelectChanged)
{
    auto* o = add(new COptionUI);
    send(o, UIEVENT_BUTTONDOWN, kInside);
    send(o, UIEVENT_BUTTONUP, kInside);
    EXPECT_TRUE(o->is_selected());
    ASSERT_EQ(rec.types(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
    EXPECT_EQ(rec.log[1].wparam, 0u);
    send(o, UIEVENT_KEYDOWN, kInside, VK_SPACE);
    EXPECT_FALSE(o->is_selected());
}

TEST_F(ControlEventTest, GroupKeepsOneSelected)
{
    auto* a = add(new COptionUI);
    auto* b = add(new COptionUI);
    a->apply_attribute(L"group", L"g");
    b->apply_attribute(L"group", L"g");
    ASSERT_NE(manager.get_option_group(L"g"), nullptr);
    EXPECT_EQ(manager.get_option_group(L"g")->size(), 2);
    a->apply_attribute(L"selected", L"true");
    EXPECT_EQ(rec.types(), (std::vector<std::wstring>{L"selectchanged"}));
    rec.log.clear();
    a->activate();   // clicking the selected one keeps it and sends only "click"
    EXPECT_TRUE(a->is_selected());
    EXPECT_EQ(rec.types(), (std::vector<std::wstring>{L"click"}));
    rec.log.clear();
    b->activate();
    EXPECT_TRUE(b->is_selected());
    EXPECT_FALSE(a->is_selected());
    ASSERT_EQ(rec.types(), (std::vector<std::wstring>{L"click", L"selectchanged"}));
    EXPECT_EQ(rec.log[1].sender, b);   // the other member left silently
    root->remove(b);
    manager.set_focus(nullptr);
}

TEST_F(ControlEventTest, CheckBoxCarriesItsStateAndAutoChecks)
{
    auto* c = add(new CCheckBoxUI);
    c->set_selected(true);
    c->set_selected(false);
    ASSERT_EQ(rec.log.size(), 2u);
    EXPECT_EQ(rec.log[0].wparam, 1u);
    EXPECT_EQ(rec.log[1].wparam, 0u);
    rec.log.clear();
    c->apply_attribute(L"EnableAutoCheck", L"true");
    send(c, UIEVENT_BUTTONDOWN, kInside);
    EXPECT_TRUE(c->is_selected());
    EXPECT_EQ(rec.types(), (std::vector<std::wstring>{L"selectchanged", L"checkclick"}));
    EXPECT_STREQ(c->get_custom_attribute(L"EnableAutoCheck"), L"true");   // also passed on
}

TEST_F(ControlEventTest, ButtonBoundToATabSelectsItsPage)
{
    auto* tab = new CTabLayoutUI;
    tab->set_name(L"pages");
    root->add(tab);
    tab->add(new CVerticalLayoutUI);
    tab->add(new CVerticalLayoutUI);
    auto* b = add(new CButtonUI);
    b->apply_attribute(L"bindtablayoutname", L"pages");
    b->apply_attribute(L"bindtabindex", L"1");
    b->activate();
    EXPECT_EQ(tab->get_cur_sel(), 1);
    EXPECT_EQ(rec.log.front().type, L"click");
    EXPECT_EQ(rec.log.back().type, L"tabselect");
}

TEST_F(ControlEventTest, TimerEventsBecomeTimerNotifications)
{
    auto* c = add(new CControlUI);
    UIEvent e = make_event(UIEVENT_TIMER);
    e.wparam = 7;
    e.lparam = 9;
    c->dispatch_event(e);
    ASSERT_EQ(rec.types(), (std::vector<std::wstring>{L"timer"}));
    EXPECT_EQ(rec.log[0].wparam, 7u);
    EXPECT_EQ(rec.log[0].lparam, 9);
}

TEST(ProgressValues, RangeChecksAndAttributeOrder)
{
    CProgressUI early;
    early.apply_attribute(L"value", L"150");
    early.apply_attribute(L"max", L"200");
    EXPECT_EQ(early.get_value(), 0);   // set before the range was widened: lost
    CProgressUI ordered;
    ordered.apply_attribute(L"max", L"200");
    ordered.apply_attribute(L"value", L"150");
    EXPECT_EQ(ordered.get_value(), 150);
    EXPECT_EQ(ordered.get_fixed_height(), 12);
}
