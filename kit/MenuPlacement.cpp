#include "kit/MenuPlacement.h"

#include <algorithm>

RECT PlaceTopMenu(POINT at, SIZE size, const RECT& work)
{
    LONG left = at.x, top = at.y;
    if (left + size.cx > work.right) left = work.right - size.cx;
    if (top + size.cy > work.bottom) top = work.bottom - size.cy;
    left = std::max(left, work.left);
    top = std::max(top, work.top);
    return {left, top, left + size.cx, top + size.cy};
}

RECT PlaceSubMenu(const RECT& ownerItem, const RECT& ownerWindow,
                  const std::vector<OpenMenu>& openMenus, SIZE size, const RECT& work)
{
    // The window is two pixels wider than its items.
    const LONG cx = size.cx + 2, cy = size.cy;
    RECT rc = {ownerWindow.right, ownerItem.top, ownerWindow.right + cx, ownerItem.top + cy};

    bool right = false, below = false;
    for (const OpenMenu& m : openMenus) {
        right = m.rect.left >= ownerWindow.right;
        below = m.rect.top >= ownerWindow.bottom;
        if (m.isOwner || right || below) break;
    }
    if (below) {
        rc.bottom = ownerWindow.top;
        rc.top = rc.bottom - cy;
    }
    if (right) {
        rc.right = ownerWindow.left;
        rc.left = rc.right - cx;
    }

    if (rc.bottom > work.bottom) {
        rc.bottom = rc.top;
        rc.top = rc.bottom - cy;
    }
    if (rc.right > work.right) {
        rc.right = ownerWindow.left;
        rc.left = rc.right - cx;
    }
    if (rc.top < work.top) {
        rc.top = ownerItem.top;
        rc.bottom = rc.top + cy;
    }
    if (rc.left < work.left) {
        rc.left = ownerWindow.right;
        rc.right = rc.left + cx;
    }
    return rc;
}
