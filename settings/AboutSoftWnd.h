// AboutSoftWnd: what the program is, centred on the screen. The main window
// keeps one; opening it again brings the open one forward.
#pragma once

#include "kit/SkinWindow.h"

class AboutSoftWnd : public SkinWindow {
public:
    // Creates and shows the window.
    AboutSoftWnd();

protected:
    LPCSTR GetWindowClassName() const override { return "AboutSoftWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
};
