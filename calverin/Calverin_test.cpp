// The converter through its three exports, as the AVI dialog calls it:
// argument checks, handles, progress and its end, failures that leave no
// file, detaching midway. The clips written here are read by the host's
// ffprobe and ffmpeg afterwards (check_clip.sh).
#include "Calverin.h"

#include "AudioFraming.h"
#include "H264Stream.h"
#include "H264Units.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The clip fixture: 20 s from midnight at 25 pictures a second, an I-frame
// every 12, one 40 ms G.726 frame after each picture.
struct RecordingShape {
    int holeFrom = -1, holeTo = -1;   // pictures (and their sound) left out
    bool paramsAtStartOnly = false;   // SPS and PPS in the first picture only
};

std::vector<uint8_t> WithoutParameterSets(const std::vector<uint8_t>& frame) {
    std::vector<uint8_t> out;
    for (const calverin::NalUnit& u : calverin::FindNalUnits(frame.data(), frame.size())) {
        if (u.type == calverin::kNalSps || u.type == calverin::kNalPps) continue;
        out.insert(out.end(), {0, 0, 0, 1});
        out.insert(out.end(), frame.begin() + long(u.offset), frame.begin() + long(u.offset + u.size));
    }
    return out;
}

void WriteRecording(const std::string& path, const RecordingShape& shape) {
    std::vector<uint8_t> stream, codes;
    ASSERT_TRUE(recwriter::ReadBytes("clip_352x288.h264", &stream));
    ASSERT_TRUE(recwriter::ReadBytes("clip.g726", &codes));
    std::vector<recwriter::H264Frame> frames = recwriter::SplitAnnexB(stream);
    recwriter::AudioFrames sound = recwriter::FrameG726Codes(codes);
    ASSERT_EQ(frames.size(), 500u);
    ASSERT_GE(sound.size(), 500u);

    recwriter::HeaderSpec header;
    const uint8_t start[6] = {26, 12, 10, 0, 0, 0}, end[6] = {26, 12, 10, 0, 0, 20};
    memcpy(header.start, start, 6);
    memcpy(header.end, end, 6);
    header.audioCodec = 2;
    recwriter::RecordWriter w(header);
    const uint64_t base = 851000000ull * 1000000ull;
    for (int k = 0; k < 500; ++k) {
        if (k >= shape.holeFrom && k <= shape.holeTo) continue;
        InfoFrame info = {};
        info.year = 26;
        info.month = 12;
        info.day = 10;
        info.second = uint8_t(k / 25);
        std::vector<uint8_t> bytes = frames[size_t(k)].bytes;
        if (shape.paramsAtStartOnly && k > 0) bytes = WithoutParameterSets(bytes);
        w.AddVideo(frames[size_t(k)].intra, base + uint64_t(k) * 40000, bytes, &info);
        w.AddAudio(2, sound[size_t(k)]);
    }
    ASSERT_TRUE(w.WriteFile(path));
}

// Made once per run, before the tests use them.
const char kClip[] = "convert_source.h264";
const char kGapClip[] = "convert_source_gap.h264";

class Recordings : public ::testing::Environment {
public:
    void SetUp() override {
        WriteRecording(kClip, RecordingShape());
        RecordingShape gap;
        gap.holeFrom = 156;   // one whole GOP: pictures 156-167, 0.48 s
        gap.holeTo = 167;
        gap.paramsAtStartOnly = true;
        WriteRecording(kGapClip, gap);
    }
};
const ::testing::Environment* const kRecordings = ::testing::AddGlobalTestEnvironment(new Recordings);

// Records every callback of one conversion.
class Progress {
public:
    struct Call {
        int current, total;
        Clock::time_point at;
        bool targetThere, partThere;
    };

    explicit Progress(std::string target = std::string()) : target_(std::move(target)) {}

    static void __stdcall Callback(void* user, int current, int total) {
        static_cast<Progress*>(user)->On(current, total);
    }

    // Waits for the conversion's last call, (total, total) or (-1, total).
    bool WaitForEnd(milliseconds limit = milliseconds(60000)) {
        std::unique_lock<std::mutex> hold(lock_);
        return ended_.wait_for(hold, limit, [&] { return ended; });
    }
    std::vector<Call> Calls() {
        std::lock_guard<std::mutex> hold(lock_);
        return calls_;
    }

