// Recordings the playback tests play through the engine: one plain colour
// per channel (red, green, blue, yellow for channels 1 to 4), 25 pictures a
// second with an I-frame a second, written by the record writer under the
// recorder's file names.
#pragma once

#include "Ostrivel.h"

#include <stddef.h>
#include <stdint.h>
#include <functional>
#include <string>
#include <vector>

namespace fixture {

// The colour channel 1..4 shows.
unsigned long ChannelColour(int channel);

// Writes folder\<recorder's name> for channel 1..4, starting at startHms
// and `seconds` long (at most 60); the path, empty when it failed. When
// given, infoBlock(k, drive) is the information block of picture k in place
// of the demo drive's frame.
std::wstring WritePlayableRecording(
    const std::wstring& folder, int channel, int startHms, int seconds,
    std::function<std::vector<uint8_t>(size_t k, const InfoFrame& drive)> infoBlock = nullptr);

}  // namespace fixture
