// How the control panel makes a recording group out of the recording list:
// the channel files that cover the same time as the chosen record, the
// group's total time, and which channel leads once another one has ended.
// Plain values over the list's records; no file, engine or window here.
//
// Channel slots 0-7 carry channel numbers 1-8. Times are seconds of the day.
#pragma once

#include "recordings/FileRecord.h"

#include <string>
#include <vector>

const int kChannelSlots = 8;

// Seconds of the day of the record's start and end.
int StartSeconds(const FileRecord& r);
int EndSeconds(const FileRecord& r);
// The start and end times written in the record's name agree (a file the
// recorder was still writing): the name split at '-', parts 3 and 4 agree
// in their first six characters.
bool NameStartEqualsEnd(const FileRecord& r);
// Four seconds or less; a recording that crosses midnight counts as short.
bool IsShortRecord(const FileRecord& r);
// The record's channel number 1-8: the one the file's header gave, else
// the one its name gives; 0 when neither is a channel of a group.
int RecordChannel(const FileRecord& r);
// The file name after the last backslash starts with a digit 1-9 (other
// names are listed but never opened).
bool IsPlayableName(const std::wstring& path);

// One recording group as the matching leaves it.
struct ChannelGroup {
    int channelIndex[kChannelSlots];  // index in the records; -1 none
    int channelFound[kChannelSlots];  // 1: the slot has a file
    int earliest = -1;                // the record of the group that starts first
    ChannelGroup();
};

// Finds the files of the other channels around record s, whose channel is
// c: in a fixed order of forward searches (the 8 records after s) and
// backward searches (the 8 before it, down to index 0) that depends on c.
// A forward match starts within 59 s before s and before s ends (or right
// at its end and ends less than 5 s after it); a backward match ends after
// s starts. Both last more than 4 s, are of s's date and of a slot not yet
// found. False (and an empty group) when s is outside the records or its
// channel is no channel 1-8.
bool MatchChannelFiles(const std::vector<FileRecord>& records, int s, ChannelGroup& group);

// " / MM:SS": the length from start to end (hour, minute, second each).
std::string TotalTimeText(const int start[3], const int end[3]);

// After a channel ended, the slot that leads from now on: the highest slot
// still found, replaced by each other slot (from slot 0 up) whose record
// ends strictly later than the candidate so far; a record whose name's two
// times agree counts as ending at its start. So equal ends keep the highest
// slot. Slots whose index is outside the records take no part. -1 when no
// slot is left.
int ChooseSyncCandidate(const std::vector<FileRecord>& records, const int channelIndex[kChannelSlots],
                        const int channelFound[kChannelSlots]);

// A record's end as the lead rule counts it: its end, or its start when
// its name's two times agree.
int LeadEndSeconds(const FileRecord& r);

// Index of the first record at or after index `from` that is not short;
// -1 when there is none (or `from` is outside the records).
int FirstPlayableFrom(const std::vector<FileRecord>& records, int from);

// The index of the record with this path: `hint` when it still holds it,
// else the first one that does; -1 when none does (the list was searched
// again, or its type changed).
int FindRecordByPath(const std::vector<FileRecord>& records, const std::wstring& path, int hint);
