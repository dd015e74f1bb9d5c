#include "recorder/windows/FlashWnd.h"

#include "kit/WindowTable.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/windows/RegionGeometry.h"

namespace {

// Shown after it is placed, without taking the keyboard from what is being
// recorded.
const DWORD kFlashStyle = WS_OVERLAPPEDWINDOW;
const DWORD kFlashExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

SIZE ScreenSize()
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The real-time graffiti canvas, when it is open, draws over the recorded
// area: it goes where the area goes, on top.
void MoveRealtimeGraffiti(const RECT& rect)
{
    DuiLib::CWindowWnd* canvas = GetWindowTable().Current(WindowId::RealtimeGraffiti);
    if (!canvas || !::IsWindow(canvas->GetHWND())) return;
    ::SetWindowPos(canvas->GetHWND(), HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace

FlashWnd::FlashWnd(const RECT& region) : SkinWindow({"flash_wnd.xml", nullptr}), m_region(region)
{
    Create(nullptr, "FlashWnd", kFlashStyle, kFlashExStyle);
    ShowWindow(true, false);
}

RECT FlashWnd::GetRegionInset() const
{
    RECT inset = m_region;
    InflateRect(&inset, -kFlashFrameWidth, -kFlashFrameWidth);
    return inset;
}

void FlashWnd::MoveToRect(const RECT& rect)
{
    ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 FALSE);
}

void FlashWnd::InitWindow()
{
    SkinWindow::InitWindow();
    MoveToRect(m_region);
    CutOutInside();
}

void FlashWnd::OnWindowInit()
{
    m_bInitialised = 1;
}

void FlashWnd::CutOutInside()
{
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    HRGN frame = ::CreateRectRgn(0, 0, w, h);
    HRGN inside = ::CreateRectRgn(kFlashFrameWidth, kFlashFrameWidth, w - kFlashFrameWidth,
                                  h - kFlashFrameWidth);
    if (frame && inside) ::CombineRgn(frame, frame, inside, RGN_DIFF);
    if (inside) ::DeleteObject(inside);
    // The window owns the region from here.
    if (frame && !::SetWindowRgn(m_hWnd, frame, TRUE)) ::DeleteObject(frame);
}

LRESULT FlashWnd::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return FlashFrameHitTest(pt, {client.right, client.bottom});
}

void FlashWnd::FollowOwnRectangle()
{
    // Moving the window to its own rectangle below comes back here.
    if (m_bInMove) return;
    m_bInMove = true;
    ::GetWindowRect(m_hWnd, &m_region);
    // Once the user has taken hold of the frame it is theirs: the recorded
    // window no longer pulls it back.
    if (m_bMoving) EndWindowFollow();
    // A hidden frame (its window left the screen) does not decide what is
    // recorded; the window follow does.
    if (::IsWindowVisible(m_hWnd)) {
        RECT capture = FrameCaptureRect(m_region);
        if (IsRecordableRect(capture)) SetCaptureRect(capture);
        MoveRealtimeGraffiti(GetRegionInset());
    }
    MoveToRect(m_region);
    m_bInMove = false;
}

LRESULT FlashWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    switch (uMsg) {
        case WM_SETCURSOR:
            // Anywhere but a corner the frame is dragged.
            if (LOWORD(lParam) == HTCAPTION) {
                ::SetCursor(::LoadCursor(nullptr, IDC_SIZEALL));
                bHandled = TRUE;
                return TRUE;
            }
            break;
        case WM_WINDOWPOSCHANGING: {
            auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
            if (pos->flags & SWP_NOMOVE) break;
            SIZE size = {pos->cx, pos->cy};
            if (pos->flags & SWP_NOSIZE) {
                RECT rc;
                ::GetWindowRect(m_hWnd, &rc);
                size = {rc.right - rc.left, rc.bottom - rc.top};
            }
            POINT at = ClampFramePosition({pos->x, pos->y}, size, ScreenSize());
            pos->x = at.x;
            pos->y = at.y;
            break;
        }
        case WM_NCLBUTTONDOWN:
            m_bMoving = 1;
            break;
        case WM_MOVE:
            FollowOwnRectangle();
            break;
        case WM_SIZE:
            if (m_bInitialised && wParam != SIZE_MINIMIZED) {
                CutOutInside();
                FollowOwnRectangle();
            }
            break;
        default:
            break;
    }
    return 0;
}
