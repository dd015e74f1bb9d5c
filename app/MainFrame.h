// MainFrame: the program's main window and the hub through which the
// recording reports to the user: its layout, the tray icon and menu, the
// private messages it handles, the recording and idle display states, the
// cover, and the close road. The program reaches it through g_pMainFrame;
// the windows of the modules below through GetMainWindow() (kit/).
//
// The window belongs to the UI thread. The recording tells it what happens
// through its events (recorder/recording/RecordingEvents.h), which it turns
// into its private messages, and asks it for the rest through the recording
// host (app/MainFrameHost.h). The child windows it opens are kept in the
// window table (kit/WindowTable.h), under the main window's rules
// (app/ChildWindows.h).
#pragma once

#include "app/TrayIcon.h"
#include "kit/MainWindow.h"
#include "kit/SkinWindow.h"
#include "kit/WindowTable.h"

#include <string>

class MainFrame;

// The one main window; null before it is created and after it is gone.
extern MainFrame* g_pMainFrame;

class MainFrame : public SkinWindow, public MainWindow {
public:
    MainFrame();
    // Posts the quit message that ends the message loop.
    ~MainFrame() override;

    HWND Handle() const override { return m_hWnd; }
    // The main window wears the skin file as it is, untiled.
    void ApplySkinBackgroundFile(const DuiLib::CDuiString& file) override;

    // The second half of the window's initialisation, on "windowinit".
    void CreateFloatRecWindow();

    void TrayIconSetup(HINSTANCE instance, HWND window);
    void SetTrayTip(const std::string& text);

    void OnRecordStarted();
    void OnRecordStopped();
    // A recording ended without its video, or could not start.
    void OnRecordInterrupted(const std::string& text);
    void ShowSaveFileNotice(WPARAM kind);
    void RefreshAudioBar();
    void ShowTimedStartText();
    // The cover's text with the given status line; showing and hiding the
    // cover is the caller's.
    void SetCoverText(const std::string& status) override;
    void ShowCover(bool show) override;

    void ApplySkinToWindows(const DuiLib::CDuiString& file) override;
    void SetSkinBackgroundFile(const DuiLib::CDuiString& file) override;
    DuiLib::CDuiString GetSkinBackgroundFile() const override { return m_skinBackgroundFile; }

    // The help strip ("assistant_layout"); UI thread (ShowFloatWndTip from
    // anywhere else).
    void ShowTip(const std::string& text, int seconds) override;

    // Closes the single child windows the main window keeps, with result 1.
    void CloseSelectSkinWnd();
    void CloseCountDownWnd();
    void CloseKeyboardShortcutWnd();
    // Asks the open video editor to close; false when the user cancelled.
    bool CloseVideoEditingWindow();

    // Hot keys 1 to 6 (index 0 to 5).
    void OnHotKeyAction(int index);

    void OpenRegionPicker() override;
    void ConfirmRecordModeChange() override;
    void OpenFormatConvertWindow(const POINT* at, const std::string& file) override;
    void ToggleRealtimeGraffiti(int flag, const RECT& area) override;
    void ShowFlashWnd(const RECT& area) override;
    void ShowSmallTipWindow() override;
    void ShowAboutSoftWnd() override;

    bool IsClosing() const { return m_bClosing; }
    unsigned GetAutoStopAction() const override { return m_nAutoStopAction; }
    void SetAutoStopAction(unsigned action) override { m_nAutoStopAction = action; }
    // Shows or hides a control of the main window by name.
    void ShowControl(const char* name, bool show) override;

    bool IsFloatWndShown() const override { return m_bFloatWndShown != 0; }
    void SetFloatWndShown(bool shown) override { m_bFloatWndShown = shown ? 1 : 0; }
    void OpenVideoList() override;

    // The floating bar is shown (hot key 3 flips it).
    unsigned m_bFloatWndShown = 1;

protected:
    LPCSTR GetWindowClassName() const override;
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    void OnEnded() override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

    // The recording's other events arrive as the main window's own messages
    // (SkinWindow).
    void OnRecordingSaved(const SaveOutcome& outcome) override;
    void OnRecordingFailed(const std::string& text) override;

private:
    void OnStatusTick();
    void OnTrayNotify(LPARAM mouseMessage);
    void OnClick(DuiLib::CControlUI& sender, POINT clickPoint);
    // The bottom-left corner of the client area, on the screen: where child
    // windows opened from the buttons appear.
    POINT CornerPoint() const;
    // Opens a child window through the table, at the point its placement
    // rule names; the window open afterwards (new or reused), or null.
    DuiLib::CWindowWnd* OpenChild(WindowId id, const DuiLib::CControlUI* sender = nullptr,
                                  POINT clickPoint = POINT{});
    static DuiLib::CWindowWnd* Kept(WindowId id) { return GetWindowTable().Current(id); }
    DuiLib::CControlUI* FloatBarControl(const char* name) const;
    void StartWhiteboardMode();
    void OpenScreenshotWindow();
    void SaveFullScreenShot();
    void AskCancelTimedStart();
    void AskCancelAutoStop();
    void ShowTimeText(const std::string& plain, const std::string& led);
    void HideTip();
    // Stops a running recording and waits, handling messages, until it is
    // saved; false when it did not finish in time.
    bool FinishRecordingBeforeClose();
    void SetControlVisible(DuiLib::CControlUI* control, bool visible);
    bool HandleTestProbe(UINT uMsg, WPARAM wParam, LPARAM lParam);

    DuiLib::CLabelUI* m_pCover = nullptr;
    DuiLib::CControlUI* m_pAssistantLayout = nullptr;
    DuiLib::CControlUI* m_pAssistantLabel = nullptr;
    DuiLib::CControlUI* m_pMainLayout = nullptr;
    DuiLib::CControlUI* m_pMicrophoneMute = nullptr;
    DuiLib::CControlUI* m_pMicrophoneNormal = nullptr;
    DuiLib::CControlUI* m_pSpeakerNormal = nullptr;
    DuiLib::CControlUI* m_pSpeakerMute = nullptr;
    DuiLib::CControlUI* m_pTimeLabel = nullptr;
    DuiLib::CControlUI* m_pBeginRecordBtn = nullptr;
    DuiLib::CControlUI* m_pStopRecordBtn = nullptr;
    DuiLib::CControlUI* m_pPauseRecordBtn = nullptr;
    DuiLib::CControlUI* m_pPauseChangeBtn = nullptr;
    DuiLib::CControlUI* m_pCaptureScreenBtn = nullptr;
    DuiLib::CControlUI* m_pShowCountDownBtn = nullptr;
    DuiLib::CControlUI* m_pShowAutoStopBtn = nullptr;
    DuiLib::CControlUI* m_pUpdateBtn = nullptr;
    DuiLib::CControlUI* m_pAudioBar = nullptr;

    DuiLib::CDuiString m_skinBackgroundFile;
    TrayIcon m_tray;
    unsigned m_nAutoStopAction = 0;
    bool m_bClosing = false;
    bool m_bTimer2Running = false;
    // The kinds of save notice asked for so far, in order ("1,0"), for the
    // test probe.
    std::string m_noticesAsked;
};
