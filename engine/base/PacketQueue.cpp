#include "PacketQueue.h"

#include "RecordFormat.h"

#include <new>
#include <string.h>

PacketQueue::~PacketQueue() { Free(); }

int PacketQueue::Init(int32_t descriptors, int32_t capacity) {
    CAutoLock hold(lock_);
    Free();
    if (descriptors < 2 || capacity <= 0) return 0;
    data_ = new (std::nothrow) uint8_t[size_t(capacity)];
    descriptors_ = new (std::nothrow) PacketDescriptor[size_t(descriptors)];
    if (!data_ || !descriptors_) {
        Free();
        return 0;
    }
    capacity_ = capacity;
    freeBytes_ = capacity;
    descriptorCount_ = descriptors;
    for (int32_t i = 0; i < descriptors; ++i)
        descriptors_[i].next = &descriptors_[(i + 1) % descriptors];
    head_ = tail_ = descriptors_;
    return 1;
}

int PacketQueue::Push(const PacketDescriptor& packet, const uint8_t* bytes) {
    CAutoLock hold(lock_);
    if (!data_ || count_ > descriptorCount_ - 2) return 0;
    if (packet.length < 0 || packet.length > freeBytes_) return 0;
    if (packet.length > 0 && !bytes) return 0;
    tail_->type = packet.type;
    tail_->length = packet.length;
    tail_->timestamp = packet.timestamp;
    WriteRing(bytes, packet.length);
    ++count_;
    tail_ = tail_->next;
    return 1;
}

PacketQueue::PopResult PacketQueue::Pop(PacketDescriptor* packet, uint8_t* dest, int32_t destCapacity) {
    CAutoLock hold(lock_);
    if (count_ <= 0 || head_ == tail_) return kPopEmpty;
    packet->type = head_->type;
    packet->length = head_->length;
    packet->timestamp = head_->timestamp;
    if (head_->length > destCapacity || (head_->length > 0 && !dest)) {
        // Left at the head it would block the queue for good.
        DropHead();
        return kPopTooLarge;
    }
    ReadRing(dest, head_->length);
    --count_;
    head_ = head_->next;
    return kPopOk;
}

int PacketQueue::Count() {
    CAutoLock hold(lock_);
    return count_;
}

int32_t PacketQueue::FreeBytes() {
    CAutoLock hold(lock_);
    return freeBytes_;
}

int PacketQueue::PeekVideoTime(uint64_t* timestamp) {
    CAutoLock hold(lock_);
    for (PacketDescriptor* d = head_; d && d != tail_; d = d->next) {
        if (d->type != rec::kPacketAudio && d->type != rec::kPacketInfo) {
            *timestamp = d->timestamp;
            return 1;
        }
    }
    return 0;
}

int PacketQueue::PeekTime(uint64_t* timestamp) {
    CAutoLock hold(lock_);
    if (count_ == 0 || !head_ || head_ == tail_) return 0;
    *timestamp = head_->timestamp;
    return 1;
}

int PacketQueue::Clear() {
    CAutoLock hold(lock_);
    readOffset_ = writeOffset_ = 0;
    freeBytes_ = capacity_;
    count_ = 0;
    head_ = tail_ = descriptors_;
    return 1;
}

void PacketQueue::SkipTo(uint64_t target) {
    CAutoLock hold(lock_);
    while (count_ > 0 && head_ != tail_) {
        uint64_t dropped = head_->timestamp;
        DropHead();
        if (dropped > target) break;
    }
}

int PacketQueue::Free() {
    CAutoLock hold(lock_);
    delete[] data_;
    delete[] descriptors_;
    data_ = nullptr;
    descriptors_ = nullptr;
    capacity_ = readOffset_ = writeOffset_ = freeBytes_ = 0;
    descriptorCount_ = count_ = 0;
    head_ = tail_ = nullptr;
    return 1;
}

void PacketQueue::DropHead() {
    ReadRing(nullptr, head_->length);
    --count_;
    head_ = head_->next;
}

void PacketQueue::WriteRing(const uint8_t* bytes, int32_t len) {
    freeBytes_ -= len;
    int32_t toEnd = capacity_ - writeOffset_;
    if (toEnd < len) {
        memcpy(data_ + writeOffset_, bytes, size_t(toEnd));
        memcpy(data_, bytes + toEnd, size_t(len - toEnd));
        writeOffset_ = len - toEnd;
    } else {
        if (len > 0) memcpy(data_ + writeOffset_, bytes, size_t(len));
        writeOffset_ += len;
    }
}

bool PacketQueue::ReadRing(uint8_t* dest, int32_t len) {
    if (capacity_ - freeBytes_ < len) return false;
    freeBytes_ += len;
    int32_t toEnd = capacity_ - readOffset_;
    if (dest) {
        if (toEnd < len) {
            memcpy(dest, data_ + readOffset_, size_t(toEnd));
            memcpy(dest + toEnd, data_, size_t(len - toEnd));
        } else if (len > 0) {
            memcpy(dest, data_ + readOffset_, size_t(len));
        }
    }
    readOffset_ = int32_t((int64_t(readOffset_) + len) % capacity_);
    return true;
}
