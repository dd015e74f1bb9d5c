// The auto-stop window ("自动停止录制时间设置"): the recording stops by
// itself at the length given, and then nothing happens, a new recording
// starts, the program closes or the computer shuts down. The choices live
// in memory only.
#pragma once

#include "settings/TimeSettingWindow.h"

class AudoStopSettingWindow : public TimeSettingWindow {
public:
    // A tool window with its top-left corner at the screen point (x, y);
    // the parent is not used.
    AudoStopSettingWindow(HWND parent, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "AudoStopSettingWindow"; }
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void OnOk();

    // The combo's choice, which only "ok_btn" hands to the main window.
    unsigned m_nAction = 0;
};
