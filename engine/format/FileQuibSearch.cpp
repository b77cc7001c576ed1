// The record-file searches, seeking by time and stepping by I-frames.
// Files carry no index: positions come from interpolating over the file,
// from tag searches and from each I-frame's link to the one before it.
#include "FileQuib.h"

#include <string.h>

#include <algorithm>

using rec::TagKind;

namespace {

constexpr int64_t kDataStart = rec::kDataStart;
constexpr uint32_t kWindow = 0x1F000;        // block of the forward and backward I-frame searches
// A forward search starts each fresh block this small and doubles it while
// it finds no tag: a search that lands on a tag (the first I-frame at the
// data start, the next packet after one it skips) needs only the tag's
// bytes, and the packets it skips are never read. The found I-frame is the
// same whatever the block sizes: the search moves over the same tags.
constexpr uint32_t kFirstWindow = 4096;
constexpr uint32_t kLastBlock = 4096;        // backward search for the last video packet
constexpr uint32_t kProbeBlock = 1024;       // backward search for the probe's last I-frame
constexpr uint32_t kProbeChunk = 16 * kProbeBlock;
constexpr uint32_t kHeaderCarry = 23;        // kept so a header across a boundary is seen whole
constexpr uint32_t kTailKeep = 15;           // bytes a forward search has not looked at yet
constexpr uint64_t kOneSecond = 1000000;     // microseconds

uint64_t TimestampOf(const CFileQuib::IFrameHit& hit) { return hit.record.header.timestamp; }

uint64_t Distance(uint64_t a, uint64_t b) { return a > b ? a - b : b - a; }

// End of an I-frame packet the searches have checked against the data end.
int64_t PacketEnd(const CFileQuib::IFrameHit& hit) {
    return hit.offset + int64_t(rec::kVideoHeaderSize) + hit.record.header.infoLength +
           int64_t(hit.record.header.videoLength);
}

inline bool MaybeIFrame(const uint8_t* p) {
    return (p[0] & 0xF0) == 0x30 && p[1] == '0' && p[2] == 'i' && p[3] == 'p';
}

inline bool MaybeVideo(const uint8_t* p) {
    return (p[0] & 0xF0) == 0x30 && (p[1] == '0' || p[1] == '1') && p[2] == 'i' && p[3] == 'p';
}

}  // namespace

bool CFileQuib::LoadIFrameAt(int64_t offset, IFrameHit* hit) {
    if (offset < kDataStart || offset >= dataEnd_) return false;
    ReadAt(offset, &hit->record, sizeof(hit->record));
    TagKind kind;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&hit->record);
    if (PacketSize(p, offset, &kind) == 0 || kind != TagKind::IFrame) return false;
    hit->offset = offset;
    return true;
}

bool CFileQuib::FindFirstIFrame(IFrameHit* hit) {
    if (!SeekTo(kDataStart)) return false;
    return FindNextIFrame(hit);
}

