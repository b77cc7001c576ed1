// Reads back the code that the multi-channel test streams show: every
// picture carries its frame number and its channel as two bands of eleven
// black or white bars (see engine/CMakeLists.txt), so a snapshot tells
// which frame of which channel a player last decoded.
#pragma once

#include <stdint.h>
#include <string>
#include <vector>

struct FrameCode {
    int frame = -1;
    int channel = -1;
};

// A 24-bit picture as a BMP file holds it.
struct BmpPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rows;   // bottom row first, padded to 4 bytes
    uint32_t RowBytes() const { return (uint32_t(width) * 3 + 3) & ~3u; }
    // Blue, green, red of the pixel at (x, y), y counted from the top.
    const uint8_t* At(int x, int y) const { return &rows[size_t(height - 1 - y) * RowBytes() + size_t(x) * 3]; }
};

// False unless the file is an uncompressed bottom-up 24-bit BMP whose
// sizes agree with its headers.
bool ReadBmp(const std::string& path, BmpPicture* out);

// The frame number and the channel; false when a bar is neither clearly
// black nor clearly white (not one of the coded pictures).
bool ReadFrameCode(const BmpPicture& picture, FrameCode* code);
