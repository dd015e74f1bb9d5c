#include "app/MainFrame.h"

#include "app/ChildWindows.h"
#include "core/HelpPage.h"
#include "app/LedFont.h"
#include "app/MainFrameHost.h"
#include "app/MainFrameTexts.h"
#include "app/MessageBoxWindow.h"
#include "app/MessagePump.h"
#include "app/SingleInstance.h"
#include "app/StaticStartup.h"
#include "core/CfgDocument.h"
#include "core/HotKeyTable.h"
#include "core/ProgramFolder.h"
#include "core/SystemHelpers.h"
#include "kit/WindowMessages.h"
#include "platform/TestHooks.h"
#include "platform/hook/CamHook.h"
#include "recorder/codecs/RecordingSettings.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingState.h"
#include "recorder/recording/SaveRecording.h"
#include "settings/UpdateCheck.h"

MainFrame* g_pMainFrame = nullptr;

namespace {

const UINT_PTR kAudioBarTimer = 2;
const UINT kAudioBarPeriodMs = 10;
const UINT_PTR kTipTimer = 0x5449;

// How long closing waits for a running recording to be saved.
const DWORD kSaveBeforeCloseMs = 10 * 60 * 1000;

const char kRecordInterruptedText[] = "录制失败：视频无法写入文件，录制已中断。";
const char kSavedText[] = "您的视频已保存在视频文件夹里！";

}  // namespace

// --- The window ---------------------------------------------------------------

MainFrame::MainFrame()
    : SkinWindow({"main_frame.xml", "main_layout", /*followsRecording=*/true, "skin\\"})
{
    SetMainWindowRules(GetWindowTable());
}

MainFrame::~MainFrame()
{
    PostQuitMessage(0);
}

LPCSTR MainFrame::GetWindowClassName() const
{
    return kMainFrameClassName;
}

void MainFrame::InitWindow()
{
    SkinWindow::InitWindow();
    m_pCover = Find<DuiLib::CLabelUI>("cover");
    m_pAssistantLayout = Find("assistant_layout");
    m_pAssistantLabel = Find("assistant_lb");
    m_pMainLayout = Find("main_layout");
    m_pMicrophoneMute = Find("microphoneMute");
    m_pMicrophoneNormal = Find("microphoneNormal");
    m_pSpeakerNormal = Find("speakerNormal");
    m_pSpeakerMute = Find("speakerMute");
    DuiLib::CControlUI* plain = Find("record_time_lb");
    DuiLib::CControlUI* led = Find("record_time_lb_led");
    m_pTimeLabel = g_bLedFont ? led : plain;
    SetControlVisible(g_bLedFont ? plain : led, false);
    SetControlVisible(m_pTimeLabel, true);
    m_pBeginRecordBtn = Find("begin_record_btn");
    m_pStopRecordBtn = Find("stop_record_btn");
    m_pPauseRecordBtn = Find("pause_record_btn");
    m_pPauseChangeBtn = Find("pause_change_btn");
    m_pCaptureScreenBtn = Find("capture_screen_btn");
    m_pShowCountDownBtn = Find("show_count_down_btn");
    m_pShowAutoStopBtn = Find("show_auto_stop_btn");
    m_pUpdateBtn = Find("update_btn");
    m_pAudioBar = Find("audio_ctl");
    if (m_pCover) m_pCover->SetMultiLine(true);
    SetControlVisible(m_pUpdateBtn, false);
    SetMainWindow(this);
    SetRecordingHost(&GetMainFrameRecordingHost());
}

void MainFrame::SetControlVisible(DuiLib::CControlUI* control, bool visible)
{
    if (control) control->SetVisible(visible);
}

DuiLib::CControlUI* MainFrame::FloatBarControl(const char* name) const
{
    auto* bar = dynamic_cast<DuiLib::WindowImplBase*>(Kept(WindowId::FloatRec));
    return bar ? bar->GetPaintManager().FindControl(name) : nullptr;
}

