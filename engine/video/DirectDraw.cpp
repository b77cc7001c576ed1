#include "DirectDraw.h"

#include "ColorConvert.h"

#include <new>
#include <string.h>

void CopyOsdText(char (&dest)[kOsdMaxChars + 1], const char* text) {
    size_t n = 0;
    if (text)
        while (n < size_t(kOsdMaxChars) && text[n]) ++n;
    if (n) memcpy(dest, text, n);
    dest[n] = 0;
}

POINT OsdPosition(int corner, int w, int h, int cx, int cy) {
    const int m = 5;
    switch (corner) {
        case 1: return {w - cx - m, m};
        case 2: return {m, h - cy - m};
        case 3: return {w - cx - m, h - cy - m};
        default: return {m, m};
    }
}

namespace {

template <class T> void ReleaseCom(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

}  // namespace

CDirectDraw::CDirectDraw() { color::BuildColorTables(); }

CDirectDraw::~CDirectDraw() {
    ReleaseSurfaces();
    FreeOsdCanvas();
    delete[] buffer_;
}

void CDirectDraw::ReleaseSurfaces() {
    ReleaseCom(picture_);
    ReleaseCom(primary_);
    ReleaseCom(osd_);
    if (ddraw_) {
        ddraw_->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
        ReleaseCom(ddraw_);
    }
}

int CDirectDraw::Create(int w, int h) {
    setupResult_ = SetupDirectDraw(w, h);
    if (setupResult_ != 0) {
        ReleaseSurfaces();
        mode_ = kModeGdi;
    } else {
        mode_ = kModeDirectDraw;
    }
    width_ = w;
    height_ = h;
    FreeOsdCanvas();  // made again at the new size when text is shown
    if (window_) GetWindowRect(window_, &windowRect_);
    delete[] buffer_;
    buffer_ = nullptr;
    if (w > 0 && h > 0) buffer_ = new (std::nothrow) uint8_t[size_t(w) * size_t(h) * 4];
    created_ = 1;
    return 0;
}

int CDirectDraw::SetupDirectDraw(int w, int h) {
    ReleaseSurfaces();
    // Without a window there is nothing to blit into.
    if (!window_ || w <= 0 || h <= 0) return -1;
    if (Fails(2) || FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&ddraw_), IID_IDirectDraw7,
                                              nullptr)) || !ddraw_)
        return -1;
    if (Fails(3) || FAILED(ddraw_->SetCooperativeLevel(window_, DDSCL_NORMAL))) return -2;

    DDCAPS caps;
    memset(&caps, 0, sizeof caps);
    caps.dwSize = sizeof caps;
    if (Fails(4) || FAILED(ddraw_->GetCaps(&caps, nullptr))) return -20;
    if (!(caps.dwCaps & (DDCAPS_BLTFOURCC | DDCAPS_BLT))) return -21;

    DDSURFACEDESC2 sd;
    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS;
    sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (Fails(5) || FAILED(ddraw_->CreateSurface(&sd, &primary_, nullptr))) return -3;

    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    sd.dwWidth = DWORD(w);
    sd.dwHeight = DWORD(h);
    sd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    sd.ddpfPixelFormat.dwSize = sizeof sd.ddpfPixelFormat;
    sd.ddpfPixelFormat.dwFlags = DDPF_RGB;
    sd.ddpfPixelFormat.dwRGBBitCount = 16;
    sd.ddpfPixelFormat.dwRBitMask = 0xF800;
    sd.ddpfPixelFormat.dwGBitMask = 0x07E0;
    sd.ddpfPixelFormat.dwBBitMask = 0x001F;
    if (Fails(6) || FAILED(ddraw_->CreateSurface(&sd, &picture_, nullptr))) return -4;

    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    sd.dwWidth = DWORD(w);
    sd.dwHeight = DWORD(h);
    sd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    if (Fails(7) || FAILED(ddraw_->CreateSurface(&sd, &osd_, nullptr))) return -2;

    IDirectDrawClipper* clipper = nullptr;
    if (Fails(8) || FAILED(ddraw_->CreateClipper(0, &clipper, nullptr))) return -2;
    HRESULT hr = clipper->SetHWnd(0, window_);
    if (FAILED(hr)) {
        clipper->Release();
        return -3;
    }
    hr = primary_->SetClipper(clipper);
    clipper->Release();  // the primary keeps its own reference
    if (FAILED(hr)) return -4;

    DDBLTFX fx;
    memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
    if (Fails(9)) return -2;
    picture_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    osd_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
    return 0;
}

void CDirectDraw::SetOsd(const char* text, int corner) {
    CAutoLock lock(osdLock_);
    CopyOsdText(osdText_, text);
    osdCorner_ = corner;
}

