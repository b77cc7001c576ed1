#include "ChannelSync.h"

#include <gtest/gtest.h>

namespace {
struct FakeChannel : ChannelSync {
    bool master = false, slave = false;
    uint64_t masterTime = 0, current = 0;
    int timeCalls = 0;
    void SetMaster(bool m) override { master = m; }
    void SetSlave(bool s) override { slave = s; }
    void SetMasterTime(uint64_t t) override { masterTime = t; ++timeCalls; }
    uint64_t CurrentTimestamp() override { return current; }
};

struct Group {
    FakeChannel fake[kChannelCount];
    ChannelSync* players[kChannelCount] = {};
    ChannelTable table;
    void Open(int k, uint64_t start) {
        players[k] = &fake[k];
        table.Opened(k, start);
    }
};
}  // namespace

TEST(SlaveToSyncChannel, PlayMakesEveryOpenChannelASlaveAtTheMastersTime) {
    Group g;
    g.Open(0, 1000000);
    g.Open(1, 2000000);
    g.Open(2, 3000000);
    g.fake[0].current = 4500000;
    g.table.SetPlaying(1, true);   // channel 2 is open but not playing
    SlaveToSyncChannel(g.table, g.players, true);
    EXPECT_TRUE(g.fake[0].master);
    EXPECT_FALSE(g.fake[0].slave);
    for (int k : {1, 2}) {
        EXPECT_TRUE(g.fake[k].slave) << k;
        EXPECT_FALSE(g.fake[k].master) << k;
        EXPECT_EQ(g.fake[k].masterTime, 4500000u) << k;
    }
    EXPECT_FALSE(g.fake[3].slave);   // empty slot untouched
}

TEST(SlaveToSyncChannel, ChangeSlavesOnlyThePlayingChannels) {
    Group g;
    g.Open(0, 1000000);
    g.Open(1, 7000000);
    g.Open(3, 6000000);
    g.table.SetPlaying(0, true);
    g.table.SetPlaying(1, true);
    g.table.SetPlaying(3, true);
    g.fake[3].current = 9000000;
    g.fake[0].master = true;
    ASSERT_EQ(g.table.Ended(0), 3);
    SlaveToSyncChannel(g.table, g.players, false);
    EXPECT_TRUE(g.fake[3].master);
    EXPECT_TRUE(g.fake[1].slave);
    EXPECT_EQ(g.fake[1].masterTime, 9000000u);
    EXPECT_FALSE(g.fake[0].slave);   // ended: no longer playing, left as it is
    EXPECT_FALSE(g.fake[0].master);  // but it no longer leads: one master only
}

TEST(PassMasterTime, ReachesOtherOpenChannelsOnlyWhenThereAreSome) {
    Group g;
    g.Open(2, 1000000);
    PassMasterTime(g.table, g.players, 5);
    EXPECT_EQ(g.fake[2].timeCalls, 0);   // alone: nothing to pass
    g.Open(0, 2000000);
    ASSERT_EQ(g.table.sync, 2);
    PassMasterTime(g.table, g.players, 77);
    EXPECT_EQ(g.fake[0].masterTime, 77u);
    EXPECT_EQ(g.fake[2].timeCalls, 0);   // the master itself is not told
    g.table.Closed(0);
    PassMasterTime(g.table, g.players, 99);
    EXPECT_EQ(g.fake[0].masterTime, 77u);   // a closed slot is not told
}
