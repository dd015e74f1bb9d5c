// The screenshot's tool bar below the selection: the drawing tools, line
// width and colour, undo, redo, clear, "退出截图" and "完成截图". Choosing
// a tool (anything but undo, redo and clear) opens the editor over the
// selection first. The bar is owned by the selector and goes with it.
//
// UI thread only.
#pragma once

#include "kit/SkinWindow.h"

class CScrShotWnd;

class ShotScreenToolWnd : public SkinWindow {
public:
    // Creates the window at `at` (screen) with the layout's size, shown.
    ShotScreenToolWnd(CScrShotWnd* selector, POINT at);

protected:
    LPCSTR GetWindowClassName() const override { return "ShotScreenToolWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    // Escape ends the whole screenshot, wherever the focus is.
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    void OnEnded() override;

private:
    ~ShotScreenToolWnd() override = default;  // deletes itself on its final message

    void OnClick(const DuiLib::CDuiString& name, POINT screen);
    void ChooseTool(int tool);
    void ChooseColour();
    void ShowSwatch(COLORREF colour);
    void RenderEditor();

    CScrShotWnd* m_pSelector;
    POINT m_at;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_pSwatch = nullptr;
};
