#include "WaveOutPlayer.h"

#include "PacketQueue.h"
#include "RecordFormat.h"
#include "AudioFraming.h"
#include "DemoCard.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

namespace {

// Records every call; results can be set per call kind.
class FakeDevice : public WaveDevice {
public:
    MMRESULT Open(const WAVEFORMATEX& f, WaveDeviceSink* s) override {
        log += "open ";
        // As waveOut's own wrapper: a device kept open refuses a second one.
        if (held) return MMSYSERR_ALLOCATED;
        format = f;
        sink = s;
        if (openResult == MMSYSERR_NOERROR) held = true;
        return openResult;
    }
    MMRESULT Prepare(WAVEHDR* h) override {
        log += "prepare ";
        if (prepareResult == MMSYSERR_NOERROR) h->dwFlags |= WHDR_PREPARED;
        return prepareResult;
    }
    MMRESULT Write(WAVEHDR* h) override {
        log += "write ";
        ++writes;
        written.push_back(h);
        return writeResult;
    }
    MMRESULT Reset() override {
        log += "reset ";
        return MMSYSERR_NOERROR;
    }
    MMRESULT Unprepare(WAVEHDR* h) override {
        log += "unprepare ";
        h->dwFlags &= ~DWORD(WHDR_PREPARED);
        return MMSYSERR_NOERROR;
    }
    MMRESULT Close() override {
        log += "close ";
        if (failedCloses > 0) {
            --failedCloses;
            return WAVERR_STILLPLAYING;
        }
        held = false;
        if (sink) sink->OnDeviceMessage(WOM_CLOSE, nullptr);
        return MMSYSERR_NOERROR;
    }
    void Forget() override {
        log += "forget ";
        held = false;
    }
    MMRESULT SetVolume(DWORD v) override {
        log += "volume ";
        volumes.push_back(v);
        return MMSYSERR_NOERROR;
    }

    std::string log;
    WAVEFORMATEX format = {};
    WaveDeviceSink* sink = nullptr;
    MMRESULT openResult = MMSYSERR_NOERROR, prepareResult = MMSYSERR_NOERROR, writeResult = MMSYSERR_NOERROR;
    int failedCloses = 0;   // closes refused before one succeeds
    bool held = false;      // a device is open
    int writes = 0;
    std::vector<WAVEHDR*> written;
    std::vector<DWORD> volumes;
};

// A frame is {value, count low, count high, ok, ...}: decodes to `count`
// samples of `value`, or fails when ok is 0. Optionally blocks until told.
class FakeDecoder : public CADEC {
public:
    int Reset() override { return 1; }
    int Decode(const uint8_t* in, int16_t* out, int capacity, int16_t* samples) override {
        if (gate) {
            SetEvent(entered);
            WaitForSingleObject(gate, 5000);
        }
        int n = in[1] | in[2] << 8;
        if (!in[3] || n > capacity) return 0;
        for (int i = 0; i < n; ++i) out[i] = int16_t(in[0]);
        *samples = int16_t(n);
        return 1;
    }
    int InputFrameBytes() const override { return 204; }
    int OutputBytes() const override { return 1280; }
    HANDLE gate = nullptr, entered = nullptr;

protected:
    void* CodecState() override { return nullptr; }
};

struct Rig {
    FakeDevice device;
    FakeDecoder decoder;
    PacketQueue queue;
    WaveOutPlayer player{&device};
    Rig() {
        queue.Init(100, 64000);
        player.SetSource(&queue, &decoder);
    }
    void Push(uint8_t value, int count, bool ok = true) {
        uint8_t f[204] = {value, uint8_t(count), uint8_t(count >> 8), uint8_t(ok)};
        PacketDescriptor d;
        d.type = rec::kPacketAudio;
        d.length = 204;
        queue.Push(d, f);
    }
    std::vector<int16_t> Samples(int i) {
        std::vector<int16_t> s(640);
        memcpy(s.data(), player.Header(i)->lpData, 1280);
        return s;
    }
    // The device hands buffer i back.
    void Done(int i) { player.OnDeviceMessage(WOM_DONE, player.Header(i)); }
};

// Counts runs of equal samples: {value, count}, ...
std::vector<std::pair<int, int>> Runs(const std::vector<int16_t>& s) {
    std::vector<std::pair<int, int>> runs;
    for (int16_t v : s) {
        if (runs.empty() || runs.back().first != v) runs.push_back({v, 0});
        ++runs.back().second;
    }
    return runs;
}

using Runs_t = std::vector<std::pair<int, int>>;

}  // namespace

