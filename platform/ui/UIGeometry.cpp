#include "platform/ui/UIGeometry.h"

#include <algorithm>

namespace DuiLib {

void CDuiRect::Join(const RECT& rc)
{
    if (rc.left < left) left = rc.left;
    if (rc.top < top) top = rc.top;
    if (rc.right > right) right = rc.right;
    if (rc.bottom > bottom) bottom = rc.bottom;
}

void CDuiRect::Normalize()
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

void CDuiRect::Deflate(const RECT& inset)
{
    left += inset.left;
    top += inset.top;
    right -= inset.right;
    bottom -= inset.bottom;
}

}  // namespace DuiLib
