#include "FramePacing.h"

uint32_t IntervalMs(uint64_t earlier, uint64_t later) {
    if (later < earlier) return kNominalIntervalMs;
    uint64_t d = later - earlier;
    uint32_t ms = uint32_t(uint32_t(d) / 1000u);
    if (d % 1000u >= 600u) ms += 1;
    return ms;
}

// Rates come from the caller unchecked: shifts past the word and products
// past 32 bits must not be undefined.
static uint32_t Halve(uint32_t ms, int32_t times) {
    return times >= 32 ? 0u : ms >> times;
}

uint32_t ForwardIntervalMs(uint32_t baseMs, int32_t rate, bool cameraFile) {
    if (rate > 0) {
        // Fast steps: a few ms off each frame first, then halvings. The
        // subtraction may wrap; Pace reads such a value as "now".
        if (cameraFile) {
            if (rate > 4) return Halve(baseMs, rate - 2);
            return baseMs - 8u * uint32_t(rate);
        }
        if (rate >= 4) return Halve(baseMs, rate - 2);
        return baseMs - 9u * uint32_t(rate);
    }
    if (rate < 0) {
        uint64_t ms = uint64_t(baseMs) * 2u * uint64_t(-int64_t(rate));
        return ms > 0xFFFFFFFFu ? 0xFFFFFFFFu : uint32_t(ms);
    }
    return baseMs;
}

uint32_t ReverseIntervalMs(uint32_t baseMs, int32_t rate) {
    if (rate < 0) return uint32_t(baseMs / (2u * uint64_t(-int64_t(rate))));
    return baseMs;
}

bool IsDue(uint32_t* tick, uint32_t ms, uint32_t now) {
    if (now < *tick) {
        *tick = now;
        return false;
    }
    return now - *tick >= ms;
}

uint32_t PaceWaitMs(const PaceClock& clock, uint32_t intervalMs, uint32_t now) {
    if (intervalMs > kResyncIntervalMs) return 0;
    uint32_t wait = clock.credit >= intervalMs ? 0 : intervalMs - clock.credit;
    if (now < clock.tick) return wait;   // the counter wrapped: Pace restarts the tick
    uint32_t elapsed = now - clock.tick;
    return elapsed >= wait ? 0 : wait - elapsed;
}

int Pace(PaceClock* clock, uint32_t intervalMs, uint32_t now) {
    if (intervalMs > kResyncIntervalMs) {
        clock->tick = now;
        clock->credit = 0;
        return 1;
    }
    // The credit shortens the wait for the next frame too: spent only a
    // whole interval at a time, lateness of a few ms a frame would pile up
    // until one frame was shown for no time at all.
    uint32_t wait = clock->credit >= intervalMs ? 0 : intervalMs - clock->credit;
    if (wait == 0 || IsDue(&clock->tick, wait, now)) {
        clock->credit = clock->credit + (now - clock->tick) - intervalMs;
        clock->tick = now;
        return 1;
    }
    return 0;
}