TEST(WaveOutPlayer, OpensWithTwoSilentBuffersQueued) {
    Rig r;
    ASSERT_EQ(r.player.Open(3), 1);
    EXPECT_EQ(r.device.log, "open prepare prepare write write ");
    EXPECT_EQ(r.player.StateNow(), WaveOutPlayer::kOpen);
    EXPECT_EQ(r.device.format.nSamplesPerSec, 8000u);
    EXPECT_EQ(r.device.format.wBitsPerSample, 16);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(r.player.Header(i)->dwBufferLength, 1280u);
        EXPECT_EQ(Runs(r.Samples(i)), (Runs_t{{0, 640}})) << i;
    }
    // A second open keeps the device and buffers it has.
    LPSTR first = r.player.Header(0)->lpData;
    EXPECT_EQ(r.player.Open(3), 0);
    EXPECT_EQ(r.player.Header(0)->lpData, first);
    EXPECT_EQ(r.device.log, "open prepare prepare write write ");
}

TEST(WaveOutPlayer, RefillOutcomes) {
    struct Frame { uint8_t value; int count; bool ok; };
    struct Case {
        const char* name;
        std::vector<Frame> frames;
        bool paused;
        Runs_t first, second;     // two refills in a row
        int shortFillsAfter;
    } cases[] = {
        {"two frames fill exactly", {{5, 320, true}, {6, 320, true}}, false, {{5, 320}, {6, 320}}, {{0, 640}}, 1},
        {"nothing queued", {}, false, {{0, 640}}, {{0, 640}}, 2},
        {"short fill ends in silence", {{9, 100, true}}, false, {{9, 100}, {0, 540}}, {{0, 640}}, 2},
        {"failed decode adds nothing", {{3, 320, false}, {4, 320, true}, {5, 320, true}}, false,
         {{4, 320}, {5, 320}}, {{0, 640}}, 1},
        {"a longer frame carries into the next buffer",
         {{1, 321, true}, {2, 321, true}, {3, 321, true}, {4, 321, true}}, false,
         {{1, 321}, {2, 319}}, {{2, 2}, {3, 321}, {4, 317}}, 0},
        {"paused plays silence and keeps the queue", {{7, 320, true}}, true, {{0, 640}}, {{0, 640}}, 0},
    };
    for (const Case& c : cases) {
        Rig r;
        ASSERT_EQ(r.player.Open(3), 1);
        for (const Frame& f : c.frames) r.Push(f.value, f.count, f.ok);
        r.player.SetPaused(c.paused);
        memset(r.player.Header(0)->lpData, 0x55, 1280);   // stale samples must not survive
        memset(r.player.Header(1)->lpData, 0x55, 1280);
        r.Done(0);
        r.Done(1);
        EXPECT_EQ(Runs(r.Samples(0)), c.first) << c.name;
        EXPECT_EQ(Runs(r.Samples(1)), c.second) << c.name;
        EXPECT_EQ(r.player.ShortFills(), c.shortFillsAfter) << c.name;
        EXPECT_EQ(r.device.writes, 4) << c.name;   // every buffer goes back to the device
        if (c.paused) {
            EXPECT_EQ(r.queue.Count(), 1) << c.name;
        }
    }
}

TEST(WaveOutPlayer, AnExactFillEndsARunOfShortFills) {
    Rig r;
    ASSERT_EQ(r.player.Open(3), 1);
    for (int i = 0; i < 6; ++i) r.Done(i % 2);
    EXPECT_EQ(r.player.ShortFills(), 6);
    r.Push(1, 320);
    r.Push(1, 320);
    r.Done(0);
    EXPECT_EQ(r.player.ShortFills(), 0);
    EXPECT_EQ(Runs(r.Samples(0)), (Runs_t{{1, 640}}));
}

TEST(WaveOutPlayer, StopResetsUnpreparesThenCloses) {
    Rig r;
    ASSERT_EQ(r.player.Open(3), 1);
    r.device.log.clear();
    r.player.Stop();
    EXPECT_EQ(r.device.log, "reset unprepare unprepare close ");
    EXPECT_EQ(r.player.StateNow(), WaveOutPlayer::kClosed);
    // Buffers that come back after the stop are not queued again.
    int writes = r.device.writes;
    r.player.OnDeviceMessage(WOM_DONE, r.player.Header(0));
    EXPECT_EQ(r.device.writes, writes);
    r.player.Stop();   // not open: nothing
    EXPECT_EQ(r.device.log, "reset unprepare unprepare close ");
    // And it opens again.
    EXPECT_EQ(r.player.Open(3), 1);
    EXPECT_EQ(r.player.StateNow(), WaveOutPlayer::kOpen);
}

