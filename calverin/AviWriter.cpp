#include "AviWriter.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
}

#include <string.h>

namespace calverin {

namespace {

constexpr int kVideoStream = 0;
constexpr int kSoundStream = 1;

}  // namespace

AviWriter::~AviWriter() { Close(); }

bool AviWriter::Open(const std::string& utf8Path, const AviVideoFormat& video, bool withSound) {
    Close();
    rate_ = video.rate;
    withSound_ = withSound;
    if (avformat_alloc_output_context2(&context_, nullptr, "avi", nullptr) < 0 || !context_) return false;
    packet_ = av_packet_alloc();
    AVStream* v = avformat_new_stream(context_, nullptr);
    if (!packet_ || !v) return false;
    v->time_base = AVRational{int(rate_.den), int(rate_.num)};
    v->avg_frame_rate = AVRational{int(rate_.num), int(rate_.den)};
    AVCodecParameters* vp = v->codecpar;
    vp->codec_type = AVMEDIA_TYPE_VIDEO;
    vp->codec_id = AV_CODEC_ID_H264;
    vp->codec_tag = MKTAG('H', '2', '6', '4');
    vp->width = video.width;
    vp->height = video.height;
    if (withSound) {
        AVStream* a = avformat_new_stream(context_, nullptr);
        if (!a) return false;
        a->time_base = AVRational{1, kSampleRate};
        AVCodecParameters* ap = a->codecpar;
        ap->codec_type = AVMEDIA_TYPE_AUDIO;
        ap->codec_id = AV_CODEC_ID_PCM_S16LE;
        ap->sample_rate = kSampleRate;
        av_channel_layout_default(&ap->ch_layout, 1);
        ap->bits_per_coded_sample = 16;
        ap->block_align = 2;
        ap->bit_rate = int64_t(kSampleRate) * 16;
    }
    // "file:" keeps a drive letter from being read as a protocol name.
    std::string url = "file:" + utf8Path;
    if (avio_open(&context_->pb, url.c_str(), AVIO_FLAG_WRITE) < 0) return false;
    return avformat_write_header(context_, nullptr) >= 0;
}

bool AviWriter::Write(int stream, const void* data, size_t size, int64_t pts, int64_t duration, bool key) {
    if (!context_ || !context_->pb || size > size_t(INT32_MAX - AV_INPUT_BUFFER_PADDING_SIZE)) return false;
    if (av_new_packet(packet_, int(size)) < 0) return false;
    memcpy(packet_->data, data, size);
    packet_->stream_index = stream;
    packet_->pts = packet_->dts = pts;
    packet_->duration = duration;
    packet_->flags = key ? AV_PKT_FLAG_KEY : 0;
    int result = av_interleaved_write_frame(context_, packet_);
    av_packet_unref(packet_);
    return result >= 0;
}

bool AviWriter::WriteVideo(const uint8_t* data, size_t size, int64_t slot, bool keyFrame) {
    if (!context_) return false;
    AVRational tb = context_->streams[kVideoStream]->time_base;
    AVRational slots = {int(rate_.den), int(rate_.num)};
    int64_t pts = av_rescale_q(slot, slots, tb);
    int64_t duration = av_rescale_q(1, slots, tb);
    return Write(kVideoStream, data, size, pts, duration, keyFrame);
}

bool AviWriter::WriteSound(const int16_t* samples, size_t count, int64_t position) {
    if (!context_ || !withSound_) return false;
    AVRational tb = context_->streams[kSoundStream]->time_base;
    AVRational rate = {1, kSampleRate};
    int64_t pts = av_rescale_q(position, rate, tb);
    int64_t duration = av_rescale_q(int64_t(count), rate, tb);
    return Write(kSoundStream, samples, count * sizeof(int16_t), pts, duration, true);
}

bool AviWriter::Finish() {
    if (!context_ || !context_->pb) return false;
    bool ok = av_write_trailer(context_) == 0;
    ok = avio_closep(&context_->pb) == 0 && ok;
    Close();
    return ok;
}

void AviWriter::Close() {
    if (context_) {
        if (context_->pb) avio_closep(&context_->pb);
        avformat_free_context(context_);
        context_ = nullptr;
    }
    av_packet_free(&packet_);
}

}  // namespace calverin
