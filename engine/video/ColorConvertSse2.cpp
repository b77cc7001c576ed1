// SSE2 colour conversion: 16 columns of two rows at a time, sharing the
// eight chroma pairs between the rows. This file is compiled with -msse2;
// the conversion only calls into it after checking that the processor has
// SSE2.
//
// RGB565. The chroma tables hold trunc((c - 128) x K) for four constants K;
// they are computed here as sign(d) x (i x |d| + floor(|d| x M / 65536)),
// with d = c - 128, i the whole part of |K| and M = ceil(frac(|K|) x 65536).
// Each K is a fraction with a denominator above 128, so |d| x |K| is never a
// whole number for d != 0, and M over-estimates frac(|K|) by less than
// 1 / 65536: for |d| <= 128 the error stays far below the distance to the
// next whole number, and the floor is the tables' floor. A test compares
// all 256 values of each table and every Y/U/V input against the tables.
// The packing tables are clamp-then-shift, done here with saturating packs.
//
// RGB24. The tables hold (i - 16) x 9535 and (i - 128) x {13074, 3203,
// 6660, 16531}; the same products and sums are made here in 32-bit lanes,
// shifted by 13 and clamped by the saturating packs, exactly as the table
// path does.
#include "ColorConvertSse2.h"

#include <emmintrin.h>

// The play thread's stack may be only 4-byte aligned; SSE2 spills need 16.
#define ZARV_SSE2_ENTRY __attribute__((force_align_arg_pointer))
#define ZARV_INLINE static inline __attribute__((always_inline))

