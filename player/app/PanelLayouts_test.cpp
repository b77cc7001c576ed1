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

TEST(FileListLayout, ControlsForA214By261Dialog)
{
    FileListLayout l = ComputeFileListLayout(214, 261);
    // The page row along the top, the list (200 high) under it.
    EXPECT_TRUE(Same(l.list, {11, 26, 203, 200}));
    EXPECT_EQ(l.rowsPerPage, 12);
    // Buttons at y (261 - 35) + 522 / 100 = 231, from x 214 / 7 = 30.
    EXPECT_TRUE(Same(l.pageButtons[0], {30, 231, 35, 19}));
    EXPECT_TRUE(Same(l.pageButtons[1], {65, 231, 47, 19}));
    EXPECT_TRUE(Same(l.pageButtons[2], {112, 231, 47, 19}));
    EXPECT_TRUE(Same(l.pageButtons[3], {159, 231, 35, 19}));
    // The page row is centred: x0 = (214 - 128) / 2 = 43.
    EXPECT_TRUE(Same(l.pageRow[0], {43, 0, 25, 26}));
    EXPECT_TRUE(Same(l.pageRow[1], {68, 0, 13, 26}));
    EXPECT_TRUE(Same(l.pageRow[4], {146, 0, 25, 26}));
    EXPECT_TRUE(Same(l.leftBand, {0, 0, 43, 26}));
    EXPECT_TRUE(Same(l.rightBand, {171, 0, 43, 26}));
    int widths[6];
    FileListColumnWidths(214, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 6), (std::vector<int>{21, 38, 38, 38, 27, 25}));
}

TEST(FileListLayout, TextsWiderThanTheirPlacesWidenThem)
{
    // "Page/Total" 60 wide and the numbers 20: the row grows and stays
    // centred; "PREVIOUS" 48 wide widens its button.
    FileListTextWidths texts = {{20, 20, 60, 20, 25}, {24, 48, 24, 24}};
    FileListLayout l = ComputeFileListLayout(214, 261, texts);
    EXPECT_TRUE(Same(l.pageRow[0], {28, 0, 25, 26}));
    EXPECT_TRUE(Same(l.pageRow[1], {53, 0, 22, 26}));
    EXPECT_TRUE(Same(l.pageRow[2], {75, 0, 62, 26}));
    EXPECT_TRUE(Same(l.pageRow[4], {159, 0, 27, 26}));
    EXPECT_TRUE(Same(l.rightBand, {186, 0, 28, 26}));
    EXPECT_TRUE(Same(l.pageButtons[1], {65, 231, 58, 19}));
    EXPECT_EQ(l.pageButtons[3].x + l.pageButtons[3].w, 30 + 35 + 58 + 47 + 35);
    // Too wide for a seventh of the width on: the row ends at the right
    // edge, never left of the list.
    FileListTextWidths wide = {{}, {40, 48, 30, 30}};
    FileListLayout narrow = ComputeFileListLayout(150, 261, wide);
    EXPECT_EQ(narrow.pageButtons[0].x, 11);
    // Columns: the widest text with the cell margins, the first column's
    // cells with their check box too.
    EXPECT_EQ(ColumnNeed(1, 30, 60), 72);
    EXPECT_EQ(ColumnNeed(0, 24, 6), 38);
    EXPECT_EQ(ColumnNeed(0, 40, 6), 52);  // a header wider than box and digit
}

TEST(FileListLayout, ColumnsFitTheListWhileTheirNeedsDo)
{
    // The main layout's widths at 1366 pixels (date, begin, channel, end
    // in the order of the list's columns: channel first) and the needs of
    // the English texts.
    const int given[6] = {31, 68, 56, 56, 84, 56};
    const int need[6] = {38, 72, 60, 60, 84, 54};
    struct Case {
        int client;
        std::vector<int> widths;
    } cases[] = {
        {400, {38, 72, 60, 60, 84, 56}},  // room: the given widths, raised to the needs
        {368, {38, 72, 60, 60, 84, 54}},  // exactly the needs
        {369, {38, 72, 60, 60, 84, 55}},
        {273, {38, 72, 60, 60, 84, 54}},  // too narrow: the needs, past the edge
    };
    for (const Case& c : cases) {
        int widths[6];
        FitColumnsToList(given, need, c.client, widths);
        EXPECT_EQ(std::vector<int>(widths, widths + 6), c.widths) << c.client;
    }
    // What is taken back comes from the last columns first.
    const int wide[6] = {50, 80, 70, 70, 90, 60};
    int widths[6];
    FitColumnsToList(wide, need, 400, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 6), (std::vector<int>{50, 80, 70, 62, 84, 54}));
    FitColumnsToList(wide, need, 380, widths);
    EXPECT_EQ(std::vector<int>(widths, widths + 6), (std::vector<int>{50, 72, 60, 60, 84, 54}));
}

