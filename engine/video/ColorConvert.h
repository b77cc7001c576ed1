// Colour conversion of 4:2:0 pictures: to 24-bit BGR (GDI drawing and BMP
// snapshots) and to RGB565 (the DirectDraw picture surface). Both are
// table-driven; the tables are built once per process and read-only after.
#pragma once

#include <stdint.h>

namespace color {

struct Rgb24Tables {
    int32_t luma[256];        // (i - 16) * 9535, 13-bit fixed point
    int32_t redFromV[256];    // (i - 128) * 13074
    int32_t greenFromU[256];  // (i - 128) * 3203
    int32_t greenFromV[256];  // (i - 128) * 6660
    int32_t blueFromU[256];   // (i - 128) * 16531
};

struct Rgb565Tables {
    int32_t luma[256];        // identity: luma is taken as stored
    int32_t redFromV[256];
    int32_t greenFromV[256];
    int32_t greenFromU[256];
    int32_t blueFromU[256];
    // Packing tables indexed -256..511 through the pointers below; the 256
    // entries on each side repeat entries 0 and 255, so sums need no clamp.
    int32_t redPackStore[768];
    int32_t greenPackStore[768];
    int32_t bluePackStore[768];
    const int32_t* redPack;   // = redPackStore + 256
    const int32_t* greenPack;
    const int32_t* bluePack;
};

// Builds the tables if they are not built yet; safe from any thread. The
// library calls it when it is loaded, so drawing never pays for it.
void BuildColorTables();
const Rgb24Tables& Rgb24();
const Rgb565Tables& Rgb565();

// Converts w x h pixels into blue, green, red bytes; destination rows are
// dstStride bytes apart (at least 3 * w). A negative h writes the rows
// bottom first. Each U/V sample serves a 2 x 2 block; an odd last column
// or row uses the chroma of its block, so the chroma planes are read only
// within (w + 1) / 2 by (h + 1) / 2 samples.
void YuvToRgb24(uint8_t* dst, int dstStride, const uint8_t* y, const uint8_t* u,
                const uint8_t* v, int yStride, int uvStride, int w, int h);

// Converts w x h pixels into rows of w RGB565 pixels, dstPitch bytes apart
// (at least 2 * w): straight into a locked surface, for instance.
void YuvToRgb565(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                 int yStride, int uvStride, int w, int h);
// The same into rows of w pixels, 2 * w bytes apart.
void YuvToRgb565(uint16_t* dst, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                 int yStride, int uvStride, int w, int h);

// The conversions above use SSE2 where the processor has it; these are the
// table look-ups alone, which the fast path must match pixel for pixel.
bool HasSimdConversion();
void YuvToRgb24Portable(uint8_t* dst, int dstStride, const uint8_t* y, const uint8_t* u,
                        const uint8_t* v, int yStride, int uvStride, int w, int h);
void YuvToRgb565Portable(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u,
                         const uint8_t* v, int yStride, int uvStride, int w, int h);

// Row size of a 24-bit DIB or BMP of width w: 3 * w rounded up to 4 bytes.
inline int Rgb24RowBytes(int w) { return (3 * w + 3) & ~3; }

}  // namespace color
