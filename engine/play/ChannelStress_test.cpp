// Hundreds of cycles of a decoder handle with four channels through the
// DLL: open, play, random rates, seeks, sync channel changes, pauses,
// steps, sound, snapshots, stops and closes, with the callbacks posting to
// a window whose thread answers ends as the player program does. A
// watchdog fails the program at once when a cycle hangs; at the end the
// process holds no more handles, threads or memory than after a warm-up.
#include "Ostrivel.h"

#include "ChannelRecordings.h"
#include "TestDesktop.h"

#include <gtest/gtest.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <random>
#include <string>
#include <vector>

using namespace e2e;

namespace {

const uint64_t kOffsets[4] = {1000000, 500000, 0, 250000};
const int kFrames = 30;   // 1.2 s: channels reach their ends within a cycle

// Fails the program when a cycle takes longer than its limit: a deadlock
// shows as a report naming the cycle and its step, not as a test timeout.
class Watchdog {
public:
    explicit Watchdog(DWORD limitMs) : limitMs_(limitMs) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
    }
    ~Watchdog() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);   // it wakes every 100 ms
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    void Step(int cycle, const char* step) {
        step_ = step;
        if (cycle != cycle_) {
            cycle_ = cycle;
            InterlockedExchange(&since_, LONG(GetTickCount()));
        }
    }

private:
    static DWORD WINAPI Run(void* self) {
        Watchdog* w = static_cast<Watchdog*>(self);
        while (WaitForSingleObject(w->stop_, 100) == WAIT_TIMEOUT) {
            DWORD since = DWORD(InterlockedCompareExchange(&w->since_, 0, 0));
            if (w->cycle_ >= 0 && GetTickCount() - since > w->limitMs_) {
                fprintf(stderr, "watchdog: cycle %d has not finished after %lu ms; last step: %s\n", int(w->cycle_),
                        w->limitMs_, w->step_);
                fflush(stderr);
                ExitProcess(3);
            }
        }
        return 0;
    }

    DWORD limitMs_;
    HANDLE stop_, thread_;
    volatile LONG since_ = 0;
    volatile int cycle_ = -1;
    const char* volatile step_ = "";
};

struct Usage {
    DWORD handles = 0;
    DWORD threads = 0;
    size_t privateBytes = 0;
};

// Handles and private memory as the system reports them; where it does not
// (Wine gives 0 for both), counted directly: every handle value that names
// a live handle, and every committed private page of the address space.
DWORD CountHandles() {
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n) return n;
    for (uintptr_t value = 4; value < (1u << 14); value += 4) {
        DWORD flags;
        if (GetHandleInformation(HANDLE(value), &flags)) ++n;
    }
    return n;
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX m = {};
    m.cb = sizeof m;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m) &&
        m.PrivateUsage)
        return m.PrivateUsage;
    size_t total = 0;
    MEMORY_BASIC_INFORMATION info;
    for (uint8_t* at = nullptr; VirtualQuery(at, &info, sizeof info) == sizeof info;) {
        if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
        uint8_t* next = static_cast<uint8_t*>(info.BaseAddress) + info.RegionSize;
        if (next <= at) break;
        at = next;
    }
    return total;
}

