#include "FileListLayout.h"
#include "SearchPanelLayout.h"

#include <gtest/gtest.h>

namespace {
bool Same(const PanelRect& a, const PanelRect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}
}  // namespace

TEST(FileListLayout, ControlsForA214By281Dialog)
{
    FileListLayout l = ComputeFileListLayout(214, 281);
    EXPECT_TRUE(Same(l.list, {11, 46, 203, 200}));
    EXPECT_EQ(l.rowsPerPage, 12);
    // Buttons at y (281 - 35) + 562 / 100 = 251, from x 214 / 7 = 30.
    EXPECT_TRUE(Same(l.pageButtons[0], {30, 251, 35, 19}));
    EXPECT_TRUE(Same(l.pageButtons[1], {65, 251, 47, 19}));
    EXPECT_TRUE(Same(l.pageButtons[2], {112, 251, 47, 19}));
    EXPECT_TRUE(Same(l.pageButtons[3], {159, 251, 35, 19}));
    // The page row is centred: x0 = (214 - 128) / 2 = 43.
    EXPECT_TRUE(Same(l.pageRow[0], {43, 20, 25, 26}));
    EXPECT_TRUE(Same(l.pageRow[1], {68, 20, 13, 26}));
    EXPECT_TRUE(Same(l.pageRow[4], {146, 20, 25, 26}));
    EXPECT_TRUE(Same(l.leftBand, {0, 20, 43, 28}));
    EXPECT_TRUE(Same(l.rightBand, {171, 20, 43, 28}));
    int widths[6];
    FileListColumnWidths(214, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 6), (std::vector<int>{21, 38, 38, 38, 27, 25}));
}

TEST(SearchPanelLayout, ControlsForA261WidePanel)
{
    // R = 261 - 10 = 251, C = 153: the input column starts at 98.
    SearchPanelLayout l = ComputeSearchPanelLayout(261, 0);
    EXPECT_TRUE(Same(l.languageLabel, {3, 0, 70, 20}));
    EXPECT_TRUE(Same(l.languageList, {98, 0, 153, 20}));
    EXPECT_TRUE(Same(l.pathLabel, {3, 25, 95, 22}));
    EXPECT_TRUE(Same(l.pathEdit, {98, 25, 131, 22}));
    EXPECT_TRUE(Same(l.browse, {229, 25, 22, 22}));
    EXPECT_TRUE(Same(l.typeLabel, {3, 50, 95, 19}));
    EXPECT_TRUE(Same(l.typeList, {98, 50, 153, 19}));
    EXPECT_TRUE(Same(l.datePicker, {72, 75, 110, 20}));
    EXPECT_TRUE(Same(l.prevMonth, {3, 78, 37, 15}));
    EXPECT_TRUE(Same(l.nextMonth, {214, 78, 37, 15}));
    // The lists open with room for three items.
    SearchPanelLayout tall = ComputeSearchPanelLayout(261, 80);
    EXPECT_EQ(tall.languageList.h, 80);
    EXPECT_EQ(tall.typeList.h, 80);
    EXPECT_EQ(tall.pathEdit.h, 22);
}
