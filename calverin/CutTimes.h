// The cut's times: packed times of day (hour << 16 | minute << 8 | second)
// and where they fall in a recording, whose first I-frame was taken at the
// start time of day of its file header.
#pragma once

#include <stdint.h>

namespace calverin {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

constexpr int kSecondsPerDay = 86400;
constexpr uint64_t kMicrosPerSecond = 1000000;

int PackTime(const TimeOfDay& t);
// False for hour > 23, minute or second > 59, or bits beyond the three fields.
bool UnpackTime(int packed, TimeOfDay* out);
int SecondsOfDay(const TimeOfDay& t);

// Seconds from `start` to `t`; a time before `start` is on the next day.
int SecondsAfter(const TimeOfDay& start, const TimeOfDay& t);

// The recording's timestamps (microseconds) that a clip takes frames from:
// the cut start and the end before which the clip stops.
struct ClipWindow {
    uint64_t start = 0;
    uint64_t end = 0;   // exclusive
};

// Maps a cut (packed times, already checked) onto a recording whose first
// I-frame has timestamp `firstTimestamp` at the header's start time of day:
// start = first + offset(cut start), end = first + offset(cut end) + 1 s.
// A start that wraps to the next day while the end does not lies before the
// recording: it becomes the recording's start.
ClipWindow MapCut(const TimeOfDay& headerStart, uint64_t firstTimestamp, const TimeOfDay& cutStart,
                  const TimeOfDay& cutEnd);

}  // namespace calverin
