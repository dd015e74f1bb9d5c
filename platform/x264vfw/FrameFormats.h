// The pictures the compressor takes and the format it gives back.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace x264vfw {

// An uncompressed RGB picture as a Video for Windows host hands it over.
struct RgbLayout {
    int width = 0;
    int height = 0;         // always positive
    int bytesPerPixel = 0;  // 3 (BGR) or 4 (BGRX)
    int stride = 0;         // bytes per row, DWORD aligned
    bool bottomUp = true;
};

// The layout of a 24- or 32-bit BI_RGB picture with an even width and
// height (4:2:0 halves both), or nothing when the compressor can't take it.
std::optional<RgbLayout> DescribeRgbInput(const BITMAPINFOHEADER* bih);

// Output FOURCCs by the registry's "fourcc_num"; out of range gives the first.
DWORD OutputFourcc(int fourccNum);
bool IsOutputFourcc(DWORD fourcc);

// The compressed format for an input: same size, H.264 FOURCC.
void FillOutputFormat(const RgbLayout& in, DWORD fourcc, BITMAPINFOHEADER* out);
// True when out is a compressed format this compressor can write for in.
bool MatchesOutput(const RgbLayout& in, const BITMAPINFOHEADER* out);

// An upper bound for one compressed picture: I_PCM macroblocks twice over
// plus the headers of a key frame.
DWORD MaxFrameBytes(const RgbLayout& in);

}  // namespace x264vfw
