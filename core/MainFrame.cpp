#include "core/MainFrame.h"

#include "core/CfgDocument.h"
#include "core/HotKeyTable.h"
#include "core/LedFont.h"
#include "core/MainFrameHost.h"
#include "core/MainFrameTexts.h"
#include "core/MessageBoxWindow.h"
#include "core/MessagePump.h"
#include "core/ProgramFolder.h"
#include "core/ResourceIds.h"
#include "core/SingleInstance.h"
#include "core/StaticStartup.h"
#include "core/SystemHelpers.h"
#include "platform/hook/CamHook.h"
#include "recorder/recording/RecordControl.h"
#include "recorder/recording/RecordMessages.h"
#include "recorder/recording/RecordStatus.h"
#include "recorder/recording/RecordingState.h"

#include <atomic>
#include <memory>

MainFrame* g_pMainFrame = nullptr;

namespace {

// What other threads may know of the main window (GetMainFrameWindows).
std::atomic<HWND> g_hMainFrameWnd{nullptr};
std::atomic<HWND> g_hFloatBarWnd{nullptr};
std::atomic<HWND> g_hWhiteboardWnd{nullptr};
std::atomic<HWND> g_hCountdownWnd{nullptr};
std::atomic<bool> g_bMainFrameClosing{false};
std::atomic<unsigned> g_nAutoStopAction{0};

HWND HandleOf(DuiLib::WindowImplBase* window)
{
    return window ? window->GetHWND() : nullptr;
}

// For other processes that hold the main window's handle (the updater).
const UINT WM_OPEN_HOMEPAGE = 0x42A;
const UINT WM_SHOW_GUIDE = 0x42B;
const UINT WM_CLOSE_MAIN = 0x42C;
// A function to run on the UI thread (RunOnMainFrame); lParam owns it.
const UINT WM_RUN_ON_UI = WM_APP + 0x31;

const UINT_PTR kAudioBarTimer = 2;
const UINT kAudioBarPeriodMs = 10;
const UINT_PTR kTipTimer = 0x5449;

// The program's web page (the product's real address goes here).
const char kHomePage[] = "https://www.orbisk.invalid/";
// How long closing waits for a running recording to be saved.
const DWORD kSaveBeforeCloseMs = 10 * 60 * 1000;

const char kRecordInterruptedText[] = "录制失败：视频无法写入文件，录制已中断。";

using UiTask = std::function<void(MainFrame&)>;

DuiLib::CControlUI* Find(DuiLib::CPaintManagerUI& pm, const char* name)
{
    return pm.FindControl(name);
}

}  // namespace

MainFrameHooks& GetMainFrameHooks()
{
    static MainFrameHooks hooks;
    return hooks;
}

MainFrameWindows GetMainFrameWindows()
{
    MainFrameWindows w;
    w.main = g_hMainFrameWnd;
    w.floatBar = g_hFloatBarWnd;
    w.whiteboard = g_hWhiteboardWnd;
    w.countdown = g_hCountdownWnd;
    w.closing = g_bMainFrameClosing;
    w.autoStopAction = g_nAutoStopAction;
    return w;
}

DuiLib::CDuiString GetSkinBackgroundFile()
{
    return g_pMainFrame ? g_pMainFrame->GetSkinBackgroundFile() : DuiLib::CDuiString();
}

bool RunOnMainFrame(std::function<void(MainFrame&)> fn)
{
    HWND hwnd = g_hMainFrameWnd;
    if (!hwnd || !fn) return false;
    auto* task = new UiTask(std::move(fn));
    if (!PostMessageA(hwnd, WM_RUN_ON_UI, 0, reinterpret_cast<LPARAM>(task))) {
        delete task;
        return false;
    }
    return true;
}

void ShowFloatWndTip(const std::string& text, int seconds)
{
    HWND hwnd = g_hMainFrameWnd;
    if (hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId() && g_pMainFrame) {
        g_pMainFrame->ShowTip(text, seconds);
        return;
    }
    RunOnMainFrame([text, seconds](MainFrame& frame) { frame.ShowTip(text, seconds); });
}

