#include "drawing/windows/CaptureFrameWnd.h"

#include "drawing/BitmapHelpers.h"

#include <algorithm>
#include <cstdio>

namespace {

const WORD kPickCursorResource = 141;
const int kPickCursorSize = 40;
const WORD kSkinPackage = 130;

}  // namespace

CCaptureFrameWnd::CCaptureFrameWnd() = default;

CCaptureFrameWnd::~CCaptureFrameWnd()
{
    if (m_hDesktop) ::DeleteObject(m_hDesktop);
    if (m_hMenu) ::DestroyMenu(m_hMenu);
}

RECT CCaptureFrameWnd::GetSelectionArea() const
{
    return {0, 0, m_rcFrame.right - m_rcFrame.left, m_rcFrame.bottom - m_rcFrame.top};
}

RECT CCaptureFrameWnd::GetSelectionRect() const
{
    return SelectionFromInsets(m_rcFrame, m_insets);
}

RECT CCaptureFrameWnd::GetCanvasRect() const
{
    RECT canvas = GetSelectionRect();
    const int inset = m_pCanvasContainer ? m_pCanvasContainer->GetInset().left : 0;
    ::InflateRect(&canvas, -inset, -inset);
    return canvas;
}

HCURSOR CCaptureFrameWnd::PickCursor()
{
    if (!m_hPickCursor) {
        HANDLE cursor = ::LoadImageA(DuiLib::CPaintManagerUI::GetInstance(),
                                     MAKEINTRESOURCEA(kPickCursorResource), IMAGE_CURSOR,
                                     kPickCursorSize, kPickCursorSize, 0);
        m_hPickCursor = cursor ? (HCURSOR)cursor : ::LoadCursor(nullptr, IDC_CROSS);
    }
    return m_hPickCursor;
}

bool CCaptureFrameWnd::OnCreate()
{
    m_pm.Init(m_hWnd);
    m_pm.AddPreMessageFilter(this);
    if (!DuiLib::CPaintManagerUI::HasResourceZip())
        DuiLib::CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(kSkinPackage), "ZIPRES");
    DuiLib::CDialogBuilder builder;
    DuiLib::CControlUI* root =
        builder.Create(GetSkinFile().GetData(), nullptr, GetBuilderCallback(), &m_pm);
    if (!root) return false;
    m_pm.AttachDialog(root);
    m_pm.AddNotifier(this);
    m_pm.RemoveAllImages();

    m_hMenu = ::CreatePopupMenu();
    if (m_hMenu) AppendMenuItems(m_hMenu);

    m_pDesktopImage = m_pm.FindControl("desktopimage");
    m_pDesktopMask = m_pm.FindControl("desktopmask");
    m_pMaskBorder = m_pm.FindControl("desktopmaskborder");
    m_pCanvasContainer =
        dynamic_cast<CCanvasContainerUI*>(m_pm.FindControl("desktopcanvascontainer"));
    if (!m_pDesktopImage || !m_pDesktopMask || !m_pMaskBorder || !m_pCanvasContainer) return false;
    m_pCanvasContainer->SetSelectionHost(this);

    RECT desktop = {};
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    m_rcFrame = ChooseFrameRect(desktop);
    // Above the always-on-top windows too: they are in the frozen picture
    // and must not take its clicks.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rcFrame.left, m_rcFrame.top,
                   m_rcFrame.right - m_rcFrame.left, m_rcFrame.bottom - m_rcFrame.top,
                   SWP_NOACTIVATE);

    HBITMAP snapshot = GrabDesktopBitmap();
    HBITMAP mask = CreateDimMaskBitmap(m_hWnd);
    if (!snapshot || !mask) {
        if (snapshot) ::DeleteObject(snapshot);
        if (mask) ::DeleteObject(mask);
        return false;
    }
    if (KeepsDesktopBitmap()) m_hDesktop = CopyBitmap(snapshot);
    BITMAP size = {};
    ::GetObject(snapshot, sizeof size, &size);
    // The manager owns both from here.
    m_pm.AddImage("desktopimage", snapshot, size.bmWidth, size.bmHeight, false);
    m_pm.AddImage("desktopimagemask", mask, size.bmWidth, size.bmHeight, true);
    m_pDesktopImage->SetBkImage("desktopimage");
    m_pDesktopMask->SetBkImage("desktopimagemask");
    m_pMaskBorder->SetVisible(false);
    m_pCanvasContainer->SetVisible(false);
    m_pCanvasContainer->SetEnabled(false);
    return OnFrameCreated();
}

void CCaptureFrameWnd::SetSelectionInsets(int left, int top, int right, int bottom)
{
    m_insets = {left, top, right, bottom};
    m_bHasSelection = true;
    snprintf(m_szMaskText, sizeof m_szMaskText,
             "file='desktopimagemask' scale9='%d,%d,%d,%d' hole='true'", left, top, right, bottom);
    DUITRACE("clipstr:%s\n", m_szMaskText);
    if (!m_pDesktopMask) return;
    // The veil is drawn in nine slices cornered by the insets; the middle
    // one, the selection, is left out.
    m_pDesktopMask->SetBkImage(m_szMaskText);
    const RECT selection = SelectionFromInsets(GetSelectionArea(), m_insets);
    DUITRACE("cliprc:%d,%d-%d,%d\n", selection.left, selection.top, selection.right,
             selection.bottom);
    m_pMaskBorder->SetPos(selection);
    RECT box = selection;
    const int grow = m_pCanvasContainer->GetInset().left;
    ::InflateRect(&box, grow, grow);
    m_pCanvasContainer->SetPos(box);
}

void CCaptureFrameWnd::ShowPicking(bool picking)
{
    m_pMaskBorder->SetVisible(picking);
    m_pCanvasContainer->SetVisible(!picking);
}

