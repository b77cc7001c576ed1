// COwnerMenuMemDC: a double buffer over one rectangle of a device context.
// Drawing goes into a memory bitmap in the target's own coordinates; the
// destructor copies the rectangle onto the target. On a printer (or when no
// memory bitmap can be had) the drawing goes straight to the target.
#pragma once

#include "Gdi.h"

class COwnerMenuMemDC : public CDC {
public:
    COwnerMenuMemDC(CDC* target, const RECT* rect);
    ~COwnerMenuMemDC() override;
    COwnerMenuMemDC(const COwnerMenuMemDC&) = delete;
    COwnerMenuMemDC& operator=(const COwnerMenuMemDC&) = delete;

    CBitmap bitmap;
    HGDIOBJ oldBitmap = nullptr;
    CDC* target;
    RECT rect;
    bool isMemory = false;
};
