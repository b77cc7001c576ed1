// Window objects belong to the user-interface thread. The framework checks
// every touch of its handle map against that thread and reports a touch
// from any other thread: in a debug build it stops in the debugger, always
// it writes to the debugger output, and a test may install its own report.
#pragma once

// The user-interface thread is the first thread that touches a window
// object; CheckUiThread reports when the calling thread is another one.
void CheckUiThread(const char* what);
// Tests: a report of their own (null: the default report). Returns the
// previous one.
using UiThreadReport = void (*)(const char* what);
UiThreadReport SetUiThreadReport(UiThreadReport report);
