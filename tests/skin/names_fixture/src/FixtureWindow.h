// Windows for the layout-name check's own test: one names its layout in its
// class body, one takes it from its base, one names it in the window kit's
// frame.
#pragma once

#include "kit/SkinWindow.h"

class FixtureWindow : public DuiLib::WindowImplBase {
protected:
    DuiLib::CDuiString GetSkinFile() override { return "fixture_wnd.xml"; }
    void InitWindow() override;
    void Notify(DuiLib::TNotifyUI& msg) override;

    DuiLib::WindowImplBase* other_ = nullptr;
};

class FixtureChild : public FixtureWindow {
    void InitWindow() override;
};

class FixtureKitWindow : public SkinWindow {
public:
    FixtureKitWindow();

protected:
    void OnWindowInit() override;
};
