// Where the playback control bar puts its controls at a given size. Plain
// maths: the panel moves and shows its controls as this says.
//
// Row one is the position slider. Row two has the transport buttons from
// the left, then the rate and time labels; from the right the volume
// slider and the sound switch, and before them the tool group (pane
// splits, full screen, side panels, snapshot, cut to AVI), placed right to
// left. Gaps grow with the width; where they leave the time label no room
// the gaps close up, and where that is not enough either the tool group
// takes a row of its own under the others (the page then shows a taller
// strip, BarStripHeight). Every control is shown. The text captions sit
// along the panel's bottom edge, below the strip the page shows.
#pragma once

#include <windows.h>

#include <vector>

// The time label's width: "00:00 / 00:00" in its font, with a little room.
const int kTimeLabelWidth = 108;
// The least room between the time label and the tool group.
const int kTimeLabelMargin = 4;

struct BarItem {
    int id;       // control id
    RECT rect;    // in the panel's client coordinates
    bool shown;
};

struct BarLayout {
    std::vector<BarItem> items;
    // The item of control id, or null.
    const BarItem* Find(int id) const;
};

// The gap of a bar this wide: 7 below 640, 32 above 1000, else 16.
int BarGap(int width);

// The tool group's own row, where it has one.
const int kToolRowHeight = 26;

// The height of the strip the page shows for a bar this wide: 50, or 76
// with the tool group's own row.
int BarStripHeight(int width);

// The layout for the panel's client rectangle.
BarLayout ComputeBarLayout(const RECT& client);

// Full screen: the page's rectangle in the main window's client
// coordinates, from the client area and the screen (both in screen
// coordinates): the part of the client area that the screen shows, so that
// the bar along the page's bottom stays on screen wherever the window sits
// (the whole client area when none of it is on screen).
RECT FullScreenPageRect(const RECT& clientOnScreen, const RECT& screen);
// The side panels hidden: the page's rectangle in the main window's client
// area, from the left column's edge to the right (2 pixels short of it but
// with the system's own caption, Windows version code 5).
RECT SidePanelPageRect(const RECT& mainClient, int windowsVersion);
