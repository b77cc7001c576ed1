#include "SyncRules.h"

// Distances between timestamps in ms, read as a signed 32-bit value as the
// recorder's players always have.
static int32_t DistanceMs(uint64_t from, uint64_t to) {
    return int32_t(uint32_t((to - from) / 1000u));
}

bool ForwardDue(PaceClock* clock, uint32_t intervalMs, bool slave, uint64_t next, uint64_t masterClock,
                bool promoted, uint32_t now) {
    if (slave) return next <= masterClock;
    if (promoted) {
        clock->tick = now;
        clock->credit = 0;
    }
    return Pace(clock, intervalMs, now) != 0;
}

uint32_t SlaveWaitMs(uint64_t next, uint64_t masterClock) {
    if (next <= masterClock) return 0;
    uint64_t ms = (next - masterClock + 999) / 1000;
    return ms < kResyncIntervalMs ? uint32_t(ms) : kResyncIntervalMs;
}

uint64_t MasterClock(uint64_t timestamp, uint64_t stepUs, uint32_t elapsedMs, uint32_t recordingMs,
                     uint32_t wallMs) {
    if (stepUs == 0 || wallMs == 0 || wallMs > kResyncIntervalMs) return timestamp;
    uint64_t moved = uint64_t(elapsedMs) * recordingMs * 1000u / wallMs;
    return timestamp + (moved < stepUs ? moved : stepUs);
}

void SyncSlaveReverse(PaceClock* clock, uint64_t next, uint64_t master, uint32_t now,
                      uint32_t thresholdMs) {
    if (next <= master) {
        if (uint32_t(DistanceMs(next, master)) > thresholdMs) clock->tick = now;
    } else {
        clock->tick = now;
        clock->credit = uint32_t(DistanceMs(master, next));
    }
}

int StepFrameCount(bool slave, uint64_t next, uint64_t master) {
    if (!slave) return 1;
    if (next <= master) return DistanceMs(next, master) > 200 ? 2 : 1;
    return DistanceMs(master, next) < 200 ? 1 : 0;
}

int SyncChannelAfterOpen(int opened, const bool open[kChannelCount],
                         const uint64_t start[kChannelCount]) {
    int candidate = opened;
    for (int k = 0; k < kChannelCount; ++k) {
        if (open[k] && start[k] < start[candidate]) candidate = k;
    }
    return candidate;
}

int SyncChannelAfterEnd(int ended, int current, const bool playing[kChannelCount],
                        const uint64_t start[kChannelCount]) {
    if (ended != current) return ended;
    int chosen = current;
    bool held = false;
    uint64_t best = 0;
    for (int k = 0; k < kChannelCount; ++k) {
        if (k == ended || !playing[k]) continue;
        if (!held || start[k] < best) {
            chosen = k;
            best = start[k];
            held = true;
        }
    }
    return chosen;
}
