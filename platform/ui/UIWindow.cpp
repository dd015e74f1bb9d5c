#include "platform/ui/UIWindow.h"

#include "platform/ui/UIManager.h"

namespace DuiLib {

bool CWindowWnd::RegisterWindowClass()
{
    WNDCLASSA wc = {};
    wc.style = GetClassStyle();
    wc.lpfnWndProc = CWindowWnd::__WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassA(&wc)) return true;
    // Several window objects share one class name.
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass()
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (!::GetClassInfoExA(nullptr, GetSuperClassName(), &wc) &&
        !::GetClassInfoExA(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc))
        return false;
    m_OldWndProc = wc.lpfnWndProc;
    wc.lpfnWndProc = CWindowWnd::__WndProc;
    wc.hInstance = CPaintManagerUI::GetInstance();
    wc.lpszClassName = GetWindowClassName();
    if (::RegisterClassExA(&wc)) return true;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, LPCSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rc, HMENU hMenu)
{
    return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, LPCSTR pstrName, DWORD dwStyle, DWORD dwExStyle, int x,
                        int y, int cx, int cy, HMENU hMenu)
{
    if (GetSuperClassName() != nullptr ? !RegisterSuperclass() : !RegisterWindowClass())
        return nullptr;
    m_hWnd = ::CreateWindowExA(dwExStyle, GetWindowClassName(), pstrName, dwStyle, x, y, cx, cy,
                               hwndParent, hMenu, CPaintManagerUI::GetInstance(), this);
    return m_hWnd;
}

LRESULT CALLBACK CWindowWnd::__WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWindowWnd* pThis = nullptr;
    if (uMsg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<LPCREATESTRUCTA>(lParam);
        pThis = static_cast<CWindowWnd*>(cs->lpCreateParams);
        if (pThis) {
            pThis->m_hWnd = hWnd;
            ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
        }
    } else {
        pThis = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    }
    if (!pThis) return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);

    ++pThis->m_nDispatchDepth;
    LRESULT lRes = pThis->HandleMessage(uMsg, wParam, lParam);
    --pThis->m_nDispatchDepth;

    if (uMsg == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pThis->m_hWnd = nullptr;
        pThis->m_bFinalPending = true;
        pThis->m_hWndFinal = hWnd;
    }
    if (pThis->m_bFinalPending && pThis->m_nDispatchDepth == 0) {
        pThis->m_bFinalPending = false;
        pThis->OnFinalMessage(pThis->m_hWndFinal);  // may delete pThis
    }
    return lRes;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcA(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ShowWindow(bool bShow, bool bTakeFocus)
{
    if (!::IsWindow(m_hWnd)) return;
    ::ShowWindow(m_hWnd, bShow ? (bTakeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal()
{
    // Locals only: the object is usually deleted on its final message,
    // inside the loop below.
    HWND hWnd = m_hWnd;
    if (!::IsWindow(hWnd)) return 0;
    HWND hWndOwner = ::GetWindow(hWnd, GW_OWNER);
    ::ShowWindow(hWnd, SW_SHOWNORMAL);
    if (hWndOwner) ::EnableWindow(hWndOwner, FALSE);
    UINT nRet = 0;
    bool quit = false;
    WPARAM quitCode = 0;
    MSG msg = {};
    while (::IsWindow(hWnd)) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (got < 0) break;
        if (msg.message == WM_CLOSE && msg.hwnd == hWnd) {
            nRet = (UINT)msg.wParam;
            // Before the window goes, so activation returns to the owner.
            if (hWndOwner) {
                ::EnableWindow(hWndOwner, TRUE);
                ::SetFocus(hWndOwner);
            }
        }
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (hWndOwner) {
        ::EnableWindow(hWndOwner, TRUE);
        ::SetFocus(hWndOwner);
    }
    if (quit) ::PostQuitMessage((int)quitCode);
    return nRet;
}

void CWindowWnd::Close(UINT nRet)
{
    if (::IsWindow(m_hWnd)) ::PostMessageA(m_hWnd, WM_CLOSE, (WPARAM)nRet, 0);
}

void CWindowWnd::CenterWindow()
{
    if (!::IsWindow(m_hWnd)) return;
    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    HWND hWndCenter = ::GetWindow(m_hWnd, GW_OWNER);
    if (hWndCenter && (!::IsWindowVisible(hWndCenter) || ::IsIconic(hWndCenter)))
        hWndCenter = nullptr;

    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(
        ::MonitorFromWindow(hWndCenter ? hWndCenter : m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    RECT rcArea = mi.rcWork;
    RECT rcCenter = rcArea;
    if (hWndCenter) ::GetWindowRect(hWndCenter, &rcCenter);

    int w = rcDlg.right - rcDlg.left;
    int h = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - w / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - h / 2;
    if (x + w > rcArea.right) x = rcArea.right - w;
    if (x < rcArea.left) x = rcArea.left;
    if (y + h > rcArea.bottom) y = rcArea.bottom - h;
    if (y < rcArea.top) y = rcArea.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes)
{
    HINSTANCE inst = CPaintManagerUI::GetInstance();
    HICON big =
        (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(nRes), IMAGE_ICON, ::GetSystemMetrics(SM_CXICON),
                            ::GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR | LR_SHARED);
    HICON small = (HICON)::LoadImageA(inst, MAKEINTRESOURCEA(nRes), IMAGE_ICON,
                                      ::GetSystemMetrics(SM_CXSMICON),
                                      ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR | LR_SHARED);
    if (big) ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, (LPARAM)big);
    if (small) ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, (LPARAM)small);
}

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageA(m_hWnd, uMsg, wParam, lParam);
}

void CWindowWnd::ResizeClient(int cx, int cy)
{
    RECT rcClient, rcWindow;
    if (!::GetClientRect(m_hWnd, &rcClient) || !::GetWindowRect(m_hWnd, &rcWindow)) return;
    int frameX = (rcWindow.right - rcWindow.left) - rcClient.right;
    int frameY = (rcWindow.bottom - rcWindow.top) - rcClient.bottom;
    if (cx < 0) cx = rcClient.right;
    if (cy < 0) cy = rcClient.bottom;
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, cx + frameX, cy + frameY,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

}  // namespace DuiLib
