#include "CenterPlacement.h"
#include "VxBase.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recording : VxBase
{
    std::vector<std::vector<int>> events;
    void OnEvent(int code, int argument, int extra) override { events.push_back({code, argument, extra}); }
};

} // namespace

TEST(VxBase, EventsGoToTheRelayTargetOrToTheObjectItself)
{
    Recording frame;
    Recording page;
    page.RaiseEvent(VXE_SELECT_PAGE, 2, 0);
    EXPECT_EQ((std::vector<std::vector<int>>{{52, 2, 0}}), page.events);

    page.SetRelayTarget(&frame);
    page.RaiseEvent(VXE_POST, VXE_PROGRESS, 1);
    EXPECT_EQ(1u, page.events.size());
    EXPECT_EQ((std::vector<std::vector<int>>{{1, 54, 1}}), frame.events);

    page.SetRelayTarget(nullptr);
    page.RaiseEvent(7, 8, 9);
    EXPECT_EQ(2u, page.events.size());
    EXPECT_EQ(1u, frame.events.size());
    EXPECT_EQ(1538u, WM_VXEVENT);
}

TEST(VxBase, DestroyCallbackRunsOnceExtraNever)
{
    int destroyed = 0;
    int extra = 0;
    {
        VxBase object;
        object.SetDestroyCallback([&] { ++destroyed; });
        object.SetExtraCallback([&] { ++extra; });
        object.SetDestroyCallback([&] { destroyed += 10; });  // replaces the first
        object.OnEvent(1, 2, 3);                              // the base ignores every code
    }
    EXPECT_EQ(10, destroyed);
    EXPECT_EQ(0, extra);
}

TEST(VxBase, RelayTargetIsNotOwned)
{
    auto* target = new Recording;
    {
        Recording page;
        page.SetRelayTarget(target);
    }
    target->RaiseEvent(1, 1, 1);  // still alive after the page let go of it
    EXPECT_EQ(1u, target->events.size());
    delete target;
}

struct CenterCase
{
    const char* what;
    CenterInputs in;
    CUIPoint expected;
};

TEST(CenterPlacement, Rules)
{
    const CUIRect win(0, 0, 700, 420);
    const CUIRect monitor(0, 0, 1920, 1080);
    const CenterCase cases[] = {
        {"no owner: middle of the primary monitor", {win, {}, false, {}, monitor, {}}, {610, 330}},
        {"usable owner dragged up: x over the owner, y over the monitor",
         {win, {}, true, {100, -200, 900, 300}, monitor, {}}, {150, 330}},
        {"owner unusable: the monitor for both", {win, {}, false, {100, -200, 900, 300}, monitor, {}}, {610, 330}},
        {"offset is added", {win, {}, false, {}, monitor, {5, -7}}, {615, 323}},
        {"no primary monitor: centred on 0,0", {win, {}, false, {}, {}, {}}, {-350, -210}},
        {"area: centred in it", {win, {0, 0, 1000, 1000}, true, {0, 0, 10, 10}, monitor, {}}, {150, 290}},
        {"area: sticking out right ends at area.right",
         {win, {0, 0, 800, 500}, false, {}, monitor, {200, 0}}, {100, 40}},
        {"area: sticking out left starts at area.left",
         {win, {100, 100, 900, 600}, false, {}, monitor, {-300, -300}}, {100, 100}},
        {"odd sizes truncate toward zero", {{0, 0, 701, 421}, {}, false, {}, {-1, -1, 2, 2}, {}}, {-350, -210}},
    };
    for (const CenterCase& c : cases)
    {
        CUIPoint p = ComputeCenterPosition(c.in);
        EXPECT_EQ(c.expected.x, p.x) << c.what;
        EXPECT_EQ(c.expected.y, p.y) << c.what;
    }
}
