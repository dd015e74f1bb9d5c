#include "recorder/windows/ScrCaptureWnd.h"

#include "drawing/BitmapHelpers.h"
#include "kit/MainWindow.h"
#include "kit/WindowTable.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/windows/FollowWindow.h"
#include "recorder/windows/RecorderModule.h"
#include "recorder/windows/RegionGeometry.h"

#include <cstdio>

namespace {

// The picker's menu, in this order.
const UINT kMenuStart = 158;
const UINT kMenuCancel = 134;
const UINT kMenuChooseAgain = 135;

// The program's cross-hair cursor, at its drawn size.
const WORD kCrossCursorResource = 141;
const int kCrossCursorSize = 40;

const WORD kSkinPackage = 130;

// The floating bar, while the picker is up, is hidden; it comes back with
// its "choose a region" button enabled when nothing was recorded, disabled
// when a recording starts.
void ShowFloatBar(bool targetEnabled)
{
    DuiLib::CWindowWnd* bar = GetWindowTable().Current(WindowId::FloatRec);
    if (!bar || !::IsWindow(bar->GetHWND())) return;
    bar->ShowWindow(true, false);
    if (auto* skinned = dynamic_cast<DuiLib::WindowImplBase*>(bar))
        if (DuiLib::CControlUI* target = skinned->GetPaintManager().FindControl("target_btn"))
            target->SetEnabled(targetEnabled);
}

SIZE SizeOf(const RECT& rc)
{
    return {rc.right - rc.left, rc.bottom - rc.top};
}

}  // namespace

CScrCaptureWnd* GetScrCaptureWnd()
{
    if (CScrCaptureWnd* open = g_pScrCaptureWnd) return open;
    auto* picker = new CScrCaptureWnd;
    GetWindowTable().Hold(WindowId::RegionPicker, picker);
    return picker;
}

CScrCaptureWnd::CScrCaptureWnd() = default;

CScrCaptureWnd::~CScrCaptureWnd()
{
    if (m_hSnapshotDc) {
        ::SelectObject(m_hSnapshotDc, m_hSnapshotOld);
        ::DeleteDC(m_hSnapshotDc);
    }
    if (m_hSnapshot) ::DeleteObject(m_hSnapshot);
    if (m_hMenu) ::DestroyMenu(m_hMenu);
}

RECT CScrCaptureWnd::GetSelectionArea() const
{
    // The picker lies over the desktop from its origin: its client area is
    // the desktop's rectangle moved to 0, 0.
    return {0, 0, m_rcWindow.right - m_rcWindow.left, m_rcWindow.bottom - m_rcWindow.top};
}

RECT CScrCaptureWnd::GetSelection() const
{
    return SelectionFromInsets(m_rcWindow, m_insets);
}

