// The caption window ("标题设置"): the caption's text, grid cell, font, text
// colour and background colour. Each change is live for the next recording
// at once (g_captionSettings) and saved in the configuration; the text is
// written once typing pauses, or when the window goes.
#pragma once

#include "kit/SkinWindow.h"
#include "settings/GridButtons.h"

class AddCaptionWindow : public SkinWindow {
public:
    // Shown with its top-left corner at the screen point (x, y); the parent
    // is not used.
    AddCaptionWindow(HWND parent, int x, int y);

    // Writes the typed text into the configuration file if it does not hold
    // it yet.
    void SaveTypedText();

protected:
    LPCSTR GetWindowClassName() const override { return "AddCaptionWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;
    LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    void OnClick(const DuiLib::CDuiString& name);
    void OnTextTyped();
    void ClearText();

    POINT m_at;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CEditUI* m_pTextEdit = nullptr;
    GridButtons m_grid;
    bool m_bTextUnsaved = false;
};
