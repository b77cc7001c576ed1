// Starting a fresh copy of the running program (after a map-provider change).
#pragma once

#include <string>

// The command line of the copy: the program's path in quotes.
std::wstring RelaunchCommandLine(const std::wstring& exePath);
// Starts the running executable again, without waiting for it; false when
// it could not be started.
bool StartFreshCopy();
