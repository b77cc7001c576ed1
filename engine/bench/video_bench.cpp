// Video path figures, run by scripts/bench:
// 1. colour conversion of one 704 x 576 picture, fast path and table path;
// 2. where a picture's time goes, stage by stage, including what the
//    platform itself costs (surface lock, blit, GDI stretch);
// 3. our whole path over bare decoding of the same packets;
// 4. GDI's stretch into the window at the player's pane sizes, by mode.
// "Bare decode": H264DecFrame on every packet, with the call that drains
// each picture, on one thread; the pictures are not looked at.
// "Our path": CVDECH264::Decode on every packet: the pending queue and
// pairing, the display (lock, convert into the surface, unlock, window
// rectangle, blit; or for GDI convert and StretchDIBits) and the copy into
// the kept planes under the picture lock. Message pumping is not timed.
#include "ColorConvert.h"
#include "DirectDraw.h"
#include "H264Decoder.h"
#include "VideoDecoder.h"

#include "H264Stream.h"
#include "RecordWriter.h"

#include <windows.h>
#include <ddraw.h>
#include <stdio.h>
#include <string.h>
#include <vector>

namespace {

double NowMs() {
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(freq.QuadPart);
}

void Pump() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Both runs time the packets after the second. The display shows the first
// picture after its Create through GDI at once, and sets DirectDraw up
// (when the process's display device is there) before the second: our path
// pays those once per picture size, and they are reported on their own.
const size_t kTimedFrom = 2;

double BareDecode(const std::vector<recwriter::H264Frame>& frames) {
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = H264DecCreate(&attr);
    double t0 = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i == kTimedFrom) t0 = NowMs();
        H264DecPicture pic;
        const uint8_t* data = frames[i].bytes.data();
        uint32_t len = uint32_t(frames[i].bytes.size());
        while (H264DecFrame(h, data, len, i, &pic, 0) == kH264PictureOut) {
            data = nullptr;
            len = 0;
        }
    }
    double t = NowMs() - t0;
    H264DecDestroy(h);
    return t;
}

struct FirstPictures {
    double firstMs = 0;   // Create and the first picture, through GDI
    double setupMs = 0;   // the second: DirectDraw set up, then drawn
};

double OurPath(const std::vector<recwriter::H264Frame>& frames, HWND hwnd, int failStep, int* mode,
               FirstPictures* first) {
    CDirectDraw display;
    display.SetWindow(hwnd);
    display.FailSetupStep(failStep);
    CVDECH264 decoder;
    decoder.Create(0);
    decoder.SetDisplay(&display);
    CaptureFrameInfo side = {};
    double start = NowMs(), t0 = start;
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i == 1) {
            first->firstMs = NowMs() - start;
        } else if (i == kTimedFrom) {
            t0 = NowMs();
            first->setupMs = t0 - start - first->firstMs;
        }
        uint64_t ts = i * 40000;
        decoder.Decode(frames[i].intra ? 0 : 1, frames[i].bytes.data(), uint32_t(frames[i].bytes.size()),
                       uint32_t(ts), uint32_t(ts >> 32), &side);
    }
    double t = NowMs() - t0;
    *mode = display.Mode();
    Pump();
    return t;
}

// Per-picture means of the stages around the decoder, on its own planes.
void DecodeStages(const std::vector<recwriter::H264Frame>& frames) {
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = H264DecCreate(&attr);
    std::vector<uint8_t> keptY, keptU, keptV, rgb565, rgb24;
    double decode = 0, keep = 0, to565 = 0, to24 = 0;
    int pictures = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        H264DecPicture pic;
        const uint8_t* data = frames[i].bytes.data();
        uint32_t len = uint32_t(frames[i].bytes.size());
        for (;;) {
            double t0 = NowMs();
            int r = H264DecFrame(h, data, len, i, &pic, 0);
            decode += NowMs() - t0;
            if (r != kH264PictureOut) break;
            data = nullptr;
            len = 0;
            const int w = int(pic.width), ht = int(pic.height), cw = (w + 1) / 2, ch = (ht + 1) / 2;
            keptY.resize(size_t(w * ht));
            keptU.resize(size_t(cw * ch));
            keptV.resize(size_t(cw * ch));
            rgb565.resize(size_t(2 * w * ht));
            rgb24.resize(size_t(color::Rgb24RowBytes(w) * ht));
            double a = NowMs();
            for (int row = 0; row < ht; ++row) memcpy(&keptY[size_t(row * w)], pic.y + row * pic.yStride, size_t(w));
            for (int row = 0; row < ch; ++row) {
                memcpy(&keptU[size_t(row * cw)], pic.u + row * pic.uvStride, size_t(cw));
                memcpy(&keptV[size_t(row * cw)], pic.v + row * pic.uvStride, size_t(cw));
            }
            double b = NowMs();
            color::YuvToRgb565(rgb565.data(), 2 * w, pic.y, pic.u, pic.v, int(pic.yStride), int(pic.uvStride), w, ht);
            double c = NowMs();
            color::YuvToRgb24(rgb24.data(), color::Rgb24RowBytes(w), pic.y, pic.u, pic.v, int(pic.yStride),
                              int(pic.uvStride), w, -ht);
            double d = NowMs();
            keep += b - a;
            to565 += c - b;
            to24 += d - c;
            ++pictures;
        }
    }
    H264DecDestroy(h);
    if (!pictures) return;
    printf("stages per picture (%d pictures, the decoder's own planes):\n", pictures);
    printf("  decode %.3f ms | copy into kept planes %.3f ms | to RGB565 %.3f ms | to RGB24 %.3f ms\n", decode / pictures,
           keep / pictures, to565 / pictures, to24 / pictures);
}

