#include "VideoDecoder.h"

#include "BmpWriter.h"
#include "ColorConvert.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>
#include <deque>
#include <string>
#include <vector>

namespace {

// A stand-in decoder library. Each packet describes its picture; the fake
// holds back `delay` pictures and reports a timestamp that is always wrong,
// so only the decoder's own pairing can give the right one.
struct FakePacket {
    uint16_t width, height;
    uint8_t intra, id;
};

struct FakePicture {
    FakePacket desc;
    std::vector<uint8_t> y, u, v;
    int yStride, uvStride;
};

struct FakeDecoder {
    int delay;
    std::deque<FakePicture> queue;
    FakePicture out;
};

int g_delay = 0;
bool g_createFails = false;

FakePicture MakePicture(const FakePacket& p) {
    FakePicture pic;
    pic.desc = p;
    // Padded rows, as a real decoder has them.
    pic.yStride = p.width + 16;
    pic.uvStride = (p.width + 1) / 2 + 8;
    int ch = (p.height + 1) / 2;
    pic.y.assign(size_t(pic.yStride * p.height), 0xEE);
    pic.u.assign(size_t(pic.uvStride * ch), 0xEE);
    pic.v.assign(size_t(pic.uvStride * ch), 0xEE);
    for (int r = 0; r < p.height; ++r)
        for (int c = 0; c < p.width; ++c) pic.y[size_t(r * pic.yStride + c)] = uint8_t(p.id + r + c);
    for (int r = 0; r < ch; ++r)
        for (int c = 0; c < (p.width + 1) / 2; ++c) {
            pic.u[size_t(r * pic.uvStride + c)] = uint8_t(p.id * 3 + r);
            pic.v[size_t(r * pic.uvStride + c)] = uint8_t(255 - p.id - c);
        }
    return pic;
}

H264DecHandle FakeCreate(const H264DecAttr* attr) {
    if (g_createFails || !attr || attr->maxWidthMb != 80 || attr->maxHeightMb != 45) return nullptr;
    FakeDecoder* d = new FakeDecoder;
    d->delay = g_delay;
    return d;
}

int FakeFrame(H264DecHandle h, const uint8_t* data, uint32_t length, uint64_t, H264DecPicture* out, uint32_t) {
    FakeDecoder* d = static_cast<FakeDecoder*>(h);
    if (!d) return -2;
    if (data && length == sizeof(FakePacket)) {
        FakePacket p;
        memcpy(&p, data, sizeof p);
        d->queue.push_back(MakePicture(p));
    }
    if (int(d->queue.size()) <= d->delay) return -1;
    d->out = std::move(d->queue.front());
    d->queue.pop_front();
    out->y = d->out.y.data();
    out->u = d->out.u.data();
    out->v = d->out.v.data();
    out->width = d->out.desc.width;
    out->height = d->out.desc.height;
    out->yStride = uint32_t(d->out.yStride);
    out->uvStride = uint32_t(d->out.uvStride);
    out->intra = d->out.desc.intra;
    out->timestamp = 0xDEAD;
    return 0;
}

void FakeDestroy(H264DecHandle h) { delete static_cast<FakeDecoder*>(h); }

const H264DecoderApi kFakeApi = {FakeCreate, FakeFrame, FakeDestroy};

struct Rig {
    CDirectDraw display;
    CVDECH264 decoder{&kFakeApi};
    explicit Rig(int delay) {
        g_delay = delay;
        g_createFails = false;
        decoder.Create(0);
        decoder.SetDisplay(&display);
    }
    int Feed(bool iframe, int w, int h, bool intra, uint8_t id, uint64_t ts) {
        FakePacket p = {uint16_t(w), uint16_t(h), uint8_t(intra ? 1 : 0), id};
        CaptureFrameInfo side = {{id, uint32_t(ts), 0, 7}};
        return decoder.Decode(iframe ? 0 : 1, reinterpret_cast<const uint8_t*>(&p), sizeof p,
                              uint32_t(ts), uint32_t(ts >> 32), &side);
    }
};

uint8_t KeptIdOf(const CVDEC::Kept& k) { return uint8_t(k.side.value[0]); }

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::vector<uint8_t> bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}

bool Exists(const char* path) {
    FILE* f = fopen(path, "rb");
    if (f) fclose(f);
    return f != nullptr;
}

}  // namespace

