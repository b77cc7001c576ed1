// The channel's video decoder: feeds H.264 packets to the decoder library,
// pairs each picture with the packet it came from, shows it, and keeps a
// copy for the periodic redraw and for BMP snapshots.
#pragma once

#include "DirectDraw.h"
#include "H264Decoder.h"
#include "MutexLock.h"
#include "Ostrivel.h"

#include <stdint.h>
#include <vector>

class CVDEC {
public:
    CVDEC();
    virtual ~CVDEC();
    CVDEC(const CVDEC&) = delete;
    CVDEC& operator=(const CVDEC&) = delete;

    virtual int Create(int unused) { (void)unused; return 0; }
    virtual int Decode(int type, const uint8_t* data, uint32_t length, uint32_t timestampLow,
                       uint32_t timestampHigh, const CaptureFrameInfo* side) {
        (void)type; (void)data; (void)length; (void)timestampLow; (void)timestampHigh; (void)side;
        return 0;
    }
    virtual int Control(int value) { (void)value; return 0; }
    virtual int Destroy() { return 0; }

    void SetDisplay(CDirectDraw* display) { display_ = display; }
    void SetPlayerValues(int a, int b) { playerValue1_ = a; playerValue2_ = b; }
    // Draws the kept picture again, when there is one.
    void Redraw();
    // Held, pictures are decoded and kept but not drawn (Redraw draws the
    // last one kept).
    void HoldPictures(bool hold) { holdPictures_ = hold; }
    // Writes the kept picture to `path` as a 24-bit BMP. Gives 0 in every
    // case; `written` (may be null) tells whether a whole file was written.
    int CaptureBmp(const char* path, CaptureFrameInfo* info, bool* written = nullptr);

    // What is kept, copied out under the lock (tightly packed planes).
    struct Kept {
        bool valid = false;
        int width = 0, height = 0;
        std::vector<uint8_t> y, u, v;
        CaptureFrameInfo side = {};
        uint64_t timestamp = 0;
    };
    Kept CopyKept();
    bool PictureReady();
    int PictureWidth() const { return width_; }
    int PictureHeight() const { return height_; }

protected:
    // One picture out of the library, with its packet's timestamp and side record.
    void HandlePicture(const H264DecPicture& pic, uint64_t timestamp, const CaptureFrameInfo& side);

    CDirectDraw* display_ = nullptr;
    int drawMode_ = 1;
    bool holdPictures_ = false;
    int pictureReady_ = 0;
    int waitingForIFrame_ = 1;
    int width_ = 0;
    int height_ = 0;
    int playerValue1_ = 0;
    int playerValue2_ = 0;
    // Guards the kept picture (its planes, size, valid flag and side record)
    // and the drawing, so that a new picture, the redraw and a snapshot never
    // meet half-way.
    CMutexLock pictureLock_;
    uint8_t* keptY_ = nullptr;
    uint8_t* keptU_ = nullptr;   // (width + 1) / 2 x (height + 1) / 2
    uint8_t* keptV_ = nullptr;
    int keptWidth_ = 0;          // the size the planes were made for
    int keptHeight_ = 0;
    bool keptValid_ = false;     // the planes hold a whole picture of that size
    CaptureFrameInfo keptSide_ = {};
    uint64_t keptTimestamp_ = 0;

private:
    bool EnsureKeptPlanes(int w, int h);
    void FreeKeptPlanes();
};

class CVDECH264 : public CVDEC {
public:
    // `api` null: the decoder library itself.
    explicit CVDECH264(const H264DecoderApi* api = nullptr);
    ~CVDECH264() override;

    int Create(int unused) override;
    int Decode(int type, const uint8_t* data, uint32_t length, uint32_t timestampLow,
               uint32_t timestampHigh, const CaptureFrameInfo* side) override;
    int Control(int value) override { (void)value; return 1; }
    int Destroy() override;

    size_t PendingCount() const { return pendingCount_; }
    // A decoder that never gives pictures back must not grow the queue
    // without end; far more than any real decoder holds back.
    static constexpr size_t kMaxPending = 64;

private:
    struct Pending {
        uint64_t timestamp;
        CaptureFrameInfo side;
    };
    void PushPending(const Pending& entry);
    Pending PopPending();

    const H264DecoderApi* api_;
    H264DecHandle handle_ = nullptr;
    // A ring of at most kMaxPending entries, oldest at pendingHead_: the
    // queue never allocates while playing.
    Pending pending_[kMaxPending];
    size_t pendingHead_ = 0;
    size_t pendingCount_ = 0;
};
