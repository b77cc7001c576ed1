// The snapshot's files: the name of each picture, saved beside the
// recording it comes from, and the notice that lists what was saved.
// Plain text rules; the engine writes the files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The longest path the engine can write (MAX_PATH less the terminator).
const size_t kMaxSnapshotPath = MAX_PATH - 1;

// The snapshot of the recording at recordingPath taken at `now`: the path
// up to its last '.' (all of it when the name has none) followed by
// " YYYY-MM-DD HH_MM_SS.bmp". When exists() says that name is taken (a
// second press in the same second), " (2)", " (3)" ... go before ".bmp".
// False when the name would pass kMaxSnapshotPath characters, or every
// number up to 99 is taken.
bool SnapshotName(const std::wstring& recordingPath, const SYSTEMTIME& now,
                  const std::function<bool(const std::wstring&)>& exists, std::wstring& name);

// The folder of a file: the path up to its last backslash (a drive's root
// keeps it: "D:\"); empty without a backslash.
std::wstring FolderOfFile(const std::wstring& path);

// What became of one channel's snapshot.
struct SnapshotResult {
    // Unreachable: the engine cannot be handed the file's path (no ANSI
    // spelling, no short name of its folder).
    enum Outcome { Saved, Failed, NameTooLong, Unreachable } outcome;
    std::wstring path;  // the snapshot's file; the recording's when the name was too long
};

// The notice's text: one line per result, "<file> <saved>" for a saved
// file, "<file> <failed>" for one the engine did not write, "<recording>
// <tooLong>" for a name too long, "<file> <unreachable>" for a path the
// engine cannot be handed; lines end in "\r\n" but the last.
std::wstring SnapshotNoticeText(const std::vector<SnapshotResult>& results, const std::wstring& saved,
                                const std::wstring& failed, const std::wstring& tooLong,
                                const std::wstring& unreachable);

// The folders of the saved files, each once, in the order of the results.
std::vector<std::wstring> SnapshotFolders(const std::vector<SnapshotResult>& results);
