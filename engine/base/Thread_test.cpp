#include "Thread.h"

#include "MutexLock.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// A worker that loops until it is told to stop, as the play loop does.
int LoopUntilStopped(void* arg) {
    CThread* self = *static_cast<CThread**>(arg);
    while (!self->WaitForStop(5)) {
    }
    return 7;
}

struct Counter : CThread {
    std::atomic<int> runs{0};
    int Run() override {
        ++runs;
        while (!WaitForStop(5)) {
        }
        return 3;
    }
};

}  // namespace

TEST(Thread, StopWithoutStartGivesZeroAtOnce) {
    CThread t;
    DWORD before = GetTickCount();
    EXPECT_EQ(t.Stop(INFINITE), CThread::kNotRunning);
    EXPECT_LT(GetTickCount() - before, 1000u);
    EXPECT_FALSE(t.IsRunning());
}

TEST(Thread, SecondStartKeepsTheRunningThread) {
    CThread t;
    CThread* self = &t;
    ASSERT_EQ(t.Start(&LoopUntilStopped, &self), 1);
    uint32_t id = t.ThreadId();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(t.Start(&LoopUntilStopped, &self), 0);
    EXPECT_EQ(t.ThreadId(), id);
    EXPECT_EQ(t.Stop(5000), CThread::kStopped);
    EXPECT_EQ(t.ThreadId(), 0u);
    EXPECT_TRUE(t.StopRequested());  // the stop event stays signalled until the next start
}

TEST(Thread, RestartsAfterAStopAndRunsTheVirtualRun) {
    Counter c;
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(c.Start(), 1);
        Sleep(10);
        EXPECT_FALSE(c.StopRequested());  // Start reset the event
        EXPECT_EQ(c.Stop(5000), CThread::kStopped);
        EXPECT_EQ(c.runs.load(), i);
    }
}

namespace {

struct SlowToNotice {
    CThread* self;
    std::atomic<bool> finished{false};
    CMutexLock* lock;
};

// Holds a lock for a while without looking at the stop event: a stop that
// killed it would leave the lock held for good.
int HoldLockBusy(void* arg) {
    SlowToNotice* s = static_cast<SlowToNotice*>(arg);
    {
        CAutoLock hold(s->lock);
        Sleep(400);
    }
    s->finished = true;
    return 0;
}

int StopMyself(void* arg) {
    CThread* self = *static_cast<CThread**>(arg);
    return self->Stop(INFINITE) == CThread::kStopPending ? 11 : 12;
}

}  // namespace

TEST(Thread, TimedOutStopNeverKillsTheThread) {
    CMutexLock lock;
    CThread t;
    SlowToNotice s{&t, {false}, &lock};
    ASSERT_EQ(t.Start(&HoldLockBusy, &s), 1);
    Sleep(50);
    EXPECT_EQ(t.Stop(20), CThread::kStopPending);
    EXPECT_TRUE(t.IsRunning());
    EXPECT_EQ(t.Stop(5000), CThread::kStopped);
    EXPECT_TRUE(s.finished.load());
    // The lock is free again: another thread can take it.
    CThread other;
    SlowToNotice s2{&other, {false}, &lock};
    ASSERT_EQ(other.Start(&HoldLockBusy, &s2), 1);
    EXPECT_EQ(other.Stop(5000), CThread::kStopped);
    EXPECT_TRUE(s2.finished.load());
}

TEST(Thread, StopFromTheThreadItselfDoesNotDeadlock) {
    CThread t;
    CThread* self = &t;
    ASSERT_EQ(t.Start(&StopMyself, &self), 1);
    EXPECT_EQ(t.Stop(5000), CThread::kStopped);
}

TEST(Thread, DestructorWaitsForTheWorker) {
    std::atomic<bool> running{false}, finished{false};
    {
        struct Worker : CThread {
            std::atomic<bool>* running;
            std::atomic<bool>* done;
            int Run() override {
                *running = true;
                while (!WaitForStop(5)) {
                }
                *done = true;
                return 0;
            }
        } w;
        w.running = &running;
        w.done = &finished;
        ASSERT_EQ(w.Start(), 1);
        // Inside Run before the object goes: a thread that had not reached
        // Run yet would find only the base's Run once the worker's own part
        // is destroyed (which is why a worker stops in its own destructor).
        for (int i = 0; i < 5000 && !running.load(); ++i) Sleep(1);
        ASSERT_TRUE(running.load());
    }
    EXPECT_TRUE(finished.load());
}

namespace {

struct Shared {
    CMutexLock lock;
    long value = 0;
    bool raced = false;
};

int AddUnderLock(void* arg) {
    Shared* s = static_cast<Shared*>(arg);
    for (int i = 0; i < 20000; ++i) {
        CAutoLock outer(s->lock);
        CAutoLock inner(s->lock);  // re-entrant
        long v = s->value;
        if (i % 1000 == 0) Sleep(0);
        s->value = v + 1;
    }
    return 0;
}

}  // namespace

TEST(MutexLock, IsReentrantAndExcludesOtherThreads) {
    Shared s;
    CThread a, b;
    ASSERT_EQ(a.Start(&AddUnderLock, &s), 1);
    ASSERT_EQ(b.Start(&AddUnderLock, &s), 1);
    EXPECT_EQ(a.Stop(20000), CThread::kStopped);
    EXPECT_EQ(b.Stop(20000), CThread::kStopped);
    EXPECT_EQ(s.value, 40000);
}

TEST(MutexLock, EarlyUnlockReleasesOnce) {
    Shared s;
    {
        CAutoLock hold(s.lock);
        hold.Unlock();
        hold.Unlock();  // the lock is forgotten: nothing more happens
    }                   // nor at the end of the scope
    CAutoLock none(nullptr);
    // Had the section been left twice, or not at all, the worker would
    // fail or block here.
    CThread t;
    ASSERT_EQ(t.Start(&AddUnderLock, &s), 1);
    EXPECT_EQ(t.Stop(20000), CThread::kStopped);
    EXPECT_EQ(s.value, 20000);
}
