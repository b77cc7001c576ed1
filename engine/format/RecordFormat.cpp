#include "RecordFormat.h"

#include <string.h>

namespace rec {


TagKind ClassifyTag(const uint8_t* p) {
    switch (LoadLE32(p) & ~0xFu) {
    case kTagIFrame: return TagKind::IFrame;
    case kTagPFrame: return TagKind::PFrame;
    case kTagAudio2: return TagKind::Audio2;
    case kTagAudio3: return TagKind::Audio3;
    default: return TagKind::None;
    }
}

size_t TagHeaderSize(TagKind k) {
    if (IsVideoTag(k)) return kVideoHeaderSize;
    if (IsAudioTag(k)) return kAudioHeaderSize;
    return 0;
}

uint32_t MakeTag(TagKind kind, unsigned channel) {
    uint32_t base = 0;
    switch (kind) {
    case TagKind::IFrame: base = kTagIFrame; break;
    case TagKind::PFrame: base = kTagPFrame; break;
    case TagKind::Audio2: base = kTagAudio2; break;
    case TagKind::Audio3: base = kTagAudio3; break;
    case TagKind::None: return 0;
    }
    return base | (channel & 0xFu);
}

FileKind CheckMagic(const RecFileHeader& header) {
    const char* m = header.magic;
    if (m[0] == 'I' && m[1] == 'P' && m[2] == 'C') return FileKind::Camera;
    // A NUL-terminated comparison of 13 bytes: the twelve letters and the NUL.
    for (size_t i = 0; i < sizeof(kMagic); ++i) {
        char a = m[i], b = kMagic[i];
        if (a >= 'a' && a <= 'z') a = char(a - 'a' + 'A');
        if (a != b) return FileKind::Invalid;
    }
    return FileKind::Recorder;
}

void CopyHeaderText(char* out, const char* text, size_t avail, size_t max) {
    size_t n = 0;
    while (n < max && n < avail && text[n] != '\0') ++n;
    memcpy(out, text, n);
    if (n < max) memset(out + n, 0, max - n);
}

void DateBytesToSystemTime(const uint8_t bytes[6], SYSTEMTIME* out) {
    out->wYear = bytes[0];
    out->wMonth = bytes[1];
    out->wDay = bytes[2];
    out->wHour = bytes[3];
    out->wMinute = bytes[4];
    out->wSecond = bytes[5];
}

}  // namespace rec
