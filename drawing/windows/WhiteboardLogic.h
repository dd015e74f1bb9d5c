// The whiteboard's arithmetic without a window: where its canvas lies in
// the frame, the frame size for a canvas size, how the modes follow one
// another, where the tool window goes and which slide the wheel leads to.
#pragma once

#include <windows.h>

// What the canvas shows.
enum WhiteboardMode : int {
    kBoardSlides = 0,           // the current slide, drawings on top; slide list only
    kBoardSnapshot = 1,         // a frozen picture of the screen, drawings on top; tools only
    kBoardSlidesAndTools = 2,   // the current slide, drawings on top; tools and slide list
    kBoardTransparent = 3,      // the screen shows through (the frame is layered)
};

// The canvas is the client area less the title strip above and a thin
// border on the other sides. The same insets size the label and the presets,
// so a preset records exactly the size it names.
const int kBoardInsetLeft = 4;
const int kBoardInsetTop = 25;
const int kBoardInsetRight = 4;
const int kBoardInsetBottom = 4;

// The canvas in client coordinates of a client area of that size.
RECT BoardCanvasRect(SIZE client);
SIZE BoardCanvasSize(SIZE client);
// The window size (the frame has no non-client area) whose canvas is W x H.
SIZE BoardFrameSizeFor(int canvasWidth, int canvasHeight);

// The drawing button's and the presentation button's mode changes.
int NextModeOnDrawingToggle(int mode);
int NextModeOnPresentationToggle(int mode);
bool ModeShowsSlides(int mode);
bool ModeIsLayered(int mode);

// The tool window's width in a mode (0 when the mode has none) and height.
int BoardToolWidth(int mode);
const int kBoardToolHeight = 400;
// The tool window's rectangle (left, top, width, height in right, bottom)
// beside a frame whose client top-right corner is at `corner` on the screen:
// kept 50 pixels inside the right edge (and 50 lower) when it would cross
// it.
RECT PlaceBoardToolWindow(POINT corner, int mode, int screenWidth);

// The slide the wheel leads to from `index` among `count` slides: towards
// the user (delta <= 0) the next one, away the previous one, never past the
// first or the last; 0 with no slides.
int WheelSlideIndex(int index, int count, int wheelDelta);

// The size list's items: the canvas size each one names; false for another
// name.
bool BoardPresetSize(const char* item, SIZE* canvas);
