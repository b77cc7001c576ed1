// How the channels of one decoder handle keep in step: a slave's clock
// adjustments against the master's timestamp, how many frames a single
// step shows, and which channel becomes the sync channel (master).
// Plain functions; the players and the handle apply their results.
#pragma once

#include "FramePacing.h"

#include <stdint.h>

constexpr int kChannelCount = 4;
constexpr uint64_t kNoStart = 0x7FFFFFFFFFFFFFFFull;
constexpr uint32_t kReverseSyncThresholdMs = 625;

// Forward play: whether a channel shows its next picture, the one at
// `next`, now.
// - The master paces by its own clock (Pace).
// - A slave follows the master's clock (MasterClock, `masterClock`) and not
//   its own: it shows each picture once the master's clock has reached the
//   picture's timestamp, and leaves its own clock alone. (Compared with the
//   master's last picture instead, or paced by its own clock and nudged
//   only when 25 ms off, a slave settles up to most of a frame behind.)
// - A channel that has just been made master (`promoted`) starts its clock
//   afresh: whatever its clock ran up while it was a slave is no lateness of
//   its own, and worked off it would show as a burst of pictures.
bool ForwardDue(PaceClock* clock, uint32_t intervalMs, bool slave, uint64_t next, uint64_t masterClock,
                bool promoted, uint32_t now);
// How long a slave whose next picture is at `next` waits for the master's
// clock to reach it, in ms (0: it is there), at most kResyncIntervalMs.
uint32_t SlaveWaitMs(uint64_t next, uint64_t masterClock);
// The master's clock, from its last timestamp: the master hands its
// timestamp on only when it decodes, so between its pictures that value
// lags its clock by up to one frame. The clock moves on at the play speed
// (`recordingMs` of recording in `wallMs`, as the rate shows a frame), but
// never past the master's last step `stepUs`: a master that stalls stops
// it. Without a step (first time, a jump) or a speed, it stays put.
uint64_t MasterClock(uint64_t timestamp, uint64_t stepUs, uint32_t elapsedMs, uint32_t recordingMs,
                     uint32_t wallMs);

// Backward play over I-frames: far behind restarts the clock; ahead sets
// the credit to the lead.
void SyncSlaveReverse(PaceClock* clock, uint64_t next, uint64_t master, uint32_t now,
                      uint32_t thresholdMs = kReverseSyncThresholdMs);

// Frames a single step decodes: 1 for a master; a slave 200 ms behind
// catches up with 2, one 200 ms ahead waits with 0.
int StepFrameCount(bool slave, uint64_t next, uint64_t master);

// After channel `opened` opened: the open channel with the earliest start;
// ties keep `opened`, else go to the lowest channel.
int SyncChannelAfterOpen(int opened, const bool open[kChannelCount],
                         const uint64_t start[kChannelCount]);
// After channel `ended` ended (its playing flag already cleared). When the
// master ended, the playing channel with the earliest start takes over
// (none: it stays); when a slave ended, that channel becomes the sync
// channel until the caller chooses another.
int SyncChannelAfterEnd(int ended, int current, const bool playing[kChannelCount],
                        const uint64_t start[kChannelCount]);
