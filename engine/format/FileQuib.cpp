#include "FileQuib.h"

#include <string.h>

#include <algorithm>

using rec::TagKind;

namespace {

constexpr int64_t kDataStart = rec::kDataStart;

// Files up to 4 GB carry uint32 offsets; positions inside are 64-bit so that
// everything beyond 2 GB stays reachable.
int Seek64(FILE* f, int64_t pos) {
#ifdef _WIN32
    return _fseeki64(f, pos, SEEK_SET);
#else
    return fseeko(f, off_t(pos), SEEK_SET);
#endif
}

int64_t Size64(FILE* f) {
#ifdef _WIN32
    if (_fseeki64(f, 0, SEEK_END) != 0) return -1;
    return _ftelli64(f);
#else
    if (fseeko(f, 0, SEEK_END) != 0) return -1;
    return int64_t(ftello(f));
#endif
}

uint32_t DurationMs(uint64_t first, uint64_t last) {
    return last > first ? uint32_t((last - first) / 1000) : 0;
}

// Cheap first look before the full tag test: bytes 2-3 are "ip" or "aa".
inline bool MaybeTag(const uint8_t* p) {
    return (p[2] == 'i' && p[3] == 'p') || (p[2] == 'a' && p[3] == 'a');
}

}  // namespace

uint32_t IFrameBackLink(const rec::IFrameRecord& record) {
    // The link sits at byte 32 of the information block; a shorter block
    // holds none, and the bytes there belong to the picture.
    if (record.header.infoLength < offsetof(InfoFrame, backLink) + 4) return 0;
    return record.info.backLink;
}

CFileQuib::CFileQuib() {
    memset(&header_, 0, sizeof(header_));
}

CFileQuib::~CFileQuib() {
    // Owners are meant to Close first; one that deletes an open reader must
    // not leak the stream with it.
    CloseFile();
    iframeIndex_.clear();
}

// ---- file access ---------------------------------------------------------

bool CFileQuib::SeekTo(int64_t pos) {
    if (!file_ || pos < 0) return false;
    if (Seek64(file_, pos) != 0) return false;
    pos_ = pos;
    return true;
}

size_t CFileQuib::ReadBytes(void* dest, size_t count) {
    if (!file_ || count == 0) return 0;
    size_t got = fread(dest, 1, count, file_);
    pos_ += int64_t(got);
    bytesRead_ += got;
    return got;
}

size_t CFileQuib::ReadAt(int64_t pos, void* dest, size_t count) {
    size_t got = SeekTo(pos) ? ReadBytes(dest, count) : 0;
    // A short read must not leave older bytes to be taken as data.
    if (got < count) memset(static_cast<uint8_t*>(dest) + got, 0, count - got);
    return got;
}

int CFileQuib::OpenAndCheck(const char* path) {
    if (!path || !scanBuffer_) return 1;
    size_t len = strlen(path);
    if (len >= kPathSize) return 1;   // the path must fit its field whole
    file_ = fopen(path, "rb");
    if (!file_) return 1;
    memcpy(path_, path, len + 1);
    fileSize_ = Size64(file_);
    pos_ = -1;
    if (fileSize_ < 0 || ReadAt(0, &header_, sizeof(header_)) < sizeof(header_)) {
        memset(&header_, 0, sizeof(header_));
        CloseFile();
        return 1;
    }
    fileKind_ = rec::CheckMagic(header_);
    if (fileKind_ == rec::FileKind::Invalid) {
        CloseFile();
        return 1;
    }
    // The header's end of data may lie beyond the file, or before its data.
    dataEnd_ = fileSize_;
    if (header_.endOfData != 0 && int64_t(header_.endOfData) < fileSize_) dataEnd_ = header_.endOfData;
    if (dataEnd_ < kDataStart) dataEnd_ = kDataStart;
    EmptyScanBuffer();
    return 0;
}

void CFileQuib::CloseFile() {
    if (file_) fclose(file_);
    file_ = nullptr;
    EmptyScanBuffer();
}

// ---- tag search ----------------------------------------------------------

uint32_t CFileQuib::PacketSize(const uint8_t* p, int64_t tagOffset, TagKind* kind) const {
    TagKind k = rec::ClassifyTag(p);
    if (k == TagKind::None) return 0;
    uint64_t size;
    if (rec::IsVideoTag(k))
        size = rec::kVideoHeaderSize + uint64_t(rec::LoadLE16(p + 12)) + rec::LoadLE32(p + 8);
    else
        size = rec::kAudioHeaderSize + uint64_t(rec::LoadLE16(p + 4));
    // A packet this reader could never hold, or one that runs past the data,
    // is corrupt: taking it would throw away everything after it.
    if (size > kScanBufferSize) return 0;
    if (tagOffset < kDataStart || tagOffset + int64_t(size) > dataEnd_) return 0;
    *kind = k;
    return uint32_t(size);
}

