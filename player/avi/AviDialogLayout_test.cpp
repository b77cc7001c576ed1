#include "avi/AviDialogLayout.h"

#include <gtest/gtest.h>

TEST(AviDialogLayout, TheLabelColumnWidensForItsWidestText)
{
    struct Case {
        int widths[3];
        int column, growth;
    } cases[] = {
        {{40, 60, 50}, 84, 0},   // every label fits
        {{40, 84, 50}, 84, 0},   // exactly
        {{40, 98, 120}, 84, 36}, // the widest rules
        {{0, 0, 0}, 84, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AviLabelColumnGrowth(c.widths, 3, c.column), c.growth) << c.widths[2];
}

TEST(AviDialogLayout, EachControlFollowsTheColumnByItsKind)
{
    // A column from 12 to 96.
    struct Case {
        RECT r;
        AviControlKind kind;
        RECT placed;  // for a growth of 30
    } cases[] = {
        {{12, 15, 96, 31}, AviControlKind::Label, {12, 15, 126, 31}},
        {{99, 12, 351, 32}, AviControlKind::Field, {129, 12, 381, 32}},
        {{96, 12, 120, 32}, AviControlKind::Field, {126, 12, 150, 32}},
        {{12, 156, 384, 172}, AviControlKind::Spanning, {12, 156, 414, 172}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AviControlKindOf(c.r, 96), c.kind) << c.r.left;
        const RECT p = AviControlPlace(c.r, c.kind, 30);
        EXPECT_TRUE(EqualRect(&p, &c.placed)) << c.r.left << ": " << p.left << "," << p.right;
    }
    // START stays in the middle of the wider dialog.
    const RECT start = AviControlPlace(RECT{156, 185, 240, 211}, AviControlKind::Centred, 30);
    EXPECT_EQ(start.left, 171);
    EXPECT_EQ(start.right, 255);
}
