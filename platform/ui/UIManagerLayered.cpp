// Per-pixel layered windows: the control tree drawn into a 32-bit surface
// with alpha and handed to UpdateLayeredWindow. Such a window gets no
// WM_PAINT to rely on, so every invalidation posts one render message.
#include "platform/ui/UIManager.h"

#include "platform/ui/UIControl.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIManagerInternal.h"

#include <cstring>

namespace DuiLib {

void CPaintManagerUI::SetLayered(bool bLayered)
{
    if (m_bLayered == bLayered) {
        if (bLayered) Invalidate();
        return;
    }
    m_bLayered = bLayered;
    if (!m_hWndPaint) return;
    LONG ex = ::GetWindowLongA(m_hWndPaint, GWL_EXSTYLE);
    if (bLayered) {
        // A window made layered through SetLayeredWindowAttributes accepts
        // UpdateLayeredWindow only once the style has been set anew.
        if (ex & WS_EX_LAYERED) ::SetWindowLongA(m_hWndPaint, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
        ::SetWindowLongA(m_hWndPaint, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        m_bLayeredRenderPosted = false;
        Invalidate();
        return;
    }
    ::SetWindowLongA(m_hWndPaint, GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
    if (m_nOpacity < 255) {
        ::SetWindowLongA(m_hWndPaint, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hWndPaint, 0, m_nOpacity, LWA_ALPHA);
    }
    ReleaseLayeredSurface();
    ::RedrawWindow(m_hWndPaint, nullptr, nullptr,
                   RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CPaintManagerUI::ReleaseLayeredSurface()
{
    if (m_pLayeredSurface) FreeImage(m_pLayeredSurface);
    m_pLayeredSurface = nullptr;
}

void CPaintManagerUI::RenderLayered()
{
    m_bLayeredRenderPosted = false;
    if (!m_bLayered || !m_pRoot || !m_hWndPaint || !::IsWindow(m_hWndPaint)) return;
    if (::IsIconic(m_hWndPaint)) return;
    UpdateLayout();
    RECT rcWindow;
    ::GetWindowRect(m_hWndPaint, &rcWindow);
    int cx = rcWindow.right - rcWindow.left, cy = rcWindow.bottom - rcWindow.top;
    if (cx <= 0 || cy <= 0) return;
    if (!m_pLayeredSurface || m_pLayeredSurface->nX != cx || m_pLayeredSurface->nY != cy) {
        ReleaseLayeredSurface();
        m_pLayeredSurface = CreateImage(cx, cy);
        if (!m_pLayeredSurface) {
            UiLogError("layered window: no %dx%d surface", cx, cy);
            return;
        }
    }
    ::GdiFlush();
    memset(m_pLayeredSurface->pBits, 0, (size_t)cx * cy * 4);
    HDC hdc = ::CreateCompatibleDC(m_hDcPaint);
    HGDIOBJ old = ::SelectObject(hdc, m_pLayeredSurface->hBitmap);
    // Controls are placed in client coordinates; the surface is the window.
    POINT client = {0, 0};
    ::ClientToScreen(m_hWndPaint, &client);
    POINT origin = {client.x - rcWindow.left, client.y - rcWindow.top};
    ::SetViewportOrgEx(hdc, origin.x, origin.y, nullptr);
    RECT rcClient;
    ::GetClientRect(m_hWndPaint, &rcClient);
    Render(hdc, rcClient);
    ::SetViewportOrgEx(hdc, 0, 0, nullptr);
    ::GdiFlush();

    POINT ptDst = {rcWindow.left, rcWindow.top};
    POINT ptSrc = {0, 0};
    SIZE size = {cx, cy};
    BLENDFUNCTION bf = {AC_SRC_OVER, 0, m_nOpacity, AC_SRC_ALPHA};
    if (!::UpdateLayeredWindow(m_hWndPaint, nullptr, &ptDst, &size, hdc, &ptSrc, 0, &bf,
                               ULW_ALPHA) &&
        !m_bLayeredErrorLogged) {
        m_bLayeredErrorLogged = true;
        UiLogError("UpdateLayeredWindow failed (%lu)", ::GetLastError());
    }
    ::SelectObject(hdc, old);
    ::DeleteDC(hdc);
}

}  // namespace DuiLib
