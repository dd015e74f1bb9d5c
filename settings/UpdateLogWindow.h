// UpdateLogWindow: the change log of the version the update feed offers
// (g_updateInfo), opened by the main window's "update_btn" at the click
// point. Its own "update_btn" hands the program over to the updater
// "update.exe" in the program folder, with the main window's handle as its
// command line; never under a running or paused recording.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

// What the updater is started with: the main window's handle as a signed
// decimal number.
std::string UpdaterCommandLine(HWND mainWindow);
// "<program folder>\update.exe".
std::string UpdaterPath();

class UpdateLogWindow : public SkinWindow {
public:
    // Creates and shows the window with its top-left corner at (x, y).
    UpdateLogWindow(int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "UpdateLogWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void StartUpdater();

    int m_x;
    int m_y;
};
