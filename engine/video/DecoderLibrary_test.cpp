// The decoders the engine wraps are present in the cross-built libavcodec.
extern "C" {
#include <libavcodec/avcodec.h>
}

#include <gtest/gtest.h>

TEST(DecoderLibrary, HasTheDecodersTheEngineUses) {
    for (AVCodecID id : {AV_CODEC_ID_H264, AV_CODEC_ID_ADPCM_G726, AV_CODEC_ID_ADPCM_G726LE,
                         AV_CODEC_ID_ADPCM_IMA_WAV}) {
        EXPECT_NE(avcodec_find_decoder(id), nullptr) << avcodec_get_name(id);
    }
}

TEST(DecoderLibrary, OpensAnH264Decoder) {
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    ASSERT_NE(codec, nullptr);
    AVCodecContext* ctx = avcodec_alloc_context3(codec);
    ASSERT_NE(ctx, nullptr);
    ctx->thread_count = 1;
    EXPECT_EQ(avcodec_open2(ctx, codec, nullptr), 0);
    avcodec_free_context(&ctx);
}
