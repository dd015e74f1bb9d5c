// CWindowWnd: one native top-level window owned by a C++ object. The window
// procedure finds the object through GWLP_USERDATA, so several objects may
// share one window class.
#pragma once

#include <windows.h>

#include "platform/ui/UIDefine.h"

namespace DuiLib {

class CWindowWnd {
public:
    CWindowWnd() = default;
    virtual ~CWindowWnd() = default;
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    HWND GetHWND() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Registers the class (an existing class of that name counts as success).
    bool RegisterWindowClass();
    // Registers GetWindowClassName() as a copy of GetSuperClassName().
    bool RegisterSuperclass();

    HWND Create(HWND hwndParent, LPCSTR pstrName, DWORD dwStyle, DWORD dwExStyle, const RECT& rc,
                HMENU hMenu = nullptr);
    HWND Create(HWND hwndParent, LPCSTR pstrName, DWORD dwStyle, DWORD dwExStyle,
                int x = CW_USEDEFAULT, int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT,
                int cy = CW_USEDEFAULT, HMENU hMenu = nullptr);

    void ShowWindow(bool bShow = true, bool bTakeFocus = true);
    // Runs a nested message loop until this window is gone; the owner is
    // disabled meanwhile. Returns the code given to Close. The object may
    // delete itself on its final message: nothing of it is touched after.
    UINT ShowModal();
    // Posts WM_CLOSE carrying nRet (what ShowModal returns).
    void Close(UINT nRet = IDOK);
    // Centres on the owner, or on the work area of the nearest monitor.
    void CenterWindow();
    // Big and small icon from the instance's icon resource.
    void SetIcon(UINT nRes);

    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
    void ResizeClient(int cx = -1, int cy = -1);

    static LRESULT CALLBACK __WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual LPCSTR GetWindowClassName() const = 0;
    virtual LPCSTR GetSuperClassName() const { return nullptr; }
    virtual UINT GetClassStyle() const { return CS_DBLCLKS; }

    virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    // After the native window is gone; windows delete themselves here.
    virtual void OnFinalMessage(HWND hWnd) {}

    HWND m_hWnd = nullptr;
    WNDPROC m_OldWndProc = ::DefWindowProcA;

private:
    // How many calls of the window procedure for this object are on the
    // stack. A window destroyed from inside its own handler (a modal box
    // closing it, Close handled in a nested loop) gets its final message
    // only when the outermost call returns, so no frame runs on a deleted
    // object.
    int m_nDispatchDepth = 0;
    bool m_bFinalPending = false;
    HWND m_hWndFinal = nullptr;
};

}  // namespace DuiLib