bool CScrCaptureWnd::OnCreate()
{
    m_pm.Init(m_hWnd);
    if (!DuiLib::CPaintManagerUI::HasResourceZip())
        DuiLib::CPaintManagerUI::LoadResourceZip(MAKEINTRESOURCEA(kSkinPackage), "ZIPRES");
    DuiLib::CDialogBuilder builder;
    CDialogBuilderCallbackExOld callback(this);
    DuiLib::CControlUI* root = builder.Create(GetSkinFile().GetData(), nullptr, &callback, &m_pm);
    if (!root) return false;
    m_pm.AttachDialog(root);
    m_pm.RemoveAllImages();

    m_hMenu = ::CreatePopupMenu();
    ::AppendMenuA(m_hMenu, MF_STRING, kMenuStart, "开始录制");
    ::AppendMenuA(m_hMenu, MF_STRING, kMenuCancel, "取消选择");
    ::AppendMenuA(m_hMenu, MF_STRING, kMenuChooseAgain, "重新选择");

    m_pDesktopImage = m_pm.FindControl("desktopimage");
    m_pDesktopMask = m_pm.FindControl("desktopmask");
    m_pMaskBorder = m_pm.FindControl("desktopmaskborder");
    m_pCanvasContainer =
        dynamic_cast<CCanvasContainerUI*>(m_pm.FindControl("desktopcanvascontainer"));
    m_pMagnifier = m_pm.FindControl("magnifier_ctrl");
    m_pPosInfo = dynamic_cast<DuiLib::CLabelUI*>(m_pm.FindControl("pos_info_label"));
    m_pMagnifierLine1 = m_pm.FindControl("magnifier_line1");
    m_pMagnifierLine2 = m_pm.FindControl("magnifier_line2");
    m_pMagnifierBorder = m_pm.FindControl("magnifier_border");
    if (!m_pDesktopImage || !m_pDesktopMask || !m_pMaskBorder || !m_pCanvasContainer ||
        !m_pMagnifier || !m_pPosInfo || !m_pMagnifierLine1 || !m_pMagnifierLine2 ||
        !m_pMagnifierBorder)
        return false;
    m_pPosInfo->SetMultiLine(true);
    m_bMagnifierOn = 1;
    HideMagnifier();

    HANDLE cursor =
        ::LoadImageA(DuiLib::CPaintManagerUI::GetInstance(), MAKEINTRESOURCEA(kCrossCursorResource),
                     IMAGE_CURSOR, kCrossCursorSize, kCrossCursorSize, 0);
    m_hCrossCursor = cursor ? (HCURSOR)cursor : ::LoadCursor(nullptr, IDC_CROSS);

    // Over the whole desktop and over every window, the always-on-top ones
    // too: they are in the frozen picture, and must not take its clicks.
    ::GetWindowRect(::GetDesktopWindow(), &m_rcWindow);
    const SIZE size = SizeOf(m_rcWindow);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, m_rcWindow.left, m_rcWindow.top, size.cx, size.cy,
                   SWP_NOACTIVATE);

    HBITMAP snapshot = GrabDesktopBitmap();
    HBITMAP mask = CreateDimMaskBitmap(m_hWnd);
    if (!snapshot || !mask) {
        if (snapshot) ::DeleteObject(snapshot);
        if (mask) ::DeleteObject(mask);
        return false;
    }
    m_hSnapshot = CopyBitmap(snapshot);
    m_hSnapshotDc = ::CreateCompatibleDC(nullptr);
    if (m_hSnapshotDc && m_hSnapshot) m_hSnapshotOld = ::SelectObject(m_hSnapshotDc, m_hSnapshot);
    // The manager owns both from here.
    m_pm.AddImage("desktopimage", snapshot, size.cx, size.cy, false);
    m_pm.AddImage("desktopimagemask", mask, size.cx, size.cy, true);
    m_pDesktopImage->SetBkImage("desktopimage");
    m_pDesktopMask->SetBkImage("desktopimagemask");
    return true;
}

void CScrCaptureWnd::UpdateSelectionMask(int left, int top, int right, int bottom)
{
    m_insets = {left, top, right, bottom};
    snprintf(m_szMaskAttr, sizeof m_szMaskAttr,
             "file='desktopimagemask' scale9='%d,%d,%d,%d' hole='true'", left, top, right, bottom);
    DUITRACE("clipstr:%s\n", m_szMaskAttr);
    if (!m_pDesktopMask) return;
    // The veil is a nine-grid of the selection's insets whose centre, the
    // selection, is left out.
    m_pDesktopMask->SetBkImage(m_szMaskAttr);
    const RECT selection = SelectionFromInsets(GetSelectionArea(), m_insets);
    DUITRACE("cliprc:%d,%d-%d,%d\n", selection.left, selection.top, selection.right,
             selection.bottom);
    m_pMaskBorder->SetPos(selection);
    RECT box = selection;
    const int grow = m_pCanvasContainer->GetInset().left;
    ::InflateRect(&box, grow, grow);
    m_pCanvasContainer->SetPos(box);
}

void CScrCaptureWnd::HideMagnifier()
{
    for (DuiLib::CControlUI* part :
         {(DuiLib::CControlUI*)m_pMagnifier, (DuiLib::CControlUI*)m_pPosInfo, m_pMagnifierLine1,
          m_pMagnifierLine2, m_pMagnifierBorder})
        if (part) part->SetVisible(false);
}

