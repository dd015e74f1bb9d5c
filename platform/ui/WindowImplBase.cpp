#include "platform/ui/WindowImplBase.h"

#include "platform/ui/UIControl.h"
#include "platform/ui/UIDlgBuilder.h"
#include "platform/ui/UILog.h"
#include "platform/ui/UIVerticalLayout.h"

#include <atomic>
#include <cstdlib>
#include <string>

namespace DuiLib {

namespace {

std::atomic<WindowImplBase::SkinBackgroundFn> g_skinHook{nullptr};

// Controls under the caption strip that take clicks rather than drag the
// window.
bool IsInteractive(CControlUI* p)
{
    if (p->GetControlFlags() & (UIFLAG_TABSTOP | UIFLAG_SETCURSOR)) return true;
    static const char* const kinds[] = {"Button", "Option", "CheckBox", "Edit",     "RichEdit",
                                        "Combo",  "Slider", "List",     "ScrollBar"};
    for (const char* kind : kinds)
        if (p->GetInterface(kind)) return true;
    return false;
}

}  // namespace

void WindowImplBase::SetSkinBackgroundHook(SkinBackgroundFn fn)
{
    g_skinHook = fn;
}

WindowImplBase::SkinBackgroundFn WindowImplBase::GetSkinBackgroundHook()
{
    return g_skinHook;
}

CDuiString WindowImplBase::TiledSkinImage(LPCSTR file)
{
    CDuiString s;
    s.Format(
        "file='%s' source='0,0,0,0' dest='0,0,0,0' corner='0,0,0,0' xtiled='true' ytiled='true'",
        file ? file : "");
    return s;
}

bool WindowImplBase::ApplySkinBackground(LPCSTR controlName)
{
    SkinBackgroundFn hook = g_skinHook;
    CControlUI* p = m_PaintManager.FindControl(controlName);
    if (!hook || !p) return false;
    p->SetBkImage(TiledSkinImage(hook()));
    return true;
}

void WindowImplBase::OnFinalMessage(HWND hWnd)
{
    m_PaintManager.RemoveMessageFilter(this);
    m_PaintManager.RemoveNotifier(this);
    m_PaintManager.ReapObjects(m_PaintManager.GetRoot());
}

void WindowImplBase::Notify(TNotifyUI& msg)
{
    if (msg.sType != DUI_MSGTYPE_CLICK || !msg.pSender) return;
    CDuiString name = msg.pSender->GetName();
    if (name == "closebtn") {
        Close();
    } else if (name == "minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == "maxbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == "restorebtn") {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam)
{
    if (wParam == VK_ESCAPE) {
        Close(IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    if (uMsg == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN)) {
        LRESULT r = ResponseDefaultKeyEvent(wParam);
        bHandled = r != 0;
        return r;
    }
    return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lRes = 0;
    BOOL bHandled = TRUE;
    switch (uMsg) {
        case WM_CREATE:
            lRes = OnCreate(uMsg, wParam, lParam, bHandled);
            break;
        case WM_CLOSE:
            lRes = OnClose(uMsg, wParam, lParam, bHandled);
            break;
        case WM_DESTROY:
            lRes = OnDestroy(uMsg, wParam, lParam, bHandled);
            break;
        case WM_NCACTIVATE:
            lRes = OnNcActivate(uMsg, wParam, lParam, bHandled);
            break;
        case WM_NCCALCSIZE:
            lRes = OnNcCalcSize(uMsg, wParam, lParam, bHandled);
            break;
        case WM_NCPAINT:
            lRes = OnNcPaint(uMsg, wParam, lParam, bHandled);
            break;
        case WM_NCHITTEST:
            lRes = OnNcHitTest(uMsg, wParam, lParam, bHandled);
            break;
        case WM_GETMINMAXINFO:
            lRes = OnGetMinMaxInfo(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEWHEEL:
            lRes = OnMouseWheel(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SIZE:
            lRes = OnSize(uMsg, wParam, lParam, bHandled);
            break;
        case WM_CHAR:
            lRes = OnChar(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SYSCOMMAND:
            lRes = OnSysCommand(uMsg, wParam, lParam, bHandled);
            break;
        case WM_KEYDOWN:
            lRes = OnKeyDown(uMsg, wParam, lParam, bHandled);
            break;
        case WM_KILLFOCUS:
            lRes = OnKillFocus(uMsg, wParam, lParam, bHandled);
            break;
        case WM_SETFOCUS:
            lRes = OnSetFocus(uMsg, wParam, lParam, bHandled);
            break;
        case WM_LBUTTONUP:
            lRes = OnLButtonUp(uMsg, wParam, lParam, bHandled);
            break;
        case WM_LBUTTONDOWN:
            lRes = OnLButtonDown(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEMOVE:
            lRes = OnMouseMove(uMsg, wParam, lParam, bHandled);
            break;
        case WM_MOUSEHOVER:
            lRes = OnMouseHover(uMsg, wParam, lParam, bHandled);
            break;
        default:
            bHandled = FALSE;
            break;
    }
    if (bHandled) return lRes;
    lRes = HandleCustomMessage(uMsg, wParam, lParam, bHandled);
    if (bHandled) return lRes;
    if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void WindowImplBase::LoadSkinPackage()
{
    if (GetResourceType() != UILIB_ZIPRESOURCE || CPaintManagerUI::HasResourceZip()) return;
    LPCSTR id = GetResourceID();
    std::string numbered;
    if (!IS_INTRESOURCE(id) && id && id[0] >= '0' && id[0] <= '9') {
        numbered = "#" + std::string(id);  // FindResource's form of a number
        id = numbered.c_str();
    }
    if (!IS_INTRESOURCE(id) && (!id || !*id)) {
        UiLogError("window \"%s\" names no skin package resource", GetWindowClassName());
        return;
    }
    // A missing package is logged; the skin folder on disk still serves.
    CPaintManagerUI::LoadResourceZip(id, "ZIPRES");
}

void WindowImplBase::UpdateRoundRegion()
{
    SIZE corner = m_PaintManager.GetRoundCorner();
    if (corner.cx <= 0 && corner.cy <= 0) return;
    if (::IsIconic(m_hWnd)) return;
    if (::IsZoomed(m_hWnd)) {
        ::SetWindowRgn(m_hWnd, nullptr, TRUE);
        return;
    }
    RECT rc;
    ::GetWindowRect(m_hWnd, &rc);
    HRGN rgn = ::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1, rc.bottom - rc.top + 1, corner.cx,
                                    corner.cy);
    ::SetWindowRgn(m_hWnd, rgn, TRUE);  // the window owns the region now
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    m_PaintManager.Init(m_hWnd);
    m_PaintManager.SetSkinFolder(GetSkinFolder());
    LoadSkinPackage();

    CDuiString file = GetSkinFile();
    CDialogBuilder builder;
    CControlUI* root = builder.Create(file.GetData(), nullptr, this, &m_PaintManager);
    if (!root) {
        UiLogError("window \"%s\": layout \"%s\" could not be built, the window stays empty",
                   GetWindowClassName(), file.GetData());
        root = new CVerticalLayoutUI;
    }
    m_PaintManager.AttachDialog(root);
    m_PaintManager.AddNotifier(this);
    m_PaintManager.AddMessageFilter(this);
    UpdateRoundRegion();
    InitWindow();
    bHandled = TRUE;
    return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (::IsIconic(m_hWnd)) bHandled = FALSE;
    // Nothing of a frame to repaint; deactivation goes ahead.
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // The client area is the whole window; a maximised window fits the
    // work area instead of hanging its frame off the screen.
    if (wParam && ::IsZoomed(m_hWnd)) {
        auto* params = reinterpret_cast<LPNCCALCSIZE_PARAMS>(lParam);
        MONITORINFO mi = {};
        mi.cbSize = sizeof mi;
        ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
        params->rgrc[0] = mi.rcWork;
    }
    bHandled = TRUE;
    return 0;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = TRUE;
    return 0;
}

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    ::ScreenToClient(m_hWnd, &pt);
    RECT rcClient;
    ::GetClientRect(m_hWnd, &rcClient);

    if (!::IsZoomed(m_hWnd)) {
        const RECT& box = m_PaintManager.GetSizeBox();
        bool left = pt.x < rcClient.left + box.left;
        bool right = pt.x >= rcClient.right - box.right;
        if (pt.y < rcClient.top + box.top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        if (pt.y >= rcClient.bottom - box.bottom)
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
    }

    const RECT& caption = m_PaintManager.GetCaptionRect();
    if (pt.x >= rcClient.left + caption.left && pt.x < rcClient.right - caption.right &&
        pt.y >= caption.top && pt.y < caption.bottom) {
        CControlUI* p = m_PaintManager.FindControl(pt);
        if (!p || !IsInteractive(p)) return HTCAPTION;
    }
    return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    auto* mmi = reinterpret_cast<LPMINMAXINFO>(lParam);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    mmi->ptMaxPosition = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
    mmi->ptMaxSize = {mi.rcWork.right - mi.rcWork.left, mi.rcWork.bottom - mi.rcWork.top};
    SIZE minInfo = m_PaintManager.GetMinInfo();
    SIZE maxInfo = m_PaintManager.GetMaxInfo();
    if (minInfo.cx > 0) mmi->ptMinTrackSize.x = minInfo.cx;
    if (minInfo.cy > 0) mmi->ptMinTrackSize.y = minInfo.cy;
    if (maxInfo.cx > 0) mmi->ptMaxTrackSize.x = maxInfo.cx;
    if (maxInfo.cy > 0) mmi->ptMaxTrackSize.y = maxInfo.cy;
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != SIZE_MINIMIZED) UpdateRoundRegion();
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        bHandled = TRUE;
        SendMessage(WM_CLOSE);
        return 0;
    }
    BOOL wasZoomed = ::IsZoomed(m_hWnd);
    LRESULT lRes = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    if (::IsWindow(m_hWnd) && ::IsZoomed(m_hWnd) != wasZoomed) {
        bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
        if (CControlUI* p = m_PaintManager.FindControl("maxbtn")) p->SetVisible(!zoomed);
        if (CControlUI* p = m_PaintManager.FindControl("restorebtn")) p->SetVisible(zoomed);
    }
    bHandled = TRUE;
    return lRes;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

}  // namespace DuiLib
