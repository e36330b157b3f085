#include "graphics/displays/gridbase/GridPages.h"

#include <algorithm>

namespace gridpages {

int RowsPerPage(int pageHeight, int headerHeight, int rowHeight) {
    const int room = pageHeight - headerHeight;
    const int rows = rowHeight > 0 ? room / rowHeight : room;
    return std::max(rows, 1);
}

int PageCount(int rows, int rowsPerPage) {
    rowsPerPage = std::max(rowsPerPage, 1);
    if (rows <= rowsPerPage)
        return 1;
    return rows / rowsPerPage + (rows % rowsPerPage ? 1 : 0);
}

} // namespace gridpages
