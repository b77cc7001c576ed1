// Test helpers for the record-file reader: payloads that hold no tag bytes,
// information frames, and a reader that drains a file into a list.
#pragma once

#include "FileQuib.h"
#include "RecordWriter.h"

#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

namespace fixture {

// Bytes 0x80-0xFF only: never a tag, so a search cannot stop inside them.
inline std::vector<uint8_t> Payload(size_t n, unsigned seed = 1) {
    std::vector<uint8_t> v(n);
    for (size_t i = 0; i < n; ++i) v[i] = uint8_t(0x80 | ((i * 7 + seed * 13) & 0x7F));
    return v;
}

inline InfoFrame Info(uint8_t second, uint32_t backLink = 0) {
    InfoFrame f;
    memset(&f, 0, sizeof(f));
    f.year = 26;
    f.month = 12;
    f.day = 10;
    f.hour = 8;
    f.minute = 30;
    f.second = second;
    f.backLink = backLink;
    return f;
}

struct Got {
    uint32_t type;
    uint64_t timestamp;
    uint32_t length;
    uint8_t first;   // first data byte, 0 when empty
};

// Reads every packet; gives up after `limit` so a looping reader fails the
// test instead of hanging it.
inline std::vector<Got> ReadAll(CFileQuib& r, size_t limit = 100000) {
    std::vector<Got> out;
    while (out.size() < limit) {
        RecPacket* p = nullptr;
        RecPacket* info = nullptr;
        if (r.ReadPacket(&p, &info) != 0) break;
        out.push_back({p->type, p->timestamp, p->length, p->length ? p->data[0] : uint8_t(0)});
        r.ReleasePacket(p);
        if (info) {
            out.push_back({info->type, info->timestamp, info->length, info->data[0]});
            r.ReleasePacket(info);
        }
    }
    return out;
}

// What a sound reader delivers of a written file: every packet that lies
// whole before `end` and no larger than the scan buffer, audio stamped with the video before it.
inline std::vector<Got> Expected(recwriter::RecordWriter& w, uint32_t end, uint64_t firstTs) {
    std::vector<Got> out;
    uint64_t last = firstTs;
    const std::vector<uint8_t>& b = w.Bytes();
    for (const recwriter::PacketPlace& pl : w.Places()) {
        if (pl.kind == rec::TagKind::None || pl.offset + pl.size > end) continue;
        const uint8_t* t = b.data() + pl.offset;
        if (rec::IsAudioTag(pl.kind)) {
            uint32_t n = pl.size - 8;
            out.push_back({rec::kPacketAudio, last, n, n ? t[8] : uint8_t(0)});
            continue;
        }
        uint32_t info = rec::LoadLE16(t + 12), video = rec::LoadLE32(t + 8);
        // A packet whose lengths were spoilt, or too big for the reader: skipped.
        if (24 + uint64_t(info) + video != pl.size || pl.size > CRecFile::kScanBufferSize) continue;
        uint32_t type = pl.kind == rec::TagKind::IFrame ? rec::kPacketIFrame : rec::kPacketPFrame;
        out.push_back({type, pl.timestamp, video, video ? t[24 + info] : uint8_t(0)});
        if (info) out.push_back({rec::kPacketInfo, pl.timestamp, info, t[24]});
        last = pl.timestamp;
    }
    return out;
}

inline bool operator==(const Got& a, const Got& b) {
    return a.type == b.type && a.timestamp == b.timestamp && a.length == b.length && a.first == b.first;
}

inline std::string TempPath(const std::string& name) { return "reader_" + name + ".h264"; }

}  // namespace fixture
