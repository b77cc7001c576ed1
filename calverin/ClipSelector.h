// Which pictures of a recording make the clip: from the last I-frame at or
// before the window's start to the last picture before its end. Fed the
// video packets in file order, from any I-frame at or before the start on;
// it decides each one as it comes, so that the clip can be found while the
// file streams past.
#pragma once

#include "CutTimes.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace calverin {

class ClipSelector {
public:
    enum Action {
        kSkip,    // before the clip
        kBegin,   // the clip (re)starts at this I-frame: drop what was taken
        kTake,    // part of the clip
        kLate,    // the first I-frame lies after the start: read from earlier
        kStop,    // the clip has ended before this picture
    };

    // With `acceptLate`, reading cannot start earlier: an I-frame after the
    // start but before the end begins the clip in place of kLate.
    ClipSelector(const ClipWindow& window, bool acceptLate);

    Action OnVideo(uint64_t timestamp, bool iframe);

    // True once a taken picture lies in the window itself: without one the
    // recording has nothing in the range.
    bool HasPictureInWindow() const { return inWindow_; }

private:
    ClipWindow window_;
    bool acceptLate_;
    bool begun_ = false;
    bool pastStart_ = false;
    bool stopped_ = false;
    bool inWindow_ = false;
};

// A picture as the recording lists it.
struct VideoFrame {
    uint64_t timestamp;
    bool iframe;
};

// The clip of a whole recording's pictures: [begin, begin + count), or
// count 0 when nothing of the recording lies in the window.
struct ClipSpan {
    size_t begin = 0;
    size_t count = 0;
};
ClipSpan SelectClip(const std::vector<VideoFrame>& frames, const ClipWindow& window);

}  // namespace calverin
