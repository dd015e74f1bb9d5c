#include "platform/x264vfw/RgbToI420.h"

#include <emmintrin.h>

#include <cmath>

namespace x264vfw {

namespace {

// 15 fractional bits keep every weight inside a signed 16-bit lane for
// pmaddwd; chroma works on 2x2 sums, so it shifts by two bits more.
const int kShiftY = 15;
const int kShiftC = 17;

int16_t Fixed(double v)
{
    return static_cast<int16_t>(std::lround(v * (1 << kShiftY)));
}

inline uint8_t Clamp255(int v)
{
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

}  // namespace

RgbToI420::RgbToI420(YuvMatrix matrix, bool fullRange)
{
    const double kr = matrix == YuvMatrix::Bt709 ? 0.2126 : 0.299;
    const double kb = matrix == YuvMatrix::Bt709 ? 0.0722 : 0.114;
    const double kg = 1.0 - kr - kb;
    const double ys = fullRange ? 1.0 : 219.0 / 255.0;
    const double cs = fullRange ? 1.0 : 224.0 / 255.0;
    // Cb = (B - Y) / (2 (1 - Kb)) and Cr = (R - Y) / (2 (1 - Kr)).
    const double su = cs / (2.0 * (1.0 - kb));
    const double sv = cs / (2.0 * (1.0 - kr));
    w_.y[0] = Fixed(kb * ys), w_.y[1] = Fixed(kg * ys), w_.y[2] = Fixed(kr * ys);
    w_.u[0] = Fixed((1.0 - kb) * su), w_.u[1] = Fixed(-kg * su), w_.u[2] = Fixed(-kr * su);
    w_.v[0] = Fixed(-kb * sv), w_.v[1] = Fixed(-kg * sv), w_.v[2] = Fixed((1.0 - kr) * sv);
    w_.yOffset = ((fullRange ? 0 : 16) << kShiftY) + (1 << (kShiftY - 1));
    w_.cOffset = (128 << kShiftC) + (1 << (kShiftC - 1));
}

namespace {

using Weights = RgbToI420::Weights;

// Pixels x .. width-1 of two rows, one 2x2 block at a time.
template <int Bpp>
void ScalarTail(const uint8_t* s0, const uint8_t* s1, uint8_t* y0, uint8_t* y1, uint8_t* u,
                uint8_t* v, int x, int width, const Weights& w)
{
    auto luma = [&w](const uint8_t* p) {
        return static_cast<uint8_t>((w.y[0] * p[0] + w.y[1] * p[1] + w.y[2] * p[2] + w.yOffset) >>
                                    kShiftY);
    };
    for (; x < width; x += 2) {
        const uint8_t* a = s0 + x * Bpp;
        const uint8_t* b = s1 + x * Bpp;
        y0[x] = luma(a), y0[x + 1] = luma(a + Bpp);
        y1[x] = luma(b), y1[x + 1] = luma(b + Bpp);
        const int bs = a[0] + a[Bpp] + b[0] + b[Bpp];
        const int gs = a[1] + a[Bpp + 1] + b[1] + b[Bpp + 1];
        const int rs = a[2] + a[Bpp + 2] + b[2] + b[Bpp + 2];
        u[x / 2] = Clamp255((w.u[0] * bs + w.u[1] * gs + w.u[2] * rs + w.cOffset) >> kShiftC);
        v[x / 2] = Clamp255((w.v[0] * bs + w.v[1] * gs + w.v[2] * rs + w.cOffset) >> kShiftC);
    }
}

// Four pixels as 32-bit B,G,R,x lanes, from 24-bit pixels starting at byte
// `first` of a 16-byte load (x is the next pixel's blue, weighted 0).
template <int First>
inline __m128i FourOfBgr(__m128i a)
{
    const __m128i p0 = _mm_srli_si128(a, First);
    const __m128i p1 = _mm_srli_si128(a, First + 3);
    const __m128i p2 = _mm_srli_si128(a, First + 6);
    const __m128i p3 = _mm_srli_si128(a, First + 9);
    return _mm_unpacklo_epi64(_mm_unpacklo_epi32(p0, p1), _mm_unpacklo_epi32(p2, p3));
}

// Sums lanes 0+1 and 2+3 of a and of b: [a0+a1, a2+a3, b0+b1, b2+b3].
inline __m128i PairSums(__m128i a, __m128i b)
{
    const __m128 fa = _mm_castsi128_ps(a), fb = _mm_castsi128_ps(b);
    return _mm_add_epi32(_mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(2, 0, 2, 0))),
                         _mm_castps_si128(_mm_shuffle_ps(fa, fb, _MM_SHUFFLE(3, 1, 3, 1))));
}

struct SimdWeights {
    explicit SimdWeights(const Weights& w)
        : y(_mm_setr_epi16(w.y[0], w.y[1], w.y[2], 0, w.y[0], w.y[1], w.y[2], 0)),
          u(_mm_setr_epi16(w.u[0], w.u[1], w.u[2], 0, w.u[0], w.u[1], w.u[2], 0)),
          v(_mm_setr_epi16(w.v[0], w.v[1], w.v[2], 0, w.v[0], w.v[1], w.v[2], 0)),
          yOffset(_mm_set1_epi32(w.yOffset)),
          cOffset(_mm_set1_epi32(w.cOffset))
    {
    }
    __m128i y, u, v, yOffset, cOffset;
};

// Eight luma samples from two groups of four B,G,R,x pixels as 16-bit lanes
// (lo and hi halves of each group).
inline void StoreLuma8(__m128i a0, __m128i a1, __m128i b0, __m128i b1, const SimdWeights& w,
                       uint8_t* out)
{
    __m128i first = PairSums(_mm_madd_epi16(a0, w.y), _mm_madd_epi16(a1, w.y));
    __m128i second = PairSums(_mm_madd_epi16(b0, w.y), _mm_madd_epi16(b1, w.y));
    first = _mm_srai_epi32(_mm_add_epi32(first, w.yOffset), kShiftY);
    second = _mm_srai_epi32(_mm_add_epi32(second, w.yOffset), kShiftY);
    const __m128i words = _mm_packs_epi32(first, second);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(words, words));
}

