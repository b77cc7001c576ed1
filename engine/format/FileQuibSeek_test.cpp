#include "FileQuib.h"
#include "ReaderFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fixture;
using recwriter::RecordWriter;

namespace {

const uint64_t kT0 = 7000000;
const uint64_t kFrame = 40000;

struct IFrame {
    uint32_t offset;
    uint64_t ts;
    uint32_t videoLength;
};

// GOPs of very uneven length and weight, so that the interpolated offset
// misses and the walk has to go both ways.
struct UnevenFile {
    RecordWriter w;
    std::vector<IFrame> iframes;
    std::string path;

    explicit UnevenFile(const std::string& name) : path(TempPath(name)) {
        const int gops[] = {3, 40, 2, 80, 10, 5, 60, 1, 25, 90};
        uint64_t ts = kT0;
        for (size_t g = 0; g < sizeof(gops) / sizeof(gops[0]); ++g) {
            InfoFrame f = Info(uint8_t(g));
            uint32_t len = 20000 + uint32_t(g) * 100;
            uint32_t at = w.AddVideo(true, ts, Payload(len, unsigned(g)), &f);
            iframes.push_back({at, ts, len});
            ts += kFrame;
            for (int i = 0; i < gops[g]; ++i) {
                if (i % 3 == 0) w.AddAudio(2, Payload(336, 3));
                w.AddVideo(false, ts, Payload(g % 2 ? 8000 : 400, 4), &f);
                ts += kFrame;
            }
        }
        EXPECT_TRUE(w.WriteFile(path));
    }
    ~UnevenFile() { remove(path.c_str()); }

    uint32_t DurationMs() const { return uint32_t((w.Places().back().timestamp - kT0) / 1000); }
};

RecPacket* Next(CFileQuib& r) {
    RecPacket* p = nullptr;
    RecPacket* info = nullptr;
    if (r.ReadPacket(&p, &info) != 0) return nullptr;
    if (info) r.ReleasePacket(info);
    return p;
}

// The timestamp of the next packet read, or 0 at the end.
uint64_t NextStamp(CFileQuib& r, uint32_t* type = nullptr) {
    RecPacket* p = Next(r);
    if (!p) return 0;
    uint64_t ts = p->timestamp;
    if (type) *type = p->type;
    r.ReleasePacket(p);
    return ts;
}

TEST(ReaderSeek, LandsOnAnIFrameThatFitsTheTarget) {
    UnevenFile f("seek_table");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    const uint32_t duration = f.DurationMs();
    ASSERT_EQ(r.GetFileInfo().durationMs, duration);
    for (uint32_t ms = 0; ms <= duration; ms += 170) {
        ASSERT_EQ(r.SeekTime(int32_t(ms), nullptr), 0) << ms;
        uint32_t type = 9;
        uint64_t got = NextStamp(r, &type);
        const uint64_t t = kT0 + uint64_t(ms) * 1000;
        EXPECT_EQ(type, uint32_t(rec::kPacketIFrame)) << ms;
        // Within a second of the target, or one of the two I-frames around it.
        uint64_t below = 0, above = UINT64_MAX;
        for (const IFrame& i : f.iframes) {
            if (i.ts <= t) below = i.ts;
            if (i.ts >= t) above = std::min(above, i.ts);
        }
        bool close = (got > t ? got - t : t - got) <= 1000000;
        EXPECT_TRUE(close || got == below || got == above) << "target " << t << " got " << got;
        EXPECT_TRUE(std::any_of(f.iframes.begin(), f.iframes.end(),
                                [&](const IFrame& i) { return i.ts == got; })) << ms;
    }
    // Reading goes on in file order after the I-frame.
    ASSERT_EQ(r.SeekTime(0, nullptr), 0);
    uint32_t type = 9;
    EXPECT_EQ(NextStamp(r, &type), kT0);
    EXPECT_EQ(type, uint32_t(rec::kPacketIFrame));
    EXPECT_EQ(NextStamp(r, &type), kT0);
    EXPECT_EQ(type, uint32_t(rec::kPacketAudio));
    EXPECT_EQ(NextStamp(r), kT0 + kFrame);
}

TEST(ReaderSeek, OutOfRangeChangesNothing) {
    UnevenFile f("seek_range");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    EXPECT_EQ(NextStamp(r), kT0);
    EXPECT_EQ(r.SeekTime(-1, nullptr), 1);
    EXPECT_EQ(r.SeekTime(int32_t(f.DurationMs() + 1), nullptr), 1);
    EXPECT_EQ(r.SeekTime(INT32_MAX, nullptr), 1);
    uint32_t type = 9;
    EXPECT_EQ(NextStamp(r, &type), kT0);
    EXPECT_EQ(type, uint32_t(rec::kPacketAudio));
    EXPECT_EQ(NextStamp(r), kT0 + kFrame);
}

// The last GOP runs 3.6 s past its I-frame: a seek there stays on it
// instead of leaving the reader at the end of the file.
TEST(ReaderSeek, PastTheLastIFrameStaysOnIt) {
    UnevenFile f("seek_last");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    for (uint32_t back : {0u, 500u, 2000u}) {
        ASSERT_EQ(r.SeekTime(int32_t(f.DurationMs() - back), nullptr), 0);
        EXPECT_EQ(NextStamp(r), f.iframes.back().ts) << back;
    }
}

TEST(ReaderSeek, BadBackLinkStaysOnTheLastGoodIFrame) {
    RecordWriter w;
    InfoFrame info = Info(0);
    w.AddVideo(true, kT0, Payload(2000), &info);
    uint32_t pframe = 0;
    for (int i = 1; i < 250; ++i) {
        uint32_t at = w.AddVideo(false, kT0 + i * kFrame, Payload(1500), &info);
        if (i == 100) pframe = at;
    }
    InfoFrame bad = Info(10, pframe);
    uint64_t late = kT0 + 250 * kFrame;
    w.AddVideo(true, late, Payload(2000), &bad, true);
    for (int i = 251; i < 260; ++i) w.AddVideo(false, kT0 + i * kFrame, Payload(1500), &info);
    std::string path = TempPath("seek_badlink");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.SeekTime(8000, nullptr), 0);   // between the two I-frames, far from both
    uint32_t type = 9;
    EXPECT_EQ(NextStamp(r, &type), late);
    EXPECT_EQ(type, uint32_t(rec::kPacketIFrame));
    r.Close();
    remove(path.c_str());
}

