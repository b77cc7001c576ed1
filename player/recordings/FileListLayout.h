// Where the recording list dialog puts its controls for its client size
// and the widths its texts need (integer maths), and its columns' widths.
#pragma once

#include "app/MainLayout.h"

struct FileListLayout {
    PanelRect list;            // the report list (227)
    PanelRect pageButtons[4];  // first (226), previous (225), next (231), last (230)
    PanelRect pageRow[5];      // "The" (484), page (336), "Page/Total" (486), count (337), "Page" (487)
    PanelRect leftBand;        // 466, left of the page row
    PanelRect rightBand;       // 386, right of it
    int rowsPerPage;           // RowsPerPageForHeight of the list's height
};

// What the texts need, in pixels: the five parts of the page row and the
// four page buttons' captions (0 where nothing is known).
struct FileListTextWidths {
    int pageRow[5];
    int buttons[4];
};

// The page row runs along the dialog's top, the list under it and the page
// buttons along the bottom; each part of the page row and each button is
// at least as wide as its text.
FileListLayout ComputeFileListLayout(int clientWidth, int clientHeight, const FileListTextWidths& texts = {});

// Widths of columns 0..5 (channel, date, begin, end, type, size) for the
// dialog's client width.
void FileListColumnWidths(int clientWidth, int widths[6]);

// What a column needs to show its header and its widest cell whole (the
// list's string widths of those texts): the cell margins around each and,
// in the first column's cells, the check box.
int ColumnNeed(int column, int headerText, int widestCell);

// The columns' widths in a list whose client area is clientWidth wide:
// each at least what it needs and, as long as the columns fit, what it was
// given. Where they do not fit, what the columns were given beyond their
// needs goes, from the last column on; columns whose needs alone do not
// fit reach past the list's edge, where its scroll bar shows them.
void FitColumnsToList(const int given[6], const int need[6], int clientWidth, int widths[6]);