// --- The window ---------------------------------------------------------------

MainFrame::MainFrame() = default;

MainFrame::~MainFrame()
{
    PostQuitMessage(0);
}

LPCSTR MainFrame::GetWindowClassName() const
{
    return kMainFrameClassName;
}

DuiLib::UILIB_RESOURCETYPE MainFrame::GetResourceType() const
{
    return DuiLib::UILIB_ZIPRESOURCE;
}

LPCSTR MainFrame::GetResourceID() const
{
    return MAKEINTRESOURCEA(kSkinPackageResource);
}

void MainFrame::InitWindow()
{
    SetIcon(kAppIconResource);
    DuiLib::CPaintManagerUI& pm = m_PaintManager;
    DuiLib::CControlUI* cover = Find(pm, "cover");
    m_pCover = cover ? static_cast<DuiLib::CLabelUI*>(cover->GetInterface("Label")) : nullptr;
    m_pAssistantLayout = Find(pm, "assistant_layout");
    m_pAssistantLabel = Find(pm, "assistant_lb");
    m_pMainLayout = Find(pm, "main_layout");
    m_pMicrophoneMute = Find(pm, "microphoneMute");
    m_pMicrophoneNormal = Find(pm, "microphoneNormal");
    m_pSpeakerNormal = Find(pm, "speakerNormal");
    m_pSpeakerMute = Find(pm, "speakerMute");
    DuiLib::CControlUI* plain = Find(pm, "record_time_lb");
    DuiLib::CControlUI* led = Find(pm, "record_time_lb_led");
    m_pTimeLabel = g_bLedFont ? led : plain;
    SetControlVisible(g_bLedFont ? plain : led, false);
    SetControlVisible(m_pTimeLabel, true);
    m_pBeginRecordBtn = Find(pm, "begin_record_btn");
    m_pStopRecordBtn = Find(pm, "stop_record_btn");
    m_pPauseRecordBtn = Find(pm, "pause_record_btn");
    m_pPauseChangeBtn = Find(pm, "pause_change_btn");
    m_pCaptureScreenBtn = Find(pm, "capture_screen_btn");
    m_pShowCountDownBtn = Find(pm, "show_count_down_btn");
    m_pShowAutoStopBtn = Find(pm, "show_auto_stop_btn");
    m_pUpdateBtn = Find(pm, "update_btn");
    m_pAudioBar = Find(pm, "audio_ctl");
    if (m_pCover) m_pCover->SetMultiLine(true);
    SetControlVisible(m_pUpdateBtn, false);
    g_hMainFrameWnd = m_hWnd;
    SetRecordingHost(&GetMainFrameRecordingHost());
}