void MainFrame::CreateFloatRecWindow()
{
    // Idle buttons.
    SetControlVisible(m_pBeginRecordBtn, true);
    SetControlVisible(m_pPauseRecordBtn, true);
    SetControlVisible(m_pStopRecordBtn, false);
    SetControlVisible(m_pPauseChangeBtn, false);

    // Tooltips that name the hot keys.
    const HotKeyEntry* keys = g_hotKeyTable.entries;
    std::string recordTip = "开始/停止录制 " + keys[0].vkeystr;
    std::string pauseTip = "暂停/恢复录制 " + keys[1].vkeystr;
    if (m_pBeginRecordBtn) m_pBeginRecordBtn->SetToolTip(recordTip.c_str());
    if (m_pStopRecordBtn) m_pStopRecordBtn->SetToolTip(recordTip.c_str());
    if (m_pPauseRecordBtn) m_pPauseRecordBtn->SetToolTip(pauseTip.c_str());
    if (m_pPauseChangeBtn) m_pPauseChangeBtn->SetToolTip(pauseTip.c_str());
    if (m_pCaptureScreenBtn)
        m_pCaptureScreenBtn->SetToolTip(("快速截屏 " + keys[4].vkeystr).c_str());

    // The floating recording bar, at the top right of its monitor's work
    // area. Made visible only once placed, and without taking the activation
    // from this window: a window made visible is activated, and the focus
    // moving to the bar after the user has turned to the main window (a
    // tray menu just opened) would cancel what the user began.
    if (!Kept(WindowId::FloatRec)) {
        DuiLib::CWindowWnd* bar = GetWindowTable().Open(WindowId::FloatRec, {m_hWnd});
        if (bar && bar->Create(nullptr, "FloatRecWnd", 0x96C80000 & ~WS_VISIBLE,
                               WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0)) {
            MONITORINFO mi = {};
            mi.cbSize = sizeof mi;
            GetMonitorInfoA(MonitorFromWindow(*bar, MONITOR_DEFAULTTONEAREST), &mi);
            SetWindowPos(*bar, nullptr, mi.rcWork.right - 200, 30, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            bar->ShowWindow(true, false);
        }
    }

    // Nothing covers the window; the skin replaces the layout's tile.
    ShowCover(false);
    if (m_pMainLayout) m_pMainLayout->SetBkImage("");
    SetControlVisible(m_pShowAutoStopBtn, false);
    SetControlVisible(m_pAssistantLayout, false);

    // The hot keys, registered on this window; a conflict shows in the help strip.
    g_hRecordOwnerWnd = m_hWnd;
    g_hotKeyTable.Load();
    g_hotKeyTable.owner = m_hWnd;
    g_hotKeyTable.SetTipSink(ShowFloatWndTip);
    g_hotKeyTable.RegisterAll(nullptr);

    // The skin chosen in the settings.
    std::string skin;
    g_cfgDocument.GetCfgSelectSkin(&skin);
    bool userSkin = g_cfgDocument.GetCfgSelectSkinIsUserImg();
    SetSkinBackgroundFile(SkinBackgroundFromConfig(skin, userSkin, GetProgramFolder()).c_str());
    ApplySkinToWindows(m_skinBackgroundFile);

    // Which sound sources are recorded.
    int speaker = 1, microphone = 0;
    g_cfgDocument.GetCfgRecSpeaker(&speaker);
    g_cfgDocument.GetCfgRecMicphone(&microphone);
    SetControlVisible(m_pSpeakerNormal, speaker != 0);
    SetControlVisible(m_pSpeakerMute, speaker == 0);
    SetControlVisible(m_pMicrophoneNormal, microphone != 0);
    SetControlVisible(m_pMicrophoneMute, microphone == 0);

    // The tray icon.
    TrayIconSetup(DuiLib::CPaintManagerUI::GetInstance(), m_hWnd);

    // Whether a newer version is out; the answer comes as WM_UPDATE_CHECKED.
    StartUpdateCheck(m_hWnd);
}

// --- Tray -----------------------------------------------------------------------

void MainFrame::TrayIconSetup(HINSTANCE instance, HWND window)
{
    m_tray.Setup(instance, window);
}

void MainFrame::SetTrayTip(const std::string& text)
{
    m_tray.SetTip(text);
}

void MainFrame::OnTrayNotify(LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDBLCLK) {
        SetForegroundWindow(m_hWnd);
        ::ShowWindow(m_hWnd, SW_SHOW);
        if (IsIconic(m_hWnd)) ::ShowWindow(m_hWnd, SW_RESTORE);
        return;
    }
    if (mouseMessage != WM_RBUTTONDOWN) return;
    bool recording = g_bRecording != 0;
    switch (m_tray.TrackMenu(m_hWnd, recording)) {
        case kTrayExit:
            PostMessage(WM_CLOSE);
            break;
        case kTrayStart:
            if (!m_bClosing) StartRecording(false);
            break;
        case kTrayPause:
            TogglePause();
            break;
        case kTrayStop:
            StopRecording();
            break;
        default:
            break;
    }
}

