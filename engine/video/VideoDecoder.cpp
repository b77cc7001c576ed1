#include "VideoDecoder.h"

#include "BmpWriter.h"
#include "ColorConvert.h"

#include <new>
#include <string.h>

namespace {

int ChromaWidth(int w) { return (w + 1) / 2; }
int ChromaHeight(int h) { return (h + 1) / 2; }

}  // namespace

CVDEC::CVDEC() {}

CVDEC::~CVDEC() { FreeKeptPlanes(); }

void CVDEC::FreeKeptPlanes() {
    delete[] keptY_;
    delete[] keptU_;
    delete[] keptV_;
    keptY_ = keptU_ = keptV_ = nullptr;
    keptWidth_ = keptHeight_ = 0;
    keptValid_ = false;
}

// Called under the picture lock. Planes are made anew only for a new size.
bool CVDEC::EnsureKeptPlanes(int w, int h) {
    if (keptY_ && keptWidth_ == w && keptHeight_ == h) return true;
    FreeKeptPlanes();
    if (w <= 0 || h <= 0) return false;
    size_t chroma = size_t(ChromaWidth(w)) * size_t(ChromaHeight(h));
    keptY_ = new (std::nothrow) uint8_t[size_t(w) * size_t(h)];
    keptU_ = new (std::nothrow) uint8_t[chroma];
    keptV_ = new (std::nothrow) uint8_t[chroma];
    if (!keptY_ || !keptU_ || !keptV_) {
        FreeKeptPlanes();
        return false;
    }
    keptWidth_ = w;
    keptHeight_ = h;
    return true;
}

void CVDEC::HandlePicture(const H264DecPicture& pic, uint64_t timestamp, const CaptureFrameInfo& side) {
    const int w = int(pic.width), h = int(pic.height);
    if (w <= 0 || h <= 0 || !pic.y || !pic.u || !pic.v) return;
    CAutoLock lock(pictureLock_);
    if (pictureReady_ && (w != width_ || h != height_)) {
        // A new size shows nothing until its first intra picture.
        if (display_) display_->ReleaseSurfaces();
        pictureReady_ = 0;
    }
    if (!pictureReady_) {
        keptValid_ = false;
        if (pic.intra) {
            if (display_) display_->Create(w, h);
            width_ = w;
            height_ = h;
            pictureReady_ = 1;
        }
        EnsureKeptPlanes(w, h);
    }
    if (!pictureReady_) return;
    if (display_ && !holdPictures_)
        display_->DrawYuv(pic.y, int(pic.yStride), pic.u, pic.v, int(pic.uvStride), drawMode_,
                          uint32_t(timestamp), uint32_t(timestamp >> 32));
    if (!EnsureKeptPlanes(w, h)) return;
    for (int row = 0; row < h; ++row)
        memcpy(keptY_ + size_t(row) * size_t(w), pic.y + size_t(row) * pic.yStride, size_t(w));
    const int cw = ChromaWidth(w), ch = ChromaHeight(h);
    for (int row = 0; row < ch; ++row) {
        memcpy(keptU_ + size_t(row) * size_t(cw), pic.u + size_t(row) * pic.uvStride, size_t(cw));
        memcpy(keptV_ + size_t(row) * size_t(cw), pic.v + size_t(row) * pic.uvStride, size_t(cw));
    }
    keptSide_ = side;
    keptTimestamp_ = timestamp;
    keptValid_ = true;
}

void CVDEC::Redraw() {
    CAutoLock lock(pictureLock_);
    if (!pictureReady_ || !keptValid_ || !display_) return;
    if (keptWidth_ != width_ || keptHeight_ != height_) return;
    display_->DrawYuv(keptY_, keptWidth_, keptU_, keptV_, ChromaWidth(keptWidth_), drawMode_, 0, 0);
}

