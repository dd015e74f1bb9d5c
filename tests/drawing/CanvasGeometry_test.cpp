// The selection box's arithmetic: handles, what the mouse is on, and what a
// drag does to the selection.
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
    // Inset 2: squares of 4 x 4.
    for (int i = 0; i <= 8; ++i) {
        RECT square = GetTrackerHandleRect(box, 2, i);
        if (i == kHandleMove) {
            EXPECT_TRUE(IsRectEmpty(&square));
            continue;
        }
        EXPECT_EQ(4, square.right - square.left) << i;
        EXPECT_EQ(4, square.bottom - square.top) << i;
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &square, &box) && Same(inside, square)) << i;
    }
    EXPECT_TRUE(Same({100, 200, 104, 204}, GetTrackerHandleRect(box, 2, kHandleTopLeft)));
    EXPECT_TRUE(Same({198, 397, 202, 401}, GetTrackerHandleRect(box, 2, kHandleBottom)));
    EXPECT_TRUE(Same({297, 298, 301, 302}, GetTrackerHandleRect(box, 2, kHandleRight)));
    for (int outside : {9, -1}) {
        RECT none = GetTrackerHandleRect(box, 2, outside);
        EXPECT_TRUE(IsRectEmpty(&none));
    }
}

TEST(CanvasGeometry, TheMouseFindsSquaresFirstThenSidesOnlyNearTheWindowEdge)
{
    const RECT middle = {300, 300, 600, 500};
    EXPECT_EQ(kHandleBottomRight, HitTestTrackerHandle(middle, kScreen, 2, {599, 499}));
    EXPECT_EQ(kHandleTopLeft, HitTestTrackerHandle(middle, kScreen, 2, {300, 300}));
    EXPECT_EQ(kHandleLeft, HitTestTrackerHandle(middle, kScreen, 2, {301, 400}));
    // Away from the window's edges a side is only its middle square.
    EXPECT_EQ(kHandleMove, HitTestTrackerHandle(middle, kScreen, 2, {599, 350}));
    EXPECT_EQ(kHandleMove, HitTestTrackerHandle(middle, kScreen, 2, {450, 400}));

    // Against the right edge the whole right side pulls the box wider.
    const RECT atRight = {900, 300, 1275, 500};
    EXPECT_EQ(kHandleRight, HitTestTrackerHandle(atRight, kScreen, 2, {1273, 330}));
    EXPECT_EQ(kHandleRight, HitTestTrackerHandle(atRight, kScreen, 2, {1271, 470}));
    // A corner square still wins over the side.
    EXPECT_EQ(kHandleTopRight, HitTestTrackerHandle(atRight, kScreen, 2, {1272, 301}));

    // The whole screen: every side can be pulled along its length.
    EXPECT_EQ(kHandleBottom, HitTestTrackerHandle(kScreen, kScreen, 2, {1000, 797}));
    EXPECT_EQ(kHandleTop, HitTestTrackerHandle(kScreen, kScreen, 2, {600, 2}));
    EXPECT_EQ(kHandleLeft, HitTestTrackerHandle(kScreen, kScreen, 2, {1, 600}));
}

TEST(CanvasGeometry, ATopLeftHandlePulledPastTheOppositeCornerFlipsTheBox)
{
    const SelectionInsets insets = InsetsOfSelection(kScreen, {200, 100, 500, 300});
    const POINT anchor = TrackerAnchor(kHandleTopLeft, kScreen, insets);
    EXPECT_EQ(500, anchor.x);
    EXPECT_EQ(300, anchor.y);
    SelectionInsets flipped = ResizeSelection(kHandleTopLeft, kScreen, insets, anchor, {650, 420});
    EXPECT_TRUE(Same({500, 300, 650, 420}, SelectionFromInsets(kScreen, flipped)));
    // Pulled past the screen's corner, it ends at the screen's edge.
    SelectionInsets edge = ResizeSelection(kHandleTopLeft, kScreen, insets, anchor, {-30, -9});
    EXPECT_TRUE(Same({0, 0, 500, 300}, SelectionFromInsets(kScreen, edge)));
}

TEST(CanvasGeometry, MiddleHandlesChangeOnlyTheirOwnDirection)
{
    const SelectionInsets insets = InsetsOfSelection(kScreen, {200, 100, 500, 300});
    const POINT below = TrackerAnchor(kHandleTop, kScreen, insets);
    SelectionInsets taller = ResizeSelection(kHandleTop, kScreen, insets, below, {999, 40});
    EXPECT_TRUE(Same({200, 40, 500, 300}, SelectionFromInsets(kScreen, taller)));
    const POINT left = TrackerAnchor(kHandleRight, kScreen, insets);
    SelectionInsets narrower = ResizeSelection(kHandleRight, kScreen, insets, left, {150, 0});
    EXPECT_TRUE(Same({150, 100, 200, 300}, SelectionFromInsets(kScreen, narrower)))
        << "past its anchor the right side becomes the left";
}

TEST(CanvasGeometry, AMoveAgainstAnEdgeStopsThereWhileTheOtherDirectionGoesOn)
{
    const SelectionInsets insets = InsetsOfSelection(kScreen, {5, 100, 305, 300});
    SelectionInsets moved = MoveSelection(insets, -40, 25);
    EXPECT_TRUE(Same({0, 125, 300, 325}, SelectionFromInsets(kScreen, moved)));
    SelectionInsets down = MoveSelection(moved, -10, 1000);
    EXPECT_TRUE(Same({0, 600, 300, 800}, SelectionFromInsets(kScreen, down)));
}

}  // namespace
