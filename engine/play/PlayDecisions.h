// The channel player's per-pass decisions: what to read ahead, when the
// file has ended, and that each end is acted on once.
#pragma once

#include <stdint.h>

enum class ReadAhead {
    kNothing,
    kNextIFrame,   // fast play on a recorder file: one I-frame at a time
    kRefill,       // read up to kRefillPackets packets
};

constexpr int kRefillPackets = 10;
constexpr int kIFrameOnlyRate = 4;

ReadAhead ForwardReadAhead(bool cameraFile, int32_t rate, int queuedVideoPackets);

// The end-of-file check after a forward pass. The first passes after a
// start are skipped (the counter counts them), and after an end the check
// rests for 63 passes. The file has ended only when the video queue is
// empty *and* the reader has nothing more: a run of audio-only packets
// empties the video queue without ending the file. In I-frame-only play the
// reader's own end reports it.
bool ForwardEndCheck(int* stepCounter, bool videoQueueEmpty, bool readerExhausted, int32_t rate);

// One end of the file is reported, and the sync channel chosen again, once;
// reading a packet again re-arms it.
class EndLatch {
public:
    // True the first time after each Rearm (and at start).
    bool Take() {
        if (reported_) return false;
        reported_ = true;
        return true;
    }
    void Rearm() { reported_ = false; }
    bool Reported() const { return reported_; }

private:
    bool reported_ = false;
};
