// Where the main dialog puts its panels, from the screen width and the
// client height (integer maths, as the panels expect it).
#pragma once

#include <windows.h>

struct PanelRect {
    int x, y, w, h;
};

struct MainLayout {
    int left, right;  // column widths
    PanelRect search, fileList, streamInfo, map, gps, playback, scope, legend;
    PanelRect toolButtons[6];  // 210, 234, 235, 236, 230, 231
    int listColumns[6];        // widths of columns 1, 2, 0, 3, 4, 5
};

// The search panel's height: its four rows, the date picker the lowest.
const int kSearchPanelHeight = 100;

// How wide the recording list wants to be (its window; 0 where not known):
// to show every column whole, and to show the channel, date, begin and end.
struct ListWidths {
    int allColumns;
    int timeColumns;
};

// screenWidth: the width the columns are proportions of (the screen's, or
// the client area's where that is narrower). The left column is 20% of it
// and 5 pixels, or wider where the list wants: as wide as all the list's
// columns need where that takes at most 28% of the width, else as wide as
// its channel and times need.
MainLayout ComputeMainLayout(int screenWidth, int clientHeight, const ListWidths& list = {});

// y of a 24-pixel button centred in the band y1..y2 (rounding toward zero).
int ToolButtonY(int y1, int y2);

// Windows version code from the system's major and minor version: 5.0 -> 1,
// 5.1 -> 2, 5.2 -> 3, 6.0 -> 4, 6.1 -> 5, anything else 2.
int WindowsVersionCode(unsigned major, unsigned minor);
