#include "ClipSelector.h"

namespace calverin {

ClipSelector::ClipSelector(const ClipWindow& window, bool acceptLate)
    : window_(window), acceptLate_(acceptLate) {}

ClipSelector::Action ClipSelector::OnVideo(uint64_t timestamp, bool iframe) {
    if (stopped_) return kStop;
    if (!begun_) {
        if (!iframe) return kSkip;
        if (timestamp > window_.start && !acceptLate_) return kLate;
        if (timestamp >= window_.end) {
            stopped_ = true;
            return kStop;
        }
        begun_ = true;
        pastStart_ = timestamp > window_.start;
        inWindow_ = timestamp >= window_.start;
        return kBegin;
    }
    if (timestamp >= window_.end) {
        stopped_ = true;
        return kStop;
    }
    // Before the start every I-frame is a better beginning; after it (even
    // if a later timestamp runs backwards) the beginning stands.
    if (!pastStart_ && iframe && timestamp <= window_.start) {
        inWindow_ = timestamp == window_.start;
        return kBegin;
    }
    if (timestamp >= window_.start) inWindow_ = true;
    if (timestamp > window_.start) pastStart_ = true;
    return kTake;
}

ClipSpan SelectClip(const std::vector<VideoFrame>& frames, const ClipWindow& window) {
    ClipSelector s(window, true);
    ClipSpan span;
    for (size_t i = 0; i < frames.size(); ++i) {
        ClipSelector::Action a = s.OnVideo(frames[i].timestamp, frames[i].iframe);
        if (a == ClipSelector::kStop) break;
        if (a == ClipSelector::kBegin) {
            span.begin = i;
            span.count = 1;
        } else if (a == ClipSelector::kTake) {
            ++span.count;
        }
    }
    if (!s.HasPictureInWindow()) span.count = 0;
    return span;
}

}  // namespace calverin
