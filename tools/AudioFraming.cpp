#include "AudioFraming.h"

#include "RecordFormat.h"
#include "VoiceEngine.h"

#include <string.h>

namespace recwriter {

bool ReadWavData(const std::vector<uint8_t>& wav, std::vector<uint8_t>* data) {
    if (wav.size() < 12 || memcmp(wav.data(), "RIFF", 4) != 0 || memcmp(wav.data() + 8, "WAVE", 4) != 0)
        return false;
    size_t p = 12;
    while (p + 8 <= wav.size()) {
        uint32_t size = rec::LoadLE32(&wav[p + 4]);
        size_t body = p + 8;
        if (memcmp(&wav[p], "data", 4) == 0) {
            size_t end = size > wav.size() - body ? wav.size() : body + size;
            data->assign(wav.begin() + long(body), wav.begin() + long(end));
            return true;
        }
        if (size > wav.size() - body) return false;
        p = body + size + (size & 1);
    }
    return false;
}

static std::vector<uint8_t> Frame(int mode, uint8_t sequence, const uint8_t* payload, size_t bytes) {
    std::vector<uint8_t> f(kVoiceFrameHeaderBytes + bytes);
    VOICE_MakeFrameHeader(f.data(), mode, sequence);
    memcpy(f.data() + kVoiceFrameHeaderBytes, payload, bytes);
    return f;
}

AudioFrames FrameImaBlocks(const std::vector<uint8_t>& blocks, size_t blockBytes) {
    AudioFrames frames;
    if (blockBytes < kVoiceAdpcmPayloadBytes) return frames;
    for (size_t p = 0; p + blockBytes <= blocks.size(); p += blockBytes)
        frames.push_back(Frame(kVoiceModeAdpcm, uint8_t(frames.size()), &blocks[p], kVoiceAdpcmPayloadBytes));
    return frames;
}

AudioFrames FrameG726Codes(const std::vector<uint8_t>& codes) {
    AudioFrames frames;
    for (size_t p = 0; p + kVoiceG726PayloadBytes <= codes.size(); p += kVoiceG726PayloadBytes)
        frames.push_back(Frame(kVoiceModeG726, uint8_t(frames.size()), &codes[p], kVoiceG726PayloadBytes));
    return frames;
}

}  // namespace recwriter
