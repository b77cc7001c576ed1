#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string.h>

using namespace recwriter;

namespace {

InfoFrame Info(uint8_t second) {
    InfoFrame f;
    memset(&f, 0, sizeof(f));
    f.second = second;
    f.backLink = 0xDEADBEEF;
    return f;
}

}  // namespace

TEST(RecordWriter, LaysOutHeaderAndPacketsAtTheirOffsets) {
    HeaderSpec spec;
    spec.recordKind = 4;
    spec.audioCodec = 3;
    spec.channels[0] = 0;
    spec.channels[2] = 6;
    spec.text1 = "plate";
    spec.text4 = "four";
    RecordWriter w(spec, 5);
    InfoFrame info = Info(12);
    uint32_t i0 = w.AddVideo(true, 1000, {1, 2, 3}, &info);
    uint32_t p0 = w.AddVideo(false, 2000, {4, 5});
    uint32_t a0 = w.AddAudio(3, {9, 9, 9, 9});
    const std::vector<uint8_t>& b = w.Finish();

    EXPECT_EQ(i0, 0x10000u);
    EXPECT_EQ(b.size(), 0x10000u + (24 + 48 + 3) + (24 + 2) + (8 + 4));
    EXPECT_EQ(b[50], 4);
    EXPECT_EQ(b[58], 3);
    EXPECT_EQ(rec::LoadLE32(&b[68]), b.size());  // end of data after the last packet
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[80])), "QZR_DVR_10XX");
    EXPECT_EQ(b[92], 0);
    EXPECT_EQ(b[100], 0);
    EXPECT_EQ(b[180], 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[372])), "plate");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[532])), "four");

    // I-frame: tag of channel 5, lengths, timestamp, then info, then data.
    EXPECT_EQ(memcmp(&b[i0], "50ip", 4), 0);
    EXPECT_EQ(rec::LoadLE32(&b[i0 + 8]), 3u);
    EXPECT_EQ(rec::LoadLE16(&b[i0 + 12]), 48);
    EXPECT_EQ(rec::LoadLE64(&b[i0 + 16]), 1000u);
    EXPECT_EQ(b[i0 + 24 + 5], 12);                 // the info frame's second
    EXPECT_EQ(rec::LoadLE32(&b[i0 + 56]), 0u);     // first I-frame: no back-link
    EXPECT_EQ(b[i0 + 72], 1);
    // P-frame without info: data right after the 24 bytes.
    EXPECT_EQ(p0, i0 + 75);
    EXPECT_EQ(memcmp(&b[p0], "51ip", 4), 0);
    EXPECT_EQ(rec::LoadLE16(&b[p0 + 12]), 0);
    EXPECT_EQ(b[p0 + 24], 4);
    // Audio: tag, payload length, payload.
    EXPECT_EQ(memcmp(&b[a0], "53aa", 4), 0);
    EXPECT_EQ(rec::LoadLE16(&b[a0 + 4]), 4);
    EXPECT_EQ(b[a0 + 8], 9);
    ASSERT_EQ(w.Places().size(), 3u);
    EXPECT_EQ(int(w.Places()[2].kind), int(rec::TagKind::Audio3));
}

TEST(RecordWriter, ChainsIFrameBackLinks) {
    RecordWriter w;
    InfoFrame info = Info(0);
    uint32_t a = w.AddVideo(true, 0, {1}, &info);
    w.AddVideo(false, 40, {2}, &info);
    uint32_t b = w.AddVideo(true, 80, {3}, &info);
    uint32_t c = w.AddVideo(true, 120, {4}, &info);
    uint32_t d = w.AddVideo(true, 160, {5}, &info, true);  // keeps the given link
    const std::vector<uint8_t>& bytes = w.Finish();
    EXPECT_EQ(rec::LoadLE32(&bytes[a + 56]), 0u);
    EXPECT_EQ(rec::LoadLE32(&bytes[b + 56]), a);
    EXPECT_EQ(rec::LoadLE32(&bytes[c + 56]), b);
    EXPECT_EQ(rec::LoadLE32(&bytes[d + 56]), 0xDEADBEEFu);
    // A P-frame's info keeps what it was given.
    EXPECT_EQ(rec::LoadLE32(&bytes[a + 73 + 56]), 0xDEADBEEFu);
}

TEST(RecordWriter, EndOfDataCanBeMarkedOrZeroed) {
    RecordWriter w;
    w.AddVideo(true, 0, {1, 2});
    w.MarkEndOfData();
    uint32_t end = w.Size();
    w.AddRaw(std::vector<uint8_t>(100, 0));
    EXPECT_EQ(w.Finish().size(), end + 100);
    EXPECT_EQ(w.Header().endOfData, end);
    w.SetEndOfData(0);
    w.Finish();
    EXPECT_EQ(w.Header().endOfData, 0u);

    RecordWriter camera(HeaderSpec{[] { HeaderSpec s; s.camera = true; return s; }()});
    EXPECT_EQ(int(rec::CheckMagic(camera.Header())), int(rec::FileKind::Camera));
    EXPECT_EQ(int(rec::CheckMagic(w.Header())), int(rec::FileKind::Recorder));
}

TEST(RecordWriter, WritesAndReadsFiles) {
    RecordWriter w;
    w.AddVideo(true, 5, {7, 7, 7});
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + "zarv_writer_test.h264";
    ASSERT_TRUE(w.WriteFile(path));
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadBytes(path, &back));
    EXPECT_EQ(back, w.Bytes());
    DeleteFileA(path.c_str());
    EXPECT_FALSE(ReadBytes(path, &back));
}
