// Where the recording list dialog puts its controls for its client size
// (integer maths), and its columns' first widths.
#pragma once

#include "app/MainLayout.h"

struct FileListLayout {
    PanelRect list;            // the report list (227)
    PanelRect pageButtons[4];  // first (226), previous (225), next (231), last (230)
    PanelRect pageRow[5];      // "The" (484), page (336), "Page/Total" (486), count (337), "Page" (487)
    PanelRect leftBand;        // 466, left of the page row
    PanelRect rightBand;       // 386, right of it
    int rowsPerPage;           // RowsPerPageForHeight of the client height
};

FileListLayout ComputeFileListLayout(int clientWidth, int clientHeight);

// Widths of columns 0..5 (channel, date, begin, end, type, size) for the
// dialog's client width.
void FileListColumnWidths(int clientWidth, int widths[6]);