    bool ended = false;          // guarded by lock_
    int sleepInFirstCall = 0;    // ms
    HANDLE firstCallEntered = nullptr;
    volatile LONG detached = 0;  // set once the detach call returned
    volatile LONG callsAfterDetach = 0;

private:
    void On(int current, int total) {
        if (detached) InterlockedIncrement(&callsAfterDetach);
        bool first;
        {
            std::lock_guard<std::mutex> hold(lock_);
            first = calls_.empty();
            Call c{current, total, Clock::now(), false, false};
            if (!target_.empty()) {
                c.targetThere = Exists(target_);
                c.partThere = Exists(target_ + ".part");
            }
            calls_.push_back(c);
        }
        if (first && firstCallEntered) SetEvent(firstCallEntered);
        if (first && sleepInFirstCall) Sleep(DWORD(sleepInFirstCall));
        // Still running when the detach call returned: the detach did not wait.
        if (detached) InterlockedIncrement(&callsAfterDetach);
        if (current == -1 || current == total) {
            std::lock_guard<std::mutex> hold(lock_);
            ended = true;
            ended_.notify_all();
        }
    }

    std::string target_;
    std::mutex lock_;
    std::condition_variable ended_;
    std::vector<Call> calls_;
};

int Packed(int h, int m, int s) { return CALVERIN_PACK_TIME(h, m, s); }

// Converts and waits for the end; gives the calls.
std::vector<Progress::Call> ConvertAndWait(const std::string& source, const std::string& target, int from, int to,
                                           int* handle = nullptr) {
    DeleteFileA(target.c_str());
    Progress progress(target);
    int h = CONVERTDLL_InitDllMange(source.c_str(), target.c_str());
    EXPECT_GT(h, 0);
    if (handle) *handle = h;
    EXPECT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, &progress, &Progress::Callback), 0);
    EXPECT_EQ(CONVERTDLL_ConvertH264ToAVI(h, 0, 0, from, to, Packed(0, 0, 20)), 0);
    EXPECT_TRUE(progress.WaitForEnd());
    // Nothing may come after the last call.
    Sleep(300);
    return progress.Calls();
}

// Progress rises from (0, total) to one (total, total), at most ten calls a
// second, and that last call comes when the file is in place.
void ExpectSuccessfulProgress(const std::vector<Progress::Call>& calls, int total) {
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls.front().current, 0);
    const Progress::Call& last = calls.back();
    EXPECT_EQ(last.current, total);
    EXPECT_TRUE(last.targetThere);
    EXPECT_FALSE(last.partThere);
    for (size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(calls[i].total, total) << i;
        if (i + 1 < calls.size()) {
            EXPECT_LT(calls[i].current, total) << i;
        }
        if (i == 0) continue;
        EXPECT_GE(calls[i].current, calls[i - 1].current) << i;
        EXPECT_GE(calls[i].at - calls[i - 1].at, milliseconds(90)) << i;
    }
}

TEST(Convert, WritesTheCutAndReportsItsProgress) {
    // The cut 00:00:05-00:00:09 starts at the I-frame of 4.8 s (picture 120)
    // and takes the pictures before 10 s: 130.
    int h = 0;
    std::vector<Progress::Call> calls = ConvertAndWait(kClip, "convert_clip.AVI", Packed(0, 0, 5), Packed(0, 0, 9), &h);
    ExpectSuccessfulProgress(calls, 130);
    std::vector<uint8_t> avi;
    ASSERT_TRUE(recwriter::ReadBytes("convert_clip.AVI", &avi));
    ASSERT_GT(avi.size(), 12u);
    EXPECT_EQ(std::string(avi.begin(), avi.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(avi.begin() + 8, avi.begin() + 12), "AVI ");

    // Late calls on the finished handle are safe; it does not convert again.
    Progress late;
    EXPECT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, &late, &Progress::Callback), 0);
    EXPECT_EQ(CONVERTDLL_ConvertH264ToAVI(h, 0, 0, Packed(0, 0, 5), Packed(0, 0, 9), 0), 1);
    EXPECT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, nullptr, nullptr), 0);
    Sleep(200);
    EXPECT_TRUE(late.Calls().empty());
}

