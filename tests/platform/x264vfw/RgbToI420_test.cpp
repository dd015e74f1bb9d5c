#include <gtest/gtest.h>

#include "platform/x264vfw/RgbToI420.h"

#include <cmath>
#include <random>
#include <vector>

using namespace x264vfw;

namespace {

struct Yuv {
    double y, u, v;
};

// The textbook formulas in floating point.
Yuv Reference(double r, double g, double b, YuvMatrix m, bool full)
{
    const double kr = m == YuvMatrix::Bt709 ? 0.2126 : 0.299;
    const double kb = m == YuvMatrix::Bt709 ? 0.0722 : 0.114;
    const double y = kr * r + (1 - kr - kb) * g + kb * b;
    const double u = (b - y) / (2 * (1 - kb)), v = (r - y) / (2 * (1 - kr));
    const double ys = full ? 1 : 219.0 / 255, cs = full ? 1 : 224.0 / 255;
    auto clamp = [](double x) { return x < 0 ? 0 : x > 255 ? 255 : x; };
    return {clamp((full ? 0 : 16) + ys * y), clamp(128 + cs * u), clamp(128 + cs * v)};
}

struct Planes {
    Planes(int w, int h) : y(w * h), u(w * h / 4), v(w * h / 4)
    {
        p.y = y.data(), p.u = u.data(), p.v = v.data();
        p.strideY = w, p.strideU = w / 2;
    }
    std::vector<uint8_t> y, u, v;
    I420Planes p;
};

}  // namespace

TEST(RgbToI420, MatchesTheFormulasForEveryLayout)
{
    const int w = 38, h = 10;
    std::mt19937 rng(7);
    for (int bpp : {3, 4})
        for (bool bottomUp : {true, false})
            for (YuvMatrix m : {YuvMatrix::Bt601, YuvMatrix::Bt709})
                for (bool full : {false, true}) {
                    RgbLayout l{w, h, bpp, (w * bpp + 3) & ~3, bottomUp};
                    std::vector<uint8_t> bits(l.stride * h);
                    for (auto& b : bits) b = static_cast<uint8_t>(rng());
                    Planes out(w, h);
                    RgbToI420(m, full).Convert(l, bits.data(), out.p);
                    auto px = [&](int x, int y, int c) {  // y counted from the top
                        int row = bottomUp ? h - 1 - y : y;
                        return double(bits[row * l.stride + x * bpp + c]);
                    };
                    double worst = 0;
                    for (int y = 0; y < h; ++y)
                        for (int x = 0; x < w; ++x) {
                            Yuv e = Reference(px(x, y, 2), px(x, y, 1), px(x, y, 0), m, full);
                            worst = std::max(worst, std::fabs(e.y - out.y[y * w + x]));
                        }
                    for (int y = 0; y < h; y += 2)
                        for (int x = 0; x < w; x += 2) {
                            double r = 0, g = 0, b = 0;
                            for (int k = 0; k < 4; ++k) {
                                r += px(x + k % 2, y + k / 2, 2) / 4;
                                g += px(x + k % 2, y + k / 2, 1) / 4;
                                b += px(x + k % 2, y + k / 2, 0) / 4;
                            }
                            Yuv e = Reference(r, g, b, m, full);
                            const int i = (y / 2) * (w / 2) + x / 2;
                            worst = std::max(worst, std::fabs(e.u - out.u[i]));
                            worst = std::max(worst, std::fabs(e.v - out.v[i]));
                        }
                    EXPECT_LE(worst, 0.51) << "bpp " << bpp << " bottomUp " << bottomUp
                                           << " matrix " << int(m) << " full " << full;
                }
}

TEST(RgbToI420, KnownColoursInTvRange)
{
    struct Case {
        uint8_t b, g, r, y, u, v;
    } cases[] = {
        {0, 0, 0, 16, 128, 128},  {255, 255, 255, 235, 128, 128}, {0, 0, 255, 63, 102, 240},
        {0, 255, 0, 173, 42, 26}, {255, 0, 0, 32, 240, 118},
    };
    for (const Case& c : cases) {
        RgbLayout l{2, 2, 3, 8, true};
        uint8_t bits[16] = {};
        for (int i : {0, 3, 8, 11}) {
            bits[i] = c.b, bits[i + 1] = c.g, bits[i + 2] = c.r;
        }
        Planes out(2, 2);
        RgbToI420(YuvMatrix::Bt709, false).Convert(l, bits, out.p);
        EXPECT_EQ(c.y, out.y[0]);
        EXPECT_EQ(c.y, out.y[3]);
        EXPECT_EQ(c.u, out.u[0]);
        EXPECT_EQ(c.v, out.v[0]);
    }
}
