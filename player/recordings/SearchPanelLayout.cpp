#include "recordings/SearchPanelLayout.h"

SearchPanelLayout ComputeSearchPanelLayout(int W, int dropHeight)
{
    const int R = W - W * 4 / 100;
    const int C = W * 59 / 100;
    auto drop = [dropHeight](int h) { return h > dropHeight ? h : dropHeight; };
    SearchPanelLayout l = {};
    l.languageLabel = {3, 0, 70, 20};
    l.languageList = {R - C, 0, C, drop(20)};
    l.pathLabel = {3, 25, (R - C) - 3, 22};
    l.pathEdit = {R - C, 25, C - 22, 22};
    l.browse = {R - 22, 25, 22, 22};
    l.typeLabel = {3, 50, (R - C) - 3, 19};
    l.typeList = {R - C, 50, C, drop(19)};
    l.datePicker = {(R - 187) / 2 + 40, 75, 110, 20};
    l.prevMonth = {3, 78, 37, 15};
    l.nextMonth = {R - 37, 78, 37, 15};
    return l;
}
