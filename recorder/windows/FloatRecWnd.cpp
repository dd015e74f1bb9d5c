#include "recorder/windows/FloatRecWnd.h"

#include "core/CfgDocument.h"
#include "kit/WindowMessages.h"
#include "kit/WindowTable.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/windows/FloatRecMenu.h"

namespace {

const UINT_PTR kCollapseTimer = 2;
const UINT kCollapseDelayMs = 50;
const UINT_PTR kFadeTimer = 4;
const UINT kFadePeriodMs = 500;

// Where "more_btn" opens the menu, in the bar's client coordinates.
const POINT kMoreMenuPoint = {143, 18};

DuiLib::CWindowWnd* Kept(WindowId id)
{
    return GetWindowTable().Current(id);
}

void PlaceWindow(HWND hwnd, const RECT& rc)
{
    ::SetWindowPos(hwnd, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CFloatRecWnd::CFloatRecWnd() : SkinWindow({"float_rec_wnd.xml", "root_layout", /*followsRecording=*/true}) {}

// --- Set-up ------------------------------------------------------------------------

void CFloatRecWnd::InitWindow()
{
    SkinWindow::InitWindow();
    m_pRoot = Find("root_layout");
    m_pTargetBtn = Find<DuiLib::CButtonUI>("target_btn");
    m_pPenBtn = Find<DuiLib::CButtonUI>("floatregin_pen_btn");
    m_pLayeredPenBtn = Find<DuiLib::CButtonUI>("layered_pen_btn");
    m_pPlayBtn = Find<DuiLib::CButtonUI>("play_btn");
    m_pStopBtn = Find<DuiLib::CButtonUI>("stop_btn");
    m_pPauseBtn = Find<DuiLib::CButtonUI>("pause_btn");
    m_pPauseChangeBtn = Find<DuiLib::CButtonUI>("float_pause_change_btn");
    DuiLib::CControlUI* plain = Find<DuiLib::CLabelUI>("rec_time");
    DuiLib::CControlUI* led = Find<DuiLib::CLabelUI>("rec_time_led");
    m_pTimeLabel = g_bLedFont ? led : plain;
    SetShown(g_bLedFont ? plain : led, false);
}

void CFloatRecWnd::OnWindowInit()
{
    SetShown(m_pPauseChangeBtn, false);
    SetShown(m_pStopBtn, false);
    for (DuiLib::CControlUI* c : {m_pTimeLabel, m_pTargetBtn, m_pPenBtn, m_pPlayBtn})
        SetShown(c, true);

    int percent = kDefaultFloatBarOpacity;
    g_cfgDocument.GetCfgFloatWndOpacity(&percent);
    m_dAlpha = FloatBarAlpha(UsableFloatBarOpacity(percent));
    m_PaintManager.SetOpacity(FloatBarOpacityByte(m_dAlpha));

    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    m_ptBar = origin;
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ::GetMonitorInfoA(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &mi);
    m_rcWork = mi.rcWork;
    ::GetClientRect(m_hWnd, &m_rcClient);

    m_fade.Restart(::GetTickCount());
    ::SetTimer(m_hWnd, kFadeTimer, kFadePeriodMs, nullptr);
}

void CFloatRecWnd::ApplySkinBackgroundFile(const DuiLib::CDuiString& file)
{
    if (!m_pRoot) return;
    // The layout's size, not the window's: a bar docked as a strip keeps
    // the whole picture for when it comes back.
    SIZE size = m_PaintManager.GetInitSize();
    DuiLib::CDuiString image;
    image.Format("file='%s' source='0,0,60,60' dest='0,0,%d,%d' corner='0,0,0,0' xtiled='false' "
                 "ytiled='false'",
                 file.GetData(), (int)size.cx, (int)size.cy);
    m_pRoot->SetBkImage(image);
}

SIZE CFloatRecWnd::BarSize() const
{
    return {m_rcClient.right - m_rcClient.left, m_rcClient.bottom - m_rcClient.top};
}

void CFloatRecWnd::SetShown(DuiLib::CControlUI* control, bool shown)
{
    if (control) control->SetVisible(shown);
}

// --- Showing ------------------------------------------------------------------------

void CFloatRecWnd::ShowBar()
{
    ShowWindow(true, false);
    // Shown again, it is the bar the hot key hides next.
    if (MainWindow* main = GetMainWindow()) main->SetFloatWndShown(true);
}

void CFloatRecWnd::HideBar()
{
    ShowWindow(false, false);
    if (MainWindow* main = GetMainWindow()) main->SetFloatWndShown(false);
}

void CFloatRecWnd::ShowWithTargetEnabled(bool enabled)
{
    ShowBar();
    if (m_pTargetBtn) m_pTargetBtn->SetEnabled(enabled);
}

void CFloatRecWnd::ShowMainWindow()
{
    MainWindow* main = GetMainWindow();
    if (!main) return;
    ::SetForegroundWindow(main->Handle());
    ::ShowWindow(main->Handle(), SW_SHOWNORMAL);
}

// --- Clicks and the menu ----------------------------------------------------------

void CFloatRecWnd::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) OnClick(msg.pSender->GetName());
    SkinWindow::OnNotify(msg);
}

void CFloatRecWnd::OnClick(const DuiLib::CDuiString& name)
{
    MainWindow* main = GetMainWindow();
    if (name == "play_btn") {
        // With a region chosen in the picker, the bar records that region.
        DuiLib::CWindowWnd* picker = Kept(WindowId::RegionPicker);
        if (picker && ::IsWindow(picker->GetHWND()))
            ::SendMessageA(picker->GetHWND(), WM_COMMAND, kRegionPickerCmdStart, 0);
        else
            StartRecording(false);
    } else if (name == "stop_btn") {
        // The drawing goes first, so it is not left over the next recording.
        if (Kept(WindowId::RealtimeGraffiti)) GetWindowTable().Close(WindowId::RealtimeGraffiti);
        StopRecording();
        ShowBar();
    } else if (name == "pause_btn" || name == "float_pause_change_btn") {
        TogglePause();
    } else if (name == "target_btn") {
        if (main) main->OpenRegionPicker();
        // Disabled while the picker is up; the picker enables it again. A
        // picker that did not open (a recording runs, the question came
        // instead) leaves the button usable.
        if (m_pTargetBtn && Kept(WindowId::RegionPicker)) m_pTargetBtn->SetEnabled(false);
    } else if (name == "floatregin_pen_btn") {
        ToggleGraffiti(0);
    } else if (name == "layered_pen_btn") {
        ToggleGraffiti(1);
    } else if (name == "more_btn") {
        POINT at = kMoreMenuPoint;
        ::ClientToScreen(m_hWnd, &at);
        OpenMenu(at);
    }
}

void CFloatRecWnd::ToggleGraffiti(int mode)
{
    MainWindow* main = GetMainWindow();
    if (!main) return;
    RECT flash = {};
    DuiLib::CWindowWnd* frame = Kept(WindowId::Flash);
    const bool framed = frame && ::GetWindowRect(frame->GetHWND(), &flash);
    RECT area = FloatBarGraffitiArea(framed ? &flash : nullptr, ::GetSystemMetrics(SM_CXSCREEN),
                                     ::GetSystemMetrics(SM_CYSCREEN));
    // Out of the drawing's way while it starts; a program without the
    // drawing canvas would never bring the bar back.
    if (GetWindowTable().Has(WindowId::RealtimeGraffiti)) ShowWindow(false, false);
    main->ToggleRealtimeGraffiti(mode, area);
}

void CFloatRecWnd::OpenMenu(POINT screen)
{
    HMENU menu = ::LoadMenuA(DuiLib::CPaintManagerUI::GetInstance(),
                             MAKEINTRESOURCEA(kFloatBarMenuResource));
    if (!menu) return;
    // The menu runs its own loop, in which the bar may end (the program
    // closing): nothing of the object is touched once it returns.
    HWND self = m_hWnd;
    ::SetForegroundWindow(self);
    ::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_RIGHTBUTTON, screen.x, screen.y, 0, self, nullptr);
    ::PostMessageA(self, WM_NULL, 0, 0);
    ::DestroyMenu(menu);
}

