#include "ProgressGate.h"

#include <thread>

namespace calverin {

void ProgressGate::Set(void* user, CovInfoCallBackProc callback) {
    std::unique_lock<std::mutex> hold(lock_);
    user_ = user;
    callback_ = callback;
    DWORD self = GetCurrentThreadId();
    idle_.wait(hold, [&] { return !running_ || runningThread_ == self; });
}

void ProgressGate::Call(int current, int total) {
    CovInfoCallBackProc callback;
    void* user;
    {
        std::lock_guard<std::mutex> hold(lock_);
        callback = callback_;
        user = user_;
        if (!callback) return;
        running_ = true;
        runningThread_ = GetCurrentThreadId();
    }
    callback(user, current, total);
    {
        std::lock_guard<std::mutex> hold(lock_);
        running_ = false;
    }
    idle_.notify_all();
}

void ProgressGate::Report(int current, int total) {
    Clock::time_point now = Clock::now();
    if (called_ && now - lastCall_ < kMinInterval) return;
    called_ = true;
    lastCall_ = now;
    Call(current, total);
}

void ProgressGate::ReportLast(int current, int total) {
    if (called_) {
        Clock::time_point due = lastCall_ + kMinInterval;
        if (Clock::now() < due) std::this_thread::sleep_until(due);
    }
    called_ = true;
    lastCall_ = Clock::now();
    Call(current, total);
}

}  // namespace calverin