// The platform's own costs for one w x h picture in the bench window: the
// steps the display takes, on surfaces made here the same way.
void PlatformStages(HWND hwnd, int w, int h) {
    const int runs = 100;
    IDirectDraw7* dd = nullptr;
    IDirectDrawSurface7* primary = nullptr;
    IDirectDrawSurface7* picture = nullptr;
    DDSURFACEDESC2 sd;
    if (SUCCEEDED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&dd), IID_IDirectDraw7, nullptr)) &&
        SUCCEEDED(dd->SetCooperativeLevel(hwnd, DDSCL_NORMAL))) {
        memset(&sd, 0, sizeof sd);
        sd.dwSize = sizeof sd;
        sd.dwFlags = DDSD_CAPS;
        sd.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
        dd->CreateSurface(&sd, &primary, nullptr);
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
        dd->CreateSurface(&sd, &picture, nullptr);
        IDirectDrawClipper* clipper = nullptr;
        if (primary && SUCCEEDED(dd->CreateClipper(0, &clipper, nullptr))) {
            clipper->SetHWnd(0, hwnd);
            primary->SetClipper(clipper);
            clipper->Release();
        }
    }
    if (primary && picture) {
        double t0 = NowMs();
        for (int i = 0; i < runs; ++i) {
            memset(&sd, 0, sizeof sd);
            sd.dwSize = sizeof sd;
            if (SUCCEEDED(picture->Lock(nullptr, &sd, DDLOCK_WAIT, nullptr))) picture->Unlock(nullptr);
        }
        double t1 = NowMs();
        RECT rc;
        GetWindowRect(hwnd, &rc);
        for (int i = 0; i < runs; ++i) primary->Blt(&rc, picture, nullptr, DDBLT_WAIT, nullptr);
        double t2 = NowMs();
        printf("  DirectDraw: surface lock + unlock %.3f ms | blit %dx%d RGB565 to the window %.3f ms\n",
               (t1 - t0) / runs, w, h, (t2 - t1) / runs);
    } else {
        printf("  DirectDraw: no surfaces here\n");
    }
    if (picture) picture->Release();
    if (primary) primary->Release();
    if (dd) dd->Release();

    // GDI: the picture stretched into the window at the pane sizes of the
    // player's layouts on a 1920 x 1080 screen, 24-bit and 32-bit pictures,
    // each stretch mode, and 1:1 without stretching.
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * 4, 0x80);
    struct Target {
        int width, height;
        const char* name;
    };
    const Target targets[] = {{w - 2, h - 2, "the picture's own size"},
                              {638, 358, "a 3x3 pane"},
                              {958, 538, "a 2x2 pane"},
                              {1918, 1078, "full screen"}};
    struct Way {
        int bits, mode;
        const char* name;
    };
    const Way ways[] = {{24, HALFTONE, "24-bit HALFTONE"}, {24, COLORONCOLOR, "24-bit COLORONCOLOR"},
                        {32, COLORONCOLOR, "32-bit COLORONCOLOR"}};
    for (const Target& t : targets) {
        SetWindowPos(hwnd, nullptr, 0, 0, t.width + 2, t.height + 2, SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
        printf("  GDI into %dx%d (%s):", t.width, t.height, t.name);
        for (const Way& way : ways) {
            BITMAPINFO bi;
            memset(&bi, 0, sizeof bi);
            bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            bi.bmiHeader.biWidth = w;
            bi.bmiHeader.biHeight = h;
            bi.bmiHeader.biPlanes = 1;
            bi.bmiHeader.biBitCount = WORD(way.bits);
            bi.bmiHeader.biCompression = BI_RGB;
            const int n = t.width > 1000 ? runs / 4 : runs;
            double t0 = NowMs();
            for (int i = 0; i < n; ++i) {
                HDC dc = GetDC(hwnd);
                SetStretchBltMode(dc, way.mode);
                StretchDIBits(dc, 0, 0, t.width, t.height, 0, 0, w, h, pixels.data(), &bi, DIB_RGB_COLORS, SRCCOPY);
                ReleaseDC(hwnd, dc);
            }
            printf(" %s %.3f ms |", way.name, (NowMs() - t0) / n);
        }
        printf("\n");
    }
    SetWindowPos(hwnd, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
}

}  // namespace

