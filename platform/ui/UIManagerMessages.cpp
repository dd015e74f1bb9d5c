// The paint manager's handling of window messages: painting through a back
// buffer, mouse and keyboard routing to controls, tooltips, control timers
// and the library's own posted messages.
#include "platform/TestHooks.h"
#include "platform/ui/UIManager.h"

#include "platform/ui/UIControl.h"
#include "platform/ui/UIGeometry.h"
#include "platform/ui/UIManagerInternal.h"
#include "platform/ui/UIRender.h"

#include <commctrl.h>

#include <algorithm>

namespace DuiLib {

namespace {

const int kTooltipMaxWidth = 400;

}  // namespace

bool CPaintManagerUI::EnsureBackBuffer(int cx, int cy)
{
    if (m_hDcOffscreen && m_szOffscreen.cx >= cx && m_szOffscreen.cy >= cy) return true;
    ReleaseBackBuffer();
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    m_hbmpOffscreen = ::CreateDIBSection(m_hDcPaint, &bmi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!m_hbmpOffscreen) return false;
    m_hDcOffscreen = ::CreateCompatibleDC(m_hDcPaint);
    m_hbmpOffscreenOld = (HBITMAP)::SelectObject(m_hDcOffscreen, m_hbmpOffscreen);
    m_szOffscreen = {cx, cy};
    return true;
}

void CPaintManagerUI::ReleaseBackBuffer()
{
    if (m_hDcOffscreen) {
        ::SelectObject(m_hDcOffscreen, m_hbmpOffscreenOld);
        ::DeleteDC(m_hDcOffscreen);
    }
    if (m_hbmpOffscreen) ::DeleteObject(m_hbmpOffscreen);
    m_hDcOffscreen = nullptr;
    m_hbmpOffscreen = nullptr;
    m_hbmpOffscreenOld = nullptr;
    m_szOffscreen = {0, 0};
}

bool CPaintManagerUI::OnPaint()
{
    if (!m_pRoot) return false;
    if (m_bLayered) {
        // The surface is drawn by the render message, not here.
        ::ValidateRect(m_hWndPaint, nullptr);
        Invalidate();
        return true;
    }
    if (m_bUpdateNeeded) {
        UpdateLayout();
        // Positions may have moved anywhere: paint the whole window.
        ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    }
    PAINTSTRUCT ps;
    HDC hDC = ::BeginPaint(m_hWndPaint, &ps);
    RECT rcClient;
    ::GetClientRect(m_hWndPaint, &rcClient);
    RECT rcPaint;
    if (::IntersectRect(&rcPaint, &ps.rcPaint, &rcClient) &&
        EnsureBackBuffer(rcClient.right, rcClient.bottom)) {
        // Every paint starts from a blank (transparent black) area.
        ::PatBlt(m_hDcOffscreen, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left,
                 rcPaint.bottom - rcPaint.top, BLACKNESS);
        Render(m_hDcOffscreen, rcPaint);
        if (!::IsRectEmpty(&m_rcUnpainted))
            ::ExcludeClipRect(hDC, m_rcUnpainted.left, m_rcUnpainted.top, m_rcUnpainted.right,
                              m_rcUnpainted.bottom);
        ::BitBlt(hDC, rcPaint.left, rcPaint.top, rcPaint.right - rcPaint.left,
                 rcPaint.bottom - rcPaint.top, m_hDcOffscreen, rcPaint.left, rcPaint.top, SRCCOPY);
    }
    ::EndPaint(m_hWndPaint, &ps);
    return true;
}

void CPaintManagerUI::ShowToolTip(CControlUI* pControl, POINT pt)
{
    CDuiString tip = pControl->GetToolTip();
    if (tip.IsEmpty()) {
        HideToolTip();
        return;
    }
    if (!m_hwndTooltip) {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_hwndTooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                          WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                          nullptr, GetInstance(), nullptr);
        if (!m_hwndTooltip) return;
        ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, kTooltipMaxWidth);
    }
    std::wstring text = AnsiToWide(tip);
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
    ti.hwnd = m_hWndPaint;
    ti.uId = 1;
    ti.hinst = GetInstance();
    ti.lpszText = &text[0];
    ti.rect = pControl->GetPos();
    if (!m_pTooltipOwner)
        ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, (LPARAM)&ti);
    else
        ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, (LPARAM)&ti);
    m_pTooltipOwner = pControl;
    POINT screen = pt;
    ::ClientToScreen(m_hWndPaint, &screen);
    ::SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0,
                   MAKELPARAM(screen.x, screen.y + ::GetSystemMetrics(SM_CYCURSOR) / 2 + 4));
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, (LPARAM)&ti);
}

