#include "UiThread.h"

#include <windows.h>

#include <atomic>
#include <cstdio>

namespace {
std::atomic<DWORD> g_uiThread{0};
std::atomic<UiThreadReport> g_report{nullptr};

void DefaultReport(const char* what)
{
    char text[160];
    std::snprintf(text, sizeof text, "window object touched off the user-interface thread: %s\n", what);
    ::OutputDebugStringA(text);
#ifndef NDEBUG
    if (::IsDebuggerPresent())
        ::DebugBreak();
#endif
}
}  // namespace

void CheckUiThread(const char* what)
{
    DWORD self = ::GetCurrentThreadId();
    DWORD expected = 0;
    if (g_uiThread.compare_exchange_strong(expected, self) || expected == self)
        return;
    UiThreadReport report = g_report.load();
    (report ? report : DefaultReport)(what);
}

UiThreadReport SetUiThreadReport(UiThreadReport report)
{
    return g_report.exchange(report);
}