TEST(Convert, KeepsAGapAndGivesTheFirstPictureItsParameterSets) {
    // The same cut of a recording with a hole of one GOP (pictures 156-167)
    // whose parameter sets come only with its very first picture.
    std::vector<Progress::Call> calls =
        ConvertAndWait(kGapClip, "convert_gap.AVI", Packed(0, 0, 5), Packed(0, 0, 9));
    ExpectSuccessfulProgress(calls, 130 - 12);
}

TEST(Convert, EqualTimesGiveThatOneSecond) {
    // 00:00:01 is picture 25; the I-frame at or before it is picture 24.
    std::vector<Progress::Call> calls =
        ConvertAndWait(kClip, "convert_one_second.AVI", Packed(0, 0, 1), Packed(0, 0, 1));
    ExpectSuccessfulProgress(calls, 26);
}

TEST(Convert, TakesATargetPathInTheAnsiCodePage) {
    // A name with a letter beyond ASCII, as the dialog passes it: in the
    // system's ANSI code page.
    char ansi[64];
    BOOL lossy = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, L"convert_\u00e9t\u00e9.AVI", -1, ansi, sizeof(ansi), nullptr, &lossy);
    if (n <= 0 || lossy) GTEST_SKIP() << "the ANSI code page has no such letter";
    std::vector<Progress::Call> calls = ConvertAndWait(kClip, ansi, Packed(0, 0, 1), Packed(0, 0, 1));
    ExpectSuccessfulProgress(calls, 26);
    EXPECT_TRUE(Exists(ansi));
    EXPECT_TRUE(GetFileAttributesW(L"convert_\u00e9t\u00e9.AVI") != INVALID_FILE_ATTRIBUTES);
}

TEST(Convert, RefusesBadArgumentsWithoutACallback) {
    const std::string target = "convert_refused.AVI";
    DeleteFileA(target.c_str());
    Progress progress(target);
    int h = CONVERTDLL_InitDllMange(kClip, target.c_str());
    ASSERT_GT(h, 0);
    ASSERT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, &progress, &Progress::Callback), 0);
    struct Case {
        const char* what;
        int handle, from, to;
    } cases[] = {
        {"hour 24", h, Packed(24, 0, 0), Packed(24, 0, 1)},
        {"minute 60", h, Packed(0, 60, 0), Packed(0, 60, 1)},
        {"second 60", h, Packed(0, 0, 5), Packed(0, 0, 60)},
        {"stray bits", h, Packed(0, 0, 5) | 1 << 24, Packed(0, 0, 9) | 1 << 24},
        {"negative", h, -1, Packed(0, 0, 9)},
        {"end before start", h, Packed(0, 0, 9), Packed(0, 0, 5)},
        {"handle 0", 0, Packed(0, 0, 5), Packed(0, 0, 9)},
        {"negative handle", -h, Packed(0, 0, 5), Packed(0, 0, 9)},
        {"never given out", h + 1000000, Packed(0, 0, 5), Packed(0, 0, 9)},
    };
    for (const Case& c : cases)
        EXPECT_NE(CONVERTDLL_ConvertH264ToAVI(c.handle, 0, 0, c.from, c.to, Packed(0, 0, 20)), 0) << c.what;
    EXPECT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h + 1000000, &progress, &Progress::Callback), 1);
    Sleep(300);
    EXPECT_TRUE(progress.Calls().empty());
    EXPECT_FALSE(Exists(target));
    EXPECT_FALSE(Exists(target + ".part"));

    // Refused calls use nothing up: the handle still converts, once.
    EXPECT_EQ(CONVERTDLL_ConvertH264ToAVI(h, 0, 0, Packed(0, 0, 2), Packed(0, 0, 3), Packed(0, 0, 20)), 0);
    EXPECT_NE(CONVERTDLL_ConvertH264ToAVI(h, 0, 0, Packed(0, 0, 2), Packed(0, 0, 3), Packed(0, 0, 20)), 0);
    ASSERT_TRUE(progress.WaitForEnd());
    EXPECT_EQ(progress.Calls().back().current, progress.Calls().back().total);
}