void CPaintManagerUI::HideToolTip()
{
    if (!m_hwndTooltip || !m_pTooltipOwner) return;
    TTTOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.hwnd = m_hWndPaint;
    ti.uId = 1;
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, (LPARAM)&ti);
    ::SendMessageW(m_hwndTooltip, TTM_DELTOOLW, 0, (LPARAM)&ti);
    m_pTooltipOwner = nullptr;
}

bool CPaintManagerUI::OnMouseMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    switch (uMsg) {
        case WM_MOUSEMOVE: {
            if (!m_bMouseTracking) {
                TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWndPaint,
                                       HOVER_DEFAULT};
                ::TrackMouseEvent(&tme);
                m_bMouseTracking = true;
            }
            POINT pt = CDuiPoint(lParam);
            m_ptLastMousePos = pt;
            CControlUI* pNewHover = FindControl(pt);
            if (pNewHover != m_pEventHover) {
                HideToolTip();
                if (m_pEventHover) {
                    CControlUI* old = m_pEventHover;
                    m_pEventHover = nullptr;
                    EventTo(old, UIEVENT_MOUSELEAVE, pt, wParam, lParam);
                }
                if (pNewHover) {
                    m_pEventHover = pNewHover;
                    EventTo(pNewHover, UIEVENT_MOUSEENTER, pt, wParam, lParam);
                    // Hovering again over a new control shows its tooltip.
                    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWndPaint,
                                           HOVER_DEFAULT};
                    ::TrackMouseEvent(&tme);
                }
            }
            if (m_pEventClick)
                EventTo(m_pEventClick, UIEVENT_MOUSEMOVE, pt, wParam, lParam);
            else if (m_pEventHover)
                EventTo(m_pEventHover, UIEVENT_MOUSEMOVE, pt, wParam, lParam);
            return false;
        }
        case WM_MOUSEHOVER: {
            m_bMouseTracking = false;
            POINT pt = CDuiPoint(lParam);
            CControlUI* p = FindControl(pt);
            if (!p) return false;
            if (m_pEventHover) EventTo(m_pEventHover, UIEVENT_MOUSEHOVER, pt, wParam, lParam);
            if (!m_pEventClick) ShowToolTip(p, pt);
            return true;
        }
        case WM_MOUSELEAVE: {
            m_bMouseTracking = false;
            HideToolTip();
            if (m_pEventHover && !m_pEventClick) {
                CControlUI* old = m_pEventHover;
                m_pEventHover = nullptr;
                EventTo(old, UIEVENT_MOUSELEAVE, m_ptLastMousePos, wParam, lParam);
            }
            return false;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            if (!m_bNoActivate && IsUIThread() && ::GetFocus() != m_hWndPaint)
                ::SetFocus(m_hWndPaint);
            POINT pt = CDuiPoint(lParam);
            m_ptLastMousePos = pt;
            CControlUI* p = FindControl(pt);
            if (!p || p->GetManager() != this) return false;
            HideToolTip();
            if (p->IsEnabled()) SetFocus(p);
            // The focus events may have changed the tree.
            p = FindControl(pt);
            if (!p) return false;
            m_pEventClick = p;
            SetCapture();
            EventTo(p, uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, pt, wParam,
                    lParam);
            return false;
        }
        case WM_LBUTTONUP: {
            POINT pt = CDuiPoint(lParam);
            m_ptLastMousePos = pt;
            CControlUI* p = m_pEventClick;
            // Cleared first: releasing the capture sends WM_CAPTURECHANGED.
            m_pEventClick = nullptr;
            ReleaseCapture();
            if (p) EventTo(p, UIEVENT_BUTTONUP, pt, wParam, lParam);
            return false;
        }
        case WM_CAPTURECHANGED: {
            // Capture taken away mid-press (a menu, a message box): the press
            // ends without a click.
            if ((HWND)lParam != m_hWndPaint && m_pEventClick) {
                CControlUI* p = m_pEventClick;
                m_pEventClick = nullptr;
                EventTo(p, UIEVENT_BUTTONUP, {-1, -1}, 0, 0);
            }
            return false;
        }
        case WM_RBUTTONDOWN: {
            if (!m_bNoActivate && IsUIThread() && ::GetFocus() != m_hWndPaint)
                ::SetFocus(m_hWndPaint);
            POINT pt = CDuiPoint(lParam);
            m_ptLastMousePos = pt;
            CControlUI* p = FindControl(pt);
            if (!p || p->GetManager() != this) return false;
            HideToolTip();
            if (p->IsEnabled()) SetFocus(p);
            EventTo(p, UIEVENT_RBUTTONDOWN, pt, wParam, lParam);
            return false;
        }
        case WM_CONTEXTMENU: {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            CControlUI* p = nullptr;
            if (lParam == -1) {
                // From the keyboard: the focused control, at its centre.
                p = m_pFocus;
                if (p) {
                    const RECT& rc = p->GetPos();
                    pt = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
                }
            } else {
                ::ScreenToClient(m_hWndPaint, &pt);
                p = FindControl(pt);
            }
            if (!p) return false;
            m_ptLastMousePos = pt;
            EventTo(p, UIEVENT_CONTEXTMENU, pt, wParam, (LPARAM)p);
            lRes = 0;
            return true;
        }
        case WM_MOUSEWHEEL: {
            POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ScreenToClient(m_hWndPaint, &pt);
            m_ptLastMousePos = pt;
            CControlUI* p = FindControl(pt);
            if (!p) return false;
            int delta = (short)HIWORD(wParam);
            EventTo(p, UIEVENT_SCROLLWHEEL, pt, MAKELPARAM(delta < 0 ? SB_LINEDOWN : SB_LINEUP, 0),
                    lParam);
            lRes = 0;
            return true;
        }
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) return false;
            POINT pt;
            ::GetCursorPos(&pt);
            ::ScreenToClient(m_hWndPaint, &pt);
            CControlUI* p = FindControl(pt);
            // Without a control that asks, the class cursor applies.
            if (!p || !(p->GetControlFlags() & UIFLAG_SETCURSOR)) return false;
            EventTo(p, UIEVENT_SETCURSOR, pt, wParam, lParam);
            lRes = TRUE;
            return true;
        }
        default:
            return false;
    }
}

