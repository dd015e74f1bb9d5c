// What the windows of every module ask of the main window. The main window
// (app/) implements it and registers itself for as long as it exists; the
// windows below it reach it only through here. Each request does nothing by
// default, so a test's stand-in overrides only what it watches.
//
// UI thread only, except ShowFloatWndTip.
#pragma once

#include "platform/ui/UIlib.h"

#include <string>

class MainWindow {
public:
    virtual HWND Handle() const = 0;

    // The region picker (after asking, while a recording runs).
    virtual void OpenRegionPicker() {}
    // While recording: asks whether to stop, since the mode cannot change
    // under a running recording. Stops on OK.
    virtual void ConfirmRecordModeChange() {}
    // The conversion window for a file, at a screen point (null: below the
    // main window); an open one keeps its own file. The video list gives way.
    virtual void OpenFormatConvertWindow(const POINT* at, const std::string& file) {}
    // Real-time graffiti off when it is on, else on over area.
    virtual void ToggleRealtimeGraffiti(int flag, const RECT& area) {}
    // The frame around the recorded area.
    virtual void ShowFlashWnd(const RECT& area) {}
    virtual void ShowSmallTipWindow() {}
    virtual void ShowAboutSoftWnd() {}

    // The skin background every window paints its root with.
    virtual DuiLib::CDuiString GetSkinBackgroundFile() const { return DuiLib::CDuiString(); }
    virtual void SetSkinBackgroundFile(const DuiLib::CDuiString& file) {}
    // Paints the main window with file and hands it to the open windows
    // that follow the skin.
    virtual void ApplySkinToWindows(const DuiLib::CDuiString& file) {}

    // The cover over the main window ("正在保存，请稍后..." and the like).
    virtual void SetCoverText(const std::string& status) {}
    virtual void ShowCover(bool show) {}
    // A text in the help strip, hidden after `seconds`.
    virtual void ShowTip(const std::string& text, int seconds) {}

    // What follows an auto-stop: 1 a new recording, 2 closing the program,
    // 3 shutting the computer down, anything else nothing.
    virtual unsigned GetAutoStopAction() const { return 0; }
    virtual void SetAutoStopAction(unsigned action) {}
    // Shows or hides a control of the main window by name (the timed-start
    // and auto-stop indicators the settings windows set).
    virtual void ShowControl(const char* name, bool show) {}

    // The floating bar is meant to be shown: hot key 3 flips it, the bar
    // clears it when the user hides the bar and sets it when it comes back.
    virtual bool IsFloatWndShown() const { return false; }
    virtual void SetFloatWndShown(bool shown) {}
    // The video list of the save folder, as the main window's own button
    // opens it.
    virtual void OpenVideoList() {}

protected:
    ~MainWindow() = default;
};

// Null before the main window exists and after it has gone.
MainWindow* GetMainWindow();
void SetMainWindow(MainWindow* window);

// The skin background file; empty while there is no main window.
DuiLib::CDuiString GetSkinBackgroundFile();
// Shows text in the main window's help strip and hides it after `seconds`.
// Any thread; a newer tip replaces the shown one.
void ShowFloatWndTip(const std::string& text, int seconds);

// 1 while the LED digit font is installed: time labels use their LED form.
extern BYTE g_bLedFont;

// A window that paints its root with the skin background formats the image
// string its own way; ApplySkinToWindows hands it the file.
class SkinFollower {
public:
    virtual void ApplySkinBackgroundFile(const DuiLib::CDuiString& file) = 0;

protected:
    ~SkinFollower() = default;
};
