// One libx264 encoder that returns each picture's bitstream from the call
// that takes the picture.
#pragma once

#include "platform/x264vfw/RgbToI420.h"

#include <stdint.h>

#include <cstddef>

extern "C" {
#include <x264.h>
}

namespace x264vfw {

class H264Encoder {
public:
    H264Encoder() = default;
    ~H264Encoder();
    H264Encoder(const H264Encoder&) = delete;
    H264Encoder& operator=(const H264Encoder&) = delete;

    // Takes parameters built by BuildX264Params (zero delay).
    [[nodiscard]] bool Open(x264_param_t* params);
    bool IsOpen() const { return h_ != nullptr; }

    struct Output {
        const uint8_t* data = nullptr;  // Annex-B NAL units, valid until the next call
        size_t size = 0;
        bool keyFrame = false;  // an IDR picture
    };
    // Encodes one I420 picture of the opened size; forceKey makes it an IDR
    // picture. Fails when x264 fails or holds the picture back.
    [[nodiscard]] bool Encode(const I420Planes& planes, bool forceKey, Output* out);

private:
    x264_t* h_ = nullptr;
    int64_t pts_ = 0;
};

}  // namespace x264vfw
