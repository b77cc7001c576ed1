// Frame timing of a channel player: how long one frame stays on screen at
// a play rate, and whether the next frame is due. Plain functions over a
// small clock record; the caller passes the tick count, so tests can drive
// time by hand.
#pragma once

#include <stdint.h>

// Milliseconds between two video timestamps (microseconds). A timestamp
// going backwards gives the nominal 40 ms. Rounds up from .6 ms.
uint32_t IntervalMs(uint64_t earlier, uint64_t later);

// The frame interval in forward play at `rate` (an exponent: positive
// shortens, negative lengthens). Camera and recorder files differ in their
// fast steps. A result above kResyncIntervalMs (also from a wrapped
// subtraction) means "decode now and restart the clock".
uint32_t ForwardIntervalMs(uint32_t baseMs, int32_t rate, bool cameraFile);
// The same for backward play over I-frames: slow rates divide.
uint32_t ReverseIntervalMs(uint32_t baseMs, int32_t rate);

constexpr uint32_t kResyncIntervalMs = 5000;
constexpr uint32_t kNominalIntervalMs = 40;

struct PaceClock {
    uint32_t tick = 0;     // tick count at the last decode or reset
    uint32_t credit = 0;   // lateness carried forward, ms
};

// True when `ms` have passed since `tick`. A tick counter that wrapped
// restarts the tick and is not due.
bool IsDue(uint32_t* tick, uint32_t ms, uint32_t now);

// 1: decode the next frame now; 0: wait. The credit lets a late player
// decode frames back to back until it has caught up.
int Pace(PaceClock* clock, uint32_t intervalMs, uint32_t now);
// How long until Pace gives 1 for a frame of `intervalMs` (0: now). A
// player rests that long, not a fixed part of the interval: every rest
// costs a wait on the system's scheduler, and under Wine each one is a
// round trip to its server.
uint32_t PaceWaitMs(const PaceClock& clock, uint32_t intervalMs, uint32_t now);
