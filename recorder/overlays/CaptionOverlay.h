// The caption text in a grid cell of the frame. The text is rendered once
// when a recording starts, then blended onto each frame.
#pragma once

#include "recorder/OverlaySettings.h"
#include "recorder/overlays/FrameOverlay.h"
#include "recorder/overlays/Sprite.h"

class CaptionOverlay : public FrameOverlay {
public:
    // Renders the caption; false (and nothing to paint) when the text is
    // empty or its font cannot be made.
    bool Setup(const CaptionSettings& caption);
    void Release() override;
    void Draw(FrameSurface& surface, const FrameMapping& mapping) override;

    // Width the text takes as drawn (0 without a caption).
    int TextWidth() const { return m_textWidth; }

private:
    Sprite m_text;
    int m_textWidth = 0;
    DWORD m_cell = 0;
};
