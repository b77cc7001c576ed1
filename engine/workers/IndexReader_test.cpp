// The index reader's scan: it walks every information packet to the end of
// the file and reports that end once per scan, never after a stop; the
// thread rules of start and stop; and the same through the exports.
#include "IndexReader.h"
#include "CutFile.h"

#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Calls {
    CRITICAL_SECTION lock;
    std::vector<int> messages, params;
    std::vector<void*> users;
    HANDLE called;
    Calls() {
        InitializeCriticalSection(&lock);
        called = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~Calls() {
        CloseHandle(called);
        DeleteCriticalSection(&lock);
    }
    size_t Count() {
        EnterCriticalSection(&lock);
        size_t n = messages.size();
        LeaveCriticalSection(&lock);
        return n;
    }
};

void CALLBACK OnMessage(int message, int param, void* user) {
    Calls* c = static_cast<Calls*>(user);
    EnterCriticalSection(&c->lock);
    c->messages.push_back(message);
    c->params.push_back(param);
    c->users.push_back(user);
    LeaveCriticalSection(&c->lock);
    SetEvent(c->called);
}

// `frames` one-second GOPs of 25 small pictures; information on every
// picture when `info` is set.
std::string Recording(const char* name, int frames, bool info) {
    recwriter::RecordWriter w;
    InfoFrame f{};
    f.gpsValid = 'A';
    for (int k = 0; k < frames; ++k) {
        f.speedKmh = uint16_t(k);
        w.AddVideo(k % 25 == 0, 1000000 + uint64_t(k) * 40000, std::vector<uint8_t>(64, uint8_t(k)),
                   info ? &f : nullptr);
        if (k % 10 == 0) w.AddAudio(3, std::vector<uint8_t>(168, 0));
    }
    w.Finish();
    EXPECT_TRUE(w.WriteFile(name));
    return name;
}

}  // namespace

