// CVideoEditMenuWnd: the video editor's menu over its selection on the
// timeline, a popup with its shadow (kit/PopupWindow.h). The item chosen
// goes to the editor as a notification named after it ("play_select",
// "remove_select", "save_select", "cancle_select").
#pragma once

#include "kit/PopupWindow.h"

class CVideoEditMenuWnd : public PopupWindow {
public:
    // Opens the menu at a screen point for the editor's control that asked;
    // null when it could not be made.
    static CVideoEditMenuWnd* Init(DuiLib::CControlUI* owner, POINT at);

protected:
    CVideoEditMenuWnd();
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
};
