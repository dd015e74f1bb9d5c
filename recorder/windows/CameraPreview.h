// The camera preview's arithmetic, without a window: where the picture goes
// in the client area, and when the caption bar shows over it.
#pragma once

#include <windows.h>

// The caption bar's height while it shows, and how long it stays at least.
constexpr int kCameraCaptionHeight = 25;
constexpr DWORD kCameraCaptionMinMs = 2000;

// The picture's place in a client area of that size: a pixel in from the
// left, the right and the bottom edges; while the caption bar shows, below
// it and a pixel further in from the right.
RECT CameraPictureRect(int clientWidth, int clientHeight, bool captionShown);

// The caption bar over the preview, ticked by the window's timer: it shows
// when the cursor has moved inside the preview since the last tick, stays
// at least kCameraCaptionMinMs, and goes on the first tick after that on
// which the cursor rested or was outside.
class CameraCaption {
public:
    enum class Action {
        None,  // leave everything as it is
        Show,  // show the bar and move the picture below it
        Hide,  // hide the bar and give the picture the whole area
    };

    // One tick at `now` (milliseconds, GetTickCount's clock) with the
    // cursor at `cursor` in client coordinates, `inside` the client area.
    Action Tick(DWORD now, POINT cursor, bool inside);
    bool Shown() const { return m_shownAt != 0; }

private:
    POINT m_lastCursor = {0, 0};
    DWORD m_shownAt = 0;  // 0: hidden
};
