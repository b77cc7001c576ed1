// The voice engine: decodes one recorder audio frame to 16-bit mono PCM at
// 8,000 samples a second. The caller owns the state buffer (16 bytes for
// ADPCM, 128 for G.726, zeroed before the first reset, any 2-byte-aligned
// address); the engine keeps its decoder behind it until VOICE_DecRelease.
//
// Frame layout (both codecs): a 4-byte frame header, then the codes.
//   byte 0  marker, kVoiceFrameMarker
//   byte 1  sequence counter (wraps; not checked, a gap is lost audio)
//   byte 2  payload length in 16-bit words
//   byte 3  reserved, 0
// ADPCM: 168 bytes; the payload is one 164-byte IMA ADPCM block as WAV files
//   lay it out (int16 predictor, uint8 step index, a reserved byte, then 160
//   bytes of 4-bit codes, low nibble first): 321 samples.
// G.726: 204 bytes; 200 bytes of 5-bit codes at 40 kbit/s, the first code in
//   the most significant bits of the first byte: 320 samples.
// A frame whose header does not match its codec fails and writes nothing.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum {
    kVoiceOk = 0,
    kVoiceBadState = 1,     // no decoder: never reset, or released
    kVoiceBadMode = 2,
    kVoiceBadFrame = 3,     // header does not match the codec
    kVoiceDecodeFailed = 4,
    kVoiceNoMemory = 5,
};

enum {
    kVoiceModeAdpcm = 3,
    kVoiceModeG726 = 7,
};

enum {
    kVoiceFrameMarker = 0x01,
    kVoiceFrameHeaderBytes = 4,
    kVoiceAdpcmPayloadBytes = 164,
    kVoiceAdpcmFrameBytes = kVoiceFrameHeaderBytes + kVoiceAdpcmPayloadBytes,   // 168
    kVoiceAdpcmFrameSamples = 321,
    kVoiceG726PayloadBytes = 200,
    kVoiceG726FrameBytes = kVoiceFrameHeaderBytes + kVoiceG726PayloadBytes,     // 204
    kVoiceG726FrameSamples = 320,
    kVoiceG726CodeBits = 5,
    // The output buffer of VOICE_DecodeFrame must hold this many samples.
    kVoiceMaxFrameSamples = 321,
    kVoiceStateBytesAdpcm = 16,
    kVoiceStateBytesG726 = 128,
};

// Writes the 4-byte header of a frame of the given mode.
void VOICE_MakeFrameHeader(uint8_t* header, int mode, uint8_t sequence);
// 1 when the header is one of `mode`'s frames.
int VOICE_CheckFrameHeader(const uint8_t* header, int mode);

// Prepares (or restarts) decoding of `mode`'s frames. 0 on success.
int VOICE_DecReset(void* state, int mode);
// Decodes one whole frame into `output` (room for kVoiceMaxFrameSamples);
// on 0 *samples says how many were written.
int VOICE_DecodeFrame(void* state, const uint8_t* frame, int16_t* output, int16_t* samples);
// Frees the decoder kept behind `state` (safe on a zeroed or released one).
void VOICE_DecRelease(void* state);

#ifdef __cplusplus
}
#endif
