// Starting a fresh copy of the running program (after a map-provider change).
#pragma once

#include <string>

// The command line of the copy: the program's path in quotes.
std::wstring RelaunchCommandLine(const std::wstring& exePath);
// The restart flag: set when the user chose another map provider; the
// application starts itself again as it ends.
void SetRelaunchOnExit(bool on);
bool RelaunchOnExit();
// Starts the running executable again, without waiting for it; false when
// it could not be started.
bool StartFreshCopy();
