// Four channels of one decoder handle played through the DLL into four
// windows, as the player program plays a recording group: the channels
// start at different times and follow the sync channel, information comes
// from the sync channel in order, every channel's end is reported once,
// and rates, pause, single steps, seeks, sound, snapshots and on-screen
// text work on all four together. Every picture of the test streams shows
// its frame number and channel (FrameCode.h), so a channel's snapshot
// tells which picture it shows.
#include "Ostrivel.h"

#include "ChannelRecordings.h"
#include "FrameCode.h"
#include "TestDesktop.h"

#include <gtest/gtest.h>

#include <mmsystem.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// Channel 2 starts first and is the sync channel; the others start 0.25 s,
// 0.5 s and 1 s later. With files of one length they end in the order
// 2, 3, 1, 0.
const uint64_t kOffsets[4] = {1000000, 500000, 0, 250000};
// How far a slave may be from the master: the slaves keep within a frame
// or two; a slave that does not follow is off by its start offset.
const int64_t kStepTolMs = 160;

struct InfoEvent {
    int channel;   // the information frame's heading
    int frame;     // its speed
    uint64_t stamp;
    DWORD thread;
};

// What the callbacks saw, in arrival order.
class Events {
public:
    Events() { InitializeCriticalSection(&lock_); }
    ~Events() { DeleteCriticalSection(&lock_); }
    void Info(const InfoEvent& e) {
        EnterCriticalSection(&lock_);
        infos_.push_back(e);
        LeaveCriticalSection(&lock_);
    }
    void End(int channel) {
        EnterCriticalSection(&lock_);
        ends_.push_back(channel);
        LeaveCriticalSection(&lock_);
    }
    std::vector<InfoEvent> Infos() {
        EnterCriticalSection(&lock_);
        std::vector<InfoEvent> copy = infos_;
        LeaveCriticalSection(&lock_);
        return copy;
    }
    std::vector<int> Ends() {
        EnterCriticalSection(&lock_);
        std::vector<int> copy = ends_;
        LeaveCriticalSection(&lock_);
        return copy;
    }

private:
    CRITICAL_SECTION lock_;
    std::vector<InfoEvent> infos_;
    std::vector<int> ends_;
};

InfoEvent Decode(const uint8_t* data, uint32_t length, uint32_t low, uint32_t high) {
    InfoFrame f{};
    if (length >= sizeof f) memcpy(&f, data, sizeof f);
    return {length >= sizeof f ? int(f.heading) : -1, length >= sizeof f ? int(f.speedKmh) : -1,
            uint64_t(high) << 32 | low, GetCurrentThreadId()};
}

void CALLBACK RecordInfo(const uint8_t* data, uint32_t length, uint32_t low, uint32_t high, void* user) {
    static_cast<Events*>(user)->Info(Decode(data, length, low, high));
}

void CALLBACK RecordEnd(int channel, void* user) { static_cast<Events*>(user)->End(channel); }

// Milliseconds from the group's start of picture `frame` of `channel`.
int64_t GroupMs(int channel, int frame) {
    return int64_t((FrameTime(kOffsets[channel], frame) - GroupStart()) / 1000);
}

// The picture a channel shows, read from its snapshot.
bool Shown(void* h, int channel, FrameCode* code) {
    std::string path = "multi_shown_" + std::to_string(channel) + ".bmp";
    DeleteFileA(path.c_str());
    if (OV_CaptureBMP(h, channel, path.c_str(), nullptr) != 0) return false;
    BmpPicture picture;
    return ReadBmp(path, &picture) && ReadFrameCode(picture, code) && code->channel == channel;
}

// The picture a channel's pane shows on the screen.
bool OnScreen(int channel, FrameCode* code) {
    ScreenShot shot = Grab(Pane(channel));
    BmpPicture picture;
    picture.width = shot.width;
    picture.height = shot.height;
    picture.rows.assign(size_t(picture.RowBytes()) * size_t(shot.height), 0);
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            uint32_t p = shot.At(x, y);
            uint8_t* bgr = &picture.rows[size_t(shot.height - 1 - y) * picture.RowBytes() + size_t(x) * 3];
            bgr[0] = uint8_t(p);
            bgr[1] = uint8_t(p >> 8);
            bgr[2] = uint8_t(p >> 16);
        }
    return ReadFrameCode(picture, code) && code->channel == channel;
}

// The channels against the sync channel, whose picture is read before and
// after theirs: each shows the sync channel's time within `tolMs`; one
// whose file does not reach that time waits on its first pictures (the
// start shows three) or stays on its last.
testing::AssertionResult InStep(void* h, int frames, int64_t tolMs) {
    int sync = OV_GetSynChannel(h);
    if (sync < 0 || sync > 3) return testing::AssertionFailure() << "sync channel " << sync;
    FrameCode before, after, code[4];
    if (!Shown(h, sync, &before)) return testing::AssertionFailure() << "no picture on sync channel " << sync;
    bool shown[4] = {};
    for (int k = 0; k < 4; ++k) shown[k] = k != sync && Shown(h, k, &code[k]);
    if (!Shown(h, sync, &after)) return testing::AssertionFailure() << "no picture on sync channel " << sync;
    int64_t m0 = GroupMs(sync, before.frame), m1 = GroupMs(sync, after.frame);
    testing::Message what;
    what << "sync channel " << sync << " at " << m0 << ".." << m1 << " ms;";
    bool ok = true;
    for (int k = 0; k < 4; ++k) {
        if (k == sync) continue;
        if (!shown[k]) {
            ok = false;
            what << " channel " << k << " shows no coded picture;";
            continue;
        }
        auto clamp = [&](int64_t t) { return std::min(std::max(t, GroupMs(k, 2)), GroupMs(k, frames - 1)); };
        int64_t lo = clamp(std::min(m0, m1)) - tolMs, hi = clamp(std::max(m0, m1)) + tolMs;
        int64_t t = GroupMs(k, code[k].frame);
        what << " channel " << k << " at " << t;
        if (t < lo || t > hi) {
            ok = false;
            what << " (outside " << lo << ".." << hi << ")";
        }
        what << ";";
    }
    return ok ? testing::AssertionSuccess() << what : testing::AssertionFailure() << what;
}