// The 2x2 sums of one group of four pixels in two rows: [sum01, sum23] as
// B,G,R,x 16-bit lanes.
inline __m128i BlockSums(__m128i lo0, __m128i hi0, __m128i lo1, __m128i hi1)
{
    const __m128i s = _mm_add_epi16(lo0, lo1);
    const __m128i t = _mm_add_epi16(hi0, hi1);
    return _mm_unpacklo_epi64(_mm_add_epi16(s, _mm_srli_si128(s, 8)),
                              _mm_add_epi16(t, _mm_srli_si128(t, 8)));
}

template <int Bpp>
void ConvertRowPair(const uint8_t* s0, const uint8_t* s1, uint8_t* y0, uint8_t* y1, uint8_t* u,
                    uint8_t* v, int width, const Weights& weights, const SimdWeights& w)
{
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        // Eight pixels of each row as two groups of four B,G,R,x pixels;
        // the loads stay inside the eight pixels' bytes.
        __m128i r0a, r0b, r1a, r1b;
        if (Bpp == 3) {
            r0a = FourOfBgr<0>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 + x * 3)));
            r0b = FourOfBgr<4>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 + x * 3 + 8)));
            r1a = FourOfBgr<0>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s1 + x * 3)));
            r1b = FourOfBgr<4>(_mm_loadu_si128(reinterpret_cast<const __m128i*>(s1 + x * 3 + 8)));
        } else {
            r0a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 + x * 4));
            r0b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s0 + x * 4 + 16));
            r1a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s1 + x * 4));
            r1b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s1 + x * 4 + 16));
        }
        const __m128i r0aLo = _mm_unpacklo_epi8(r0a, zero), r0aHi = _mm_unpackhi_epi8(r0a, zero);
        const __m128i r0bLo = _mm_unpacklo_epi8(r0b, zero), r0bHi = _mm_unpackhi_epi8(r0b, zero);
        const __m128i r1aLo = _mm_unpacklo_epi8(r1a, zero), r1aHi = _mm_unpackhi_epi8(r1a, zero);
        const __m128i r1bLo = _mm_unpacklo_epi8(r1b, zero), r1bHi = _mm_unpackhi_epi8(r1b, zero);
        StoreLuma8(r0aLo, r0aHi, r0bLo, r0bHi, w, y0 + x);
        StoreLuma8(r1aLo, r1aHi, r1bLo, r1bHi, w, y1 + x);

        const __m128i sumsA = BlockSums(r0aLo, r0aHi, r1aLo, r1aHi);
        const __m128i sumsB = BlockSums(r0bLo, r0bHi, r1bLo, r1bHi);
        __m128i cu = PairSums(_mm_madd_epi16(sumsA, w.u), _mm_madd_epi16(sumsB, w.u));
        __m128i cv = PairSums(_mm_madd_epi16(sumsA, w.v), _mm_madd_epi16(sumsB, w.v));
        cu = _mm_srai_epi32(_mm_add_epi32(cu, w.cOffset), kShiftC);
        cv = _mm_srai_epi32(_mm_add_epi32(cv, w.cOffset), kShiftC);
        const __m128i words = _mm_packs_epi32(cu, cv);
        const __m128i bytes = _mm_packus_epi16(words, words);
        const int uBytes = _mm_cvtsi128_si32(bytes);
        const int vBytes = _mm_cvtsi128_si32(_mm_srli_si128(bytes, 4));
        memcpy(u + x / 2, &uBytes, 4);
        memcpy(v + x / 2, &vBytes, 4);
    }
    ScalarTail<Bpp>(s0, s1, y0, y1, u, v, x, width, weights);
}

}  // namespace

void RgbToI420::Convert(const RgbLayout& layout, const uint8_t* bits, const I420Planes& out) const
{
    // Walk the source top-down whatever its row order.
    const uint8_t* top =
        layout.bottomUp ? bits + static_cast<ptrdiff_t>(layout.height - 1) * layout.stride : bits;
    const ptrdiff_t step = layout.bottomUp ? -static_cast<ptrdiff_t>(layout.stride) : layout.stride;
    const SimdWeights simd(w_);
    auto rowPair = layout.bytesPerPixel == 4 ? &ConvertRowPair<4> : &ConvertRowPair<3>;
    for (int y = 0; y < layout.height; y += 2) {
        const uint8_t* s0 = top + step * y;
        rowPair(s0, s0 + step, out.y + static_cast<ptrdiff_t>(y) * out.strideY,
                out.y + static_cast<ptrdiff_t>(y + 1) * out.strideY,
                out.u + static_cast<ptrdiff_t>(y / 2) * out.strideU,
                out.v + static_cast<ptrdiff_t>(y / 2) * out.strideU, layout.width, w_, simd);
    }
}

}  // namespace x264vfw
