// The Windows version the main dialog draws its caption by.
#pragma once

// The version the system really runs (asked of the system itself, so that a
// compatibility layer's answer does not count), as a WindowsVersionCode.
// 2 when the system does not say.
int DetectWindowsVersion();
