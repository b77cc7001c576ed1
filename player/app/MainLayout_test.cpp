#include "app/MainLayout.h"
#include "app/ScreenLayout.h"

#include <gtest/gtest.h>

TEST(MainLayout, ColumnsAndPanelsForCommonScreens)
{
    struct Case {
        int W, H;
        int left, right;
        PanelRect playback, map, scope, legend, fileList, gps;
    } cases[] = {
        // 1024 wide: left 209, right 235, page at 211, 576 wide. The GPS
        // panel takes the 224 pixels its controls need, the map the rest.
        {1024, 700, 209, 235, {211, 0, 576, 588}, {789, 0, 235, 474}, {211, 588, 576, 95}, {211, 683, 576, 17},
         {-11, 128, 220, 460}, {789, 476, 235, 224}},
        // Where 16% of the height is enough, the GPS panel starts under the
        // 84% line.
        {1280, 1500, 261, 294, {263, 0, 721, 1260}, {986, 0, 294, 1260}, {263, 1260, 721, 223}, {263, 1483, 721, 17},
         {-11, 128, 272, 1132}, {986, 1262, 294, 238}},
    };
    for (const Case& c : cases) {
        MainLayout m = ComputeMainLayout(c.W, c.H);
        EXPECT_EQ(m.left, c.left);
        EXPECT_EQ(m.right, c.right);
        auto same = [](const PanelRect& a, const PanelRect& b) {
            return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
        };
        EXPECT_TRUE(same(m.playback, c.playback)) << c.W;
        EXPECT_TRUE(same(m.map, c.map)) << c.W;
        EXPECT_TRUE(same(m.scope, c.scope)) << c.W;
        EXPECT_TRUE(same(m.legend, c.legend)) << c.W;
        EXPECT_TRUE(same(m.fileList, c.fileList)) << c.W;
        EXPECT_TRUE(same(m.gps, c.gps)) << c.W;
        // The three middle panels and the right column meet without a gap;
        // the left column's panels follow each other without overlapping.
        EXPECT_EQ(m.playback.x + m.playback.w + 2, m.map.x);
        EXPECT_EQ(m.scope.y + m.scope.h, m.legend.y);
        EXPECT_EQ(m.map.y + m.map.h + 2, m.gps.y);
        EXPECT_EQ(m.gps.y + m.gps.h, c.H);
        EXPECT_LE(m.search.y + m.search.h, m.toolButtons[0].y);
        EXPECT_LE(m.toolButtons[0].y + m.toolButtons[0].h, m.fileList.y);
    }
}

TEST(MainLayout, ToolButtonsSitInOneRowUnderTheSearchPanel)
{
    MainLayout m = ComputeMainLayout(1024, 700);
    const int xs[6] = {20, 49, 78, 107, 136, 165};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(m.toolButtons[i].x, xs[i]);
        EXPECT_EQ(m.toolButtons[i].y, kSearchPanelHeight + 2);
        EXPECT_EQ(m.toolButtons[i].w, 24);
    }
    EXPECT_EQ(ToolButtonY(90, 110), 88);
    EXPECT_EQ(ToolButtonY(0, 25), 0);  // rounds toward zero
    EXPECT_EQ(m.listColumns[4], 8 * 209 / 100);
}

TEST(MainLayout, TypeAndSizeColumnsTakeTheRoomLeft)
{
    struct Case {
        int W, type, size;
    } cases[] = {
        {1024, 16, 18},   // no room left: 8% and 9% of the 209-pixel column
        {1280, 20, 23},
        {1920, 93, 63},   // 389 - 211 - 22 = 156 left: 3/5 and 2/5
    };
    for (const Case& c : cases) {
        MainLayout m = ComputeMainLayout(c.W, 700);
        EXPECT_EQ(m.listColumns[4], c.type) << c.W;
        EXPECT_EQ(m.listColumns[5], c.size) << c.W;
    }
}

TEST(MainLayout, WindowsVersionCodes)
{
    struct Case {
        unsigned major, minor;
        int code;
    } cases[] = {{5, 0, 1}, {5, 1, 2}, {5, 2, 3}, {6, 0, 4}, {6, 1, 5}, {6, 2, 2}, {10, 0, 2}, {4, 0, 2}};
    for (const Case& c : cases)
        EXPECT_EQ(WindowsVersionCode(c.major, c.minor), c.code) << c.major << "." << c.minor;
}

TEST(MainLayout, TheLeftColumnWidensForTheRecordingList)
{
    // A list that wants 373 pixels for all its columns, 235 for the
    // channel, date and times.
    struct Case {
        int W;
        ListWidths list;
        int left;
    } cases[] = {
        {1024, {373, 235}, 235},  // all would take more than 28% (286)
        {1280, {373, 235}, 261},  // 20% and 5 already hold the times
        {1366, {373, 235}, 373},  // 28% is 382: all columns
        {1920, {373, 235}, 389},  // 20% and 5 hold them all
        {1366, {}, 278},          // nothing known: 20% and 5
    };
    for (const Case& c : cases) {
        const MainLayout m = ComputeMainLayout(c.W, 700, c.list);
        EXPECT_EQ(m.left, c.left) << c.W;
        EXPECT_EQ(m.search.w, c.left) << c.W;
        EXPECT_EQ(m.fileList.w, c.left + 11) << c.W;
        EXPECT_EQ(m.playback.x, c.left + 2) << c.W;
        EXPECT_EQ(m.playback.x + m.playback.w + 2, m.map.x) << c.W;
    }
    // The page grown over the map's or the side panels' places starts
    // beside the widened column too.
    const RECT client = {0, 0, 1366, 740};
    for (bool sidePanelsHidden : {false, true}) {
        ScreenModes modes;
        modes.sidePanelsHidden = sidePanelsHidden;
        modes.mapShown = false;
        const ScreenLayout s = ComputeScreenLayout(modes, 1366, client, client, 2, {373, 235});
        EXPECT_EQ(s.page.left, 1366 * 20 / 100 + 7 + !sidePanelsHidden + (373 - 278)) << sidePanelsHidden;
        EXPECT_GT(s.page.right, 1366 - 10) << sidePanelsHidden;
        EXPECT_EQ(ComputeScreenLayout(modes, 1366, client, client, 2).page.left, 1366 * 20 / 100 + 7 + !sidePanelsHidden)
            << sidePanelsHidden;
    }
}