void CCaptureFrameWnd::SnapToWindowUnderCursor()
{
    RECT found = {};
    // Disabled for the search, so that it passes through the frame to the
    // live windows below the picture.
    ::EnableWindow(m_hWnd, FALSE);
    HWND under = FindWindowUnderCursor(&found);
    ::EnableWindow(m_hWnd, TRUE);
    ::SetFocus(m_hWnd);
    if (!under) return;
    DUITRACE("capturewnd_rc:%d,%d-%d,%d\n", found.left, found.top, found.right, found.bottom);
    const SelectionInsets snapped = InsetsOfSelection(m_rcFrame, found);
    if (m_bHasSelection && snapped == m_insets) return;
    SetSelectionInsets(snapped.left, snapped.top, snapped.right, snapped.bottom);
    ShowPicking(true);
}

void CCaptureFrameWnd::OnMouseMove(POINT pt, WPARAM buttons)
{
    if (m_bSelected || !PicksByCursor()) return;
    if ((buttons & MK_LBUTTON) && m_bPressed) {
        if (pt.x == m_ptDragStart.x && pt.y == m_ptDragStart.y) return;
        const RECT spanned = {std::min(pt.x, m_ptDragStart.x), std::min(pt.y, m_ptDragStart.y),
                              std::max(pt.x, m_ptDragStart.x), std::max(pt.y, m_ptDragStart.y)};
        const SelectionInsets drawn = InsetsOfSelection(GetSelectionArea(), spanned);
        ShowPicking(false);
        SetSelectionInsets(drawn.left, drawn.top, drawn.right, drawn.bottom);
        return;
    }
    if (!(buttons & (MK_LBUTTON | MK_RBUTTON))) SnapToWindowUnderCursor();
}

void CCaptureFrameWnd::OnLButtonDown(POINT pt)
{
    if (m_bSelected) return;
    m_pCanvasContainer->SetEnabled(false);
    m_ptDragStart = pt;
    m_bPressed = true;
}

void CCaptureFrameWnd::OnLButtonUp()
{
    const bool pressed = m_bPressed;
    m_bPressed = false;
    if (m_bSelected || !pressed || !m_bHasSelection) return;
    m_bSelected = true;
    m_pMaskBorder->SetVisible(false);
    m_pCanvasContainer->SetVisible(true);
    m_pCanvasContainer->SetEnabled(true);
    SetSelectionInsets(m_insets.left, m_insets.top, m_insets.right, m_insets.bottom);
    OnSelectionMade();
}

void CCaptureFrameWnd::PickAgain()
{
    CloseCompanionWindows();
    m_bSelected = false;
    m_bPressed = false;
    m_pCanvasContainer->SetEnabled(false);
    ShowPicking(true);
    // The hover highlight comes back at once, as a move there would bring it.
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    ::ScreenToClient(m_hWnd, &cursor);
    SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
}

void CCaptureFrameWnd::CloseFrame()
{
    // WM_CLOSE closes the companions first.
    Close();
}

void CCaptureFrameWnd::OnRButtonUp(POINT pt)
{
    if (!m_bSelected) {
        CloseFrame();
        return;
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    const RECT selection = SelectionFromInsets(GetSelectionArea(), m_insets);
    if (!::PtInRect(&selection, pt)) {
        PickAgain();
        return;
    }
    POINT screen = pt;
    ::ClientToScreen(m_hWnd, &screen);
    // The choice comes back as WM_COMMAND; the null message lets the menu
    // end properly when the frame is not the foreground window.
    ::TrackPopupMenu(m_hMenu, 0, screen.x, screen.y, 0, m_hWnd, nullptr);
    PostMessage(WM_NULL);
}

void CCaptureFrameWnd::OnMenuCommand(UINT id)
{
    if (id == kCmdClose)
        CloseFrame();
    else if (id == kCmdPickAgain)
        PickAgain();
}

LRESULT CCaptureFrameWnd::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled)
{
    if (uMsg == WM_KEYDOWN && wParam == VK_ESCAPE) {
        bHandled = true;
        CloseFrame();
    }
    return 0;
}

LRESULT CCaptureFrameWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    bool handled = false;
    LRESULT own = HandleFrameMessage(uMsg, wParam, lParam, handled);
    if (handled) return own;

    const POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (uMsg) {
        case WM_CREATE:
            // A frame that cannot show the desktop or lacks a part of its
            // layout goes at once.
            if (!OnCreate()) Close();
            return 0;
        case WM_CLOSE:
            CloseCompanionWindows();
            break;
        case WM_SETCURSOR:
            if (!m_bSelected && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(PickCursor());
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            OnMouseMove(pt, wParam);
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown(pt);
            break;
        case WM_LBUTTONUP:
            OnLButtonUp();
            break;
        case WM_LBUTTONDBLCLK:
            if (m_bHasSelection) OnConfirm();
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp(pt);
            return 0;
        case WM_KEYDOWN:
            // A loop that does not run the manager's filters still ends
            // the frame on Escape.
            if (wParam == VK_ESCAPE) {
                CloseFrame();
                return 0;
            }
            break;
        case WM_COMMAND:
            if (HIWORD(wParam) == 0 && lParam == 0) {
                OnMenuCommand(LOWORD(wParam));
                return 0;
            }
            break;
        default:
            break;
    }
    LRESULT lRes = 0;
    if (m_pm.MessageHandler(uMsg, wParam, lParam, lRes)) return lRes;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CCaptureFrameWnd::OnFinalMessage(HWND)
{
    m_pm.RemovePreMessageFilter(this);
    m_pm.ReapObjects(m_pm.GetRoot());
    OnFrameDestroyed();
    delete this;
}
