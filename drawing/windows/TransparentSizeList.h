// The whiteboard's size list: five canvas sizes in a popup with a drop
// shadow below the size button. The chosen item's name ("640X360", ...)
// goes to the whiteboard as a notification of that type.
//
// UI thread only; the popup deletes itself with its window.
#pragma once

#include "kit/PopupWindow.h"

class CMenuTransparentSizeList : public PopupWindow {
public:
    CMenuTransparentSizeList();
    // Opens the list at a screen point for the owner's control; null when
    // it could not be made.
    static CMenuTransparentSizeList* Init(HWND owner, const std::string& ownerControl, POINT at);

protected:
    LPCSTR GetWindowClassName() const override { return "TransparentSizeList"; }
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
};
