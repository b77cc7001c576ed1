// Starting a fresh copy of the running program (after a map-provider change).
#pragma once

#include <string>

// The command line of the copy: the program's path in quotes, then the
// search root in quotes (none when empty), so that the copy lists the same
// recordings.
std::wstring RelaunchCommandLine(const std::wstring& exePath, const std::wstring& searchRoot);
// The restart flag: set when the user chose another map provider; the
// application starts itself again as it ends.
void SetRelaunchOnExit(bool on);
bool RelaunchOnExit();
// Starts the running executable again on searchRoot, without waiting for
// it; false when it could not be started.
bool StartFreshCopy(const std::wstring& searchRoot);
