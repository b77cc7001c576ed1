#include "FileQuib.h"
#include "ReaderFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fixture;
using recwriter::RecordWriter;

namespace {

const uint64_t kT0 = 5000000;   // first I-frame's timestamp
const uint64_t kFrame = 40000;  // 25 frames a second

struct StreamCase {
    const char* name;
    // Builds the file; gives the offset up to which packets must come out.
    std::function<uint32_t(RecordWriter&)> build;
};

void Gop(RecordWriter& w, uint64_t* ts, int pframes, size_t size, bool info = true) {
    InfoFrame f = Info(uint8_t(*ts / 1000000 % 60));
    w.AddVideo(true, *ts, Payload(size, 1), info ? &f : nullptr);
    *ts += kFrame;
    for (int i = 0; i < pframes; ++i) {
        w.AddAudio(2, Payload(168 * 2, 5));
        w.AddVideo(false, *ts, Payload(size / 4 + i, 2), info ? &f : nullptr);
        *ts += kFrame;
    }
}

const StreamCase kStreams[] = {
    {"plain", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 10, 3000); Gop(w, &ts, 5, 3000);
        w.Finish(); return w.Size(); }},
    {"audio_first", [](RecordWriter& w) { uint64_t ts = kT0; w.AddAudio(2, Payload(204, 3));
        Gop(w, &ts, 3, 500); w.Finish(); return w.Size(); }},
    {"garbage_between", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 2, 700);
        w.AddRaw(Payload(1001, 9)); w.AddRaw({'0', '0', 'i'}); Gop(w, &ts, 2, 700);
        w.AddRaw(Payload(5, 4)); w.Finish(); return w.Size(); }},
    // A tag in the last bytes of the first 512,000-byte refill.
    {"tag_at_refill_edge_1", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 0, 400);
        w.AddRaw(Payload(0x10000 + 512000 - 1 - w.Size(), 3)); Gop(w, &ts, 2, 400);
        w.Finish(); return w.Size(); }},
    {"tag_at_refill_edge_15", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 0, 400);
        w.AddRaw(Payload(0x10000 + 512000 - 15 - w.Size(), 3)); Gop(w, &ts, 2, 400);
        w.Finish(); return w.Size(); }},
    {"tag_at_refill_edge_16", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 0, 400);
        w.AddRaw(Payload(0x10000 + 512000 - 16 - w.Size(), 3)); Gop(w, &ts, 2, 400);
        w.Finish(); return w.Size(); }},
    // Packets larger than a pool buffer and than most of the scan buffer.
    {"big_packets", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 300000);
        w.AddVideo(false, ts, Payload(512000 - 24, 6)); ts += kFrame;
        Gop(w, &ts, 3, 90000); w.Finish(); return w.Size(); }},
    // One packet too big to hold: skipped, the rest still comes out.
    {"too_big_packet", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 1000);
        w.AddVideo(false, ts, Payload(512000, 6)); ts += kFrame;
        Gop(w, &ts, 3, 1000); w.Finish(); return w.Size(); }},
    // Lengths whose sum overflows 32 bits must not pass as a small packet.
    {"overflowing_length", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 1000);
        uint32_t at = w.AddVideo(false, ts, Payload(40, 6)); ts += kFrame;
        recwriter::StoreLE32(&w.Bytes()[at + 8], 0xFFFFFFF0u);
        recwriter::StoreLE16(&w.Bytes()[at + 12], 0x0020);
        Gop(w, &ts, 3, 1000); w.Finish(); return w.Size(); }},
    {"end_of_data_before_size", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 4, 1000);
        w.MarkEndOfData(); Gop(w, &ts, 4, 1000); w.Finish(); return w.Header().endOfData; }},
    {"end_of_data_past_size", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 4, 1000);
        w.SetEndOfData(0xFFFFFF00u); w.Finish(); return w.Size(); }},
    {"end_of_data_zero", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 4, 1000);
        w.SetEndOfData(0); w.Finish(); return w.Size(); }},
    // A tail cut in the middle of a packet (the header still says more).
    {"truncated_tail", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 4, 1000);
        uint32_t cut = w.Size() + 30; Gop(w, &ts, 1, 1000); w.Finish();
        w.Bytes().resize(cut); return cut; }},
    {"no_info_blocks", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 4, 1000, false);
        w.Finish(); return w.Size(); }},
};

