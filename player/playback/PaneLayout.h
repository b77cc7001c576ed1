// Where the playback page puts its eight video panes and the control
// panel: 1, 4, 9 or 16 cells over the page less the control strip, showing
// the group of panes that holds the selected one. Plain maths.
#pragma once

#include <windows.h>

const int kPaneCount = 8;
// The control panel's strip along the page's bottom.
const int kControlStripHeight = 50;
// The panel's window is taller than its strip; the page clips the rest.
const int kControlPanelHeight = 450;

struct PaneLayout {
    bool shown[kPaneCount] = {};
    RECT rect[kPaneCount] = {};  // of the shown panes
    RECT controlPanel = {};
};

// The layout for paneCount cells in a page of this client size.
PaneLayout ComputePaneLayout(int paneCount, int selectedPane, int clientWidth, int clientHeight);

// The cells a group needs whose highest channel number is `highest`: 1 for
// 1, 4 up to 4, 9 up to 8, else 16.
int CellsForHighestChannel(int highest);