TEST(Init, GivesNewHandlesForRecordingsOnly) {
    ASSERT_TRUE(recwriter::WriteBytes("convert_not_a_recording.h264", std::vector<uint8_t>(0x20000, 0x30)));
    struct Case {
        const char* what;
        const char *source, *target;
    } cases[] = {
        {"no source", nullptr, "x.AVI"},
        {"empty source", "", "x.AVI"},
        {"missing source", "convert_missing.h264", "x.AVI"},
        {"no recording", "convert_not_a_recording.h264", "x.AVI"},
        {"no target", kClip, nullptr},
        {"empty target", kClip, ""},
        {"the recording itself", kClip, kClip},
        {"the recording by another path", kClip, ".\\convert_source.h264"},
    };
    for (const Case& c : cases) EXPECT_EQ(CONVERTDLL_InitDllMange(c.source, c.target), 0) << c.what;
    EXPECT_FALSE(Exists("x.AVI"));

    int a = CONVERTDLL_InitDllMange(kClip, "x.AVI");
    int b = CONVERTDLL_InitDllMange(kClip, "x.AVI");
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    EXPECT_FALSE(Exists("x.AVI"));   // paths only: no file yet
}

TEST(Convert, MissingDestinationFolderFailsOnceAndLeavesNoFile) {
    const std::string target = "convert-no-such-folder\\clip.AVI";
    std::vector<Progress::Call> calls = ConvertAndWait(kClip, target, Packed(0, 0, 5), Packed(0, 0, 9));
    ASSERT_FALSE(calls.empty());
    int failures = 0;
    for (const Progress::Call& c : calls) failures += c.current == -1;
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(calls.back().current, -1);
    EXPECT_EQ(calls.back().total, 130);
    EXPECT_FALSE(Exists("convert-no-such-folder"));
}

TEST(Convert, NothingInRangeFailsOnceAndLeavesNoFile) {
    // The recording runs from 00:00:00 to 00:00:20.
    std::vector<Progress::Call> calls =
        ConvertAndWait(kClip, "convert_empty.AVI", Packed(0, 5, 0), Packed(0, 5, 10));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].current, -1);
    EXPECT_EQ(calls[0].total, 0);
    EXPECT_FALSE(calls[0].targetThere);
    EXPECT_FALSE(calls[0].partThere);
    EXPECT_FALSE(Exists("convert_empty.AVI"));
}

TEST(Convert, DetachMidwayStopsTheCallsAndTheFileCompletes) {
    const std::string target = "convert_detached.AVI";
    DeleteFileA(target.c_str());
    Progress progress(target);
    progress.sleepInFirstCall = 300;
    progress.firstCallEntered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int h = CONVERTDLL_InitDllMange(kClip, target.c_str());
    ASSERT_GT(h, 0);
    ASSERT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, &progress, &Progress::Callback), 0);
    ASSERT_EQ(CONVERTDLL_ConvertH264ToAVI(h, 0, 0, Packed(0, 0, 2), Packed(0, 0, 15), 0), 0);
    ASSERT_EQ(WaitForSingleObject(progress.firstCallEntered, 60000), WAIT_OBJECT_0);

    // The first call is still running: the detach waits for it to return.
    Clock::time_point asked = Clock::now();
    EXPECT_EQ(CONVERTDLL_RegisterCovInfoCallBack(h, nullptr, nullptr), 0);
    InterlockedExchange(&progress.detached, 1);
    EXPECT_GE(Clock::now() - asked, milliseconds(150));

    Clock::time_point until = Clock::now() + std::chrono::seconds(60);
    while ((!Exists(target) || Exists(target + ".part")) && Clock::now() < until) Sleep(20);
    Sleep(300);
    EXPECT_TRUE(Exists(target));
    EXPECT_FALSE(Exists(target + ".part"));
    EXPECT_EQ(progress.callsAfterDetach, 0);
    ASSERT_EQ(progress.Calls().size(), 1u);
    EXPECT_EQ(progress.Calls()[0].current, 0);
    CloseHandle(progress.firstCallEntered);
}

}  // namespace