TEST(SearchPanelLayout, ControlsForA261WidePanel)
{
    // R = 261 - 10 = 251, C = 153: the input column starts at 98.
    SearchPanelLayout l = ComputeSearchPanelLayout(261, 0);
    EXPECT_TRUE(Same(l.languageLabel, {3, 0, 95, 20}));
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
    // A label 100 wide: the input column starts after it; a wider "...".
    SearchPanelLayout labelled = ComputeSearchPanelLayout(261, 0, 100, 18);
    EXPECT_TRUE(Same(labelled.typeLabel, {3, 50, 102, 19}));
    EXPECT_TRUE(Same(labelled.typeList, {105, 50, 146, 19}));
    EXPECT_TRUE(Same(labelled.browse, {225, 25, 26, 22}));
    EXPECT_TRUE(Same(labelled.pathEdit, {105, 25, 120, 22}));
}

namespace {
bool Overlap(const PanelRect& a, const PanelRect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}
}  // namespace

TEST(GpsPanelLayout, EveryControlFitsItsTextAndThePanel)
{
    // Texts as the English and the Chinese tables measure in the panel's
    // font, at the widths of the right column at 1024, 1366 and 1920.
    const GpsTextWidths english = {138, 60, 54, 36, 63, 6, 18, 42, 36, {18, 30, 24, 30}};
    const GpsTextWidths chinese = {42, 30, 30, 30, 63, 12, 24, 42, 48, {12, 12, 12, 12}};
    struct Case {
        int w;
        const GpsTextWidths* texts;
        bool buttonsBeside;
    } cases[] = {
        {229, &english, false}, {229, &chinese, false}, {308, &english, true}, {435, &english, true},
    };
    for (const Case& c : cases) {
        const GpsPanelLayout g = ComputeGpsPanelLayout(0, 0, c.w, kGpsPanelHeight, *c.texts);
        const PanelRect all[] = {g.mapProvider,     g.mapButton,      g.aboutButton,   g.trackCaption,
                                 g.radios[0],       g.radios[1],      g.radios[2],     g.radios[3],
                                 g.colourNames[0],  g.colourNames[1], g.colourNames[2], g.colourNames[3],
                                 g.separator,       g.positionCaption, g.longitudeCaption, g.longitudeEdit,
                                 g.longitudeUnit,   g.latitudeCaption, g.latitudeEdit,  g.latitudeUnit,
                                 g.fixBox,          g.fixCaption,     g.speedCaption,  g.speedEdit,
                                 g.speedUnit,       g.gauge};
        const int n = static_cast<int>(sizeof all / sizeof all[0]);
        for (int i = 0; i < n; ++i) {
            EXPECT_GE(all[i].x, 0) << c.w << " #" << i;
            EXPECT_LE(all[i].x + all[i].w, c.w) << c.w << " #" << i;
            EXPECT_LE(all[i].y + all[i].h, kGpsPanelHeight) << c.w << " #" << i;
            for (int j = i + 1; j < n; ++j)
                EXPECT_FALSE(Overlap(all[i], all[j])) << c.w << " #" << i << " and #" << j;
        }
        EXPECT_GE(g.positionCaption.w, c.texts->position);
        EXPECT_GE(g.longitudeCaption.w, c.texts->longitude);
        EXPECT_GE(g.longitudeEdit.w, c.texts->value);
        EXPECT_GE(g.speedUnit.w, c.texts->speedUnit);
        EXPECT_GE(g.trackCaption.w, c.texts->track);
        for (int k = 0; k < 4; ++k)
            EXPECT_GE(g.colourNames[k].w, c.texts->colourNames[k]) << c.w;
        // A blank between a caption and its value, and the value and its
        // unit.
        EXPECT_GT(g.longitudeEdit.x, g.longitudeCaption.x + g.longitudeCaption.w);
        EXPECT_GT(g.speedUnit.x, g.speedEdit.x + g.speedEdit.w);
        EXPECT_EQ(g.mapButton.y < g.fixBox.y, c.buttonsBeside) << c.w;
    }
    // The client's origin moves everything with it.
    GpsPanelLayout at = ComputeGpsPanelLayout(0, 0, 435, kGpsPanelHeight, english);
    GpsPanelLayout moved = ComputeGpsPanelLayout(10, 20, 435, kGpsPanelHeight, english);
    EXPECT_TRUE(Same(moved.mapButton, {at.mapButton.x + 10, at.mapButton.y + 20, 75, 21}));
    EXPECT_TRUE(Same(moved.gauge, {at.gauge.x + 10, at.gauge.y + 20, 110, 64}));
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
    // Folded away over a GPS panel raised above the 84% line: down to 2
    // pixels above the panel; a panel under the line changes nothing, nor
    // does one when the map shows.
    EXPECT_TRUE(Same(PagePlaceForMap(0, 0, 1920, 1040, false, 816), {392, 0, 1920 - 5 - 392, 814}));
    EXPECT_TRUE(Same(PagePlaceForMap(0, 0, 1920, 1040, false, 875), {392, 0, 1920 - 5 - 392, 873}));
    EXPECT_TRUE(Same(PagePlaceForMap(0, 0, 1920, 1040, true, 816), {392, 0, 1483 - 392, 873}));
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
    // "Playback Speed(mile/h)" 132 wide: the speed legend grows to the
    // left, its right end where it was.
    EXPECT_TRUE(Same(ComputeLegendBarLayout(bar, 3, 132).speedLegend, {850, 0, 136, 17}));
}
