// MainFrame: the program's main window and the hub through which the
// recording reports to the user: its layout, the tray icon and menu, the
// private messages it handles, the recording and idle display states, the
// cover, and the close road. Every subsystem reaches it through g_pMainFrame.
//
// The window and everything it holds belong to the UI thread. Worker threads
// reach it by posting messages (the table in HandleCustomMessage), through
// RunOnMainFrame, or through the recording host.
#pragma once

#include "core/ChildWindows.h"
#include "core/TrayIcon.h"
#include "platform/ui/UIlib.h"

#include <functional>
#include <string>
#include <vector>

class MainFrame;

// The one main window; null before it is created and after it is gone.
extern MainFrame* g_pMainFrame;

// The skin background file every window paints its root with; empty while
// there is no main window. Child windows call it (or
// WindowImplBase::ApplySkinBackground) at "windowinit".
DuiLib::CDuiString GetSkinBackgroundFile();

// Shows text in the main window's help strip and hides it after `seconds`.
// Any thread; a newer tip replaces the shown one.
void ShowFloatWndTip(const std::string& text, int seconds);

// What other threads may know of the main window: its handle, the handles
// of the windows the recording posts to (null while not open) and its two
// flags. A snapshot; the windows may be gone by the time it is used, which
// posting to them survives.
struct MainFrameWindows {
    HWND main = nullptr;
    HWND floatBar = nullptr;
    HWND whiteboard = nullptr;
    HWND countdown = nullptr;
    bool closing = false;
    unsigned autoStopAction = 0;
};
MainFrameWindows GetMainFrameWindows();

// Runs fn on the UI thread with the main window, unless the window is gone
// by then. Any thread; never waits. False when there is no main window.
bool RunOnMainFrame(std::function<void(MainFrame&)> fn);

// Windows of later parts of the program that the main window opens or asks.
// Each module fills in its entry; an empty entry means the window is not
// part of this build and the main window goes on without it.
struct MainFrameHooks {
    // Start-up, before the main window: the user skin store reads its
    // folder. After the main window: the video list starts loading.
    std::function<void()> refreshUserSkins;
    std::function<void()> startVideoListLoader;
    // After the message loop, before anything is freed: every worker of the
    // module (video list, update check) is stopped and waited for.
    std::vector<std::function<void()>> stopWorkers;
    // Makes the floating recording bar object; the main window creates and
    // places its window.
    std::function<DuiLib::WindowImplBase*()> makeFloatRecWnd;
    // Makes and shows the countdown window (0x403); returns it.
    std::function<DuiLib::WindowImplBase*(HWND main)> makeCountDownWnd;
    // The save notice of a saved file (0x429) at a screen point.
    std::function<void(POINT at, WPARAM kind)> showSaveNotice;
    // The guide window (0x42B).
    std::function<void()> showGuide;
    // Starts the update check (its thread sets "update_btn" visible).
    std::function<void(HWND main)> startUpdateCheck;
    // Refreshes the recording-detail popup when it is open.
    std::function<void()> refreshRecordDetails;
    // Closes real-time graffiti when it is on.
    std::function<void()> closeRealtimeGraffiti;
    // When the video editor is open: asks whether to save its edits and
    // closes it; false when the user cancelled (the main window then stays).
    std::function<bool()> closeVideoEditor;
    // Closes the video list window (result 1, reference cleared); the open
    // one is its opener's `current` (core/ChildWindows.h).
    std::function<void()> closeVideoListWindow;
    // A recording started or ended: the settings window enables or
    // disables what must not change meanwhile.
    std::function<void()> recordingStateChanged;
    // Empties the drawing board before a new screenshot is marked up.
    std::function<void()> clearDrawingBoard;
};
MainFrameHooks& GetMainFrameHooks();

// A window that paints its root with the skin background formats the image
// string its own way; ApplySkinToWindows hands it the file.
class SkinFollower {
public:
    virtual void ApplySkinBackgroundFile(const DuiLib::CDuiString& file) = 0;

protected:
    ~SkinFollower() = default;
};

class MainFrame : public DuiLib::WindowImplBase {
public:
    MainFrame();
    // Posts the quit message that ends the message loop.
    ~MainFrame() override;

    // The second half of the window's initialisation, on "windowinit".
    void CreateFloatRecWindow();

    void TrayIconSetup(HINSTANCE instance, HWND window);
    void SetTrayTip(const std::string& text);

    void OnRecordStarted();
    void OnRecordStopped();
    // A recording ended without its video (the recorder could not write it).
    void OnRecordInterrupted();
    void ShowSaveFileNotice(WPARAM kind);
    void RefreshAudioBar();
    void ShowTimedStartText();
    // The cover's text with the given status line; showing and hiding the
    // cover is the caller's.
    void SetCoverText(const std::string& status);
    void ShowCover(bool show);