TEST(WaveOutPlayer, FailedOpensLeaveNothingOpen) {
    struct Case { const char* name; MMRESULT open, prepare, write; const char* log; } cases[] = {
        {"no device", MMSYSERR_NODRIVER, 0, 0, "open "},
        {"prepare fails", 0, MMSYSERR_NOMEM, 0, "open prepare reset close "},
        {"write fails", 0, 0, MMSYSERR_ERROR, "open prepare prepare write reset unprepare unprepare close "},
    };
    for (const Case& c : cases) {
        Rig r;
        r.device.openResult = c.open;
        r.device.prepareResult = c.prepare;
        r.device.writeResult = c.write;
        EXPECT_EQ(r.player.Open(3), 0) << c.name;
        EXPECT_EQ(r.device.log, c.log) << c.name;
        EXPECT_EQ(r.player.StateNow(), WaveOutPlayer::kClosed) << c.name;
        r.player.SetVolume(100);
        r.player.Stop();
        EXPECT_EQ(r.device.log, c.log) << c.name;   // quiet from here on
    }
}

// A device that refuses to close does not take the sound with it: the
// close is tried again with the buffers back, and a device that still
// refuses is let go of, so that the next open gets a new one.
TEST(WaveOutPlayer, ARefusedCloseDoesNotWedgeTheDevice) {
    struct Case { const char* name; int failedCloses; const char* log; } cases[] = {
        {"closes on the second try", 1, "reset unprepare unprepare close reset close "},
        {"never closes", 100, "reset unprepare unprepare close reset close reset close forget "},
    };
    for (const Case& c : cases) {
        Rig r;
        ASSERT_EQ(r.player.Open(3), 1) << c.name;
        r.device.log.clear();
        r.device.failedCloses = c.failedCloses;
        DWORD start = GetTickCount();
        r.player.Stop();
        EXPECT_LT(GetTickCount() - start, 1000u) << c.name;
        EXPECT_EQ(r.device.log, c.log) << c.name;
        EXPECT_EQ(r.player.StateNow(), WaveOutPlayer::kClosed) << c.name;
        r.device.failedCloses = 0;
        r.device.log.clear();
        EXPECT_EQ(r.player.Open(3), 1) << c.name;
        EXPECT_EQ(r.device.log, "open prepare prepare write write ") << c.name;
        // And it plays: a buffer handed back is filled and queued again.
        r.Push(4, 320);
        r.Push(4, 320);
        r.Done(0);
        EXPECT_EQ(Runs(r.Samples(0)), (Runs_t{{4, 640}})) << c.name;
    }
}

TEST(WaveOutPlayer, VolumeSetsBothChannelsAndIsKeptWhileClosed) {
    Rig r;
    r.player.SetVolume(0x1234);
    EXPECT_TRUE(r.device.volumes.empty());
    ASSERT_EQ(r.player.Open(3), 1);
    ASSERT_EQ(r.device.volumes.size(), 1u);
    EXPECT_EQ(r.device.volumes[0], 0x12341234u);
    r.player.SetVolume(0xFFFF);
    EXPECT_EQ(r.device.volumes.back(), 0xFFFFFFFFu);
    r.player.Stop();
    r.player.SetVolume(0x0100);
    EXPECT_EQ(r.device.volumes.size(), 2u);
    ASSERT_EQ(r.player.Open(3), 1);
    EXPECT_EQ(r.device.volumes.back(), 0x01000100u);
}

static DWORD WINAPI RunStop(void* p) {
    static_cast<WaveOutPlayer*>(p)->Stop();
    return 0;
}

static DWORD WINAPI HandBack(void* p) {
    static_cast<Rig*>(p)->Done(0);
    return 0;
}