bool CFileQuib::FindNextIFrame(IFrameHit* hit) {
    if (!file_) return false;
    if (pos_ < kDataStart && !SeekTo(kDataStart)) return false;
    bool atEnd = false;
    uint32_t window = kFirstWindow;
    // Appends up to one window, never past the data end; a short read marks the end.
    auto readWindow = [&]() -> size_t {
        int64_t room = std::min<int64_t>(window, dataEnd_ - pos_);
        if (room <= 0) {
            atEnd = true;
            return 0;
        }
        size_t got = ReadBytes(scanBuffer_ + buffered_, size_t(room));
        buffered_ += uint32_t(got);
        atEnd = got < size_t(room) || pos_ >= dataEnd_;
        return got;
    };

    buffered_ = 0;
    int64_t blockPos = pos_;
    if (readWindow() == 0) return false;
    uint32_t s = 0;
    for (;;) {
        uint32_t p = 0, size = 0;
        TagKind kind = TagKind::None;
        if (!FindTag(s, blockPos, &p, &kind, &size)) {
            if (atEnd) return false;
            uint32_t keep = std::min(buffered_, kTailKeep);
            memmove(scanBuffer_, scanBuffer_ + buffered_ - keep, keep);
            buffered_ = keep;
            window = std::min(window * 2, kWindow);
            if (readWindow() == 0) return false;
            blockPos = pos_ - buffered_;
            s = 0;
            continue;
        }
        if (kind == TagKind::IFrame) {
            // The record may reach past the buffered bytes (or past a short
            // packet's end); read it from the file, zeroed beyond its end.
            hit->offset = blockPos + p;
            if (buffered_ - p >= sizeof(hit->record))
                memcpy(&hit->record, scanBuffer_ + p, sizeof(hit->record));
            else
                ReadAt(hit->offset, &hit->record, sizeof(hit->record));
            return true;
        }
        // Skip the whole packet; every packet is at least 8 bytes, so the
        // search always moves on.
        uint64_t next = uint64_t(p) + size;
        if (next + 16 <= buffered_) {
            s = uint32_t(next);
            continue;
        }
        if (!SeekTo(blockPos + int64_t(next))) return false;
        buffered_ = 0;
        blockPos = pos_;
        window = kFirstWindow;
        if (readWindow() == 0) return false;
        s = 0;
    }
}

bool CFileQuib::FindPrevIFrame(int64_t before, IFrameHit* hit) {
    int64_t end = std::min(before, dataEnd_);
    if (!file_ || end <= kDataStart) return false;
    uint8_t carry[kHeaderCarry];
    uint32_t carried = 0;
    for (;;) {
        int64_t start = end - std::min<int64_t>(end - kDataStart, kWindow);
        uint32_t len = uint32_t(end - start);
        ReadAt(start, scanBuffer_, len);
        memcpy(scanBuffer_ + len, carry, carried);
        uint32_t total = len + carried;
        for (int64_t p = int64_t(total) - int64_t(rec::kVideoHeaderSize); p >= 0; --p) {
            const uint8_t* q = scanBuffer_ + p;
            if (!MaybeIFrame(q)) continue;
            TagKind kind;
            if (PacketSize(q, start + p, &kind) == 0) continue;
            buffered_ = 0;
            return LoadIFrameAt(start + p, hit);
        }
        if (start == kDataStart) {
            buffered_ = 0;
            return false;
        }
        carried = std::min(len, kHeaderCarry);
        memcpy(carry, scanBuffer_, carried);
        end = start;
    }
}

bool CFileQuib::FindLastVideoFrame(uint64_t* timestamp) {
    int64_t end = dataEnd_;
    uint8_t carry[kHeaderCarry];
    uint32_t carried = 0;
    // Down to and including the lowest, possibly partial, block above the
    // data start: a file may hold nothing but its first I-frame.
    while (end > kDataStart) {
        int64_t start = std::max(kDataStart, end - int64_t(kLastBlock));
        uint32_t len = uint32_t(end - start);
        ReadAt(start, scanBuffer_, len);
        memcpy(scanBuffer_ + len, carry, carried);
        uint32_t total = len + carried;
        for (int64_t p = int64_t(total) - int64_t(rec::kVideoHeaderSize); p >= 0; --p) {
            const uint8_t* q = scanBuffer_ + p;
            if (!MaybeVideo(q)) continue;
            TagKind kind;
            if (PacketSize(q, start + p, &kind) == 0) continue;
            *timestamp = rec::LoadLE64(q + 16);
            buffered_ = 0;
            return true;
        }
        carried = std::min(len, kHeaderCarry);
        memcpy(carry, scanBuffer_, carried);
        end = start;
    }
    buffered_ = 0;
    return false;
}

