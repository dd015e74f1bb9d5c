// Frame geometry: zoom, the screen-to-frame mapping and the grid placements.
#include <gtest/gtest.h>

#include "recorder/FrameGeometry.h"
#include "recorder/Zoom.h"

namespace {

RECT R(LONG l, LONG t, LONG r, LONG b)
{
    RECT rc = {l, t, r, b};
    return rc;
}

void ExpectRect(const RECT& want, const RECT& got)
{
    EXPECT_EQ(want.left, got.left);
    EXPECT_EQ(want.top, got.top);
    EXPECT_EQ(want.right, got.right);
    EXPECT_EQ(want.bottom, got.bottom);
}

TEST(FrameGeometry, EvenRectangles)
{
    ExpectRect(R(0, 0, 800, 600), MakeEvenRect(R(0, 0, 801, 601)));
    ExpectRect(R(0, 0, 800, 600), MakeEvenRect(R(0, 0, 800, 600)));
    ExpectRect(R(-1921, -7, -1, 93), MakeEvenRect(R(-1921, -7, 0, 94)));
}

TEST(Zoom, GrabRectangleIsHalfTheCaptureAroundTheCentreAndStaysInside)
{
    const RECT capture = R(100, 50, 900, 650);  // 800 x 600
    struct Case {
        POINT centre;
        RECT want;
    } cases[] = {
        {{500, 350}, R(300, 200, 700, 500)},    // centred
        {{0, 0}, R(100, 50, 500, 350)},         // clamped to the top left
        {{5000, 5000}, R(500, 350, 900, 650)},  // clamped to the bottom right
        {{150, 620}, R(100, 350, 500, 650)},
    };
    for (const Case& c : cases) ExpectRect(c.want, ZoomGrabRect(capture, 2.0, c.centre));
    ExpectRect(capture, ZoomGrabRect(capture, 1.0, POINT{0, 0}));
}

TEST(Zoom, LastsOneSecondThenClearsTheRequest)
{
    double factor = 1.0;
    DWORD tick = 5000;
    POINT centre = {300, 200};
    AdvanceZoom(5000 + 1000, factor, tick, centre);
    EXPECT_EQ(2.0, factor);
    EXPECT_EQ(5000u, tick);
    AdvanceZoom(5000 + 1001, factor, tick, centre);
    EXPECT_EQ(1.0, factor);
    EXPECT_EQ(0u, tick);
    EXPECT_EQ(0, centre.x);
    EXPECT_EQ(0, centre.y);
    AdvanceZoom(9999, factor, tick, centre);  // no request: nothing moves
    EXPECT_EQ(1.0, factor);
    // Across the tick counter's wrap.
    tick = 0xFFFFFF00;
    AdvanceZoom(0x100, factor, tick, centre);
    EXPECT_EQ(2.0, factor);
}

TEST(FrameMapping, ZoomedGrabEdgesMapToTheFrameEdges)
{
    const FrameMapping zoom(R(300, 200, 700, 500), 800, 600);
    EXPECT_EQ(0, zoom.Map(POINT{300, 200}).x);
    EXPECT_EQ(800, zoom.Map(POINT{700, 200}).x);
    EXPECT_EQ(600, zoom.Map(POINT{300, 500}).y);
    EXPECT_EQ(100, zoom.Map(POINT{350, 250}).x);
    EXPECT_EQ(100, zoom.Map(POINT{350, 250}).y);
}

TEST(FrameMapping, StretchedCaptureMapsIntoTheWrittenFrame)
{
    // A window followed from 400x300 down to 200x150: the frame stays
    // 400x300, so the capture's centre is the frame's centre.
    const FrameMapping stretch(R(1000, 500, 1200, 650), 400, 300);
    EXPECT_EQ(200, stretch.Map(POINT{1100, 575}).x);
    EXPECT_EQ(150, stretch.Map(POINT{1100, 575}).y);
    EXPECT_EQ(400, stretch.Map(POINT{1200, 650}).x);
    EXPECT_EQ(300, stretch.Map(POINT{1200, 650}).y);
    // A stretch of another aspect scales each axis on its own.
    const FrameMapping wide(R(0, 0, 100, 100), 400, 200);
    EXPECT_EQ(200, wide.Map(POINT{50, 50}).x);
    EXPECT_EQ(100, wide.Map(POINT{50, 50}).y);
}

TEST(FrameGeometry, WatermarkCells)
{
    const SIZE frame = {801, 601}, picture = {100, 51};
    const POINT want[10] = {{0, 0},     {350, 0}, {701, 0},   {0, 275},   {350, 275},
                            {701, 275}, {0, 550}, {350, 550}, {701, 550}, {0, 0}};
    for (DWORD cell = 0; cell < 10; ++cell) {
        const POINT p = WatermarkOrigin(cell, frame, picture);
        EXPECT_EQ(want[cell].x, p.x) << cell;
        EXPECT_EQ(want[cell].y, p.y) << cell;
    }
    // Bigger than the frame: halves round toward zero.
    EXPECT_EQ(-49, WatermarkOrigin(4, SIZE{2, 2}, SIZE{101, 101}).x);
}

TEST(FrameGeometry, CaptionCellsSubtractTheTextWidthOnce)
{
    const SIZE frame = {1280, 720};
    const int tw = 101;
    struct Case {
        DWORD cell;
        POINT want;
    } cases[] = {
        {0, {0, 50}},           {1, {640 - 50, 50}},    {2, {1280 - 101, 50}}, {3, {0, 360}},
        {4, {640 - 50, 360}},   {5, {1280 - 101, 360}}, {6, {0, 670}},         {7, {640 - 50, 670}},
        {8, {1280 - 101, 670}}, {9, {0, 50}},
    };
    for (const Case& c : cases) {
        const POINT p = CaptionOrigin(c.cell, frame, tw);
        EXPECT_EQ(c.want.x, p.x) << c.cell;
        EXPECT_EQ(c.want.y, p.y) << c.cell;
    }
}

}  // namespace
