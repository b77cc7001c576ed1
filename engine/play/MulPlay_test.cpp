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

TEST(ChannelTable, TheGroupsTimeStartsAtItsEarliestOpenChannel) {
    ChannelTable t;
    EXPECT_EQ(t.GroupStart(), kNoStart);
    t.Opened(0, 30 * kSec);
    t.Opened(2, 50 * kSec);
    EXPECT_EQ(t.GroupStart(), 30 * kSec);
    t.Opened(1, 10 * kSec);
    EXPECT_EQ(t.GroupStart(), 10 * kSec);
    t.Closed(1);   // its start stays in the table, but no longer counts
    EXPECT_EQ(t.GroupStart(), 30 * kSec);
}

// A group from 100 s: one channel from its start to 160 s, one that
// started 20 s late, one cut short at 120 s.
TEST(ChannelSeekMs, EveryChannelAtTheSameMomentOfTheGroup) {
    const uint64_t g = 100 * kSec;
    const struct {
        int groupMs;
        uint64_t first, last;
        bool playing;
        int want;
    } cases[] = {
        {0, g, g + 60 * kSec, true, 0},
        {45000, g, g + 60 * kSec, true, 45000},
        {45000, g + 20 * kSec, g + 50 * kSec, true, 25000},    // late: its own 25 s
        {10000, g + 20 * kSec, g + 50 * kSec, true, 0},        // before its start: its first picture
        {45000, g, g + 20 * kSec, true, 20000},                // past its end: to its end
        {45000, g, g + 20 * kSec, false, -1},                  // ended there already: stays
        {19999, g, g + 20 * kSec, false, 19999},               // back inside an ended one
        {3000, g + 1500, g + 60 * kSec, true, 2998},           // a first I-frame 1.5 ms late
        {-500, g, g + 60 * kSec, true, 0},
        {3600000, g, g + 3601 * kSec, true, 3600000},          // an hour: no 32-bit overflow
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChannelSeekMs(c.groupMs, g, c.first, c.last, c.playing), c.want) << c.groupMs << " " << c.first;
}