void MainFrame::SetControlVisible(DuiLib::CControlUI* control, bool visible)
{
    if (control) control->SetVisible(visible);
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

    // The floating recording bar, at the top right of its monitor's work area.
    MainFrameHooks& hooks = GetMainFrameHooks();
    if (!m_pFloatRecWnd && hooks.makeFloatRecWnd) {
        m_pFloatRecWnd = hooks.makeFloatRecWnd();
        if (m_pFloatRecWnd &&
            m_pFloatRecWnd->Create(nullptr, "FloatRecWnd", 0x96C80000,
                                   WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0)) {
            MONITORINFO mi = {};
            mi.cbSize = sizeof mi;
            GetMonitorInfoA(MonitorFromWindow(*m_pFloatRecWnd, MONITOR_DEFAULTTONEAREST), &mi);
            SetWindowPos(*m_pFloatRecWnd, nullptr, mi.rcWork.right - 200, 30, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            m_pFloatRecWnd->ShowWindow(true, false);
        }
        PublishWindows();
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

    // The update check.
    if (hooks.startUpdateCheck) hooks.startUpdateCheck(m_hWnd);
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

// --- Messages ---------------------------------------------------------------------

LRESULT MainFrame::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    PublishWindows();
    if (uMsg == WM_HOTKEY) {
        // While the window waits to close, nothing new starts.
        if (wParam >= 1 && wParam <= 6 && !m_bClosing) OnHotKeyAction((int)wParam - 1);
    } else if (uMsg == WM_OPEN_HOMEPAGE) {
        OpenUrl(kHomePage);
    } else if (uMsg == WM_CLOSE_MAIN) {
        Close(1);
    } else if (uMsg == WM_SHOW_GUIDE) {
        if (GetMainFrameHooks().showGuide) GetMainFrameHooks().showGuide();
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
        if (!m_pCountDownWnd && GetMainFrameHooks().makeCountDownWnd) {
            m_pCountDownWnd = GetMainFrameHooks().makeCountDownWnd(m_hWnd);
            if (m_pCountDownWnd) m_pCountDownWnd->CenterWindow();
            PublishWindows();
        }
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
        OnRecordInterrupted();
    } else if (uMsg == WM_RUN_ON_UI) {
        std::unique_ptr<UiTask> task(reinterpret_cast<UiTask*>(lParam));
        if (task && *task) (*task)(*this);
        bHandled = TRUE;
    }
#ifdef ORBISK_TEST_HOOKS
    else if (HandleTestProbe(uMsg, wParam, lParam)) {
        bHandled = TRUE;
        return 1;
    }
#endif
    return 0;
}

void MainFrame::PublishWindows()
{
    // The fields change on this thread only; whatever changed them, the
    // copies catch up with the next message.
    g_hFloatBarWnd = HandleOf(m_pFloatRecWnd);
    g_hWhiteboardWnd = HandleOf(m_pWhiteboardWnd);
    g_hCountdownWnd = HandleOf(m_pCountDownWnd);
    g_bMainFrameClosing = m_bClosing;
    g_nAutoStopAction = m_nAutoStopAction;
}

void MainFrame::SetAutoStopAction(unsigned action)
{
    m_nAutoStopAction = action;
    PublishWindows();
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
    const std::string& size = texts.size;
    ShowTimeText(time, texts.timeLed);
    if (m_pFloatRecWnd) {
        DuiLib::CPaintManagerUI& bar = m_pFloatRecWnd->GetPaintManager();
        if (DuiLib::CControlUI* label = bar.FindControl(g_bLedFont ? "rec_time_led" : "rec_time"))
            label->SetText(time.c_str());
        if (GetMainFrameHooks().refreshRecordDetails) GetMainFrameHooks().refreshRecordDetails();
    }
    if (m_pWhiteboardWnd) {
        if (DuiLib::CControlUI* label =
                m_pWhiteboardWnd->GetPaintManager().FindControl("labRecTime"))
            label->SetText(time.c_str());
    }
    SetTrayTip(BuildRecordingTrayTip(time, size));
}

void MainFrame::OnRecordStarted()
{
    SetControlVisible(m_pBeginRecordBtn, false);
    SetControlVisible(m_pStopRecordBtn, true);
    m_bTimer2Running = ::SetTimer(m_hWnd, kAudioBarTimer, kAudioBarPeriodMs, nullptr) != 0;
    int hide = 0;
    g_cfgDocument.GetCfgHideFloatWnd(&hide);
    if (hide && m_pFloatRecWnd) m_pFloatRecWnd->ShowWindow(false, false);
}

void MainFrame::OnRecordStopped()
{
    if (GetMainFrameHooks().closeRealtimeGraffiti) GetMainFrameHooks().closeRealtimeGraffiti();
    ::KillTimer(m_hWnd, kAudioBarTimer);
    m_bTimer2Running = false;
    ShowTimeText("00:00:00", "00 : 00 : 00");
    SetControlVisible(m_pBeginRecordBtn, true);
    SetControlVisible(m_pStopRecordBtn, false);
    SetTrayTip(kMainFrameTitle);
    CloseChild(m_pFlashWnd);
    SetCoverText("");
    if (m_pAudioBar) m_pAudioBar->SetPos({1, 1, 0, 3});
}

void MainFrame::OnRecordInterrupted()
{
    // The recorder shows the cover while it closes the file; on this road no
    // save may follow to take it down again.
    ShowCover(false);
    SetCoverText("");
    // Nothing else tells the windows that this recording has ended.
    if (m_bTimer2Running) {
        PostMessage(WM_RECORD_STOPPED);
        if (m_pFloatRecWnd) m_pFloatRecWnd->PostMessage(WM_RECORD_STOPPED);
        if (m_pWhiteboardWnd) m_pWhiteboardWnd->PostMessage(WM_RECORD_STOPPED);
    }
    MessageBoxWindow::Ask(m_hWnd, "提示", kRecordInterruptedText, "确定", "", "");
}

void MainFrame::RefreshAudioBar()
{
    ++m_nAudioTicks;
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
    POINT at = {GetSystemMetrics(SM_CXFULLSCREEN) - 300, GetSystemMetrics(SM_CYFULLSCREEN) - 120};
    if (GetMainFrameHooks().showSaveNotice) GetMainFrameHooks().showSaveNotice(at, kind);
}

void MainFrame::SetCoverText(const std::string& status)
{
    int recMode = 1;
    g_cfgDocument.GetCfgRecMode(&recMode);
    std::string text = BuildCoverText(g_hotKeyTable.entries[3].vkeystr, recMode, status);
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

void MainFrame::ApplySkinToWindows(const DuiLib::CDuiString& file)
{
    if (m_pMainLayout) m_pMainLayout->SetBkImage(file);
    const ChildWindowOpener& list = GetChildWindowOpener(ChildWindow::VideoList);
    DuiLib::WindowImplBase* videoList = list.current ? list.current() : nullptr;
    for (DuiLib::WindowImplBase* window :
         {m_pSelectSkinWnd, m_pFloatRecWnd, videoList, m_pCameraWnd})
        if (auto* follower = dynamic_cast<SkinFollower*>(window))
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

void MainFrame::CloseChild(DuiLib::WindowImplBase*& window)
{
    if (!window) return;
    if (::IsWindow(*window)) window->Close(1);
    window = nullptr;
}

void MainFrame::CloseSelectSkinWnd()
{
    CloseChild(m_pSelectSkinWnd);
}

void MainFrame::CloseCountDownWnd()
{
    CloseChild(m_pCountDownWnd);
    PublishWindows();
}

void MainFrame::CloseKeyboardShortcutWnd()
{
    CloseChild(m_pKeyboardShortcutWnd);
}

bool MainFrame::CloseVideoEditingWindow()
{
    return !GetMainFrameHooks().closeVideoEditor || GetMainFrameHooks().closeVideoEditor();
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
    // the save folder; both report to this window, the save thread with a
    // sent message, so it is served while this waits.
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
    PublishWindows();
    FinishRecordingBeforeClose();

    CloseChild(m_pFloatRecWnd);
    CloseChild(m_pWhiteboardWnd);
    CloseChild(m_pAddWaterMarkWnd);
    CloseChild(m_pAddCaptionWnd);
    CloseChild(m_pFlashWnd);
    CloseChild(m_pCameraWnd);
    if (GetMainFrameHooks().closeVideoListWindow) GetMainFrameHooks().closeVideoListWindow();
    CloseChild(m_pSelectSkinWnd);
    m_tray.Remove();
    bHandled = FALSE;
    return 0;
}

LRESULT MainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    g_hMainFrameWnd = nullptr;
    g_hFloatBarWnd = nullptr;
    g_hWhiteboardWnd = nullptr;
    g_hCountdownWnd = nullptr;
    ::KillTimer(m_hWnd, kAudioBarTimer);
    ::KillTimer(m_hWnd, kTipTimer);
    m_tray.Remove();
    // Tasks posted but not run are dropped with their payloads.
    MSG msg;
    while (PeekMessageA(&msg, m_hWnd, WM_RUN_ON_UI, WM_RUN_ON_UI, PM_REMOVE))
        delete reinterpret_cast<UiTask*>(msg.lParam);
    bHandled = FALSE;
    return 0;
}

void MainFrame::OnFinalMessage(HWND hWnd)
{
    WindowImplBase::OnFinalMessage(hWnd);
    if (g_pMainFrame == this) g_pMainFrame = nullptr;
    delete this;
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
