// The recorder's file-name rule. A recording file name is 32 characters:
//
//     201-02-101500-102000-02p000.h264
//     ^^^ ^^ ^^^^^^ ^^^^^^ ^^^
//     |   |  start  end    video standard, resolution code, frame rate
//     |   channel
//     alarm sub-type at position 1
//
// with '-' at positions 3, 6, 13 and 20 and ".h264" (in lower case) at
// the end. The recording list, the playback page, the AVI dialog and the
// video panes read names with these functions; nothing here touches a
// file or a window.
#pragma once

#include <string>
#include <string_view>

// True for a recording file name as above.
bool IsRecordFileName(std::wstring_view name);
bool IsRecordFileName(std::string_view name);

// Reads a name laid out as above (the dashes and the extension are not
// tested again): returns the channel number and gives the start and end
// times as HHMMSS and the information text
// "HH:MM:SS-HH:MM:SS CHnn <PAL|NTSC> <resolution> nnF/S". Any output may be
// null. A name too short to hold the fields gives 0, times 0 and an empty
// text.
int ParseRecordFileName(std::wstring_view name, int* startHms, int* endHms, std::wstring* info);
int ParseRecordFileName(std::string_view name, int* startHms, int* endHms, std::wstring* info);

// The two-character number at pos (hours, minutes and seconds of the two
// times sit at 7, 9, 11 and 14, 16, 18), read like atoi: an optional sign
// and the digits that follow, 0 when there are none or the name is shorter.
int RecordNameField(std::wstring_view name, size_t pos);