class ReaderStream : public testing::TestWithParam<StreamCase> {};

TEST_P(ReaderStream, DeliversEveryWholePacketBeforeTheEnd) {
    RecordWriter w;
    uint32_t end = GetParam().build(w);
    std::string path = TempPath(std::string("stream_") + GetParam().name);
    ASSERT_TRUE(recwriter::WriteBytes(path, w.Bytes()));

    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    std::vector<Got> want = Expected(w, end, kT0);
    std::vector<Got> got = ReadAll(r);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_TRUE(got[i] == want[i]) << "packet " << i;

    // The end is reported again, and the file info names the last video packet delivered.
    RecPacket* p = nullptr;
    RecPacket* info = nullptr;
    EXPECT_EQ(r.ReadPacket(&p, &info), 1);
    uint64_t lastVideo = 0;
    for (const Got& g : want)
        if (g.type <= rec::kPacketPFrame) lastVideo = g.timestamp;
    EXPECT_EQ(r.GetFileInfo().firstTimestamp, kT0);
    EXPECT_EQ(r.GetFileInfo().lastTimestamp, lastVideo);
    EXPECT_EQ(r.GetFileInfo().durationMs, (lastVideo - kT0) / 1000);
    EXPECT_EQ(r.FreePacketCount(), size_t(CRecFile::kPoolSize));

    // Rewind gives the same packets again.
    ASSERT_EQ(r.Rewind(), 0);
    EXPECT_EQ(ReadAll(r).size(), want.size());
    r.Close();
    remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Scripts, ReaderStream, testing::ValuesIn(kStreams),
                         [](const testing::TestParamInfo<StreamCase>& i) { return i.param.name; });

struct OpenCase {
    const char* name;
    std::function<void(RecordWriter&)> build;
    int result;
};

const OpenCase kOpens[] = {
    {"good", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 3, 500); w.Finish(); }, 0},
    {"lower_case_magic", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 500); w.Finish();
        memcpy(w.Header().magic, "qzr_dvr_10xx", 13); }, 0},
    {"no_nul_after_magic", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 500); w.Finish();
        w.Header().magic[12] = 'Z'; }, 1},
    {"camera", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 500); w.Finish();
        memcpy(w.Header().magic, "IPC-anything", 13); }, 0},
    {"wrong_magic", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 500); w.Finish();
        w.Header().magic[0] = 'X'; }, 1},
    {"short_header", [](RecordWriter& w) { w.Finish(); w.Bytes().resize(500); }, 1},
    {"no_iframe", [](RecordWriter& w) { w.AddVideo(false, kT0, Payload(500)); w.Finish(); }, 1},
    {"no_data", [](RecordWriter& w) { w.Finish(); }, 1},
    {"end_of_data_in_header_area", [](RecordWriter& w) { uint64_t ts = kT0; Gop(w, &ts, 1, 500);
        w.SetEndOfData(1000); w.Finish(); }, 1},
    // Only one I-frame, right at the data start and shorter than a block.
    {"only_first_iframe", [](RecordWriter& w) { w.AddVideo(true, kT0, Payload(100)); w.Finish(); }, 0},
};

class ReaderOpen : public testing::TestWithParam<OpenCase> {};

