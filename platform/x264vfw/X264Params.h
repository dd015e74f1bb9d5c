// Turns the registry settings into libx264 parameters for one stream.
#pragma once

#include "platform/x264vfw/EncoderSettings.h"
#include "platform/x264vfw/RgbToI420.h"

#include <stdint.h>

#include <string>
#include <vector>

extern "C" {
#include <x264.h>
}

namespace x264vfw {

struct StreamShape {
    int width = 0;
    int height = 0;
    uint32_t fpsNum = 25;
    uint32_t fpsDen = 1;
};

// How the RGB pictures must be converted for what the stream signals.
struct ColourSetup {
    YuvMatrix matrix = YuvMatrix::Bt709;
    bool fullRange = false;
};

// Fills p from the settings: the preset and tune, the rate factor and key
// interval, then the extra command line through x264's own parser (its
// --preset, --tune and --profile win over the registry's). Options x264
// rejects are skipped and described in warnings. What a Video for Windows
// compressor needs is forced last: the picture shape and zero delay.
// Returns false only when no parameters could be made at all.
bool BuildX264Params(const EncoderSettings& settings, const StreamShape& shape, x264_param_t* p,
                     ColourSetup* colour, std::vector<std::string>* warnings);

}  // namespace x264vfw
