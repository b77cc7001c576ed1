#include "playback/PaneLayout.h"

#include "playback/ControlBarLayout.h"

#include <cmath>

PaneLayout ComputePaneLayout(int paneCount, int selectedPane, int clientWidth, int clientHeight)
{
    PaneLayout l;
    const int height = clientHeight - BarStripHeight(clientWidth);
    l.controlPanel = {0, height, clientWidth, height + kControlPanelHeight};
    if (selectedPane < 0 || selectedPane >= kPaneCount)
        selectedPane = 0;
    if (paneCount <= 1) {
        l.shown[selectedPane] = true;
        l.rect[selectedPane] = {0, 0, clientWidth, height};
        return l;
    }
    int k = static_cast<int>(std::sqrt(static_cast<double>(paneCount)));
    if (k < 1)
        k = 1;
    const int n = paneCount == 9 ? kPaneCount : paneCount;  // only eight panes exist
    const int first = selectedPane / n * n;
    const int cw = clientWidth / k, ch = height / k;
    int placed = 0;
    for (int r = 0; r < k; ++r) {
        for (int c = 0; c < k; ++c) {
            const int pane = first + placed;
            if (placed >= n || pane >= kPaneCount)
                return l;
            const int x = 1 + c * cw, y = 1 + r * ch;
            l.shown[pane] = true;
            l.rect[pane] = {x, y, x + cw - 2, y + ch - 2};
            ++placed;
        }
    }
    return l;
}

int CellsForHighestChannel(int highest)
{
    if (highest <= 1)
        return 1;
    if (highest <= 4)
        return 4;
    if (highest <= 8)
        return 9;
    return 16;
}
