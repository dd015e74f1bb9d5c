#include "ScreenWindow.h"

#include <cstdio>
#include <cstring>

namespace testkit {

namespace {

const UINT kQuit = WM_APP + 7;
const char kClass[] = "OrbiskTestScreenWindow";

void PaintPattern(HDC dc, const RECT& rc)
{
    // 16 x 16 blocks, each of its own colour, so that a shifted or scaled
    // copy does not match.
    for (int y = 0; y < rc.bottom; y += 16)
        for (int x = 0; x < rc.right; x += 16) {
            unsigned rgb = ScreenWindow::PatternAt(x, y);
            HBRUSH b = CreateSolidBrush(RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
            RECT block = {x, y, x + 16, y + 16};
            FillRect(dc, &block, b);
            DeleteObject(b);
        }
}

void PaintMoving(HDC dc, const RECT& rc)
{
    DWORD t = GetTickCount();
    HBRUSH bg = CreateSolidBrush(RGB((t / 7) % 256, 80, 255 - (t / 11) % 256));
    FillRect(dc, &rc, bg);
    DeleteObject(bg);
    // A bar that crosses the window every two seconds.
    int x = (int)((t % 2000) * (rc.right - 120) / 2000);
    RECT bar = {x, 0, x + 120, rc.bottom};
    FillRect(dc, &bar, (HBRUSH)GetStockObject(WHITE_BRUSH));
    char text[32];
    snprintf(text, sizeof text, "%lu", t);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 40, 40, text, (int)strlen(text));
}

}  // namespace

unsigned ScreenWindow::PatternAt(int x, int y)
{
    unsigned bx = (unsigned)x / 16, by = (unsigned)y / 16;
    return ((bx * 37 + 20) % 256) << 16 | ((by * 53 + 40) % 256) << 8 | ((bx + by) * 29) % 256;
}

ScreenWindow::ScreenWindow(Picture picture, const RECT& rect) : m_picture(picture)
{
    m_thread = std::thread([this, rect] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        HWND h = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, "",
                                 WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(h, GWLP_USERDATA, (LONG_PTR)this);
        ShowWindow(h, SW_SHOWNOACTIVATE);
        UpdateWindow(h);
        if (m_picture == Picture::Moving) SetTimer(h, 1, 10, nullptr);
        m_hwnd = h;
        MSG m;
        while (GetMessageA(&m, nullptr, 0, 0) > 0) {
            if (m.message == kQuit) break;
            DispatchMessageA(&m);
        }
        DestroyWindow(h);
    });
    for (int i = 0; i < 500 && !m_hwnd.load(); ++i) Sleep(10);
    // On the screen before anyone grabs it: a pattern until the screen shows
    // its far corner block (a slow machine maps and paints late).
    if (m_picture == Picture::Pattern) {
        const int x = ((rect.right - rect.left - 1) / 16) * 16, y = ((rect.bottom - rect.top - 1) / 16) * 16;
        const unsigned rgb = PatternAt(x, y);
        const COLORREF want = RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
        HDC screen = GetDC(nullptr);
        for (int i = 0; i < 100 && GetPixel(screen, rect.left + x, rect.top + y) != want; ++i)
            Sleep(50);
        ReleaseDC(nullptr, screen);
    }
    Sleep(300);
}

ScreenWindow::~ScreenWindow()
{
    PostMessageA(m_hwnd, kQuit, 0, 0);
    m_thread.join();
}

LRESULT CALLBACK ScreenWindow::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_TIMER) {
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    }
    if (msg == WM_PAINT) {
        auto* self = reinterpret_cast<ScreenWindow*>(GetWindowLongPtrA(h, GWLP_USERDATA));
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        if (self && self->m_picture == Picture::Moving)
            PaintMoving(dc, rc);
        else
            PaintPattern(dc, rc);
        EndPaint(h, &ps);
        return 0;
    }
    return DefWindowProcA(h, msg, wp, lp);
}

}  // namespace testkit
