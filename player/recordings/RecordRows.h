// What the recording list shows of a record: the six texts of its row and
// the string id of its kind, and which rows of a page are playing. Plain
// functions over values.
#pragma once

#include "recordings/FileRecord.h"

#include <array>
#include <string>
#include <vector>

// The kind's text: normal; alarm by the name's sub-type character
// (position 1: '2' move, '3' impact, '4' I/O, else plain alarm); others.
int KindStringId(const FileRecord& record);

// "1.5M": the size in mebibytes with one decimal.
std::wstring SizeText(uint64_t bytes);

// Channel, date "YYYY-MM-DD", start and end "HH:MM:SS", the kind's text as
// given, size.
std::array<std::wstring, 6> RecordRowTexts(const FileRecord& record, const std::wstring& kindText);

// Rows to mark as playing: those whose record (rowPaths, in row order) is
// one of the files of the playing group, whichever page, page size or
// record order the list has now.
std::vector<int> PlayingRows(const std::vector<std::wstring>& rowPaths, const std::vector<std::wstring>& playingPaths);
