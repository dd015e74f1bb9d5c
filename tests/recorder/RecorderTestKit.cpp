#include "RecorderTestKit.h"

#include "TestKit.h"

#include <gdiplus.h>

#include <memory>

namespace rtk {

namespace {
const wchar_t kClass[] = L"OrbiskCaptureTestWindow";
}

void StartGdiplus()
{
    // For the whole test program: the capture engine keeps GDI+ objects.
    static testkit::GdiplusScope* gdiplus = new testkit::GdiplusScope;
    (void)gdiplus;
}

TestWindow::TestWindow(const RECT& screenRect, Painter paint)
    : m_rect(screenRect), m_paint(std::move(paint))
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
        registered = true;
    }
    m_hwnd = CreateWindowExW(WS_EX_TOPMOST, kClass, L"", WS_POPUP, screenRect.left, screenRect.top,
                             screenRect.right - screenRect.left, screenRect.bottom - screenRect.top,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    UpdateWindow(m_hwnd);
    Pump(100);
}

TestWindow::~TestWindow()
{
    if (m_hwnd) DestroyWindow(m_hwnd);
}

POINT TestWindow::Centre() const
{
    POINT p = {(m_rect.left + m_rect.right) / 2, (m_rect.top + m_rect.bottom) / 2};
    return p;
}

LRESULT CALLBACK TestWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, (LONG_PTR)cs->lpCreateParams);
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            RECT rc;
            GetClientRect(hwnd, &rc);
            if (self && self->m_paint) self->m_paint(dc, rc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TestWindow* SolidWindow(const RECT& screenRect, COLORREF colour)
{
    return new TestWindow(screenRect, [colour](HDC dc, const RECT& rc) {
        HBRUSH b = CreateSolidBrush(colour);
        FillRect(dc, &rc, b);
        DeleteObject(b);
    });
}

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

void ResetCamera(CCamera& camera)
{
    camera.EndRecording();
    camera.m_cursor = CCamCursor();
    camera.m_cursor.m_bDrawCursor = 0;
    camera.m_cursor.m_bHighlight = 0;
    camera.m_cursor.m_bClickEffects = 0;
    camera.m_bCaptionEnabled = FALSE;
    camera.m_caption = CaptionSettings();
    camera.m_bWatermarkEnabled = 0;
    camera.m_watermark = WatermarkSettings();
    camera.m_watermarkImage.Clear();
    camera.m_strWatermarkPath.clear();
}

bool WriteImage(const std::string& path, const wchar_t* mime, int width, int height,
                const std::function<uint32_t(int, int)>& argb)
{
    StartGdiplus();
    Gdiplus::Bitmap bitmap(width, height, PixelFormat32bppARGB);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, Gdiplus::Color(argb(x, y)));
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::unique_ptr<BYTE[]> buffer(new BYTE[size]);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.get());
    Gdiplus::GetImageEncoders(count, size, encoders);
    for (UINT i = 0; i < count; ++i) {
        if (wcscmp(encoders[i].MimeType, mime) == 0) {
            std::wstring wpath(path.begin(), path.end());
            return bitmap.Save(wpath.c_str(), &encoders[i].Clsid, nullptr) == Gdiplus::Ok;
        }
    }
    return false;
}

std::string TempDir(const char* tag)
{
    return testkit::MakeTempDir(tag);
}

RECT FindPixels(const FrameImage& frame, const std::function<bool(DWORD)>& match)
{
    RECT box = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            if (!match(frame.PixelAt(x, y))) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.left == LONG_MAX) SetRectEmpty(&box);
    return box;
}

}  // namespace rtk
