// A bounded first-in-first-out queue of variable-length packets: one byte
// ring for the data and a ring of descriptors, one per queued packet.
//
// Any thread may call any operation: the queue's lock guards all of its
// fields and is held for each whole operation (it is re-entrant, and never
// held while waiting for anything else).
#pragma once

#include "MutexLock.h"

#include <stdint.h>

struct PacketDescriptor {
    int32_t type = 0;          // rec::PacketType
    int32_t length = 0;        // bytes in the ring
    uint64_t timestamp = 0;    // microseconds
    PacketDescriptor* next = nullptr;
};

class PacketQueue {
public:
    enum PopResult {
        kPopTooLarge = -1,  // the oldest packet did not fit the destination:
                            // it was dropped (its descriptor is still given)
        kPopEmpty = 0,
        kPopOk = 1,
    };

    PacketQueue() = default;
    ~PacketQueue();
    PacketQueue(const PacketQueue&) = delete;
    PacketQueue& operator=(const PacketQueue&) = delete;

    // Room for `descriptors` - 1 packets and `capacity` bytes. 1 on success,
    // 0 when the sizes are unusable or memory is short (the queue is then empty
    // and refuses every push).
    int Init(int32_t descriptors, int32_t capacity);
    // 1 queued; 0 refused (ring of descriptors full, bytes do not fit, or a
    // negative length), and nothing changes.
    int Push(const PacketDescriptor& packet, const uint8_t* bytes);
    // Takes the oldest packet into `dest`, which holds `destCapacity` bytes.
    PopResult Pop(PacketDescriptor* packet, uint8_t* dest, int32_t destCapacity);
    int Count();
    // Timestamp of the oldest video packet (neither audio nor information).
    int PeekVideoTime(uint64_t* timestamp);
    // Timestamp of the oldest packet of any kind.
    int PeekTime(uint64_t* timestamp);
    int Clear();
    // Drops packets up to and including the first one later than `target`.
    void SkipTo(uint64_t target);
    int Free();

    int32_t FreeBytes();

private:
    void WriteRing(const uint8_t* bytes, int32_t len);
    bool ReadRing(uint8_t* dest, int32_t len);   // dest may be null: skip
    void DropHead();

    uint8_t* data_ = nullptr;
    int32_t capacity_ = 0;
    int32_t readOffset_ = 0;
    int32_t writeOffset_ = 0;
    int32_t freeBytes_ = 0;
    int32_t descriptorCount_ = 0;
    PacketDescriptor* descriptors_ = nullptr;
    int32_t count_ = 0;
    PacketDescriptor* head_ = nullptr;
    PacketDescriptor* tail_ = nullptr;
    CMutexLock lock_;  // guards every field above
};