int main(int argc, char** argv) {
    const char* streamPath = argc > 1 ? argv[1] : "bench_704x576.h264";
    color::BuildColorTables();
    const int w = 704, h = 576, runs = 300;
    std::vector<uint8_t> y(w * h), u(w * h / 4), v(w * h / 4);
    for (size_t i = 0; i < y.size(); ++i) y[i] = uint8_t(i * 7);
    for (size_t i = 0; i < u.size(); ++i) {
        u[i] = uint8_t(i * 3);
        v[i] = uint8_t(i * 5);
    }
    std::vector<uint16_t> rgb565(w * h);
    std::vector<uint8_t> rgb24(color::Rgb24RowBytes(w) * h);
    struct Conversion {
        const char* name;
        void (*run)(uint8_t* dst565, uint8_t* dst24, const std::vector<uint8_t>& y, const std::vector<uint8_t>& u,
                    const std::vector<uint8_t>& v);
        bool is565;
    };
    const Conversion conversions[] = {
        {"YUV to RGB565", [](uint8_t* d, uint8_t*, const std::vector<uint8_t>& y, const std::vector<uint8_t>& u,
                             const std::vector<uint8_t>& v) {
             color::YuvToRgb565(d, 2 * 704, y.data(), u.data(), v.data(), 704, 352, 704, 576);
         }, true},
        {"YUV to RGB24 ", [](uint8_t*, uint8_t* d, const std::vector<uint8_t>& y, const std::vector<uint8_t>& u,
                             const std::vector<uint8_t>& v) {
             color::YuvToRgb24(d, color::Rgb24RowBytes(704), y.data(), u.data(), v.data(), 704, 352, 704, -576);
         }, false},
        {"YUV to RGB565 (tables only)", [](uint8_t* d, uint8_t*, const std::vector<uint8_t>& y,
                                           const std::vector<uint8_t>& u, const std::vector<uint8_t>& v) {
             color::YuvToRgb565Portable(d, 2 * 704, y.data(), u.data(), v.data(), 704, 352, 704, 576);
         }, true},
        {"YUV to RGB24  (tables only)", [](uint8_t*, uint8_t* d, const std::vector<uint8_t>& y,
                                           const std::vector<uint8_t>& u, const std::vector<uint8_t>& v) {
             color::YuvToRgb24Portable(d, color::Rgb24RowBytes(704), y.data(), u.data(), v.data(), 704, 352, 704,
                                       -576);
         }, false},
    };
    printf("conversion path: %s\n", color::HasSimdConversion() ? "SSE2" : "tables (no SSE2)");
    for (const Conversion& c : conversions) {
        double best = 1e9, sum = 0;
        for (int r = 0; r < runs; ++r) {
            double t0 = NowMs();
            c.run(reinterpret_cast<uint8_t*>(rgb565.data()), rgb24.data(), y, u, v);
            double t = NowMs() - t0;
            best = std::min(best, t);
            sum += t;
        }
        printf("%s 704x576: %.3f ms mean, %.3f ms best (%d runs)\n", c.name, sum / runs, best, runs);
    }

    std::vector<uint8_t> bytes;
    if (!recwriter::ReadBytes(streamPath, &bytes)) {
        printf("no stream at %s\n", streamPath);
        return 1;
    }
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(bytes);
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    Pump();
    DecodeStages(frames);
    // The process's display device, made once as the library's warm-up
    // makes it: the displays set DirectDraw up on it before their second
    // picture.
    {
        double t0 = NowMs();
        const bool made = DisplayDevice::Shared().Make() != nullptr;
        printf("display device: %s in %.1f ms\n", made ? "made" : "none (pictures through GDI)", NowMs() - t0);
    }

    struct Setup {
        int failStep;
        bool minimised;
        const char* name;
    };
    const Setup setups[] = {
        {0, false, "DirectDraw"},
        {0, true, "DirectDraw, window minimised (no blit)"},
        {6, false, "GDI"},
    };
    for (const Setup& setup : setups) {
        ShowWindow(hwnd, setup.minimised ? SW_MINIMIZE : SW_RESTORE);
        Pump();
        double bare = 1e9, ours = 1e9;
        FirstPictures first;
        int mode = 0;
        for (int r = 0; r < 5; ++r) {
            bare = std::min(bare, BareDecode(frames));
            FirstPictures run;
            ours = std::min(ours, OurPath(frames, hwnd, setup.failStep, &mode, &run));
            if (r == 0) first = run;   // later runs find the size's surfaces warm
        }
        const double pictures = double(frames.size() - kTimedFrom);
        printf("%s (mode %d): first picture (GDI, with Create) %.1f ms, second (with the DirectDraw set-up) "
               "%.1f ms; the next %.0f: bare decode %.1f ms, our path %.1f ms, overhead %.1f %% (%.3f ms a picture)\n",
               setup.name, mode, first.firstMs, first.setupMs, pictures, bare, ours, (ours - bare) * 100.0 / bare,
               (ours - bare) / pictures);
    }
    // The platform's costs last, in the state a playing window is in: the
    // first draws into a freshly shown window cost several times more here.
    printf("the platform's own costs, in the same window:\n");
    PlatformStages(hwnd, w, h);
    DestroyWindow(hwnd);
    return 0;
}
