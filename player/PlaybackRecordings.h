// Recordings the playback tests play through the engine: one plain colour
// per channel (red, green, blue, yellow for channels 1 to 4), 25 pictures a
// second with an I-frame a second, written by the record writer under the
// recorder's file names.
#pragma once

#include <string>

namespace fixture {

// The colour channel 1..4 shows.
unsigned long ChannelColour(int channel);

// Writes folder\<recorder's name> for channel 1..4, starting at startHms
// and `seconds` long (at most 10); the path, empty when it failed.
std::wstring WritePlayableRecording(const std::wstring& folder, int channel, int startHms, int seconds);

}  // namespace fixture
