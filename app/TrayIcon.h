// The main window's icon in the notification area and its menu: start,
// pause or resume, stop and exit. UI thread only.
#pragma once

#include <windows.h>

#include <string>

const UINT WM_TRAY_NOTIFY = 0x66;  // the icon's callback message; lParam the mouse message

enum TrayCommand : UINT {
    kTrayStart = 159,
    kTrayPause = 160,
    kTrayStop = 161,
    kTrayExit = 163,
};

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Builds the record (id 101, icon 107, tip "Orbisk") and the menu, and
    // adds the icon.
    void Setup(HINSTANCE instance, HWND window);
    // After the shell restarts ("TaskbarCreated"): adds the icon again with
    // its current tip.
    void Readd();
    void SetTip(const std::string& text);
    void Remove();

    // Greys "开始录制" while recording and "停止录制" while not, shows the
    // menu at the cursor and returns the chosen command (0 when dismissed).
    UINT TrackMenu(HWND owner, bool recording);

    std::string tip() const { return nid_.szTip; }
    bool added() const { return added_; }
    // How many times the icon was added (set-up and shell restarts).
    unsigned addCount() const { return addCount_; }
    // The state (MF_ENABLED or MF_GRAYED) of a command of the menu.
    UINT CommandState(UINT command) const;

private:
    NOTIFYICONDATAA nid_ = {};
    HMENU menu_ = nullptr;
    bool added_ = false;
    unsigned addCount_ = 0;
};
