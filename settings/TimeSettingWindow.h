// What the timed-start and auto-stop windows share: a tool window at the
// click point with hour, minute and second fields ("hour", "minin",
// "second") that "ok_btn" reads (settings/TimerSettings.h).
#pragma once

#include "kit/SkinWindow.h"

class TimeSettingWindow : public SkinWindow {
protected:
    TimeSettingWindow(const Frame& frame, int x, int y);

    // Creates and shows the window; the constructor of the window class
    // calls it, once the object is whole.
    void Open(const char* title);
    void InitWindow() override;

    // The total of the three fields in seconds; false when they are refused,
    // after the user has read why in the program's message box (the window
    // stays open).
    bool ReadTotal(long* total);
    // The program's message box over this window, with the one button "确定".
    void Tell(const char* text);

private:
    POINT m_at;
};
