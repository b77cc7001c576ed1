// The H.264 decoder library as the video decoder calls it: create, decode
// one packet, destroy. It stands over libavcodec's h264 decoder and gives
// 4:2:0 pictures only.
#pragma once

#include <stdint.h>

struct H264DecAttr {
    uint32_t reserved0;
    uint32_t reserved1;
    uint32_t maxWidthMb;   // largest picture in macroblocks
    uint32_t maxHeightMb;
    uint32_t reserved[4];
};

// One picture out. The planes belong to the decoder and stay valid until
// its next call.
struct H264DecPicture {
    const uint8_t* y;
    const uint8_t* u;      // half width, half height
    const uint8_t* v;
    uint32_t width;
    uint32_t height;
    uint32_t yStride;      // bytes
    uint32_t uvStride;
    uint32_t intra;        // 1 for a key or I picture
    uint64_t timestamp;    // as the decoder reports it; callers need not trust it
};

typedef void* H264DecHandle;

enum {
    kH264PictureOut = 0,
    kH264NeedMoreData = -1,
    kH264NoPicture = -2,
};

// Null on failure.
H264DecHandle H264DecCreate(const H264DecAttr* attr);
// Feeds one packet (data may be null with length 0: then it only asks for a
// further picture). Gives kH264PictureOut with `out` filled, else a negative
// result. The data is not kept past the call.
int H264DecFrame(H264DecHandle handle, const uint8_t* data, uint32_t length, uint64_t timestamp,
                  H264DecPicture* out, uint32_t flags);
void H264DecDestroy(H264DecHandle handle);

// The three calls as a table, so that a decoder can run over a stand-in.
struct H264DecoderApi {
    H264DecHandle (*create)(const H264DecAttr* attr);
    int (*frame)(H264DecHandle handle, const uint8_t* data, uint32_t length, uint64_t timestamp,
                 H264DecPicture* out, uint32_t flags);
    void (*destroy)(H264DecHandle handle);
};

const H264DecoderApi& LibraryH264Api();
