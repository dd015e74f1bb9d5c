// TipsMenuWnd: the small menu of the main window's "menubtn", at the point
// the user clicked: the tips and the about window. Choosing an entry opens
// that window, which takes the focus, and the menu closes as it loses it.
#pragma once

#include "kit/SkinWindow.h"

class TipsMenuWnd : public SkinWindow {
public:
    // Creates and shows the menu with its top-left corner at (x, y).
    TipsMenuWnd(HWND parent, int x, int y);

protected:
    LPCSTR GetWindowClassName() const override { return "TipsMenuWnd"; }
    void InitWindow() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    POINT m_at;
};