namespace color {
namespace sse2 {

namespace {

// ceil(frac(|K|) x 65536) for the four RGB565 chroma constants.
const int kRedFromVFrac = 26303;     // 1.4013377926421404: whole part 1
const int kGreenFromVFrac = 46767;   // 0.7136038186157518 (negative)
const int kGreenFromUFrac = 22572;   // 0.34441087613293053 (negative)
const int kBlueFromUFrac = 50687;    // 1.7734138972809665: whole part 1

ZARV_INLINE __m128i Splat16(int v) { return _mm_set1_epi16(short(v)); }

// sign(d) x t, with s = d >> 15 (all ones for a negative d).
ZARV_INLINE __m128i ApplySign(__m128i t, __m128i s) { return _mm_sub_epi16(_mm_xor_si128(t, s), s); }

// The 16 sums luma + offset, clamped to 0..255 by the saturating pack.
ZARV_INLINE __m128i ClampedBytes(__m128i yLo, __m128i yHi, __m128i offLo, __m128i offHi) {
    return _mm_packus_epi16(_mm_add_epi16(yLo, offLo), _mm_add_epi16(yHi, offHi));
}

ZARV_INLINE __m128i Splat8(int v) { return _mm_set1_epi8(char(v)); }

// 16 luma samples of one row against the duplicated chroma offsets. Each
// pixel's low byte is (g << 3 & 0xE0) | b >> 3, its high byte r & 0xF8 | g >> 5;
// the 16-bit shifts let bits cross into the next byte, which the masks drop.
ZARV_INLINE void Row565(uint8_t* d, const uint8_t* yRow, __m128i rLo, __m128i rHi, __m128i gLo, __m128i gHi,
                        __m128i bLo, __m128i bHi, __m128i zero) {
    __m128i ys = _mm_loadu_si128(reinterpret_cast<const __m128i*>(yRow));
    __m128i yLo = _mm_unpacklo_epi8(ys, zero);
    __m128i yHi = _mm_unpackhi_epi8(ys, zero);
    __m128i r = ClampedBytes(yLo, yHi, rLo, rHi);
    __m128i g = ClampedBytes(yLo, yHi, gLo, gHi);
    __m128i b = ClampedBytes(yLo, yHi, bLo, bHi);
    __m128i low = _mm_or_si128(_mm_and_si128(_mm_slli_epi16(g, 3), Splat8(0xE0)),
                               _mm_and_si128(_mm_srli_epi16(b, 3), Splat8(0x1F)));
    __m128i high = _mm_or_si128(_mm_and_si128(r, Splat8(0xF8)), _mm_and_si128(_mm_srli_epi16(g, 5), Splat8(0x07)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_unpacklo_epi8(low, high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), _mm_unpackhi_epi8(low, high));
}

// Four pixels as 32-bit B, G, R, 0 lanes made into 12 bytes (the top four
// bytes of the result are zero).
ZARV_INLINE __m128i Compact24(__m128i p) {
    const __m128i low32 = _mm_set_epi32(0, -1, 0, -1);
    const __m128i mid24 = _mm_set_epi32(0x0000FFFF, int(0xFF000000), 0x0000FFFF, int(0xFF000000));
    __m128i lane = _mm_or_si128(_mm_and_si128(p, low32), _mm_and_si128(_mm_srli_epi64(p, 8), mid24));
    return _mm_or_si128(_mm_move_epi64(lane), _mm_slli_si128(_mm_srli_si128(lane, 8), 6));
}

// (sum >> 13) for four sums of luma and chroma terms.
ZARV_INLINE __m128i Shift13(__m128i a) { return _mm_srai_epi32(a, 13); }

// 16 pixels of one row: luma terms against the duplicated chroma terms
// (four blocks of four pixels each: b[k], g[k], r[k]).
ZARV_INLINE void Row24(uint8_t* d, const uint8_t* yRow, const __m128i* bu, const __m128i* gc, const __m128i* rv,
                       __m128i zero) {
    const __m128i k16 = Splat16(16);
    const __m128i kLuma = Splat16(9535);
    __m128i ys = _mm_loadu_si128(reinterpret_cast<const __m128i*>(yRow));
    __m128i dy[2] = {_mm_sub_epi16(_mm_unpacklo_epi8(ys, zero), k16),
                     _mm_sub_epi16(_mm_unpackhi_epi8(ys, zero), k16)};
    __m128i luma[4];
    for (int i = 0; i < 2; ++i) {
        __m128i lo = _mm_mullo_epi16(dy[i], kLuma);
        __m128i hi = _mm_mulhi_epi16(dy[i], kLuma);
        luma[2 * i] = _mm_unpacklo_epi16(lo, hi);
        luma[2 * i + 1] = _mm_unpackhi_epi16(lo, hi);
    }
    __m128i b[4], g[4], r[4];
    for (int k = 0; k < 4; ++k) {
        b[k] = Shift13(_mm_add_epi32(luma[k], bu[k]));
        g[k] = Shift13(_mm_sub_epi32(luma[k], gc[k]));
        r[k] = Shift13(_mm_add_epi32(luma[k], rv[k]));
    }
    // The signed pack keeps -384..639 as it is; the unsigned one clamps to 0..255.
    __m128i B = _mm_packus_epi16(_mm_packs_epi32(b[0], b[1]), _mm_packs_epi32(b[2], b[3]));
    __m128i G = _mm_packus_epi16(_mm_packs_epi32(g[0], g[1]), _mm_packs_epi32(g[2], g[3]));
    __m128i R = _mm_packus_epi16(_mm_packs_epi32(r[0], r[1]), _mm_packs_epi32(r[2], r[3]));
    __m128i bgLo = _mm_unpacklo_epi8(B, G), bgHi = _mm_unpackhi_epi8(B, G);
    __m128i rLo = _mm_unpacklo_epi8(R, zero), rHi = _mm_unpackhi_epi8(R, zero);
    __m128i c0 = Compact24(_mm_unpacklo_epi16(bgLo, rLo));
    __m128i c1 = Compact24(_mm_unpackhi_epi16(bgLo, rLo));
    __m128i c2 = Compact24(_mm_unpacklo_epi16(bgHi, rHi));
    __m128i c3 = Compact24(_mm_unpackhi_epi16(bgHi, rHi));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16),
                     _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32),
                     _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
}

}  // namespace

ZARV_SSE2_ENTRY void Rgb565Body(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                                int yStride, int uvStride, int blocks16, int rowPairs) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i k128 = Splat16(128);
    const __m128i mRv = Splat16(kRedFromVFrac), mGv = Splat16(kGreenFromVFrac);
    const __m128i mGu = Splat16(kGreenFromUFrac), mBu = Splat16(kBlueFromUFrac);
    for (int pair = 0; pair < rowPairs; ++pair) {
        const uint8_t* y0 = y + 2 * pair * yStride;
        const uint8_t* y1 = y0 + yStride;
        const uint8_t* ur = u + pair * uvStride;
        const uint8_t* vr = v + pair * uvStride;
        uint8_t* d0 = dst + 2 * pair * dstPitch;
        uint8_t* d1 = d0 + dstPitch;
        for (int blk = 0; blk < blocks16; ++blk) {
            __m128i du = _mm_sub_epi16(
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(ur + 8 * blk)), zero), k128);
            __m128i dv = _mm_sub_epi16(
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(vr + 8 * blk)), zero), k128);
            __m128i su = _mm_srai_epi16(du, 15), sv = _mm_srai_epi16(dv, 15);
            __m128i au = ApplySign(du, su), av = ApplySign(dv, sv);  // |d|, 0..128
            __m128i r = ApplySign(_mm_add_epi16(av, _mm_mulhi_epu16(av, mRv)), sv);
            __m128i b = ApplySign(_mm_add_epi16(au, _mm_mulhi_epu16(au, mBu)), su);
            // Both green constants are negative: green = -(tu + tv).
            __m128i g = _mm_sub_epi16(zero, _mm_add_epi16(ApplySign(_mm_mulhi_epu16(au, mGu), su),
                                                          ApplySign(_mm_mulhi_epu16(av, mGv), sv)));
            __m128i rLo = _mm_unpacklo_epi16(r, r), rHi = _mm_unpackhi_epi16(r, r);
            __m128i gLo = _mm_unpacklo_epi16(g, g), gHi = _mm_unpackhi_epi16(g, g);
            __m128i bLo = _mm_unpacklo_epi16(b, b), bHi = _mm_unpackhi_epi16(b, b);
            Row565(d0 + 32 * blk, y0 + 16 * blk, rLo, rHi, gLo, gHi, bLo, bHi, zero);
            Row565(d1 + 32 * blk, y1 + 16 * blk, rLo, rHi, gLo, gHi, bLo, bHi, zero);
        }
    }
}

