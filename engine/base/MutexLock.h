// A re-entrant lock over a Win32 critical section, and its scoped holder.
// Each lock in the engine names the one thing it guards where it is declared.
#pragma once

#include <windows.h>

class CMutexLock {
public:
    CMutexLock() { InitializeCriticalSection(&section_); }
    virtual ~CMutexLock() { DeleteCriticalSection(&section_); }
    CMutexLock(const CMutexLock&) = delete;
    CMutexLock& operator=(const CMutexLock&) = delete;

    void Lock() { EnterCriticalSection(&section_); }
    void Unlock() { LeaveCriticalSection(&section_); }

private:
    CRITICAL_SECTION section_;
};

// Holds a lock from construction to destruction; an early Unlock leaves the
// section and forgets the lock, so the end of the scope does nothing more.
class CAutoLock {
public:
    explicit CAutoLock(CMutexLock* lock) : lock_(lock) {
        if (lock_) lock_->Lock();
    }
    explicit CAutoLock(CMutexLock& lock) : CAutoLock(&lock) {}
    virtual ~CAutoLock() { Unlock(); }
    CAutoLock(const CAutoLock&) = delete;
    CAutoLock& operator=(const CAutoLock&) = delete;

    void Unlock() {
        if (lock_) lock_->Unlock();
        lock_ = nullptr;
    }

private:
    CMutexLock* lock_;
};
