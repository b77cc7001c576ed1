// Video path figures: colour conversion of one 704 x 576 picture, and the
// cost of our whole path (decode, pair, convert, draw, keep) over bare
// decoding of the same packets. Run by scripts/bench.
#include "ColorConvert.h"
#include "DirectDraw.h"
#include "H264Decoder.h"
#include "VideoDecoder.h"

#include "H264Stream.h"
#include "RecordWriter.h"

#include <windows.h>
#include <stdio.h>
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

double BareDecode(const std::vector<recwriter::H264Frame>& frames) {
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = Hi264DecCreate(&attr);
    double t0 = NowMs();
    for (size_t i = 0; i < frames.size(); ++i) {
        H264DecPicture pic;
        const uint8_t* data = frames[i].bytes.data();
        uint32_t len = uint32_t(frames[i].bytes.size());
        while (Hi264DecFrame(h, data, len, i, &pic, 0) == kH264PictureOut) {
            data = nullptr;
            len = 0;
        }
    }
    double t = NowMs() - t0;
    Hi264DecDestroy(h);
    return t;
}

double OurPath(const std::vector<recwriter::H264Frame>& frames, HWND hwnd, int failStep, int* mode) {
    CDirectDraw display;
    display.SetWindow(hwnd);
    display.FailSetupStep(failStep);
    CVDECH264 decoder;
    decoder.Create(0);
    decoder.SetDisplay(&display);
    CaptureFrameInfo side = {};
    double t0 = NowMs();
    for (size_t i = 0; i < frames.size(); ++i) {
        uint64_t ts = i * 40000;
        decoder.Decode(frames[i].intra ? 0 : 1, frames[i].bytes.data(), uint32_t(frames[i].bytes.size()),
                       uint32_t(ts), uint32_t(ts >> 32), &side);
    }
    double t = NowMs() - t0;
    *mode = display.Mode();
    Pump();
    return t;
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
    double best565 = 1e9, best24 = 1e9, sum565 = 0, sum24 = 0;
    for (int r = 0; r < runs; ++r) {
        double t0 = NowMs();
        color::YuvToRgb565(rgb565.data(), y.data(), u.data(), v.data(), w, w / 2, w, h);
        double t1 = NowMs();
        color::YuvToRgb24(rgb24.data(), color::Rgb24RowBytes(w), y.data(), u.data(), v.data(), w, w / 2, w, -h);
        double t2 = NowMs();
        best565 = std::min(best565, t1 - t0);
        best24 = std::min(best24, t2 - t1);
        sum565 += t1 - t0;
        sum24 += t2 - t1;
    }
    printf("YUV to RGB565 704x576: %.3f ms mean, %.3f ms best (%d runs)\n", sum565 / runs, best565, runs);
    printf("YUV to RGB24  704x576: %.3f ms mean, %.3f ms best (%d runs)\n", sum24 / runs, best24, runs);

    std::vector<uint8_t> bytes;
    if (!recwriter::ReadBytes(streamPath, &bytes)) {
        printf("no stream at %s\n", streamPath);
        return 1;
    }
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(bytes);
    HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    Pump();
    for (int failStep : {0, 6}) {
        double bare = 1e9, ours = 1e9;
        int mode = 0;
        for (int r = 0; r < 3; ++r) {
            bare = std::min(bare, BareDecode(frames));
            ours = std::min(ours, OurPath(frames, hwnd, failStep, &mode));
        }
        printf("%zu frames, display mode %d: bare decode %.1f ms, decode+convert+draw %.1f ms, overhead %.1f %%\n",
               frames.size(), mode, bare, ours, (ours - bare) * 100.0 / bare);
    }
    DestroyWindow(hwnd);
    return 0;
}
