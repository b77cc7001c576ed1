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

// The playing group as the playback control panel describes it: for each
// of its eight channel slots whether it has a file and that file's index
// in the shown list; groupPage is the page that holds the group, and
// crossesPage is set when its rows run over the end of a page.
struct PlayingGroup {
    int channelIndex[8] = {};
    int channelFound[8] = {};
    int crossesPage = 0;
    int selectedRow = 0;
    int groupPage = 0;
};

// Rows of the page currentPage (perPage records a page) to mark as
// playing. A group that crosses the end of a page shows its rows in the
// last three places on the page before groupPage and the others on
// groupPage.
std::vector<int> PlayingRows(const PlayingGroup& group, int currentPage, int perPage);
