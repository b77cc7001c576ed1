// On-disk layout of a record file: a 592-byte header, then from 0x10000 a
// stream of packets, each opened by a 4-byte tag. All integers are
// little-endian; the structures below match the bytes exactly.
#pragma once

#include "Ostrivel.h"

#include <stddef.h>
#include <stdint.h>

namespace rec {

constexpr uint32_t kDataStart = 0x10000;      // first packet's offset
constexpr size_t kHeaderSize = 592;
constexpr size_t kVideoHeaderSize = 24;
constexpr size_t kAudioHeaderSize = 8;
constexpr size_t kIFrameRecordSize = 72;
constexpr uint16_t kInfoFrameSize = 48;
constexpr size_t kHeaderTextMax = 31;          // characters taken of each header text
constexpr size_t kMagicCopy = 11;              // characters of the magic copied to FileInfo
constexpr char kMagic[] = "QZR_DVR_10XX";


#pragma pack(push, 1)

struct ChannelRecord {
    uint8_t channel;           // 0 = slot not used
    uint8_t reserved[39];
};

struct RecFileHeader {
    uint8_t reserved0[37];
    uint8_t start[6];          // year - 2000, month, day, hour, minute, second
    uint8_t end[6];
    uint8_t reserved49;
    uint8_t recordKind;
    uint8_t reserved51[7];
    uint8_t audioCodec;        // 0 = not given
    uint8_t reserved59[9];
    uint32_t endOfData;        // offset after the last packet; 0 = end of file
    uint8_t reserved72[8];
    char magic[13];            // "QZR_DVR_10XX" and a NUL, or "IPC..." for a camera
    uint8_t reserved93[7];
    ChannelRecord channels[4];
    uint8_t reserved260[112];
    char text1[16];            // at 372
    char text3[124];           // at 388
    char text2[20];            // at 512
    char text4[60];            // at 532
};

struct VideoPacketHeader {
    uint32_t tag;
    uint32_t reserved4;
    uint32_t videoLength;      // bytes of H.264 data
    uint16_t infoLength;       // bytes of the information block; 48 with an InfoFrame
    uint16_t reserved14;
    uint64_t timestamp;        // microseconds
};

struct AudioPacketHeader {
    uint32_t tag;
    uint16_t payloadLength;
    uint16_t reserved6;
};

// An I-frame packet's header followed by its information frame: what the
// I-frame searches hand back, with the packet's file offset.
struct IFrameRecord {
    VideoPacketHeader header;
    InfoFrame info;
};

#pragma pack(pop)

static_assert(sizeof(ChannelRecord) == 40, "ChannelRecord is 40 bytes");
static_assert(sizeof(RecFileHeader) == kHeaderSize, "header is 592 bytes");
static_assert(offsetof(RecFileHeader, start) == 37, "header layout");
static_assert(offsetof(RecFileHeader, end) == 43, "header layout");
static_assert(offsetof(RecFileHeader, recordKind) == 50, "header layout");
static_assert(offsetof(RecFileHeader, audioCodec) == 58, "header layout");
static_assert(offsetof(RecFileHeader, endOfData) == 68, "header layout");
static_assert(offsetof(RecFileHeader, magic) == 80, "header layout");
static_assert(offsetof(RecFileHeader, channels) == 100, "header layout");
static_assert(offsetof(RecFileHeader, text1) == 372, "header layout");
static_assert(offsetof(RecFileHeader, text3) == 388, "header layout");
static_assert(offsetof(RecFileHeader, text2) == 512, "header layout");
static_assert(offsetof(RecFileHeader, text4) == 532, "header layout");
static_assert(sizeof(VideoPacketHeader) == kVideoHeaderSize, "video header is 24 bytes");
static_assert(offsetof(VideoPacketHeader, videoLength) == 8, "video header layout");
static_assert(offsetof(VideoPacketHeader, infoLength) == 12, "video header layout");
static_assert(offsetof(VideoPacketHeader, timestamp) == 16, "video header layout");
static_assert(sizeof(AudioPacketHeader) == kAudioHeaderSize, "audio header is 8 bytes");
static_assert(offsetof(AudioPacketHeader, payloadLength) == 4, "audio header layout");
static_assert(sizeof(IFrameRecord) == kIFrameRecordSize, "I-frame record is 72 bytes");
static_assert(offsetof(IFrameRecord, info) + offsetof(InfoFrame, backLink) == 56, "back-link at 56");

// Packet tags as little-endian uint32 with the channel's low four bits cleared.
enum Tag : uint32_t {
    kTagIFrame = 0x70693030,   // "00ip"
    kTagPFrame = 0x70693130,   // "01ip"
    kTagAudio2 = 0x61613230,   // "02aa"
    kTagAudio3 = 0x61613330,   // "03aa"
};

enum class TagKind { None, IFrame, PFrame, Audio2, Audio3 };

enum class FileKind { Invalid, Recorder, Camera };

// Packet types as the reader and the queues carry them.
enum PacketType : uint32_t {
    kPacketIFrame = 0,
    kPacketPFrame = 1,
    kPacketAudio = 2,
    kPacketInfo = 3,
};

inline uint32_t LoadLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t LoadLE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint64_t LoadLE64(const uint8_t* p) { return LoadLE32(p) | uint64_t(LoadLE32(p + 4)) << 32; }

// What the four bytes at p are: a packet tag of some kind, or none.
TagKind ClassifyTag(const uint8_t* p);
inline bool IsVideoTag(TagKind k) { return k == TagKind::IFrame || k == TagKind::PFrame; }
inline bool IsAudioTag(TagKind k) { return k == TagKind::Audio2 || k == TagKind::Audio3; }
inline uint32_t TagAudioCodec(TagKind k) { return k == TagKind::Audio3 ? 3 : 2; }
// Header bytes a packet of this kind opens with (0 for no tag).
size_t TagHeaderSize(TagKind k);

// The tag bytes for one channel (0..15) and kind.
uint32_t MakeTag(TagKind kind, unsigned channel);

// Checks the magic at header offset 80: "QZR_DVR_10XX" in any letter case
// with a NUL at 92, or a camera file whose first three bytes are "IPC".
FileKind CheckMagic(const RecFileHeader& header);

// Copies a NUL-terminated header text of at most `max` characters into
// `out`, which keeps its byte at `max` as it was. Never reads past `avail`.
void CopyHeaderText(char* out, const char* text, size_t avail, size_t max);

// Fills a SYSTEMTIME from six date-time bytes as the header stores them.
void DateBytesToSystemTime(const uint8_t bytes[6], SYSTEMTIME* out);

}  // namespace rec
