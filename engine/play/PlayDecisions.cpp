#include "PlayDecisions.h"

ReadAhead ForwardReadAhead(bool cameraFile, int32_t rate, int queuedVideoPackets) {
    if (!cameraFile && rate >= kIFrameOnlyRate)
        return queuedVideoPackets == 0 ? ReadAhead::kNextIFrame : ReadAhead::kNothing;
    return queuedVideoPackets < kRefillPackets ? ReadAhead::kRefill : ReadAhead::kNothing;
}

bool ForwardEndCheck(int* stepCounter, bool videoQueueEmpty, bool readerExhausted, int32_t rate) {
    if (*stepCounter < 3) {
        ++*stepCounter;
        return false;
    }
    if (!videoQueueEmpty || !readerExhausted || rate >= kIFrameOnlyRate) return false;
    *stepCounter = -60;
    return true;
}
