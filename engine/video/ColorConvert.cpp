#include "ColorConvert.h"

#include "ColorConvertSse2.h"

#include <cpuid.h>

namespace color {

namespace {

struct AllTables {
    Rgb24Tables rgb24;
    Rgb565Tables rgb565;

    AllTables() {
        for (int i = 0; i < 256; ++i) {
            rgb24.luma[i] = (i - 16) * 9535;
            rgb24.redFromV[i] = (i - 128) * 13074;
            rgb24.greenFromU[i] = (i - 128) * 3203;
            rgb24.greenFromV[i] = (i - 128) * 6660;
            rgb24.blueFromU[i] = (i - 128) * 16531;

            // The conversion to int truncates toward zero, as intended.
            rgb565.luma[i] = i;
            rgb565.redFromV[i] = int32_t((i - 128) * 1.4013377926421404);
            rgb565.greenFromV[i] = int32_t((i - 128) * -0.7136038186157518);
            rgb565.greenFromU[i] = int32_t((i - 128) * -0.34441087613293053);
            rgb565.blueFromU[i] = int32_t((i - 128) * 1.7734138972809665);
        }
        for (int k = -256; k < 512; ++k) {
            int c = k < 0 ? 0 : (k > 255 ? 255 : k);
            rgb565.redPackStore[k + 256] = ((c >> 3) << 11) & 0xF800;
            rgb565.greenPackStore[k + 256] = ((c >> 2) << 5) & 0x07E0;
            rgb565.bluePackStore[k + 256] = (c >> 3) & 0x001F;
        }
        rgb565.redPack = rgb565.redPackStore + 256;
        rgb565.greenPack = rgb565.greenPackStore + 256;
        rgb565.bluePack = rgb565.bluePackStore + 256;
    }
};

// Built on first use; the language makes that first use safe across threads.
const AllTables& Tables() {
    static const AllTables tables;
    return tables;
}

// Sums lie within about -2.3M..4.4M, so (sum >> 13) stays inside -384..639.
struct ClampTable {
    uint8_t store[1024];
    ClampTable() {
        for (int i = 0; i < 1024; ++i) store[i] = uint8_t(i < 384 ? 0 : (i > 384 + 255 ? 255 : i - 384));
    }
};
const ClampTable kClamp;

inline uint8_t Clamp13(int32_t sum) { return kClamp.store[(sum >> 13) + 384]; }

inline void PutBgr(uint8_t* p, int32_t luma, int32_t bu, int32_t gu, int32_t rv) {
    p[0] = Clamp13(luma + bu);
    p[1] = Clamp13(luma - gu);
    p[2] = Clamp13(luma + rv);
}

}  // namespace

void BuildColorTables() { (void)Tables(); }
const Rgb24Tables& Rgb24() { return Tables().rgb24; }
const Rgb565Tables& Rgb565() { return Tables().rgb565; }

namespace {

// One row pair (d1 null: a single row) from column col0, which is even.
void Rgb24Span(uint8_t* d0, uint8_t* d1, const uint8_t* y0, const uint8_t* y1, const uint8_t* ur,
               const uint8_t* vr, int col0, int w) {
    const Rgb24Tables& t = Tables().rgb24;
    for (int col = col0; col < w; col += 2) {
        int c = col / 2;
        int32_t gu = t.greenFromU[ur[c]] + t.greenFromV[vr[c]];
        int32_t bu = t.blueFromU[ur[c]];
        int32_t rv = t.redFromV[vr[c]];
        bool two = col + 1 < w;
        PutBgr(d0 + 3 * col, t.luma[y0[col]], bu, gu, rv);
        if (two) PutBgr(d0 + 3 * col + 3, t.luma[y0[col + 1]], bu, gu, rv);
        if (d1) {
            PutBgr(d1 + 3 * col, t.luma[y1[col]], bu, gu, rv);
            if (two) PutBgr(d1 + 3 * col + 3, t.luma[y1[col + 1]], bu, gu, rv);
        }
    }
}

// One row pair (d1 null: a single row) from column col0, which is even.
void Rgb565Span(uint16_t* d0, uint16_t* d1, const uint8_t* y0, const uint8_t* y1, const uint8_t* ur,
                const uint8_t* vr, int col0, int w) {
    const Rgb565Tables& t = Tables().rgb565;
    const int32_t* rp = t.redPack;
    const int32_t* gp = t.greenPack;
    const int32_t* bp = t.bluePack;
    for (int col = col0; col < w; col += 2) {
        // Each block's chroma moves the three packing tables once; its
        // luma samples then index them directly.
        int c = col >> 1;
        const int32_t* R = rp + t.redFromV[vr[c]];
        const int32_t* G = gp + t.greenFromU[ur[c]] + t.greenFromV[vr[c]];
        const int32_t* B = bp + t.blueFromU[ur[c]];
        bool two = col + 1 < w;
        int l = y0[col];
        d0[col] = uint16_t(R[l] | G[l] | B[l]);
        if (two) {
            l = y0[col + 1];
            d0[col + 1] = uint16_t(R[l] | G[l] | B[l]);
        }
        if (d1) {
            l = y1[col];
            d1[col] = uint16_t(R[l] | G[l] | B[l]);
            if (two) {
                l = y1[col + 1];
                d1[col + 1] = uint16_t(R[l] | G[l] | B[l]);
            }
        }
    }
}

bool ProcessorHasSse2() {
    unsigned eax, ebx, ecx, edx;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
    return (edx & bit_SSE2) != 0;
}

// Read once; a conversion before this is set (during start-up) takes the
// portable path, which gives the same pixels.
const bool kUseSse2 = ProcessorHasSse2();

// Rows top to bottom as [first row's pointer, step between rows].
struct RowOrder {
    uint8_t* first;
    int step;
};

RowOrder Rgb24Rows(uint8_t* dst, int dstStride, int h, bool bottomFirst) {
    if (!bottomFirst) return {dst, dstStride};
    return {dst + (h - 1) * dstStride, -dstStride};
}

// Converts what the fast kernel left: each row pair from column doneCols on,
// and a last odd row whole.
void Rgb24Rest(const RowOrder& rows, const uint8_t* y, const uint8_t* u, const uint8_t* v, int yStride,
               int uvStride, int w, int h, int doneCols) {
    for (int row = 0; row < h; row += 2) {
        bool pair = row + 1 < h;
        const uint8_t* y0 = y + row * yStride;
        uint8_t* d0 = rows.first + row * rows.step;
        Rgb24Span(d0, pair ? d0 + rows.step : nullptr, y0, y0 + yStride, u + (row / 2) * uvStride,
                  v + (row / 2) * uvStride, pair ? doneCols : 0, w);
    }
}

void Rgb565Rest(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v, int yStride,
                int uvStride, int w, int h, int doneCols) {
    for (int row = 0; row < h; row += 2) {
        bool pair = row + 1 < h;
        const uint8_t* y0 = y + row * yStride;
        uint16_t* d0 = reinterpret_cast<uint16_t*>(dst + row * dstPitch);
        uint16_t* d1 = pair ? reinterpret_cast<uint16_t*>(dst + (row + 1) * dstPitch) : nullptr;
        Rgb565Span(d0, d1, y0, y0 + yStride, u + (row / 2) * uvStride, v + (row / 2) * uvStride,
                   pair ? doneCols : 0, w);
    }
}

}  // namespace

bool HasSimdConversion() { return kUseSse2; }

void YuvToRgb24Portable(uint8_t* dst, int dstStride, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                        int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h == 0) return;
    bool bottomFirst = h < 0;
    if (bottomFirst) h = -h;
    Rgb24Rest(Rgb24Rows(dst, dstStride, h, bottomFirst), y, u, v, yStride, uvStride, w, h, 0);
}