bool CFileQuib::FindLastIFrameByBlocks(IFrameHit* hit) {
    const int64_t saved = pos_;
    bool found = false;
    // 1024-byte blocks back from the data end, each searched forward, read
    // a chunk of blocks at a time: a small chunk first (the last I-frame is
    // often near the end), then chunks twice as large up to kProbeChunk, so
    // that the search reads at most a chunk past the block that holds the
    // I-frame. Every chunk is whole blocks from the data end, so the blocks,
    // and what is found in them, are those of one block at a time.
    int64_t end = dataEnd_;
    uint32_t chunk = 4 * kProbeBlock;
    while (!found && end > kDataStart) {
        int64_t chunkStart = std::max(kDataStart, end - int64_t(chunk));
        chunk = std::min(chunk * 2, kProbeChunk);
        ReadAt(chunkStart, scanBuffer_, size_t(end - chunkStart));
        for (int64_t blockEnd = end; !found && blockEnd > chunkStart; blockEnd -= kProbeBlock) {
            int64_t blockStart = std::max(chunkStart, blockEnd - int64_t(kProbeBlock));
            const uint8_t* block = scanBuffer_ + (blockStart - chunkStart);
            uint32_t len = uint32_t(blockEnd - blockStart);
            for (uint32_t p = 0; p + 16 <= len; ++p) {
                TagKind kind;
                if (!MaybeIFrame(block + p) || PacketSize(block + p, blockStart + p, &kind) == 0)
                    continue;
                found = LoadIFrameAt(blockStart + p, hit);
                break;
            }
        }
        end = chunkStart;
    }
    buffered_ = 0;
    SeekTo(saved);
    return found;
}

int CFileQuib::ReadIFramePacket(RecPacket** packet, RecPacket** info) {
    const int64_t at = pos_;
    uint8_t head[rec::kVideoHeaderSize];
    if (ReadBytes(head, sizeof(head)) < sizeof(head)) return 1;
    TagKind kind;
    uint32_t size = PacketSize(head, at, &kind);
    if (size == 0 || kind != TagKind::IFrame) return 1;
    // PacketSize bounds the packet by the scan buffer, so the body fits.
    const uint32_t body = size - uint32_t(rec::kVideoHeaderSize);
    const uint32_t infoLength = rec::LoadLE16(head + 12);
    const uint32_t videoLength = rec::LoadLE32(head + 8);
    if (ReadBytes(scanBuffer_, body) < body) {
        SeekTo(at);
        return 1;
    }
    RecPacket* p = TakePacket(videoLength + uint32_t(rec::kVideoHeaderSize));
    if (!p) {
        SeekTo(at);
        return 1;
    }
    // Without a free packet for the information the step fails as a whole
    // and stays where it was, as a streaming read does.
    RecPacket* in = nullptr;
    if (info && infoLength != 0) {
        in = TakePacket(infoLength);
        if (!in) {
            GivePacket(p);
            SeekTo(at);
            return 1;
        }
        memcpy(in->data, scanBuffer_, infoLength);
        in->length = infoLength;
        in->type = rec::kPacketInfo;
        in->timestamp = rec::LoadLE64(head + 16);
    }
    memcpy(p->data, scanBuffer_ + infoLength, videoLength);
    p->length = videoLength;
    p->type = rec::kPacketIFrame;
    p->timestamp = rec::LoadLE64(head + 16);
    currentVideoLength_ = videoLength;
    currentBackLink_ = infoLength >= offsetof(InfoFrame, backLink) + 4
                           ? rec::LoadLE32(scanBuffer_ + offsetof(InfoFrame, backLink))
                           : 0;
    SeekTo(at);
    *packet = p;
    if (in) *info = in;
    return 0;
}

void CFileQuib::MakeCurrent(const IFrameHit& hit) {
    currentIFrame_ = hit.offset;
    currentVideoLength_ = hit.record.header.videoLength;
    currentBackLink_ = IFrameBackLink(hit.record);
}

