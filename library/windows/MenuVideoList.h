// CMenuVideoList: the right-click menu of the video list, a popup with its
// shadow (kit/PopupWindow.h). The item chosen goes to the list window as a
// notification named after the item ("menu_Open", "edit_video", ...).
#pragma once

#include "kit/PopupWindow.h"

class CMenuVideoList : public PopupWindow {
public:
    // Opens the menu at a screen point for the list control that asked;
    // the items that act on a selected file are disabled without one. Null
    // without an owner or when the window could not be made.
    static CMenuVideoList* Init(DuiLib::CControlUI* owner, int x, int y);

protected:
    explicit CMenuVideoList(bool hasSelection);
    void OnInit() override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    bool m_hasSelection;
};
