// The preview's arithmetic: where the picture goes and when the caption
// bar shows, with time as an input.
#include <gtest/gtest.h>

#include "recorder/windows/CameraPreview.h"

namespace {

void ExpectRect(RECT want, RECT got)
{
    EXPECT_EQ(want.left, got.left);
    EXPECT_EQ(want.top, got.top);
    EXPECT_EQ(want.right, got.right);
    EXPECT_EQ(want.bottom, got.bottom);
}

TEST(CameraPictureRect, DefaultWindowWithAndWithoutTheCaptionBar)
{
    ExpectRect({1, 0, 199, 199}, CameraPictureRect(200, 200, false));
    ExpectRect({1, 25, 198, 199}, CameraPictureRect(200, 200, true));
}

TEST(CameraPictureRect, StaysInsideTheClientAreaOfEverySize)
{
    for (int w = 140; w <= 1920; w += 17) {
        for (int h = 100; h <= 1080; h += 23) {
            for (bool caption : {false, true}) {
                RECT r = CameraPictureRect(w, h, caption);
                EXPECT_TRUE(r.left >= 1 && r.right <= w - 1 && r.bottom <= h - 1 && r.top >= 0)
                    << w << "x" << h;
                EXPECT_GE(r.top, caption ? kCameraCaptionHeight : 0);
                EXPECT_LT(r.left, r.right);
                EXPECT_LT(r.top, r.bottom);
            }
        }
    }
}

using Action = CameraCaption::Action;

TEST(CameraCaption, OneMoveShowsTheBarForTwoSecondsThenTheFirstRestingTickHidesIt)
{
    CameraCaption c;
    EXPECT_EQ(Action::Hide, c.Tick(1000, {0, 0}, true)) << "the cursor has not moved yet";
    EXPECT_FALSE(c.Shown());
    EXPECT_EQ(Action::Show, c.Tick(1500, {50, 60}, true));
    EXPECT_TRUE(c.Shown());
    // Ticks within two seconds change nothing, moving or resting, inside
    // or outside.
    EXPECT_EQ(Action::None, c.Tick(2000, {50, 60}, true));
    EXPECT_EQ(Action::None, c.Tick(2500, {70, 60}, true));
    EXPECT_EQ(Action::None, c.Tick(3499, {-5, 60}, false));
    EXPECT_TRUE(c.Shown());
    // Two seconds on, the cursor rests where it last moved to: hidden.
    EXPECT_EQ(Action::Hide, c.Tick(3500, {50, 60}, true));
    EXPECT_FALSE(c.Shown());
    EXPECT_EQ(Action::Hide, c.Tick(4000, {50, 60}, true));
}

TEST(CameraCaption, AMovingCursorKeepsTheBarAndLeavingHidesIt)
{
    CameraCaption c;
    EXPECT_EQ(Action::Show, c.Tick(0, {10, 10}, true)) << "a tick count of 0 still shows";
    EXPECT_TRUE(c.Shown());
    EXPECT_EQ(Action::None, c.Tick(2000, {11, 10}, true)) << "counted from 1";
    EXPECT_EQ(Action::Show, c.Tick(2001, {12, 10}, true)) << "still moving: two more seconds";
    EXPECT_EQ(Action::None, c.Tick(4000, {12, 10}, true));
    EXPECT_EQ(Action::Hide, c.Tick(4001, {400, 10}, false)) << "moved, but out of the window";
}

TEST(CameraCaption, TwoSecondsAreCountedAcrossTheTickCountWrapping)
{
    CameraCaption c;
    EXPECT_EQ(Action::Show, c.Tick(0xFFFFFC00u, {3, 4}, true));
    EXPECT_EQ(Action::None, c.Tick(0x00000300u, {3, 4}, true)) << "1792 ms later";
    EXPECT_EQ(Action::Hide, c.Tick(0x00000400u, {3, 4}, true)) << "2048 ms later";
}

}  // namespace
