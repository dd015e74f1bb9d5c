// GuideWindow: the feature guide, nine pages turned with "previous_btn" and
// "next_btn" (no wrapping round), each a picture with two captions over it
// (settings/GuidePages.h). Made anew each time the main window is asked for
// it (0x42B); it wears its pages rather than the skin.
#pragma once

#include "kit/SkinWindow.h"

class GuideWindow : public SkinWindow {
public:
    // Creates and shows the guide, centred, on its first page.
    GuideWindow();

protected:
    LPCSTR GetWindowClassName() const override { return "GuideWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;

private:
    void ShowPage(size_t index);

    size_t m_page = 0;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CLabelUI* m_pTopLab = nullptr;
    DuiLib::CLabelUI* m_pBottomLab = nullptr;
};