// Pumps until the sync channel has played `ms` of its file. The first
// pictures of four channels can take a second or two to show: each
// channel sets up its display on its first picture.
bool PlayedTo(void* h, int ms) {
    return PumpUntil([&] {
        int t = -1;
        return OV_GetPlayTime(h, &t) == 0 && t >= ms;
    }, 10000);
}

// The four recordings of one test, `frames` pictures each.
struct Group {
    std::string paths[4];
    bool written = true;
    Group(const char* name, int frames) : Group(name, {frames, frames, frames, frames}) {}
    // Channel k with frames[k] pictures.
    Group(const char* name, std::array<int, 4> frames) {
        for (int k = 0; k < 4; ++k) {
            paths[k] = std::string("multi_") + name + "_ch" + std::to_string(k) + ".rec";
            written = WriteChannelRecording(paths[k], k, kOffsets[k], size_t(frames[size_t(k)])) && written;
        }
    }
    // Opens every channel into its pane, in channel order.
    bool Open(void* h) const {
        for (int k = 0; k < 4; ++k)
            if (OV_OpenFile(paths[k].c_str(), Pane(k), k, h) != 0) return false;
        return true;
    }
};

void CloseAll(void* h) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(OV_Stop(h, k), 0);
        EXPECT_EQ(OV_CloseFile(h, k), 0);
    }
    EXPECT_EQ(OV_EraseDecoder(h), 0);
}

// Each channel's information frames carry their pictures' timestamps and,
// in arrival order, are consecutive pictures of its file (unless the play
// jumped: seeks, I-frames only).
void ExpectConsecutive(const std::vector<InfoEvent>& infos, bool consecutive = true) {
    int last[4] = {-1, -1, -1, -1};
    for (size_t i = 0; i < infos.size(); ++i) {
        const InfoEvent& e = infos[i];
        ASSERT_TRUE(e.channel >= 0 && e.channel < 4) << i;
        if (consecutive && last[e.channel] >= 0) { EXPECT_EQ(e.frame, last[e.channel] + 1) << "info " << i << " channel " << e.channel; }
        EXPECT_EQ(e.stamp, FrameTime(kOffsets[e.channel], e.frame)) << i;
        last[e.channel] = e.frame;
    }
}

}  // namespace

// No caller steps in: the engine alone chooses the sync channel at open and
// each time the master ends, and the slaves follow whichever it is.
TEST(MultiChannel, FourChannelsFollowTheSyncChannelToTheirEnds) {
    const int kFrames = 75;   // 3 s each
    Group group("follow", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    // Opened in channel order: the earliest start so far is the sync channel.
    const int syncAfterOpen[4] = {0, 1, 2, 2};
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(OV_OpenFile(group.paths[k].c_str(), Pane(k), k, h), 0);
        EXPECT_EQ(OV_GetSynChannel(h), syncAfterOpen[k]) << "after opening " << k;
    }
    FileInfo info{};
    ASSERT_EQ(OV_GetFileInfo(h, &info), 0);
    EXPECT_EQ(info.firstTimestamp, FrameTime(kOffsets[2], 0));   // the sync channel's

    Events events;
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, RecordInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &events, RecordEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);

    std::vector<int> syncs = {OV_GetSynChannel(h)};
    int samples = 0;
    DWORD start = GetTickCount();
    while (events.Ends().size() < 4 && GetTickCount() - start < 15000) {
        Pump(100);
        int sync = OV_GetSynChannel(h);
        if (sync != syncs.back()) syncs.push_back(sync);
        EXPECT_TRUE(InStep(h, kFrames, kStepTolMs)) << "at " << GetTickCount() - start << " ms";
        ++samples;
    }
    Pump(300);   // the idle passes at the ends report nothing more
    EXPECT_GE(samples, 20);
    EXPECT_EQ(events.Ends(), (std::vector<int>{2, 3, 1, 0}));
    // Each master's end handed the sync channel to the playing channel with
    // the earliest start; the last one keeps it.
    EXPECT_EQ(syncs, (std::vector<int>{2, 3, 1, 0}));
    EXPECT_EQ(OV_GetSynChannel(h), 0);
    int ms = -1;
    ASSERT_EQ(OV_GetPlayTime(h, &ms), 0);
    EXPECT_EQ(ms, GroupMs(0, kFrames - 1));   // channel 0's last picture, on the group's time

    // The callback was installed on the first sync channel only and never
    // again: every picture of channel 2, in order, and nothing after the
    // master changed.
    std::vector<InfoEvent> infos = events.Infos();
    ASSERT_EQ(infos.size(), size_t(kFrames));
    for (int k = 0; k < kFrames; ++k) {
        EXPECT_EQ(infos[size_t(k)].channel, 2) << k;
        EXPECT_EQ(infos[size_t(k)].frame, k) << k;
    }
    ExpectConsecutive(infos);
    CloseAll(h);
}

