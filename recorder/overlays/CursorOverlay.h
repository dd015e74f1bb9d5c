// The mouse cursor, with the highlight disc under it when that is on.
#pragma once

#include "recorder/CamCursor.h"
#include "recorder/overlays/FrameOverlay.h"
#include "recorder/overlays/Sprite.h"

class CursorOverlay : public FrameOverlay {
public:
    void Setup(const CCamCursor& cursor);
    void Release() override;
    void Draw(FrameSurface& surface, const FrameMapping& mapping) override;

    // The two parts, at a point already in frame coordinates.
    void DrawCursorHighlight(FrameSurface& surface, POINT at);
    void DrawCursorIcon(FrameSurface& surface, POINT at, HCURSOR cursor);

private:
    bool m_drawCursor = false;
    Sprite m_highlight;
    int m_highlightReach = 0;  // from the cursor point to the sprite's left and top edges
    HCURSOR m_lastCursor = nullptr;
    POINT m_lastHotSpot = {0, 0};
};
