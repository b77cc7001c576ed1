// What a channel player tells the handle that owns it.
#pragma once

#include <stdint.h>

// What a player tells the handle that owns it. Both are called from the
// play thread (and from the caller's thread while stepping or seeking).
class PlayerOwner {
public:
    virtual ~PlayerOwner() = default;
    // The master decoded a frame at `timestamp`.
    virtual void PassTime(uint64_t timestamp) = 0;
    // The channel's file ended: clear its playing mark, choose the sync
    // channel again.
    virtual void ChannelEnded(int channel) = 0;
};
