#include "FramePacing.h"

#include <gtest/gtest.h>

TEST(IntervalMs, RoundsFromSixTenthsAndTreatsBackwardsAsNominal) {
    struct Case { uint64_t earlier, later; uint32_t ms; } cases[] = {
        {0, 40000, 40},
        {1000000, 1040599, 40},
        {1000000, 1040600, 41},
        {500, 500, 0},
        {2000000, 1000000, 40},            // backwards
        {0, 5000000000ull, 705032},        // only the low 32 bits of the distance count
    };
    for (const Case& c : cases) EXPECT_EQ(IntervalMs(c.earlier, c.later), c.ms) << c.later;
}

TEST(ForwardIntervalMs, FastAndSlowStepsByFileKind) {
    struct Case { uint32_t base; int rate; bool camera; uint32_t ms; } cases[] = {
        {40, 0, false, 40}, {40, 1, false, 31}, {40, 2, false, 22}, {40, 3, false, 13},
        {40, 4, false, 10}, {40, 5, false, 5}, {40, 6, false, 2}, {40, 8, false, 0},
        {40, 1, true, 32}, {40, 4, true, 8}, {40, 5, true, 5}, {40, 6, true, 2},
        {40, -1, false, 80}, {40, -3, false, 240}, {40, -8, false, 640}, {40, -8, true, 640},
        {20, 3, false, 0xFFFFFFFFu - 6},   // 20 - 27 wraps: read as "decode now"
        {40, 40, false, 0},                // hostile rates stay defined
        {40, INT32_MIN, false, 0xFFFFFFFFu},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ForwardIntervalMs(c.base, c.rate, c.camera), c.ms) << c.rate << " camera " << c.camera;
    EXPECT_GT(ForwardIntervalMs(20, 3, false), kResyncIntervalMs);
}

TEST(ReverseIntervalMs, SlowRatesDivide) {
    EXPECT_EQ(ReverseIntervalMs(1000, -2), 250u);
    EXPECT_EQ(ReverseIntervalMs(1000, -5), 100u);
    EXPECT_EQ(ReverseIntervalMs(1000, 0), 1000u);
    EXPECT_EQ(ReverseIntervalMs(1000, 3), 1000u);
}

TEST(IsDue, WaitsTheIntervalAndRestartsOnWrap) {
    uint32_t tick = 1000;
    EXPECT_FALSE(IsDue(&tick, 40, 1039));
    EXPECT_TRUE(IsDue(&tick, 40, 1040));
    EXPECT_EQ(tick, 1000u);
    EXPECT_FALSE(IsDue(&tick, 40, 5));    // the counter wrapped
    EXPECT_EQ(tick, 5u);
    EXPECT_TRUE(IsDue(&tick, 40, 45));
}

// The wait before Pace says "now" is what is left of the interval less the
// credit; a player resting exactly that long wakes up on time.
TEST(PaceWaitMs, IsWhatIsLeftUntilPaceSaysNow) {
    struct Case { uint32_t tick, credit, interval, now, wait; } cases[] = {
        {1000, 0, 40, 1000, 40}, {1000, 0, 40, 1025, 15}, {1000, 0, 40, 1040, 0}, {1000, 0, 40, 1100, 0},
        {1000, 15, 40, 1010, 15},      // credit shortens the wait
        {1000, 60, 40, 1000, 0},       // a whole interval of credit: at once
        {1000, 0, 6000, 1000, 0},      // above the resync limit: at once
        {1000, 0, 40, 5, 40},          // the counter wrapped: a whole interval
    };
    for (const Case& c : cases) {
        PaceClock clock{c.tick, c.credit};
        EXPECT_EQ(PaceWaitMs(clock, c.interval, c.now), c.wait) << c.tick << " " << c.credit << " " << c.now;
        PaceClock paced = clock;
        if (c.wait > 0 && c.now >= c.tick) {
            EXPECT_EQ(Pace(&paced, c.interval, c.now + c.wait - 1), 0);
            EXPECT_EQ(Pace(&paced, c.interval, c.now + c.wait), 1);
        } else if (c.now >= c.tick) {
            EXPECT_EQ(Pace(&paced, c.interval, c.now), 1);
        }
    }
}

TEST(Pace, DecodesOnTimeAndCarriesLatenessForward) {
    PaceClock clock;
    clock.tick = 1000;
    EXPECT_EQ(Pace(&clock, 40, 1020), 0);
    EXPECT_EQ(Pace(&clock, 40, 1040), 1);
    EXPECT_EQ(clock.tick, 1040u);
    EXPECT_EQ(clock.credit, 0u);
    // 100 ms late: the 60 ms over the interval stay as credit...
    EXPECT_EQ(Pace(&clock, 40, 1140), 1);
    EXPECT_EQ(clock.credit, 60u);
    // ...so the next frame comes at once; then the player waits again.
    EXPECT_EQ(Pace(&clock, 40, 1140), 1);
    EXPECT_EQ(clock.credit, 20u);
    EXPECT_EQ(Pace(&clock, 40, 1140), 0);
    // The 20 ms left over shorten the next wait: due after 20 ms, not 40.
    EXPECT_EQ(Pace(&clock, 40, 1159), 0);
    EXPECT_EQ(Pace(&clock, 40, 1160), 1);
    EXPECT_EQ(clock.credit, 0u);
}

TEST(Pace, SmallLatenessNeverPilesUpIntoABackToBackFrame) {
    // A player that wakes 7 ms late for every frame keeps showing each
    // frame for about an interval, never one right after another.
    PaceClock clock;
    clock.tick = 0;
    uint32_t now = 0, shown = 0;
    for (int frame = 0; frame < 200; ++frame) {
        uint32_t before = now;
        while (!Pace(&clock, 40, now)) now += 10;
        if (frame > 0) {
            EXPECT_GE(now - before, 30u) << frame;
        }
        now += 7;
        ++shown;
    }
    EXPECT_EQ(shown, 200u);
}

TEST(Pace, HugeIntervalDecodesAndResetsTheClock) {
    PaceClock clock;
    clock.tick = 100;
    clock.credit = 70;
    EXPECT_EQ(Pace(&clock, ForwardIntervalMs(20, 3, false), 150), 1);
    EXPECT_EQ(clock.tick, 150u);
    EXPECT_EQ(clock.credit, 0u);
}
