// What the main window does when the user acts on its controls and hot keys,
// and the openers of the child windows it keeps.
#include "app/ChildWindows.h"
#include "core/HelpPage.h"
#include "app/MainCommands.h"
#include "app/MainFrame.h"
#include "app/MessageBoxWindow.h"
#include "core/AppPaths.h"
#include "core/SystemMessageBox.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/GdiObjects.h"
#include "recorder/Zoom.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"

namespace {

const char kModeChangeQuestion[] = "如果您要更改录制模式，当前录制将会停止，您确定要继续？";
const char kScreenshotFailed[] = "截屏保存失败：";

// Answers of the program's own questions ("否" second, "是" third).
const int kAnswerYes = 2;

// The whiteboard's frame: a sizing border, always on top.
const DWORD kWhiteboardStyle = WS_THICKFRAME;
const DWORD kWhiteboardExStyle = WS_EX_TOPMOST;
// The full-screen pickers: popup and visible.
const DWORD kPickerStyle = WS_POPUP | WS_VISIBLE;

// Gives a picker object its full-screen window unless it has one, and
// shows it.
void ShowPicker(DuiLib::CWindowWnd* picker, const char* name)
{
    if (!picker) return;
    if (!::IsWindow(picker->GetHWND()))
        picker->Create(nullptr, name, kPickerStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT);
    if (::IsWindow(picker->GetHWND())) picker->ShowWindow(true);
}

}  // namespace

// --- Notifications -------------------------------------------------------------

void MainFrame::OnWindowInit()
{
    CreateFloatRecWindow();
    InitRecordDefaults(m_hWnd);
}

void MainFrame::OnNotify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        POINT at = msg.ptMouse;
        ::ClientToScreen(m_hWnd, &at);
        OnClick(*msg.pSender, at);
    }
}

void MainFrame::OnClick(DuiLib::CControlUI& sender, POINT clickPoint)
{
    switch (MainCommandForControl(sender.GetName())) {
        case MainCommand::RegionPicker:
            OpenRegionPicker();
            break;
        case MainCommand::TipsMenu:
            OpenChild(WindowId::TipsMenu, &sender, clickPoint);
            break;
        case MainCommand::CursorSetting:
            OpenChild(WindowId::CursorSetting, &sender, clickPoint);
            break;
        case MainCommand::UpdateLog:
            OpenChild(WindowId::UpdateLog, &sender, clickPoint);
            break;
        case MainCommand::FormatConvert:
            OpenChild(WindowId::FormatConvert, &sender, clickPoint);
            break;
        case MainCommand::ToTray:
            // Into the tray; a double click on the tray icon brings it back.
            ShowWindow(false);
            break;
        case MainCommand::Camera:
            OpenChild(WindowId::Camera, &sender, clickPoint);
            break;
        case MainCommand::KeyboardShortcut:
            OpenChild(WindowId::KeyboardShortcut, &sender, clickPoint);
            break;
        case MainCommand::Help:
            OpenHelpPage();
            break;
        case MainCommand::SelectSkin:
            OpenChild(WindowId::SelectSkin, &sender, clickPoint);
            break;
        case MainCommand::Close:
            Close(1);
            break;
        case MainCommand::Minimize:
            SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
            break;
        case MainCommand::StartRecording:
            StartRecording(false);
            break;
        case MainCommand::StopRecording:
            StopRecording();
            break;
        case MainCommand::TogglePause:
            TogglePause();
            break;
        case MainCommand::CancelRecording:
            ::KillTimer(m_hWnd, 2);
            CancelRecording();
            break;
        case MainCommand::VideoList:
            OpenChild(WindowId::VideoList, &sender, clickPoint);
            break;
        case MainCommand::Whiteboard:
            StartWhiteboardMode();
            break;
        case MainCommand::Screenshot:
            OpenScreenshotWindow();
            break;
        case MainCommand::FullScreenMode:
            if (g_bRecording)
                ConfirmRecordModeChange();
            else
                g_nRecordMode = 4;
            break;
        case MainCommand::MicrophoneVolume:
            OpenChild(WindowId::MicrophoneVolume, &sender, clickPoint);
            break;
        case MainCommand::SpeakerVolume:
            OpenChild(WindowId::SpeakerVolume, &sender, clickPoint);
            break;
        case MainCommand::ExpandTool:
            OpenChild(WindowId::ExpandTool, &sender, clickPoint);
            break;
        case MainCommand::WaterMark:
            OpenChild(WindowId::WaterMark, &sender, clickPoint);
            break;
        case MainCommand::Caption:
            OpenChild(WindowId::Caption, &sender, clickPoint);
            break;
        case MainCommand::CountdownSetting:
            if (g_bTimedStart)
                AskCancelTimedStart();
            else
                OpenChild(WindowId::CountdownSetting, &sender, clickPoint);
            break;
        case MainCommand::AutoStopSetting:
            if (g_bAutoStopWatch)
                AskCancelAutoStop();
            else
                OpenChild(WindowId::AutoStopSetting, &sender, clickPoint);
            break;
        case MainCommand::VideoEditor:
            // Opened from here the editor starts without a file.
            OpenChild(WindowId::VideoEditor, &sender, clickPoint);
            break;
        case MainCommand::TimedStartQuestion:
            AskCancelTimedStart();
            break;
        case MainCommand::AutoStopQuestion:
            AskCancelAutoStop();
            break;
        case MainCommand::None:
            break;
    }
}