TEST(WaveOutPlayer, StopWaitsForARunningRefill) {
    Rig r;
    ASSERT_EQ(r.player.Open(3), 1);
    r.decoder.gate = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    r.decoder.entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    r.Push(1, 320);
    HANDLE refill = CreateThread(nullptr, 0, HandBack, &r, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(r.decoder.entered, 5000), WAIT_OBJECT_0);
    r.device.log.clear();
    HANDLE stop = CreateThread(nullptr, 0, RunStop, &r.player, 0, nullptr);
    // While the refill decodes, the device stays open.
    EXPECT_EQ(WaitForSingleObject(stop, 200), DWORD(WAIT_TIMEOUT));
    EXPECT_EQ(r.device.log, "");
    SetEvent(r.decoder.gate);
    EXPECT_EQ(WaitForSingleObject(stop, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(refill, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(r.device.log, "write reset unprepare unprepare close ");
    CloseHandle(stop);
    CloseHandle(refill);
    CloseHandle(r.decoder.gate);
    CloseHandle(r.decoder.entered);
    r.decoder.gate = nullptr;
}

// From the encoder's codes through a recording, the audio queue and the
// refills to the buffers the device plays: ffmpeg's decode, amplified, with
// no sample lost or repeated where a 321-sample frame straddles two buffers.
TEST(WaveOutPlayer, PlaysARecordingsSoundSampleForSample) {
    std::vector<uint8_t> wav, blocks, ref;
    ASSERT_TRUE(recwriter::ReadBytes("../voice/fixtures/speech.ima.wav", &wav));
    ASSERT_TRUE(recwriter::ReadWavData(wav, &blocks));
    ASSERT_TRUE(recwriter::ReadBytes("../voice/fixtures/speech.ima.pcm", &ref));
    recwriter::AudioFrames audio = recwriter::FrameImaBlocks(blocks, 256);
    std::vector<recwriter::H264Frame> pictures(60);
    for (auto& p : pictures) p.bytes = {0, 0, 0, 1, 0x41, 0x88};
    pictures[0].intra = true;
    recwriter::DemoRecording rec;
    rec.audioCodec = 3;
    std::vector<uint8_t> file = recwriter::BuildDemoRecording(rec, pictures, &audio);

    FakeDevice device;
    CADECAdpcm decoder;
    ASSERT_EQ(decoder.Reset(), 1);
    PacketQueue queue;
    ASSERT_EQ(queue.Init(1000, 512000), 1);
    // Cut the file's audio packets into frames, as the channel player does.
    for (size_t p = 0x10000; p + 8 <= file.size();) {
        rec::TagKind kind = rec::ClassifyTag(&file[p]);
        if (rec::IsAudioTag(kind)) {
            size_t payload = rec::LoadLE16(&file[p + 4]);
            for (size_t f = 0; f + 168 <= payload; f += 168) {
                PacketDescriptor d;
                d.type = rec::kPacketAudio;
                d.length = 168;
                ASSERT_EQ(queue.Push(d, &file[p + 8 + f]), 1);
            }
            p += 8 + payload;
        } else {
            p += 24 + rec::LoadLE16(&file[p + 12]) + rec::LoadLE32(&file[p + 8]);
        }
    }
    ASSERT_EQ(queue.Count(), 50);

    WaveOutPlayer player(&device);
    player.SetSource(&queue, &decoder);
    ASSERT_EQ(player.Open(3), 1);
    std::vector<int16_t> played;
    for (int i = 0; i < 25; ++i) {
        player.OnDeviceMessage(WOM_DONE, player.Header(i % 2));
        const int16_t* s = reinterpret_cast<const int16_t*>(player.Header(i % 2)->lpData);
        played.insert(played.end(), s, s + 640);
    }
    ASSERT_EQ(played.size(), 16000u);   // of 50 * 321 = 16,050
    for (size_t i = 0; i < played.size(); ++i) {
        size_t at = i / 321 * 505 + i % 321;
        int16_t theirs;
        memcpy(&theirs, &ref[at * 2], 2);
        ASSERT_EQ(played[i], AmplifySample(theirs)) << "sample " << i;
    }
    EXPECT_EQ(player.ShortFills(), 0);
    // The last 50 samples, then silence.
    player.OnDeviceMessage(WOM_DONE, player.Header(1));
    const int16_t* s = reinterpret_cast<const int16_t*>(player.Header(1)->lpData);
    EXPECT_NE(s[0] | s[1] | s[49], 0);
    for (int i = 50; i < 640; ++i) ASSERT_EQ(s[i], 0) << i;
    EXPECT_EQ(player.ShortFills(), 1);
}