TEST(VideoDecoder, PairsPicturesWithPacketsInOrderWhateverTheDelay) {
    // Two P-frames before the first I-frame, then a GOP.
    const bool iframes[] = {false, false, true, false, false, true, false, false};
    for (int delay = 0; delay <= 3; ++delay) {
        SCOPED_TRACE(testing::Message() << "delay " << delay);
        Rig rig(delay);
        int fed = 0;
        for (int i = 0; i < 8; ++i) {
            uint64_t ts = 5000000000ull + uint64_t(i) * 40000;  // past 32 bits
            int r = rig.Feed(iframes[i], 64, 48, iframes[i], uint8_t(i), ts);
            if (i < 2) {
                EXPECT_EQ(r, 0) << i;  // dropped before the first I-frame
                EXPECT_EQ(rig.decoder.PendingCount(), 0u);
                continue;
            }
            EXPECT_EQ(r, 1);
            ++fed;
            EXPECT_EQ(rig.decoder.PendingCount(), size_t(std::min(fed, delay))) << i;
            CVDEC::Kept k = rig.decoder.CopyKept();
            int shown = i - delay;  // the packet whose picture is out last
            if (shown < 2) {
                EXPECT_FALSE(k.valid) << i;
                continue;
            }
            ASSERT_TRUE(k.valid) << i;
            EXPECT_EQ(KeptIdOf(k), shown);
            EXPECT_EQ(k.timestamp, 5000000000ull + uint64_t(shown) * 40000);
            EXPECT_EQ(k.side.value[3], 7u);
            EXPECT_EQ(k.y[0], uint8_t(shown));
        }
    }
}

