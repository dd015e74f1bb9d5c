// The floating bar's arithmetic: opacity steps, the drag's clamp, docking
// and the idle fade, called directly.
#include <gtest/gtest.h>

#include "recorder/windows/FloatRecLogic.h"
#include "recorder/windows/FloatRecMenu.h"

#include <string>
#include <vector>

namespace {

const SIZE kBar = {180, 35};

std::string Str(const RECT& rc)
{
    return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) +
           "," + std::to_string(rc.bottom);
}

std::string Str(POINT p)
{
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

TEST(FloatBarOpacity, MenuStepsGiveTheTruncatedAlphaOfEachTenthAndNothingElseIsAStep)
{
    const std::vector<int> expected = {25, 51, 76, 102, 127, 153, 178, 204, 229, 255};
    std::vector<int> got;
    for (unsigned id = kFloatBarCmdOpacityFirst; id <= kFloatBarCmdOpacityLast; ++id)
        got.push_back(FloatBarOpacityByte(FloatBarAlpha(OpacityPercentOfCommand(id))));
    EXPECT_EQ(expected, got);
    EXPECT_EQ(90, OpacityPercentOfCommand(151));
    for (unsigned other : {kFloatBarCmdOpacityFirst - 1, kFloatBarCmdOpacityLast + 1,
                           kFloatBarCmdHide, kFloatBarCmdExit})
        EXPECT_EQ(0, OpacityPercentOfCommand(other)) << other;
}

TEST(FloatBarOpacity, ASavedValueNoMenuWritesFallsBackToSeventyPercent)
{
    EXPECT_EQ(178, FloatBarOpacityByte(FloatBarAlpha(UsableFloatBarOpacity(kDefaultFloatBarOpacity))));
    EXPECT_EQ(10, UsableFloatBarOpacity(10));
    EXPECT_EQ(100, UsableFloatBarOpacity(100));
    // Invisible, or wrapping round past 255 to some other alpha.
    for (int bad : {0, 9, -20, 101, 500})
        EXPECT_EQ(kDefaultFloatBarOpacity, UsableFloatBarOpacity(bad)) << bad;
}

TEST(FloatBarDrag, KeepsTheWholeBarOnTheWorkAreaOnEverySide)
{
    const RECT work = {0, 0, 1280, 760};
    const POINT press = {30, 17};
    EXPECT_EQ("400,300", Str(DraggedFloatBarPosition({430, 317}, press, kBar, work)));
    EXPECT_EQ("0,0", Str(DraggedFloatBarPosition({5, 3}, press, kBar, work)));
    EXPECT_EQ("1100,725", Str(DraggedFloatBarPosition({1279, 799}, press, kBar, work)));
    // A work area that does not start at the screen's corner (a taskbar at
    // the top or the left) is kept to as well.
    const RECT shifted = {60, 40, 1280, 800};
    EXPECT_EQ("60,40", Str(DraggedFloatBarPosition({10, 10}, press, kBar, shifted)));
    EXPECT_EQ("1100,765", Str(DraggedFloatBarPosition({1279, 799}, press, kBar, shifted)));
}

TEST(FloatBarDrag, OnlyTheButtonRowClicksInsteadOfDragging)
{
    EXPECT_TRUE(InFloatBarButtonRow({62, 10}));
    EXPECT_TRUE(InFloatBarButtonRow({134, 18}));   // start and stop
    EXPECT_FALSE(InFloatBarButtonRow({150, 18}));  // right of the pause buttons
    EXPECT_FALSE(InFloatBarButtonRow({30, 17}));   // the time
    EXPECT_FALSE(InFloatBarButtonRow({100, 5}));   // above the buttons
}

TEST(FloatBarDock, CornersDockAtTheSideAndTheStripsHugTheirEdge)
{
    const RECT work = {0, 0, 1280, 760};
    EXPECT_EQ(DockSide::Left, FloatBarDockSide({0, 0}, kBar, work));
    EXPECT_EQ(DockSide::Right, FloatBarDockSide({1100, 0}, kBar, work));
    EXPECT_EQ(DockSide::Top, FloatBarDockSide({500, 0}, kBar, work));
    EXPECT_EQ(DockSide::Left, FloatBarDockSide({0, 300}, kBar, work));
    EXPECT_EQ(DockSide::None, FloatBarDockSide({1080, 30}, kBar, work));
    EXPECT_EQ(DockSide::None, FloatBarDockSide({500, 725}, kBar, work)) << "the bottom does not dock";

    EXPECT_EQ("0,300,3,335", Str(CollapsedFloatBar(DockSide::Left, {0, 300}, kBar, work)));
    EXPECT_EQ("1275,300,1280,335", Str(CollapsedFloatBar(DockSide::Right, {1100, 300}, kBar, work)));
    EXPECT_EQ("500,0,680,3", Str(CollapsedFloatBar(DockSide::Top, {500, 0}, kBar, work)));
    EXPECT_EQ("500,40,680,75", Str(CollapsedFloatBar(DockSide::None, {500, 40}, kBar, work)));
}

TEST(FloatBarFade, HalvesAfterMoreThanTenSecondsOfRestOutsideAndComesBackOnAMove)
{
    const double alpha = FloatBarAlpha(70);
    FloatBarFade fade;
    const DWORD t0 = 5000;
    fade.Restart(t0);
    const POINT rest = {300, 500};
    EXPECT_EQ(178, fade.Tick(rest, false, t0 + 500, alpha)) << "the mouse came here";
    EXPECT_EQ(178, fade.Tick(rest, false, t0 + 10500, alpha)) << "10 s since the move, not more";
    EXPECT_EQ(89, fade.Tick(rest, false, t0 + 10501, alpha));
    EXPECT_EQ(178, fade.Tick(rest, true, t0 + 11000, alpha)) << "on the bar it is opaque";
    EXPECT_EQ(89, fade.Tick(rest, false, t0 + 11500, alpha)) << "back where it rested";
    EXPECT_EQ(178, fade.Tick({301, 500}, false, t0 + 12000, alpha)) << "moved";
    EXPECT_EQ(178, fade.Tick({301, 500}, false, t0 + 21000, alpha));
    EXPECT_EQ(89, fade.Tick({301, 500}, false, t0 + 22500, alpha));
}

TEST(FloatBarFade, TheTickCountWrappingRoundChangesNothing)
{
    const double alpha = FloatBarAlpha(100);
    FloatBarFade fade;
    fade.Restart(0xFFFFF000u);
    const POINT rest = {0, 0};
    // The first tick finds the mouse where the bar began counting from.
    EXPECT_EQ(255, fade.Tick(rest, false, 0x00000100u, alpha)) << "4.3 s after the start";
    EXPECT_EQ(127, fade.Tick(rest, false, 0x00002000u, alpha)) << "12.3 s after the start";
}

}  // namespace
