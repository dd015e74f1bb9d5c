#include "kit/ShadowWnd.h"

namespace {

const UINT_PTR kRepaintTimer = 9000;
const UINT kRepaintPeriodMs = 10;

}  // namespace

void CShadowWnd::SetDrawInfo(LPCSTR imageString)
{
    m_drawInfo.Clear();
    m_drawInfo.Parse(imageString);
    m_dirty = true;
}

LRESULT CShadowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
        case WM_CREATE:
            // The manager only resolves the picture; it draws nothing itself.
            m_pm.Init(m_hWnd);
            ::SetTimer(m_hWnd, kRepaintTimer, kRepaintPeriodMs, nullptr);
            break;
        case WM_SIZE:
            m_dirty = true;
            break;
        case WM_CLOSE:
            ::KillTimer(m_hWnd, kRepaintTimer);
            break;
        case WM_TIMER:
            if (wParam == kRepaintTimer && m_dirty && !::IsIconic(m_hWnd)) Repaint();
            break;
        default:
            break;
    }
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CShadowWnd::Repaint()
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int w = client.right, h = client.bottom;
    m_dirty = false;
    if (w <= 0 || h <= 0) return;
    HDC screen = ::GetDC(m_hWnd);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = (DWORD)(w * h * 4);
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp && bits) {
        memset(bits, 0, (size_t)w * h * 4);  // fully transparent where nothing is drawn
        HGDIOBJ old = ::SelectObject(mem, bmp);
        DuiLib::CRenderEngine::DrawImage(mem, &m_pm, client, client, m_drawInfo);
        ::GdiFlush();
        const DWORD* px = static_cast<const DWORD*>(bits);
        m_surface.assign(px, px + (size_t)w * h);
        m_surfaceSize = {w, h};
        RECT onScreen;
        ::GetWindowRect(m_hWnd, &onScreen);
        POINT at = {onScreen.left, onScreen.top}, origin = {0, 0};
        SIZE size = {w, h};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hWnd, screen, &at, &size, mem, &origin, 0, &blend, ULW_ALPHA);
        ::SelectObject(mem, old);
    }
    if (bmp) ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(m_hWnd, screen);
}

void CShadowWnd::OnFinalMessage(HWND)
{
    delete this;
}
