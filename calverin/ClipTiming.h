// Time in the AVI file: the clip's frame rate, the frame slot of each
// picture and the silence that keeps the sound on the recording's time.
// AVI streams have fixed rates, so a gap in the recording becomes empty
// frame slots (the muxer writes them) and silent samples.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace calverin {

// Frames per second as num / den.
struct FrameRate {
    uint32_t num = 25;
    uint32_t den = 1;
};

// The rate of the median step between consecutive timestamps (steps of 0
// or backwards are no steps): a whole number of frames a second when within
// 2 % of one, else 1,000,000 / step in lowest terms. Without any step, or
// with steps too short for any recorder (over 1,000 a second): 25.
FrameRate RateFromTimestamps(const std::vector<uint64_t>& timestamps);

// The frame slot (in the video stream's 1 / rate time base) of each picture
// of a clip, from its timestamp: the nearest slot to its time after the
// clip's first picture, and always later than the slot before it.
class VideoClock {
public:
    VideoClock(uint64_t firstTimestamp, FrameRate rate) : first_(firstTimestamp), rate_(rate) {}
    int64_t SlotOf(uint64_t timestamp);

private:
    uint64_t first_;
    FrameRate rate_;
    int64_t last_ = -1;
};

constexpr int kSampleRate = 8000;

// The sound's place: samples written so far against where the recording's
// time says the next ones belong. An audio packet carries the timestamp of
// the picture before it, which is where its sound starts; a packet that
// comes later than the samples so far by more than the tolerance follows a
// gap, and silence fills it.
class SoundClock {
public:
    static constexpr int64_t kToleranceSamples = kSampleRate / 4;

    explicit SoundClock(uint64_t firstTimestamp) : first_(firstTimestamp) {}
    // Silent samples to write before the packet of this timestamp.
    int64_t SilenceBefore(uint64_t timestamp) const;
    void Written(int64_t samples) { written_ += samples; }
    int64_t Position() const { return written_; }

private:
    uint64_t first_;
    int64_t written_ = 0;
};

}  // namespace calverin
