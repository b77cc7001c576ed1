#include "playback/PaneLayout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Cell {
    int pane;
    RECT rect;
};

void ExpectLayout(const PaneLayout& l, const std::vector<Cell>& cells, const char* what)
{
    for (int k = 0; k < kPaneCount; ++k) {
        const Cell* want = nullptr;
        for (const Cell& c : cells)
            if (c.pane == k)
                want = &c;
        EXPECT_EQ(l.shown[k], want != nullptr) << what << ", pane " << k;
        if (!want || !l.shown[k])
            continue;
        EXPECT_EQ(l.rect[k].left, want->rect.left) << what << ", pane " << k;
        EXPECT_EQ(l.rect[k].top, want->rect.top) << what << ", pane " << k;
        EXPECT_EQ(l.rect[k].right, want->rect.right) << what << ", pane " << k;
        EXPECT_EQ(l.rect[k].bottom, want->rect.bottom) << what << ", pane " << k;
    }
}

}  // namespace

TEST(PaneLayout, CellsAndRectangles)
{
    // A page of 800 x 650: 600 pixels of panes above the control strip.
    struct Case {
        const char* what;
        int count, selected;
        std::vector<Cell> cells;
    } cases[] = {
        {"one pane: the selected one fills the page", 1, 5, {{5, {0, 0, 800, 600}}}},
        {"four: the first group", 4, 2,
         {{0, {1, 1, 399, 299}}, {1, {401, 1, 799, 299}}, {2, {1, 301, 399, 599}}, {3, {401, 301, 799, 599}}}},
        {"four with pane 5 selected: the second group", 4, 4,
         {{4, {1, 1, 399, 299}}, {5, {401, 1, 799, 299}}, {6, {1, 301, 399, 599}}, {7, {401, 301, 799, 599}}}},
        {"nine: eight panes, the last cell empty", 9, 7,
         {{0, {1, 1, 265, 199}},
          {1, {267, 1, 531, 199}},
          {2, {533, 1, 797, 199}},
          {3, {1, 201, 265, 399}},
          {4, {267, 201, 531, 399}},
          {5, {533, 201, 797, 399}},
          {6, {1, 401, 265, 599}},
          {7, {267, 401, 531, 599}}}},
        {"sixteen: two rows of four, two empty rows", 16, 3,
         {{0, {1, 1, 199, 149}},
          {1, {201, 1, 399, 149}},
          {2, {401, 1, 599, 149}},
          {3, {601, 1, 799, 149}},
          {4, {1, 151, 199, 299}},
          {5, {201, 151, 399, 299}},
          {6, {401, 151, 599, 299}},
          {7, {601, 151, 799, 299}}}},
    };
    for (const Case& c : cases) {
        PaneLayout l = ComputePaneLayout(c.count, c.selected, 800, 650);
        ExpectLayout(l, c.cells, c.what);
        EXPECT_EQ(l.controlPanel.left, 0) << c.what;
        EXPECT_EQ(l.controlPanel.top, 600) << c.what;
        EXPECT_EQ(l.controlPanel.right, 800) << c.what;
        EXPECT_EQ(l.controlPanel.bottom, 1050) << c.what;  // 450 high, clipped by the page
    }
}

TEST(PaneLayout, CellsForTheHighestChannel)
{
    const int want[][2] = {{0, 1}, {1, 1}, {2, 4}, {4, 4}, {5, 9}, {6, 9}, {8, 9}, {9, 16}, {16, 16}};
    for (const auto& w : want)
        EXPECT_EQ(CellsForHighestChannel(w[0]), w[1]) << w[0];
}
