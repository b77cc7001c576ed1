// The channel's position: the timestamps of the last decoded frame, written
// by the play thread and read by the caller's thread. A plain 64-bit value
// tears on 32-bit x86 (two 32-bit moves), so they go through interlocked
// 64-bit operations.
#pragma once

#include <windows.h>
#include <stdint.h>

class AtomicTimestamp {
public:
    uint64_t Load() const {
        // A compare-exchange that never changes anything reads all 64 bits at once.
        return uint64_t(InterlockedCompareExchange64(&value_, 0, 0));
    }
    void Store(uint64_t v) { InterlockedExchange64(&value_, LONGLONG(v)); }

private:
    mutable volatile LONGLONG value_ = 0;
};

// What a channel player's caller reads of its position while the play
// thread writes it, both whole.
struct ChannelPosition {
    // The last decoded picture's timestamp: the play time.
    AtomicTimestamp current;
    // The same, but 0 after each clock reset (play, seek, rate, resume): the
    // start of the next frame interval, and where sound switched on starts.
    AtomicTimestamp lastDecoded;
};

// Milliseconds from the file's first I-frame. Before the first frame is
// decoded (and for a timestamp before the first I-frame) the position is 0,
// not the wrapped difference.
inline int32_t PlayTimeMs(uint64_t current, uint64_t first) {
    if (current < first) return 0;
    return int32_t(uint32_t((current - first) / 1000u));
}
