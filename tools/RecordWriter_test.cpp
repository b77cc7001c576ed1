#include "InfoFields.h"
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

TEST(InfoFields, StoresEveryValueAsItsByte) {
    InfoFields f;
    SetLatitude(f, -(22 + 32.5 / 60), 4);         // 22°32.5000' S
    SetLongitude(f, -(130 + 7.25 / 60), 4);       // 130°07.2500' W: degrees past 127
    f.speedKmh = 300;                             // more than a byte
    f.heading = 33800;
    f.accel[0] = -8;
    f.accel[2] = 127;
    f.fix = 'V';
    InfoFrame frame = EncodeInfoFrame(f);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&frame);
    EXPECT_EQ(b[8], 'V');
    EXPECT_EQ(rec::LoadLE16(&b[10]), 300);
    EXPECT_EQ(b[12], 22);
    EXPECT_EQ(b[13], 32);
    EXPECT_EQ(rec::LoadLE32(&b[16]), 5000u);
    EXPECT_EQ(b[14], 130);
    EXPECT_EQ(b[15], 7);
    EXPECT_EQ(rec::LoadLE32(&b[20]), 2500u);
    EXPECT_EQ(rec::LoadLE16(&b[24]), 33800);
    EXPECT_EQ(b[26], 'S');
    EXPECT_EQ(b[27], 'W');
    EXPECT_EQ(b[28], 4);
    EXPECT_EQ(b[40], 0xF8);
    EXPECT_EQ(b[42], 127);

    // What no recorder should write goes out as it is.
    f.lonDegrees = 200;
    f.latMinutes = 75;
    f.lonFraction = -1;
    f.fractionDigits = 0;
    frame = EncodeInfoFrame(f);
    EXPECT_EQ(b[14], 200);
    EXPECT_EQ(b[13], 75);
    EXPECT_EQ(rec::LoadLE32(&b[20]), 0xFFFFFFFFu);
    EXPECT_EQ(b[28], 0);
}

TEST(InfoFields, SplitsDegreesWithTheChosenDigits) {
    struct Case {
        double value;
        int digits;
        unsigned degrees, minutes;
        int32_t fraction;
    } cases[] = {
        {30.2741, 4, 30, 16, 4460},
        {120.1551, 6, 120, 9, 306000},
        {179.99999999, 4, 180, 0, 0},   // rounds up into the next degree
        {0.5, 1, 0, 30, 0},
    };
    for (const Case& c : cases) {
        InfoFields f;
        SetLongitude(f, c.value, c.digits);
        EXPECT_EQ(f.lonDegrees, c.degrees) << c.value;
        EXPECT_EQ(f.lonMinutes, c.minutes) << c.value;
        EXPECT_EQ(f.lonFraction, c.fraction) << c.value;
        EXPECT_EQ(f.lonHemisphere, 'E');
        EXPECT_EQ(f.fractionDigits, unsigned(c.digits));
    }
}

TEST(RecordWriter, WritesInformationBlocksOfAnyLength) {
    RecordWriter w;
    InfoFields f;
    f.speedKmh = 77;
    std::vector<uint8_t> shortBlock = InfoBlock(f, 20);
    ASSERT_EQ(shortBlock.size(), 20u);
    uint32_t i0 = w.AddVideo(true, 1000, {1, 2}, InfoBlock(f));
    uint32_t i1 = w.AddVideo(true, 2000, {3}, shortBlock);
    uint32_t i2 = w.AddVideo(true, 3000, {4}, InfoBlock(f));
    uint32_t p0 = w.AddVideo(false, 4000, {5}, std::vector<uint8_t>());
    const std::vector<uint8_t>& b = w.Finish();
    EXPECT_EQ(rec::LoadLE16(&b[i0 + 12]), 48);
    EXPECT_EQ(rec::LoadLE16(&b[i1 + 12]), 20);
    EXPECT_EQ(rec::LoadLE16(&b[i1 + 24 + 10]), 77);  // the speed, inside the short block
    EXPECT_EQ(b[i1 + 24 + 20], 3);                    // the picture right after it
    EXPECT_EQ(i2, i1 + 24 + 20 + 1);
    // The back-link is written only into a block that reaches it.
    EXPECT_EQ(rec::LoadLE32(&b[i2 + 24 + 32]), i1);
    EXPECT_EQ(rec::LoadLE16(&b[p0 + 12]), 0);
    EXPECT_EQ(b[p0 + 24], 5);
}
