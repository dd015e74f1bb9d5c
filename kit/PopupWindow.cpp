#include "kit/PopupWindow.h"

#include "kit/ShadowWnd.h"

namespace {

const WORD kSkinPackage = 130;

}  // namespace

PopupWindow::PopupWindow(const Frame& frame) : m_frame(frame) {}

PopupWindow::~PopupWindow() = default;

bool PopupWindow::Open(HWND owner, const std::string& ownerControl, POINT at)
{
    m_owner = owner;
    m_ownerControl = ownerControl;
    if (m_frame.shadow) {
        // Made first, so the popup that follows lies above it.
        m_shadow = new CShadowWnd;
        m_shadow->SetDrawInfo(m_frame.shadowImage);
        if (!m_shadow->Create(owner, "", WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS,
                              WS_EX_LAYERED | WS_EX_TOOLWINDOW, at.x, at.y, 0, 0)) {
            m_shadow = nullptr;  // it deleted itself with its window, or never had one
        }
    }
    if (!Create(owner, "", WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                WS_EX_TOOLWINDOW | WS_EX_TOPMOST, at.x, at.y, 0, 0)) {
        if (m_shadow) ::DestroyWindow(m_shadow->GetHWND());
        delete this;
        return false;
    }
    SIZE size = m_pm.GetInitSize();
    if ((size.cx <= 0 || size.cy <= 0) && m_pm.GetRoot()) {
        SIZE estimate = m_pm.GetRoot()->EstimateSize({4096, 4096});
        if (size.cx <= 0) size.cx = estimate.cx;
        if (size.cy <= 0) size.cy = estimate.cy;
    }
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoA(::MonitorFromPoint(at, MONITOR_DEFAULTTONEAREST), &monitor))
        at = KeepInWorkArea(at, size, monitor.rcWork);
    if (m_shadow) {
        // The shadow gets its place and picture before the popup shows: a
        // layered window's first picture may bring it to the top (Wine
        // does), which must not be over the popup.
        RECT rc = {at.x, at.y, at.x + size.cx, at.y + size.cy};
        ::InflateRect(&rc, m_frame.shadowMargin, m_frame.shadowMargin);
        ::SetWindowPos(m_shadow->GetHWND(), nullptr, rc.left, rc.top, rc.right - rc.left,
                       rc.bottom - rc.top, SWP_NOACTIVATE | SWP_NOZORDER);
        m_shadow->Repaint();
    }
    // Shown at its size in one step; it was made without one, so nothing of
    // it has been painted yet and all of it must be.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_SHOWWINDOW);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    ::SetForegroundWindow(m_hWnd);
    ::SetFocus(m_hWnd);
    FollowWithShadow();
    // The window that opened it keeps its active look while its popup has
    // the focus.
    if (owner) ::SendMessageA(::GetAncestor(owner, GA_ROOT), WM_NCACTIVATE, TRUE, 0);
    return true;
}

POINT PopupWindow::KeepInWorkArea(POINT at, SIZE size, const RECT& workArea)
{
    if (at.y + size.cy > workArea.bottom)
        at.y = size.cy > workArea.bottom - workArea.top ? workArea.top : workArea.bottom - size.cy;
    if (at.x + size.cx > workArea.right)
        at.x = size.cx > workArea.right - workArea.left ? workArea.left : workArea.right - size.cx;
    return at;
}

void PopupWindow::Build()
{
    m_pm.Init(m_hWnd);
    if (!DuiLib::CPaintManagerUI::HasResourceZip())
        DuiLib::CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(kSkinPackage), "ZIPRES");
    DuiLib::CDialogBuilder builder;
    DuiLib::CControlUI* root = builder.Create(m_frame.layout, nullptr, this, &m_pm);
    if (!root) {
        DuiLib::UiLogError("popup \"%s\": layout \"%s\" could not be built", GetWindowClassName(),
                           m_frame.layout);
        root = new DuiLib::CVerticalLayoutUI;
    }
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    if (m_frame.roundCorner.cx > 0 || m_frame.roundCorner.cy > 0)
        m_pm.SetRoundCorner(m_frame.roundCorner.cx, m_frame.roundCorner.cy);
    OnInit();
}

