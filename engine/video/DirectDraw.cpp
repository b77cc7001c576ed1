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
    // The device's object and primary surface are shared: they stay.
    ReleaseCom(picture_);
    ReleaseCom(osd_);
    ReleaseCom(clipper_);
}

int CDirectDraw::Create(int w, int h) {
    ReleaseSurfaces();
    mode_ = kModeGdi;
    // Without a window there is nothing to blit into.
    setupResult_ = window_ && w > 0 && h > 0 && device_ ? int(kSetupPending) : -1;
    if (setupResult_ == kSetupPending && !device_->Ready() && !Fails(2)) device_->MakeSoon(kDeviceDelayMs);
    shown_ = false;
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
    if (!window_ || w <= 0 || h <= 0 || !device_) return -1;
    // The device (object, cooperative level, its capabilities and the
    // primary surface) is made once for every display: it is there or has
    // failed for good when this runs.
    IDirectDraw7* ddraw = Fails(2) ? nullptr : device_->Ready();
    if (!ddraw) return -1;

    DDSURFACEDESC2 sd;
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
    if (Fails(6) || FAILED(ddraw->CreateSurface(&sd, &picture_, nullptr))) return -4;

    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    sd.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    sd.dwWidth = DWORD(w);
    sd.dwHeight = DWORD(h);
    sd.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY;
    if (Fails(7) || FAILED(ddraw->CreateSurface(&sd, &osd_, nullptr))) return -2;

    // The primary is shared: each blit sets it to this display's clipper.
    if (Fails(8) || FAILED(ddraw->CreateClipper(0, &clipper_, nullptr))) return -2;
    if (FAILED(clipper_->SetHWnd(0, window_))) return -3;

    DDBLTFX fx;
    memset(&fx, 0, sizeof fx);
    fx.dwSize = sizeof fx;
    fx.dwFillColor = 0;
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
    // A hidden pane (another layout's, or the page under full screen) shows
    // nothing: neither converting nor drawing, nor setting up for it. Its
    // picture is drawn again once it is shown (the channel redraws the
    // picture it keeps every moment, and the next one comes anyway).
    if (!IsWindowVisible(window_)) return 0;
    // DirectDraw is set up before a picture once the device is there (or
    // the pictures stay with GDI when it cannot be), but never before the
    // first picture after Create: that one goes through GDI at once. The
    // set-up's calls wait for those of every other display, and the first
    // pictures of channels started together would wait for one another.
    if (shown_ && setupResult_ == kSetupPending && (device_->Ready() || device_->Failed() || Fails(2))) {
        setupResult_ = SetupDirectDraw(width_, height_);
        if (setupResult_ == 0)
            mode_ = kModeDirectDraw;
        else
            ReleaseSurfaces();
    }
    shown_ = true;
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
    if (!picture_ || !clipper_) return -9;
    const int w = width_, h = height_;
    DDSURFACEDESC2 sd;
    memset(&sd, 0, sizeof sd);
    sd.dwSize = sizeof sd;
    // The whole picture is written anew: the surface's old contents need not
    // be kept, so the lock need not wait for the blits still reading them
    // (the device's blits for every display go through one queue).
    if (FAILED(picture_->Lock(nullptr, &sd, DDLOCK_WAIT | DDLOCK_WRITEONLY | DDLOCK_DISCARDCONTENTS, nullptr))) {
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
    if (device_->Present(clipper_, &windowRect_, picture_) == DDERR_SURFACELOST) picture_->Restore();
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
    // COLORONCOLOR, not HALFTONE: where GDI is done in software (Wine)
    // HALFTONE filters every pixel and took a quarter of a core for four
    // channels in four panes, under the lock that serialises every drawing
    // into the main window, the user interface's included.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, ww, wh, 0, 0, w, h, pixels, &bi, DIB_RGB_COLORS, SRCCOPY);
    ReleaseDC(window_, dc);
    return 0;
}
