// The whiteboard's arithmetic: canvas and presets, the modes, where the
// tool window goes and how the wheel pages.
#include <gtest/gtest.h>

#include "drawing/windows/WhiteboardLogic.h"

namespace {

TEST(WhiteboardLogicTest, EveryPresetFramesACanvasOfExactlyItsSize)
{
    for (const char* item : {"640X360", "800X480", "800X600", "1024X768", "1280X720"}) {
        SIZE canvas = {0, 0};
        ASSERT_TRUE(BoardPresetSize(item, &canvas)) << item;
        SIZE frame = BoardFrameSizeFor(canvas.cx, canvas.cy);
        SIZE back = BoardCanvasSize(frame);
        EXPECT_EQ(canvas.cx, back.cx) << item;
        EXPECT_EQ(canvas.cy, back.cy) << item;
        char label[32];
        snprintf(label, sizeof label, "%ldX%ld", back.cx, back.cy);
        EXPECT_STREQ(item, label);
    }
    SIZE none;
    EXPECT_FALSE(BoardPresetSize("800x480", &none));
    // A frame smaller than its strip and border has an empty canvas.
    RECT tiny = BoardCanvasRect({6, 20});
    EXPECT_EQ(tiny.left, tiny.right);
    EXPECT_EQ(tiny.top, tiny.bottom);
}

TEST(WhiteboardLogicTest, ModesToggleInPairsAndOnlyTheTransparentOneIsLayered)
{
    for (int mode : {kBoardSlides, kBoardSnapshot, kBoardSlidesAndTools, kBoardTransparent}) {
        EXPECT_EQ(mode, NextModeOnDrawingToggle(NextModeOnDrawingToggle(mode)));
        EXPECT_EQ(mode, NextModeOnPresentationToggle(NextModeOnPresentationToggle(mode)));
        // Each toggle changes exactly its own half: drawing, or slides.
        EXPECT_EQ(ModeShowsSlides(mode), ModeShowsSlides(NextModeOnDrawingToggle(mode)));
        EXPECT_NE(ModeShowsSlides(mode), ModeShowsSlides(NextModeOnPresentationToggle(mode)));
        EXPECT_EQ(mode == kBoardTransparent, ModeIsLayered(mode));
        EXPECT_EQ(mode == kBoardTransparent, BoardToolWidth(mode) == 0);
    }
    EXPECT_EQ(kBoardSlidesAndTools,
              NextModeOnPresentationToggle(NextModeOnDrawingToggle(kBoardTransparent)));
}

TEST(WhiteboardLogicTest, ToolWindowStaysOnTheScreenAndTheWheelWithinTheSlides)
{
    RECT beside = PlaceBoardToolWindow({900, 100}, kBoardSlidesAndTools, 1280);
    EXPECT_EQ(900, beside.left);
    EXPECT_EQ(100, beside.top);
    RECT inside = PlaceBoardToolWindow({1200, 100}, kBoardSlidesAndTools, 1280);
    EXPECT_EQ(1280 - 250, inside.left);
    EXPECT_EQ(150, inside.top);
    EXPECT_EQ(200, inside.right);
    EXPECT_EQ(400, inside.bottom);
    EXPECT_EQ(1280 - 86, PlaceBoardToolWindow({1270, -30}, kBoardSnapshot, 1280).left);
    EXPECT_EQ(0, PlaceBoardToolWindow({10, -30}, kBoardSnapshot, 1280).top);

    EXPECT_EQ(1, WheelSlideIndex(0, 10, -120));
    EXPECT_EQ(9, WheelSlideIndex(9, 10, -120));
    EXPECT_EQ(0, WheelSlideIndex(0, 10, 120));
    EXPECT_EQ(0, WheelSlideIndex(0, 0, -120)) << "no slides: no index below 0";
}

}  // namespace
