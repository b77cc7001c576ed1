#include "H264Stream.h"

namespace recwriter {

namespace {

struct Unit {
    size_t begin;    // first byte of the start code
    size_t payload;  // first byte after the start code
};

std::vector<Unit> FindUnits(const std::vector<uint8_t>& s) {
    std::vector<Unit> units;
    size_t i = 0;
    while (i + 3 <= s.size()) {
        if (s[i] == 0 && s[i + 1] == 0 && s[i + 2] == 1) {
            size_t begin = (i > 0 && s[i - 1] == 0) ? i - 1 : i;
            units.push_back({begin, i + 3});
            i += 3;
        } else {
            ++i;
        }
    }
    return units;
}

}  // namespace

std::vector<H264Frame> SplitAnnexB(const std::vector<uint8_t>& stream) {
    std::vector<H264Frame> frames;
    std::vector<Unit> units = FindUnits(stream);
    H264Frame current;
    bool hasPicture = false;
    for (size_t k = 0; k < units.size(); ++k) {
        size_t end = k + 1 < units.size() ? units[k + 1].begin : stream.size();
        size_t at = units[k].payload;
        if (at >= end) continue;
        int type = stream[at] & 0x1F;
        bool slice = type == 1 || type == 5;
        // A picture's first slice has first_mb_in_slice = 0, coded as a single 1 bit.
        bool firstSlice = slice && at + 1 < end && (stream[at + 1] & 0x80) != 0;
        bool startsNew = hasPicture && (!slice || firstSlice);
        if (startsNew) {
            frames.push_back(std::move(current));
            current = H264Frame();
            hasPicture = false;
        }
        current.bytes.insert(current.bytes.end(), stream.begin() + long(units[k].begin),
                             stream.begin() + long(end));
        if (slice) hasPicture = true;
        if (type == 5) current.intra = true;
    }
    if (hasPicture) frames.push_back(std::move(current));
    return frames;
}

}  // namespace recwriter
