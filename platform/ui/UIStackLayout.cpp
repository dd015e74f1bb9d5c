#include "platform/ui/UIStackLayout.h"

#include <algorithm>

namespace DuiLib {

namespace {

// One child seen along the stacking axis ("main") and across it ("cross").
struct AxisItem {
    long fixedMain, fixedCross;
    long padBefore, padAfter, padCrossBefore, padCrossAfter;
    long minMain, maxMain, minCross, maxCross;
    long size;
    bool adjustable;
};

AxisItem ToAxis(bool vertical, const TStackItem& it)
{
    AxisItem a;
    a.fixedMain = vertical ? it.fixed.cy : it.fixed.cx;
    a.fixedCross = vertical ? it.fixed.cx : it.fixed.cy;
    a.padBefore = vertical ? it.padding.top : it.padding.left;
    a.padAfter = vertical ? it.padding.bottom : it.padding.right;
    a.padCrossBefore = vertical ? it.padding.left : it.padding.top;
    a.padCrossAfter = vertical ? it.padding.right : it.padding.bottom;
    a.minMain = vertical ? it.minSize.cy : it.minSize.cx;
    a.maxMain = vertical ? it.maxSize.cy : it.maxSize.cx;
    a.minCross = vertical ? it.minSize.cx : it.minSize.cy;
    a.maxCross = vertical ? it.maxSize.cx : it.maxSize.cy;
    a.adjustable = a.fixedMain <= 0;
    a.size = a.adjustable ? 0 : std::max(a.minMain, std::min(a.fixedMain, a.maxMain));
    return a;
}

}  // namespace

std::vector<RECT> StackLayout(bool bVertical, const RECT& rcContent, int nChildPadding,
                              const std::vector<TStackItem>& items)
{
    std::vector<RECT> out;
    if (items.empty()) return out;
    const long mainStart = bVertical ? rcContent.top : rcContent.left;
    const long mainLen =
        bVertical ? rcContent.bottom - rcContent.top : rcContent.right - rcContent.left;
    const long crossStart = bVertical ? rcContent.left : rcContent.top;
    const long crossLen =
        bVertical ? rcContent.right - rcContent.left : rcContent.bottom - rcContent.top;

    std::vector<AxisItem> axis;
    long remaining = mainLen - (long)nChildPadding * (long)(items.size() - 1);
    for (const TStackItem& it : items) {
        axis.push_back(ToAxis(bVertical, it));
        const AxisItem& a = axis.back();
        remaining -= a.padBefore + a.padAfter + a.size;
    }

    // Share what is left; a child held at its minimum or maximum leaves the
    // share and the others are recomputed.
    for (bool changed = true; changed;) {
        changed = false;
        long count = 0;
        for (const AxisItem& a : axis) count += a.adjustable ? 1 : 0;
        if (count == 0) break;
        long share = std::max(0L, remaining / count);
        for (AxisItem& a : axis) {
            if (!a.adjustable) continue;
            long bounded = std::max(a.minMain, std::min(share, a.maxMain));
            if (bounded != share) {
                a.adjustable = false;
                a.size = bounded;
                remaining -= bounded;
                changed = true;
                break;
            }
        }
        if (!changed) {
            long left = std::max(0L, remaining);
            long done = 0;
            for (AxisItem& a : axis) {
                if (!a.adjustable) continue;
                // The last one takes the rounding remainder, so the row is full.
                a.size = (++done == count) ? left : share;
                left -= a.size;
                a.adjustable = false;
            }
        }
    }

    long pos = mainStart;
    for (const AxisItem& a : axis) {
        pos += a.padBefore;
        long crossAvail = crossLen - a.padCrossBefore - a.padCrossAfter;
        long cross = a.fixedCross > 0 ? std::min(a.fixedCross, crossAvail) : crossAvail;
        cross = std::max(a.minCross, std::min(cross, a.maxCross));
        long c0 = crossStart + a.padCrossBefore;
        RECT rc;
        if (bVertical)
            rc = {c0, pos, c0 + cross, pos + a.size};
        else
            rc = {pos, c0, pos + a.size, c0 + cross};
        out.push_back(rc);
        pos += a.size + a.padAfter + nChildPadding;
    }
    return out;
}

SIZE StackExtent(bool bVertical, int nChildPadding, const std::vector<TStackItem>& items)
{
    long along = 0, across = 0;
    for (const TStackItem& it : items) {
        AxisItem a = ToAxis(bVertical, it);
        along += a.padBefore + a.padAfter + (a.adjustable ? a.minMain : a.size);
        long cross = a.fixedCross > 0 ? std::max(a.minCross, std::min(a.fixedCross, a.maxCross))
                                      : a.minCross;
        across = std::max(across, a.padCrossBefore + cross + a.padCrossAfter);
    }
    if (!items.empty()) along += (long)nChildPadding * (long)(items.size() - 1);
    return bVertical ? SIZE{across, along} : SIZE{along, across};
}

}  // namespace DuiLib