bool CFileQuib::FindTag(uint32_t start, int64_t bufferPos, uint32_t* at, TagKind* kind,
                        uint32_t* size) {
    for (uint32_t p = start; p + 16 <= buffered_; ++p) {
        const uint8_t* q = scanBuffer_ + p;
        if (!MaybeTag(q)) continue;
        TagKind k;
        uint32_t s = PacketSize(q, bufferPos + p, &k);
        if (!s) continue;
        if (rec::IsAudioTag(k)) audioCodec_ = rec::TagAudioCodec(k);
        *at = p;
        *kind = k;
        *size = s;
        return true;
    }
    return false;
}

bool CFileQuib::FillBuffer() {
    if (!file_ || buffered_ >= scanCapacity_ || pos_ >= dataEnd_) return false;
    int64_t want = std::min<int64_t>(scanCapacity_ - buffered_, dataEnd_ - pos_);
    buffered_ += uint32_t(ReadBytes(scanBuffer_ + buffered_, size_t(want)));
    return true;
}

// ---- pool ----------------------------------------------------------------

int CFileQuib::ReleasePacket(RecPacket* packet) {
    GivePacket(packet);
    return 0;
}

// ---- open, close, rewind -------------------------------------------------

int CFileQuib::Open(const char* path) {
    CAutoLock hold(fileLock_);
    CloseFile();
    if (OpenAndCheck(path) != 0) return 1;
    if (header_.audioCodec != 0) audioCodec_ = header_.audioCodec;

    IFrameHit first;
    uint64_t last = 0;
    if (!FindFirstIFrame(&first) || !FindLastVideoFrame(&last)) {
        CloseFile();
        return 1;
    }
    const size_t hs = sizeof(header_);
    rec::DateBytesToSystemTime(header_.start, &fileInfo_.startTime);
    rec::DateBytesToSystemTime(header_.end, &fileInfo_.endTime);
    fileInfo_.firstTimestamp = first.record.header.timestamp;
    fileInfo_.lastTimestamp = last;
    fileInfo_.durationMs = DurationMs(fileInfo_.firstTimestamp, last);
    rec::CopyHeaderText(fileInfo_.headerText1, header_.text1, hs - offsetof(rec::RecFileHeader, text1), rec::kHeaderTextMax);
    rec::CopyHeaderText(fileInfo_.headerText2, header_.text2, hs - offsetof(rec::RecFileHeader, text2), rec::kHeaderTextMax);
    rec::CopyHeaderText(fileInfo_.headerText3, header_.text3, hs - offsetof(rec::RecFileHeader, text3), rec::kHeaderTextMax);
    rec::CopyHeaderText(fileInfo_.headerText4, header_.text4, hs - offsetof(rec::RecFileHeader, text4), rec::kHeaderTextMax);
    rec::CopyHeaderText(fileInfo_.magic, header_.magic, sizeof(header_.magic), rec::kMagicCopy);

    EmptyScanBuffer();
    lastVideoTimestamp_ = fileInfo_.firstTimestamp;
    bookmark_ = kDataStart;
    forwardStep_ = backwardStep_ = false;
    return 0;
}

int CFileQuib::Close() {
    CAutoLock hold(fileLock_);
    CloseFile();
    return 0;
}

int CFileQuib::Rewind() {
    CAutoLock hold(fileLock_);
    if (!file_) return 1;
    SeekTo(kDataStart);
    EmptyScanBuffer();
    lastVideoTimestamp_ = fileInfo_.firstTimestamp;
    bookmark_ = kDataStart;
    // Stepping starts again from the first I-frame too.
    forwardStep_ = backwardStep_ = false;
    return 0;
}

// ---- streaming -----------------------------------------------------------

