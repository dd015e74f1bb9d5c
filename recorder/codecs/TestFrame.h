// The picture every compressor is asked about before it enters the
// compressor list: the top-left 320 x 200 of the screen in the format the
// recorder writes (24-bit, bottom-up, no palette).
#pragma once

#include <windows.h>

#include <vector>

struct CompressorTestFrame {
    BITMAPINFOHEADER header{};
    std::vector<BYTE> bits;  // header.biSizeImage bytes
    bool grabbed = false;    // false: the screen could not be read, bits are black
};

CompressorTestFrame GrabCompressorTestFrame();