void CFloatRecWnd::OnCommand(unsigned id)
{
    MainWindow* main = GetMainWindow();
    if (int percent = OpacityPercentOfCommand(id)) {
        SetOpacityPercent(percent);
        return;
    }
    switch (id) {
        case kFloatBarCmdShowMain:
            ShowMainWindow();
            break;
        case kFloatBarCmdOpenFolder:
            if (main) main->OpenVideoList();
            break;
        case kFloatBarCmdStart:
            StartRecording(false);
            break;
        case kFloatBarCmdStop:
            StopRecording();
            break;
        case kFloatBarCmdPause:
            // As the pause button: pauses, and resumes a paused recording.
            TogglePause();
            break;
        case kFloatBarCmdHide:
            HideBar();
            break;
        case kFloatBarCmdExit:
            // Posted: the main window's close ends the bar too, which must
            // not happen inside the bar's own message.
            if (main) ::PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

void CFloatRecWnd::SetOpacityPercent(int percent)
{
    m_dAlpha = FloatBarAlpha(percent);
    m_PaintManager.SetOpacity(FloatBarOpacityByte(m_dAlpha));
    g_cfgDocument.SetCfgFloatWndOpacity(percent);
}

// --- Messages ----------------------------------------------------------------------

LRESULT CFloatRecWnd::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    switch (uMsg) {
        case WM_RECORD_STARTED:
            OnRecordStarted();
            break;
        case WM_RECORD_STOPPED:
            OnRecordStopped();
            break;
        case WM_PAUSE_BLINK:
            SetShown(m_pPauseBtn, wParam == 0);
            SetShown(m_pPauseChangeBtn, wParam != 0);
            break;
        case WM_LBUTTONDBLCLK:
            ShowMainWindow();
            break;
        case WM_TIMER:
            if (wParam == kCollapseTimer) {
                CollapseToStrip();
                bHandled = TRUE;
            } else if (wParam == kFadeTimer) {
                FadeTick();
                bHandled = TRUE;
            }
            break;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            bHandled = TRUE;
            break;
        case WM_RBUTTONDOWN:
            bHandled = TRUE;
            break;
        case WM_RBUTTONUP: {
            POINT at = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
            ::ClientToScreen(m_hWnd, &at);
            OpenMenu(at);
            bHandled = TRUE;
            break;
        }
        case WM_MOUSELEAVE:
            OnMouseLeave();
            break;
        default:
            break;
    }
    return 0;
}

void CFloatRecWnd::OnRecordStarted()
{
    SetShown(m_pPlayBtn, false);
    for (DuiLib::CControlUI* c : {m_pStopBtn, m_pTimeLabel, m_pTargetBtn, m_pPenBtn})
        SetShown(c, true);
    // The rest before the start does not count towards fading.
    m_fade.Restart(::GetTickCount());
}

void CFloatRecWnd::OnRecordStopped()
{
    if (m_pTimeLabel) {
        m_pTimeLabel->SetText("00:00:00");
        m_pTimeLabel->SetVisible(true);
    }
    for (DuiLib::CControlUI* c : {m_pTargetBtn, m_pPenBtn, m_pPlayBtn}) SetShown(c, true);
    SetShown(m_pStopBtn, false);
    if (m_pTargetBtn) m_pTargetBtn->SetEnabled(true);
    // Only a recording fades the bar: idle, it is as opaque as the user chose.
    m_PaintManager.SetOpacity(FloatBarOpacityByte(m_dAlpha));
    ShowBar();
}

LRESULT CFloatRecWnd::ResponseDefaultKeyEvent(WPARAM wParam)
{
    return wParam == VK_ESCAPE ? TRUE : FALSE;
}

LRESULT CFloatRecWnd::OnNcHitTest(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    // The bar moves only by its own dragging.
    bHandled = TRUE;
    return HTCLIENT;
}

LRESULT CFloatRecWnd::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = TRUE;
    // Alt+F4 hides the bar as its menu does: closed, nothing could bring it
    // back before the program starts again.
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        HideBar();
        return 0;
    }
    return DuiLib::CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

