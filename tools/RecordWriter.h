// Lays out record files the way a recorder writes them: a 592-byte header,
// then packets from 0x10000 on. Test fixtures and the demo card use it; it
// can also write what no recorder would (garbage, lying lengths, tails past
// the end of data), since readers must survive those.
#pragma once

#include "RecordFormat.h"

#include <stdint.h>
#include <string>
#include <vector>

namespace recwriter {

struct HeaderSpec {
    uint8_t start[6] = {26, 12, 10, 8, 30, 0};   // year - 2000, month, day, h, m, s
    uint8_t end[6] = {26, 12, 10, 8, 31, 0};
    uint8_t recordKind = 0;
    uint8_t audioCodec = 0;                       // header byte 58; 0 = not given
    bool camera = false;                          // "IPC" magic in place of the recorder's
    uint8_t channels[4] = {1, 0, 0, 0};           // channel records, 0 = slot unused
    std::string text1, text2, text3, text4;
};

// Where one packet landed in the file.
struct PacketPlace {
    uint32_t offset;       // of its tag
    uint32_t size;         // header and body
    rec::TagKind kind;     // None for raw bytes
    uint64_t timestamp;    // video only
};

class RecordWriter {
public:
    explicit RecordWriter(const HeaderSpec& spec = HeaderSpec(), unsigned channel = 0);

    // A video packet; `info` (48 bytes) may be null. An I-frame's back-link
    // is set to the previous I-frame's offset (0 for the first) unless
    // `keepBackLink` is true. Returns the tag's file offset.
    uint32_t AddVideo(bool iframe, uint64_t timestamp, const std::vector<uint8_t>& h264,
                      const InfoFrame* info = nullptr, bool keepBackLink = false);
    // A video packet with an information block of any length (empty: none),
    // written as it is but for an I-frame's back-link (when the block
    // reaches it), which is set as above.
    uint32_t AddVideo(bool iframe, uint64_t timestamp, const std::vector<uint8_t>& h264,
                      const std::vector<uint8_t>& infoBlock, bool keepBackLink = false);
    // An audio packet of codec 2 or 3.
    uint32_t AddAudio(unsigned codec, const std::vector<uint8_t>& payload);
    // Bytes that are no packet.
    uint32_t AddRaw(const std::vector<uint8_t>& bytes);

    // The header's end-of-data offset becomes the current size (by default
    // it is written as the size at Finish). Later bytes lie past the end.
    void MarkEndOfData();
    // Writes 0 (data runs to the end of the file) or any value.
    void SetEndOfData(uint32_t value);

    // The whole file. The header and bytes stay open to changes after this.
    const std::vector<uint8_t>& Finish();
    bool WriteFile(const std::string& path);

    rec::RecFileHeader& Header() { return *reinterpret_cast<rec::RecFileHeader*>(bytes_.data()); }
    std::vector<uint8_t>& Bytes() { return bytes_; }
    const std::vector<PacketPlace>& Places() const { return places_; }
    uint32_t Size() const { return uint32_t(bytes_.size()); }

private:
    std::vector<uint8_t> bytes_;
    std::vector<PacketPlace> places_;
    unsigned channel_;
    uint32_t lastIFrame_ = 0;
    bool endMarked_ = false;
    uint32_t endOfData_ = 0;
};

// Little-endian stores for patching fixtures.
void StoreLE16(uint8_t* p, uint16_t v);
void StoreLE32(uint8_t* p, uint32_t v);
void StoreLE64(uint8_t* p, uint64_t v);

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes);

}  // namespace recwriter
