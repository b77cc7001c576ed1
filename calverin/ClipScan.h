// The first of a conversion's two passes over the recording: finds the clip
// (its first picture, how many pictures, their timestamps, whether sound
// comes with them and the parameter sets in force) without writing
// anything. The second pass reads the same packets again from the same
// seek position, so the file is never held in memory.
#pragma once

#include "CutTimes.h"
#include "FileQuib.h"
#include "H264Units.h"

#include <stdint.h>

#include <vector>

namespace calverin {

struct ClipPlan {
    int32_t seekMs = 0;              // both passes read from SeekTime(seekMs)
    uint32_t leadingVideo = 0;       // pictures read there before the clip's first
    uint32_t frames = 0;             // pictures of the clip
    uint64_t firstTimestamp = 0;     // of its first picture, an I-frame
    std::vector<uint64_t> timestamps;
    bool hasSound = false;
    ParameterSets params;            // in force at the first picture
    int width = 0, height = 0;       // from the SPS, cropping applied
};

enum class PlanResult {
    kOk,
    kNothingInRange,
    kNoParameterSets,   // no usable SPS and PPS for the first picture
};

// `reader` is open. Leaves its position anywhere.
PlanResult PlanClip(CFileQuib& reader, const ClipWindow& window, ClipPlan* plan);

// A video packet with data: what both passes count as a picture.
inline bool IsPicture(const RecPacket& p) {
    return (p.type == rec::kPacketIFrame || p.type == rec::kPacketPFrame) && p.length > 0;
}

// Reads packets from the reader's position on, as both passes see them:
// information packets go back unseen, pictures without data are skipped.
// visit(packet) gives false to stop; the packet goes back to the reader
// after the visit.
template <class Visit>
void StreamPackets(CFileQuib& reader, Visit visit) {
    for (;;) {
        RecPacket* packet = nullptr;
        RecPacket* info = nullptr;
        if (reader.ReadPacket(&packet, &info) != 0) return;
        if (info) reader.ReleasePacket(info);
        if (!packet) return;
        bool go = true;
        if (IsPicture(*packet) || packet->type == rec::kPacketAudio) go = visit(*packet);
        reader.ReleasePacket(packet);
        if (!go) return;
    }
}

}  // namespace calverin