// --- The recording's events ---------------------------------------------------------

void MainFrame::OnRecordingSaved(const SaveOutcome& outcome)
{
    if (outcome.result == SaveResult::Saved && !outcome.interrupted) {
        ShowFloatWndTip(kSavedText, 5);
        SendMessage(WM_SHOW_SAVE_NOTICE, 0);
    } else {
        // Saved otherwise than asked, or only in part: the user learns what
        // happened and where it all is.
        MessageBoxWindow::Ask(m_hWnd, "提示", outcome.message, "确定", "", "");
    }
}

void MainFrame::OnRecordingFailed(const std::string& text)
{
    OnRecordInterrupted(text);
}

// --- Messages ---------------------------------------------------------------------

LRESULT MainFrame::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (uMsg == WM_HOTKEY) {
        // While the window waits to close, nothing new starts.
        if (wParam >= 1 && wParam <= 6 && !m_bClosing) OnHotKeyAction((int)wParam - 1);
    } else if (uMsg == WM_OPEN_HOMEPAGE) {
        OpenHelpPage();
    } else if (uMsg == WM_CLOSE_MAIN) {
        Close(1);
    } else if (uMsg == WM_SHOW_GUIDE) {
        OpenChild(WindowId::Guide);
    } else if (uMsg == WM_TIMER) {
        if (wParam == kAudioBarTimer)
            RefreshAudioBar();
        else if (wParam == kTipTimer)
            HideTip();
    } else if (uMsg == WM_TIMED_START_TICK) {
        if (wParam == 1) {
            ShowTimeText("00:00:00", "00:00:00");
            SetControlVisible(m_pShowCountDownBtn, false);
        } else {
            ShowTimedStartText();
        }
    } else if (uMsg == WM_SHOW_COUNTDOWN) {
        if (DuiLib::CWindowWnd* countdown = OpenChild(WindowId::CountDown))
            countdown->CenterWindow();
    } else if (uMsg == WM_RECORD_STATUS) {
        OnStatusTick();
    } else if (uMsg == WM_PAUSE_BLINK) {
        SetControlVisible(m_pPauseRecordBtn, wParam == 0);
        SetControlVisible(m_pPauseChangeBtn, wParam != 0);
    } else if (uMsg == WM_TRAY_NOTIFY) {
        OnTrayNotify(lParam);
    } else if (uMsg == RegisterWindowMessageA("TaskbarCreated")) {
        m_tray.Readd();
    } else if (uMsg == WM_SHOW_SAVE_NOTICE) {
        ShowSaveFileNotice(wParam);
    } else if (uMsg == WM_RECORD_STARTED) {
        OnRecordStarted();
        InstallMyHook(nullptr, 0);
    } else if (uMsg == WM_RECORD_STOPPED) {
        OnRecordStopped();
        UninstallMyHook(nullptr);
    } else if (uMsg == g_uRecordInterruptedMsg) {
        OnRecordInterrupted(kRecordInterruptedText);
    } else if (uMsg == WM_UPDATE_CHECKED) {
        if (TakeUpdateOffer()) SetControlVisible(m_pUpdateBtn, true);
    } else if (TestHooksOn() && HandleTestProbe(uMsg, wParam, lParam)) {
        bHandled = TRUE;
        return 1;
    }
    return 0;
}

void MainFrame::ShowControl(const char* name, bool show)
{
    SetControlVisible(m_PaintManager.FindControl(name), show);
}

void MainFrame::ShowTimeText(const std::string& plain, const std::string& led)
{
    if (m_pTimeLabel) m_pTimeLabel->SetText(g_bLedFont ? led.c_str() : plain.c_str());
}

