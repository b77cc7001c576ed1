#include "CutTimes.h"

namespace calverin {

int PackTime(const TimeOfDay& t) { return t.hour << 16 | t.minute << 8 | t.second; }

bool UnpackTime(int packed, TimeOfDay* out) {
    uint32_t v = uint32_t(packed);
    TimeOfDay t;
    t.hour = int(v >> 16);
    t.minute = int(v >> 8 & 0xFF);
    t.second = int(v & 0xFF);
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return false;
    if (out) *out = t;
    return true;
}

int SecondsOfDay(const TimeOfDay& t) { return t.hour * 3600 + t.minute * 60 + t.second; }

int SecondsAfter(const TimeOfDay& start, const TimeOfDay& t) {
    int d = SecondsOfDay(t) - SecondsOfDay(start);
    return d < 0 ? d + kSecondsPerDay : d;
}

ClipWindow MapCut(const TimeOfDay& headerStart, uint64_t firstTimestamp, const TimeOfDay& cutStart,
                  const TimeOfDay& cutEnd) {
    int from = SecondsAfter(headerStart, cutStart);
    int to = SecondsAfter(headerStart, cutEnd);
    if (from > to) from = 0;   // the start wrapped, the end did not
    ClipWindow w;
    w.start = firstTimestamp + uint64_t(from) * kMicrosPerSecond;
    w.end = firstTimestamp + uint64_t(to + 1) * kMicrosPerSecond;
    return w;
}

}  // namespace calverin
