// The watermark window ("水印设置"): the watermark picture, with a preview,
// and its grid cell. Each change is live for the next recording at once
// (g_watermarkSettings) and saved in the configuration.
#pragma once

#include "kit/SkinWindow.h"
#include "settings/GridButtons.h"

#include <string>

class AddWaterMarkWindow : public SkinWindow {
public:
    // Shown with its top-left corner at the screen point (x, y); the parent
    // is not used.
    AddWaterMarkWindow(HWND parent, int x, int y);

protected:
    // The main settings window's class name, shared.
    LPCSTR GetWindowClassName() const override { return "ExpandToolWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    void OnClick(const DuiLib::CDuiString& name);
    void ChoosePicture();
    // Shows the picture at path scaled into the preview frame; a path that
    // is empty or a picture that cannot be read leaves the preview as it is.
    void ShowPreview(const std::string& path);

    POINT m_at;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_pFrame = nullptr;    // "show_btn"
    DuiLib::CControlUI* m_pPicture = nullptr;  // "rect_show_btn"
    GridButtons m_grid;
};
