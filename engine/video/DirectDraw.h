// Shows one channel's pictures in its window: DirectDraw 7 with an RGB565
// picture surface blitted through a clipper, or GDI when DirectDraw cannot
// be set up. The DirectDraw object and the primary surface are the
// process's one display device, shared by every channel (made on a worker
// of its own a moment after a display first needs it). A display shows its
// first picture through GDI, sets up its own DirectDraw surfaces before a
// later one and stays with GDI until the device is there: a display's first
// picture waits neither for the device nor for the surfaces, whose making
// the device serves one display at a time. Also carries one line of
// on-screen text in a corner.
#pragma once

#include "DisplayDevice.h"
#include "MutexLock.h"

#include <windows.h>
#include <ddraw.h>
#include <stdint.h>

// The OSD text holds at most this many characters.
const int kOsdMaxChars = 63;

// Copies at most kOsdMaxChars characters of `text` (null: empty) into `dest`.
void CopyOsdText(char (&dest)[kOsdMaxChars + 1], const char* text);
// Top-left of a cx x cy text on a w x h picture in `corner` (0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right, else top-left), 5 px inside.
POINT OsdPosition(int corner, int w, int h, int cx, int cy);

class CDirectDraw {
public:
    enum { kModeDirectDraw = 2, kModeGdi = 3 };
    // The set-up result until DirectDraw is set up: before a picture after
    // the first, once the display device is there.
    enum { kSetupPending = 1 };
    // How long after a display first asks for the device it is made: the
    // first pictures of channels started together come first. (Under Wine
    // making it takes a few hundred milliseconds of several threads, and
    // the first pictures drawn meanwhile took twice as long.)
    static constexpr DWORD kDeviceDelayMs = 500;

    CDirectDraw();
    virtual ~CDirectDraw();
    CDirectDraw(const CDirectDraw&) = delete;
    CDirectDraw& operator=(const CDirectDraw&) = delete;

    void SetWindow(HWND window) { window_ = window; }
    // The device whose object and primary surface this display uses; the
    // process's shared one unless a test gives another.
    void SetDevice(DisplayDevice* device) { device_ = device; }
    // Prepares for w x h pictures: the first through GDI; DirectDraw is set
    // up before a later one once the display device is there, and on any
    // failure the pictures stay with GDI. Gives 0.
    int Create(int w, int h);
    void ReleaseSurfaces();
    int DrawYuv(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v, int uvStride,
                int drawMode, uint32_t timestampLow, uint32_t timestampHigh);
    void SetOsd(const char* text, int corner);

    int Mode() const { return mode_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Created() const { return created_ != 0; }
    // Result of the last DirectDraw set-up: 0, kSetupPending, or the
    // failing step's code.
    int SetupResult() const { return setupResult_; }
    // Makes set-up step `step` fail, as on a system that lacks it: 2 no
    // DirectDraw object, 6 the picture surface, 7 the OSD surface, 8 the
    // clipper; 0 fails none. For showing the GDI path on any machine.
    void FailSetupStep(int step) { failStep_ = step; }

private:
    int SetupDirectDraw(int w, int h);
    int DrawDirectDraw(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v, int uvStride);
    int DrawGdi(const uint8_t* y, int yStride, const uint8_t* u, const uint8_t* v, int uvStride);
    void DrawOsd(HDC dc, int w, int h);
    bool EnsureOsdCanvas();
    void FreeOsdCanvas();
    bool Fails(int step) const { return failStep_ == step; }

    DisplayDevice* device_ = &DisplayDevice::Shared();
    IDirectDrawSurface7* picture_ = nullptr;
    IDirectDrawSurface7* osd_ = nullptr;
    IDirectDrawClipper* clipper_ = nullptr;   // bound to the window
    RECT windowRect_ = {0, 0, 0, 0};
    int width_ = 0;
    int height_ = 0;
    HWND window_ = nullptr;
    int created_ = 0;
    int mode_ = kModeGdi;
    uint8_t* buffer_ = nullptr;      // conversion buffer, width x height x 4 bytes
    int setupResult_ = 0;
    bool shown_ = false;             // a picture has been drawn since Create
    int failStep_ = 0;
    // Guards the OSD text and corner between the caller's thread and drawing.
    CMutexLock osdLock_;
    char osdText_[kOsdMaxChars + 1] = {};
    int osdCorner_ = 0;
    // GDI mode with OSD text: a DIB section at picture size that the picture
    // is converted into and the text drawn onto, kept from one picture to
    // the next (made on the first such picture after Create). Used by the
    // drawing thread only.
    HDC osdDc_ = nullptr;
    HBITMAP osdBitmap_ = nullptr;
    HGDIOBJ osdOldBitmap_ = nullptr;
    uint8_t* osdBits_ = nullptr;
};
