// The frame of the program's popups (the list and editor menus, the size
// lists): a borderless topmost window built from a layout at a screen
// point, with round corners and, when asked, a drop shadow behind it; it
// closes when the focus leaves it or on Escape, and what the user chose
// goes to the window that opened it as an asynchronous notification whose
// type is the chosen item's name (the owner handles it like a click):
//
//   class CMenuVideoList : public PopupWindow {
//   public:
//       CMenuVideoList() : PopupWindow({"video_list_menu.xml", /*shadow=*/true, {3, 3}}) {}
//   protected:
//       LPCSTR GetWindowClassName() const override { return "MenuWnd"; }
//   };
//   (new CMenuVideoList)->Open(owner, "playlist", at);
//
// The notification names the owner's control that opened the popup; it is
// looked up by that name when the notification arrives, so a control
// removed meanwhile arrives as a null sender, never a dangling one.
//
// UI thread only; the object deletes itself with its window.
#pragma once

#include "platform/ui/UIlib.h"

#include <string>

class CShadowWnd;

class PopupWindow : public DuiLib::CWindowWnd,
                    public DuiLib::INotifyUI,
                    public DuiLib::IDialogBuilderCallback {
public:
    struct Frame {
        const char* layout;
        bool shadow = false;
        SIZE roundCorner = {0, 0};
        // The shadow's picture and how far it reaches beyond the popup.
        const char* shadowImage = "file='menu_bk.png' corner='40,8,8,8'";
        int shadowMargin = 8;
        // The window shows only its rectangle inset by this much (a layout
        // whose picture draws its own shadow round the edge leaves that
        // edge to the shadow window).
        int regionInset = 0;
    };

    // Creates the popup with its top-left corner at a screen point and
    // shows it. ownerControl names the owner's control the choice comes
    // from (may be empty). False when the window could not be made (the
    // object is then deleted).
    bool Open(HWND owner, const std::string& ownerControl, POINT at);

    // Where a popup of that size opened at `at` goes so that it stays
    // inside the work area: moved up (left) to end at the bottom (right)
    // edge, or to the top (left) when it is taller (wider) than the area.
    static POINT KeepInWorkArea(POINT at, SIZE size, const RECT& workArea);

    DuiLib::CPaintManagerUI& GetPaintManager() { return m_pm; }
    HWND Owner() const { return m_owner; }
    CShadowWnd* Shadow() const { return m_shadow; }

protected:
    explicit PopupWindow(const Frame& frame);
    ~PopupWindow() override;

    // Tells the owner what was chosen and closes the popup.
    void Choose(const char* item, WPARAM wParam = 0, LPARAM lParam = 0);

    // After the layout is attached.
    virtual void OnInit() {}
    // The popup's own notifications; by default an "itemclick" or "click"
    // chooses the sender by its name.
    virtual void OnNotify(DuiLib::TNotifyUI& msg);
    // Messages before the library's handling; set handled to stop it.
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);

    LPCSTR GetWindowClassName() const override { return "MenuWnd"; }
    UINT GetClassStyle() const override { return CS_DBLCLKS; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) final;
    void OnFinalMessage(HWND hWnd) final;
    void Notify(DuiLib::TNotifyUI& msg) final;
    DuiLib::CControlUI* CreateControl(LPCSTR pstrClass) override { return nullptr; }

    DuiLib::CPaintManagerUI m_pm;

private:
    void Build();
    void FollowWithShadow();
    void UpdateRoundRegion();
    // Whether the window getting the focus belongs to this popup (itself,
    // a drop list of one of its combos).
    bool KeepsFocus(HWND gaining) const;

    Frame m_frame;
    HWND m_owner = nullptr;
    std::string m_ownerControl;
    CShadowWnd* m_shadow = nullptr;
    bool m_chosen = false;
};
