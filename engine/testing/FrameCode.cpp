#include "FrameCode.h"

#include <stdio.h>
#include <string.h>

namespace {

const int kCodeWidth = 176;
const int kCodeHeight = 144;
const int kBarWidth = 16;
const int kBars = 11;
const int kFrameRow = 56;     // middle of the frame-number band
const int kChannelRow = 92;   // middle of the channel band

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// One band's bars, left bar the most significant.
bool ReadBand(const BmpPicture& picture, int row, int* value) {
    int v = 0;
    for (int bar = 0; bar < kBars; ++bar) {
        const uint8_t* px = picture.At(bar * kBarWidth + kBarWidth / 2, row);
        int level = (px[0] + px[1] + px[2]) / 3;
        if (level > 64 && level < 192) return false;
        v = v << 1 | (level >= 192 ? 1 : 0);
    }
    *value = v;
    return true;
}

}  // namespace

bool ReadBmp(const std::string& path, BmpPicture* out) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    fclose(f);
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    uint32_t fileSize = Le32(&bytes[2]);
    uint32_t offset = Le32(&bytes[10]);
    int32_t width = int32_t(Le32(&bytes[18]));
    int32_t height = int32_t(Le32(&bytes[22]));
    uint16_t bits = Le16(&bytes[28]);
    uint32_t compression = Le32(&bytes[30]);
    if (bits != 24 || compression != 0 || width <= 0 || height <= 0) return false;
    BmpPicture p;
    p.width = width;
    p.height = height;
    size_t pixels = size_t(p.RowBytes()) * size_t(height);
    if (fileSize != bytes.size() || offset + pixels != bytes.size()) return false;
    p.rows.assign(bytes.begin() + offset, bytes.end());
    *out = p;
    return true;
}

bool ReadFrameCode(const BmpPicture& picture, FrameCode* code) {
    if (picture.width != kCodeWidth || picture.height != kCodeHeight) return false;
    FrameCode c;
    if (!ReadBand(picture, kFrameRow, &c.frame) || !ReadBand(picture, kChannelRow, &c.channel)) return false;
    *code = c;
    return true;
}
