#include "recordings/FileListLayout.h"
#include "recordings/SearchPanelLayout.h"
#include "vehicle/SidePanelLayout.h"
#include "resource.h"

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

TEST(GpsPanelLayout, ControlsForA441By312Panel)
{
    // X = 107 + 5 * 441 / 100 = 129, Y = 20 + 8 * 312 / 100 = 44.
    GpsPanelLayout g = ComputeGpsPanelLayout(0, 0, 441, 312);
    EXPECT_TRUE(Same(g.mapProvider, {150, 5, 75, 17}));
    EXPECT_TRUE(Same(g.mapButton, {150, 60, 75, 21}));
    EXPECT_TRUE(Same(g.aboutButton, {235, 60, 60, 21}));
    EXPECT_TRUE(Same(g.trackCaption, {129, 26, 60, 13}));
    EXPECT_TRUE(Same(g.radios[0], {129, 44, 13, 13}));
    EXPECT_TRUE(Same(g.radios[3], {213, 44, 13, 13}));
    EXPECT_TRUE(Same(g.colourNames[2], {199, 44, 11, 13}));
    EXPECT_TRUE(Same(g.separator, {129, 63, 115, 1}));
    EXPECT_TRUE(Same(g.latitudeEdit, {57, 43, 50, 14}));
    EXPECT_TRUE(Same(g.fixCaption, {19, 64, 51, 15}));
    // The client's origin moves the combo and the buttons only.
    GpsPanelLayout moved = ComputeGpsPanelLayout(10, 20, 441, 312);
    EXPECT_TRUE(Same(moved.mapButton, {160, 80, 75, 21}));
    EXPECT_TRUE(Same(moved.positionCaption, g.positionCaption));
}

TEST(GpsPanelLayout, GaugeBands)
{
    struct Case {
        int speed, bitmap;
    } cases[] = {{-5, IDB_GAUGE_0},    {0, IDB_GAUGE_0},     {19, IDB_GAUGE_0},    {20, IDB_GAUGE_20},
                 {39, IDB_GAUGE_20},   {40, IDB_GAUGE_40},   {79, IDB_GAUGE_60},   {80, IDB_GAUGE_80},
                 {100, IDB_GAUGE_100}, {139, IDB_GAUGE_120}, {140, IDB_GAUGE_140}, {65535, IDB_GAUGE_140}};
    for (const Case& c : cases)
        EXPECT_EQ(GaugeBitmap(c.speed), c.bitmap) << c.speed;
}

TEST(GpsPanelLayout, ThePageBesideTheMapOrInItsPlace)
{
    // A 1920 x 1040 client: the page starts at 20% + 8 and is 84% high.
    EXPECT_TRUE(Same(PagePlaceForMap(0, 0, 1920, 1040, false), {392, 0, 1920 - 5 - 392, 873}));
    EXPECT_TRUE(Same(PagePlaceForMap(0, 0, 1920, 1040, true), {392, 0, 1483 - 392, 873}));
}

TEST(SidePanelImages, ByLanguage)
{
    struct Case {
        int code;
        GpsPanelImages gps;
        LegendImages legend;
    } cases[] = {
        {1, {IDB_MAP_HIDE_SC, IDB_MAP_SHOW_SC, IDB_ABOUT_SC},
         {IDB_SPEED_LIT_CN, IDB_SPEED_DIM_CN, IDB_ACCEL_DIM_CN, IDB_ACCEL_LIT_CN}},
        {2, {IDB_MAP_HIDE_TC, IDB_MAP_SHOW_TC, IDB_ABOUT_TC},
         {IDB_SPEED_LIT_CN, IDB_SPEED_DIM_CN, IDB_ACCEL_DIM_CN, IDB_ACCEL_LIT_CN}},
        {3, {IDB_MAP_HIDE_EN, IDB_MAP_SHOW_EN, IDB_ABOUT_EN},
         {IDB_SPEED_LIT_EN, IDB_SPEED_DIM_EN, IDB_ACCEL_DIM_EN, IDB_ACCEL_LIT_EN}},
    };
    for (const Case& c : cases) {
        GpsPanelImages g = GpsPanelImagesFor(c.code);
        EXPECT_EQ(g.mapShown, c.gps.mapShown) << c.code;
        EXPECT_EQ(g.mapHidden, c.gps.mapHidden) << c.code;
        EXPECT_EQ(g.about, c.gps.about) << c.code;
        LegendImages l = LegendImagesFor(c.code);
        EXPECT_EQ(l.speedLit, c.legend.speedLit) << c.code;
        EXPECT_EQ(l.speedDim, c.legend.speedDim) << c.code;
        EXPECT_EQ(l.accelDim, c.legend.accelDim) << c.code;
        EXPECT_EQ(l.accelLit, c.legend.accelLit) << c.code;
    }
}

TEST(LegendBarLayout, LegendsAtTheRightAndButtonsByLanguage)
{
    const RECT bar = {0, 0, 1000, 17};
    LegendBarLayout chinese = ComputeLegendBarLayout(bar, 1);
    EXPECT_TRUE(Same(chinese.speedLegend, {871, 0, 115, 17}));
    EXPECT_TRUE(Same(chinese.axisLegends[0], {847, 0, 43, 17}));
    EXPECT_TRUE(Same(chinese.axisLegends[1], {895, 0, 43, 17}));
    EXPECT_TRUE(Same(chinese.axisLegends[2], {943, 0, 43, 17}));
    EXPECT_TRUE(Same(chinese.speedButton, {0, 0, 38, 17}));
    EXPECT_TRUE(Same(chinese.accelButton, {39, 0, 45, 17}));
    EXPECT_EQ(ComputeLegendBarLayout(bar, 2).accelButton.w, 45);
    EXPECT_EQ(ComputeLegendBarLayout(bar, 3).accelButton.w, 58);
}