ZARV_SSE2_ENTRY void Rgb24Body(uint8_t* dst, int dstStep, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                               int yStride, int uvStride, int blocks16, int rowPairs) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i k128 = Splat16(128);
    // madd pairs (du, dv) with these to get each chroma term in 32 bits.
    const __m128i kBlue = _mm_set1_epi32(16531);                   // du x 16531
    const __m128i kRed = _mm_set1_epi32(13074 << 16);              // dv x 13074
    const __m128i kGreen = _mm_set1_epi32((6660 << 16) | 3203);    // du x 3203 + dv x 6660
    for (int pair = 0; pair < rowPairs; ++pair) {
        const uint8_t* y0 = y + 2 * pair * yStride;
        const uint8_t* y1 = y0 + yStride;
        const uint8_t* ur = u + pair * uvStride;
        const uint8_t* vr = v + pair * uvStride;
        uint8_t* d0 = dst + 2 * pair * dstStep;
        uint8_t* d1 = d0 + dstStep;
        for (int blk = 0; blk < blocks16; ++blk) {
            __m128i du = _mm_sub_epi16(
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(ur + 8 * blk)), zero), k128);
            __m128i dv = _mm_sub_epi16(
                _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(vr + 8 * blk)), zero), k128);
            __m128i uv[2] = {_mm_unpacklo_epi16(du, dv), _mm_unpackhi_epi16(du, dv)};  // blocks 0-3, 4-7
            __m128i bu[4], gc[4], rv[4];
            for (int i = 0; i < 2; ++i) {
                __m128i b = _mm_madd_epi16(uv[i], kBlue);
                __m128i g = _mm_madd_epi16(uv[i], kGreen);
                __m128i r = _mm_madd_epi16(uv[i], kRed);
                // Each block's terms serve its two columns.
                bu[2 * i] = _mm_unpacklo_epi32(b, b);
                bu[2 * i + 1] = _mm_unpackhi_epi32(b, b);
                gc[2 * i] = _mm_unpacklo_epi32(g, g);
                gc[2 * i + 1] = _mm_unpackhi_epi32(g, g);
                rv[2 * i] = _mm_unpacklo_epi32(r, r);
                rv[2 * i + 1] = _mm_unpackhi_epi32(r, r);
            }
            Row24(d0 + 48 * blk, y0 + 16 * blk, bu, gc, rv, zero);
            Row24(d1 + 48 * blk, y1 + 16 * blk, bu, gc, rv, zero);
        }
    }
}

}  // namespace sse2
}  // namespace color