POINT MainFrame::CornerPoint() const
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    POINT corner = {client.left, client.bottom};
    ::ClientToScreen(m_hWnd, &corner);
    return corner;
}

DuiLib::CWindowWnd* MainFrame::OpenChild(WindowId id, const DuiLib::CControlUI* sender,
                                         POINT clickPoint)
{
    WindowRequest request;
    request.owner = m_hWnd;
    switch (GetWindowTable().Rules(id).placement) {
        case WindowPlacement::Corner:
            request.at = CornerPoint();
            break;
        case WindowPlacement::ClickPoint:
            request.at = clickPoint;
            break;
        case WindowPlacement::ControlCorner:
            // At the button's own corner rather than the click point.
            if (sender) {
                request.at = {sender->GetPos().left, sender->GetPos().top};
                ::ClientToScreen(m_hWnd, &request.at);
            }
            break;
        case WindowPlacement::None:
            break;
    }
    return GetWindowTable().Open(id, request);
}

// --- Questions -------------------------------------------------------------------

void MainFrame::ConfirmRecordModeChange()
{
    int answer = ShowSystemMessageBox(nullptr, kModeChangeQuestion, "提示", MB_OKCANCEL);
    // The box is modal but the hot keys are not: the recording may have
    // ended while it was open, and a second stop would only disturb the
    // idle window.
    if (answer == IDOK && g_bRecording) StopRecording();
}

void MainFrame::AskCancelTimedStart()
{
    int answer = MessageBoxWindow::Ask(m_hWnd, "提示", "是否取消本次倒计时功能？", "", "否", "是");
    if (answer != kAnswerYes) return;
    g_bTimedStart = 0;
    SetControlVisible(m_pShowCountDownBtn, false);
    SetTimedStartText("00:00:00");
    if (m_pTimeLabel) m_pTimeLabel->SetText("00:00:00");
}

void MainFrame::AskCancelAutoStop()
{
    std::string title = "提示 " + FormatAutoStopRemaining() + "后将自动停止录制";
    int answer =
        MessageBoxWindow::Ask(m_hWnd, title, "是否取消本次自动停止录制功能？", "", "否", "是");
    if (answer != kAnswerYes) return;
    g_bAutoStopWatch = 0;
    SetControlVisible(m_pShowAutoStopBtn, false);
}

// --- Child windows ---------------------------------------------------------------

void MainFrame::OpenRegionPicker()
{
    if (Kept(WindowId::RegionPicker)) return;
    if (g_bRecording) {
        ConfirmRecordModeChange();
        return;
    }
    if (!GetWindowTable().Has(WindowId::RegionPicker)) return;
    if (DuiLib::CWindowWnd* bar = Kept(WindowId::FloatRec)) bar->ShowWindow(false, false);
    ::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
    ShowPicker(OpenChild(WindowId::RegionPicker), "CScrCaptureWnd");
}

void MainFrame::StartWhiteboardMode()
{
    if (g_bRecording) {
        ConfirmRecordModeChange();
        return;
    }
    // A second whiteboard would orphan the first: the close road and the
    // recording only ever reach the one in the table.
    if (DuiLib::CWindowWnd* open = Kept(WindowId::Whiteboard)) {
        WindowTable::BringForward(open);
        return;
    }
    DuiLib::CWindowWnd* board = OpenChild(WindowId::Whiteboard);
    if (!board) return;
    g_nRecordMode = 1;
    board->Create(nullptr, "绘制模式", kWhiteboardStyle, kWhiteboardExStyle, 0, 0, 0, 0);
    board->CenterWindow();
    board->ShowWindow(true);
}