void CScrCaptureWnd::UpdateMagnifier(POINT pt)
{
    for (DuiLib::CControlUI* part :
         {(DuiLib::CControlUI*)m_pMagnifier, (DuiLib::CControlUI*)m_pPosInfo, m_pMagnifierLine1,
          m_pMagnifierLine2, m_pMagnifierBorder})
        part->SetVisible(true);
    const COLORREF color = m_hSnapshotDc ? ::GetPixel(m_hSnapshotDc, pt.x, pt.y) : 0;
    const MagnifierLayout place = PlaceMagnifier(pt, SizeOf(m_rcWindow));
    char image[260];
    snprintf(image, sizeof image,
             "file='%s' source='%d,%d,%d,%d' dest='0,0,120,90' corner='0,0,0,0' xtiled='false' "
             "ytiled='false'",
             "desktopimage", (int)place.source.left, (int)place.source.top, (int)place.source.right,
             (int)place.source.bottom);
    m_pMagnifier->SetBkImage(image);
    m_pMagnifier->SetPos(place.view);
    m_pMagnifierBorder->SetPos(place.view);
    m_pPosInfo->SetPos(place.label);
    m_pMagnifierLine1->SetPos(place.line1);
    m_pMagnifierLine2->SetPos(place.line2);
    const RECT selection = GetSelection();
    const bool chosen = m_insets.left >= 0;
    m_pPosInfo->SetText(FormatMagnifierLabel(chosen ? selection.right - selection.left : 0,
                                             chosen ? selection.bottom - selection.top : 0,
                                             color == CLR_INVALID ? 0 : color)
                            .c_str());
}

void CScrCaptureWnd::SnapToWindowUnderCursor()
{
    RECT found = m_rcWindow;
    // Disabled for the search, so the search passes through the picker.
    ::EnableWindow(m_hWnd, FALSE);
    g_hFollowWindow = FindWindowUnderCursor(&found);
    ::EnableWindow(m_hWnd, TRUE);
    ::SetFocus(m_hWnd);
    DUITRACE("capturewnd_rc:%d,%d-%d,%d\n", found.left, found.top, found.right, found.bottom);
    const SelectionInsets snapped = InsetsOfSelection(m_rcWindow, found);
    if (snapped == m_insets) return;
    UpdateSelectionMask(snapped.left, snapped.top, snapped.right, snapped.bottom);
    m_pMaskBorder->SetVisible(true);
    m_pCanvasContainer->SetVisible(false);
}

void CScrCaptureWnd::OnMouseMove(POINT pt, WPARAM buttons)
{
    if (m_bMagnifierOn) UpdateMagnifier(pt);
    // Once chosen, the selection box does the dragging.
    if (m_bConfirmed) return;
    if ((buttons & MK_LBUTTON) && m_bPressed) {
        if (pt.x == m_ptDragStart.x && pt.y == m_ptDragStart.y) return;
        const SelectionInsets drawn = DraggedInsets(GetSelectionArea(), m_ptDragStart, pt);
        m_pMaskBorder->SetVisible(false);
        m_pCanvasContainer->SetVisible(true);
        UpdateSelectionMask(drawn.left, drawn.top, drawn.right, drawn.bottom);
        return;
    }
    if (!(buttons & (MK_LBUTTON | MK_RBUTTON))) SnapToWindowUnderCursor();
}

bool CScrCaptureWnd::OnSetCursor()
{
    // While choosing, the cross-hair everywhere; a chosen selection's box
    // shows what dragging it does.
    if (m_bConfirmed) return false;
    ::SetCursor(m_hCrossCursor);
    return true;
}

void CScrCaptureWnd::OnLButtonDown(POINT pt)
{
    if (m_bConfirmed) return;
    m_pCanvasContainer->SetEnabled(false);
    m_ptDragStart = pt;
    m_bPressed = true;
}

void CScrCaptureWnd::OnLButtonUp()
{
    m_bPressed = false;
    m_bMagnifierOn = 0;
    HideMagnifier();
    if (m_bConfirmed || m_insets.left < 0) return;
    m_bConfirmed = 1;
    m_pMaskBorder->SetVisible(false);
    m_pCanvasContainer->SetVisible(true);
    m_pCanvasContainer->SetEnabled(true);
    UpdateSelectionMask(m_insets.left, m_insets.top, m_insets.right, m_insets.bottom);
}