void MainFrame::OnStatusTick()
{
    // A tick posted just before the stop must not bring the time back into
    // the idle window.
    if (!m_bTimer2Running) return;
    // The status thread rewrites the texts twice a second: a copy, taken
    // under its lock.
    RecordStatusTexts texts = GetRecordStatusTexts();
    const std::string& time = texts.time;
    ShowTimeText(time, texts.timeLed);
    if (DuiLib::CControlUI* label = FloatBarControl(g_bLedFont ? "rec_time_led" : "rec_time"))
        label->SetText(time.c_str());
    if (auto* board = dynamic_cast<DuiLib::WindowImplBase*>(Kept(WindowId::Whiteboard)))
        if (DuiLib::CControlUI* label = board->GetPaintManager().FindControl("labRecTime"))
            label->SetText(time.c_str());
    SetTrayTip(BuildRecordingTrayTip(time, texts.size));
}

void MainFrame::OnRecordStarted()
{
    SetControlVisible(m_pBeginRecordBtn, false);
    SetControlVisible(m_pStopRecordBtn, true);
    m_bTimer2Running = ::SetTimer(m_hWnd, kAudioBarTimer, kAudioBarPeriodMs, nullptr) != 0;
    int hide = 0;
    g_cfgDocument.GetCfgHideFloatWnd(&hide);
    if (hide)
        if (DuiLib::CWindowWnd* bar = Kept(WindowId::FloatRec)) bar->ShowWindow(false, false);
}

void MainFrame::OnRecordStopped()
{
    GetWindowTable().Close(WindowId::RealtimeGraffiti);
    ::KillTimer(m_hWnd, kAudioBarTimer);
    m_bTimer2Running = false;
    ShowTimeText("00:00:00", "00 : 00 : 00");
    SetControlVisible(m_pBeginRecordBtn, true);
    SetControlVisible(m_pStopRecordBtn, false);
    SetTrayTip(kMainFrameTitle);
    GetWindowTable().Close(WindowId::Flash);
    SetCoverText("");
    if (m_pAudioBar) m_pAudioBar->SetPos({1, 1, 0, 3});
}

void MainFrame::OnRecordInterrupted(const std::string& text)
{
    // The recorder shows the cover while it closes the file; on this road no
    // save may follow to take it down again.
    ShowCover(false);
    SetCoverText("");
    // A recording that never got going has no stop to tell the windows.
    if (m_bTimer2Running && !g_bRecording) PostMessage(WM_RECORD_STOPPED);
    MessageBoxWindow::Ask(m_hWnd, "提示", text, "确定", "", "");
}

void MainFrame::RefreshAudioBar()
{
    if (m_pAudioBar) m_pAudioBar->SetPos({1, 1, 0, 3});
}

void MainFrame::ShowTimedStartText()
{
    std::string text = GetTimedStartText();
    if (m_pTimeLabel) m_pTimeLabel->SetText(text.c_str());
    if (m_pShowCountDownBtn) m_pShowCountDownBtn->SetVisible(!m_pShowCountDownBtn->IsVisible());
}

void MainFrame::ShowSaveFileNotice(WPARAM kind)
{
    m_noticesAsked += (m_noticesAsked.empty() ? "" : ",") + std::to_string(kind);
    WindowRequest request{m_hWnd};
    request.at = {GetSystemMetrics(SM_CXFULLSCREEN) - 300, FullScreenClientHeight() - 120};
    request.flag = (int)kind;
    GetWindowTable().Open(WindowId::SaveNotice, request);
}

void MainFrame::SetCoverText(const std::string& status)
{
    // The mode the recording settings read (clamped, with their default),
    // so the hint names the mode that is recording.
    std::string text = BuildCoverText(g_hotKeyTable.entries[3].vkeystr, g_nRecMode, status);
    if (m_pCover) m_pCover->SetText(text.c_str());
}

void MainFrame::ShowCover(bool show)
{
    SetControlVisible(m_pCover, show);
}

// --- Skin --------------------------------------------------------------------------

void MainFrame::SetSkinBackgroundFile(const DuiLib::CDuiString& file)
{
    m_skinBackgroundFile = file;
}

