// The page maths of the recording list. The list dialog's client height
// gives its rows per page; a page shows one record fewer than that (and at
// least one), and every page count and first index comes from here, so
// that no caller divides by a page of zero records.
#pragma once

#include <cstddef>

// Rows per page for the list dialog's client height: 1 + the rows of 17.8
// pixels that fit in the list control (the client height less 81). Below
// 1 for heights that leave the list no room.
int RowsPerPageForHeight(int clientHeight);

// Records a page shows: rows per page - 1, at least 1.
int RecordsPerPage(int rowsPerPage);

// Pages for count records: ceil(count / perPage), at least 1 (an empty list
// has one empty page; an exact multiple has no empty page behind it).
int PageCount(size_t count, int perPage);

// Index in the shown list of the first record of page (from 1).
size_t PageFirstIndex(int page, int perPage);

// The page (from 1) that holds record index.
int PageOfIndex(size_t index, int perPage);
