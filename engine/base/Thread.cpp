#include "Thread.h"

CThread::CThread() : stopEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CThread::~CThread() {
    // The thread uses this object until it returns: wait for it. From the
    // thread itself that cannot be done; the handle is then only closed.
    if (thread_ && GetCurrentThreadId() != threadId_) Stop(INFINITE);
    if (thread_) CloseHandle(thread_);
    if (stopEvent_) CloseHandle(stopEvent_);
}

int CThread::Start(Routine routine, void* argument) {
    if (thread_ || !stopEvent_) return 0;
    routine_ = routine;
    argument_ = argument;
    ResetEvent(stopEvent_);
    DWORD id = 0;
    // Created suspended so that handle and id are stored before the thread
    // runs: a worker that stops itself must see its own id.
    thread_ = CreateThread(nullptr, 0, &CThread::Entry, this, CREATE_SUSPENDED, &id);
    if (!thread_) {
        routine_ = nullptr;
        argument_ = nullptr;
        return 0;
    }
    threadId_ = id;
    ResumeThread(thread_);
    return 1;
}

CThread::StopResult CThread::Stop(DWORD timeoutMs) {
    if (!thread_) return kNotRunning;
    SetEvent(stopEvent_);
    if (GetCurrentThreadId() == threadId_) return kStopPending;
    DWORD waited = WaitForSingleObject(thread_, timeoutMs);
    if (waited != WAIT_OBJECT_0) return kStopPending;
    Release();
    return kStopped;
}

void CThread::Release() {
    CloseHandle(thread_);
    thread_ = nullptr;
    threadId_ = 0;
    routine_ = nullptr;
    argument_ = nullptr;
}

DWORD WINAPI CThread::Entry(void* self) {
    CThread* t = static_cast<CThread*>(self);
    int result = t->routine_ ? t->routine_(t->argument_) : t->Run();
    return DWORD(result);
}