namespace {

// The player program's control panel: the callbacks copy and post, and the
// panel's thread answers each end by making the playing channel whose file
// ends last the sync channel, installing the information callback on it
// again and reading the new sync channel's time and file information.
const UINT kChannelEndMessage = 0x1405;
const UINT kInfoFrameMessage = 0x1406;

struct PostedInfo {
    InfoEvent event;
};

class ControlPanel {
public:
    explicit ControlPanel(void* handle) : h(handle) {
        static ATOM atom = [] {
            WNDCLASSA c = {};
            c.lpfnWndProc = &ControlPanel::Proc;
            c.hInstance = GetModuleHandleA(nullptr);
            c.lpszClassName = "ZarvTestControlPanel";
            return RegisterClassA(&c);
        }();
        (void)atom;
        window = CreateWindowExA(0, "ZarvTestControlPanel", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(this));
        for (bool& p : playing) p = true;
    }
    ~ControlPanel() {
        // Whatever is still queued was posted for this panel: free it.
        MSG m;
        while (PeekMessageA(&m, window, kInfoFrameMessage, kInfoFrameMessage, PM_REMOVE))
            delete reinterpret_cast<PostedInfo*>(m.lParam);
        DestroyWindow(window);
    }

    static void CALLBACK PostInfo(const uint8_t* data, uint32_t length, uint32_t low, uint32_t high, void* user) {
        ControlPanel* panel = static_cast<ControlPanel*>(user);
        PostedInfo* copy = new PostedInfo{Decode(data, length, low, high)};
        if (!PostMessageA(panel->window, kInfoFrameMessage, 0, LPARAM(copy))) delete copy;
    }
    static void CALLBACK PostEnd(int channel, void* user) {
        ControlPanel* panel = static_cast<ControlPanel*>(user);
        PostMessageA(panel->window, kChannelEndMessage, WPARAM(channel), 0);
        // A panel thread that answers at once: the answer comes before
        // this callback returns.
        if (panel->answered) WaitForSingleObject(panel->answered, 3000);
    }

    void* h;
    HWND window = nullptr;
    bool playing[4];
    int lastFrame = 0;               // of every channel's file
    std::vector<InfoEvent> infos;    // in the order the panel took them
    std::vector<int> ends;
    std::vector<int> chosen;         // the sync channel set after each end
    HANDLE answered = nullptr;       // set when the panel has answered an end

private:
    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
        ControlPanel* panel = reinterpret_cast<ControlPanel*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (panel && message == kInfoFrameMessage) {
            PostedInfo* copy = reinterpret_cast<PostedInfo*>(lp);
            panel->infos.push_back(copy->event);
            delete copy;
            return 0;
        }
        if (panel && message == kChannelEndMessage) {
            panel->OnChannelEnd(int(wp));
            return 0;
        }
        return DefWindowProcA(w, message, wp, lp);
    }

    void OnChannelEnd(int channel) {
        ends.push_back(channel);
        if (channel >= 0 && channel < 4) playing[channel] = false;
        // The playing channel whose file ends last; equal ends keep the highest.
        int candidate = -1;
        for (int k = 3; k >= 0; --k)
            if (playing[k] && (candidate < 0 || GroupMs(k, lastFrame) > GroupMs(candidate, lastFrame))) candidate = k;
        if (candidate < 0) {
            if (answered) SetEvent(answered);
            return;   // the player program moves on to the next recording
        }
        EXPECT_EQ(OV_SetSynChannel(h, candidate), 0);
        EXPECT_EQ(OV_SetInfoFrameCallBack(h, this, PostInfo), 0);
        EXPECT_EQ(OV_GetSynChannel(h), candidate);
        FileInfo info{};
        EXPECT_EQ(OV_GetFileInfo(h, &info), 0);
        EXPECT_EQ(info.firstTimestamp, FrameTime(kOffsets[candidate], 0));
        int ms = -1;
        EXPECT_EQ(OV_GetPlayTime(h, &ms), 0);
        EXPECT_GE(ms, 0);
        chosen.push_back(candidate);
        if (answered) SetEvent(answered);
    }
};

}  // namespace