TEST(IndexReader, ScansToTheEndAndReportsItOncePerScan) {
    for (bool info : {true, false}) {
        SCOPED_TRACE(info ? "information on every picture" : "no information at all");
        std::string path = Recording(info ? "index_info.rec" : "index_bare.rec", 300, info);
        Calls calls;
        CIndexReader reader;
        ASSERT_EQ(reader.Open(path.c_str()), 0);
        FileInfo fi{};
        ASSERT_EQ(reader.GetFileInfo(&fi), 0);
        EXPECT_EQ(fi.firstTimestamp, 1000000u);
        EXPECT_EQ(fi.durationMs, 299u * 40u);
        ASSERT_EQ(reader.SetCallBack(&calls, OnMessage), 0);

        EXPECT_EQ(reader.Stop(), 1);   // nothing started yet
        ASSERT_EQ(reader.Start(), 0);
        ASSERT_EQ(WaitForSingleObject(calls.called, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(reader.Start(), 1);   // the ended scan still holds its thread
        EXPECT_EQ(reader.Stop(), 0);
        ASSERT_EQ(calls.Count(), 1u);
        EXPECT_EQ(calls.messages[0], CIndexReader::kEndOfFile);
        EXPECT_EQ(calls.params[0], 0);
        EXPECT_EQ(calls.users[0], &calls);

        // Started again it reads on from the end: the end at once.
        ASSERT_EQ(reader.Start(), 0);
        ASSERT_EQ(WaitForSingleObject(calls.called, 10000), WAIT_OBJECT_0);
        EXPECT_EQ(reader.Stop(), 0);
        EXPECT_EQ(calls.Count(), 2u);
    }
}

TEST(IndexReader, AStoppedScanEndsWithoutTheEndReport) {
    // 20,000 information packets rest 5 ms every 50: the scan takes seconds.
    std::string path = Recording("index_long.rec", 20000, true);
    Calls calls;
    CIndexReader reader;
    ASSERT_EQ(reader.Open(path.c_str()), 0);
    reader.SetCallBack(&calls, OnMessage);
    ASSERT_EQ(reader.Start(), 0);
    Sleep(50);
    EXPECT_EQ(reader.Stop(), 0);
    Sleep(100);
    EXPECT_EQ(calls.Count(), 0u);
    // The destructor of a running scan stops it too.
    CIndexReader* running = new CIndexReader;
    ASSERT_EQ(running->Open(path.c_str()), 0);
    running->SetCallBack(&calls, OnMessage);
    ASSERT_EQ(running->Start(), 0);
    delete running;
    EXPECT_EQ(calls.Count(), 0u);
}

namespace {

// Half a gigabyte, written sparse: a second of pictures with their
// information at the data start, then nothing (a hole of zeros) up to a last
// second of pictures without information at the end. After the first
// second the scan searches for its next information packet through the
// hole and the last pictures to the end of the file.
struct SparseRecording {
    std::string path;
    bool ok = false;
    explicit SparseRecording(const char* name) : path(name) {
        const int64_t kTailAt = 512LL * 1024 * 1024;
        InfoFrame f{};
        f.gpsValid = 'A';
        recwriter::RecordWriter head, tail;
        for (int k = 0; k < 25; ++k) {
            head.AddVideo(k == 0, 1000000 + uint64_t(k) * 40000, std::vector<uint8_t>(64, 0x90), &f);
            tail.AddVideo(k == 0, 1000000 + uint64_t(kTailAt) + uint64_t(k) * 40000, std::vector<uint8_t>(64, 0x90));
        }
        head.SetEndOfData(0);   // the data runs to the end of the file
        head.Finish();
        tail.Finish();
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return;
        DWORD n = 0;
        bool good = WriteFile(h, head.Bytes().data(), DWORD(head.Size()), &n, nullptr) && n == head.Size();
        LARGE_INTEGER at;
        at.QuadPart = kTailAt;
        good = good && SetFilePointerEx(h, at, nullptr, FILE_BEGIN);
        DWORD tailBytes = DWORD(tail.Size() - rec::kDataStart);
        good = good && WriteFile(h, tail.Bytes().data() + rec::kDataStart, tailBytes, &n, nullptr) && n == tailBytes;
        CloseHandle(h);
        ok = good;
    }
    ~SparseRecording() { DeleteFileA(path.c_str()); }
};

}  // namespace

// A stop also reaches the reader's search: it gives up inside the hole and
// the scan ends without reporting an end (waiting for the search instead,
// the stop would come back only once the search had found the end of the
// file, and the end would be reported). A new start reads on from there to
// the real end.
TEST(IndexReader, AStopReachesASearchThroughAStretchWithoutInformation) {
    SparseRecording file("index_sparse.rec");
    ASSERT_TRUE(file.ok);
    Calls calls;
    CIndexReader reader;
    ASSERT_EQ(reader.Open(file.path.c_str()), 0);
    reader.SetCallBack(&calls, OnMessage);
    ASSERT_EQ(reader.Start(), 0);
    Sleep(100);   // the scan is in the hole by now
    EXPECT_EQ(reader.Stop(), 0);
    Sleep(100);
    EXPECT_EQ(calls.Count(), 0u) << "the stop waited for the scan to reach the end";

    ASSERT_EQ(reader.Start(), 0);
    ASSERT_EQ(WaitForSingleObject(calls.called, 50000), WAIT_OBJECT_0);
    EXPECT_EQ(reader.Stop(), 0);
    ASSERT_EQ(calls.Count(), 1u);
    EXPECT_EQ(calls.messages[0], CIndexReader::kEndOfFile);
}

TEST(IndexReader, RefusesWhatIsNoRecordFile) {
    recwriter::WriteBytes("index_foreign.bin", std::vector<uint8_t>(0x20000, 0x55));
    for (const char* path : {"index_foreign.bin", "no such file.rec"}) {
        CIndexReader reader;
        EXPECT_EQ(reader.Open(path), 1) << path;
        EXPECT_EQ(reader.Start(), 1) << path;
        EXPECT_EQ(reader.Stop(), 1) << path;
    }
}

TEST(IndexReader, ThroughTheExports) {
    std::string path = Recording("index_exports.rec", 100, true);
    void* handle = reinterpret_cast<void*>(1);
    EXPECT_EQ(OV_OpenIndexReader("index_foreign.bin", &handle), 1);
    EXPECT_EQ(handle, reinterpret_cast<void*>(1));   // nothing handed out
    EXPECT_EQ(OV_OpenIndexReader(path.c_str(), nullptr), 1);

    ASSERT_EQ(OV_OpenIndexReader(path.c_str(), &handle), 0);
    Calls calls;
    FileInfo fi{};
    EXPECT_EQ(OV_GetIndexFileInfo(handle, &fi), 0);
    EXPECT_EQ(fi.durationMs, 99u * 40u);
    EXPECT_EQ(OV_SetReaderCallBack(handle, &calls, OnMessage), 0);
    EXPECT_EQ(OV_StopIndexReader(handle), 1);
    EXPECT_EQ(OV_StartIndexReader(handle), 0);
    EXPECT_EQ(WaitForSingleObject(calls.called, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(OV_StartIndexReader(handle), 1);
    EXPECT_EQ(OV_StopIndexReader(handle), 0);
    EXPECT_EQ(OV_CloseIndexReader(handle), 0);
    EXPECT_EQ(calls.Count(), 1u);
}

TEST(CutFile, NeverOpensAndRefusesToStartWithoutAFile) {
    CCutFile cut;
    EXPECT_EQ(cut.Open("a.rec", "b.avi"), 1);
    EXPECT_EQ(cut.SetCallBack(nullptr, nullptr), 0);
    for (auto range : {std::make_pair(0, 1000), std::make_pair(-1, 10), std::make_pair(500, 100)})
        EXPECT_EQ(cut.Start(range.first, range.second), 1);
    EXPECT_EQ(cut.Stop(), 0);
    EXPECT_EQ(cut.Close(), 0);
}
