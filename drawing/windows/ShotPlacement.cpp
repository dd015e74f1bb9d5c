#include "drawing/windows/ShotPlacement.h"

#include <algorithm>

POINT PlaceShotToolBar(const RECT& outer, int screenWidth, int usableHeight)
{
    POINT at = {outer.right - 405, outer.bottom};
    if (outer.bottom + kShotToolBarHeight > usableHeight) at.y = usableHeight - 40;
    // A box near the left edge would put the bar's start off the screen.
    at.x = std::max(0L, std::min(at.x, (LONG)(screenWidth - kShotToolBarWidth)));
    at.y = std::max(0L, at.y);
    return at;
}