// The player program answers every end: the sync channel moves where it
// says, the slaves follow it, and information comes from each channel it
// installs the callback on. A channel set by hand mid-play leads too.
TEST(MultiChannel, SyncChannelSetByTheCallerOnEveryEnd) {
    const int kFrames = 75;
    Group group("caller", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    ControlPanel panel(h);
    panel.lastFrame = kFrames - 1;
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &panel, ControlPanel::PostInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &panel, ControlPanel::PostEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);

    // Every channel plays after 1 s; then channel 3, neither the earliest
    // start nor the latest end, is made the master.
    ASSERT_TRUE(PlayedTo(h, 1300));
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    EXPECT_EQ(OV_SetSynChannel(h, 3), 0);
    EXPECT_EQ(OV_SetSynChannel(h, 3), 0);   // already the sync channel: nothing changes
    EXPECT_EQ(OV_SetInfoFrameCallBack(h, &panel, ControlPanel::PostInfo), 0);
    EXPECT_EQ(OV_GetSynChannel(h), 3);
    FrameCode shown;
    ASSERT_TRUE(Shown(h, 3, &shown));
    int ms = -1;
    ASSERT_EQ(OV_GetPlayTime(h, &ms), 0);   // the new sync channel's picture, on the group's time
    EXPECT_NEAR(ms, GroupMs(3, shown.frame), 80);

    DWORD start = GetTickCount();
    while (panel.ends.size() < 4 && GetTickCount() - start < 15000) {
        Pump(100);
        // Between an end and the panel's answer the ended channel leads.
        int sync = OV_GetSynChannel(h);
        if (sync >= 0 && panel.playing[sync]) {
            EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
        }
    }
    Pump(300);
    EXPECT_EQ(panel.ends, (std::vector<int>{2, 3, 1, 0}));
    // Channel 0's file ends last: the panel hands it the lead at every end
    // of a slave; at its own end nothing plays any more.
    EXPECT_EQ(panel.chosen, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(OV_GetSynChannel(h), 0);

    // Channel 2 delivered from the start until channel 3 was made the sync
    // channel, channel 3 from then on until channel 2, a slave by then,
    // ended first; channel 0 from that end on; channel 1 never led. A
    // channel's callback stays installed when the lead moves on, but only
    // the sync channel's frames reach it.
    int count[4] = {};
    int first[4] = {-1, -1, -1, -1};
    for (const InfoEvent& e : panel.infos) {
        ASSERT_TRUE(e.channel >= 0 && e.channel < 4);
        if (first[e.channel] < 0) first[e.channel] = e.frame;
        ++count[e.channel];
    }
    ExpectConsecutive(panel.infos);
    EXPECT_EQ(first[2], 0);
    // Channel 2 starts 0.25 s before channel 3: 6 of its frames ahead.
    EXPECT_NEAR(count[2], shown.frame + 6, 3);
    EXPECT_NEAR(first[3], shown.frame, 3);
    // Until channel 2's end at 2.96 s of the group: its frame 68.
    EXPECT_NEAR(first[3] + count[3], 69, 3);
    EXPECT_GT(first[0], 40);   // channel 0 at group time 2960 ms is at its frame 49
    EXPECT_EQ(first[0] + count[0], kFrames);
    EXPECT_EQ(count[1], 0);
    CloseAll(h);
}

namespace {

// Milliseconds of play time that pass per millisecond while pumping `ms`.
double Speed(void* h, DWORD ms) {
    int t0 = 0, t1 = 0;
    OV_GetPlayTime(h, &t0);
    DWORD w0 = GetTickCount();
    Pump(ms);
    OV_GetPlayTime(h, &t1);
    DWORD w1 = GetTickCount();
    return double(t1 - t0) / double(w1 - w0 ? w1 - w0 : 1);
}

}  // namespace

// The controls act on all four channels at once, and the slaves stay with
// the master through each of them, with sound on one channel throughout.
TEST(MultiChannel, PauseStepSeekAndRatesKeepTheChannelsTogether) {
    ASSERT_GE(waveOutGetNumDevs(), 1u) << "no sound device (scripts/ctest-wine provides a null one)";
    const int kFrames = 750;   // 30 s each
    Group group("controls", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    Events events;
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, RecordInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &events, RecordEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_EQ(OV_PlaySound(h, 1), 0);
    ASSERT_EQ(OV_SetVolume(h, 0x8000), 0);
    ASSERT_TRUE(PlayedTo(h, 1300));
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));

    // Paused: no channel moves, no information comes.
    ASSERT_EQ(OV_Pause(h, 1), 0);
    Pump(150);
    FrameCode held[4];
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(Shown(h, k, &held[k])) << k;
    int before = -1, after = -1;
    ASSERT_EQ(OV_GetPlayTime(h, &before), 0);
    size_t infoCount = events.Infos().size();
    Pump(500);
    for (int k = 0; k < 4; ++k) {
        FrameCode now;
        ASSERT_TRUE(Shown(h, k, &now));
        EXPECT_EQ(now.frame, held[k].frame) << "channel " << k << " moved while paused";
    }
    ASSERT_EQ(OV_GetPlayTime(h, &after), 0);
    EXPECT_EQ(after, before);
    EXPECT_EQ(events.Infos().size(), infoCount);

    // Single steps: the master shows its next picture and hands the shown
    // one's information over on the caller's thread; the slaves keep up.
    for (int step = 0; step < 5; ++step) {
        SCOPED_TRACE(testing::Message() << "step " << step);
        ASSERT_EQ(OV_GetPlayTime(h, &before), 0);
        size_t n = events.Infos().size();
        ASSERT_EQ(OV_PlayOneByOne(h), 0);
        ASSERT_EQ(OV_GetPlayTime(h, &after), 0);
        EXPECT_EQ(after, before + 40);
        std::vector<InfoEvent> infos = events.Infos();
        ASSERT_EQ(infos.size(), n + 1);
        EXPECT_EQ(infos.back().channel, 2);
        EXPECT_EQ(infos.back().frame, before / 40);
        EXPECT_EQ(infos.back().thread, GetCurrentThreadId());
        EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    }
    Pump(300);
    ASSERT_EQ(OV_GetPlayTime(h, &before), 0);
    EXPECT_EQ(before, after);   // still paused after the steps

    // A seek while paused puts every channel at 3 s of the group's time
    // (each at its own place in its file) and shows it there: the reader
    // goes to an I-frame (a second apart here) within a second after it.
    ASSERT_EQ(OV_SetPlayTime(h, 3000), 0);
    ASSERT_EQ(OV_GetPlayTime(h, &after), 0);
    EXPECT_GE(after, 3000);
    EXPECT_LE(after, 3160);
    for (int k = 0; k < 4; ++k) {
        FrameCode now, screen;
        ASSERT_TRUE(Shown(h, k, &now));
        EXPECT_GE(GroupMs(k, now.frame), 3000) << k;
        EXPECT_LE(GroupMs(k, now.frame), 4160) << k;
        // The pane shows that picture, drawn before the call returned.
        ASSERT_TRUE(OnScreen(k, &screen)) << k;
        EXPECT_EQ(screen.frame, now.frame) << k;
    }
    ASSERT_EQ(OV_Pause(h, 0), 0);
    Pump(1100);
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    double normal = Speed(h, 1000);
    EXPECT_GE(normal, 0.8);
    EXPECT_LE(normal, 1.2);

    // Rates, each for a second after it settles: the master's pace, and the
    // slaves with it. At a fast rate four channels decode back to back here
    // and a slave may fall some frames behind. At 4 and above and backwards only I-frames play, a
    // second apart: a slave keeps within about an I-frame of the master;
    // backwards at rate 0 one that trails waits until it is a whole
    // interval behind, so up to two.
    struct Rate {
        int rate, reverse;
        double slowest, fastest;   // play milliseconds per millisecond
        int64_t tolMs;
        DWORD settleMs;
    } rates[] = {
        {2, 0, 1.25, 2.3, 400, 300},  {4, 0, 2.5, 5.5, 1300, 300},
        // Slow again: a slave keeps the I-frame it showed at rate 4 until the
        // master's clock reaches the next one it read ahead, up to a second
        // of recording later (four at this rate): within about an I-frame.
        {-2, 0, 0.15, 0.35, 1300, 1000},
        // Backwards a slave that trails waits until it is a whole interval
        // behind, at either rate: up to two I-frames.
        {0, 1, -2.2, -0.4, 2300, 300}, {-2, 1, -6.0, -2.5, 2300, 300},
        // Forward again: a slave left a second or more behind in backward
        // play is now ahead, and waits until the master comes to it.
        {0, 0, 0.8, 1.2, kStepTolMs, 2500},
    };
    for (const Rate& r : rates) {
        SCOPED_TRACE(testing::Message() << "rate " << r.rate << " reverse " << r.reverse);
        ASSERT_EQ(OV_SetPlayRate(h, r.rate, r.reverse), 0);
        Pump(r.settleMs);
        double speed = Speed(h, 1000);
        EXPECT_GE(speed, r.slowest);
        EXPECT_LE(speed, r.fastest);
        EXPECT_TRUE(InStep(h, kFrames, r.tolMs));
    }

    // Sound moves to another channel and goes off; play goes on.
    ASSERT_EQ(OV_PlaySound(h, 3), 0);
    Pump(300);
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    ASSERT_EQ(OV_StopSound(h), 0);
    ASSERT_EQ(OV_PlaySound(h, 0), 0);
    Pump(300);
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    EXPECT_TRUE(events.Ends().empty());
    std::vector<InfoEvent> infos = events.Infos();
    ExpectConsecutive(infos, false);
    for (const InfoEvent& e : infos) EXPECT_EQ(e.channel, 2);

    // Stops are prompt with sound playing.
    DWORD start = GetTickCount();
    CloseAll(h);
    EXPECT_LT(GetTickCount() - start, 3000u);
}

