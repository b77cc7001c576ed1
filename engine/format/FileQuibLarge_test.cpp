// A recording of more than 2 GB, written sparse: a first GOP at the data
// start, a hole, and the rest of the recording past the 2 GB mark.
#include "FileQuib.h"
#include "ReaderFixture.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace fixture;
using recwriter::RecordWriter;

namespace {

const int64_t kTailAt = 0x90000000LL;   // 2.25 GB

struct LargeFile {
    std::string path = TempPath("large");
    std::vector<uint64_t> iframes;       // timestamps in file order
    uint64_t lastTs = 0;
    bool ok = false;

    // Timestamps are the byte distance from the data start, in microseconds,
    // so that the seek's interpolation lands where the data is.
    LargeFile() {
        RecordWriter head;
        InfoFrame info = Info(0);
        uint32_t lastHead = 0;
        for (int i = 0; i < 3; ++i) {
            uint32_t at = head.Size();
            info.backLink = lastHead;
            head.AddVideo(true, at - rec::kDataStart, Payload(3000), &info, true);
            iframes.push_back(at - rec::kDataStart);
            lastHead = at;
            head.AddVideo(false, head.Size() - rec::kDataStart, Payload(1000));
        }
        head.SetEndOfData(0);
        head.Finish();

        RecordWriter tail;
        int64_t link = lastHead;
        for (int i = 0; i < 20; ++i) {
            int64_t at = kTailAt + (tail.Size() - rec::kDataStart);
            InfoFrame f = Info(uint8_t(40 + i), uint32_t(link));
            tail.AddVideo(true, uint64_t(at - rec::kDataStart), Payload(40000), &f, true);
            iframes.push_back(uint64_t(at - rec::kDataStart));
            link = at;
            for (int k = 0; k < 3; ++k) {
                lastTs = uint64_t(kTailAt + (tail.Size() - rec::kDataStart) - rec::kDataStart);
                tail.AddVideo(false, lastTs, Payload(20000));
            }
        }
        const std::vector<uint8_t>& tb = tail.Bytes();

        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        DWORD n = 0;
        bool good = WriteFile(h, head.Bytes().data(), DWORD(head.Size()), &n, nullptr) && n == head.Size();
        LARGE_INTEGER at;
        at.QuadPart = kTailAt;
        good = good && SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
        DWORD tailBytes = DWORD(tb.size() - rec::kDataStart);
        good = good && WriteFile(h, tb.data() + rec::kDataStart, tailBytes, &n, nullptr) && n == tailBytes;
        good = good && SetEndOfFile(h);
        CloseHandle(h);
        ok = good;
    }
    ~LargeFile() { DeleteFileA(path.c_str()); }
};

TEST(ReaderLarge, ReadsSeeksAndStepsPastTwoGigabytes) {
    LargeFile f;
    ASSERT_TRUE(f.ok);
    CFileQuib r;
    ASSERT_EQ(r.Open(f.path.c_str()), 0);
    EXPECT_EQ(r.GetFileInfo().firstTimestamp, 0u);
    EXPECT_EQ(r.GetFileInfo().lastTimestamp, f.lastTs);
    EXPECT_EQ(r.GetFileInfo().durationMs, uint32_t(f.lastTs / 1000));
    EXPECT_GT(r.DataEnd(), int64_t(0x80000000LL));

    // A seek into the tail lands on a tail I-frame and reads on from it.
    const uint64_t target = f.iframes[12];
    ASSERT_EQ(r.SeekTime(int32_t(target / 1000), nullptr), 0);
    RecPacket* p = nullptr;
    RecPacket* info = nullptr;
    ASSERT_EQ(r.ReadPacket(&p, &info), 0);
    EXPECT_EQ(p->type, uint32_t(rec::kPacketIFrame));
    EXPECT_GE(p->timestamp, f.iframes[3]);
    EXPECT_LE(p->timestamp > target ? p->timestamp - target : target - p->timestamp, 1000000u);
    r.ReleasePacket(p);
    if (info) r.ReleasePacket(info);

    // Backward steps from the end cross the hole by the back-links.
    ASSERT_EQ(r.SeekTime(int32_t(f.lastTs / 1000), nullptr), 0);
    info = nullptr;
    ASSERT_EQ(r.ReadPacket(&p, &info), 0);
    r.ReleasePacket(p);
    if (info) r.ReleasePacket(info);
    std::vector<uint64_t> back;
    while (back.size() < 100 && r.PrevIFrame(&p) == 0) {
        back.push_back(p->timestamp);
        r.ReleasePacket(p);
    }
    std::vector<uint64_t> want(f.iframes.rbegin(), f.iframes.rend());
    EXPECT_EQ(back, want);
    r.Close();

    // The probe reads near the start and the end only.
    CFileQuib probe;
    FileInfo fi;
    memset(&fi, 0, sizeof(fi));
    ASSERT_EQ(probe.ProbeFileParam(&fi, f.path.c_str()), 0);
    EXPECT_EQ(fi.endTime.wSecond, 59);
    EXPECT_EQ(fi.durationMs, uint32_t(f.lastTs / 1000));
    EXPECT_LT(probe.BytesRead(), 1000000u);
}

}  // namespace