TEST(ReaderSeek, EqualFirstAndLastTimestamps) {
    RecordWriter w;
    w.AddVideo(true, kT0, Payload(100));
    w.AddVideo(false, kT0, Payload(100));
    std::string path = TempPath("seek_flat");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    EXPECT_EQ(r.GetFileInfo().durationMs, 0u);
    ASSERT_EQ(r.SeekTime(0, nullptr), 0);
    EXPECT_EQ(NextStamp(r), kT0);
    EXPECT_EQ(r.SeekTime(1, nullptr), 1);
    r.Close();
    remove(path.c_str());
}

std::vector<uint64_t> StepAll(CFileQuib& r, bool forward, size_t limit = 1000) {
    std::vector<uint64_t> out;
    RecPacket* p = nullptr;
    while (out.size() < limit && (forward ? r.NextIFrame(&p) : r.PrevIFrame(&p)) == 0) {
        EXPECT_EQ(p->type, uint32_t(rec::kPacketIFrame));
        out.push_back(p->timestamp);
        r.ReleasePacket(p);
    }
    return out;
}

std::vector<uint64_t> Stamps(const std::vector<IFrame>& v) {
    std::vector<uint64_t> out;
    for (const IFrame& i : v) out.push_back(i.ts);
    return out;
}

TEST(ReaderSteps, ForwardFromRewindDeliversEveryIFrame) {
    UnevenFile f("step_forward");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    RecPacket* p = nullptr;
    ASSERT_EQ(r.NextIFrame(&p), 0);
    EXPECT_EQ(p->length, f.iframes[0].videoLength);
    EXPECT_EQ(p->data[0], Payload(1, 0)[0]);
    r.ReleasePacket(p);
    std::vector<uint64_t> rest = StepAll(r, true);
    std::vector<uint64_t> want = Stamps(f.iframes);
    want.erase(want.begin());
    EXPECT_EQ(rest, want);

    // Rewind ends forward stepping: the next step starts at the first I-frame.
    ASSERT_EQ(r.Rewind(), 0);
    ASSERT_EQ(r.NextIFrame(&p), 0);
    EXPECT_EQ(p->timestamp, kT0);
    r.ReleasePacket(p);
    // Streaming picks up at the delivered I-frame.
    EXPECT_EQ(NextStamp(r), kT0);
    EXPECT_EQ(r.FreePacketCount(), 5u);
}