int CDirectDraw::DrawYuv(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v, int uvStride,
                         int drawMode, uint32_t timestampLow, uint32_t timestampHigh) {
    (void)drawMode;
    (void)timestampLow;
    (void)timestampHigh;
    if (!window_ || !created_) return -1;
    if (!buffer_ || !y || !u || !v) return -1;
    return mode_ == kModeDirectDraw ? DrawDirectDraw(y, yStride, u, v, uvStride)
                                    : DrawGdi(y, yStride, u, v, uvStride);
}

void CDirectDraw::DrawOsd(HDC dc, int w, int h) {
    if (!osdText_[0]) return;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor = SetTextColor(dc, RGB(255, 255, 255));
    int len = int(strlen(osdText_));
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, osdText_, len, &size);
    POINT at = OsdPosition(osdCorner_, w, h, size.cx, size.cy);
    TextOutA(dc, at.x, at.y, osdText_, len);
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

int CDirectDraw::DrawDirectDraw(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v,
                                int uvStride) {
    if (!primary_ || !picture_) return -9;
    const int w = width_, h = height_;
    DDSURFACEDESC2 sd;
    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    if (FAILED(picture_->Lock(nullptr, &sd, DDLOCK_WAIT, nullptr))) {
        picture_->Restore();
        return -3;
    }
    // Straight into the surface at its pitch: no staging copy.
    if (sd.lpSurface && sd.lPitch >= 2 * w)
        color::YuvToRgb565(static_cast<uint8_t*>(sd.lpSurface), int(sd.lPitch), y, u, v, yStride, uvStride, w, h);
    picture_->Unlock(nullptr);

    GetWindowRect(window_, &windowRect_);
    {
        CAutoLock lock(osdLock_);
        if (osdText_[0]) {
            HDC dc = nullptr;
            if (SUCCEEDED(picture_->GetDC(&dc)) && dc) {
                DrawOsd(dc, w, h);
                picture_->ReleaseDC(dc);
            }
        }
    }
    // A minimised or zero-sized window has nowhere to show the picture.
    if (windowRect_.right <= windowRect_.left || windowRect_.bottom <= windowRect_.top || IsIconic(window_))
        return 0;
    HRESULT hr = primary_->Blt(&windowRect_, picture_, nullptr, DDBLT_WAIT, nullptr);
    if (hr == DDERR_SURFACELOST) {
        primary_->Restore();
        picture_->Restore();
    }
    return 0;
}

bool CDirectDraw::EnsureOsdCanvas() {
    if (osdDc_) return true;
    const int w = width_, h = height_;
    BITMAPINFO bi;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;   // rows bottom first, as the conversion writes them
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    osdDc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    if (osdDc_) osdBitmap_ = CreateDIBSection(osdDc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!osdDc_ || !osdBitmap_ || !bits) {
        FreeOsdCanvas();
        return false;
    }
    osdBits_ = static_cast<uint8_t*>(bits);
    osdOldBitmap_ = SelectObject(osdDc_, osdBitmap_);
    return true;
}

void CDirectDraw::FreeOsdCanvas() {
    if (osdDc_ && osdOldBitmap_) SelectObject(osdDc_, osdOldBitmap_);
    if (osdBitmap_) DeleteObject(osdBitmap_);
    if (osdDc_) DeleteDC(osdDc_);
    osdDc_ = nullptr;
    osdBitmap_ = nullptr;
    osdOldBitmap_ = nullptr;
    osdBits_ = nullptr;
}

int CDirectDraw::DrawGdi(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v, int uvStride) {
    const int w = width_, h = height_;
    // DIB rows end on 4-byte boundaries; the buffer's 4 bytes a pixel leave room.
    const int stride = color::Rgb24RowBytes(w);
    BITMAPINFO bi;
    memset(&bi, 0, sizeof bi);
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biSizeImage = DWORD(stride) * DWORD(h);

    const uint8_t* pixels = buffer_;
    {
        CAutoLock lock(osdLock_);
        if (osdText_[0] && EnsureOsdCanvas()) {
            // The text goes into the picture at picture size, then the whole
            // picture is stretched, as on the DirectDraw path. The picture is
            // converted straight into the canvas the text is drawn on.
            color::YuvToRgb24(osdBits_, stride, y, u, v, yStride, uvStride, w, -h);
            DrawOsd(osdDc_, w, h);
            GdiFlush();
            pixels = osdBits_;
        } else {
            color::YuvToRgb24(buffer_, stride, y, u, v, yStride, uvStride, w, -h);
        }
    }

    GetWindowRect(window_, &windowRect_);
    int ww = windowRect_.right - windowRect_.left - 2;
    int wh = windowRect_.bottom - windowRect_.top - 2;
    if (ww <= 0 || wh <= 0 || IsIconic(window_)) return 0;
    // GetDC and not BeginPaint: this runs on the play thread, and BeginPaint
    // would wait on the window's own thread, which may be waiting for us.
    HDC dc = GetDC(window_);
    if (!dc) return 0;
    SetStretchBltMode(dc, HALFTONE);
    StretchDIBits(dc, 0, 0, ww, wh, 0, 0, w, h, pixels, &bi, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(window_, dc);
    return 0;
}
