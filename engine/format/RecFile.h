// The abstract record-file reader: a pool of packet buffers, the open file,
// the scan buffer and the positions that streaming and stepping share.
// CFileQuib reads the recorder's own format on top of it.
#pragma once

#include "MutexLock.h"
#include "Ostrivel.h"

#include <stdint.h>
#include <stdio.h>

#include <atomic>
#include <deque>
#include <vector>

// One pooled packet. The buffer belongs to the packet; callers hand the
// packet back with ReleasePacket before they read further.
struct RecPacket {
    uint64_t timestamp;   // microseconds
    uint8_t* data;
    uint32_t capacity;    // bytes of `data`
    uint32_t length;      // bytes of valid data
    uint32_t type;        // rec::PacketType
};

class CRecFile {
public:
    static constexpr int kPoolSize = 5;
    static constexpr uint32_t kPacketBufferSize = 20480;
    static constexpr uint32_t kScanBufferSize = 512000;
    static constexpr size_t kPathSize = 260;

    CRecFile();
    virtual ~CRecFile();
    CRecFile(const CRecFile&) = delete;
    CRecFile& operator=(const CRecFile&) = delete;

    // The operations, in this order; every one gives 0 for success.
    virtual int ReleasePacket(RecPacket* packet) = 0;
    virtual int Open(const char* path) = 0;
    virtual int Close() = 0;
    virtual int Rewind() = 0;
    virtual int ReadInfoPacket(RecPacket** unused, RecPacket** info) = 0;
    virtual int ReadPacket(RecPacket** packet, RecPacket** info) = 0;
    virtual int SeekTime(int32_t ms, RecPacket** unused) = 0;
    // The I-frame steps give the picture and, when `info` is given and the
    // I-frame carries one, its information block as a second packet (as
    // ReadPacket does), so that fast and backward play can hand on the
    // information of each picture they show.
    virtual int NextIFrame(RecPacket** packet, RecPacket** info) = 0;
    virtual int PrevIFrame(RecPacket** packet, RecPacket** info) = 0;
    virtual int ReadRaw(void* buffer, uint32_t count) = 0;
    virtual int ProbeFileParam(FileInfo* out, const char* path) = 0;

    // The picture alone.
    int NextIFrame(RecPacket** packet) { return NextIFrame(packet, nullptr); }
    int PrevIFrame(RecPacket** packet) { return PrevIFrame(packet, nullptr); }

    // The reader's own record, filled by Open.
    const FileInfo& GetFileInfo() const { return fileInfo_; }
    bool IsOpen() const { return file_ != nullptr; }
    // Packets not handed out at the moment.
    size_t FreePacketCount();

    // Set, a streaming read under way gives up (as if the data had ended)
    // before its next packet or its next buffer of the file, and so does
    // every read after it until this is cleared. A worker told to stop
    // need not wait for a search through a long stretch of file that holds
    // nothing it wants. Any thread may call it; the position stays good, and
    // reading on once it is cleared continues where the search left off.
    void Interrupt(bool on) { interrupted_.store(on); }
    bool Interrupted() const { return interrupted_.load(); }

protected:
    // A free packet whose buffer holds at least `size` bytes, or null when
    // the pool is empty or the buffer cannot grow.
    RecPacket* TakePacket(uint32_t size);
    void GivePacket(RecPacket* packet);

    CMutexLock fileLock_;                // held by every file operation
    std::atomic<bool> interrupted_{false};
    char path_[kPathSize];
    FileInfo fileInfo_;

    CMutexLock poolLock_;                // guards freePackets_
    std::deque<RecPacket*> freePackets_; // taken at the front, given back at the end
    std::vector<RecPacket*> allPackets_; // every packet the pool made, for freeing

    FILE* file_ = nullptr;
    int64_t fileSize_ = 0;
    uint8_t* scanBuffer_ = nullptr;
    uint32_t scanCapacity_ = 0;
    uint32_t buffered_ = 0;              // bytes of the scan buffer holding file data
    uint32_t readOffset_ = 0;            // where the next tag search starts

    bool backwardStep_ = false;
    int64_t bookmark_ = 0;               // packet last delivered or reached
    bool forwardStep_ = false;
    uint64_t lastVideoTimestamp_ = 0;    // given to audio packets

    int64_t currentIFrame_ = 0;          // the I-frame the last step found
    uint32_t currentVideoLength_ = 0;
    uint32_t currentBackLink_ = 0;
};
