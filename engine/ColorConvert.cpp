#include "ColorConvert.h"

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

inline uint8_t Clamp13(int32_t sum) {
    if (sum < 0) return 0;
    sum >>= 13;
    return sum > 255 ? 255 : uint8_t(sum);
}

inline void PutBgr(uint8_t* p, int32_t luma, int32_t bu, int32_t gu, int32_t rv) {
    p[0] = Clamp13(luma + bu);
    p[1] = Clamp13(luma - gu);
    p[2] = Clamp13(luma + rv);
}

}  // namespace

void BuildColorTables() { (void)Tables(); }
const Rgb24Tables& Rgb24() { return Tables().rgb24; }
const Rgb565Tables& Rgb565() { return Tables().rgb565; }

void YuvToRgb24(uint8_t* dst, int dstStride, const uint8_t* y, const uint8_t* u,
                const uint8_t* v, int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h == 0) return;
    bool bottomFirst = h < 0;
    if (bottomFirst) h = -h;
    const Rgb24Tables& t = Tables().rgb24;
    for (int row = 0; row < h; row += 2) {
        bool pair = row + 1 < h;
        const uint8_t* y0 = y + row * yStride;
        const uint8_t* y1 = y0 + yStride;
        const uint8_t* ur = u + (row / 2) * uvStride;
        const uint8_t* vr = v + (row / 2) * uvStride;
        uint8_t* d0 = dst + (bottomFirst ? h - 1 - row : row) * dstStride;
        uint8_t* d1 = bottomFirst ? d0 - dstStride : d0 + dstStride;
        for (int col = 0; col < w; col += 2) {
            int c = col / 2;
            int32_t gu = t.greenFromU[ur[c]] + t.greenFromV[vr[c]];
            int32_t bu = t.blueFromU[ur[c]];
            int32_t rv = t.redFromV[vr[c]];
            bool two = col + 1 < w;
            PutBgr(d0 + 3 * col, t.luma[y0[col]], bu, gu, rv);
            if (two) PutBgr(d0 + 3 * col + 3, t.luma[y0[col + 1]], bu, gu, rv);
            if (pair) {
                PutBgr(d1 + 3 * col, t.luma[y1[col]], bu, gu, rv);
                if (two) PutBgr(d1 + 3 * col + 3, t.luma[y1[col + 1]], bu, gu, rv);
            }
        }
    }
}

void YuvToRgb565(uint16_t* dst, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                 int yStride, int uvStride, int w, int h) {
    if (!dst || !y || !u || !v || w <= 0 || h <= 0) return;
    const Rgb565Tables& t = Tables().rgb565;
    const int32_t* rp = t.redPack;
    const int32_t* gp = t.greenPack;
    const int32_t* bp = t.bluePack;
    const int evenW = w & ~1;
    for (int row = 0; row < h; row += 2) {
        bool pair = row + 1 < h;
        const uint8_t* y0 = y + row * yStride;
        const uint8_t* y1 = y0 + yStride;
        const uint8_t* ur = u + (row / 2) * uvStride;
        const uint8_t* vr = v + (row / 2) * uvStride;
        uint16_t* d0 = dst + row * w;
        uint16_t* d1 = d0 + w;
        int col = 0;
        for (; col < evenW; col += 2) {
            int c = col >> 1;
            int32_t r = t.redFromV[vr[c]];
            int32_t g = t.greenFromU[ur[c]] + t.greenFromV[vr[c]];
            int32_t b = t.blueFromU[ur[c]];
            int32_t l;
            l = y0[col];     d0[col] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
            l = y0[col + 1]; d0[col + 1] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
            if (pair) {
                l = y1[col];     d1[col] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
                l = y1[col + 1]; d1[col + 1] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
            }
        }
        if (col < w) {
            int c = col >> 1;
            int32_t r = t.redFromV[vr[c]];
            int32_t g = t.greenFromU[ur[c]] + t.greenFromV[vr[c]];
            int32_t b = t.blueFromU[ur[c]];
            int32_t l = y0[col];
            d0[col] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
            if (pair) {
                l = y1[col];
                d1[col] = uint16_t(rp[l + r] | gp[l + g] | bp[l + b]);
            }
        }
    }
}

}  // namespace color
