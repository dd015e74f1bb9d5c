#include "drawing/windows/WhiteboardLogic.h"

#include <cstring>

RECT BoardCanvasRect(SIZE client)
{
    RECT rc = {kBoardInsetLeft, kBoardInsetTop, client.cx - kBoardInsetRight,
               client.cy - kBoardInsetBottom};
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

SIZE BoardCanvasSize(SIZE client)
{
    RECT rc = BoardCanvasRect(client);
    return {rc.right - rc.left, rc.bottom - rc.top};
}

SIZE BoardFrameSizeFor(int canvasWidth, int canvasHeight)
{
    return {canvasWidth + kBoardInsetLeft + kBoardInsetRight,
            canvasHeight + kBoardInsetTop + kBoardInsetBottom};
}

int NextModeOnDrawingToggle(int mode)
{
    switch (mode) {
        case kBoardTransparent: return kBoardSnapshot;
        case kBoardSnapshot: return kBoardTransparent;
        case kBoardSlides: return kBoardSlidesAndTools;
        case kBoardSlidesAndTools: return kBoardSlides;
    }
    return mode;
}

int NextModeOnPresentationToggle(int mode)
{
    switch (mode) {
        case kBoardTransparent: return kBoardSlides;
        case kBoardSlides: return kBoardTransparent;
        case kBoardSnapshot: return kBoardSlidesAndTools;
        case kBoardSlidesAndTools: return kBoardSnapshot;
    }
    return mode;
}

bool ModeShowsSlides(int mode)
{
    return mode == kBoardSlides || mode == kBoardSlidesAndTools;
}

bool ModeIsLayered(int mode)
{
    return mode == kBoardTransparent;
}

int BoardToolWidth(int mode)
{
    switch (mode) {
        case kBoardSlidesAndTools: return 200;
        case kBoardSlides: return 164;
        case kBoardSnapshot: return 36;
    }
    return 0;
}

RECT PlaceBoardToolWindow(POINT corner, int mode, int screenWidth)
{
    int width = BoardToolWidth(mode);
    int x = corner.x, y = corner.y;
    if (x > screenWidth - width) {
        x = screenWidth - (width + 50);
        y += 50;
    }
    if (y < 0) y = 0;
    return {x, y, width, kBoardToolHeight};
}

int WheelSlideIndex(int index, int count, int wheelDelta)
{
    if (count <= 0) return 0;
    int next = wheelDelta <= 0 ? index + 1 : index - 1;
    if (next < 0) next = 0;
    if (next > count - 1) next = count - 1;
    return next;
}

bool BoardPresetSize(const char* item, SIZE* canvas)
{
    static const struct {
        const char* name;
        SIZE size;
    } presets[] = {{"640X360", {640, 360}},   {"800X480", {800, 480}},  {"800X600", {800, 600}},
                   {"1024X768", {1024, 768}}, {"1280X720", {1280, 720}}};
    for (const auto& p : presets) {
        if (item && !strcmp(item, p.name)) {
            *canvas = p.size;
            return true;
        }
    }
    return false;
}
