// The cursor window ("光标设置"): record the cursor, its highlight with
// colour and size, click rings with their colours and the wheel colour
// (settings/CursorSettings.h). Every change is saved at once and applies
// from the next recording.
#pragma once

#include "kit/SkinWindow.h"

class CursorSettingWindow : public SkinWindow {
public:
    // A tool window with its top-left corner at the screen point (x, y).
    CursorSettingWindow(int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "CursorSettingWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void ChooseColor(DuiLib::CControlUI& button);

    POINT m_at;
    // The controls send their selection events while they are filled:
    // those are not the user's.
    BYTE m_bReady = 0;
};
