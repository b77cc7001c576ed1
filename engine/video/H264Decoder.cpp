#include "H264Decoder.h"

#include <new>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

namespace {

struct Decoder {
    AVCodecContext* ctx = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    // A packet the decoder refused while it still had a picture to give;
    // sent once that picture is taken.
    AVPacket* held = nullptr;
    bool holding = false;
};

void Free(Decoder* d) {
    if (!d) return;
    avcodec_free_context(&d->ctx);
    av_packet_free(&d->packet);
    av_packet_free(&d->held);
    av_frame_free(&d->frame);
    delete d;
}

void SendHeld(Decoder* d) {
    if (!d->holding) return;
    if (avcodec_send_packet(d->ctx, d->held) != AVERROR(EAGAIN)) {
        d->holding = false;
        av_packet_unref(d->held);
    }
}

}  // namespace

H264DecHandle H264DecCreate(const H264DecAttr* attr) {
    (void)attr;  // the decoder sizes itself from the stream
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    if (!codec) return nullptr;
    Decoder* d = new (std::nothrow) Decoder;
    if (!d) return nullptr;
    d->ctx = avcodec_alloc_context3(codec);
    d->packet = av_packet_alloc();
    d->held = av_packet_alloc();
    d->frame = av_frame_alloc();
    if (!d->ctx || !d->packet || !d->held || !d->frame) {
        Free(d);
        return nullptr;
    }
    // One thread and no reordering delay: each packet's picture comes out
    // in the call that fed it.
    d->ctx->thread_count = 1;
    d->ctx->flags |= AV_CODEC_FLAG_LOW_DELAY;
    if (avcodec_open2(d->ctx, codec, nullptr) < 0) {
        Free(d);
        return nullptr;
    }
    return d;
}

int H264DecFrame(H264DecHandle handle, const uint8_t* data, uint32_t length, uint64_t timestamp,
                  H264DecPicture* out, uint32_t flags) {
    (void)flags;
    Decoder* d = static_cast<Decoder*>(handle);
    if (!d || !out) return kH264NoPicture;
    av_frame_unref(d->frame);
    // An empty packet would mean end of stream to libavcodec, after which
    // it takes no input until flushed: a call without data only receives.
    if (data && length > 0) {
        d->packet->data = const_cast<uint8_t*>(data);
        d->packet->size = int(length);
        d->packet->pts = int64_t(timestamp);
        int sent = avcodec_send_packet(d->ctx, d->packet);
        if (sent == AVERROR(EAGAIN) && !d->holding) {
            // The reference copies the bytes, since the caller's are not kept.
            if (av_packet_ref(d->held, d->packet) == 0) d->holding = true;
        }
        d->packet->data = nullptr;
        d->packet->size = 0;
    }
    for (;;) {
        int got = avcodec_receive_frame(d->ctx, d->frame);
        if (got == AVERROR(EAGAIN)) {
            if (!d->holding) return kH264NeedMoreData;
            SendHeld(d);
            if (d->holding) return kH264NeedMoreData;
            continue;
        }
        if (got < 0) return kH264NoPicture;
        SendHeld(d);
        AVFrame* f = d->frame;
        if ((f->format != AV_PIX_FMT_YUV420P && f->format != AV_PIX_FMT_YUVJ420P) || f->width <= 0 ||
            f->height <= 0 || f->linesize[0] <= 0 || f->linesize[1] <= 0 || f->linesize[1] != f->linesize[2]) {
            av_frame_unref(f);
            continue;  // not a picture we can show; look for the next
        }
        out->y = f->data[0];
        out->u = f->data[1];
        out->v = f->data[2];
        out->width = uint32_t(f->width);
        out->height = uint32_t(f->height);
        out->yStride = uint32_t(f->linesize[0]);
        out->uvStride = uint32_t(f->linesize[1]);
        out->intra = (f->key_frame || f->pict_type == AV_PICTURE_TYPE_I) ? 1 : 0;
        out->timestamp = f->pts == AV_NOPTS_VALUE ? timestamp : uint64_t(f->pts);
        return kH264PictureOut;
    }
}

void H264DecDestroy(H264DecHandle handle) { Free(static_cast<Decoder*>(handle)); }

const H264DecoderApi& LibraryH264Api() {
    static const H264DecoderApi api = {H264DecCreate, H264DecFrame, H264DecDestroy};
    return api;
}
