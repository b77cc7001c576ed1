#include "BmpWriter.h"

#include <stdio.h>
#include <string.h>

namespace bmp {

namespace {

void Put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void Put32(uint8_t* p, uint32_t v) {
    Put16(p, v & 0xFFFF);
    Put16(p + 2, v >> 16);
}

}  // namespace

void BuildHeaders(int w, int h, uint8_t out[kHeaderBytes]) {
    memset(out, 0, kHeaderBytes);
    uint32_t pixels = PixelBytes(w, h);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out + 2, kHeaderBytes + pixels);
    Put32(out + 10, kHeaderBytes);
    Put32(out + 14, 40);
    Put32(out + 18, uint32_t(w));
    Put32(out + 22, uint32_t(h));  // positive: rows stored bottom-up
    Put16(out + 26, 1);
    Put16(out + 28, 24);
    Put32(out + 30, 0);            // no compression
    Put32(out + 34, pixels);
}

bool WriteFile(const char* path, const uint8_t* pixels, int w, int h) {
    if (!path || !pixels || w <= 0 || h <= 0) return false;
    FILE* f = fopen(path, "wb");
    if (!f) return false;
    uint8_t header[kHeaderBytes];
    BuildHeaders(w, h, header);
    size_t size = PixelBytes(w, h);
    bool ok = fwrite(header, 1, sizeof header, f) == sizeof header &&
              fwrite(pixels, 1, size, f) == size;
    // A full disk may only show when the buffered bytes are flushed.
    if (fclose(f) != 0) ok = false;
    return ok;
}

}  // namespace bmp