void CFileQuib::WalkToTime(uint64_t t, const IFrameHit& found) {
    IFrameHit cur = found;
    if (Distance(TimestampOf(cur), t) > kOneSecond) {
        if (TimestampOf(cur) < t) {
            // Forward a GOP at a time; each search starts past the last hit.
            for (;;) {
                IFrameHit next;
                if (!SeekTo(PacketEnd(cur)) || !FindNextIFrame(&next)) break;
                cur = next;
                if (TimestampOf(cur) >= t || t - TimestampOf(cur) <= kOneSecond) break;
            }
        } else {
            // Back over the links; each must point before the I-frame holding it.
            for (;;) {
                uint32_t link = IFrameBackLink(cur.record);
                IFrameHit prev;
                if (link < kDataStart || int64_t(link) >= cur.offset || !LoadIFrameAt(link, &prev)) break;
                cur = prev;
                if (TimestampOf(cur) <= t || TimestampOf(cur) - t <= kOneSecond) break;
            }
        }
    }
    // Where the walk ran out, reading goes on at the last good I-frame.
    SeekTo(cur.offset);
    bookmark_ = cur.offset;
}

int CFileQuib::SeekTime(int32_t ms, RecPacket** /*unused*/) {
    CAutoLock hold(fileLock_);
    if (!file_) return 1;
    const uint64_t first = fileInfo_.firstTimestamp;
    const uint64_t last = fileInfo_.lastTimestamp;
    if (ms < 0) return 1;
    const uint64_t t = first + uint64_t(ms) * 1000;
    if (t < first || t > last) return 1;
    backwardStep_ = false;

    int64_t offset = kDataStart;
    if (last > first) {
        double share = double(t - first) / double(last - first);
        offset += int64_t(share * double(dataEnd_ - kDataStart));
    }
    offset = std::min(std::max(offset, kDataStart), dataEnd_);
    SeekTo(offset);
    IFrameHit hit;
    bool found = FindNextIFrame(&hit);
    if (!found) found = FindPrevIFrame(offset, &hit);
    if (found)
        WalkToTime(t, hit);
    else
        SeekTo(offset);
    EmptyScanBuffer();
    return 0;
}

int CFileQuib::NextIFrame(RecPacket** packet, RecPacket** info) {
    CAutoLock hold(fileLock_);
    if (!file_ || !packet || backwardStep_) return 1;
    if (!forwardStep_) {
        forwardStep_ = true;
        SeekTo(bookmark_);
    } else {
        // A point inside the current packet, past its tag.
        SeekTo(currentIFrame_ + std::max<int64_t>(currentVideoLength_, 1));
    }
    IFrameHit hit;
    bool found = FindNextIFrame(&hit);
    EmptyScanBuffer();
    if (!found) return 1;
    MakeCurrent(hit);
    // The I-frame reached is where a turn to backward play starts from.
    bookmark_ = hit.offset;
    SeekTo(hit.offset);
    return ReadIFramePacket(packet, info);
}

int CFileQuib::PrevIFrame(RecPacket** packet, RecPacket** info) {
    CAutoLock hold(fileLock_);
    if (!file_ || !packet) return 1;
    forwardStep_ = false;
    if (!backwardStep_) {
        backwardStep_ = true;
        SeekTo(bookmark_);
        IFrameHit hit;
        if (FindNextIFrame(&hit)) {
            MakeCurrent(hit);
            // A link of 1 marks an I-frame that begins no chain; look further.
            while (IFrameBackLink(hit.record) == 1) {
                if (!SeekTo(PacketEnd(hit)) || !FindNextIFrame(&hit)) {
                    EmptyScanBuffer();
                    return 1;
                }
                MakeCurrent(hit);
            }
        } else if (FindPrevIFrame(bookmark_, &hit)) {
            MakeCurrent(hit);
        } else {
            EmptyScanBuffer();
            return 1;
        }
    } else {
        uint32_t link = currentBackLink_;
        if (link < kDataStart || int64_t(link) >= currentIFrame_) return 1;
        currentIFrame_ = link;
    }
    EmptyScanBuffer();
    bookmark_ = currentIFrame_;
    SeekTo(currentIFrame_);
    return ReadIFramePacket(packet, info);
}
