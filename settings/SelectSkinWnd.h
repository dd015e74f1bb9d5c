// The skin chooser ("选择皮肤"): the built-in skins and up to five of the
// user's own. Pointing at one shows it on every window that wears the skin,
// leaving them shows the current one again, a click makes it current and
// stores it; "自定义..." makes a new user skin from a picture.
#pragma once

#include "kit/SkinWindow.h"

#include <string>

class SelectSkinWnd : public SkinWindow {
public:
    // With its top-left corner at the screen point (x, y).
    SelectSkinWnd(HWND owner, int x, int y);

    // The user skins of the store on the five slots.
    void FillUserSlots();

protected:
    LPCSTR GetWindowClassName() const override { return "SelectSkinWnd"; }
    void InitWindow() override;
    void OnWindowInit() override;
    void OnNotify(DuiLib::TNotifyUI& msg) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) override;

private:
    // The skin file a control offers; empty for none (an empty user slot,
    // "自定义...", anything else).
    std::string SkinOf(const DuiLib::CControlUI* control) const;
    void Preview(const std::string& skin);
    void MakeUserSkin();

    HWND m_owner;
    POINT m_at;
    DuiLib::CControlUI* m_pRoot = nullptr;
    DuiLib::CControlUI* m_userSlots[6] = {};
    // What the windows show now ("" while they show the current skin).
    std::string m_previewed;
};