void MainFrame::ApplySkinBackgroundFile(const DuiLib::CDuiString& file)
{
    if (m_pMainLayout) m_pMainLayout->SetBkImage(file);
}

void MainFrame::ApplySkinToWindows(const DuiLib::CDuiString& file)
{
    ApplySkinBackgroundFile(file);
    for (WindowId id :
         {WindowId::SelectSkin, WindowId::FloatRec, WindowId::VideoList, WindowId::Camera})
        if (auto* follower = dynamic_cast<SkinFollower*>(Kept(id)))
            follower->ApplySkinBackgroundFile(file);
}

// --- Help strip ----------------------------------------------------------------------

void MainFrame::ShowTip(const std::string& text, int seconds)
{
    if (m_pAssistantLabel) m_pAssistantLabel->SetText(text.c_str());
    SetControlVisible(m_pAssistantLayout, true);
    // A timer of this window rather than a thread: a newer tip simply
    // restarts it, and the strip is only ever touched on the UI thread.
    ::SetTimer(m_hWnd, kTipTimer, (UINT)(seconds > 0 ? seconds : 0) * 1000, nullptr);
}

void MainFrame::HideTip()
{
    ::KillTimer(m_hWnd, kTipTimer);
    SetControlVisible(m_pAssistantLayout, false);
}

// --- Closing -----------------------------------------------------------------------------

void MainFrame::CloseSelectSkinWnd()
{
    GetWindowTable().Close(WindowId::SelectSkin);
}

void MainFrame::CloseCountDownWnd()
{
    GetWindowTable().Close(WindowId::CountDown);
}

void MainFrame::CloseKeyboardShortcutWnd()
{
    GetWindowTable().Close(WindowId::KeyboardShortcut);
}

bool MainFrame::CloseVideoEditingWindow()
{
    DuiLib::CWindowWnd* editor = Kept(WindowId::VideoEditor);
    if (!editor) return true;
    const WindowEntry& entry = GetWindowTable().Entry(WindowId::VideoEditor);
    if (entry.mayClose && !entry.mayClose(*editor)) return false;
    GetWindowTable().Close(WindowId::VideoEditor);
    return true;
}

bool MainFrame::FinishRecordingBeforeClose()
{
    switch (GetRecordPhase()) {
        case RecordPhase::Idle:
            return true;
        case RecordPhase::CountingDown:
            // Nothing recorded yet.
            CancelRecording();
            break;
        case RecordPhase::Recording:
            StopRecording();
            break;
        case RecordPhase::Saving:
            break;
    }
    // The recording thread closes the file and the save thread joins it into
    // the save folder; both report through this thread's queue, which is
    // served while this waits.
    ShowWindow(true, false);
    ShowCover(true);
    return PumpMessagesUntil([] { return GetRecordPhase() == RecordPhase::Idle; },
                             kSaveBeforeCloseMs);
}

LRESULT MainFrame::OnClose(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (m_bClosing) {
        // Already on its way (saving the recording first); one close is enough.
        bHandled = TRUE;
        return 0;
    }
    // Unsaved edits: the user may take the close back.
    if (!CloseVideoEditingWindow()) {
        bHandled = TRUE;
        return 0;
    }
    m_bClosing = true;
    FinishRecordingBeforeClose();
    GetWindowTable().CloseAll(kCloseFirst);
    m_tray.Remove();
    bHandled = FALSE;
    return 0;
}

LRESULT MainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    SetRecordingHost(nullptr);
    if (GetMainWindow() == this) SetMainWindow(nullptr);
    ::KillTimer(m_hWnd, kAudioBarTimer);
    ::KillTimer(m_hWnd, kTipTimer);
    m_tray.Remove();
    bHandled = FALSE;
    return 0;
}

void MainFrame::OnEnded()
{
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
}

LRESULT MainFrame::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // Closing through the system menu or Alt+F4 takes the default road to
    // WM_CLOSE, and so the same close road as the close button.
    bHandled = TRUE;
    DuiLib::CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    return 0;
}

LRESULT MainFrame::ResponseDefaultKeyEvent(WPARAM wParam)
{
    // Escape must not close the main window.
    return wParam == VK_ESCAPE ? TRUE : FALSE;
}
