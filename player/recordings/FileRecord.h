// One recording as the recording list keeps it, the order the list sorts
// them in, and the record-type filter. Plain values: no file and no window
// is touched here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string_view>
#include <vector>

// Recording kinds (FileRecord::kind): what the recorder wrote in the file's
// header. Any value other than 0 and 1 counts as "others".
enum RecordKind : int32_t { kKindNormal = 0, kKindAlarm = 1, kKindOthers = 2 };

// The record-type selection of the search panel.
enum RecordType : int { kTypeTimer = 0, kTypeAlarm = 1, kTypeAll = 2 };

// One recording file. A default FileRecord is all zeros.
struct FileRecord {
    uint8_t year = 0;  // year - 2000 of the start date
    uint8_t month = 0;
    uint8_t day = 0;
    wchar_t name[256] = {};  // file name without its folder
    uint8_t startHour = 0, startMinute = 0, startSecond = 0;
    uint8_t endHour = 0, endMinute = 0, endSecond = 0;
    uint64_t size = 0;  // file length in bytes
    int32_t kind = kKindNormal;
    int32_t channel = 0;
    wchar_t path[512] = {};  // full path of the file
};

// Copies the file name and path into the record, cut to fit.
void SetRecordName(FileRecord& record, std::wstring_view name, std::wstring_view path);

// Fills the date and the two times of record: the times from the name when
// it is a recording file name (the end time from the engine when the name's
// two times are equal), otherwise both from the engine; the date always
// from the engine's start.
void ParseNameTimes(std::wstring_view name, FileRecord& record, const SYSTEMTIME& engineStart,
                    const SYSTEMTIME& engineEnd);

// True when a goes before b: by date, hour and minute; then start seconds
// at least 15 apart decide; closer ones go by channel. So the channels of
// one recording time come out in channel order. This is no strict weak
// order (10 s on channel 3, 20 s on 2 and 30 s on 1 form a cycle), so sort
// only with SortFileRecords.
bool CompareFileRecords(const FileRecord& a, const FileRecord& b);

// Sorts by CompareFileRecords with a merge that only ever compares two
// records and takes one of them: it stays within the list and ends, and
// the result is a permutation of the input, whatever the answers.
void SortFileRecords(std::vector<FileRecord>& records);

// The records of one type in list order: kTypeTimer the normal ones,
// kTypeAlarm the alarm ones; for all types an empty list, since the list
// then shows all records directly.
std::vector<FileRecord> RecordsOfType(const std::vector<FileRecord>& all, int typeIndex);
