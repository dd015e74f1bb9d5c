// The watermark picture, in a grid cell of the frame.
#pragma once

#include "recorder/overlays/FrameOverlay.h"
#include "recorder/overlays/Sprite.h"

#include <string>

// Decodes a watermark picture (BMP, GIF, JPEG, PNG, TIFF, ICO, WMF, EMF;
// chosen by the file name's extension) into a sprite. The colour of the
// picture's bottom-left pixel is left out when that pixel is opaque;
// pictures with a transparent corner carry their own transparency.
bool DecodeWatermark(const std::string& ansiPath, Sprite& out);

class WatermarkOverlay : public FrameOverlay {
public:
    // image stays owned by the caller; nullptr or an empty one paints nothing.
    void Setup(const Sprite* image, DWORD cell);
    void Release() override;
    void Draw(FrameSurface& surface, const FrameMapping& mapping) override;

private:
    const Sprite* m_image = nullptr;
    DWORD m_cell = 8;
};
