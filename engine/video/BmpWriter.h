// 24-bit BMP files: the headers and the writing of a snapshot.
#pragma once

#include <stdint.h>

namespace bmp {

const int kHeaderBytes = 54;  // 14-byte file header + 40-byte information header

// Rows of a 24-bit BMP end on 4-byte boundaries.
inline uint32_t RowBytes(int w) { return (uint32_t(w) * 3 + 3) & ~3u; }
inline uint32_t PixelBytes(int w, int h) { return RowBytes(w) * uint32_t(h); }

// Fills the two headers of a w x h picture stored bottom-up.
void BuildHeaders(int w, int h, uint8_t out[kHeaderBytes]);

// Creates or truncates `path` and writes a w x h picture whose rows (each
// RowBytes(w) long, blue-green-red pixels, padding included) lie bottom row
// first in `pixels`. Gives true only when every byte reached the file.
bool WriteFile(const char* path, const uint8_t* pixels, int w, int h);

}  // namespace bmp
