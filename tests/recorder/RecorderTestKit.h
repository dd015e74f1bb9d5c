// Helpers of the capture tests: windows of known pixels on the screen, the
// engine set up for one test, pictures written through GDI+, and pixels
// read back from the frame.
#pragma once

#include "recorder/Camera.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

namespace rtk {

// Starts GDI+ for the test program, as the program does at start-up.
void StartGdiplus();

// A topmost window at a screen rectangle, painted by a function in client
// coordinates.
class TestWindow {
public:
    using Painter = std::function<void(HDC, const RECT&)>;
    TestWindow(const RECT& screenRect, Painter paint);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Hwnd() const { return m_hwnd; }
    RECT ScreenRect() const { return m_rect; }
    POINT Centre() const;

private:
    HWND m_hwnd = nullptr;
    RECT m_rect;
    Painter m_paint;
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
};

// A window of one colour.
TestWindow* SolidWindow(const RECT& screenRect, COLORREF colour);

// Handles pending messages for a while (painting, cursor shapes).
void Pump(DWORD ms = 50);

// Resets the engine to defaults with every overlay off and no picture.
void ResetCamera(CCamera& camera);

// Writes an image through GDI+ ("image/png", "image/bmp"); argb(x, y)
// gives each pixel, y from the top.
bool WriteImage(const std::string& path, const wchar_t* mime, int width, int height,
                const std::function<uint32_t(int, int)>& argb);

// A fresh temporary folder for one test.
std::string TempDir(const char* tag);

inline int Red(DWORD rgb)
{
    return (rgb >> 16) & 0xFF;
}
inline int Green(DWORD rgb)
{
    return (rgb >> 8) & 0xFF;
}
inline int Blue(DWORD rgb)
{
    return rgb & 0xFF;
}
inline DWORD Rgb(COLORREF cr)
{
    return (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
}

// Bounding box of the frame's pixels that pass a test; empty when none do.
RECT FindPixels(const FrameImage& frame, const std::function<bool(DWORD)>& match);

}  // namespace rtk
