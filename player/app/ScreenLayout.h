// The main window's four layouts and where the playback page goes in each:
// every panel beside the page; the map folded away (the page reaches the
// right edge, down to the GPS panel, and the scope panel under it rises to
// meet it); the side panels hidden (the page takes the scope, GPS and
// map column too); full screen (the page alone over the whole client area
// that the screen shows). Full screen wins over the side panels, and they
// over the map. Plain maths: the main window places and shows its panels
// as this says, after every switch, so that no order of switches leaves a
// layout that is none of these.
#pragma once

#include "app/MainLayout.h"

#include <windows.h>

struct ScreenModes {
    bool fullScreen = false;
    bool sidePanelsHidden = false;
    bool mapShown = true;
};

struct ScreenLayout {
    RECT page;        // in the main window's client coordinates
    RECT scope;       // the scope panel's place while the side panels show
    bool leftColumn;  // search panel, recording list, stream information, tool buttons
    bool sidePanels;  // scope panel, GPS panel, legend bar
    bool map;
};

// screenWidth: the width the panels' proportions are taken of;
// clientOnScreen: the main window's client area in screen coordinates;
// screen: the screen's rectangle; list: how wide the recording list wants
// to be (the left column widens for it, and the page stays beside it).
ScreenLayout ComputeScreenLayout(const ScreenModes& modes, int screenWidth, const RECT& clientOnScreen,
                                 const RECT& screen, int windowsVersion, const ListWidths& list = {});
