// Rings for mouse clicks and chevrons for wheel turns, from the hook's
// click queue.
#pragma once

#include "recorder/CamCursor.h"
#include "recorder/overlays/ClickMarks.h"
#include "recorder/overlays/FrameOverlay.h"

#include <windows.h>

#include <gdiplus.h>

#include <memory>
#include <vector>

class ClickEffectsOverlay : public FrameOverlay {
public:
    void Setup(const CCamCursor& cursor);
    void Release() override;
    void Draw(FrameSurface& surface, const FrameMapping& mapping) override;

private:
    std::unique_ptr<Gdiplus::Pen> m_pens[3];  // by ClickMark::Pen
    ClickRingTiming m_timing = {CCamCursor::kRingLifeMs, CCamCursor::kRingRadius};
    std::vector<ClickMark> m_marks;  // sized once, filled each frame
};