TEST(VideoDecoder, SizeChangeWaitsForTheNextIntraPicture) {
    Rig rig(0);
    rig.Feed(true, 352, 288, true, 1, 0);
    EXPECT_TRUE(rig.decoder.PictureReady());
    EXPECT_EQ(rig.display.Width(), 352);
    rig.Feed(false, 352, 288, false, 2, 40000);
    EXPECT_EQ(KeptIdOf(rig.decoder.CopyKept()), 2);

    // A new size arrives in a non-intra picture: nothing is shown or kept.
    rig.Feed(false, 350, 286, false, 3, 80000);
    EXPECT_FALSE(rig.decoder.PictureReady());
    EXPECT_FALSE(rig.decoder.CopyKept().valid);
    bool written = true;
    CaptureFrameInfo info = {{9, 9, 9, 9}};
    EXPECT_EQ(rig.decoder.CaptureBmp("size_change.bmp", &info, &written), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(info.value[0], 9u);
    rig.decoder.Redraw();  // must not draw stale planes of the wrong size

    rig.Feed(true, 350, 286, true, 4, 120000);
    EXPECT_TRUE(rig.decoder.PictureReady());
    EXPECT_EQ(rig.display.Width(), 350);
    EXPECT_EQ(rig.display.Height(), 286);
    CVDEC::Kept k = rig.decoder.CopyKept();
    ASSERT_TRUE(k.valid);
    EXPECT_EQ(k.width, 350);
    EXPECT_EQ(k.height, 286);
    EXPECT_EQ(KeptIdOf(k), 4);
}

TEST(VideoDecoder, CaptureBeforeAnyPictureLeavesTheRecordAlone) {
    Rig rig(0);
    CaptureFrameInfo info = {{1, 2, 3, 4}};
    bool written = true;
    remove("nothing_yet.bmp");
    EXPECT_EQ(rig.decoder.CaptureBmp("nothing_yet.bmp", &info, &written), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(info.value[0], 1u);
    EXPECT_EQ(info.value[3], 4u);
    EXPECT_FALSE(Exists("nothing_yet.bmp"));
}

TEST(VideoDecoder, CaptureToAnUnopenablePathIsKnown) {
    Rig rig(0);
    rig.Feed(true, 16, 16, true, 5, 0);
    CaptureFrameInfo info = {};
    bool written = true;
    EXPECT_EQ(rig.decoder.CaptureBmp("no-such-folder\\x.bmp", &info, &written), 0);
    EXPECT_FALSE(written);
    EXPECT_EQ(info.value[0], 5u);  // the side record is handed out all the same
}

TEST(VideoDecoder, Capture1280x720StoresTheBottomRowFirst) {
    Rig rig(0);
    rig.Feed(true, 1280, 720, true, 10, 0);
    bool written = false;
    CaptureFrameInfo info = {};
    ASSERT_EQ(rig.decoder.CaptureBmp("capture_720p.bmp", &info, &written), 0);
    ASSERT_TRUE(written);
    std::vector<uint8_t> file = ReadAll("capture_720p.bmp");
    ASSERT_EQ(file.size(), 54u + 2764800u);
    // Convert the picture's bottom row on its own and find it first in the file.
    CVDEC::Kept k = rig.decoder.CopyKept();
    std::vector<uint8_t> bottom(1280 * 3);
    color::YuvToRgb24(bottom.data(), 1280 * 3, &k.y[719 * 1280], &k.u[359 * 640], &k.v[359 * 640], 1280, 640,
                      1280, 1);
    EXPECT_TRUE(std::equal(bottom.begin(), bottom.end(), file.begin() + 54));
    remove("capture_720p.bmp");
}

// Writes a snapshot of an odd-sized picture and, beside it, the pixels an
// independent reader must find in it (a binary PPM, rows top first); the
// check after this test reads the BMP with ImageMagick and compares.
TEST(VideoDecoder, SnapshotForAnIndependentReader) {
    Rig rig(0);
    rig.Feed(true, 350, 286, true, 33, 0);
    rig.Feed(false, 350, 286, false, 34, 40000);
    bool written = false;
    rig.decoder.CaptureBmp("snapshot_350x286.bmp", nullptr, &written);
    ASSERT_TRUE(written);
    CVDEC::Kept k = rig.decoder.CopyKept();
    std::vector<uint8_t> bgr(350 * 3 * 286);
    color::YuvToRgb24(bgr.data(), 350 * 3, k.y.data(), k.u.data(), k.v.data(), 350, 175, 350, 286);
    FILE* f = fopen("snapshot_350x286.ppm", "wb");
    ASSERT_NE(f, nullptr);
    fprintf(f, "P6\n350 286\n255\n");
    for (size_t i = 0; i < bgr.size(); i += 3) {
        uint8_t rgb[3] = {bgr[i + 2], bgr[i + 1], bgr[i]};
        fwrite(rgb, 1, 3, f);
    }
    fclose(f);
}

TEST(VideoDecoder, PendingQueueStaysBoundedWithoutALibrary) {
    g_createFails = true;
    CVDECH264 decoder(&kFakeApi);
    EXPECT_EQ(decoder.Create(0), 0);
    FakePacket p = {16, 16, 1, 0};
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(decoder.Decode(i % 25 ? 1 : 0, reinterpret_cast<const uint8_t*>(&p), sizeof p, uint32_t(i), 0,
                                 nullptr), 1);
    EXPECT_LE(decoder.PendingCount(), CVDECH264::kMaxPending);
    EXPECT_FALSE(decoder.CopyKept().valid);
    g_createFails = false;
}

namespace {

struct CaptureLoop {
    CVDECH264* decoder;
    volatile LONG stop = 0;
    int good = 0, bad = 0;
};

DWORD WINAPI CaptureThread(void* arg) {
    CaptureLoop* loop = static_cast<CaptureLoop*>(arg);
    while (!loop->stop) {
        bool written = false;
        loop->decoder->CaptureBmp("race.bmp", nullptr, &written);
        loop->decoder->Redraw();
        if (!written) continue;
        std::vector<uint8_t> file = ReadAll("race.bmp");
        if (file.size() < 54) { ++loop->bad; continue; }
        uint32_t w = file[18] | file[19] << 8, h = file[22] | file[23] << 8;
        bool sizeOk = (w == 64 && h == 48) || (w == 30 && h == 18);
        if (sizeOk && file.size() == 54 + bmp::PixelBytes(int(w), int(h))) ++loop->good;
        else ++loop->bad;
    }
    return 0;
}

}  // namespace

TEST(VideoDecoder, SnapshotsDuringSizeChangesAreWhole) {
    Rig rig(1);
    CaptureLoop loop;
    loop.decoder = &rig.decoder;
    HANDLE t = CreateThread(nullptr, 0, CaptureThread, &loop, 0, nullptr);
    ASSERT_NE(t, nullptr);
    for (int i = 0; i < 400; ++i) {
        bool big = (i / 3) % 2 == 0;
        rig.Feed(i % 3 == 0, big ? 64 : 30, big ? 48 : 18, i % 3 == 0, uint8_t(i), uint64_t(i) * 40000);
    }
    Sleep(50);
    InterlockedExchange(&loop.stop, 1);
    // The loop ends at its next pass: each pass is one capture.
    ASSERT_EQ(WaitForSingleObject(t, 10000), WAIT_OBJECT_0);
    CloseHandle(t);
    EXPECT_EQ(loop.bad, 0);
    EXPECT_GT(loop.good, 0);
    remove("race.bmp");
}
