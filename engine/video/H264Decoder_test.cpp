// Pictures from our decoder layer, alone and under the video decoder, must
// equal the reference decoder's (ffmpeg's own decode, made at build time).
#include "H264Decoder.h"
#include "VideoDecoder.h"

#include "H264Stream.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Stream {
    int w, h;
    std::vector<recwriter::H264Frame> frames;
    std::vector<uint8_t> yuv;  // every picture, yuv420p, tightly packed
    size_t PictureBytes() const { return size_t(w * h + 2 * ((w + 1) / 2) * ((h + 1) / 2)); }
    const uint8_t* Reference(size_t k) const { return yuv.data() + k * PictureBytes(); }
};

Stream Load(const std::string& name, int w, int h) {
    Stream s;
    s.w = w;
    s.h = h;
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(recwriter::ReadBytes(name + ".h264", &bytes)) << name;
    s.frames = recwriter::SplitAnnexB(bytes);
    EXPECT_TRUE(recwriter::ReadBytes(name + ".yuv", &s.yuv)) << name;
    EXPECT_EQ(s.yuv.size(), s.frames.size() * s.PictureBytes()) << name;
    return s;
}

// Planes of one picture, packed tightly.
std::vector<uint8_t> Pack(const uint8_t* y, const uint8_t* u, const uint8_t* v, int yStride, int uvStride, int w,
                          int h) {
    std::vector<uint8_t> out;
    for (int r = 0; r < h; ++r) out.insert(out.end(), y + r * yStride, y + r * yStride + w);
    int cw = (w + 1) / 2, ch = (h + 1) / 2;
    for (const uint8_t* p : {u, v})
        for (int r = 0; r < ch; ++r) out.insert(out.end(), p + r * uvStride, p + r * uvStride + cw);
    return out;
}

struct Out {
    int w, h;
    bool intra;
    std::vector<uint8_t> planes;
};

// Feeds every frame from `first` on; collects the pictures as they come.
std::vector<Out> DecodeAll(const std::vector<recwriter::H264Frame>& frames, size_t first = 0) {
    std::vector<Out> outs;
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = H264DecCreate(&attr);
    EXPECT_NE(h, nullptr);
    for (size_t i = first; i < frames.size(); ++i) {
        H264DecPicture pic;
        const uint8_t* data = frames[i].bytes.data();
        uint32_t len = uint32_t(frames[i].bytes.size());
        while (H264DecFrame(h, data, len, i * 40000, &pic, 0) == kH264PictureOut) {
            outs.push_back({int(pic.width), int(pic.height), pic.intra != 0,
                            Pack(pic.y, pic.u, pic.v, int(pic.yStride), int(pic.uvStride), int(pic.width),
                                 int(pic.height))});
            data = nullptr;
            len = 0;
        }
    }
    H264DecDestroy(h);
    return outs;
}

}  // namespace

TEST(H264Decoder, PicturesEqualTheReferenceDecode) {
    struct Case {
        const char* name;
        int w, h, gop;
    };
    for (Case c : {Case{"baseline_352x288", 352, 288, 10}, Case{"main_350x286", 350, 286, 12}}) {
        SCOPED_TRACE(c.name);
        Stream s = Load(c.name, c.w, c.h);
        ASSERT_EQ(s.frames.size(), 30u);
        std::vector<Out> outs = DecodeAll(s.frames);
        // Low delay: one picture per packet, none held back.
        ASSERT_EQ(outs.size(), s.frames.size());
        for (size_t k = 0; k < outs.size(); ++k) {
            SCOPED_TRACE(k);
            EXPECT_EQ(outs[k].w, c.w);
            EXPECT_EQ(outs[k].h, c.h);
            EXPECT_EQ(outs[k].intra, k % size_t(c.gop) == 0);
            EXPECT_EQ(outs[k].intra, s.frames[k].intra);
            ASSERT_EQ(outs[k].planes.size(), s.PictureBytes());
            EXPECT_TRUE(std::equal(outs[k].planes.begin(), outs[k].planes.end(), s.Reference(k)));
        }
    }
}

TEST(H264Decoder, NoDataOnlyAsksForPicturesAndKeepsTheDecoderOpen) {
    Stream s = Load("baseline_352x288", 352, 288);
    H264DecAttr attr = {0, 0, 80, 45, {0, 0, 0, 0}};
    H264DecHandle h = H264DecCreate(&attr);
    ASSERT_NE(h, nullptr);
    H264DecPicture pic;
    EXPECT_EQ(H264DecFrame(h, nullptr, 0, 0, &pic, 0), kH264NeedMoreData);
    int pictures = 0;
    for (const recwriter::H264Frame& f : s.frames) {
        if (H264DecFrame(h, f.bytes.data(), uint32_t(f.bytes.size()), 0, &pic, 0) == kH264PictureOut) ++pictures;
        while (H264DecFrame(h, nullptr, 0, 0, &pic, 0) == kH264PictureOut) ++pictures;
    }
    EXPECT_EQ(pictures, 30);
    H264DecDestroy(h);
    EXPECT_EQ(H264DecFrame(nullptr, nullptr, 0, 0, &pic, 0), kH264NoPicture);
}

TEST(H264Decoder, VideoDecoderMatchesReferenceAcrossASizeChangeAndAPFrameStart) {
    // A stream with its first I-frame cut off, so it starts with P-frames,
    // followed by a stream of another size: one decoder for both.
    Stream a = Load("baseline_352x288", 352, 288);
    Stream b = Load("main_350x286", 350, 286);
    struct Fed {
        const Stream* s;
        size_t k;
    };
    std::vector<Fed> feed;
    for (size_t k = 1; k < a.frames.size(); ++k) feed.push_back({&a, k});
    for (size_t k = 0; k < b.frames.size(); ++k) feed.push_back({&b, k});

    CDirectDraw display;
    CVDECH264 decoder;
    ASSERT_EQ(decoder.Create(0), 1);
    decoder.SetDisplay(&display);
    int shown = 0;
    for (size_t i = 0; i < feed.size(); ++i) {
        const recwriter::H264Frame& f = feed[i].s->frames[feed[i].k];
        uint64_t ts = 1000000 + i * 40000;
        CaptureFrameInfo side = {{uint32_t(i), 0, 0, 0}};
        int r = decoder.Decode(f.intra ? 0 : 1, f.bytes.data(), uint32_t(f.bytes.size()), uint32_t(ts),
                               uint32_t(ts >> 32), &side);
        CVDEC::Kept k = decoder.CopyKept();
        SCOPED_TRACE(i);
        if (i < 9) {  // the P-frames before the stream's second I-frame
            EXPECT_EQ(r, 0);
            EXPECT_FALSE(k.valid);
            continue;
        }
        ASSERT_TRUE(k.valid);
        EXPECT_EQ(k.timestamp, ts);
        EXPECT_EQ(k.side.value[0], i);
        EXPECT_EQ(k.width, feed[i].s->w);
        EXPECT_EQ(display.Width(), feed[i].s->w);
        std::vector<uint8_t> planes = k.y;
        planes.insert(planes.end(), k.u.begin(), k.u.end());
        planes.insert(planes.end(), k.v.begin(), k.v.end());
        ASSERT_EQ(planes.size(), feed[i].s->PictureBytes());
        EXPECT_TRUE(std::equal(planes.begin(), planes.end(), feed[i].s->Reference(feed[i].k)));
        ++shown;
    }
    EXPECT_EQ(shown, 20 + 30);
    EXPECT_EQ(decoder.PendingCount(), 0u);
}
