#include "recordings/SearchPanelLayout.h"

SearchPanelLayout ComputeSearchPanelLayout(int W, int dropHeight, int labelText, int browseText)
{
    const int R = W - W * 4 / 100;
    int C = W * 59 / 100;
    // The labels from x 3, 2 pixels of room after their text.
    if ((R - C) - 3 < labelText + 2)
        C = R - (3 + labelText + 2);
    const int browse = browseText + 8 > 22 ? browseText + 8 : 22;
    auto drop = [dropHeight](int h) { return h > dropHeight ? h : dropHeight; };
    SearchPanelLayout l = {};
    l.languageLabel = {3, 0, (R - C) - 3, 20};
    l.languageList = {R - C, 0, C, drop(20)};
    l.pathLabel = {3, 25, (R - C) - 3, 22};
    l.pathEdit = {R - C, 25, C - browse, 22};
    l.browse = {R - browse, 25, browse, 22};
    l.typeLabel = {3, 50, (R - C) - 3, 19};
    l.typeList = {R - C, 50, C, drop(19)};
    l.datePicker = {(R - 187) / 2 + 40, 75, 110, 20};
    l.prevMonth = {3, 78, 37, 15};
    l.nextMonth = {R - 37, 78, 37, 15};
    return l;
}
