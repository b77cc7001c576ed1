// A recording played through the DLL into a window: information frames in
// file order, one end report, the snapshot of the last picture, prompt
// stops even in the middle of a long slow-motion frame, and erasing a
// handle with a channel still playing.
#include "Ostrivel.h"

#include "H264Stream.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint64_t kFirst = 1000000;

struct Events {
    CRITICAL_SECTION lock;
    std::vector<int> speeds;          // one per information frame, in arrival order
    std::vector<uint64_t> stamps;
    std::vector<int> ends;            // channels, one per end report
    HANDLE ended;
    Events() {
        InitializeCriticalSection(&lock);
        ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~Events() {
        CloseHandle(ended);
        DeleteCriticalSection(&lock);
    }
};

void CALLBACK OnInfo(const uint8_t* data, uint32_t length, uint32_t low, uint32_t high, void* user) {
    Events* e = static_cast<Events*>(user);
    InfoFrame f{};
    if (length >= sizeof f) memcpy(&f, data, sizeof f);
    EnterCriticalSection(&e->lock);
    e->speeds.push_back(length >= sizeof f ? f.speedKmh : -1);
    e->stamps.push_back(uint64_t(high) << 32 | low);
    LeaveCriticalSection(&e->lock);
}

void CALLBACK OnEnd(int channel, void* user) {
    Events* e = static_cast<Events*>(user);
    EnterCriticalSection(&e->lock);
    e->ends.push_back(channel);
    LeaveCriticalSection(&e->lock);
    SetEvent(e->ended);
}

// Waits for `event` while keeping the window's messages flowing.
bool WaitPumping(HANDLE event, DWORD ms) {
    DWORD until = GetTickCount() + ms;
    for (;;) {
        DWORD now = GetTickCount();
        if (int32_t(until - now) <= 0) return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
        DWORD r = MsgWaitForMultipleObjects(1, &event, FALSE, until - now, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) return true;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    }
}

void Pump(DWORD ms) {
    HANDLE never = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    WaitPumping(never, ms);
    CloseHandle(never);
}

// `count` frames of the test stream, `stepUs` apart, each with an
// information frame whose speed is the frame's number; `audioRun` sound
// packets and nothing else after frame `audioAfter`.
std::string MakeRecording(const char* name, size_t count, uint64_t stepUs, int audioRun = 0,
                          size_t audioAfter = 0) {
    std::vector<uint8_t> stream;
    EXPECT_TRUE(recwriter::ReadBytes("baseline_352x288.h264", &stream));
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(stream);
    EXPECT_GE(frames.size(), count);
    recwriter::RecordWriter w;
    for (size_t k = 0; k < count && k < frames.size(); ++k) {
        InfoFrame info{};
        info.year = 26;
        info.month = 12;
        info.day = 10;
        info.gpsValid = 'A';
        info.speedKmh = uint16_t(k);
        w.AddVideo(frames[k].intra, kFirst + k * stepUs, frames[k].bytes, &info);
        if (k == audioAfter)
            for (int a = 0; a < audioRun; ++a) w.AddAudio(3, std::vector<uint8_t>(2 * 168, uint8_t(a)));
    }
    w.Finish();
    EXPECT_TRUE(w.WriteFile(name));
    return name;
}

// One window for every test: the program's end takes it down (destroying
// a window that has shown pictures is slow under the test desktop).
HWND MakeWindow() {
    static HWND w = CreateWindowExA(0, "STATIC", "playback", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 340,
                             nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Pump(50);
    return w;
}

}  // namespace

TEST(Playback, PlaysToTheEndWithInformationInOrderAndOneEndReport) {
    const size_t kFrames = 30;
    std::string path = MakeRecording("playback_normal.rec", kFrames, 40000);
    HWND window = MakeWindow();
    ASSERT_TRUE(window);
    Events events;

    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(h);
    FileInfo probe{};
    EXPECT_EQ(OV_GetFileParam(h, &probe, path.c_str()), 0);
    EXPECT_EQ(probe.durationMs, (kFrames - 1) * 40);
    EXPECT_EQ(OV_GetFileParam(h, &probe, "baseline_352x288.h264"), 1);  // no record file

    ASSERT_EQ(OV_OpenFile(path.c_str(), window, 0, h), 0);
    FileInfo info{};
    ASSERT_EQ(OV_GetFileInfo(h, &info), 0);
    EXPECT_EQ(info.firstTimestamp, kFirst);
    EXPECT_EQ(info.lastTimestamp, kFirst + (kFrames - 1) * 40000);
    int ms = -1;
    ASSERT_EQ(OV_GetPlayTime(h, &ms), 0);
    EXPECT_EQ(ms, 0);   // nothing decoded yet

    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, OnInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &events, OnEnd), 0);
    ASSERT_EQ(OV_Play(h, 0), 0);
    ASSERT_TRUE(WaitPumping(events.ended, 10000)) << "no end report";
    Pump(500);   // several idle passes at the end: still one report

    EnterCriticalSection(&events.lock);
    std::vector<int> speeds = events.speeds;
    std::vector<uint64_t> stamps = events.stamps;
    std::vector<int> ends = events.ends;
    LeaveCriticalSection(&events.lock);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(ends[0], 0);
    // Every frame's information, in file order; the last one's at the end.
    ASSERT_EQ(speeds.size(), kFrames);
    for (size_t k = 0; k < speeds.size(); ++k) {
        EXPECT_EQ(speeds[k], int(k)) << k;
        EXPECT_EQ(stamps[k], kFirst + k * 40000) << k;
    }
    ASSERT_EQ(OV_GetPlayTime(h, &ms), 0);
    EXPECT_EQ(ms, int((kFrames - 1) * 40));

    // The last picture was decoded and kept: a whole 352 x 288 snapshot.
    DeleteFileA("playback_last.bmp");
    EXPECT_EQ(OV_CaptureBMP(h, 0, "playback_last.bmp", nullptr), 0);
    WIN32_FILE_ATTRIBUTE_DATA attr{};
    ASSERT_TRUE(GetFileAttributesExA("playback_last.bmp", GetFileExInfoStandard, &attr));
    EXPECT_EQ(attr.nFileSizeLow, 54u + 352u * 3u * 288u);

    // Played again from the start: the end is reported anew.
    ResetEvent(events.ended);
    ASSERT_EQ(OV_Play(h, 0), 0);
    ASSERT_TRUE(WaitPumping(events.ended, 10000));
    EnterCriticalSection(&events.lock);
    EXPECT_EQ(events.ends.size(), 2u);
    LeaveCriticalSection(&events.lock);

    EXPECT_EQ(OV_Stop(h, 0), 0);
    EXPECT_EQ(OV_CloseFile(h, 0), 0);
    EXPECT_EQ(OV_GetFileInfo(h, &info), 1);   // the slot is empty again
    EXPECT_EQ(OV_EraseDecoder(h), 0);
}