DWORD CountThreads() {
    DWORD n = 0;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 t = {};
    t.dwSize = sizeof t;
    for (BOOL ok = Thread32First(snap, &t); ok; ok = Thread32Next(snap, &t))
        if (t.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

Usage Measure() {
    Usage u;
    u.handles = CountHandles();
    u.threads = CountThreads();
    u.privateBytes = PrivateBytes();
    return u;
}

const UINT kChannelEndMessage = 0x1405;
const UINT kInfoFrameMessage = 0x1406;

// The handle, the cycle it belongs to and what the callbacks reported;
// everything but the callbacks runs on the test's (window) thread.
class StressRun {
public:
    StressRun() : rng_(20261210) {
        WNDCLASSA c = {};
        c.lpfnWndProc = &StressRun::Proc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "ZarvStressPanel";
        RegisterClassA(&c);
        window_ = CreateWindowExA(0, c.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, c.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, LONG_PTR(this));
        for (int k = 0; k < 4; ++k) {
            paths_[k] = "stress_ch" + std::to_string(k) + ".rec";
            written_ = WriteChannelRecording(paths_[k], k, kOffsets[k], kFrames) && written_;
        }
    }
    ~StressRun() { DestroyWindow(window_); }

    bool Written() const { return written_; }
    int Ends() const { return ends_; }
    int Answers() const { return answers_; }
    long Infos() const { return infos_; }

    // One cycle: open a random set of channels, play, a run of random
    // operations with the callbacks' messages handled between them, then
    // stop and close everything. `windows` draws into the panes.
    void Cycle(int cycle, bool windows, Watchdog* dog) {
        cycle_ = cycle;
        dog->Step(cycle, "create");
        ASSERT_EQ(OV_CreateDecoder(&h_), 0);
        ASSERT_TRUE(h_);
        int order[4] = {0, 1, 2, 3};
        std::shuffle(order, order + 4, rng_);
        int count = Chance(0.7) ? 4 : 1 + Pick(4);
        for (bool& o : open_) o = false;
        dog->Step(cycle, "open");
        for (int i = 0; i < count; ++i) {
            int k = order[i];
            ASSERT_EQ(OV_OpenFile(paths_[k].c_str(), windows ? Pane(k) : nullptr, k, h_), 0);
            open_[k] = true;
        }
        FileInfo info{};
        EXPECT_EQ(OV_GetFileInfo(h_, &info), 0);
        EXPECT_EQ(OV_SetInfoFrameCallBack(h_, this, PostInfo), 0);
        EXPECT_EQ(OV_SetEndCallBack(h_, this, PostEnd), 0);
        dog->Step(cycle, "play");
        for (int k = 0; k < 4; ++k) {
            if (open_[k]) {
                EXPECT_EQ(OV_Play(h_, k), 0);
            }
        }
        if (Chance(0.5)) {
            EXPECT_EQ(OV_PlaySound(h_, Pick(4)), 0);
            EXPECT_EQ(OV_SetVolume(h_, Pick(0x10000)), 0);
        }
        int operations = 3 + Pick(6);
        for (int i = 0; i < operations; ++i) {
            Operate(cycle, dog);
            dog->Step(cycle, "messages");
            Pump(DWORD(Pick(15)));
        }
        dog->Step(cycle, "close");
        for (int i = 0; i < 4; ++i) {
            int k = order[i];
            if (Chance(0.7)) {
                EXPECT_EQ(OV_Stop(h_, k), 0);
            }
            EXPECT_EQ(OV_CloseFile(h_, k), 0);
        }
        void* h = h_;
        h_ = nullptr;   // messages still queued for this cycle find no handle
        EXPECT_EQ(OV_EraseDecoder(h), 0);
        dog->Step(cycle, "drain");
        Pump(0);
    }

private:
    int Pick(int n) { return int(rng_() % unsigned(n)); }
    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    int AnyOpen() {
        for (int tries = 0; tries < 16; ++tries) {
            int k = Pick(4);
            if (open_[k]) return k;
        }
        for (int k = 0; k < 4; ++k)
            if (open_[k]) return k;
        return 0;
    }

    void Operate(int cycle, Watchdog* dog) {
        int ms = 0;
        switch (Pick(13)) {
        case 0:
        case 1: {
            dog->Step(cycle, "rate");
            bool reverse = Chance(0.25);
            EXPECT_EQ(OV_SetPlayRate(h_, reverse ? -Pick(6) : Pick(17) - 8, reverse ? 1 : 0), 0);
            break;
        }
        case 2:
            dog->Step(cycle, "seek");
            EXPECT_EQ(OV_SetPlayTime(h_, Pick(kFrames * 40 + 200)), 0);
            break;
        case 3:
            dog->Step(cycle, "set sync channel");
            EXPECT_EQ(OV_SetSynChannel(h_, AnyOpen()), 0);
            EXPECT_EQ(OV_SetInfoFrameCallBack(h_, this, PostInfo), 0);
            break;
        case 4:
            dog->Step(cycle, "pause");
            EXPECT_EQ(OV_Pause(h_, Pick(2)), 0);
            break;
        case 5:
            dog->Step(cycle, "step");
            EXPECT_EQ(OV_PlayOneByOne(h_), 0);
            break;
        case 6: {
            dog->Step(cycle, "snapshot");
            int k = AnyOpen();
            EXPECT_EQ(OV_CaptureBMP(h_, k, "stress_snapshot.bmp", nullptr), 0);
            break;
        }
        case 7:
            dog->Step(cycle, "osd");
            EXPECT_EQ(OV_ShowOsd(h_, Chance(0.5) ? "ZV-0042 12:00:00" : "", Pick(4)), 0);
            break;
        case 8:
            dog->Step(cycle, "sound");
            if (Chance(0.7)) {
                EXPECT_EQ(OV_PlaySound(h_, Pick(5)), 0);
            } else {
                EXPECT_EQ(OV_StopSound(h_), 0);
            }
            break;
        case 9: {
            dog->Step(cycle, "stop and play");
            int k = AnyOpen();
            EXPECT_EQ(OV_Stop(h_, k), 0);
            EXPECT_EQ(OV_Play(h_, k), 0);
            break;
        }
        case 10: {
            dog->Step(cycle, "close and reopen");
            int k = AnyOpen();
            EXPECT_EQ(OV_CloseFile(h_, k), 0);
            EXPECT_EQ(OV_OpenFile(paths_[k].c_str(), nullptr, k, h_), 0);
            EXPECT_EQ(OV_Play(h_, k), 0);
            break;
        }
        case 11:
            // Close to the end: the channels end (and are answered) soon.
            dog->Step(cycle, "seek near the end");
            EXPECT_EQ(OV_SetPlayTime(h_, (kFrames - 1) * 40 - 40 - Pick(160)), 0);
            EXPECT_EQ(OV_Pause(h_, 0), 0);
            break;
        default:
            dog->Step(cycle, "play time");
            EXPECT_EQ(OV_GetPlayTime(h_, &ms), 0);
            break;
        }
    }

    static void CALLBACK PostInfo(const uint8_t* data, uint32_t length, uint32_t, uint32_t, void* user) {
        StressRun* run = static_cast<StressRun*>(user);
        uint8_t* copy = new uint8_t[sizeof(InfoFrame)]();
        memcpy(copy, data, length < sizeof(InfoFrame) ? length : sizeof(InfoFrame));
        if (!PostMessageA(run->window_, kInfoFrameMessage, WPARAM(run->cycle_), LPARAM(copy))) delete[] copy;
    }
    static void CALLBACK PostEnd(int channel, void* user) {
        StressRun* run = static_cast<StressRun*>(user);
        PostMessageA(run->window_, kChannelEndMessage, WPARAM(channel), LPARAM(run->cycle_));
    }

    static LRESULT CALLBACK Proc(HWND w, UINT message, WPARAM wp, LPARAM lp) {
        StressRun* run = reinterpret_cast<StressRun*>(GetWindowLongPtrA(w, GWLP_USERDATA));
        if (run && message == kInfoFrameMessage) {
            delete[] reinterpret_cast<uint8_t*>(lp);
            ++run->infos_;
            return 0;
        }
        if (run && message == kChannelEndMessage) {
            ++run->ends_;
            if (run->h_ && int(lp) == run->cycle_) run->Answer(int(wp));
            return 0;
        }
        return DefWindowProcA(w, message, wp, lp);
    }

    // As the player program answers an end: another channel leads, the
    // information callback goes to it, and the position is read again.
    void Answer(int ended) {
        int next = AnyOpen();
        if (next == ended) next = AnyOpen();
        EXPECT_EQ(OV_SetSynChannel(h_, next), 0);
        EXPECT_EQ(OV_SetInfoFrameCallBack(h_, this, PostInfo), 0);
        // Another channel's end may already have moved the lead on; its own
        // report is on its way.
        int sync = OV_GetSynChannel(h_);
        EXPECT_TRUE(sync >= 0 && sync < 4) << sync;
        int ms = 0;
        EXPECT_EQ(OV_GetPlayTime(h_, &ms), 0);
        FileInfo info{};
        EXPECT_EQ(OV_GetFileInfo(h_, &info), 0);
        ++answers_;
    }

    std::mt19937 rng_;
    HWND window_ = nullptr;
    std::string paths_[4];
    bool written_ = true;
    void* h_ = nullptr;
    volatile int cycle_ = -1;
    bool open_[4] = {};
    int ends_ = 0;
    int answers_ = 0;
    long infos_ = 0;
};

}  // namespace

TEST(ChannelStress, CyclesNeitherHangNorLeak) {
    const int kWarmUp = 20;
    const int kCycles = 300;
    // A pane's first picture sets up its display, which takes a second here:
    // most cycles play without windows (their players draw nowhere).
    const int kWindowEvery = 60;
    StressRun run;
    ASSERT_TRUE(run.Written());
    Watchdog dog(20000);   // a cycle takes well under a second, two with windows
    DWORD start = GetTickCount();
    Usage before;
    for (int cycle = 0; cycle < kWarmUp + kCycles; ++cycle) {
        if (cycle == kWarmUp) before = Measure();
        run.Cycle(cycle, cycle % kWindowEvery == 0, &dog);
        if (HasFailure()) {
            ADD_FAILURE() << "stopped after cycle " << cycle;
            return;
        }
    }
    Pump(200);
    Usage after = Measure();
    printf("%d cycles in %lu ms: %d ends (%d answered), %ld information frames\n", kWarmUp + kCycles,
           GetTickCount() - start, run.Ends(), run.Answers(), run.Infos());
    printf("handles %lu -> %lu, threads %lu -> %lu, private bytes %zu -> %zu\n", before.handles, after.handles,
           before.threads, after.threads, before.privateBytes, after.privateBytes);
    ASSERT_GT(before.handles, 0u);
    ASSERT_GT(before.privateBytes, 0u);
    EXPECT_GT(run.Ends(), kCycles / 10);
    EXPECT_GT(run.Answers(), kCycles / 20);
    EXPECT_LE(after.handles, before.handles + 16);
    EXPECT_LE(after.threads, before.threads + 2);
    EXPECT_LE(after.privateBytes, before.privateBytes + 4 * 1024 * 1024);
}
