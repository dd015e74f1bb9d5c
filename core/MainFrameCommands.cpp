// What the main window does when the user acts on its controls and hot keys,
// and the openers of the child windows it keeps.
#include "core/AppPaths.h"
#include "core/MainCommands.h"
#include "core/MainFrame.h"
#include "core/MessageBoxWindow.h"
#include "core/SystemHelpers.h"
#include "core/SystemMessageBox.h"
#include "drawing/BitmapHelpers.h"
#include "drawing/GdiObjects.h"
#include "recorder/Zoom.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordLoop.h"
#include "recorder/recording/RecordingState.h"

namespace {

// The program's help page (the product's real address goes here).
const char kHelpPage[] = "https://www.orbisk.invalid/help/";

const char kModeChangeQuestion[] = "如果您要更改录制模式，当前录制将会停止，您确定要继续？";
const char kScreenshotFailed[] = "截屏保存失败：";

// Answers of the program's own questions ("否" second, "是" third).
const int kAnswerYes = 2;

// The whiteboard's frame: a sizing border, always on top.
const DWORD kWhiteboardStyle = WS_THICKFRAME;
const DWORD kWhiteboardExStyle = WS_EX_TOPMOST;
// The full-screen pickers: popup and visible.
const DWORD kPickerStyle = WS_POPUP | WS_VISIBLE;

ChildWindowRequest At(HWND owner, POINT at)
{
    ChildWindowRequest r;
    r.owner = owner;
    r.at = at;
    return r;
}

DuiLib::WindowImplBase* CurrentOf(ChildWindow which)
{
    const ChildWindowOpener& opener = GetChildWindowOpener(which);
    return opener.current ? opener.current() : nullptr;
}

// Gives a picker object its full-screen window unless it has one, and
// shows it.
void ShowPicker(DuiLib::WindowImplBase* picker, const char* name)
{
    if (!picker) return;
    if (!::IsWindow(picker->GetHWND()))
        picker->Create(nullptr, name, kPickerStyle, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                       CW_USEDEFAULT);
    if (::IsWindow(picker->GetHWND())) picker->ShowWindow(true);
}

}  // namespace

// --- Notifications -------------------------------------------------------------

