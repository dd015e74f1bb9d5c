#include "platform/x264vfw/FrameFormats.h"

#include <cstdlib>

namespace x264vfw {

namespace {

// Players know all of these as H.264; "H264" is the most widely recognised.
const DWORD kFourccs[] = {
    mmioFOURCC('H', '2', '6', '4'),
    mmioFOURCC('X', '2', '6', '4'),
    mmioFOURCC('h', '2', '6', '4'),
    mmioFOURCC('x', '2', '6', '4'),
};

// Beyond this x264's level tables end and the frame buffers get absurd.
const int kMaxSide = 16384;

}  // namespace

std::optional<RgbLayout> DescribeRgbInput(const BITMAPINFOHEADER* bih)
{
    if (!bih || bih->biSize < sizeof(BITMAPINFOHEADER) || bih->biCompression != BI_RGB ||
        bih->biPlanes != 1)
        return std::nullopt;
    if (bih->biBitCount != 24 && bih->biBitCount != 32) return std::nullopt;
    RgbLayout l;
    l.width = bih->biWidth;
    l.bottomUp = bih->biHeight > 0;
    l.height = l.bottomUp ? bih->biHeight : -bih->biHeight;
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxSide || l.height > kMaxSide ||
        l.width % 2 != 0 || l.height % 2 != 0)
        return std::nullopt;
    l.bytesPerPixel = bih->biBitCount / 8;
    l.stride = (l.width * l.bytesPerPixel + 3) & ~3;
    return l;
}

DWORD OutputFourcc(int fourccNum)
{
    const int n = static_cast<int>(sizeof kFourccs / sizeof kFourccs[0]);
    return kFourccs[fourccNum >= 0 && fourccNum < n ? fourccNum : 0];
}

bool IsOutputFourcc(DWORD fourcc)
{
    for (DWORD f : kFourccs)
        if (f == fourcc) return true;
    return false;
}

void FillOutputFormat(const RgbLayout& in, DWORD fourcc, BITMAPINFOHEADER* out)
{
    ZeroMemory(out, sizeof *out);
    out->biSize = sizeof *out;
    out->biWidth = in.width;
    out->biHeight = in.height;
    out->biPlanes = 1;
    out->biBitCount = 24;
    out->biCompression = fourcc;
    out->biSizeImage = MaxFrameBytes(in);
}

bool MatchesOutput(const RgbLayout& in, const BITMAPINFOHEADER* out)
{
    return out->biSize >= sizeof(BITMAPINFOHEADER) && IsOutputFourcc(out->biCompression) &&
           out->biWidth == in.width && std::abs(out->biHeight) == in.height;
}

DWORD MaxFrameBytes(const RgbLayout& in)
{
    return static_cast<DWORD>(in.width) * static_cast<DWORD>(in.height) * 3 + 65536;
}

}  // namespace x264vfw
