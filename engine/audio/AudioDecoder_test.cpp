#include "AudioDecoder.h"

#include "AudioFraming.h"
#include "RecordWriter.h"
#include "VoiceEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string.h>
#include <string>
#include <vector>

using namespace recwriter;

TEST(AudioDecoder, GainAndClipping) {
    struct Case { int16_t in, out; } cases[] = {
        {0, 0},         {1234, 12340},   {4000, 32767},   {-3277, -32768}, {3276, 32760},
        {3277, 32767},  {-3276, -32760}, {32767, 32767},  {-32768, -32768}, {-1, -10},
    };
    for (const Case& c : cases) EXPECT_EQ(AmplifySample(c.in), c.out) << c.in;
}

TEST(AudioDecoder, FormatsAndFrameSizes) {
    std::unique_ptr<CADEC> g(CreateAudioDecoder(2)), a(CreateAudioDecoder(3)), other(CreateAudioDecoder(0));
    EXPECT_EQ(g->InputFrameBytes(), 204);
    EXPECT_EQ(a->InputFrameBytes(), 168);
    EXPECT_EQ(other->InputFrameBytes(), 168);
    for (CADEC* d : {g.get(), a.get()}) {
        const WAVEFORMATEX& f = d->Format();
        EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
        EXPECT_EQ(f.nChannels, 1);
        EXPECT_EQ(f.nSamplesPerSec, 8000u);
        EXPECT_EQ(f.nAvgBytesPerSec, 16000u);
        EXPECT_EQ(f.nBlockAlign, 2);
        EXPECT_EQ(f.wBitsPerSample, 16);
        EXPECT_EQ(d->Reset(), 1);
    }
}

TEST(AudioDecoder, ADecodeThatWouldNotFitWritesNothing) {
    CADECG726 d;
    ASSERT_EQ(d.Reset(), 1);
    std::vector<uint8_t> f(204, 0x5A);
    VOICE_MakeFrameHeader(f.data(), kVoiceModeG726, 0);
    std::vector<int16_t> out(400, 7);
    int16_t n = -1;
    EXPECT_EQ(d.Decode(f.data(), out.data(), 319, &n), 0);
    EXPECT_EQ(n, -1);
    for (int16_t v : out) ASSERT_EQ(v, 7);
    EXPECT_EQ(d.Decode(f.data(), out.data(), 320, &n), 1);
    EXPECT_EQ(n, 320);
    EXPECT_EQ(out[320], 7);
    f[2] = 82;   // an ADPCM-sized header in a G.726 stream
    EXPECT_EQ(d.Decode(f.data(), out.data(), 400, &n), 0);
}

TEST(AudioDecoder, NothingDecodesBeforeReset) {
    CADECAdpcm d;
    std::vector<uint8_t> f(168, 0);
    VOICE_MakeFrameHeader(f.data(), kVoiceModeAdpcm, 0);
    int16_t out[kVoiceMaxFrameSamples];
    int16_t n = 0;
    EXPECT_EQ(d.Decode(f.data(), out, kVoiceMaxFrameSamples, &n), 0);
    ASSERT_EQ(d.Reset(), 1);
    EXPECT_EQ(d.Decode(f.data(), out, kVoiceMaxFrameSamples, &n), 1);
    EXPECT_EQ(n, 321);
}

// The engine's decoders give ffmpeg's own decode of the same codes, amplified.
TEST(AudioDecoder, MatchesTheOutsideDecoderAfterGain) {
    for (std::string name : {"speech", "full"}) {
        std::vector<uint8_t> codes, ref;
        ASSERT_TRUE(ReadBytes("../voice/fixtures/" + name + ".g726", &codes));
        ASSERT_TRUE(ReadBytes("../voice/fixtures/" + name + ".g726.pcm", &ref));
        CADECG726 d;
        ASSERT_EQ(d.Reset(), 1);
        size_t at = 0;
        int clipped = 0;
        for (const auto& f : FrameG726Codes(codes)) {
            int16_t out[kVoiceMaxFrameSamples];
            int16_t n = 0;
            ASSERT_EQ(d.Decode(f.data(), out, kVoiceMaxFrameSamples, &n), 1);
            for (int i = 0; i < n; ++i, ++at) {
                ASSERT_LT(at * 2 + 1, ref.size());
                int16_t theirs;
                memcpy(&theirs, &ref[at * 2], 2);
                ASSERT_EQ(out[i], AmplifySample(theirs)) << name << " sample " << at;
                clipped += out[i] == 32767 || out[i] == -32768;
            }
        }
        EXPECT_EQ(at * 2, ref.size());
        EXPECT_GT(clipped, 0) << name;
    }
}