int CFileQuib::ReadPacket(RecPacket** packet, RecPacket** info) {
    CAutoLock hold(fileLock_);
    if (!file_ || !packet) return 1;
    // A step read into the scan buffer behind our back.
    if (backwardStep_ || forwardStep_) {
        EmptyScanBuffer();
        backwardStep_ = forwardStep_ = false;
    }
    for (;;) {
        if (interrupted_.load()) return 1;
        if (buffered_ - readOffset_ < 16) {
            uint32_t rest = buffered_ - readOffset_;
            memmove(scanBuffer_, scanBuffer_ + readOffset_, rest);
            buffered_ = rest;
            readOffset_ = 0;
            if (!FillBuffer() || buffered_ < 16) return 1;
        }
        const int64_t bufferPos = pos_ - buffered_;
        uint32_t p = 0, size = 0;
        TagKind kind = TagKind::None;
        if (!FindTag(readOffset_, bufferPos, &p, &kind, &size)) {
            // The last 15 bytes were not searched yet: a tag may start there.
            memmove(scanBuffer_, scanBuffer_ + buffered_ - 15, 15);
            buffered_ = 15;
            readOffset_ = 0;
            if (!FillBuffer()) return 1;
            continue;
        }
        if (buffered_ - p < size) {
            memmove(scanBuffer_, scanBuffer_ + p, buffered_ - p);
            buffered_ -= p;
            readOffset_ = 0;
            if (!FillBuffer() || buffered_ < size) return 1;
            continue;
        }

        // The packet lies whole in the buffer. Without a free packet the read
        // fails and stays at the tag, so it is delivered once one comes back.
        readOffset_ = p;
        const uint8_t* t = scanBuffer_ + p;
        if (rec::IsAudioTag(kind)) {
            RecPacket* a = TakePacket(size);
            if (!a) return 1;
            a->timestamp = lastVideoTimestamp_;
            a->type = rec::kPacketAudio;
            a->length = size - uint32_t(rec::kAudioHeaderSize);
            memcpy(a->data, t + rec::kAudioHeaderSize, a->length);
            *packet = a;
        } else {
            const uint32_t infoLength = rec::LoadLE16(t + 12);
            const uint32_t videoLength = rec::LoadLE32(t + 8);
            const uint64_t timestamp = rec::LoadLE64(t + 16);
            RecPacket* v = TakePacket(size);
            if (!v) return 1;
            RecPacket* in = nullptr;
            if (infoLength != 0 && info) {
                in = TakePacket(size);
                if (!in) {
                    GivePacket(v);
                    return 1;
                }
                in->timestamp = timestamp;
                in->type = rec::kPacketInfo;
                in->length = infoLength;
                memcpy(in->data, t + rec::kVideoHeaderSize, infoLength);
            }
            v->timestamp = timestamp;
            v->type = kind == TagKind::IFrame ? rec::kPacketIFrame : rec::kPacketPFrame;
            v->length = videoLength;
            memcpy(v->data, t + rec::kVideoHeaderSize + infoLength, videoLength);
            lastVideoTimestamp_ = timestamp;
            *packet = v;
            if (in) *info = in;
        }
        bookmark_ = bufferPos + p;
        readOffset_ = p + size;
        return 0;
    }
}

int CFileQuib::ReadInfoPacket(RecPacket** /*unused*/, RecPacket** info) {
    CAutoLock hold(fileLock_);
    if (!info) return 1;
    for (;;) {
        RecPacket* packet = nullptr;
        RecPacket* in = nullptr;
        if (ReadPacket(&packet, &in) != 0) return 1;
        lastVideoTimestamp_ = packet->timestamp;
        GivePacket(packet);
        if (in) {
            *info = in;
            return 0;
        }
    }
}

int CFileQuib::ReadRaw(void* buffer, uint32_t count) {
    if (file_ && buffer && SeekTo(0)) ReadBytes(buffer, count);
    return 0;
}

// ---- probe ---------------------------------------------------------------

int CFileQuib::ProbeFileParam(FileInfo* out, const char* path) {
    CAutoLock hold(fileLock_);
    if (!out) return 1;
    CloseFile();
    if (OpenAndCheck(path) != 0) return 1;
    IFrameHit first;
    uint64_t last = 0;
    if (!FindFirstIFrame(&first) || !FindLastVideoFrame(&last)) {
        CloseFile();
        return 1;
    }
    rec::DateBytesToSystemTime(header_.start, &out->startTime);
    rec::DateBytesToSystemTime(header_.end, &out->endTime);
    IFrameHit lastIFrame;
    if (FindLastIFrameByBlocks(&lastIFrame))
        rec::DateBytesToSystemTime(&lastIFrame.record.info.year, &out->endTime);
    out->durationMs = DurationMs(first.record.header.timestamp, last);
    out->recordKind = header_.recordKind;
    out->channel = 0;
    for (const rec::ChannelRecord& c : header_.channels) {
        if (c.channel != 0) {
            out->channel = c.channel;
            break;
        }
    }
    const size_t hs = sizeof(header_);
    rec::CopyHeaderText(out->magic, header_.magic, sizeof(header_.magic), rec::kMagicCopy);
    rec::CopyHeaderText(out->headerText1, header_.text1, hs - offsetof(rec::RecFileHeader, text1), rec::kHeaderTextMax);
    rec::CopyHeaderText(out->headerText2, header_.text2, hs - offsetof(rec::RecFileHeader, text2), rec::kHeaderTextMax);
    rec::CopyHeaderText(out->headerText3, header_.text3, hs - offsetof(rec::RecFileHeader, text3), rec::kHeaderTextMax);
    rec::CopyHeaderText(out->headerText4, header_.text4, hs - offsetof(rec::RecFileHeader, text4), rec::kHeaderTextMax);
    CloseFile();
    return 0;
}
