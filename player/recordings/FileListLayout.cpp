#include "recordings/FileListLayout.h"

#include "recordings/ListPages.h"

namespace {
// The list's cell margins, and the first column's check box (16 pixels
// and its own margins) beside them.
const int kCellMargins = 12;
const int kCheckBoxRoom = 20;
// Room around a button's caption: its edges.
const int kButtonEdges = 10;
}  // namespace

FileListLayout ComputeFileListLayout(int W, int H, const FileListTextWidths& texts)
{
    FileListLayout l = {};
    l.list = {11, 26, W - 11, H - 61};
    l.rowsPerPage = RowsPerPageForHeight(H + 20);

    const int buttonY = (H - 35) + (2 * H) / 100;
    int buttonWidths[4] = {W / 6, W / 5 + 5, W / 5 + 5, W / 6};
    int total = 0;
    for (int i = 0; i < 4; ++i) {
        if (buttonWidths[i] < texts.buttons[i] + kButtonEdges)
            buttonWidths[i] = texts.buttons[i] + kButtonEdges;
        total += buttonWidths[i];
    }
    // From a seventh of the width, or further left where the row would
    // run past the right edge (never left of the list).
    int x = W / 7;
    if (x + total > W)
        x = W - total > 11 ? W - total : 11;
    for (int i = 0; i < 4; ++i) {
        l.pageButtons[i] = {x, buttonY, buttonWidths[i], 19};
        x += buttonWidths[i];
    }

    int rowWidths[5] = {25, 13, 52, 13, 25};
    int rowTotal = 0;
    for (int i = 0; i < 5; ++i) {
        if (rowWidths[i] < texts.pageRow[i] + 2)
            rowWidths[i] = texts.pageRow[i] + 2;
        rowTotal += rowWidths[i];
    }
    const int x0 = (W - rowTotal) / 2 > 0 ? (W - rowTotal) / 2 : 0;
    x = x0;
    for (int i = 0; i < 5; ++i) {
        l.pageRow[i] = {x, 0, rowWidths[i], 26};
        x += rowWidths[i];
    }
    l.leftBand = {0, 0, x0, 26};
    l.rightBand = {x0 + rowTotal, 0, W - (x0 + rowTotal), 26};
    return l;
}

void FileListColumnWidths(int W, int widths[6])
{
    const int percent[6] = {10, 18, 18, 18, 13, 12};
    for (int i = 0; i < 6; ++i)
        widths[i] = W * percent[i] / 100;
}

int ColumnNeed(int column, int headerText, int widestCell)
{
    const int header = headerText + kCellMargins;
    const int cell = widestCell + kCellMargins + (column == 0 ? kCheckBoxRoom : 0);
    return header > cell ? header : cell;
}

void FitColumnsToList(const int given[6], const int need[6], int clientWidth, int widths[6])
{
    int total = 0;
    for (int i = 0; i < 6; ++i) {
        widths[i] = given[i] > need[i] ? given[i] : need[i];
        total += widths[i];
    }
    for (int i = 5; i >= 0 && total > clientWidth; --i) {
        const int spare = widths[i] - need[i];
        const int over = total - clientWidth;
        const int back = spare < over ? spare : over;
        widths[i] -= back;
        total -= back;
    }
}
