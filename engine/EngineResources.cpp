#include "EngineResources.h"

static const void* FindBinResource(HMODULE module, int id, uint32_t* size) {
    *size = 0;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "BIN");
    if (!found) return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return nullptr;
    *size = SizeofResource(module, found);
    return LockResource(loaded);
}

void LocateFonts(HMODULE module, EngineFonts* fonts) {
    fonts->narrow = FindBinResource(module, kNarrowFontId, &fonts->narrowSize);
    fonts->wide = FindBinResource(module, kWideFontId, &fonts->wideSize);
}