// Each channel's snapshot is its own last picture as a whole 24-bit BMP,
// and the on-screen text shows in the chosen corner of every channel's
// window, read back from the screen.
TEST(MultiChannel, SnapshotsAndOnScreenTextOnEveryChannel) {
    const int kFrames = 75;
    Group group("osd", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_TRUE(PlayedTo(h, 1300));
    ASSERT_EQ(OV_Pause(h, 1), 0);
    Pump(200);

    for (int k = 0; k < 4; ++k) {
        std::string path = "multi_snapshot_" + std::to_string(k) + ".bmp";
        DeleteFileA(path.c_str());
        CaptureFrameInfo side{};
        ASSERT_EQ(OV_CaptureBMP(h, k, path.c_str(), &side), 0);
        WIN32_FILE_ATTRIBUTE_DATA attr{};
        ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attr)) << k;
        EXPECT_EQ(attr.nFileSizeLow, 54u + 176u * 3u * 144u);
        BmpPicture picture;
        ASSERT_TRUE(ReadBmp(path, &picture)) << k;
        FrameCode code;
        ASSERT_TRUE(ReadFrameCode(picture, &code)) << k;
        EXPECT_EQ(code.channel, k);
        EXPECT_GE(code.frame, 2);
    }
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    EXPECT_EQ(OV_CaptureBMP(h, 5, "multi_snapshot_5.bmp", nullptr), 1);

    // While paused each window is redrawn every 500 ms, with the text.
    struct Corner {
        int x0, y0;
    } corners[4] = {{0, 0}, {96, 0}, {0, 112}, {96, 112}};
    auto whiteInCorners = [&](int pane, int out[4]) {
        ScreenShot shot = Grab(Pane(pane));
        for (int c = 0; c < 4; ++c) out[c] = shot.WhiteIn(corners[c].x0, corners[c].y0, corners[c].x0 + 80, corners[c].y0 + 32);
    };
    for (int k = 0; k < 4; ++k) {
        int white[4];
        whiteInCorners(k, white);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(white[c], 0) << "pane " << k << " corner " << c << " before any text";
    }
    for (int corner = 0; corner < 4; ++corner) {
        SCOPED_TRACE(testing::Message() << "corner " << corner);
        ASSERT_EQ(OV_ShowOsd(h, "OSD 12", corner), 0);
        Pump(700);
        for (int k = 0; k < 4; ++k) {
            int white[4];
            whiteInCorners(k, white);
            for (int c = 0; c < 4; ++c) {
                if (c == corner) {
                    EXPECT_GT(white[c], 20) << "pane " << k;
                } else {
                    EXPECT_EQ(white[c], 0) << "pane " << k << " corner " << c;
                }
            }
        }
    }
    // The snapshot is the decoded picture, without the text.
    BmpPicture picture;
    std::string path = "multi_snapshot_osd.bmp";
    ASSERT_EQ(OV_CaptureBMP(h, 1, path.c_str(), nullptr), 0);
    ASSERT_TRUE(ReadBmp(path, &picture));
    int white = 0;
    for (int y = 112; y < 144; ++y)
        for (int x = 96; x < 176; ++x) white += picture.At(x, y)[1] > 200 ? 1 : 0;
    EXPECT_EQ(white, 0);
    // An empty text takes it away.
    ASSERT_EQ(OV_ShowOsd(h, "", 0), 0);
    Pump(700);
    for (int k = 0; k < 4; ++k) {
        int w[4];
        whiteInCorners(k, w);
        for (int c = 0; c < 4; ++c) EXPECT_EQ(w[c], 0) << "pane " << k << " corner " << c << " after the text went";
    }
    CloseAll(h);
}

