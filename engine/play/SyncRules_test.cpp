#include "SyncRules.h"

#include <gtest/gtest.h>

static const uint64_t kMaster = 100000000;   // 100 s

// A slave shows a picture once the master's clock has reached it, however
// far ahead its own clock would have it, and leaves its own clock alone.
TEST(ForwardDue, ASlaveShowsEachPictureWhenTheMastersClockReachesIt) {
    struct Case { int64_t offsetMs; bool due; uint32_t waitMs; } cases[] = {
        {-120, true, 0}, {-1, true, 0}, {0, true, 0},
        {1, false, 1}, {30, false, 30}, {39, false, 39}, {7000, false, 5000},
    };
    for (const Case& c : cases) {
        PaceClock clock{500, 70};
        uint64_t next = uint64_t(int64_t(kMaster) + c.offsetMs * 1000);
        EXPECT_EQ(ForwardDue(&clock, 40, true, next, kMaster, false, 900), c.due) << c.offsetMs;
        EXPECT_EQ(SlaveWaitMs(next, kMaster), c.waitMs) << c.offsetMs;
        EXPECT_EQ(clock.tick, 500u);
        EXPECT_EQ(clock.credit, 70u);
    }
}

namespace {

// A channel that plays forward at 25 pictures a second, passes every 2 ms
// and shows a picture whenever ForwardDue says so; the master's clock runs
// `behindMs` ahead of the slave's pictures (`next` moves on when shown).
struct ForwardChannel {
    PaceClock clock;
    uint64_t next = kMaster;
    uint32_t now = 1000;
    bool slave = true;
    // Pictures shown during `ms`.
    int Play(uint32_t ms, uint32_t behindMs, bool promoted = false) {
        int shown = 0;
        for (uint32_t end = now + ms; now < end; now += 2) {
            uint64_t master = next + uint64_t(behindMs) * 1000;
            if (ForwardDue(&clock, 40, slave, next, master, promoted, now)) {
                next += 40000;
                ++shown;
            }
            promoted = false;
        }
        return shown;
    }
};

}  // namespace

// A slave shows its pictures when the master's clock reaches them; made
// master, it paces by its own clock from then on: one picture an interval,
// not a burst to work off what it ran behind as a slave.
TEST(ForwardDue, ASlaveMadeMasterPlaysOnAtItsPaceWithoutABurst) {
    for (uint32_t behindMs : {0u, 30u, 120u}) {
        SCOPED_TRACE(testing::Message() << "slave " << behindMs << " ms behind the master's clock");
        ForwardChannel c;
        c.clock.tick = c.now;
        // Shown whenever due: every pass while behind the master's clock.
        int asSlave = c.Play(2000, behindMs);
        EXPECT_GE(asSlave, 50);
        c.slave = false;
        int first = c.Play(200, 0, true);
        EXPECT_GE(first, 4);
        EXPECT_LE(first, 6) << "a burst on taking the lead";
        EXPECT_NEAR(c.Play(1000, 0), 25, 1);
    }
}

TEST(MasterClock, MovesOnAtThePlaySpeedForOneStepAtMost) {
    struct Case { uint64_t stepUs; uint32_t elapsedMs, recordingMs, wallMs; uint64_t clock; } cases[] = {
        {40000, 0, 40, 40, kMaster},
        {40000, 10, 40, 40, kMaster + 10000},
        {40000, 40, 40, 40, kMaster + 40000},
        {40000, 300, 40, 40, kMaster + 40000},       // a master that stalls: one step, no more
        {1000000, 5, 1000, 15, kMaster + 333333},    // I-frames a second apart at rate 8
        {40000, 20, 40, 80, kMaster + 10000},        // slow motion
        {0, 20, 40, 40, kMaster},                    // no step known
        {40000, 20, 40, 0, kMaster},                 // no speed
        {40000, 20, 40, 0xFFFFFFF0u, kMaster},       // a wrapped interval: no speed either
    };
    for (const Case& c : cases)
        EXPECT_EQ(MasterClock(kMaster, c.stepUs, c.elapsedMs, c.recordingMs, c.wallMs), c.clock)
            << c.stepUs << " " << c.elapsedMs << " " << c.recordingMs << "/" << c.wallMs;
}

TEST(SyncSlaveReverse, FarBehindRestartsAheadSetsCredit) {
    PaceClock clock{500, 40};
    SyncSlaveReverse(&clock, kMaster - 625000, kMaster, 900);
    EXPECT_EQ(clock.tick, 500u);                 // at the threshold: nothing
    SyncSlaveReverse(&clock, kMaster - 626000, kMaster, 900);
    EXPECT_EQ(clock.tick, 900u);
    EXPECT_EQ(clock.credit, 40u);                // credit untouched
    SyncSlaveReverse(&clock, kMaster + 300000, kMaster, 950);
    EXPECT_EQ(clock.tick, 950u);
    EXPECT_EQ(clock.credit, 300u);               // set, not added
}

TEST(StepFrameCount, SlavesCatchUpOrWait) {
    struct Case { bool slave; int64_t offsetMs; int frames; } cases[] = {
        {false, 5000, 1}, {false, -5000, 1},
        {true, -250, 2}, {true, -200, 1}, {true, -150, 1}, {true, 0, 1},
        {true, 150, 1}, {true, 199, 1}, {true, 200, 0}, {true, 5000, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StepFrameCount(c.slave, uint64_t(int64_t(kMaster) + c.offsetMs * 1000), kMaster), c.frames)
            << c.slave << " " << c.offsetMs;
}

TEST(SyncChannelAfterOpen, EarliestStartTiesKeepTheNewcomerOrTheLowest) {
    const uint64_t s10 = 10000000, s5 = 5000000;
    bool open[4] = {};
    uint64_t start[4] = {kNoStart, kNoStart, kNoStart, kNoStart};
    // Order 0, 1, 2 with starts 10 s, 5 s, 5 s: channel 2 (a tie keeps the one just opened).
    open[0] = true; start[0] = s10;
    EXPECT_EQ(SyncChannelAfterOpen(0, open, start), 0);
    open[1] = true; start[1] = s5;
    EXPECT_EQ(SyncChannelAfterOpen(1, open, start), 1);
    open[2] = true; start[2] = s5;
    EXPECT_EQ(SyncChannelAfterOpen(2, open, start), 2);
    // Order 2, 1, 0: after the last open, channel 1.
    EXPECT_EQ(SyncChannelAfterOpen(0, open, start), 1);
    // A closed slot's start no longer counts.
    open[1] = false;
    EXPECT_EQ(SyncChannelAfterOpen(0, open, start), 2);
}

TEST(SyncChannelAfterEnd, MasterHandsOverSlaveTakesTheRole) {
    const uint64_t start[4] = {1000000, 7000000, 2000000, 6000000};
    bool playing[4] = {false, true, false, true};
    // The master (0) ended while 1 (7 s) and 3 (6 s) play: 3 takes over.
    EXPECT_EQ(SyncChannelAfterEnd(0, 0, playing, start), 3);
    // A slave ended: it becomes the sync channel.
    EXPECT_EQ(SyncChannelAfterEnd(1, 3, playing, start), 1);
    // The master ended and nobody else plays: it stays.
    bool none[4] = {};
    EXPECT_EQ(SyncChannelAfterEnd(2, 2, none, start), 2);
}
