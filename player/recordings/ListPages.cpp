#include "recordings/ListPages.h"

int RowsPerPageForHeight(int clientHeight)
{
    // trunc((H - 81) / 17.8) in integers: C++ division truncates toward zero.
    return 1 + (clientHeight - 81) * 10 / 178;
}

int RecordsPerPage(int rowsPerPage)
{
    return rowsPerPage - 1 < 1 ? 1 : rowsPerPage - 1;
}

int PageCount(size_t count, int perPage)
{
    const size_t per = perPage < 1 ? 1 : static_cast<size_t>(perPage);
    const size_t pages = (count + per - 1) / per;
    return pages < 1 ? 1 : static_cast<int>(pages);
}

size_t PageFirstIndex(int page, int perPage)
{
    const size_t per = perPage < 1 ? 1 : static_cast<size_t>(perPage);
    return page < 1 ? 0 : static_cast<size_t>(page - 1) * per;
}

int PageOfIndex(size_t index, int perPage)
{
    const size_t per = perPage < 1 ? 1 : static_cast<size_t>(perPage);
    return static_cast<int>(index / per) + 1;
}
