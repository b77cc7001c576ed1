// The notice box's plain rules: its one-second countdown and the command
// that opens a folder.
#pragma once

#include <string>

// One tick of the countdown. With seconds left: the close button reads
// "CLOSE(nn)" with them, one second is taken and the notice shows (true).
// With none left (0, or a count below 0): the notice hides (false) and the
// button text stays as it is.
bool CountdownTick(int& secondsLeft, std::wstring& closeText);

// The command line that opens folder in the explorer: explorer.exe with
// the folder in double quotes (a comma or blank in it is part of the
// name; a drive's root keeps its backslash, doubled before the quote).
// Empty for an empty folder: nothing is to be opened.
std::string ExplorerCommand(const std::string& folder);
