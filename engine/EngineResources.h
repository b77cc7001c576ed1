// The two bitmap fonts the library carries as "BIN" resources.
#pragma once

#include <windows.h>
#include <stdint.h>

constexpr int kWideFontId = 101;     // 16x16, 32 bytes a glyph
constexpr int kNarrowFontId = 102;   // 8x16, 16 bytes a glyph, code points 0-255
constexpr uint32_t kWideFontBytes = 267616;
constexpr uint32_t kNarrowFontBytes = 4096;

struct EngineFonts {
    const void* narrow = nullptr;
    uint32_t narrowSize = 0;
    const void* wide = nullptr;
    uint32_t wideSize = 0;
};

// Found when the library was loaded; null pointers when missing.
const EngineFonts& LoadedFonts();
void LocateFonts(HMODULE module, EngineFonts* fonts);
