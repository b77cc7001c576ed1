// Damaged files, the way cards come out of crashed vehicles: cut tails,
// garbage and flipped bytes, from a fixed seed so that a failure repeats.
#include "FileQuib.h"
#include "ReaderFixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace fixture;
using recwriter::RecordWriter;

namespace {

const uint64_t kT0 = 3000000;
const uint64_t kFrame = 40000;

void BuildBase(RecordWriter& w) {
    uint64_t ts = kT0;
    for (int g = 0; g < 6; ++g) {
        InfoFrame f = Info(uint8_t(g));
        w.AddVideo(true, ts, Payload(1500 + g * 300, g), &f);
        ts += kFrame;
        for (int i = 0; i < 7 + g; ++i) {
            w.AddAudio(g % 2 ? 3 : 2, Payload(168, 1));
            w.AddVideo(false, ts, Payload(200 + 37 * i, 2), i % 2 ? &f : nullptr);
            ts += kFrame;
        }
    }
    w.Finish();
}

// Every operation, each with a bound that only a looping reader reaches.
void Exercise(const std::string& path, size_t fileSize) {
    const size_t bound = fileSize / 8 + 4;
    CFileQuib r;
    FileInfo fi;
    memset(&fi, 0, sizeof(fi));
    int probed = r.ProbeFileParam(&fi, path.c_str());
    if (r.Open(path.c_str()) != 0) {
        EXPECT_EQ(probed, 1);
        return;
    }
    EXPECT_EQ(probed, 0);
    ASSERT_EQ(r.Rewind(), 0);
    size_t n = 0;
    RecPacket* p = nullptr;
    RecPacket* info = nullptr;
    for (; n < bound; ++n) {
        info = nullptr;
        if (r.ReadPacket(&p, &info) != 0) break;
        EXPECT_LE(p->length, p->capacity);
        r.ReleasePacket(p);
        if (info) r.ReleasePacket(info);
    }
    ASSERT_LT(n, bound) << "reading does not end";
    const uint32_t duration = r.GetFileInfo().durationMs;
    for (uint32_t ms : {0u, duration / 3, duration / 2, duration}) {
        r.SeekTime(int32_t(ms), nullptr);
        info = nullptr;
        if (r.ReadPacket(&p, &info) == 0) r.ReleasePacket(p);
        if (info) r.ReleasePacket(info);
    }
    ASSERT_EQ(r.Rewind(), 0);
    for (n = 0; n < bound && r.NextIFrame(&p) == 0; ++n) r.ReleasePacket(p);
    ASSERT_LT(n, bound) << "forward steps do not end";
    for (n = 0; n < bound && r.PrevIFrame(&p) == 0; ++n) r.ReleasePacket(p);
    ASSERT_LT(n, bound) << "backward steps do not end";
    EXPECT_EQ(r.FreePacketCount(), 5u);
    r.Close();
}

TEST(ReaderDamage, CutTailsLoseOnlyTheCutPacket) {
    RecordWriter w;
    BuildBase(w);
    const std::vector<uint8_t> whole = w.Bytes();
    std::mt19937 rng(20261210);
    std::vector<uint32_t> cuts;
    for (const recwriter::PacketPlace& pl : w.Places())
        for (int d : {-1, 0, 1, 17}) cuts.push_back(uint32_t(int(pl.offset + pl.size) + d));
    for (int i = 0; i < 40; ++i) cuts.push_back(rec::kDataStart + rng() % (whole.size() - rec::kDataStart));
    std::string path = TempPath("damage_cut");
    for (uint32_t cut : cuts) {
        if (cut > whole.size()) continue;
        std::vector<uint8_t> bytes(whole.begin(), whole.begin() + cut);
        ASSERT_TRUE(recwriter::WriteBytes(path, bytes));
        CFileQuib r;
        const bool firstWhole = cut >= w.Places()[0].offset + w.Places()[0].size;
        ASSERT_EQ(r.Open(path.c_str()), firstWhole ? 0 : 1) << cut;
        if (!firstWhole) continue;
        ASSERT_EQ(r.Rewind(), 0);
        std::vector<Got> got = ReadAll(r);
        std::vector<Got> want = Expected(w, cut, kT0);
        ASSERT_EQ(got.size(), want.size()) << cut;
        for (size_t i = 0; i < want.size(); ++i) ASSERT_TRUE(got[i] == want[i]) << cut << " packet " << i;
        r.Close();
        Exercise(path, bytes.size());
    }
    remove(path.c_str());
}

TEST(ReaderDamage, GarbageBetweenPacketsIsSkipped) {
    RecordWriter w;
    BuildBase(w);
    std::mt19937 rng(7);
    std::string path = TempPath("damage_garbage");
    for (int round = 0; round < 20; ++round) {
        // Rebuild with runs of random bytes (no 'i' or 'a', so no tag) between packets.
        RecordWriter g;
        uint64_t ts = kT0;
        for (const recwriter::PacketPlace& pl : w.Places()) {
            if (rng() % 3 == 0) {
                std::vector<uint8_t> junk(rng() % 700);
                for (uint8_t& b : junk) {
                    b = uint8_t(rng());
                    if (b == 'i' || b == 'a') b = 0;
                }
                g.AddRaw(junk);
            }
            const uint8_t* t = w.Bytes().data() + pl.offset;
            if (rec::IsAudioTag(pl.kind)) {
                g.AddAudio(rec::TagAudioCodec(pl.kind), std::vector<uint8_t>(t + 8, t + pl.size));
            } else {
                uint32_t info = rec::LoadLE16(t + 12);
                InfoFrame f;
                if (info) memcpy(&f, t + 24, sizeof(f));
                g.AddVideo(pl.kind == rec::TagKind::IFrame, pl.timestamp,
                           std::vector<uint8_t>(t + 24 + info, t + pl.size), info ? &f : nullptr);
            }
            ts = pl.timestamp;
        }
        (void)ts;
        ASSERT_TRUE(g.WriteFile(path));
        CFileQuib r;
        ASSERT_EQ(r.Open(path.c_str()), 0);
        ASSERT_EQ(r.Rewind(), 0);
        std::vector<Got> got = ReadAll(r);
        std::vector<Got> want = Expected(g, g.Size(), kT0);
        EXPECT_EQ(got.size(), want.size()) << round;
        EXPECT_EQ(want.size(), Expected(w, w.Size(), kT0).size());
        r.Close();
        Exercise(path, g.Size());
    }
    remove(path.c_str());
}

TEST(ReaderDamage, FlippedBytesNeverHangOrOverrun) {
    RecordWriter w;
    BuildBase(w);
    const std::vector<uint8_t> whole = w.Bytes();
    std::mt19937 rng(1234567);
    std::string path = TempPath("damage_flip");
    for (int round = 0; round < 150; ++round) {
        std::vector<uint8_t> bytes = whole;
        int flips = 1 + int(rng() % 24);
        for (int i = 0; i < flips; ++i) {
            size_t at;
            if (rng() % 8 == 0) {
                at = rng() % rec::kHeaderSize;                       // the header
            } else {
                // Mostly the packet headers, where lengths and links live.
                const recwriter::PacketPlace& pl = w.Places()[rng() % w.Places().size()];
                at = pl.offset + rng() % std::min<uint32_t>(pl.size, 80);
            }
            bytes[at] = uint8_t(rng() % 4 == 0 ? 0xFF : rng());
        }
        if (rng() % 4 == 0) bytes.resize(rec::kDataStart + rng() % (bytes.size() - rec::kDataStart));
        ASSERT_TRUE(recwriter::WriteBytes(path, bytes));
        Exercise(path, bytes.size());
        if (HasFatalFailure()) FAIL() << "round " << round;
    }
    remove(path.c_str());
}

}  // namespace