// The panel's answer to an end may come at once, before the engine's end
// report has returned: the engine has then already made its own choice,
// and the panel's stands. (Were the engine to choose after the report, it
// would take the lead back to the channel that ended, whose time no longer
// moves, and every channel would wait on it.)
TEST(MultiChannel, AnEndAnsweredAtOnceKeepsTheCallersSyncChannel) {
    const int kFrames = 75;
    Group group("answer", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    ControlPanel panel(h);
    panel.lastFrame = kFrames - 1;
    panel.answered = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &panel, ControlPanel::PostInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &panel, ControlPanel::PostEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);

    // The master, channel 2, ends first; the panel hands the lead to
    // channel 0, whose file ends last.
    ASSERT_TRUE(PumpUntil([&] { return !panel.ends.empty(); }, 10000));
    EXPECT_EQ(panel.ends[0], 2);
    ASSERT_EQ(panel.chosen, std::vector<int>{0});
    Pump(300);
    EXPECT_EQ(OV_GetSynChannel(h), 0);
    int t0 = -1, t1 = -1;
    ASSERT_EQ(OV_GetPlayTime(h, &t0), 0);
    Pump(300);
    ASSERT_EQ(OV_GetPlayTime(h, &t1), 0);
    EXPECT_GT(t1, t0 + 150) << "the lead went to a channel that does not move";
    EXPECT_TRUE(InStep(h, kFrames, kStepTolMs));
    // The others play to their ends.
    EXPECT_TRUE(PumpUntil([&] { return panel.ends.size() == 4; }, 5000));
    EXPECT_EQ(panel.ends, (std::vector<int>{2, 3, 1, 0}));
    CloseAll(h);
    CloseHandle(panel.answered);
}

