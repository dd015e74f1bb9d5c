// SmallTipWindow: the usage tips, centred on the screen, naming the hot
// keys as the user has set them. The main window keeps one; opening it
// again brings the open one forward.
#pragma once

#include "kit/SkinWindow.h"

class SmallTipWindow : public SkinWindow {
public:
    // Creates and shows the window.
    SmallTipWindow();

protected:
    LPCSTR GetWindowClassName() const override { return "SmallTipWindow"; }
    void InitWindow() override;
    void OnWindowInit() override;
};
