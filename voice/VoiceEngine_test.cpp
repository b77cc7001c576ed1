#include "VoiceEngine.h"
#include <algorithm>
#include <stdlib.h>

#include "AudioFraming.h"
#include "RecordWriter.h"

#include <gtest/gtest.h>

#include <string.h>
#include <string>
#include <vector>

using namespace recwriter;

namespace {

// A state buffer at an odd 2-byte boundary, as callers may hand it in.
struct State {
    alignas(8) uint8_t raw[2 + kVoiceStateBytesG726] = {};
    void* get() { return raw + 2; }
    ~State() { VOICE_DecRelease(get()); }
};

std::vector<uint8_t> SilentG726Frame() {
    std::vector<uint8_t> f(kVoiceG726FrameBytes, 0xFF);
    VOICE_MakeFrameHeader(f.data(), kVoiceModeG726, 9);
    return f;
}

std::vector<int16_t> ReadPcm(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadBytes(path, &bytes)) << path;
    std::vector<int16_t> pcm(bytes.size() / 2);
    if (!pcm.empty()) memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}

std::vector<int16_t> DecodeAll(int mode, const AudioFrames& frames) {
    State s;
    EXPECT_EQ(VOICE_DecReset(s.get(), mode), kVoiceOk);
    std::vector<int16_t> pcm;
    for (const auto& f : frames) {
        int16_t out[kVoiceMaxFrameSamples];
        int16_t n = -1;
        EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceOk);
        if (n > 0) pcm.insert(pcm.end(), out, out + n);
    }
    return pcm;
}

}  // namespace

TEST(VoiceEngine, FrameHeaders) {
    uint8_t h[4];
    VOICE_MakeFrameHeader(h, kVoiceModeAdpcm, 200);
    EXPECT_EQ(h[0], kVoiceFrameMarker);
    EXPECT_EQ(h[1], 200);
    EXPECT_EQ(h[2], 82);
    EXPECT_EQ(h[3], 0);
    VOICE_MakeFrameHeader(h, kVoiceModeG726, 0);
    EXPECT_EQ(h[2], 100);

    struct Case { uint8_t header[4]; int mode; int ok; } cases[] = {
        {{1, 0, 82, 0}, kVoiceModeAdpcm, 1},
        {{1, 255, 82, 0}, kVoiceModeAdpcm, 1},     // any sequence
        {{1, 7, 100, 0}, kVoiceModeG726, 1},
        {{1, 7, 100, 0}, kVoiceModeAdpcm, 0},      // G.726 frame given to ADPCM
        {{1, 7, 82, 0}, kVoiceModeG726, 0},
        {{0, 7, 100, 0}, kVoiceModeG726, 0},       // marker
        {{0x64, 0x64, 0x64, 0x64}, kVoiceModeG726, 0},
        {{1, 7, 100, 1}, kVoiceModeG726, 0},       // reserved byte
        {{1, 7, 100, 0}, 5, 0},                    // unknown mode
    };
    for (const Case& c : cases)
        EXPECT_EQ(VOICE_CheckFrameHeader(c.header, c.mode), c.ok)
            << int(c.header[0]) << " " << int(c.header[2]) << " mode " << c.mode;
}

TEST(VoiceEngine, DecodesOnlyAfterResetAndUntilRelease) {
    State s;
    std::vector<uint8_t> f = SilentG726Frame();
    int16_t out[kVoiceMaxFrameSamples];
    int16_t n = 77;
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceBadState);
    EXPECT_EQ(VOICE_DecReset(s.get(), 4), kVoiceBadMode);
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceBadState);
    EXPECT_EQ(n, 77);
    ASSERT_EQ(VOICE_DecReset(s.get(), kVoiceModeG726), kVoiceOk);
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceOk);
    EXPECT_EQ(n, kVoiceG726FrameSamples);
    // A reset on a live decoder replaces it; a release makes it unusable.
    ASSERT_EQ(VOICE_DecReset(s.get(), kVoiceModeG726), kVoiceOk);
    VOICE_DecRelease(s.get());
    VOICE_DecRelease(s.get());
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceBadState);
}

TEST(VoiceEngine, AFrameWithAWrongHeaderWritesNothing) {
    State s;
    ASSERT_EQ(VOICE_DecReset(s.get(), kVoiceModeG726), kVoiceOk);
    std::vector<uint8_t> f = SilentG726Frame();
    f[0] = 0x64;
    int16_t out[kVoiceMaxFrameSamples];
    for (int16_t& v : out) v = 0x1234;
    int16_t n = 5;
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), f.data(), out, &n), kVoiceBadFrame);
    EXPECT_EQ(n, 5);
    for (int16_t v : out) ASSERT_EQ(v, 0x1234);
}

