// One thing painted into every frame. The engine keeps its overlays in the
// order they paint (watermark, caption, cursor, click effects) and asks each
// in turn; an overlay that is off or has nothing to show does nothing.
#pragma once

#include "recorder/FrameGeometry.h"

class FrameSurface;

class FrameOverlay {
public:
    virtual ~FrameOverlay() = default;
    // The recording is over: drop what was made for it.
    virtual void Release() {}
    // Paints onto the frame; the mapping takes screen points into it.
    virtual void Draw(FrameSurface& surface, const FrameMapping& mapping) = 0;
};
