// The reader of the recorder's record files: packets by tag search from
// 0x10000, the file's first and last timestamps, header probes, and seeking
// by time and by I-frames over files that carry no index.
//
// Cards come out of crashed vehicles: every length, offset and link read
// from a file is checked against the data end and the scan buffer before it
// is used, and every search moves strictly in one direction, so no file can
// make the reader read outside its buffers or loop.
#pragma once

#include "RecFile.h"
#include "RecordFormat.h"

#include <stdint.h>

#include <vector>

class CFileQuib : public CRecFile {
public:
    CFileQuib();
    ~CFileQuib() override;

    int ReleasePacket(RecPacket* packet) override;
    int Open(const char* path) override;
    int Close() override;
    int Rewind() override;
    int ReadInfoPacket(RecPacket** unused, RecPacket** info) override;
    int ReadPacket(RecPacket** packet, RecPacket** info) override;
    int SeekTime(int32_t ms, RecPacket** unused) override;
    int NextIFrame(RecPacket** packet, RecPacket** info) override;
    int PrevIFrame(RecPacket** packet, RecPacket** info) override;
    using CRecFile::NextIFrame;
    using CRecFile::PrevIFrame;
    int ReadRaw(void* buffer, uint32_t count) override;
    int ProbeFileParam(FileInfo* out, const char* path) override;

    // 2 (G.726) or 3 (ADPCM): the header's byte 58, overridden by the audio
    // tags as the searches meet them.
    uint32_t AudioCodec() const { return audioCodec_; }
    // A camera file is paced differently during play.
    bool IsCameraFile() const { return fileKind_ == rec::FileKind::Camera; }
    const rec::RecFileHeader& Header() const { return header_; }
    // Offset after the last byte of packet data: the header's end of data
    // clamped to the file size.
    int64_t DataEnd() const { return dataEnd_; }
    // File bytes read since construction (for the benchmarks).
    uint64_t BytesRead() const { return bytesRead_; }

    // An I-frame as the searches find it: its first 72 bytes and offset.
    struct IFrameHit {
        rec::IFrameRecord record;
        int64_t offset;
    };

private:
    struct IndexEntry {
        int64_t offset;
        uint64_t timestamp;
    };

    // File access with 64-bit positions; the position is tracked here.
    bool SeekTo(int64_t pos);
    size_t ReadBytes(void* dest, size_t count);
    // Reads `count` bytes at `pos`; bytes past what the file gave are zeroed.
    size_t ReadAt(int64_t pos, void* dest, size_t count);

    int OpenAndCheck(const char* path);
    void CloseFile();
    void EmptyScanBuffer() { buffered_ = 0; readOffset_ = 0; }

    // Header and body bytes of the packet whose tag is at `p` (with at least
    // 16 bytes readable there), or 0 when it is no tag or no packet this
    // reader can deliver: longer than the scan buffer or past the data end.
    uint32_t PacketSize(const uint8_t* p, int64_t tagOffset, rec::TagKind* kind) const;
    // Searches the scan buffer from `start` for the next deliverable packet;
    // the scan buffer's first byte lies at file offset `bufferPos`.
    bool FindTag(uint32_t start, int64_t bufferPos, uint32_t* at, rec::TagKind* kind,
                 uint32_t* size);
    bool FillBuffer();

    bool FindFirstIFrame(IFrameHit* hit);
    bool FindLastVideoFrame(uint64_t* timestamp);
    bool FindLastIFrameByBlocks(IFrameHit* hit);
    bool FindNextIFrame(IFrameHit* hit);
    bool FindPrevIFrame(int64_t before, IFrameHit* hit);
    // Reads the I-frame at `offset` when it is one, whole, into the record.
    bool LoadIFrameAt(int64_t offset, IFrameHit* hit);
    int ReadIFramePacket(RecPacket** packet, RecPacket** info);
    void WalkToTime(uint64_t t, const IFrameHit& found);
    void MakeCurrent(const IFrameHit& hit);

    rec::RecFileHeader header_;
    std::vector<IndexEntry> iframeIndex_;   // never filled: files carry no index
    int32_t indexCursor_ = 0;
    uint32_t audioCodec_ = 2;

    rec::FileKind fileKind_ = rec::FileKind::Invalid;
    int64_t dataEnd_ = 0;
    int64_t pos_ = 0;
    uint64_t bytesRead_ = 0;
};

// The back-link an I-frame record carries, or 0 when its information block
// is too short to hold one.
uint32_t IFrameBackLink(const rec::IFrameRecord& record);