// Each end of the file is reported once, at every rate and direction, and
// a long run of sound packets (the video queue runs dry while the reader
// still has pictures) is no end.
TEST(Playback, OneEndReportPerEndAtEveryRate) {
    const size_t kFrames = 30;
    std::string path = MakeRecording("playback_audio_run.rec", kFrames, 40000, 60, 12);
    HWND window = MakeWindow();
    struct Case {
        int rate, reverse;
        bool allFrames;   // every frame's information arrives before the end
    } cases[] = {{0, 0, true}, {2, 0, true}, {4, 0, false}, {-1, 1, false}, {2, 1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate << " reverse " << c.reverse);
        Events events;
        void* h = nullptr;
        ASSERT_EQ(OV_CreateDecoder(&h), 0);
        ASSERT_EQ(OV_OpenFile(path.c_str(), window, 0, h), 0);
        ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, OnInfo), 0);
        ASSERT_EQ(OV_SetEndCallBack(h, &events, OnEnd), 0);
        ASSERT_EQ(OV_Play(h, 0), 0);
        ASSERT_EQ(OV_SetPlayRate(h, c.rate, c.reverse), 0);
        EXPECT_TRUE(WaitPumping(events.ended, 10000)) << "no end report";
        Pump(450);   // the idle passes at the end run every 100 ms
        EnterCriticalSection(&events.lock);
        EXPECT_EQ(events.ends.size(), 1u);
        if (c.allFrames) {
            EXPECT_EQ(events.speeds.size(), kFrames);
            for (size_t k = 0; k < events.speeds.size(); ++k) EXPECT_EQ(events.speeds[k], int(k));
        }
        LeaveCriticalSection(&events.lock);
        EXPECT_EQ(OV_CloseFile(h, 0), 0);
        EXPECT_EQ(OV_EraseDecoder(h), 0);
    }
}

TEST(Playback, StopReturnsPromptlyInTheMiddleOfALongSlowFrame) {
    // Frames 4 s apart at the slowest rate stay 64 s on screen: the play
    // thread's rests are 16 s long, and a stop must not wait them out.
    std::string path = MakeRecording("playback_slow.rec", 10, 4000000);
    HWND window = MakeWindow();
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_EQ(OV_OpenFile(path.c_str(), window, 0, h), 0);
    ASSERT_EQ(OV_Play(h, 0), 0);
    ASSERT_EQ(OV_SetPlayRate(h, -8, 0), 0);
    Pump(400);
    DWORD before = GetTickCount();
    EXPECT_EQ(OV_Stop(h, 0), 0);
    EXPECT_LT(GetTickCount() - before, 3000u);

    // Erasing the handle with the channel playing closes it first.
    ASSERT_EQ(OV_Play(h, 0), 0);
    Pump(200);
    before = GetTickCount();
    EXPECT_EQ(OV_EraseDecoder(h), 0);
    EXPECT_LT(GetTickCount() - before, 3000u);
}
