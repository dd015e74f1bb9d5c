// A top-most window of the test process, on a thread of its own, that puts
// a known picture on the screen: a fixed pattern at a known place (to check
// a screenshot's pixels) or a picture that changes all the time (to tell a
// frozen stretch of a recording from a live one).
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

namespace testkit {

class ScreenWindow {
public:
    enum class Picture { Pattern, Moving };

    // rect in screen coordinates; returns once the window has been painted.
    ScreenWindow(Picture picture, const RECT& rect);
    ~ScreenWindow();
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    // The pattern's colour (0x00RRGGBB) at (x, y) of the window.
    static unsigned PatternAt(int x, int y);

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    Picture m_picture;
    std::thread m_thread;
    std::atomic<HWND> m_hwnd{nullptr};
};

}  // namespace testkit
