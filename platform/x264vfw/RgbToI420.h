// RGB pictures into 8-bit 4:2:0 planes, the format every H.264 player
// decodes. Runs once per recorded frame, so it is written for speed.
#pragma once

#include "platform/x264vfw/FrameFormats.h"

#include <cstdint>
#include <cstring>

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

    // Fixed-point weights of B, G, R (15 fractional bits) and the rounding
    // offsets, luma's and chroma's (chroma weights apply to 2x2 sums).
    struct Weights {
        int16_t y[3], u[3], v[3];
        int yOffset, cOffset;
    };

private:
    Weights w_;
};

}  // namespace x264vfw