    // Paints the main window with file and hands it to the open windows
    // that follow the skin.
    void ApplySkinToWindows(const DuiLib::CDuiString& file);
    void SetSkinBackgroundFile(const DuiLib::CDuiString& file);
    DuiLib::CDuiString GetSkinBackgroundFile() const { return m_skinBackgroundFile; }

    // The help strip ("assistant_layout"); UI thread (ShowFloatWndTip from
    // anywhere else).
    void ShowTip(const std::string& text, int seconds);

    // Closes the single child windows the main window keeps, with result 1.
    void CloseSelectSkinWnd();
    void CloseCountDownWnd();
    void CloseKeyboardShortcutWnd();
    // Asks the open video editor to close; false when the user cancelled.
    bool CloseVideoEditingWindow();

    // Hot keys 1 to 6 (index 0 to 5).
    void OnHotKeyAction(int index);

    // Openers of child windows (the windows come from ChildWindows.h); each
    // reuses the window that is open.
    void OpenRegionPicker();
    // While recording: asks whether to stop, since the mode cannot change
    // under a running recording. Stops on OK.
    void ConfirmRecordModeChange();
    // The conversion window for a file, at a screen point (null: the corner
    // point); an open one keeps its own file. The video list gives way.
    void OpenFormatConvertWindow(const POINT* at, const std::string& file);
    // Real-time graffiti off when it is on, else on over area.
    void ToggleRealtimeGraffiti(int flag, const RECT& area);
    // The frame around the recorded area.
    void ShowFlashWnd(const RECT& area);
    void ShowSmallTipWindow();
    void ShowAboutSoftWnd();
    // A kept child window ends: whichever field refers to it is cleared.
    void ForgetChildWindow(DuiLib::WindowImplBase* window);

    bool IsClosing() const { return m_bClosing; }
    unsigned GetAutoStopAction() const { return m_nAutoStopAction; }
    void SetAutoStopAction(unsigned action);
    // Shows or hides a control of the main window by name.
    void ShowControl(const char* name, bool show);

    // Child windows opened from the main window; null while not open. A
    // window clears its own field when it ends.
    DuiLib::WindowImplBase* m_pExpandToolWnd = nullptr;
    DuiLib::WindowImplBase* m_pAddWaterMarkWnd = nullptr;
    DuiLib::WindowImplBase* m_pAddCaptionWnd = nullptr;
    DuiLib::WindowImplBase* m_pKeyboardShortcutWnd = nullptr;
    DuiLib::WindowImplBase* m_pFloatRecWnd = nullptr;
    DuiLib::WindowImplBase* m_pFlashWnd = nullptr;
    unsigned m_bFloatWndShown = 1;
    DuiLib::WindowImplBase* m_pWhiteboardWnd = nullptr;
    DuiLib::WindowImplBase* m_pCameraWnd = nullptr;
    DuiLib::WindowImplBase* m_pSelectSkinWnd = nullptr;
    DuiLib::WindowImplBase* m_pCountDownWnd = nullptr;
    DuiLib::WindowImplBase* m_pFormatConvertWnd = nullptr;
    DuiLib::WindowImplBase* m_pSmallTipWnd = nullptr;
    DuiLib::WindowImplBase* m_pAboutSoftWnd = nullptr;

protected:
    LPCSTR GetWindowClassName() const override;
    DuiLib::CDuiString GetSkinFolder() override { return "skin\\"; }
    DuiLib::CDuiString GetSkinFile() override { return "main_frame.xml"; }
    DuiLib::UILIB_RESOURCETYPE GetResourceType() const override;
    LPCSTR GetResourceID() const override;
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;
    void OnFinalMessage(HWND hWnd) override;
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    void OnStatusTick();
    void OnTrayNotify(LPARAM mouseMessage);
    void OnClick(DuiLib::CControlUI& sender, POINT clickPoint);
    // The bottom-left corner of the client area, on the screen: where child
    // windows opened from the buttons appear.
    POINT CornerPoint() const;
    // Opens the window kept in field unless one is open; true when the field
    // holds a window afterwards.
    bool OpenKept(DuiLib::WindowImplBase*& field, ChildWindow which,
                  const ChildWindowRequest& request);
    void OpenNotKept(ChildWindow which, POINT at);
    // Shows an open window and brings it forward.
    static void BringForward(DuiLib::WindowImplBase* window);
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
    void CloseChild(DuiLib::WindowImplBase*& window);
    void SetControlVisible(DuiLib::CControlUI* control, bool visible);
    void PublishWindows();
#ifdef ORBISK_TEST_HOOKS
    bool HandleTestProbe(UINT uMsg, WPARAM wParam, LPARAM lParam);
#endif

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
    unsigned m_nAudioTicks = 0;
};
