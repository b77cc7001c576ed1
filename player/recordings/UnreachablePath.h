// The message for files that the engine or the converter cannot be handed
// (AnsiPath found neither an ANSI spelling nor a short name for them).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The message's text: one line per path, "<path> <cannot be opened...>",
// in the current language; lines end in "\r\n" but the last.
std::wstring UnreachablePathsText(const std::vector<std::wstring>& paths);

// A message box over owner with that text; nothing for no paths.
void ShowUnreachablePaths(HWND owner, const std::vector<std::wstring>& paths);