TEST(ReaderSteps, BackwardFromTheMiddleDescendsToTheFirst) {
    UnevenFile f("step_backward");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    while (NextStamp(r) < f.iframes[5].ts + kFrame) {
    }
    std::vector<uint64_t> got = StepAll(r, false);
    // The first step gives the I-frame after the last packet read.
    std::vector<uint64_t> want;
    for (int i = 6; i >= 0; --i) want.push_back(f.iframes[i].ts);
    EXPECT_EQ(got, want);

    RecPacket* p = nullptr;
    EXPECT_EQ(r.PrevIFrame(&p), 1);
    EXPECT_EQ(r.NextIFrame(&p), 1);   // still backward stepping
    uint32_t type = 9;
    EXPECT_EQ(NextStamp(r, &type), kT0);   // streaming ends it, at the I-frame reached
    EXPECT_EQ(type, uint32_t(rec::kPacketIFrame));
    ASSERT_EQ(r.NextIFrame(&p), 0);
    r.ReleasePacket(p);
}

// Backward stepping after forward stepping turns at the I-frame the forward
// steps reached, however far they went, not where they began.
TEST(ReaderSteps, BackwardAfterForwardStepsTurnsWhereTheyStopped) {
    UnevenFile f("step_turn");
    for (int reached : {0, 4, 9}) {
        CFileQuib r;
        ASSERT_EQ(r.Open(f.path.c_str()), 0);
        ASSERT_EQ(r.Rewind(), 0);
        // Streamed a little way first, as play does before a fast rate.
        EXPECT_EQ(NextStamp(r), kT0);
        RecPacket* p = nullptr;
        // The first step delivers the I-frame streaming stopped at.
        for (int i = 0; i <= reached; ++i) {
            ASSERT_EQ(r.NextIFrame(&p), 0) << i;
            EXPECT_EQ(p->timestamp, f.iframes[size_t(i)].ts);
            r.ReleasePacket(p);
        }
        std::vector<uint64_t> got = StepAll(r, false);
        std::vector<uint64_t> want;
        for (int i = reached; i >= 0; --i) want.push_back(f.iframes[size_t(i)].ts);
        EXPECT_EQ(got, want) << "after " << reached << " forward steps";
        EXPECT_EQ(r.FreePacketCount(), 5u);
    }
}

// Fast and backward play show each I-frame with its information: a step
// asked for it gives the I-frame's own block (its second, its back-link)
// as an information packet of the I-frame's time, and none for an I-frame
// that carries no block.
TEST(ReaderSteps, StepsGiveEachIFramesInformation) {
    UnevenFile f("step_info");
    struct Step {
        RecPacket* picture;
        RecPacket* info;
    };
    for (bool forward : {true, false}) {
        SCOPED_TRACE(forward ? "forward" : "backward");
        CFileQuib r;
        ASSERT_EQ(r.Open(f.path.c_str()), 0);
        ASSERT_EQ(r.Rewind(), 0);
        if (!forward)
            while (NextStamp(r) < f.iframes.back().ts) {
            }
        std::vector<size_t> order;
        for (size_t i = 0; i < f.iframes.size(); ++i) order.push_back(forward ? i : f.iframes.size() - 1 - i);
        for (size_t i : order) {
            Step s = {nullptr, nullptr};
            ASSERT_EQ(forward ? r.NextIFrame(&s.picture, &s.info) : r.PrevIFrame(&s.picture, &s.info), 0) << i;
            EXPECT_EQ(s.picture->timestamp, f.iframes[i].ts);
            EXPECT_EQ(s.picture->length, f.iframes[i].videoLength);
            ASSERT_NE(s.info, nullptr) << i;
            EXPECT_EQ(s.info->type, uint32_t(rec::kPacketInfo));
            EXPECT_EQ(s.info->timestamp, f.iframes[i].ts);
            ASSERT_EQ(s.info->length, sizeof(InfoFrame));
            InfoFrame got;
            memcpy(&got, s.info->data, sizeof got);
            EXPECT_EQ(got.second, i) << "the block of another packet";
            EXPECT_EQ(got.backLink, i ? f.iframes[i - 1].offset : 0u);
            r.ReleasePacket(s.picture);
            r.ReleasePacket(s.info);
        }
        EXPECT_EQ(r.FreePacketCount(), 5u);
    }

    // An I-frame without a block gives the picture alone.
    RecordWriter w;
    InfoFrame first = Info(1);
    w.AddVideo(true, kT0, Payload(300), &first);
    w.AddVideo(true, kT0 + kFrame, Payload(300), std::vector<uint8_t>());
    const std::string path = TempPath("step_info_none");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    for (uint64_t ts : {kT0, kT0 + kFrame}) {
        RecPacket* p = nullptr;
        RecPacket* info = nullptr;
        ASSERT_EQ(r.NextIFrame(&p, &info), 0);
        EXPECT_EQ(p->timestamp, ts);
        EXPECT_EQ(info != nullptr, ts == kT0);
        r.ReleasePacket(p);
        if (info) r.ReleasePacket(info);
    }
    EXPECT_EQ(r.FreePacketCount(), 5u);
    r.Close();
    remove(path.c_str());
}

