// RGB pictures into 8-bit 4:2:0 planes, the format every H.264 player
// decodes. Runs once per recorded frame, so it is written for speed.
#pragma once

#include "platform/x264vfw/FrameFormats.h"

#include <cstdint>

namespace x264vfw {

enum class YuvMatrix { Bt601, Bt709 };

struct I420Planes {
    uint8_t* y = nullptr;
    uint8_t* u = nullptr;
    uint8_t* v = nullptr;
    int strideY = 0;
    int strideU = 0;  // also the stride of v
};

class RgbToI420 {
public:
    RgbToI420(YuvMatrix matrix, bool fullRange);

    // bits holds the picture as layout describes it (bottom-up rows are
    // turned top-down); each chroma sample averages a 2x2 block.
    void Convert(const RgbLayout& layout, const uint8_t* bits, const I420Planes& out) const;

private:
    // 16.16 fixed-point weights of B, G, R for luma, and for chroma applied
    // to the sum of four pixels (hence two more fractional bits).
    int yb_, yg_, yr_, yOffset_;
    int ub_, ug_, ur_, vb_, vg_, vr_, cOffset_;
};

}  // namespace x264vfw
