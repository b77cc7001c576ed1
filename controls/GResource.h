// An image from the program's resources of type "JPG" (BMP or JPEG data),
// decoded by GDI+ and kept with the memory it decodes from.
#pragma once

#include <windows.h>

namespace Gdiplus {
class Bitmap;
}

class CGdipBitmap {
public:
    CGdipBitmap() = default;
    virtual ~CGdipBitmap() { Empty(); }
    CGdipBitmap(const CGdipBitmap&) = delete;
    CGdipBitmap& operator=(const CGdipBitmap&) = delete;

    Gdiplus::Bitmap* bitmap = nullptr;
    // Deletes the bitmap (counted as a late release if GDI+ is already down).
    void Empty();
};

class GResource : public CGdipBitmap {
public:
    ~GResource() override;
    // true when a decodable image is held; any earlier image is let go first.
    bool Load(LPCWSTR name, HMODULE module);
    bool Load(int id, HMODULE module) { return Load(MAKEINTRESOURCEW(id), module); }

    HGLOBAL buffer = nullptr;

private:
    void Release();
};