TEST(ReaderSteps, SeekEndsBackwardStepping) {
    UnevenFile f("step_seek");
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    RecPacket* p = nullptr;
    ASSERT_EQ(r.PrevIFrame(&p), 0);
    r.ReleasePacket(p);
    EXPECT_EQ(r.NextIFrame(&p), 1);
    ASSERT_EQ(r.SeekTime(0, nullptr), 0);
    ASSERT_EQ(r.NextIFrame(&p), 0);
    r.ReleasePacket(p);
}

// An I-frame tag just before the boundary of two backward windows is found.
TEST(ReaderSteps, BackwardWindowBoundary) {
    for (uint32_t k : {1u, 9u}) {
        RecordWriter w;
        InfoFrame info = Info(0);
        w.AddVideo(true, kT0, Payload(300), &info);
        w.AddRaw(Payload(5000, 2));
        uint32_t x = w.AddVideo(true, kT0 + kFrame, Payload(300), &info);
        uint32_t s1 = w.Size() - x;
        w.AddVideo(false, kT0 + 2 * kFrame, Payload(0x1F000 + k - s1 - 24));
        uint32_t last = w.AddVideo(false, kT0 + 3 * kFrame, Payload(100));
        ASSERT_EQ(last, x + 0x1F000 + k);
        std::string path = TempPath("step_window");
        ASSERT_TRUE(w.WriteFile(path));
        CFileQuib r;
        ASSERT_EQ(r.Open(path.c_str()), 0);
        ASSERT_EQ(r.Rewind(), 0);
        ReadAll(r);
        EXPECT_EQ(StepAll(r, false), (std::vector<uint64_t>{kT0 + kFrame, kT0})) << k;
        r.Close();
        remove(path.c_str());
    }
}

// Lengths and links that could send a step back to where it was.
TEST(ReaderSteps, HostileLinksAndLengthsDoNotLoop) {
    RecordWriter w;
    InfoFrame one = Info(0, 1);
    w.AddVideo(true, kT0, Payload(500), &one, true);           // link 1: no chain
    w.AddVideo(true, kT0 + kFrame, {}, &one, true);            // no picture, link 1
    InfoFrame info = Info(1);
    uint32_t third = w.AddVideo(true, kT0 + 2 * kFrame, Payload(500), &info);
    w.AddVideo(true, kT0 + 3 * kFrame, Payload(500), &info);
    InfoFrame self = Info(2, w.Size());                        // points at itself
    w.AddVideo(true, kT0 + 4 * kFrame, Payload(500), &self, true);
    std::string path = TempPath("step_hostile");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    EXPECT_EQ(StepAll(r, true).size(), 5u);

    // The first backward step passes over the two frames that begin no chain.
    ASSERT_EQ(r.Rewind(), 0);
    std::vector<uint64_t> back = StepAll(r, false);
    ASSERT_FALSE(back.empty());
    EXPECT_EQ(back.front(), kT0 + 2 * kFrame);
    (void)third;

    // From the last I-frame its forward link ends the backward steps at once.
    ASSERT_EQ(r.Rewind(), 0);
    ReadAll(r);
    EXPECT_EQ(StepAll(r, false).size(), 1u);
    r.Close();
    remove(path.c_str());
}

// An I-frame bigger than the scan buffer cannot be stepped to; the steps
// go on to the next one instead of reading it past the buffer's end.
TEST(ReaderSteps, OversizedIFrameIsPassedOver) {
    RecordWriter w;
    InfoFrame info = Info(0);
    w.AddVideo(true, kT0, Payload(500), &info);
    w.AddVideo(true, kT0 + kFrame, Payload(600000), &info);
    w.AddVideo(true, kT0 + 2 * kFrame, Payload(500), &info, true);
    std::string path = TempPath("step_oversized");
    ASSERT_TRUE(w.WriteFile(path));
    CFileQuib r;
    ASSERT_EQ(r.Open(path.c_str()), 0);
    ASSERT_EQ(r.Rewind(), 0);
    EXPECT_EQ(StepAll(r, true), (std::vector<uint64_t>{kT0, kT0 + 2 * kFrame}));
    r.Close();
    remove(path.c_str());
}

}  // namespace