// --- Dragging, docking, fading ------------------------------------------------------

LRESULT CFloatRecWnd::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
    m_ptPress = pt;
    m_bDragging = !InFloatBarButtonRow(pt);
    LRESULT lRes = 0;
    m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes);
    // The mouse stays the bar's while it drags, however fast it moves.
    if (m_bDragging && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
    bHandled = TRUE;
    return lRes;
}

LRESULT CFloatRecWnd::OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    const bool dragged = m_bDragging;
    m_bDragging = false;
    m_ptPress = {0, 0};
    // The controls first: releasing the capture before them would end the
    // press of a button without its click.
    HWND self = m_hWnd;
    LRESULT lRes = 0;
    m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes);
    bHandled = TRUE;
    // The bar may have ended inside a click (the program closing while its
    // menu was open).
    if (!::IsWindow(self)) return lRes;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    // The leave notices that came while dragging were let go: the mouse
    // is watched afresh, and one that is already off the bar (held at the
    // work area's edge) has left it.
    if (dragged) {
        POINT cursor;
        RECT rc;
        ::GetCursorPos(&cursor);
        ::GetWindowRect(m_hWnd, &rc);
        if (::PtInRect(&rc, cursor))
            TrackMouse();
        else
            OnMouseLeave();
    }
    return lRes;
}

LRESULT CFloatRecWnd::OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    LRESULT lRes = 0;
    m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes);
    bHandled = TRUE;
    if (m_bDragging) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        const SIZE size = BarSize();
        m_ptBar = DraggedFloatBarPosition(cursor, m_ptPress, size, m_rcWork);
        // At its full size: a strip taken hold of before it came back is
        // the bar again once it moves.
        PlaceWindow(m_hWnd, {m_ptBar.x, m_ptBar.y, m_ptBar.x + size.cx, m_ptBar.y + size.cy});
        m_bExpanded = true;
        return lRes;
    }
    // After the library's own tracking, which asks for a slower hover.
    TrackMouse();
    UpdateDetailPopups({(short)LOWORD(lParam), (short)HIWORD(lParam)}, false);
    return lRes;
}

