// Windows for the layout-name check's own test: one names its layout in its
// class body, the other takes it from its base.
#pragma once

#include "platform/ui/UIlib.h"

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
