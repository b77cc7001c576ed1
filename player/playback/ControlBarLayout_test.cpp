#include "playback/ControlBarLayout.h"

#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != 0;
}

std::string Describe(const BarItem& item)
{
    return std::to_string(item.id) + " (" + std::to_string(item.rect.left) + "," + std::to_string(item.rect.top) +
           ")-(" + std::to_string(item.rect.right) + "," + std::to_string(item.rect.bottom) + ")";
}

bool Shown(const BarLayout& l, int id)
{
    const BarItem* item = l.Find(id);
    return item && item->shown;
}

}  // namespace

// The panel is 450 high (the page shows its top strip): at every width
// every control is shown, none overlaps another, the strip's controls lie
// within the width and the strip; where one row has no room the tools
// take a row of their own and the strip grows.
TEST(ControlBarLayout, EveryControlShownAndNoneOverlapAtTheBarsWidths)
{
    struct Case {
        int width;
        bool toolRow;
    } cases[] = {
        {576, true},    // a 1024-pixel screen
        {600, true},
        {721, false},   // a 1280-pixel screen: the gaps close up
        {770, false},   // 1366
        {800, false},
        {1086, false},  // a 1920-pixel screen
        {1200, false},
    };
    const int ids[] = {IDC_POSITION_SLIDER, IDC_PLAY,        IDC_PAUSE,       IDC_STOP,        IDC_REWIND,
                       IDC_FASTER,          IDC_SLOWER,      IDC_PREVIOUS_FILE, IDC_NEXT_FILE, IDC_RATE_LABEL,
                       IDC_TIME_LABEL,      IDC_BAR_SPLIT1,  IDC_BAR_SPLIT4,  IDC_BAR_SPLIT9,  IDC_BAR_SPLIT16,
                       IDC_FULL_SCREEN,     IDC_SIDE_PANELS, IDC_SNAPSHOT,    IDC_CUT_AVI,     IDC_SOUND,
                       IDC_VOLUME_SLIDER};
    for (const Case& c : cases) {
        const BarLayout l = ComputeBarLayout(RECT{0, 0, c.width, 450});
        const int strip = BarStripHeight(c.width);
        EXPECT_EQ(strip, c.toolRow ? 76 : 50) << c.width;
        for (int id : ids) {
            ASSERT_TRUE(Shown(l, id)) << c.width << " " << id;
            const BarItem& a = *l.Find(id);
            if (id != IDC_POSITION_SLIDER) {
                EXPECT_GE(a.rect.left, 0) << c.width << " " << Describe(a);
                EXPECT_LE(a.rect.right, c.width) << c.width << " " << Describe(a);
            }
            EXPECT_LE(a.rect.bottom, strip) << c.width << " " << Describe(a);
        }
        for (size_t i = 0; i < l.items.size(); ++i)
            for (size_t j = i + 1; j < l.items.size(); ++j)
                EXPECT_FALSE(Overlap(l.items[i].rect, l.items[j].rect))
                    << c.width << ": " << Describe(l.items[i]) << " and " << Describe(l.items[j]);
        // The one-pane split never covers the time label.
        const BarItem* one = l.Find(IDC_BAR_SPLIT1);
        if (!c.toolRow) {
            EXPECT_GE(one->rect.left, l.Find(IDC_TIME_LABEL)->rect.right + kTimeLabelMargin) << c.width;
        }
    }
}

TEST(ControlBarLayout, GapsAndPlacesGrowWithTheWidth)
{
    struct Case {
        int width;
        int gap;
        int pauseLeft;  // Play at 3, 25 wide, then the transport gap
        int rateLeft;   // after the next-recording button
        int aviLeft;
        int toolGap;
        int toolTop;
    } cases[] = {
        {600, 7, 31, 234, 600 - 5 - 22, 4, 50},  // gap 7, the tools on their own row from the right
        {800, 16, 31, 227, 800 - 127 - 22, 4, 24},  // gap 16 leaves the time label no room: closed up
        {1200, 32, 44, 347, 1026, 30, 24},          // gap 32: r - gap - 142, gap - 2 apart
    };
    for (const Case& c : cases) {
        const BarLayout l = ComputeBarLayout(RECT{0, 0, c.width, 450});
        EXPECT_EQ(BarGap(c.width), c.gap);
        EXPECT_EQ(l.Find(IDC_PLAY)->rect.left, 3);
        EXPECT_EQ(l.Find(IDC_PAUSE)->rect.left, c.pauseLeft) << c.width;
        EXPECT_EQ(l.Find(IDC_RATE_LABEL)->rect.left, c.rateLeft) << c.width;
        const BarItem* avi = l.Find(IDC_CUT_AVI);
        EXPECT_EQ(avi->rect.left, c.aviLeft) << c.width;
        EXPECT_EQ(avi->rect.top, c.toolTop) << c.width;
        // Right to left, 22 wide.
        EXPECT_EQ(l.Find(IDC_SNAPSHOT)->rect.right, c.aviLeft - c.toolGap) << c.width;
        const RECT slider = l.Find(IDC_POSITION_SLIDER)->rect;
        EXPECT_EQ(slider.left, -6);
        EXPECT_EQ(slider.right - slider.left, c.width + 14);
        EXPECT_EQ(l.Find(IDC_VOLUME_SLIDER)->rect.left, c.width - 105);
        EXPECT_EQ(l.Find(IDC_SOUND)->rect.left, c.width - 122);
        // The captions along the bottom edge, 92 apart.
        EXPECT_EQ(l.Find(IDC_CAPTION_PLAY)->rect.bottom, 448);
        EXPECT_EQ(l.Find(IDC_CAPTION_NEXT_FRAME)->rect.left, 6 + 5 * 92);
    }
    // Boundaries of the gap: 640 and 1000 take 16.
    EXPECT_EQ(BarGap(639), 7);
    EXPECT_EQ(BarGap(640), 16);
    EXPECT_EQ(BarGap(1000), 16);
    EXPECT_EQ(BarGap(1001), 32);
}

TEST(ControlBarLayout, FullScreenAndSidePanelRectangles)
{
    // The part of the client area on screen, in client coordinates: a
    // client area 4 in and 23 down on a 1024 x 768 screen, one moved off
    // to the right and down, one entirely off screen.
    const RECT screen = {0, 0, 1024, 768};
    struct Case {
        RECT client, expected;
    } cases[] = {
        {{4, 23, 1020, 740}, {0, 0, 1016, 717}},
        {{300, 200, 1316, 917}, {0, 0, 724, 568}},
        {{-50, -20, 900, 700}, {50, 20, 950, 720}},
        {{2000, 0, 2500, 400}, {0, 0, 500, 400}},
    };
    for (const Case& c : cases) {
        const RECT full = FullScreenPageRect(c.client, screen);
        EXPECT_TRUE(EqualRect(&full, &c.expected)) << full.left << "," << full.top << "," << full.right << ","
                                                   << full.bottom;
    }

    const RECT side = SidePanelPageRect(RECT{0, 0, 1016, 713}, 2);
    EXPECT_EQ(side.left, 1016 * 20 / 100 + 7);
    EXPECT_EQ(side.right, 1014);
    EXPECT_EQ(side.bottom, 713);
    EXPECT_EQ(SidePanelPageRect(RECT{0, 0, 1016, 713}, 5).right, 1016);
}