void CFloatRecWnd::TrackMouse()
{
    TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, 1};
    ::TrackMouseEvent(&tme);
}

LRESULT CFloatRecWnd::OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    LRESULT lRes = 0;
    m_PaintManager.MessageHandler(uMsg, wParam, lParam, lRes);
    bHandled = TRUE;
    if (m_bMouseLeft) {
        m_bMouseLeft = false;
        const SIZE size = BarSize();
        if (FloatBarDockSide(m_ptBar, size, m_rcWork) != DockSide::None && m_bExpanded) {
            // A collapse still waiting would take the bar away under the mouse.
            ::KillTimer(m_hWnd, kCollapseTimer);
            PlaceWindow(m_hWnd, {m_ptBar.x, m_ptBar.y, m_ptBar.x + size.cx, m_ptBar.y + size.cy});
        }
    }
    UpdateDetailPopups({(short)LOWORD(lParam), (short)HIWORD(lParam)}, true);
    return lRes;
}

void CFloatRecWnd::OnMouseLeave()
{
    if (m_bDragging) return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    POINT origin = {0, 0};
    ::ClientToScreen(m_hWnd, &origin);
    const SIZE size = BarSize();
    RECT bar = {origin.x, origin.y, origin.x + size.cx, origin.y + size.cy};
    if (::PtInRect(&bar, cursor)) return;
    if (FloatBarDockSide(m_ptBar, size, m_rcWork) != DockSide::None && m_bExpanded) {
        m_bExpanded = false;
        ::SetTimer(m_hWnd, kCollapseTimer, kCollapseDelayMs, nullptr);
    }
    CloseDetailPopups();
    m_bMouseLeft = true;
}

void CFloatRecWnd::CollapseToStrip()
{
    ::KillTimer(m_hWnd, kCollapseTimer);
    m_bExpanded = true;
    if (m_bDragging) return;
    const SIZE size = BarSize();
    DockSide side = FloatBarDockSide(m_ptBar, size, m_rcWork);
    PlaceWindow(m_hWnd, CollapsedFloatBar(side, m_ptBar, size, m_rcWork));
}

void CFloatRecWnd::FadeTick()
{
    MainWindow* main = GetMainWindow();
    if (!g_bRecording || !main || !main->IsFloatWndShown()) return;
    POINT cursor;
    RECT rc;
    ::GetCursorPos(&cursor);
    ::GetWindowRect(m_hWnd, &rc);
    BYTE opacity = m_fade.Tick(cursor, ::PtInRect(&rc, cursor) != FALSE, ::GetTickCount(), m_dAlpha);
    if (opacity != m_PaintManager.GetOpacity()) m_PaintManager.SetOpacity(opacity);
}

// --- Detail popups ------------------------------------------------------------------

bool CFloatRecWnd::OnAnyOf(POINT client,
                           const std::initializer_list<DuiLib::CControlUI*>& controls) const
{
    for (DuiLib::CControlUI* c : controls)
        if (c && ::PtInRect(&c->GetPos(), client)) return true;
    return false;
}

void CFloatRecWnd::UpdateDetailPopups(POINT client, bool playButtonOnly)
{
    const bool onButton =
        playButtonOnly ? OnAnyOf(client, {m_pPlayBtn})
                       : OnAnyOf(client, {m_pPlayBtn, m_pTargetBtn, m_pPauseBtn, m_pPenBtn,
                                          m_pLayeredPenBtn});
    if (onButton) {
        if (!playButtonOnly) CloseDetailPopups();
        return;
    }
    // A docked strip opens none.
    RECT client_rc;
    ::GetClientRect(m_hWnd, &client_rc);
    const SIZE layout = m_PaintManager.GetInitSize();
    if (client_rc.right - client_rc.left != layout.cx || client_rc.bottom - client_rc.top != layout.cy)
        return;
    const WindowId id = g_bRecording ? WindowId::RecDetail : WindowId::StateDetail;
    if (Kept(id)) return;
    // The popups stand beside the bar and behind it: the bar is their owner.
    WindowRequest request;
    request.owner = m_hWnd;
    ::GetWindowRect(m_hWnd, &request.area);
    GetWindowTable().Open(id, request);
}

void CFloatRecWnd::CloseDetailPopups()
{
    GetWindowTable().Close(WindowId::RecDetail);
    GetWindowTable().Close(WindowId::StateDetail);
}
