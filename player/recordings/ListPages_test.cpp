#include "recordings/ListPages.h"

#include <gtest/gtest.h>

TEST(ListPages, RowsAndRecordsPerPageFromTheClientHeight)
{
    struct Case {
        int clientHeight, rows, records;
    } cases[] = {
        {281, 12, 11},  // a 200-pixel list
        {99, 2, 1},     // 18 pixels: one row of 17.8
        {98, 1, 1},     // below one row: still one record a page
        {64, 1, 1},
        {60, 0, 1},     // the list has no room at all
        {0, -3, 1},     // before the first layout, or minimised
        {-40, -5, 1},
        {1000, 52, 51},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RowsPerPageForHeight(c.clientHeight), c.rows) << c.clientHeight;
        EXPECT_EQ(RecordsPerPage(RowsPerPageForHeight(c.clientHeight)), c.records) << c.clientHeight;
    }
    EXPECT_EQ(RecordsPerPage(0), 1);  // the list's rows before its first layout
}

TEST(ListPages, PageCountsAndFirstIndices)
{
    struct Case {
        size_t count;
        int perPage, pages;
    } cases[] = {
        {0, 11, 1}, {1, 11, 1}, {11, 11, 1}, {12, 11, 2}, {22, 11, 2}, {25, 11, 3},
        {20, 10, 2}, {5, 1, 5}, {5, 0, 5}, {5, -3, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageCount(c.count, c.perPage), c.pages) << c.count << " / " << c.perPage;
    EXPECT_EQ(PageFirstIndex(1, 11), 0u);
    EXPECT_EQ(PageFirstIndex(3, 11), 22u);
    EXPECT_EQ(PageFirstIndex(0, 11), 0u);
    EXPECT_EQ(PageFirstIndex(2, 0), 1u);
    EXPECT_EQ(PageOfIndex(0, 11), 1);
    EXPECT_EQ(PageOfIndex(10, 11), 1);
    EXPECT_EQ(PageOfIndex(11, 11), 2);
    EXPECT_EQ(PageOfIndex(24, 11), 3);
}
