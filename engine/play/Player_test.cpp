// The channel player on its own: what makes an open fail, and what its
// sound output is given while paused, stepping and after other rates.
#include "Player.h"

#include "ChannelRecordings.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdint.h>
#include <string>
#include <vector>

namespace {

// A decoder library that cannot create a decoder (out of memory, or a
// library that refuses the picture size).
H264DecHandle NoDecoder(const H264DecAttr*) { return nullptr; }
int NoPicture(H264DecHandle, const uint8_t*, uint32_t, uint64_t, H264DecPicture*, uint32_t) {
    return kH264NoPicture;
}
void NothingToFree(H264DecHandle) {}
const H264DecoderApi kNoDecoderApi = {NoDecoder, NoPicture, NothingToFree};

std::string Recording() {
    recwriter::RecordWriter w;
    for (int k = 0; k < 50; ++k)
        w.AddVideo(k % 25 == 0, 1000000 + uint64_t(k) * 40000, std::vector<uint8_t>(64, 0x90));
    w.Finish();
    EXPECT_TRUE(w.WriteFile("player_open.rec"));
    return "player_open.rec";
}

}  // namespace

TEST(Player, OpensOnlyWithAVideoDecoder) {
    std::string path = Recording();
    {
        CPlayer player;
        EXPECT_EQ(player.Open(path.c_str(), nullptr), 0);
        EXPECT_TRUE(player.HasFile());
    }
    CPlayer player(&kNoDecoderApi);
    EXPECT_EQ(player.Open(path.c_str(), nullptr), 1);
    EXPECT_FALSE(player.HasFile());
    EXPECT_EQ(player.Play(), 1);   // nothing to play
    FileInfo info{};
    EXPECT_EQ(player.GetFileInfo(&info), 0);
    EXPECT_EQ(info.durationMs, 0u) << "the record of a file that did not open";
}

namespace {

// The sound device as the channel player's sound output drives it; the
// test hands buffers back and reads what was put in them.
class SoundDevice : public WaveDevice {
public:
    MMRESULT Open(const WAVEFORMATEX&, WaveDeviceSink* s) override {
        sink = s;
        ++opens;
        open = true;
        written.clear();
        return MMSYSERR_NOERROR;
    }
    MMRESULT Prepare(WAVEHDR* h) override {
        h->dwFlags |= WHDR_PREPARED;
        return MMSYSERR_NOERROR;
    }
    MMRESULT Write(WAVEHDR* h) override {
        if (written.size() < 2) written.push_back(h);
        return MMSYSERR_NOERROR;
    }
    MMRESULT Reset() override { return MMSYSERR_NOERROR; }
    MMRESULT Unprepare(WAVEHDR* h) override {
        h->dwFlags &= ~DWORD(WHDR_PREPARED);
        return MMSYSERR_NOERROR;
    }
    MMRESULT Close() override {
        open = false;
        if (sink) sink->OnDeviceMessage(WOM_CLOSE, nullptr);
        return MMSYSERR_NOERROR;
    }
    MMRESULT SetVolume(DWORD) override { return MMSYSERR_NOERROR; }
    void Forget() override { open = false; }

    // Hands buffer `i` back; true when the refill put any sound in it.
    bool Heard(int i) {
        WAVEHDR* h = written[size_t(i)];
        sink->OnDeviceMessage(WOM_DONE, h);
        const int16_t* s = reinterpret_cast<const int16_t*>(h->lpData);
        for (DWORD k = 0; k < h->dwBufferLength / 2; ++k)
            if (s[k] != 0) return true;
        return false;
    }

    WaveDeviceSink* sink = nullptr;
    std::vector<WAVEHDR*> written;
    int opens = 0;
    bool open = false;
};

// A channel recording with speech on every picture (ChannelRecordings.h).
const std::string& SoundRecording() {
    static const std::string path = [] {
        std::string p = "player_sound.rec";
        EXPECT_TRUE(e2e::WriteChannelRecording(p, 0, 0, 750));
        return p;
    }();
    return path;
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 5000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(10))
        if (GetTickCount() - start > ms) return false;
    return true;
}

