#include "VoiceEngine.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
}

#include <new>
#include <string.h>

namespace {

// Marks a state buffer that holds one of our decoders.
const uint8_t kStateMagic[4] = {'Z', 'V', 'D', 'C'};

struct VoiceDecoder {
    int mode = 0;
    AVCodecContext* codec = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    uint8_t input[kVoiceG726PayloadBytes + AV_INPUT_BUFFER_PADDING_SIZE] = {};
};

void FreeDecoder(VoiceDecoder* d) {
    if (!d) return;
    av_frame_free(&d->frame);
    av_packet_free(&d->packet);
    avcodec_free_context(&d->codec);
    delete d;
}

// The state buffer may be only 2-byte aligned: copy, never cast.
VoiceDecoder* DecoderOf(const void* state) {
    if (!state) return nullptr;
    const uint8_t* s = static_cast<const uint8_t*>(state);
    if (memcmp(s, kStateMagic, 4) != 0) return nullptr;
    VoiceDecoder* d = nullptr;
    memcpy(&d, s + 4, sizeof(d));
    return d;
}

void StoreDecoder(void* state, VoiceDecoder* d) {
    uint8_t* s = static_cast<uint8_t*>(state);
    if (d) memcpy(s, kStateMagic, 4);
    else memset(s, 0, 4);
    memcpy(s + 4, &d, sizeof(d));
}

int PayloadBytes(int mode) {
    return mode == kVoiceModeAdpcm ? kVoiceAdpcmPayloadBytes : kVoiceG726PayloadBytes;
}

VoiceDecoder* OpenDecoder(int mode) {
    const AVCodec* codec = avcodec_find_decoder(mode == kVoiceModeAdpcm ? AV_CODEC_ID_ADPCM_IMA_WAV
                                                                        : AV_CODEC_ID_ADPCM_G726);
    if (!codec) return nullptr;
    VoiceDecoder* d = new (std::nothrow) VoiceDecoder;
    if (!d) return nullptr;
    d->mode = mode;
    d->codec = avcodec_alloc_context3(codec);
    d->packet = av_packet_alloc();
    d->frame = av_frame_alloc();
    if (!d->codec || !d->packet || !d->frame) {
        FreeDecoder(d);
        return nullptr;
    }
    AVCodecContext* c = d->codec;
    c->sample_rate = 8000;
    av_channel_layout_default(&c->ch_layout, 1);
    c->thread_count = 1;
    if (mode == kVoiceModeAdpcm) {
        c->block_align = kVoiceAdpcmPayloadBytes;
        c->bits_per_coded_sample = 4;
    } else {
        c->bits_per_coded_sample = kVoiceG726CodeBits;
        c->bit_rate = 8000 * kVoiceG726CodeBits;
    }
    if (avcodec_open2(c, codec, nullptr) < 0) {
        FreeDecoder(d);
        return nullptr;
    }
    return d;
}

}  // namespace

void VOICE_MakeFrameHeader(uint8_t* header, int mode, uint8_t sequence) {
    header[0] = kVoiceFrameMarker;
    header[1] = sequence;
    header[2] = uint8_t(PayloadBytes(mode) / 2);
    header[3] = 0;
}

int VOICE_CheckFrameHeader(const uint8_t* header, int mode) {
    if (mode != kVoiceModeAdpcm && mode != kVoiceModeG726) return 0;
    return header[0] == kVoiceFrameMarker && header[2] == PayloadBytes(mode) / 2 && header[3] == 0;
}

int VOICE_DecReset(void* state, int mode) {
    if (!state) return kVoiceBadState;
    if (mode != kVoiceModeAdpcm && mode != kVoiceModeG726) return kVoiceBadMode;
    // A fresh decoder: G.726 carries its predictor across frames.
    VOICE_DecRelease(state);
    VoiceDecoder* d = OpenDecoder(mode);
    if (!d) return kVoiceNoMemory;
    StoreDecoder(state, d);
    return kVoiceOk;
}

int VOICE_DecodeFrame(void* state, const uint8_t* frame, int16_t* output, int16_t* samples) {
    VoiceDecoder* d = DecoderOf(state);
    if (!d) return kVoiceBadState;
    if (!frame || !output || !samples) return kVoiceDecodeFailed;
    if (!VOICE_CheckFrameHeader(frame, d->mode)) return kVoiceBadFrame;

    const int payload = PayloadBytes(d->mode);
    memcpy(d->input, frame + kVoiceFrameHeaderBytes, size_t(payload));
    d->packet->data = d->input;
    d->packet->size = payload;
    int sent = avcodec_send_packet(d->codec, d->packet);
    av_packet_unref(d->packet);
    if (sent < 0) return kVoiceDecodeFailed;

    int total = 0;
    bool failed = false;
    while (avcodec_receive_frame(d->codec, d->frame) == 0) {
        AVSampleFormat f = AVSampleFormat(d->frame->format);
        int n = d->frame->nb_samples;
        if ((f != AV_SAMPLE_FMT_S16 && f != AV_SAMPLE_FMT_S16P) || n < 0 || total + n > kVoiceMaxFrameSamples) {
            failed = true;
        } else {
            memcpy(output + total, d->frame->data[0], size_t(n) * 2);
            total += n;
        }
        av_frame_unref(d->frame);
    }
    if (failed) return kVoiceDecodeFailed;
    *samples = int16_t(total);
    return kVoiceOk;
}

void VOICE_DecRelease(void* state) {
    VoiceDecoder* d = DecoderOf(state);
    if (!d) return;
    StoreDecoder(state, nullptr);
    FreeDecoder(d);
}
