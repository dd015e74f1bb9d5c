// Where the popup menus go on the screen (screen coordinates throughout).
// Plain arithmetic, so the rules are tested without windows.
#pragma once

#include <windows.h>

#include <vector>

// A menu opened at a point: its top-left corner at the point, moved back
// inside the work area where it would reach past its right or bottom edge,
// so that every item can be clicked.
RECT PlaceTopMenu(POINT at, SIZE size, const RECT& work);

// A menu that is open, in the order the menus opened.
struct OpenMenu {
    RECT rect;
    bool isOwner;  // the menu holding the item the sub-menu opens from
};

// A sub-menu of size (width, height) opened from an item (ownerItem) of the
// menu window ownerWindow: beside the window's right edge at the item's
// height. It goes the way the menus before it went: left of the owner when
// an earlier menu lies right of it, above when one lies below. Then the
// work area corrects it: past the bottom it ends at the item's top; past
// the right it opens left of the owner window, still at its height; above
// the work area it starts at the item's top again; left of it, beside the
// owner's right edge again.
RECT PlaceSubMenu(const RECT& ownerItem, const RECT& ownerWindow,
                  const std::vector<OpenMenu>& openMenus, SIZE size, const RECT& work);
