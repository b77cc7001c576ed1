// The shell's folder chooser, wide throughout: title and path in any
// language, the chosen item list freed, the main window as owner.
#pragma once

#include <windows.h>

#include <string>

// flags: BIF_ flags (BIF_BROWSEINCLUDEFILES lets the user choose a file);
// start: the folder the chooser opens at (empty: the Desktop). false when
// the user cancelled or the choice has no file-system path.
bool ChooseFolder(HWND owner, const wchar_t* title, UINT flags, std::wstring& path,
                  const std::wstring& start = std::wstring());

// Where the chooser opens for the storage path in use: that folder, or
// the folder of the recording file chosen before, when it exists; empty
// (the Desktop) otherwise.
std::wstring ChooserStartFolder(const std::wstring& storagePath);
