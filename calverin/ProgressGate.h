// The road of a conversion's progress to its caller's callback.
//
// Detaching: Set(NULL, NULL) returns only when no call of the callback runs
// on another thread, and no call starts after it. `lock_` guards the
// callback, its user value and the running-call record; it is never held
// while the callback runs, and Set waits for a running call on `idle_`
// (which releases the lock): the wait ends when the call returns, so a
// callback must not wait for the thread that sets it. A Set from inside the
// callback (on the converter's own thread) changes the callback at once.
//
// Pace: at most one call every 100 ms. Report drops a call that comes
// sooner; ReportLast (the conversion's last call) waits out the rest of the
// 100 ms instead, so that it is never dropped.
#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

typedef void(__stdcall* CovInfoCallBackProc)(void* user, int current, int total);

namespace calverin {

class ProgressGate {
public:
    static constexpr std::chrono::milliseconds kMinInterval{100};

    void Set(void* user, CovInfoCallBackProc callback);
    // Converter thread only.
    void Report(int current, int total);
    void ReportLast(int current, int total);

private:
    using Clock = std::chrono::steady_clock;
    void Call(int current, int total);

    std::mutex lock_;
    std::condition_variable idle_;
    void* user_ = nullptr;
    CovInfoCallBackProc callback_ = nullptr;
    bool running_ = false;        // a call is in the callback
    DWORD runningThread_ = 0;     // on this thread

    // Converter thread only.
    bool called_ = false;
    Clock::time_point lastCall_;
};

}  // namespace calverin