bool CPaintManagerUI::OnKeyMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
        case WM_KEYDOWN:
            if (!m_pFocus) return false;
            m_pEventKey = m_pFocus;
            EventTo(m_pFocus, UIEVENT_KEYDOWN, m_ptLastMousePos, wParam, lParam);
            return false;
        case WM_KEYUP:
            if (!m_pEventKey) return false;
            EventTo(m_pEventKey, UIEVENT_KEYUP, m_ptLastMousePos, wParam, lParam);
            m_pEventKey = nullptr;
            return false;
        case WM_CHAR:
            if (!m_pFocus) return false;
            EventTo(m_pFocus, UIEVENT_CHAR, m_ptLastMousePos, wParam, lParam);
            return false;
        default:
            return false;
    }
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes)
{
    if (!m_hWndPaint) return false;
    // Filters first (the window's own default keys, for one).
    std::vector<IMessageFilterUI*> filters = m_messageFilters;
    for (IMessageFilterUI* f : filters) {
        if (std::find(m_messageFilters.begin(), m_messageFilters.end(), f) ==
            m_messageFilters.end())
            continue;
        bool bHandled = false;
        LRESULT r = f->MessageHandler(uMsg, wParam, lParam, bHandled);
        if (bHandled) {
            lRes = r;
            return true;
        }
    }

    if (uMsg == UiInternalMessage(UiMessage::WindowInit)) {
        if (m_pRoot && !m_bWindowInitDone) {
            m_bWindowInitDone = true;
            UpdateLayout();
            SendNotify(m_pRoot, DUI_MSGTYPE_WINDOWINIT);
        }
        lRes = 0;
        return true;
    }
    if (uMsg == UiInternalMessage(UiMessage::PostedNotify)) {
        DeliverPostedNotify(lParam);
        lRes = 0;
        return true;
    }
    if (uMsg == UiInternalMessage(UiMessage::AsyncNotify)) {
        FlushAsyncNotify();
        lRes = 0;
        return true;
    }
    if (uMsg == UiInternalMessage(UiMessage::Cleanup)) {
        FlushDelayedCleanup();
        lRes = 0;
        return true;
    }
    if (uMsg == UiInternalMessage(UiMessage::LayeredRender)) {
        RenderLayered();
        lRes = 0;
        return true;
    }
#ifdef ORBISK_TEST_HOOKS
    if (TestHooksOn() && HandleUiProbe(*this, uMsg, wParam, lParam, lRes)) return true;
#endif

    switch (uMsg) {
        case WM_COMMAND:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC: {
            // A control's native child: its notifications go back to it.
            HWND child = (HWND)lParam;
            if (!child || !::IsWindow(child) || !::GetPropA(child, ORBISK_UI_NATIVE_PROP))
                return false;
            lRes = ::SendMessageA(child, kUiReflectBase + uMsg, wParam, lParam);
            return true;
        }
        case WM_PAINT:
            if (!OnPaint()) return false;
            lRes = 0;
            return true;
        case WM_PRINTCLIENT: {
            if (!m_pRoot) return false;
            UpdateLayout();
            RECT rc;
            ::GetClientRect(m_hWndPaint, &rc);
            Render((HDC)wParam, rc);
            lRes = 0;
            return true;
        }
        case WM_MOUSEACTIVATE:
            if (!m_bNoActivate) return false;
            lRes = MA_NOACTIVATE;
            return true;
        case WM_ERASEBKGND:
            if (!m_pRoot) return false;
            lRes = 1;  // the paint covers everything
            return true;
        case WM_SIZE:
            if (m_pFocus) {
                TEventUI e;
                e.Type = UIEVENT_WINDOWSIZE;
                e.pSender = m_pFocus;
                e.dwTimestamp = ::GetTickCount();
                m_pFocus->Event(e);
            }
            if (m_pRoot) NeedUpdate();
            return false;
        case WM_TIMER: {
            for (const TimerInfo& t : m_timers) {
                if (t.uWinTimer == (UINT)wParam) {
                    CControlUI* p = t.pSender;
                    EventTo(p, UIEVENT_TIMER, m_ptLastMousePos, t.nLocalID, 0);
                    lRes = 0;
                    return true;
                }
            }
            return false;
        }
        case WM_KILLFOCUS:
            if (m_pEventClick && (HWND)wParam != m_hWndPaint) {
                CControlUI* p = m_pEventClick;
                m_pEventClick = nullptr;
                ReleaseCapture();
                EventTo(p, UIEVENT_BUTTONUP, {-1, -1}, 0, 0);
            }
            return false;
        case WM_DESTROY:
            // The window's DC, timers and tooltip end with the window.
            HideToolTip();
            if (m_hwndTooltip && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
            m_hwndTooltip = nullptr;
            RemoveAllTimers();
            ReleaseBackBuffer();
            if (m_hDcPaint) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
            m_hDcPaint = nullptr;
            return false;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
            return OnKeyMessage(uMsg, wParam, lParam);
        default:
            return OnMouseMessage(uMsg, wParam, lParam, lRes);
    }
}

}  // namespace DuiLib
