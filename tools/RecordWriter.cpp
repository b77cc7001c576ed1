#include "RecordWriter.h"

#include <stddef.h>
#include <stdio.h>
#include <string.h>

namespace recwriter {

void StoreLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void StoreLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

void StoreLE64(uint8_t* p, uint64_t v) {
    StoreLE32(p, uint32_t(v));
    StoreLE32(p + 4, uint32_t(v >> 32));
}

static void PutText(uint8_t* header, size_t offset, size_t room, const std::string& text) {
    size_t n = text.size() < room ? text.size() : room;
    memcpy(header + offset, text.data(), n);
}

RecordWriter::RecordWriter(const HeaderSpec& spec, unsigned channel)
    : bytes_(rec::kDataStart, 0), channel_(channel) {
    rec::RecFileHeader& h = Header();
    memcpy(h.start, spec.start, 6);
    memcpy(h.end, spec.end, 6);
    h.recordKind = spec.recordKind;
    h.audioCodec = spec.audioCodec;
    if (spec.camera)
        memcpy(h.magic, "IPC", 3);
    else
        memcpy(h.magic, rec::kMagic, sizeof(rec::kMagic));
    for (int i = 0; i < 4; ++i) h.channels[i].channel = spec.channels[i];
    uint8_t* raw = bytes_.data();
    PutText(raw, offsetof(rec::RecFileHeader, text1), 15, spec.text1);
    PutText(raw, offsetof(rec::RecFileHeader, text3), 31, spec.text3);
    PutText(raw, offsetof(rec::RecFileHeader, text2), 19, spec.text2);
    PutText(raw, offsetof(rec::RecFileHeader, text4), 31, spec.text4);
}

uint32_t RecordWriter::AddVideo(bool iframe, uint64_t timestamp, const std::vector<uint8_t>& h264,
                                const InfoFrame* info, bool keepBackLink) {
    std::vector<uint8_t> block;
    if (info) {
        const uint8_t* q = reinterpret_cast<const uint8_t*>(info);
        block.assign(q, q + sizeof(*info));
    }
    return AddVideo(iframe, timestamp, h264, block, keepBackLink);
}

uint32_t RecordWriter::AddVideo(bool iframe, uint64_t timestamp, const std::vector<uint8_t>& h264,
                                const std::vector<uint8_t>& infoBlock, bool keepBackLink) {
    uint32_t offset = Size();
    rec::TagKind kind = iframe ? rec::TagKind::IFrame : rec::TagKind::PFrame;
    rec::VideoPacketHeader head = {};
    head.tag = rec::MakeTag(kind, channel_);
    head.videoLength = uint32_t(h264.size());
    head.infoLength = uint16_t(infoBlock.size());
    head.timestamp = timestamp;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&head);
    bytes_.insert(bytes_.end(), p, p + sizeof(head));
    const size_t blockAt = bytes_.size();
    bytes_.insert(bytes_.end(), infoBlock.begin(), infoBlock.end());
    const size_t linkAt = offsetof(InfoFrame, backLink);
    if (iframe && !keepBackLink && infoBlock.size() >= linkAt + 4)
        StoreLE32(&bytes_[blockAt + linkAt], lastIFrame_);
    bytes_.insert(bytes_.end(), h264.begin(), h264.end());
    if (iframe) lastIFrame_ = offset;
    places_.push_back({offset, Size() - offset, kind, timestamp});
    return offset;
}

uint32_t RecordWriter::AddAudio(unsigned codec, const std::vector<uint8_t>& payload) {
    uint32_t offset = Size();
    rec::TagKind kind = codec == 3 ? rec::TagKind::Audio3 : rec::TagKind::Audio2;
    rec::AudioPacketHeader head = {};
    head.tag = rec::MakeTag(kind, channel_);
    head.payloadLength = uint16_t(payload.size());
    const uint8_t* p = reinterpret_cast<const uint8_t*>(&head);
    bytes_.insert(bytes_.end(), p, p + sizeof(head));
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
    places_.push_back({offset, Size() - offset, kind, 0});
    return offset;
}

uint32_t RecordWriter::AddRaw(const std::vector<uint8_t>& bytes) {
    uint32_t offset = Size();
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    places_.push_back({offset, uint32_t(bytes.size()), rec::TagKind::None, 0});
    return offset;
}

void RecordWriter::MarkEndOfData() {
    endMarked_ = true;
    endOfData_ = Size();
}

void RecordWriter::SetEndOfData(uint32_t value) {
    endMarked_ = true;
    endOfData_ = value;
}

const std::vector<uint8_t>& RecordWriter::Finish() {
    Header().endOfData = endMarked_ ? endOfData_ : Size();
    return bytes_;
}

bool RecordWriter::WriteFile(const std::string& path) {
    Finish();
    return WriteBytes(path, bytes_);
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

bool ReadBytes(const std::string& path, std::vector<uint8_t>* bytes) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof(buf), f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

}  // namespace recwriter