struct SoundRig {
    SoundDevice device;
    CPlayer player{nullptr, &device};
    uint64_t first = 0;
    bool Start(uint32_t playMs) {
        if (player.Open(SoundRecording().c_str(), nullptr) != 0 || player.Play() != 0) return false;
        player.GetTimeRange(&first, nullptr);
        return WaitUntil([&] { return player.CurrentTimestamp() >= first + playMs * 1000ull; });
    }
    // The oldest sound waiting, against the picture shown (ms; negative: behind).
    int64_t SoundLeadMs(uint64_t shown) {
        uint64_t oldest = 0;
        if (!player.OldestSoundTime(&oldest)) return INT64_MAX;
        return (int64_t(oldest) - int64_t(shown)) / 1000;
    }
};

}  // namespace

// Choosing the heard channel while paused opens its output paused: not one
// buffer of its queued sound is heard, nor taken from the queue, until
// play goes on.
TEST(PlayerSound, ChosenWhilePausedStaysSilent) {
    SoundRig r;
    ASSERT_TRUE(r.Start(400));
    ASSERT_EQ(r.player.SetPause(1), 0);
    Sleep(100);
    ASSERT_EQ(r.player.SoundOn(), 0);
    ASSERT_TRUE(r.device.open);
    ASSERT_EQ(r.device.written.size(), 2u);
    const int queued = r.player.QueuedSoundFrames();
    ASSERT_GT(queued, 0);
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(r.device.Heard(i % 2)) << "buffer " << i << " while paused";
    EXPECT_EQ(r.player.QueuedSoundFrames(), queued);
    ASSERT_EQ(r.player.SetPause(0), 0);
    bool heard = false;
    for (int i = 0; i < 6; ++i) heard = r.device.Heard(i % 2) || heard;
    EXPECT_TRUE(heard);
    r.player.StopThread();
    EXPECT_FALSE(r.device.open);
}

// Single steps keep the sound paused with the picture; play after them is
// heard from the picture they reached, not from where the steps began.
TEST(PlayerSound, StepsAreSilentAndPlayResumesAtTheShownPicture) {
    SoundRig r;
    ASSERT_TRUE(r.Start(200));
    ASSERT_EQ(r.player.SoundOn(), 0);
    ASSERT_TRUE(r.device.open);
    // Playing on for a while with nobody taking sound: what is queued
    // trails the picture.
    Sleep(600);
    for (int step = 0; step < 5; ++step) {
        ASSERT_EQ(r.player.StepOne(), 0);
        EXPECT_FALSE(r.device.Heard(0)) << "step " << step;
        EXPECT_FALSE(r.device.Heard(1)) << "step " << step;
    }
    uint64_t shown = r.player.CurrentTimestamp();
    ASSERT_EQ(r.player.SetPause(0), 0);
    EXPECT_GE(r.SoundLeadMs(shown), 0);
    EXPECT_TRUE(r.device.Heard(0) || r.device.Heard(1));
    r.player.StopThread();
}

// Back at rate 0 the output reopens with the sound of the shown picture,
// not with the queue that built up while it was closed.
TEST(PlayerSound, BackAtRateZeroTheSoundFollowsThePicture) {
    struct Case { int rate, reverse; DWORD ms; } cases[] = {{2, 0, 1500}, {-2, 0, 1000}, {4, 0, 1000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rate " << c.rate);
        SoundRig r;
        ASSERT_TRUE(r.Start(200));
        ASSERT_EQ(r.player.SoundOn(), 0);
        ASSERT_EQ(r.player.SetRate(c.rate, c.reverse), 0);
        EXPECT_FALSE(r.device.open);
        Sleep(c.ms);
        ASSERT_EQ(r.player.SetRate(0, 0), 0);
        uint64_t shown = r.player.CurrentTimestamp();
        EXPECT_TRUE(r.device.open);
        EXPECT_EQ(r.device.opens, 2);
        // Taken at the reopen; the picture may have moved on by one since.
        // (After I-frames only nothing may be queued yet: no stale sound.)
        uint64_t oldest = 0;
        if (r.player.OldestSoundTime(&oldest)) {
            EXPECT_GE(r.SoundLeadMs(shown), -100);
        }
        r.player.StopThread();
    }
}
