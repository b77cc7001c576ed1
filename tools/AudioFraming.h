// Lays codes made by ffmpeg's sound encoders into the recorder's audio frames
// (layout in VoiceEngine.h): G.726 at 40 kbit/s, MSB-first, as ffmpeg's raw
// "g726" output writes it; IMA ADPCM from WAV files whose blocks start with
// one of our 164-byte blocks (ffmpeg's encoder only makes power-of-two
// blocks, so the signal is laid out to put 321 samples at each block's start).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <vector>

namespace recwriter {

using AudioFrames = std::vector<std::vector<uint8_t>>;

// The body of a RIFF WAV file's data chunk; false when there is none.
bool ReadWavData(const std::vector<uint8_t>& wav, std::vector<uint8_t>* data);
// One 168-byte frame from the first 164 bytes of every `blockBytes` block.
AudioFrames FrameImaBlocks(const std::vector<uint8_t>& blocks, size_t blockBytes);
// One 204-byte frame per 200 bytes of codes; a shorter tail is dropped.
AudioFrames FrameG726Codes(const std::vector<uint8_t>& codes);

}  // namespace recwriter
