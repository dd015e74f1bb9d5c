// The timed-start window ("自动开始录制设置"): a recording starts by itself
// after the hours, minutes and seconds given.
#pragma once

#include "settings/TimeSettingWindow.h"

class CountdownSettingWindow : public TimeSettingWindow {
public:
    // A tool window with its top-left corner at the screen point (x, y);
    // the parent is not used.
    CountdownSettingWindow(HWND parent, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "CountdownSettingWindow"; }
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void OnOk();
};
