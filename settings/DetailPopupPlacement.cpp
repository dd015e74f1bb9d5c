#include "settings/DetailPopupPlacement.h"

namespace {

const int kDefaultOpacity = 70;

}  // namespace

POINT DetailPopupOrigin(const RECT& bar, SIZE size, int screenHeight)
{
    POINT at;
    at.x = bar.left - size.cx + kDetailPopupTuck;
    if (at.x <= 0) at.x = bar.right - kDetailPopupTuck;
    if (bar.bottom + size.cy - kDetailPopupTuck < screenHeight)
        at.y = bar.bottom - kDetailPopupTuck;
    else
        // Above the bar by the popup's own height: its foot tucks in behind
        // the bar's top edge as its head does below the bar's foot.
        at.y = bar.top - size.cy + kDetailPopupTuck;
    return at;
}

BYTE DetailPopupAlpha(int opacityPercent)
{
    if (opacityPercent < 10 || opacityPercent > 100) opacityPercent = kDefaultOpacity;
    return (BYTE)(int)(opacityPercent / 100.0 * 255.0);
}