int CVDEC::CaptureBmp(const char* path, CaptureFrameInfo* info, bool* written) {
    if (written) *written = false;
    CAutoLock lock(pictureLock_);
    if (!keptValid_) return 0;
    if (info) *info = keptSide_;
    if (!path) return 0;
    const int w = keptWidth_, h = keptHeight_;
    uint8_t* pixels = new (std::nothrow) uint8_t[bmp::PixelBytes(w, h)];
    if (!pixels) return 0;
    // Rows bottom first, padded to 4 bytes, as the file stores them.
    color::YuvToRgb24(pixels, int(bmp::RowBytes(w)), keptY_, keptU_, keptV_, w, ChromaWidth(w), w, -h);
    bool ok = bmp::WriteFile(path, pixels, w, h);
    delete[] pixels;
    if (written) *written = ok;
    return 0;
}

CVDEC::Kept CVDEC::CopyKept() {
    CAutoLock lock(pictureLock_);
    Kept k;
    k.valid = keptValid_;
    if (!keptValid_) return k;
    k.width = keptWidth_;
    k.height = keptHeight_;
    size_t chroma = size_t(ChromaWidth(keptWidth_)) * size_t(ChromaHeight(keptHeight_));
    k.y.assign(keptY_, keptY_ + size_t(keptWidth_) * size_t(keptHeight_));
    k.u.assign(keptU_, keptU_ + chroma);
    k.v.assign(keptV_, keptV_ + chroma);
    k.side = keptSide_;
    k.timestamp = keptTimestamp_;
    return k;
}

bool CVDEC::PictureReady() {
    CAutoLock lock(pictureLock_);
    return pictureReady_ != 0;
}

CVDECH264::CVDECH264(const H264DecoderApi* api) : api_(api ? api : &LibraryH264Api()) {}

CVDECH264::~CVDECH264() { Destroy(); }

int CVDECH264::Create(int unused) {
    (void)unused;
    Destroy();
    H264DecAttr attr;
    memset(&attr, 0, sizeof attr);
    attr.maxWidthMb = 80;   // 1280 x 720
    attr.maxHeightMb = 45;
    handle_ = api_->create(&attr);
    pendingHead_ = pendingCount_ = 0;
    return handle_ ? 1 : 0;
}

int CVDECH264::Destroy() {
    if (handle_) api_->destroy(handle_);
    handle_ = nullptr;
    return 1;
}

void CVDECH264::PushPending(const Pending& entry) {
    if (pendingCount_ == kMaxPending) PopPending();  // the oldest goes
    pending_[(pendingHead_ + pendingCount_) % kMaxPending] = entry;
    ++pendingCount_;
}

CVDECH264::Pending CVDECH264::PopPending() {
    Pending oldest = pending_[pendingHead_];
    pendingHead_ = (pendingHead_ + 1) % kMaxPending;
    --pendingCount_;
    return oldest;
}

int CVDECH264::Decode(int type, const uint8_t* data, uint32_t length, uint32_t timestampLow,
                      uint32_t timestampHigh, const CaptureFrameInfo* side) {
    if (waitingForIFrame_) {
        if (type != 0) return 0;
        waitingForIFrame_ = 0;
    }
    const uint64_t timestamp = (uint64_t(timestampHigh) << 32) | timestampLow;
    Pending entry;
    entry.timestamp = timestamp;
    if (side) entry.side = *side;
    else memset(&entry.side, 0, sizeof entry.side);
    PushPending(entry);

    H264DecPicture pic;
    memset(&pic, 0, sizeof pic);
    int result = api_->frame(handle_, data, length, timestamp, &pic, 0);
    while (result == kH264PictureOut) {
        // Pictures pair with packets strictly in order.
        Pending match = pendingCount_ ? PopPending() : entry;
        HandlePicture(pic, match.timestamp, match.side);
        memset(&pic, 0, sizeof pic);
        result = api_->frame(handle_, nullptr, 0, timestamp, &pic, 0);
    }
    return 1;
}