void PopupWindow::UpdateRoundRegion()
{
    SIZE corner = m_pm.GetRoundCorner();
    const int inset = m_frame.regionInset;
    if (corner.cx <= 0 && corner.cy <= 0 && inset <= 0) return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    HRGN rgn = ::CreateRoundRectRgn(inset, inset, rc.right - rc.left - inset + 1,
                                    rc.bottom - rc.top - inset + 1, corner.cx, corner.cy);
    ::SetWindowRgn(m_hWnd, rgn, TRUE);  // the window owns the region now
}

void PopupWindow::FollowWithShadow()
{
    if (!m_shadow || !::IsWindow(m_shadow->GetHWND())) return;
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    ::InflateRect(&rc, m_frame.shadowMargin, m_frame.shadowMargin);
    // Just below the popup, whatever else is topmost.
    ::SetWindowPos(m_shadow->GetHWND(), m_hWnd, rc.left, rc.top, rc.right - rc.left,
                   rc.bottom - rc.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

bool PopupWindow::KeepsFocus(HWND gaining) const
{
    if (!gaining) return false;
    if (gaining == m_hWnd || ::IsChild(m_hWnd, gaining)) return true;
    if (m_shadow && gaining == m_shadow->GetHWND()) return true;
    // A drop list of one of its combos is owned by the popup.
    for (HWND w = gaining; w; w = ::GetWindow(w, GW_OWNER))
        if (w == m_hWnd) return true;
    return false;
}

LRESULT PopupWindow::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled)
{
    handled = false;
    return 0;
}

LRESULT PopupWindow::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
        case WM_CREATE:
            Build();
            return 0;
        case WM_KILLFOCUS:
            if (!KeepsFocus(reinterpret_cast<HWND>(wParam))) Close(IDCANCEL);
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE && !KeepsFocus(reinterpret_cast<HWND>(lParam)))
                Close(IDCANCEL);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                Close(IDCANCEL);
                return 0;
            }
            break;
        case WM_SIZE:
            UpdateRoundRegion();
            FollowWithShadow();
            break;
        case WM_MOVE:
            FollowWithShadow();
            break;
        case WM_CLOSE:
            if (m_shadow && ::IsWindow(m_shadow->GetHWND())) ::ShowWindow(m_shadow->GetHWND(), SW_HIDE);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_CONTEXTMENU:
            // A popup has no menu of its own.
            return 0;
        default:
            break;
    }
    bool handled = false;
    LRESULT lRes = HandleCustomMessage(uMsg, wParam, lParam, handled);
    if (handled) return lRes;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void PopupWindow::Notify(DuiLib::TNotifyUI& msg)
{
    OnNotify(msg);
}

void PopupWindow::OnNotify(DuiLib::TNotifyUI& msg)
{
    if ((msg.sType == DUI_MSGTYPE_ITEMCLICK || msg.sType == DUI_MSGTYPE_CLICK) && msg.pSender &&
        !msg.pSender->GetName().IsEmpty())
        Choose(msg.pSender->GetName());
}

void PopupWindow::Choose(const char* item, WPARAM wParam, LPARAM lParam)
{
    if (m_chosen || !item) return;
    m_chosen = true;
    // Posted: the owner handles it after this popup is gone, from its own
    // queue, whatever happened to the control meanwhile.
    DuiLib::CPaintManagerUI::PostNotify(m_owner, item, m_ownerControl.c_str(), wParam, lParam);
    Close(IDOK);
}

void PopupWindow::OnFinalMessage(HWND)
{
    m_pm.RemoveNotifier(this);
    m_pm.ReapObjects(m_pm.GetRoot());
    if (m_shadow && ::IsWindow(m_shadow->GetHWND())) ::DestroyWindow(m_shadow->GetHWND());
    m_shadow = nullptr;
    delete this;
}