void CScrCaptureWnd::ChooseAgain(POINT pt)
{
    m_bConfirmed = 0;
    m_bMagnifierOn = 1;
    m_pCanvasContainer->SetEnabled(false);
    m_pCanvasContainer->SetVisible(false);
    m_pMaskBorder->SetVisible(true);
    // Snaps to what is under the cursor now, as a move there would.
    m_insets = {-1, -1, -1, -1};
    SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void CScrCaptureWnd::Cancel()
{
    ShowFloatBar(true);
    Close();
}

void CScrCaptureWnd::OnRButtonUp(POINT pt)
{
    if (!m_bConfirmed) {
        Cancel();
        return;
    }
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    const RECT selection = SelectionFromInsets(GetSelectionArea(), m_insets);
    if (!::PtInRect(&selection, pt)) {
        ChooseAgain(pt);
        return;
    }
    POINT screen = pt;
    ::ClientToScreen(m_hWnd, &screen);
    // The menu's choice comes back as WM_COMMAND; the null message lets the
    // menu close properly when the picker is not the foreground window.
    ::TrackPopupMenu(m_hMenu, TPM_LEFTALIGN | TPM_TOPALIGN, screen.x, screen.y, 0, m_hWnd, nullptr);
    PostMessage(WM_NULL);
}

void CScrCaptureWnd::OnMenuCommand(UINT id)
{
    switch (id) {
        case kMenuCancel:
            Cancel();
            break;
        case kMenuChooseAgain: {
            POINT cursor;
            ::GetCursorPos(&cursor);
            ::ScreenToClient(m_hWnd, &cursor);
            ChooseAgain(cursor);
            break;
        }
        case kMenuStart:
            StartRegionRecording();
            ShowFloatBar(false);
            break;
        default:
            break;
    }
}

void CScrCaptureWnd::OnKeyDown(WPARAM key)
{
    if (m_insets.left >= 0) {
        const bool shift = ::GetKeyState(VK_SHIFT) < 0;
        const SelectionInsets next = NudgedInsets(GetSelectionArea(), m_insets, (UINT)key, shift);
        if (next != m_insets) UpdateSelectionMask(next.left, next.top, next.right, next.bottom);
    }
    m_pm.Invalidate();
}

void CScrCaptureWnd::StartRegionRecording()
{
    if (m_insets.left < 0) return;
    const RECT selection = GetSelection();
    DUITRACE("cliprc:%d,%d-%d,%d\n", selection.left, selection.top, selection.right,
             selection.bottom);
    m_bConfirmed = 1;
    const RECT capture = CaptureRectOfSelection(selection);
    if (!IsRecordableRect(capture)) return;
    // Out of sight before the first frame is grabbed.
    ::ShowWindow(m_hWnd, SW_HIDE);
    RECT border = selection;
    ::InflateRect(&border, kFlashFrameWidth, kFlashFrameWidth);
    SetCaptureRect(capture);
    g_nRecordMode = 3;
    const bool idle = GetRecordPhase() == RecordPhase::Idle;
    StartRecording(false);
    // Refused (the last recording is still being saved): nothing to frame
    // or follow.
    if (idle && GetRecordPhase() != RecordPhase::Idle) {
        if (MainWindow* main = GetMainWindow()) main->ShowFlashWnd(border);
        ShowFloatBar(true);
        RECT snapped;
        if (g_hFollowWindow && ::IsWindow(g_hFollowWindow) &&
            ::GetWindowRect(g_hFollowWindow, &snapped) && ::EqualRect(&snapped, &selection))
            StartWindowFollow(g_hFollowWindow, selection);
    }
    Close();
}

LRESULT CScrCaptureWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    const POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    switch (uMsg) {
        case WM_CREATE:
            // A picker that cannot show the desktop or lacks a part of its
            // layout goes at once.
            if (!OnCreate()) Close();
            return 0;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && OnSetCursor()) return TRUE;
            break;
        case WM_LBUTTONDOWN:
            OnLButtonDown(pt);
            break;
        case WM_LBUTTONUP:
            OnLButtonUp();
            break;
        case WM_LBUTTONDBLCLK:
            StartRegionRecording();
            return 0;
        case WM_RBUTTONUP:
            OnRButtonUp(pt);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(pt, wParam);
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

void CScrCaptureWnd::OnFinalMessage(HWND)
{
    m_pm.ReapObjects(m_pm.GetRoot());
    GetWindowTable().Forget(this);
    delete this;
}
