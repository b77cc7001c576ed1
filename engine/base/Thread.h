// A worker thread with a stop event.
//
// The worker learns of a stop by testing the stop event (`StopRequested`,
// or waiting on `StopEvent()` instead of sleeping). Stop never terminates a
// thread: a terminated thread can die holding a lock or the heap and hang
// the process later. Instead every worker must look at its stop event at
// least every few tens of milliseconds, which is what makes Stop's wait end.
#pragma once

#include <windows.h>
#include <stdint.h>

class CThread {
public:
    typedef int (*Routine)(void* argument);

    enum StopResult {
        kNotRunning = 0,   // no thread was running
        kStopped = 1,      // the thread has ended and is cleaned up
        kStopPending = 2,  // stop is signalled; the thread has not ended yet
                           // (the time-out ran out, or Stop was called from
                           // the thread itself); call Stop again to wait
    };

    CThread();
    virtual ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    // 1 when a thread was created; 0 when one is already running or none
    // can be created. Runs the routine with its argument when one is given,
    // else the virtual Run.
    int Start(Routine routine = nullptr, void* argument = nullptr);

    // Signals the stop event and waits up to `timeoutMs` (INFINITE allowed)
    // for the thread to end.
    StopResult Stop(DWORD timeoutMs = INFINITE);

    bool IsRunning() const { return thread_ != nullptr; }
    bool StopRequested() const { return WaitForSingleObject(stopEvent_, 0) == WAIT_OBJECT_0; }
    // Waits up to `ms` for a stop request; true when one came.
    bool WaitForStop(DWORD ms) const { return WaitForSingleObject(stopEvent_, ms) == WAIT_OBJECT_0; }
    HANDLE StopEvent() const { return stopEvent_; }
    uint32_t ThreadId() const { return threadId_; }

protected:
    virtual int Run() { return 0; }

private:
    static DWORD WINAPI Entry(void* self);
    void Release();

    HANDLE thread_ = nullptr;
    uint32_t threadId_ = 0;
    HANDLE stopEvent_;
    Routine routine_ = nullptr;
    void* argument_ = nullptr;
};
