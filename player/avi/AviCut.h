// The AVI export dialog's plain rules: times of day and their packing for
// the converter, the cut range it accepts, the output file's name and
// path, which name the times are read from, and what one progress report
// means for the dialog. Nothing here touches a window or a file.
#pragma once

#include <string>

// A time of day, as the dialog's time pickers hold it.
struct TimeOfDay {
    int hour = 0, minute = 0, second = 0;
};
inline bool operator==(const TimeOfDay& a, const TimeOfDay& b)
{
    return a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// HHMMSS (hour x 10000 + minute x 100 + second) to a time of day.
TimeOfDay TimeFromHms(int hms);
// hour << 16 | minute << 8 | second, as the converter takes a time.
int PackTime(const TimeOfDay& t);
// Hours 0-23, minutes and seconds 0-59.
bool IsValidTime(const TimeOfDay& t);
// Negative, 0 or positive as a is earlier than, equal to or later than b
// (by hour, then minute, then second).
int CompareTimes(const TimeOfDay& a, const TimeOfDay& b);
// A cut the dialog hands the converter: both times valid and the end not
// before the start (equal times are one second of the recording).
bool IsCutRangeAccepted(const TimeOfDay& start, const TimeOfDay& end);
// "HHMMSS".
std::wstring TimeDigits(const TimeOfDay& t);

// The output file's name: the first 7 characters of name (the whole name
// when it is shorter), the cut start, '-', the cut end and ".AVI":
// "100-01-101505-101509.AVI".
std::wstring AviOutputName(const std::wstring& name, const TimeOfDay& start, const TimeOfDay& end);

// The output file's full path: the destination folder as typed, with a
// backslash added when it has none at its end, then the file name. An
// empty destination folder means the source folder (which ends in a
// backslash, or is empty for a source without one). Empty when the file
// name is empty.
std::wstring AviOutputPath(const std::wstring& destFolder, const std::wstring& sourceFolder,
                           const std::wstring& fileName);

// Splits a chosen source path at its last backslash: the folder up to and
// including it, the name after it; a path without backslash is all name.
// false (nothing given) for an empty path, one whose last backslash is its
// first character, or one that ends in a backslash (no name).
bool SplitSourcePath(const std::wstring& path, std::wstring& folder, std::wstring& name);

// The times and the information text a name gives. false when it gives no
// usable range: not a recording file name, or one whose start equals its
// end (a file still being recorded); its times come from the file's header
// then.
bool RangeFromRecordName(const std::wstring& name, int& startHms, int& endHms, std::wstring& info);
// The information text of a range read from a header: "HH:MM:SS-HH:MM:SS".
std::wstring HeaderRangeText(int startHms, int endHms);

// What one progress report (current, total) of the converter means.
enum class ProgressStep {
    Ignore,    // no usable figures (a total of 0 or less)
    Move,      // move the bar to perMille
    Finished,  // current == total: the file is complete; the bar at 1000
    Failed,    // current < 0: the conversion failed (whatever the total)
};
// perMille = current x 1000 / total, truncated, within 0..1000 (set for
// Move and Finished).
ProgressStep ReadProgress(int current, int total, int& perMille);
