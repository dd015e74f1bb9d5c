#include "platform/x264vfw/RgbToI420.h"

#include <cmath>

namespace x264vfw {

namespace {

inline uint8_t Clamp255(int v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

int Fixed(double v, int shift)
{
    return static_cast<int>(std::lround(v * (1 << shift)));
}

}  // namespace

RgbToI420::RgbToI420(YuvMatrix matrix, bool fullRange)
{
    const double kr = matrix == YuvMatrix::Bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::Bt709 ? 0.0722 : 0.114;
    const double kg = 1.0 - kr - kb;
    const double ys = fullRange ? 1.0 : 219.0 / 255.0;
    const double cs = fullRange ? 1.0 : 224.0 / 255.0;
    yr_ = Fixed(kr * ys, 16);
    yg_ = Fixed(kg * ys, 16);
    yb_ = Fixed(kb * ys, 16);
    yOffset_ = ((fullRange ? 0 : 16) << 16) + (1 << 15);
    // Cb = (B - Y) / (2 (1 - Kb)), Cr = (R - Y) / (2 (1 - Kr)), scaled by
    // 1/4 for the 2x2 sums: 16 + 2 = 18 fractional bits.
    const double su = cs / (2.0 * (1.0 - kb));
    const double sv = cs / (2.0 * (1.0 - kr));
    ub_ = Fixed((1.0 - kb) * su, 16);
    ug_ = Fixed(-kg * su, 16);
    ur_ = Fixed(-kr * su, 16);
    vr_ = Fixed((1.0 - kr) * sv, 16);
    vg_ = Fixed(-kg * sv, 16);
    vb_ = Fixed(-kb * sv, 16);
    cOffset_ = (128 << 18) + (1 << 17);
}

namespace {

// One pair of rows; Bpp is the source's bytes per pixel (3 or 4).
template <int Bpp>
void ConvertRowPair(const uint8_t* s0, const uint8_t* s1, uint8_t* y0, uint8_t* y1, uint8_t* u,
                    uint8_t* v, int width, int yb, int yg, int yr, int yOffset, int ub, int ug,
                    int ur, int vb, int vg, int vr, int cOffset)
{
    for (int x = 0; x < width; x += 2) {
        const int b00 = s0[0], g00 = s0[1], r00 = s0[2];
        const int b01 = s0[Bpp], g01 = s0[Bpp + 1], r01 = s0[Bpp + 2];
        const int b10 = s1[0], g10 = s1[1], r10 = s1[2];
        const int b11 = s1[Bpp], g11 = s1[Bpp + 1], r11 = s1[Bpp + 2];
        y0[0] = static_cast<uint8_t>((yb * b00 + yg * g00 + yr * r00 + yOffset) >> 16);
        y0[1] = static_cast<uint8_t>((yb * b01 + yg * g01 + yr * r01 + yOffset) >> 16);
        y1[0] = static_cast<uint8_t>((yb * b10 + yg * g10 + yr * r10 + yOffset) >> 16);
        y1[1] = static_cast<uint8_t>((yb * b11 + yg * g11 + yr * r11 + yOffset) >> 16);
        const int bs = b00 + b01 + b10 + b11;
        const int gs = g00 + g01 + g10 + g11;
        const int rs = r00 + r01 + r10 + r11;
        *u++ = Clamp255((ub * bs + ug * gs + ur * rs + cOffset) >> 18);
        *v++ = Clamp255((vb * bs + vg * gs + vr * rs + cOffset) >> 18);
        s0 += 2 * Bpp;
        s1 += 2 * Bpp;
        y0 += 2;
        y1 += 2;
    }
}

}  // namespace

void RgbToI420::Convert(const RgbLayout& layout, const uint8_t* bits, const I420Planes& out) const
{
    // Walk the source top-down whatever its row order.
    const uint8_t* top =
        layout.bottomUp ? bits + static_cast<ptrdiff_t>(layout.height - 1) * layout.stride : bits;
    const ptrdiff_t step = layout.bottomUp ? -static_cast<ptrdiff_t>(layout.stride) : layout.stride;
    auto rowPair = layout.bytesPerPixel == 4 ? &ConvertRowPair<4> : &ConvertRowPair<3>;
    for (int y = 0; y < layout.height; y += 2) {
        const uint8_t* s0 = top + step * y;
        rowPair(s0, s0 + step, out.y + static_cast<ptrdiff_t>(y) * out.strideY,
                out.y + static_cast<ptrdiff_t>(y + 1) * out.strideY,
                out.u + static_cast<ptrdiff_t>(y / 2) * out.strideU,
                out.v + static_cast<ptrdiff_t>(y / 2) * out.strideU, layout.width, yb_, yg_, yr_,
                yOffset_, ub_, ug_, ur_, vb_, vg_, vr_, cOffset_);
    }
}

}  // namespace x264vfw