TEST_P(ReaderOpen, ChecksTheFile) {
    RecordWriter w;
    GetParam().build(w);
    std::string path = TempPath(std::string("open_") + GetParam().name);
    ASSERT_TRUE(recwriter::WriteBytes(path, w.Bytes()));
    CFileQuib r;
    EXPECT_EQ(r.Open(path.c_str()), GetParam().result);
    EXPECT_EQ(r.IsOpen(), GetParam().result == 0);
    FileInfo fi;
    memset(&fi, 0, sizeof(fi));
    EXPECT_EQ(r.ProbeFileParam(&fi, path.c_str()), GetParam().result);
    EXPECT_FALSE(r.IsOpen());
    remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(Files, ReaderOpen, testing::ValuesIn(kOpens),
                         [](const testing::TestParamInfo<OpenCase>& i) { return i.param.name; });

TEST(Reader, RefusesMissingFilesAndOverlongPaths) {
    CFileQuib r;
    EXPECT_EQ(r.Open("no_such_file.h264"), 1);
    std::string longPath(300, 'a');
    EXPECT_EQ(r.Open(longPath.c_str()), 1);
    EXPECT_EQ(r.Rewind(), 1);
    RecPacket* p = nullptr;
    EXPECT_EQ(r.ReadPacket(&p, nullptr), 1);
}

recwriter::HeaderSpec TruckHeader() {
    recwriter::HeaderSpec s;
    s.text1 = "VEHICLE-7";
    s.text2 = "DRIVER";
    s.text3 = "0123456789012345678901234567890123456789";   // longer than 31
    s.text4 = "UNIT";
    s.recordKind = 4;
    s.channels[0] = 0;
    s.channels[1] = 3;
    s.audioCodec = 3;
    return s;
}

TEST(Reader, OpenFillsItsFileInfoAndProbeTheCallers) {
    RecordWriter w(TruckHeader());
    uint64_t ts = kT0;
    Gop(w, &ts, 5, 800);
    InfoFrame last = Info(59);
    w.AddVideo(true, ts, Payload(800), &last);
    w.AddVideo(false, ts + kFrame, Payload(300));
    std::string path = TempPath("fileinfo");
    ASSERT_TRUE(w.WriteFile(path));

    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    const FileInfo& fi = r.GetFileInfo();
    EXPECT_EQ(fi.startTime.wYear, 26);
    EXPECT_EQ(fi.startTime.wMinute, 30);
    EXPECT_EQ(fi.endTime.wMinute, 31);
    EXPECT_EQ(fi.lastTimestamp, ts + kFrame);
    EXPECT_EQ(fi.durationMs, (ts + kFrame - kT0) / 1000);
    EXPECT_EQ(fi.channel, 0u);
    EXPECT_EQ(fi.recordKind, 0u);
    EXPECT_STREQ(fi.headerText1, "VEHICLE-7");
    EXPECT_STREQ(fi.headerText2, "DRIVER");
    EXPECT_EQ(std::string(fi.headerText3), std::string("0123456789012345678901234567890"));
    EXPECT_STREQ(fi.headerText4, "UNIT");
    EXPECT_EQ(std::string(fi.magic, 11), "QZR_DVR_10X");
    EXPECT_EQ(fi.magic[11], 0);
    EXPECT_EQ(r.AudioCodec(), 3u);
    EXPECT_FALSE(r.IsCameraFile());
    r.Close();

    FileInfo probe;
    memset(&probe, 0x5A, sizeof(probe));
    ASSERT_EQ(r.ProbeFileParam(&probe, path.c_str()), 0);
    EXPECT_EQ(probe.endTime.wSecond, 59);            // from the last I-frame
    EXPECT_EQ(probe.endTime.wMinute, 30);
    EXPECT_EQ(probe.startTime.wMinute, 30);
    EXPECT_EQ(probe.durationMs, (ts + kFrame - kT0) / 1000);
    EXPECT_EQ(probe.channel, 3u);
    EXPECT_EQ(probe.recordKind, 4u);
    EXPECT_EQ(probe.firstTimestamp, 0x5A5A5A5A5A5A5A5Aull);   // the caller's
    EXPECT_EQ(probe.lastTimestamp, 0x5A5A5A5A5A5A5A5Aull);
    EXPECT_STREQ(probe.headerText1, "VEHICLE-7");
    EXPECT_FALSE(r.IsOpen());
    remove(path.c_str());
}

TEST(Reader, AudioTagsOverrideTheHeaderCodec) {
    recwriter::HeaderSpec s;
    s.audioCodec = 3;
    RecordWriter w(s);
    w.AddVideo(true, kT0, Payload(100));
    w.AddAudio(2, Payload(204));
    w.AddVideo(false, kT0 + kFrame, Payload(100));
    w.AddAudio(3, Payload(168));
    std::string path = TempPath("codec");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    RecPacket* p = nullptr;
    uint32_t seen[4] = {};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(r.ReadPacket(&p, nullptr), 0);
        seen[i] = r.AudioCodec();
        r.ReleasePacket(p);
    }
    EXPECT_EQ(seen[1], 2u);
    EXPECT_EQ(seen[3], 3u);
    r.Close();
    remove(path.c_str());
}

