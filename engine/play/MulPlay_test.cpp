#include "MulPlay.h"

#include <gtest/gtest.h>

static const uint64_t kSec = 1000000;

TEST(ChannelTable, OpeningChoosesTheEarliestStart) {
    ChannelTable t;
    t.Opened(2, 4 * kSec);
    EXPECT_EQ(t.sync, 2);
    EXPECT_EQ(t.OpenCount(), 1);
    t.Opened(0, 9 * kSec);
    EXPECT_EQ(t.sync, 2);
    t.Opened(1, 3 * kSec);
    EXPECT_EQ(t.sync, 1);
    // Closed: its start stays, but an empty slot does not win.
    t.Closed(1);
    t.Opened(3, 8 * kSec);
    EXPECT_EQ(t.sync, 2);
    EXPECT_EQ(t.OpenCount(), 3);
}

TEST(ChannelTable, EndsHandTheMasterOnOnce) {
    ChannelTable t;
    t.Opened(0, 1 * kSec);
    t.Opened(1, 7 * kSec);
    t.Opened(3, 6 * kSec);
    for (int k : {0, 1, 3}) EXPECT_TRUE(t.SetPlaying(k, true));
    ASSERT_EQ(t.sync, 0);
    EXPECT_EQ(t.Ended(0), 3);       // the master ended: 3 starts before 1
    EXPECT_FALSE(t.playing[0]);
    EXPECT_EQ(t.Ended(1), 1);       // a slave ended: it becomes the sync channel
    EXPECT_EQ(t.Choose(3), 0);      // the caller moves it back
    EXPECT_EQ(t.Choose(3), 1);      // the same channel again: no re-slaving
}

// A file so short that its thread ends before its start has returned: the
// end clears the playing mark, which must not be set after it.
TEST(PlayChannel, MarksBeforeTheStartAndTakesTheMarkBackOnFailure) {
    CMutexLock lock;
    ChannelTable t;
    t.Opened(1, 1 * kSec);
    t.Opened(2, 2 * kSec);
    auto endsAtOnce = [&] {
        CAutoLock hold(lock);   // as the play thread reports its end
        t.Ended(2);
        return 0;
    };
    EXPECT_EQ(PlayChannel(lock, t, 2, endsAtOnce), 0);
    EXPECT_FALSE(t.playing[2]) << "an ended channel is still marked playing";
    EXPECT_EQ(PlayChannel(lock, t, 1, [] { return 0; }), 0);
    EXPECT_TRUE(t.playing[1]);
    EXPECT_EQ(PlayChannel(lock, t, 2, [] { return 1; }), 1);   // the thread did not start
    EXPECT_FALSE(t.playing[2]);
    EXPECT_EQ(PlayChannel(lock, t, 3, [] { return 0; }), 1);   // no file
    EXPECT_FALSE(t.playing[3]);
}

TEST(ChannelTable, EmptyAndForeignChannelsAreRefused) {
    ChannelTable t;
    t.Opened(1, kSec);
    for (int channel : {-1, 0, 2, 4, 7}) {
        EXPECT_EQ(t.Choose(channel), -1) << channel;
        // A channel that failed to start is not marked playing.
        EXPECT_FALSE(t.SetPlaying(channel, true)) << channel;
    }
    EXPECT_FALSE(t.playing[0]);
    EXPECT_EQ(t.sync, 1);
    t.Opened(5, kSec);              // outside 0-3: nothing changes
    EXPECT_EQ(t.OpenCount(), 1);
}
