// The selection box's arithmetic: its handles, what the mouse is on, and
// what pulling a handle does (the end-to-end tests drag the real box).
#include <gtest/gtest.h>

#include "drawing/windows/CanvasGeometry.h"

namespace {

const RECT kScreen = {0, 0, 1280, 800};

bool Same(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

TEST(CanvasGeometry, HandlesAreSquaresOnTheCornersAndMiddlesOfTheBox)
{
    const RECT box = {100, 200, 301, 401};
    // Inset 2: squares of 4 x 4, inside the box.
    for (int i = 0; i <= 8; ++i) {
        RECT square = GetTrackerHandleRect(box, 2, i), inside;
        if (i == kHandleMove) {
            EXPECT_TRUE(IsRectEmpty(&square));
            continue;
        }
        EXPECT_TRUE(square.right - square.left == 4 && square.bottom - square.top == 4) << i;
        EXPECT_TRUE(IntersectRect(&inside, &square, &box) && Same(inside, square)) << i;
    }
    EXPECT_TRUE(Same({198, 397, 202, 401}, GetTrackerHandleRect(box, 2, kHandleBottom)));
    EXPECT_TRUE(Same({297, 298, 301, 302}, GetTrackerHandleRect(box, 2, kHandleRight)));
    RECT none = GetTrackerHandleRect(box, 2, 9);
    EXPECT_TRUE(IsRectEmpty(&none));
}

TEST(CanvasGeometry, TheMouseFindsSquaresFirstThenSidesOnlyNearTheWindowEdge)
{
    const RECT middle = {300, 300, 600, 500};
    EXPECT_EQ(kHandleBottomRight, HitTestTrackerHandle(middle, kScreen, 2, {599, 499}));
    EXPECT_EQ(kHandleLeft, HitTestTrackerHandle(middle, kScreen, 2, {301, 400}));
    // Away from the window's edges a side is only its middle square.
    EXPECT_EQ(kHandleMove, HitTestTrackerHandle(middle, kScreen, 2, {599, 350}));

    // Against the right edge the whole right side pulls the box wider, and
    // a corner square still wins over the side.
    const RECT atRight = {900, 300, 1275, 500};
    EXPECT_EQ(kHandleRight, HitTestTrackerHandle(atRight, kScreen, 2, {1273, 330}));
    EXPECT_EQ(kHandleTopRight, HitTestTrackerHandle(atRight, kScreen, 2, {1272, 301}));
    // The whole screen: every side along its length.
    EXPECT_EQ(kHandleBottom, HitTestTrackerHandle(kScreen, kScreen, 2, {1000, 797}));
    EXPECT_EQ(kHandleTop, HitTestTrackerHandle(kScreen, kScreen, 2, {600, 2}));
    EXPECT_EQ(kHandleLeft, HitTestTrackerHandle(kScreen, kScreen, 2, {1, 600}));
}

TEST(CanvasGeometry, PulledHandlesStopAtTheScreenAndMiddleOnesKeepTheOtherDirection)
{
    const SelectionInsets insets = InsetsOfSelection(kScreen, {200, 100, 500, 300});
    auto pulled = [&](int handle, POINT to) {
        POINT anchor = TrackerAnchor(handle, kScreen, insets);
        return SelectionFromInsets(kScreen, ResizeSelection(handle, kScreen, insets, anchor, to));
    };
    EXPECT_TRUE(Same({0, 0, 500, 300}, pulled(kHandleTopLeft, {-30, -9})));
    EXPECT_TRUE(Same({200, 40, 500, 300}, pulled(kHandleTop, {999, 40})));
    // Past its anchor the right side becomes the left one.
    EXPECT_TRUE(Same({150, 100, 200, 300}, pulled(kHandleRight, {150, 0})));
    EXPECT_TRUE(Same({200, 100, 500, 800}, pulled(kHandleBottomLeft, {200, 900})));
}

}  // namespace
