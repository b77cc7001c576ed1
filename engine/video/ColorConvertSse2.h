// The SSE2 kernels behind the colour conversions. They convert the body of
// a picture: whole pairs of rows, and columns in steps of 16; the caller
// converts what is left (the last odd row, the last columns) the portable
// way. They compute the same integers as the conversion tables, so their
// pixels equal the tables' pixels bit for bit.
//
// This header is kept free of inline code on purpose: the kernels' file is
// compiled for SSE2, and nothing shared with the rest of the program may be
// compiled there.
#pragma once

#include <stdint.h>

namespace color {
namespace sse2 {

// Converts `rowPairs` pairs of rows of `blocks16` x 16 pixels to RGB565;
// destination rows are dstPitch bytes apart.
void Rgb565Body(uint8_t* dst, int dstPitch, const uint8_t* y, const uint8_t* u, const uint8_t* v,
                int yStride, int uvStride, int blocks16, int rowPairs);

// Converts `rowPairs` pairs of rows of `blocks16` x 16 pixels to blue, green,
// red bytes. Row r of the picture goes to dst + r * dstStep (dstStep may be
// negative, for rows bottom first).
void Rgb24Body(uint8_t* dst, int dstStep, const uint8_t* y, const uint8_t* u, const uint8_t* v,
               int yStride, int uvStride, int blocks16, int rowPairs);

}  // namespace sse2
}  // namespace color