void MainFrame::OpenScreenshotWindow()
{
    if (!GetWindowTable().Has(WindowId::ScreenShot)) return;
    ::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
    // The screenshot module empties the drawing board as it opens.
    ShowPicker(OpenChild(WindowId::ScreenShot), "");
}

void MainFrame::OpenFormatConvertWindow(const POINT* at, const std::string& file)
{
    WindowRequest request{m_hWnd};
    request.at = at ? *at : CornerPoint();
    request.file = file;
    DuiLib::CWindowWnd* convert = GetWindowTable().Open(WindowId::FormatConvert, request);
    if (!convert) return;
    if (DuiLib::CWindowWnd* list = Kept(WindowId::VideoList)) list->ShowWindow(false, false);
    convert->ShowWindow(true);
}

void MainFrame::ToggleRealtimeGraffiti(int flag, const RECT& area)
{
    DuiLib::CWindowWnd* bar = Kept(WindowId::FloatRec);
    DuiLib::CControlUI* target = FloatBarControl("target_btn");
    if (Kept(WindowId::RealtimeGraffiti)) {
        GetWindowTable().Close(WindowId::RealtimeGraffiti);
        if (bar) bar->ShowWindow(true, false);
        if (target) target->SetEnabled(true);
        return;
    }
    if (!GetWindowTable().Has(WindowId::RealtimeGraffiti)) return;
    if (bar) bar->ShowWindow(true, false);
    if (target) target->SetEnabled(false);
    WindowRequest request{m_hWnd};
    request.flag = flag;
    request.area = area;
    GetWindowTable().Open(WindowId::RealtimeGraffiti, request);
}

void MainFrame::ShowFlashWnd(const RECT& area)
{
    WindowRequest request{m_hWnd};
    request.area = area;
    GetWindowTable().Open(WindowId::Flash, request);
}

void MainFrame::OpenVideoList()
{
    OpenChild(WindowId::VideoList);
}

void MainFrame::ShowSmallTipWindow()
{
    OpenChild(WindowId::SmallTip);
}

void MainFrame::ShowAboutSoftWnd()
{
    OpenChild(WindowId::AboutSoft);
}

// --- Hot keys ----------------------------------------------------------------------

void MainFrame::SaveFullScreenShot()
{
    orbisk::UniqueBitmap desktop(GrabDesktopBitmap());
    RECT area = {};
    ::GetWindowRect(::GetDesktopWindow(), &area);
    std::string path = MakeNewScreenshotFileName();
    if (desktop && SaveBitmapRectAsPng(desktop.Get(), &area, path)) {
        ShowSaveFileNotice(1);
    } else {
        // No notice for a file that is not there; say so instead.
        ShowFloatWndTip(kScreenshotFailed + path, 5);
    }
}

void MainFrame::OnHotKeyAction(int index)
{
    switch (HotKeyActionForId((WPARAM)index + 1)) {
        case HotKeyAction::StartOrStop:
            if (g_bRecording)
                StopRecording();
            else
                StartRecording(false);
            break;
        case HotKeyAction::Pause:
            TogglePause();
            break;
        case HotKeyAction::FloatBar:
            m_bFloatWndShown = m_bFloatWndShown ? 0 : 1;
            if (DuiLib::CWindowWnd* bar = Kept(WindowId::FloatRec))
                bar->ShowWindow(m_bFloatWndShown != 0, false);
            break;
        case HotKeyAction::Graffiti: {
            RECT flash = {};
            DuiLib::CWindowWnd* frame = Kept(WindowId::Flash);
            bool framed = frame && ::GetWindowRect(frame->GetHWND(), &flash);
            ToggleRealtimeGraffiti(
                1, GraffitiArea(framed ? &flash : nullptr, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYFULLSCREEN)));
            break;
        }
        case HotKeyAction::ScreenShot:
            SaveFullScreenShot();
            break;
        case HotKeyAction::Zoom: {
            POINT cursor = {};
            ::GetCursorPos(&cursor);
            // The centre before the tick: the engine starts a zoom on the tick.
            g_ptZoomCenter = cursor;
            g_dwZoomTick = GetTickCount();
            break;
        }
        case HotKeyAction::None:
            break;
    }
}
