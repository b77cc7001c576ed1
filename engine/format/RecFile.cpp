#include "RecFile.h"

#include <string.h>

#include <new>

CRecFile::CRecFile() {
    memset(path_, 0, sizeof(path_));
    memset(&fileInfo_, 0, sizeof(fileInfo_));
    for (int i = 0; i < kPoolSize; ++i) {
        RecPacket* p = new (std::nothrow) RecPacket();
        if (!p) break;
        p->data = new (std::nothrow) uint8_t[kPacketBufferSize];
        p->capacity = p->data ? kPacketBufferSize : 0;
        freePackets_.push_back(p);
        allPackets_.push_back(p);
    }
    scanBuffer_ = new (std::nothrow) uint8_t[kScanBufferSize];
    scanCapacity_ = scanBuffer_ ? kScanBufferSize : 0;
}

CRecFile::~CRecFile() {
    {
        CAutoLock hold(poolLock_);
        for (RecPacket* p : allPackets_) {
            delete[] p->data;
            delete p;
        }
        allPackets_.clear();
        freePackets_.clear();
    }
    delete[] scanBuffer_;
}

RecPacket* CRecFile::TakePacket(uint32_t size) {
    CAutoLock hold(poolLock_);
    if (freePackets_.empty()) return nullptr;
    RecPacket* p = freePackets_.front();
    freePackets_.pop_front();
    hold.Unlock();
    // The packet is ours alone now, so it may grow outside the lock.
    if (p->capacity < size) {
        delete[] p->data;
        p->data = new (std::nothrow) uint8_t[size_t(size) + 512];
        p->capacity = p->data ? size + 512 : 0;
        if (!p->data) {
            GivePacket(p);
            return nullptr;
        }
    }
    return p;
}

void CRecFile::GivePacket(RecPacket* packet) {
    if (!packet) return;
    CAutoLock hold(poolLock_);
    // A packet given back twice, or one the pool never made, would later be
    // handed to two callers at once or freed by its owner under our feet.
    bool ours = false;
    for (RecPacket* p : allPackets_) ours = ours || p == packet;
    for (RecPacket* p : freePackets_)
        if (p == packet) ours = false;
    if (ours) freePackets_.push_back(packet);
}

size_t CRecFile::FreePacketCount() {
    CAutoLock hold(poolLock_);
    return freePackets_.size();
}
