#include "recordings/FileListLayout.h"

#include "recordings/ListPages.h"

FileListLayout ComputeFileListLayout(int W, int H)
{
    FileListLayout l = {};
    l.list = {11, 46, W - 11, H - 81};
    l.rowsPerPage = RowsPerPageForHeight(H);

    const int buttonY = (H - 35) + (2 * H) / 100;
    const int buttonWidths[4] = {W / 6, W / 5 + 5, W / 5 + 5, W / 6};
    int x = W / 7;
    for (int i = 0; i < 4; ++i) {
        l.pageButtons[i] = {x, buttonY, buttonWidths[i], 19};
        x += buttonWidths[i];
    }

    const int x0 = (W - 128) / 2;
    const int rowWidths[5] = {25, 13, 52, 13, 25};
    x = x0;
    for (int i = 0; i < 5; ++i) {
        l.pageRow[i] = {x, 20, rowWidths[i], 26};
        x += rowWidths[i];
    }
    l.leftBand = {0, 20, x0, 28};
    l.rightBand = {x0 + 128, 20, W - (x0 + 128), 28};
    return l;
}

void FileListColumnWidths(int W, int widths[6])
{
    const int percent[6] = {10, 18, 18, 18, 13, 12};
    for (int i = 0; i < 6; ++i)
        widths[i] = W * percent[i] / 100;
}
