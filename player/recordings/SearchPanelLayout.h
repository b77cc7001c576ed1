// Where the search panel puts its controls for its client width (integer
// maths). The input column ends 4% short of the right edge and is 59% of
// the width wide.
#pragma once

#include "app/MainLayout.h"

struct SearchPanelLayout {
    PanelRect languageLabel;  // 545
    PanelRect languageList;   // 547
    PanelRect pathLabel;      // 487
    PanelRect pathEdit;       // 305
    PanelRect browse;         // 226
    PanelRect typeLabel;      // 478
    PanelRect typeList;       // 312
    PanelRect datePicker;     // 525
    PanelRect prevMonth;      // 454 (hidden)
    PanelRect nextMonth;      // 455 (hidden)
};

// dropHeight: the height a drop-down list needs to open with room for
// three items; the two lists get at least that (their window height is the
// height of the opened list). labelText: the widest label's text, in
// pixels: where the labels need more than their column, the input column
// starts after them and is narrower. browseText: the "..." button's text.
SearchPanelLayout ComputeSearchPanelLayout(int clientWidth, int dropHeight, int labelText = 0, int browseText = 0);
