// The recordings of the multi-channel tests: one file per channel, made
// from that channel's coded stream (see FrameCode.h), 25 frames a second
// with an I-frame a second, each picture followed by its information frame
// (speed = frame number, heading = channel) and 40 ms of G.726 sound, as a
// recorder writes them. The channels of a group start at chosen offsets.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <string>

namespace e2e {

const uint64_t kFrameUs = 40000;

// The group's common time origin: 2026-12-10 08:30:00, in microseconds.
uint64_t GroupStart();

// Writes `path`: channel `channel` (0-3), its first picture at GroupStart()
// + `offsetUs`, `frames` pictures (at most 750). False when a fixture stream
// is missing or the file cannot be written.
bool WriteChannelRecording(const std::string& path, int channel, uint64_t offsetUs, size_t frames);

// The timestamp of picture `frame` of a channel that starts at `offsetUs`.
inline uint64_t FrameTime(uint64_t offsetUs, int frame) {
    return GroupStart() + offsetUs + uint64_t(frame) * kFrameUs;
}

}  // namespace e2e
