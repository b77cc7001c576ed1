#include "PlayDecisions.h"

#include <gtest/gtest.h>

TEST(ForwardReadAhead, IFramesOnlyFromRateFourOnRecorderFiles) {
    struct Case { bool camera; int rate, queued; ReadAhead what; } cases[] = {
        {false, 0, 9, ReadAhead::kRefill}, {false, 0, 10, ReadAhead::kNothing},
        {false, 3, 0, ReadAhead::kRefill}, {false, -8, 5, ReadAhead::kRefill},
        {false, 4, 0, ReadAhead::kNextIFrame}, {false, 8, 1, ReadAhead::kNothing},
        {true, 8, 0, ReadAhead::kRefill}, {true, 5, 12, ReadAhead::kNothing},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ForwardReadAhead(c.camera, c.rate, c.queued), c.what)
            << c.camera << " " << c.rate << " " << c.queued;
}

TEST(ForwardEndCheck, NeedsAnEmptyQueueAndAnExhaustedReader) {
    int counter = 0;
    for (int pass = 0; pass < 3; ++pass) EXPECT_FALSE(ForwardEndCheck(&counter, true, true, 0));
    // Audio-only packets left the video queue empty: not the end.
    EXPECT_FALSE(ForwardEndCheck(&counter, true, false, 0));
    EXPECT_FALSE(ForwardEndCheck(&counter, false, true, 0));
    EXPECT_FALSE(ForwardEndCheck(&counter, true, true, 4));   // I-frame play ends elsewhere
    EXPECT_TRUE(ForwardEndCheck(&counter, true, true, 0));
    // It then rests for 63 passes.
    int quiet = 0;
    while (!ForwardEndCheck(&counter, true, true, 0)) ++quiet;
    EXPECT_EQ(quiet, 63);
}

TEST(EndLatch, OncePerEnd) {
    EndLatch latch;
    EXPECT_TRUE(latch.Take());
    for (int pass = 0; pass < 20; ++pass) EXPECT_FALSE(latch.Take());  // fast play retries every 100 ms
    latch.Rearm();                                                      // a packet was read again
    EXPECT_TRUE(latch.Take());
}
