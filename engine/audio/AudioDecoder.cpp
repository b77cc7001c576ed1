#include "AudioDecoder.h"

#include "VoiceEngine.h"

#include <new>
#include <string.h>

int16_t AmplifySample(int16_t sample) {
    double v = double(sample) * 10.0;
    if (v > 32767.0) return 32767;
    if (v < -32768.0) return -32768;
    return int16_t(v);   // truncates toward zero
}

CADEC::CADEC() {
    memset(&format_, 0, sizeof(format_));
    format_.wFormatTag = WAVE_FORMAT_PCM;
    format_.nChannels = 1;
    format_.nSamplesPerSec = 8000;
    format_.nAvgBytesPerSec = 16000;
    format_.nBlockAlign = 2;
    format_.wBitsPerSample = 16;
    format_.cbSize = 0;
}

int CADEC::Decode(const uint8_t* input, int16_t* output, int capacity, int16_t* samples) {
    // The engine's count is not trusted: decode into room for the largest
    // frame, then copy only what the caller can hold.
    int16_t scratch[kVoiceMaxFrameSamples];
    int16_t n = 0;
    if (!input || !output || !samples) return 0;
    if (VOICE_DecodeFrame(CodecState(), input, scratch, &n) != kVoiceOk) return 0;
    if (n < 0 || n > kVoiceMaxFrameSamples || n > capacity) return 0;
    for (int i = 0; i < n; ++i) output[i] = AmplifySample(scratch[i]);
    *samples = n;
    return 1;
}

CADECAdpcm::CADECAdpcm() { memset(state_, 0, sizeof(state_)); }
CADECAdpcm::~CADECAdpcm() { VOICE_DecRelease(state_); }
int CADECAdpcm::Reset() { return VOICE_DecReset(state_, kVoiceModeAdpcm) == kVoiceOk ? 1 : 0; }

CADECG726::CADECG726() { memset(state_, 0, sizeof(state_)); }
CADECG726::~CADECG726() { VOICE_DecRelease(state_); }
int CADECG726::Reset() { return VOICE_DecReset(state_, kVoiceModeG726) == kVoiceOk ? 1 : 0; }

CADEC* CreateAudioDecoder(int codecNumber) {
    if (codecNumber == 2) return new (std::nothrow) CADECG726;
    return new (std::nothrow) CADECAdpcm;
}
