// The search for recordings under a root: a folder is walked with its
// subfolders for files whose name contains ".h264", a file is the one
// recording; each file's date, times, channel and kind come from one header
// probe through the engine. Runs on the scan worker (ScanWorker.h): it
// touches no window and keeps nothing between calls.
#pragma once

#include "recordings/FileRecord.h"

#include <atomic>
#include <string>
#include <vector>

struct FileInfo;

// The root as the walk uses it: trailing backslashes of a folder are cut
// ("D:\rec\" -> "D:\rec"); a drive root keeps its one ("E:" -> "E:\").
std::wstring NormaliseSearchRoot(const std::wstring& root);

// A folder entry the walk descends into: a folder that is no reparse point
// (a junction or a link, which may lead back up the tree), nor "." or "..".
bool IsWalkedFolder(const std::wstring& name, DWORD attributes);

// A file takes part in the list when its name contains ".h264" (as written,
// lower case) anywhere: "a.h264" and "clip.h264.bak", not "a.H264".
bool IsListedFileName(const std::wstring& name);

// The record of one file. probe is what the engine read from its header,
// or null when it could not read it: then the name gives the channel and
// the times when it is a recording file name, the rest stays zero, and the
// kind is "others".
FileRecord MakeFileRecord(const std::wstring& name, const std::wstring& path, uint64_t size,
                          const FileInfo* probe);

// Every recording under root, unsorted: a folder root is walked (empty
// files, folders that are reparse points and names without ".h264" left
// out); a file root gives its own record, whatever its length. cancel is
// read before every entry; once set, the walk returns what it has.
std::vector<FileRecord> ScanRecordings(const std::wstring& root, const std::atomic<bool>& cancel);
