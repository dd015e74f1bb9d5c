// Region recording's arithmetic without a window: the drawn selection, the
// arrow keys, the magnifier, the capture rectangles of a selection, of a
// followed window and of the flash frame; and the capture rectangle shared
// by the threads that steer it and the one that records it.
#include <gtest/gtest.h>

#include "recorder/recording/RecordingState.h"
#include "recorder/windows/RegionGeometry.h"

#include <atomic>
#include <thread>

namespace {

const RECT kScreen = {0, 0, 1280, 800};
const SIZE kScreenSize = {1280, 800};

bool Same(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

TEST(RegionGeometry, AnOddSelectionLosesItsLastColumnAndRowAndTheKeysKeepItAPicture)
{
    EXPECT_TRUE(Same({100, 100, 400, 300}, CaptureRectOfSelection({100, 100, 401, 301})));
    EXPECT_FALSE(IsRecordableRect(CaptureRectOfSelection({7, 9, 8, 300})));
    EXPECT_FALSE(IsRecordableRect(CaptureRectOfSelection({700, 9, 600, 300})));

    // The arrow keys go no further than the screen's edge, and never leave
    // less than two pixels.
    const SelectionInsets corner = InsetsOfSelection(kScreen, {0, 0, 2, 800});
    auto after = [&](UINT key, bool shift) {
        return SelectionFromInsets(kScreen, NudgedInsets(kScreen, corner, key, shift));
    };
    EXPECT_TRUE(Same({0, 0, 2, 800}, after(VK_LEFT, false)));
    EXPECT_TRUE(Same({0, 0, 2, 800}, after(VK_LEFT, true)));
    EXPECT_TRUE(Same({0, 0, 2, 800}, after(VK_DOWN, true)));
    EXPECT_TRUE(Same({0, 0, 3, 800}, after(VK_RIGHT, true)));
    EXPECT_TRUE(Same({1, 0, 3, 800}, after(VK_RIGHT, false)));
}

TEST(RegionGeometry, TheMagnifierStaysOnTheScreenNearItsEdges)
{
    MagnifierLayout free = PlaceMagnifier({400, 300}, kScreenSize);
    EXPECT_TRUE(Same({400, 325, 520, 415}, free.view));
    EXPECT_TRUE(Same({380, 285, 420, 315}, free.source));
    // The cross meets at the middle of the view.
    EXPECT_EQ((free.view.left + free.view.right) / 2, (free.line1.left + free.line1.right) / 2);
    EXPECT_EQ((free.view.top + free.view.bottom) / 2, (free.line2.top + free.line2.bottom) / 2);

    // Within 145 pixels of the bottom it goes 170 higher, within 120 of the
    // right 145 further left.
    MagnifierLayout corner = PlaceMagnifier({1200, 700}, kScreenSize);
    EXPECT_TRUE(Same({1055, 555, 1175, 645}, corner.view));
    EXPECT_LE(corner.label.bottom, 800);
    EXPECT_LE(corner.view.right, 1280);
}

TEST(RegionGeometry, TheLabelHoldsFiveDigitSizesWhole)
{
    EXPECT_EQ(" 300 x 200\n RGB(1,2,3)", FormatMagnifierLabel(300, 200, RGB(1, 2, 3)));
    EXPECT_EQ(" 12345 x 67890\n RGB(255,255,255)",
              FormatMagnifierLabel(12345, 67890, RGB(255, 255, 255)));
}

TEST(RegionGeometry, AFollowedWindowLeavingTheScreenKeepsTheLastCaptureRectangle)
{
    const RECT last = {200, 150, 520, 390};
    FollowStep moved = NextFollowStep({301, 200, 622, 441}, last, kScreenSize);
    EXPECT_TRUE(moved.changed);
    EXPECT_TRUE(moved.recordable);
    EXPECT_TRUE(Same({301, 200, 621, 440}, moved.capture));
    EXPECT_TRUE(moved.frameShown);
    EXPECT_TRUE(Same({297, 196, 626, 445}, moved.frame));

    // Partly off the screen: the part on it is recorded, the frame hides.
    FollowStep partly = NextFollowStep({-100, 50, 220, 290}, last, kScreenSize);
    EXPECT_TRUE(Same({0, 50, 220, 290}, partly.capture));
    EXPECT_TRUE(partly.recordable);
    EXPECT_FALSE(partly.frameShown);

    // Wholly off it (either side): nothing to record, the last rectangle stays.
    for (RECT gone :
         {RECT{-400, 50, -80, 290}, RECT{1300, 50, 1620, 290}, RECT{1279, 50, 1600, 290}}) {
        FollowStep off = NextFollowStep(gone, last, kScreenSize);
        EXPECT_TRUE(off.changed);
        EXPECT_FALSE(off.recordable) << gone.left;
        EXPECT_FALSE(off.frameShown);
    }

    EXPECT_FALSE(NextFollowStep(last, last, kScreenSize).changed);
}

TEST(RegionGeometry, TheFlashFrameIsSizedAtItsCornersAndDraggedElsewhere)
{
    const SIZE client = {641, 481};
    EXPECT_EQ(HTTOPLEFT, FlashFrameHitTest({9, 9}, client));
    EXPECT_EQ(HTBOTTOMLEFT, FlashFrameHitTest({0, 480}, client));
    EXPECT_EQ(HTTOPRIGHT, FlashFrameHitTest({640, 0}, client));
    EXPECT_EQ(HTBOTTOMRIGHT, FlashFrameHitTest({636, 476}, client));
    for (POINT side : {POINT{10, 0}, POINT{635, 0}, POINT{320, 480}})
        EXPECT_EQ(HTCAPTION, FlashFrameHitTest(side, client));
}

TEST(RegionGeometry, TheFlashFrameStaysOnTheScreenAndRecordsItsInside)
{
    const SIZE frame = {641, 481};
    POINT left = ClampFramePosition({-50, -7}, frame, kScreenSize);
    EXPECT_EQ(0, left.x);
    EXPECT_EQ(0, left.y);
    POINT right = ClampFramePosition({900, 700}, frame, kScreenSize);
    EXPECT_EQ(1280 - 641, right.x);
    EXPECT_EQ(800 - 481, right.y);
    // A frame round the whole screen is larger than it, and stays round it.
    POINT whole = ClampFramePosition({-4, -4}, {1288, 808}, kScreenSize);
    EXPECT_EQ(-4, whole.x);
    EXPECT_EQ(-4, whole.y);
    EXPECT_EQ(-8, ClampFramePosition({-20, 0}, {1288, 808}, kScreenSize).x);

    EXPECT_TRUE(Same({104, 104, 736, 576}, FrameCaptureRect({100, 100, 741, 581})));
}

TEST(RegionGeometry, TheCaptureRectangleIsNeverReadHalfWritten)
{
    // Two steering threads write two rectangles that share no coordinate;
    // any mix of the two would be a torn read.
    const RECT a = {0, 0, 320, 240}, b = {100, 50, 900, 650};
    SetCaptureRect(a);
    std::atomic<bool> stop{false};
    std::thread writerA([&] {
        while (!stop) SetCaptureRect(a);
    });
    std::thread writerB([&] {
        while (!stop) SetCaptureRect(b);
    });
    int torn = 0, reads = 0;
    for (DWORD end = GetTickCount() + 300; GetTickCount() < end; ++reads) {
        RECT r = GetCaptureRect();
        if (!Same(r, a) && !Same(r, b)) ++torn;
    }
    stop = true;
    writerA.join();
    writerB.join();
    EXPECT_EQ(0, torn) << "of " << reads << " reads";
}

}  // namespace
