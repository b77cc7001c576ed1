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

// The panel is 450 high (the page shows its top 50): at every width the
// shown controls overlap nowhere, the strip's controls lie within the
// width and the top 50 pixels, and the tool group keeps what fits.
TEST(ControlBarLayout, NoShownControlsOverlapAtTheBarsWidths)
{
    struct Case {
        int width;
        bool splits, snapshotAndAvi;
    } cases[] = {
        {576, false, false},   // a 1024-pixel screen
        {600, false, false},
        {721, false, true},    // a 1280-pixel screen
        {800, true, true},
        {1086, true, true},    // a 1920-pixel screen
        {1200, true, true},
    };
    for (const Case& c : cases) {
        const BarLayout l = ComputeBarLayout(RECT{0, 0, c.width, 450});
        for (size_t i = 0; i < l.items.size(); ++i) {
            const BarItem& a = l.items[i];
            if (!a.shown)
                continue;
            if (a.id != IDC_POSITION_SLIDER && a.rect.bottom <= 50) {
                EXPECT_GE(a.rect.left, 0) << c.width << " " << Describe(a);
                EXPECT_LE(a.rect.right, c.width) << c.width << " " << Describe(a);
            }
            for (size_t j = i + 1; j < l.items.size(); ++j) {
                const BarItem& b = l.items[j];
                if (b.shown) {
                    EXPECT_FALSE(Overlap(a.rect, b.rect)) << c.width << ": " << Describe(a) << " and " << Describe(b);
                }
            }
        }
        for (int id : {IDC_BAR_SPLIT1, IDC_BAR_SPLIT4, IDC_BAR_SPLIT9})
            EXPECT_EQ(Shown(l, id), c.splits) << c.width << " " << id;
        EXPECT_EQ(Shown(l, IDC_SNAPSHOT), c.snapshotAndAvi) << c.width;
        EXPECT_EQ(Shown(l, IDC_CUT_AVI), c.snapshotAndAvi) << c.width;
        EXPECT_FALSE(Shown(l, IDC_BAR_SPLIT16)) << c.width;
        for (int id : {IDC_PLAY, IDC_NEXT_FILE, IDC_RATE_LABEL, IDC_TIME_LABEL, IDC_FULL_SCREEN, IDC_SIDE_PANELS,
                       IDC_SOUND, IDC_VOLUME_SLIDER, IDC_POSITION_SLIDER})
            EXPECT_TRUE(Shown(l, id)) << c.width << " " << id;
        // The one-pane split never covers the rate label (it did at 576).
        const BarItem* one = l.Find(IDC_BAR_SPLIT1);
        if (one->shown) {
            EXPECT_GE(one->rect.left, l.Find(IDC_TIME_LABEL)->rect.right + kTimeLabelMargin) << c.width;
        }
    }
}

TEST(ControlBarLayout, GapsAndPlacesGrowWithTheWidth)
{
    struct Case {
        int width;
        int gap;
        int pauseLeft;  // Play at 3, 25 wide, then half the gap
        int rateLeft;   // after the next-recording button
        int aviLeft;    // r - gap - 142
    } cases[] = {
        {600, 7, 31, 234, 451},   // gap 7: buttons 3 apart, the rate label g + 3 on
        {800, 16, 36, 267, 642},  // gap 16
        {1200, 32, 44, 347, 1026},
    };
    for (const Case& c : cases) {
        const BarLayout l = ComputeBarLayout(RECT{0, 0, c.width, 450});
        EXPECT_EQ(BarGap(c.width), c.gap);
        EXPECT_EQ(l.Find(IDC_PLAY)->rect.left, 3);
        EXPECT_EQ(l.Find(IDC_PAUSE)->rect.left, c.pauseLeft) << c.width;
        EXPECT_EQ(l.Find(IDC_RATE_LABEL)->rect.left, c.rateLeft) << c.width;
        const BarItem* avi = l.Find(IDC_CUT_AVI);
        if (avi->shown) {
            EXPECT_EQ(avi->rect.left, c.aviLeft) << c.width;
            // Right to left, 22 wide, gap - 2 apart.
            EXPECT_EQ(l.Find(IDC_SNAPSHOT)->rect.right, c.aviLeft - (c.gap - 2)) << c.width;
        }
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

TEST(ControlBarLayout, WithoutTheDuplicatedButtonsTheRestCloseUpToTheRight)
{
    // At 576 the splits, snapshot and cut to AVI go; the side-panel button
    // takes the cut-to-AVI place and full screen the snapshot's.
    const BarLayout l = ComputeBarLayout(RECT{0, 0, 576, 450});
    EXPECT_EQ(l.Find(IDC_SIDE_PANELS)->rect.left, 576 - 7 - 142);
    EXPECT_EQ(l.Find(IDC_FULL_SCREEN)->rect.right, 576 - 7 - 142 - 5);
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