TEST(Reader, EmptyPoolFailsTheReadAndLosesNoPacket) {
    RecordWriter w;
    uint64_t ts = kT0;
    Gop(w, &ts, 8, 300);
    std::string path = TempPath("pool");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    std::vector<RecPacket*> held;
    for (;;) {
        RecPacket* p = nullptr;
        RecPacket* info = nullptr;
        if (r.ReadPacket(&p, &info) != 0) break;
        held.push_back(p);
        if (info) held.push_back(info);
        ASSERT_LE(held.size(), size_t(CRecFile::kPoolSize));
    }
    EXPECT_EQ(r.FreePacketCount(), 5u - held.size());
    uint64_t lastHeld = held.back()->timestamp;
    for (RecPacket* p : held) r.ReleasePacket(p);
    r.ReleasePacket(held[0]);            // twice: ignored
    EXPECT_EQ(r.FreePacketCount(), 5u);

    // Reading goes on with the packet that found no buffer.
    std::vector<Got> rest = ReadAll(r);
    std::vector<Got> all = Expected(w, w.Size(), kT0);
    size_t readBefore = all.size() - rest.size();
    ASSERT_GT(rest.size(), 0u);
    EXPECT_TRUE(rest.front() == all[readBefore]);
    EXPECT_GE(rest.front().timestamp, lastHeld);
    r.Close();
    remove(path.c_str());
}

TEST(Reader, ReadInfoPacketGivesOnlyInformationBlocks) {
    RecordWriter w;
    uint64_t ts = kT0;
    Gop(w, &ts, 3, 300);
    w.AddVideo(false, ts, Payload(300));   // no block
    std::string path = TempPath("infoonly");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    std::vector<uint64_t> stamps;
    RecPacket* info = nullptr;
    while (stamps.size() < 100 && r.ReadInfoPacket(nullptr, &info) == 0) {
        EXPECT_EQ(info->type, uint32_t(rec::kPacketInfo));
        EXPECT_EQ(info->length, 48u);
        stamps.push_back(info->timestamp);
        r.ReleasePacket(info);
    }
    EXPECT_EQ(stamps, (std::vector<uint64_t>{kT0, kT0 + kFrame, kT0 + 2 * kFrame, kT0 + 3 * kFrame}));
    EXPECT_EQ(r.FreePacketCount(), 5u);
    r.Close();
    remove(path.c_str());
}

// The last video header straddles the 4096-byte blocks of the backward search.
TEST(Reader, LastVideoPacketAcrossABlockBoundary) {
    for (uint32_t k : {1u, 9u, 23u}) {
        RecordWriter w;
        uint64_t ts = kT0;
        Gop(w, &ts, 2, 20000);
        w.AddVideo(false, 77777777, Payload(100));
        uint32_t tagEnd = w.Size() - 124 + 24;
        // Garbage so that the header ends k bytes into the last block.
        w.AddRaw(Payload(4096 - k - (w.Size() - tagEnd), 7));
        std::string path = TempPath("lastblock");
        ASSERT_TRUE(w.WriteFile(path));
        CFileQuib r;
        ASSERT_EQ(r.Open(path.c_str()), 0) << k;
        EXPECT_EQ(r.GetFileInfo().lastTimestamp, 77777777u) << k;
        r.Close();
        remove(path.c_str());
    }
}

}  // namespace

namespace {

// Deleting an open reader lets go of the file (Windows keeps open files).
TEST(Reader, DestructionClosesTheFile) {
    RecordWriter w;
    w.AddVideo(true, kT0, Payload(100));
    std::string path = TempPath("destroy");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib* r = new CFileQuib;
    ASSERT_EQ(r->Open(path.c_str()), 0);
    delete r;
    EXPECT_EQ(remove(path.c_str()), 0);
}

}  // namespace