void YuvToRgb24(uint8_t* dst, int dstStride, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h == 0) return;
    bool bottomFirst = h < 0;
    if (bottomFirst) h = -h;
    RowOrder rows = Rgb24Rows(dst, dstStride, h, bottomFirst);
    int body16 = kUseSse2 ? w / 16 : 0;
    if (body16 && h >= 2) sse2::Rgb24Body(rows.first, rows.step, y, u, v, yStride, uvStride, body16, h / 2);
    else body16 = 0;
    Rgb24Rest(rows, y, u, v, yStride, uvStride, w, h, 16 * body16);
}

void YuvToRgb565Portable(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                         int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h <= 0) return;
    Rgb565Rest(dst, dstPitch, y, u, v, yStride, uvStride, w, h, 0);
}

void YuvToRgb565(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                 int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h <= 0) return;
    int body16 = kUseSse2 ? w / 16 : 0;
    if (body16 && h >= 2) sse2::Rgb565Body(dst, dstPitch, y, u, v, yStride, uvStride, body16, h / 2);
    else body16 = 0;
    Rgb565Rest(dst, dstPitch, y, u, v, yStride, uvStride, w, h, 16 * body16);
}

void YuvToRgb565(uint16_t* dst, const uint8_t* y, const uint8_t* u, const uint8_t* v, int yStride,
                 int uvStride, int w, int h) {
    YuvToRgb565(reinterpret_cast<uint8_t*>(dst), 2 * w, y, u, v, yStride, uvStride, w, h);
}

}  // namespace color
