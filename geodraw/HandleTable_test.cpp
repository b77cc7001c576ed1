#include "HandleTable.h"

#include <string>

#include <gtest/gtest.h>

using namespace geodraw;

TEST(HandleTable, IdsAreNeverReused) {
    HandleCounter counter;
    HandleTable<std::string> table(counter);
    EXPECT_EQ(table.Insert("a"), 1);
    EXPECT_EQ(table.Insert("b"), 2);
    EXPECT_EQ(table.Insert("c"), 3);
    EXPECT_TRUE(table.Erase(2));
    EXPECT_FALSE(table.Erase(2));
    EXPECT_EQ(table.Find(2), nullptr);
    EXPECT_EQ(table.Insert("d"), 4);   // not 2
    EXPECT_EQ(table.Find(2), nullptr);
    ASSERT_NE(table.Find(4), nullptr);
    EXPECT_EQ(*table.Find(4), "d");
    EXPECT_EQ(table.Size(), 3u);
}

TEST(HandleTable, ZeroUnknownAndOtherTablesIdsFindNothing) {
    HandleCounter counter;
    HandleTable<int> maps(counter), tracks(counter);
    intptr_t map = maps.Insert(10), track = tracks.Insert(20);
    EXPECT_NE(map, track);
    EXPECT_EQ(maps.Find(track), nullptr);
    EXPECT_EQ(tracks.Find(map), nullptr);
    EXPECT_EQ(maps.Find(0), nullptr);
    EXPECT_EQ(maps.Find(-1), nullptr);
    EXPECT_EQ(maps.Find(987654), nullptr);
    EXPECT_EQ(*maps.Find(map), 10);
}

TEST(HandleTable, NoIdsBeyondTheIntRange) {
    HandleCounter counter(INT32_MAX);
    HandleTable<int> table(counter);
    EXPECT_EQ(table.Insert(1), INT32_MAX);
    EXPECT_EQ(table.Insert(2), 0);
    EXPECT_EQ(table.Insert(3), 0);
    EXPECT_EQ(table.Size(), 1u);
}