void MainFrame::Notify(DuiLib::TNotifyUI& msg)
{
    if (msg.sType == DUI_MSGTYPE_WINDOWINIT) {
        CreateFloatRecWindow();
        InitRecordDefaults(m_hWnd);
        return;
    }
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
            OpenNotKept(ChildWindow::TipsMenu, clickPoint);
            break;
        case MainCommand::CursorSetting:
            OpenNotKept(ChildWindow::CursorSetting, clickPoint);
            break;
        case MainCommand::UpdateLog:
            OpenNotKept(ChildWindow::UpdateLog, clickPoint);
            break;
        case MainCommand::FormatConvert:
            OpenKept(m_pFormatConvertWnd, ChildWindow::FormatConvert, At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::ToTray:
            // Into the tray; a double click on the tray icon brings it back.
            ShowWindow(false);
            break;
        case MainCommand::Camera:
            OpenKept(m_pCameraWnd, ChildWindow::Camera, At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::KeyboardShortcut:
            OpenKept(m_pKeyboardShortcutWnd, ChildWindow::KeyboardShortcut,
                     At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::Help:
            OpenUrl(kHelpPage);
            break;
        case MainCommand::SelectSkin:
            OpenKept(m_pSelectSkinWnd, ChildWindow::SelectSkin, At(m_hWnd, CornerPoint()));
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
            if (DuiLib::WindowImplBase* list = CurrentOf(ChildWindow::VideoList)) {
                BringForward(list);
            } else {
                const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::VideoList);
                if (opener.open) opener.open(At(m_hWnd, CornerPoint()));
            }
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
            OpenNotKept(ChildWindow::MicrophoneVolume, CornerPoint());
            break;
        case MainCommand::SpeakerVolume:
            OpenNotKept(ChildWindow::SpeakerVolume, CornerPoint());
            break;
        case MainCommand::ExpandTool:
            if (m_pExpandToolWnd)
                BringForward(m_pExpandToolWnd);
            else
                OpenKept(m_pExpandToolWnd, ChildWindow::ExpandTool, At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::WaterMark:
            OpenKept(m_pAddWaterMarkWnd, ChildWindow::WaterMark, At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::Caption:
            OpenKept(m_pAddCaptionWnd, ChildWindow::Caption, At(m_hWnd, CornerPoint()));
            break;
        case MainCommand::CountdownSetting:
        case MainCommand::AutoStopSetting: {
            bool countdown =
                MainCommandForControl(sender.GetName()) == MainCommand::CountdownSetting;
            if (countdown && g_bTimedStart) {
                AskCancelTimedStart();
            } else if (!countdown && g_bAutoStopWatch) {
                AskCancelAutoStop();
            } else {
                // At the button's own corner rather than the click point.
                const RECT& pos = sender.GetPos();
                POINT corner = {pos.left, pos.top};
                ::ClientToScreen(m_hWnd, &corner);
                OpenNotKept(
                    countdown ? ChildWindow::CountdownSetting : ChildWindow::AutoStopSetting,
                    corner);
            }
            break;
        }
        case MainCommand::VideoEditor:
            if (!CurrentOf(ChildWindow::VideoEditor)) {
                const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::VideoEditor);
                // Opened from here the editor starts without a file.
                if (opener.open) opener.open(ChildWindowRequest{m_hWnd});
            }
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
    PublishWindows();
}

POINT MainFrame::CornerPoint() const
{
    RECT client = {};
    ::GetClientRect(m_hWnd, &client);
    POINT corner = {client.left, client.bottom};
    ::ClientToScreen(m_hWnd, &corner);
    return corner;
}

bool MainFrame::OpenKept(DuiLib::WindowImplBase*& field, ChildWindow which,
                         const ChildWindowRequest& request)
{
    if (field) return true;
    const ChildWindowOpener& opener = GetChildWindowOpener(which);
    if (!opener.open) return false;
    field = opener.open(request);
    PublishWindows();
    return field != nullptr;
}

void MainFrame::OpenNotKept(ChildWindow which, POINT at)
{
    const ChildWindowOpener& opener = GetChildWindowOpener(which);
    // Each of these windows deletes itself when it ends.
    if (opener.open) opener.open(At(m_hWnd, at));
}

void MainFrame::BringForward(DuiLib::WindowImplBase* window)
{
    if (!window || !::IsWindow(window->GetHWND())) return;
    window->ShowWindow(true);
    ::SetForegroundWindow(window->GetHWND());
}

void MainFrame::ForgetChildWindow(DuiLib::WindowImplBase* window)
{
    if (!window) return;
    for (DuiLib::WindowImplBase** field :
         {&m_pExpandToolWnd, &m_pAddWaterMarkWnd, &m_pAddCaptionWnd, &m_pKeyboardShortcutWnd,
          &m_pFloatRecWnd, &m_pFlashWnd, &m_pWhiteboardWnd, &m_pCameraWnd, &m_pSelectSkinWnd,
          &m_pCountDownWnd, &m_pFormatConvertWnd, &m_pSmallTipWnd, &m_pAboutSoftWnd})
        if (*field == window) *field = nullptr;
    PublishWindows();
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
    if (CurrentOf(ChildWindow::RegionPicker)) return;
    if (g_bRecording) {
        ConfirmRecordModeChange();
        return;
    }
    const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::RegionPicker);
    if (!opener.open) return;
    if (m_pFloatRecWnd) m_pFloatRecWnd->ShowWindow(false, false);
    ::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
    ShowPicker(opener.open(ChildWindowRequest{m_hWnd}), "CScrCaptureWnd");
}

void MainFrame::StartWhiteboardMode()
{
    if (g_bRecording) {
        ConfirmRecordModeChange();
        return;
    }
    // A second whiteboard would orphan the first: the close road and the
    // recording only ever reach the one in the field.
    if (m_pWhiteboardWnd && ::IsWindow(m_pWhiteboardWnd->GetHWND())) {
        BringForward(m_pWhiteboardWnd);
        return;
    }
    const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::Whiteboard);
    if (!opener.open) return;
    m_pWhiteboardWnd = opener.open(ChildWindowRequest{m_hWnd});
    if (m_pWhiteboardWnd) {
        g_nRecordMode = 1;
        m_pWhiteboardWnd->Create(nullptr, "绘制模式", kWhiteboardStyle, kWhiteboardExStyle, 0, 0, 0,
                                 0);
        m_pWhiteboardWnd->CenterWindow();
        m_pWhiteboardWnd->ShowWindow(true);
    }
    PublishWindows();
}

void MainFrame::OpenScreenshotWindow()
{
    const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::ScreenShot);
    if (!opener.open) return;
    if (GetMainFrameHooks().clearDrawingBoard) GetMainFrameHooks().clearDrawingBoard();
    ::ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
    ShowPicker(opener.open(ChildWindowRequest{m_hWnd}), "");
}

