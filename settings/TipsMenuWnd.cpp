#include "settings/TipsMenuWnd.h"

#include "kit/MainWindow.h"

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU
const DWORD kStyle = 0x96C80000;

}  // namespace

TipsMenuWnd::TipsMenuWnd(HWND /*parent*/, int x, int y)
    : SkinWindow({"tips_menu_wnd.xml"}), m_at{x, y}
{
    Create(nullptr, "TipsMenuWnd", kStyle, WS_EX_TOOLWINDOW, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT);
    ShowWindow(true);
}

void TipsMenuWnd::InitWindow()
{
    SkinWindow::InitWindow();
    SIZE size = m_PaintManager.GetInitSize();
    ::MoveWindow(m_hWnd, m_at.x, m_at.y, size.cx, size.cy, FALSE);
}

void TipsMenuWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        MainWindow* main = GetMainWindow();
        if (msg.pSender->GetName() == "small_tip_btn") {
            if (main) main->ShowSmallTipWindow();
            return;
        }
        if (msg.pSender->GetName() == "about_soft_btn") {
            if (main) main->ShowAboutSoftWnd();
            return;
        }
    }
    SkinWindow::OnNotify(msg);
}

LRESULT TipsMenuWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // A menu goes as soon as the user turns elsewhere, the window it just
    // opened included.
    if (uMsg == WM_KILLFOCUS) Close(1);
    return SkinWindow::HandleCustomMessage(uMsg, wParam, lParam, bHandled);
}