// Backward play goes on from the picture shown, whatever came before it:
// I-frames only at a fast rate, a faster rate, a seek, single steps. (The
// turn used to start from where fast play had begun, 10 s back.) Forward
// play after it goes on from there too.
TEST(MultiChannel, BackwardPlayGoesOnFromTheShownPicture) {
    const int kFrames = 750;
    Group group("turn", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_TRUE(PlayedTo(h, 1300));

    struct Turn {
        const char* name;
        int seekMs;     // first (-1: none)
        int rate;       // then this rate for fastMs
        DWORD fastMs;
        int steps;      // then paused, this many single steps
    } turns[] = {
        {"after rate 4", -1, 4, 2500, 0},
        {"after rate 2", -1, 2, 1500, 0},
        {"after a seek at rate 5", 20000, 5, 600, 0},
        {"after rate 4 and steps", -1, 4, 500, 3},
    };
    for (const Turn& t : turns) {
        SCOPED_TRACE(t.name);
        ASSERT_EQ(OV_SetPlayRate(h, 0, 0), 0);
        Pump(300);
        if (t.seekMs >= 0) {
            ASSERT_EQ(OV_SetPlayTime(h, t.seekMs), 0);
        }
        ASSERT_EQ(OV_SetPlayRate(h, t.rate, 0), 0);
        Pump(t.fastMs);
        if (t.steps) {
            ASSERT_EQ(OV_Pause(h, 1), 0);
            for (int k = 0; k < t.steps; ++k) ASSERT_EQ(OV_PlayOneByOne(h), 0);
        }
        int turnedAt = -1;
        ASSERT_EQ(OV_GetPlayTime(h, &turnedAt), 0);
        ASSERT_EQ(OV_SetPlayRate(h, -1, 1), 0);
        if (t.steps) {
            ASSERT_EQ(OV_Pause(h, 0), 0);
        }
        // Backwards at twice the speed, an I-frame (1 s) at a time: within
        // 1.2 s two or three I-frames back, and never forward. (Between
        // the reading and the turn a fast rate may show one more I-frame.)
        int last = turnedAt + 1000;
        for (int sample = 0; sample < 12; ++sample) {
            Pump(100);
            int now = -1;
            ASSERT_EQ(OV_GetPlayTime(h, &now), 0);
            EXPECT_LE(now, last) << "went forward at sample " << sample << ", turned at " << turnedAt;
            last = now;
        }
        EXPECT_LT(last, turnedAt) << "did not go back";
        EXPECT_GE(last, turnedAt - 4000) << "jumped back from " << turnedAt;
    }

    // And forward again from backward play, at a fast rate (I-frames only)
    // or at 1X: on from the shown picture's I-frame, no end reported.
    Events events;
    ASSERT_EQ(OV_SetEndCallBack(h, &events, RecordEnd), 0);
    for (int rate : {4, 0}) {
        SCOPED_TRACE(testing::Message() << "forward at rate " << rate << " after backward play");
        ASSERT_EQ(OV_SetPlayRate(h, -1, 1), 0);
        Pump(700);
        int turnedAt = -1, now = -1;
        ASSERT_EQ(OV_GetPlayTime(h, &turnedAt), 0);
        ASSERT_EQ(OV_SetPlayRate(h, rate, 0), 0);
        Pump(1200);
        ASSERT_EQ(OV_GetPlayTime(h, &now), 0);
        EXPECT_GT(now, turnedAt) << "did not go forward";
        EXPECT_LE(now, turnedAt + (rate ? 7000 : 2200));
        EXPECT_TRUE(events.Ends().empty()) << events.Ends().size() << " ends reported";
    }
    CloseAll(h);
}

// A slave whose file ends first reports its end then, once, and not when
// the lead comes to it, at any rate: the player program answers it and
// play goes on. (In I-frame play the end check of the pass that showed the
// last picture does not look, and a slave without pictures looked no
// further.)
TEST(MultiChannel, AShortSlaveReportsItsOwnEnd) {
    struct Case {
        int rate;
        std::array<int, 4> frames;
        int slaveEndMs, reportedBeforeMs;   // of the group, channel 1's last picture
    } cases[] = {
        {0, {75, 40, 75, 75}, 2060, 2600},
        {5, {250, 125, 250, 250}, 5460, 7000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate);
        Group group(c.rate ? "short_fast" : "short", c.frames);
        ASSERT_TRUE(group.written);
        void* h = nullptr;
        ASSERT_EQ(OV_CreateDecoder(&h), 0);
        ASSERT_TRUE(group.Open(h));
        ControlPanel panel(h);
        panel.lastFrame = c.frames[0] - 1;
        ASSERT_EQ(OV_SetInfoFrameCallBack(h, &panel, ControlPanel::PostInfo), 0);
        ASSERT_EQ(OV_SetEndCallBack(h, &panel, ControlPanel::PostEnd), 0);
        for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
        ASSERT_EQ(OV_SetPlayRate(h, c.rate, 0), 0);

        ASSERT_TRUE(PumpUntil([&] { return !panel.ends.empty(); }, 10000));
        EXPECT_EQ(panel.ends[0], 1);
        FrameCode master;
        ASSERT_TRUE(Shown(h, 2, &master));
        EXPECT_LT(GroupMs(2, master.frame), c.reportedBeforeMs)
            << "reported long after its last picture (" << c.slaveEndMs << " ms)";
        EXPECT_TRUE(PumpUntil([&] { return panel.ends.size() == 4; }, 8000));
        Pump(300);
        // The others end within an I-frame of each other: in I-frame play
        // a slave trails by up to one, and their order is the threads'.
        ASSERT_EQ(panel.ends.size(), 4u);
        EXPECT_EQ(panel.ends[0], 1);
        std::vector<int> rest(panel.ends.begin() + 1, panel.ends.end());
        std::sort(rest.begin(), rest.end());
        EXPECT_EQ(rest, (std::vector<int>{0, 2, 3}));
        ASSERT_EQ(panel.chosen.size(), 3u);
        EXPECT_EQ(panel.chosen[0], 0);
        CloseAll(h);
    }
}

// Backwards, each channel reports its end when it is back at its own
// first picture, and not when the lead reaches the start of the group:
// here channel 2 starts 3 s before the others.
TEST(MultiChannel, BackwardEachChannelReportsItsOwnStart) {
    std::string paths[4];
    for (int k = 0; k < 4; ++k) {
        paths[k] = "multi_back_ends_ch" + std::to_string(k) + ".rec";
        ASSERT_TRUE(WriteChannelRecording(paths[k], k, k == 2 ? 0 : 3000000, k == 2 ? 150 : 75));
    }
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_OpenFile(paths[k].c_str(), Pane(k), k, h), 0);
    ASSERT_EQ(OV_GetSynChannel(h), 2);
    Events events;
    ASSERT_EQ(OV_SetEndCallBack(h, &events, RecordEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_EQ(OV_SetPlayRate(h, 2, 0), 0);
    ASSERT_TRUE(PlayedTo(h, 5000));
    ASSERT_EQ(OV_SetPlayRate(h, -2, 1), 0);
    // The program answers each end by giving the lead back to channel 2
    // while it plays.
    size_t answered = 0;
    std::vector<int> masterAt;   // channel 2's picture (ms) at each end
    DWORD start = GetTickCount();
    while (events.Ends().size() < 4 && GetTickCount() - start < 10000) {
        Pump(20);
        std::vector<int> ends = events.Ends();
        for (; answered < ends.size(); ++answered) {
            FrameCode code;
            masterAt.push_back(Shown(h, 2, &code) ? code.frame * 40 : -1);
            if (std::find(ends.begin(), ends.end(), 2) == ends.end()) {
                EXPECT_EQ(OV_SetSynChannel(h, 2), 0);
            }
        }
    }
    Pump(500);
    std::vector<int> ends = events.Ends();
    ASSERT_EQ(ends.size(), 4u);
    ASSERT_EQ(masterAt.size(), 4u);
    // Channels 0, 1 and 3 (in the threads' order), back at 3 s of the
    // group while channel 2 still has I-frames to show; channel 2 last.
    EXPECT_EQ(ends[3], 2);
    std::vector<int> first(ends.begin(), ends.begin() + 3);
    std::sort(first.begin(), first.end());
    EXPECT_EQ(first, (std::vector<int>{0, 1, 3}));
    for (int i = 0; i < 3; ++i) EXPECT_GE(masterAt[size_t(i)], 1900) << "end of channel " << ends[size_t(i)];
    CloseAll(h);
}

// A slave that ends during single steps takes the lead as the sync
// channel; the channel that led before keeps its callback but delivers
// nothing more to it.
TEST(MultiChannel, OnlyTheSyncChannelDeliversInformation) {
    Group group("info_lead", {75, 40, 75, 75});
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    Events events;
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, RecordInfo), 0);
    ASSERT_EQ(OV_SetEndCallBack(h, &events, RecordEnd), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_TRUE(PlayedTo(h, 1300));
    ASSERT_EQ(OV_Pause(h, 1), 0);
    Pump(200);
    // Channel 1's last picture is at 2.06 s of the group.
    for (int step = 0; step < 60 && events.Ends().empty(); ++step) ASSERT_EQ(OV_PlayOneByOne(h), 0);
    ASSERT_EQ(events.Ends(), std::vector<int>{1});
    EXPECT_EQ(OV_GetSynChannel(h), 1);
    size_t delivered = events.Infos().size();
    for (int step = 0; step < 5; ++step) ASSERT_EQ(OV_PlayOneByOne(h), 0);
    std::vector<InfoEvent> infos = events.Infos();
    EXPECT_EQ(infos.size(), delivered) << "the former sync channel still delivers";
    for (const InfoEvent& e : infos) EXPECT_EQ(e.channel, 2);
    ExpectConsecutive(infos);
    CloseAll(h);
}

// In I-frame play, fast forward and backwards, each I-frame the sync
// channel shows hands on its own information, once, as it is shown: the
// panels move with the pictures at every rate.
TEST(MultiChannel, IFramePlayHandsOnTheInformationOfEachIFrameShown) {
    const int kFrames = 750;   // 30 s each, an I-frame a second
    Group group("iframe_info", kFrames);
    ASSERT_TRUE(group.written);
    void* h = nullptr;
    ASSERT_EQ(OV_CreateDecoder(&h), 0);
    ASSERT_TRUE(group.Open(h));
    Events events;
    ASSERT_EQ(OV_SetInfoFrameCallBack(h, &events, RecordInfo), 0);
    for (int k = 0; k < 4; ++k) ASSERT_EQ(OV_Play(h, k), 0);
    ASSERT_TRUE(PlayedTo(h, 500));

    struct Case {
        int rate, reverse;
        DWORD playMs;
    } cases[] = {{4, 0, 1300}, {6, 0, 400}, {-1, 1, 1300}, {-3, 1, 700}, {0, 1, 2500}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate << " reverse " << c.reverse);
        // From the I-frame at 15 s of channel 2 (the sync channel), paused
        // while the rate changes.
        ASSERT_EQ(OV_Pause(h, 1), 0);
        ASSERT_EQ(OV_SetPlayRate(h, 0, 0), 0);
        ASSERT_EQ(OV_SetPlayTime(h, 15000), 0);
        const size_t before = events.Infos().size();
        ASSERT_EQ(OV_SetPlayRate(h, c.rate, c.reverse), 0);
        ASSERT_EQ(OV_Pause(h, 0), 0);
        Pump(c.playMs);
        ASSERT_EQ(OV_Pause(h, 1), 0);
        std::vector<InfoEvent> all = events.Infos();
        std::vector<InfoEvent> infos(all.begin() + std::ptrdiff_t(before), all.end());
        ASSERT_GE(infos.size(), 3u) << "I-frame play hands on no information";
        // The I-frames from 15 s on, one after the other, each once.
        const int step = c.reverse ? -25 : 25;
        for (size_t i = 0; i < infos.size(); ++i) {
            EXPECT_EQ(infos[i].channel, 2) << i;
            EXPECT_EQ(infos[i].frame, 375 + step * int(i)) << i;
        }
        ExpectConsecutive(infos, false);   // each with its own picture's time
        // The last of them is the picture on the screen.
        FrameCode shown;
        ASSERT_TRUE(Shown(h, 2, &shown));
        EXPECT_EQ(shown.frame, infos.back().frame);
    }
    CloseAll(h);
}