void MainFrame::OpenFormatConvertWindow(const POINT* at, const std::string& file)
{
    ChildWindowRequest request = At(m_hWnd, at ? *at : CornerPoint());
    request.file = file;
    if (!OpenKept(m_pFormatConvertWnd, ChildWindow::FormatConvert, request)) return;
    if (DuiLib::WindowImplBase* list = CurrentOf(ChildWindow::VideoList))
        list->ShowWindow(false, false);
    m_pFormatConvertWnd->ShowWindow(true);
}

void MainFrame::ToggleRealtimeGraffiti(int flag, const RECT& area)
{
    const ChildWindowOpener& opener = GetChildWindowOpener(ChildWindow::RealtimeGraffiti);
    DuiLib::CControlUI* target =
        m_pFloatRecWnd ? m_pFloatRecWnd->GetPaintManager().FindControl("target_btn") : nullptr;
    if (CurrentOf(ChildWindow::RealtimeGraffiti)) {
        if (GetMainFrameHooks().closeRealtimeGraffiti) GetMainFrameHooks().closeRealtimeGraffiti();
        if (m_pFloatRecWnd) m_pFloatRecWnd->ShowWindow(true, false);
        if (target) target->SetEnabled(true);
        return;
    }
    if (!opener.open) return;
    if (m_pFloatRecWnd) m_pFloatRecWnd->ShowWindow(true, false);
    if (target) target->SetEnabled(false);
    ChildWindowRequest request{m_hWnd};
    request.flag = flag;
    request.area = area;
    opener.open(request);
}

void MainFrame::ShowFlashWnd(const RECT& area)
{
    ChildWindowRequest request{m_hWnd};
    request.area = area;
    OpenKept(m_pFlashWnd, ChildWindow::Flash, request);
}

void MainFrame::ShowSmallTipWindow()
{
    if (m_pSmallTipWnd)
        BringForward(m_pSmallTipWnd);
    else
        OpenKept(m_pSmallTipWnd, ChildWindow::SmallTip, ChildWindowRequest{m_hWnd});
}

void MainFrame::ShowAboutSoftWnd()
{
    if (m_pAboutSoftWnd)
        BringForward(m_pAboutSoftWnd);
    else
        OpenKept(m_pAboutSoftWnd, ChildWindow::AboutSoft, ChildWindowRequest{m_hWnd});
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
        ShowTip(kScreenshotFailed + path, 5);
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
            if (m_pFloatRecWnd) m_pFloatRecWnd->ShowWindow(m_bFloatWndShown != 0, false);
            break;
        case HotKeyAction::Graffiti: {
            RECT flash = {};
            bool framed = m_pFlashWnd && ::GetWindowRect(m_pFlashWnd->GetHWND(), &flash);
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
