// What a video pane hands the AVI dialog for the file it plays: the folder,
// the file name, and, for a name that gives no usable time range (not a
// recording file name, or one whose start and end agree, as for a file
// still being recorded), a recording-style name built from the pane's own
// channel and recording times, which the dialog reads the range from.
#pragma once

#include <string>

struct AviSource {
    std::wstring folder;     // up to and including the last backslash
    std::wstring name;
    std::wstring parseName;  // empty: the dialog reads the name itself
};

// False when the path is empty, has no backslash, or its last backslash
// is its first character.
bool AviSourceFor(const std::wstring& path, int channelNumber, const int start[3], const int end[3],
                  AviSource& out);
