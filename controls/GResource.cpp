#include "GResource.h"

#include "GdiplusInclude.h"
#include "GdiplusSession.h"

#include <cstring>

void CGdipBitmap::Empty()
{
    if (!bitmap)
        return;
    if (CGdiplusSession::Running())
        delete bitmap;
    else
        CGdiplusSession::NoteLateRelease();  // GDI+ is gone: the object is lost, not freed twice
    bitmap = nullptr;
}

GResource::~GResource()
{
    Release();
}

void GResource::Release()
{
    Empty();
    if (buffer) {
        ::GlobalUnlock(buffer);
        ::GlobalFree(buffer);
        buffer = nullptr;
    }
}

bool GResource::Load(LPCWSTR name, HMODULE module)
{
    Release();
    HRSRC res = ::FindResourceW(module, name, L"JPG");
    if (!res)
        return false;
    DWORD size = ::SizeofResource(module, res);
    if (size == 0)
        return false;
    HGLOBAL loaded = ::LoadResource(module, res);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return false;
    buffer = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!buffer)
        return false;
    void* block = ::GlobalLock(buffer);
    if (!block) {
        ::GlobalFree(buffer);
        buffer = nullptr;
        return false;
    }
    std::memcpy(block, data, size);

    // The bitmap decodes lazily from this stream, so the block stays locked
    // for the bitmap's life; the stream does not own the block.
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(buffer, FALSE, &stream)) || !stream) {
        Release();
        return false;
    }
    bitmap = Gdiplus::Bitmap::FromStream(stream, FALSE);
    stream->Release();
    if (!bitmap || bitmap->GetLastStatus() != Gdiplus::Ok) {
        Release();
        return false;
    }
    return true;
}
