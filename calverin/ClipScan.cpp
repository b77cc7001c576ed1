#include "ClipScan.h"

#include "ClipSelector.h"

#include <algorithm>

namespace calverin {

namespace {

enum class ScanEnd { kDone, kLate };

// One scan from the reader's position: the selector decides, the plan
// follows its decisions.
ScanEnd ScanFrom(CFileQuib& reader, const ClipWindow& window, bool acceptLate, ClipPlan* plan,
                 bool* inWindow) {
    ClipSelector selector(window, acceptLate);
    ParameterSets seen;
    uint32_t index = 0;
    bool begun = false, late = false;
    StreamPackets(reader, [&](const RecPacket& p) {
        if (p.type == rec::kPacketAudio) {
            if (begun) plan->hasSound = true;
            return true;
        }
        bool iframe = p.type == rec::kPacketIFrame;
        switch (selector.OnVideo(p.timestamp, iframe)) {
        case ClipSelector::kLate:
            late = true;
            return false;
        case ClipSelector::kStop:
            return false;
        case ClipSelector::kBegin:
            begun = true;
            plan->leadingVideo = index;
            plan->frames = 1;
            plan->firstTimestamp = p.timestamp;
            plan->timestamps.assign(1, p.timestamp);
            plan->hasSound = false;
            plan->params = seen;
            CollectParameterSets(p.data, p.length, &plan->params);
            break;
        case ClipSelector::kTake:
            ++plan->frames;
            plan->timestamps.push_back(p.timestamp);
            break;
        case ClipSelector::kSkip:
            break;
        }
        CollectParameterSets(p.data, p.length, &seen);
        ++index;
        return true;
    });
    *inWindow = selector.HasPictureInWindow();
    return late ? ScanEnd::kLate : ScanEnd::kDone;
}

}  // namespace

PlanResult PlanClip(CFileQuib& reader, const ClipWindow& window, ClipPlan* plan) {
    const FileInfo& info = reader.GetFileInfo();
    if (window.start > info.lastTimestamp) return PlanResult::kNothingInRange;
    const int64_t target = int64_t(std::min<uint64_t>((window.start - info.firstTimestamp) / 1000,
                                                      info.durationMs));
    // A time seek lands on an I-frame within about a second of its target,
    // on either side: when it lands after the cut start, seek earlier.
    int64_t back = 0;
    bool inWindow = false;
    for (;;) {
        *plan = ClipPlan();
        plan->seekMs = int32_t(std::max<int64_t>(target - back, 0));
        bool fromFirst = plan->seekMs == 0;
        if (reader.SeekTime(plan->seekMs, nullptr) != 0) return PlanResult::kNothingInRange;
        if (ScanFrom(reader, window, fromFirst, plan, &inWindow) == ScanEnd::kDone) break;
        back = back ? back * 2 : 2000;
    }
    if (!inWindow || plan->frames == 0) return PlanResult::kNothingInRange;

    // Parameter sets sent once at the file's start only: take them from there.
    if (!plan->params.Complete()) {
        ParameterSets first;
        reader.Rewind();
        StreamPackets(reader, [&](const RecPacket& p) {
            if (p.type != rec::kPacketAudio) CollectParameterSets(p.data, p.length, &first);
            return !first.Complete();
        });
        if (plan->params.sps.empty()) plan->params.sps = first.sps;
        if (plan->params.pps.empty()) plan->params.pps = first.pps;
        if (!plan->params.Complete()) return PlanResult::kNoParameterSets;
    }
    if (!ParseSpsSize(plan->params.sps.data(), plan->params.sps.size(), &plan->width, &plan->height))
        return PlanResult::kNoParameterSets;
    return PlanResult::kOk;
}

}  // namespace calverin