// Our frames decode, sample for sample, to what ffmpeg itself decodes from
// the same codes.
TEST(VoiceEngine, G726MatchesTheOutsideDecoder) {
    for (std::string name : {"speech", "full"}) {
        std::vector<uint8_t> codes;
        ASSERT_TRUE(ReadBytes("fixtures/" + name + ".g726", &codes));
        AudioFrames frames = FrameG726Codes(codes);
        ASSERT_EQ(frames.size(), 50u) << name;
        std::vector<int16_t> ours = DecodeAll(kVoiceModeG726, frames);
        std::vector<int16_t> theirs = ReadPcm("fixtures/" + name + ".g726.pcm");
        ASSERT_EQ(ours.size(), 50u * kVoiceG726FrameSamples) << name;
        ASSERT_EQ(theirs.size(), ours.size()) << name;
        EXPECT_TRUE(ours == theirs) << name;
        int peak = 0;
        for (int16_t v : ours) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, name == "full" ? 28000 : 4000) << name;   // the fixture is not silence
    }
}

TEST(VoiceEngine, AdpcmMatchesTheOutsideDecoder) {
    for (std::string name : {"speech", "full"}) {
        std::vector<uint8_t> wav, blocks;
        ASSERT_TRUE(ReadBytes("fixtures/" + name + ".ima.wav", &wav));
        ASSERT_TRUE(ReadWavData(wav, &blocks));
        AudioFrames frames = FrameImaBlocks(blocks, 256);
        ASSERT_EQ(frames.size(), 50u) << name;
        std::vector<int16_t> ours = DecodeAll(kVoiceModeAdpcm, frames);
        // ffmpeg decoded the 256-byte blocks: 505 samples each, of which the
        // first 321 come from the bytes our frames carry.
        std::vector<int16_t> all = ReadPcm("fixtures/" + name + ".ima.pcm"), theirs;
        ASSERT_EQ(all.size(), 50u * 505) << name;
        for (size_t b = 0; b < 50; ++b)
            theirs.insert(theirs.end(), all.begin() + long(b * 505), all.begin() + long(b * 505 + 321));
        ASSERT_EQ(ours.size(), 50u * kVoiceAdpcmFrameSamples) << name;
        EXPECT_TRUE(ours == theirs) << name;
        int peak = 0;
        for (int16_t v : ours) peak = std::max(peak, std::abs(int(v)));
        EXPECT_GT(peak, name == "full" ? 28000 : 4000) << name;
    }
}

// Blocks a recorder never wrote (step index out of range, any predictor):
// at most one frame's samples, and the next good frame still decodes.
TEST(VoiceEngine, HostileAdpcmBlocksStayWithinAFrame) {
    State s;
    ASSERT_EQ(VOICE_DecReset(s.get(), kVoiceModeAdpcm), kVoiceOk);
    const uint8_t steps[] = {0, 88, 89, 200, 255};
    for (uint8_t step : steps) {
        std::vector<uint8_t> f(kVoiceAdpcmFrameBytes, 0x77);
        VOICE_MakeFrameHeader(f.data(), kVoiceModeAdpcm, 1);
        f[4] = 0x00;
        f[5] = 0x80;   // predictor -32768
        f[6] = step;
        int16_t out[kVoiceMaxFrameSamples + 8];
        for (int16_t& v : out) v = 0x2222;
        int16_t n = 0;
        int r = VOICE_DecodeFrame(s.get(), f.data(), out, &n);
        if (r == kVoiceOk) {
            EXPECT_EQ(n, kVoiceAdpcmFrameSamples) << int(step);
        }
        for (int i = kVoiceMaxFrameSamples; i < kVoiceMaxFrameSamples + 8; ++i) ASSERT_EQ(out[i], 0x2222);
    }
    std::vector<uint8_t> good(kVoiceAdpcmFrameBytes, 0);
    VOICE_MakeFrameHeader(good.data(), kVoiceModeAdpcm, 2);
    int16_t out[kVoiceMaxFrameSamples];
    int16_t n = 0;
    EXPECT_EQ(VOICE_DecodeFrame(s.get(), good.data(), out, &n), kVoiceOk);
    EXPECT_EQ(n, kVoiceAdpcmFrameSamples);
}
