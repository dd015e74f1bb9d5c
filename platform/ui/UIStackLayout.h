// The arithmetic of vertical and horizontal layouts, without controls:
// children are stacked along one axis with their padding and the child
// padding between them. A child with a fixed size along the axis gets it;
// the others share what is left equally, within their minimum and
// maximum. Across the axis a child takes its fixed size or the whole
// content width.
#pragma once

#include <windows.h>

#include <vector>

namespace DuiLib {

struct TStackItem {
    SIZE fixed = {0, 0};  // 0: no fixed size on that axis
    RECT padding = {0, 0, 0, 0};
    SIZE minSize = {0, 0};
    SIZE maxSize = {9999, 9999};
};

std::vector<RECT> StackLayout(bool bVertical, const RECT& rcContent, int nChildPadding,
                              const std::vector<TStackItem>& items);

// The room the children need: along the axis their fixed sizes (the
// minimum for the others), paddings and the child padding; across it the
// largest fixed size with its padding. A scrolling container compares it
// with what it has.
SIZE StackExtent(bool bVertical, int nChildPadding, const std::vector<TStackItem>& items);

}  // namespace DuiLib
