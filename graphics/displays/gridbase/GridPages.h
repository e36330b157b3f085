#pragma once

// Printing a display grid by rows: how many data rows a page holds (at least
// one, so a tall header or a short page can never make the print loop
// endless) and how many pages the rows take.
namespace gridpages {

int RowsPerPage(int pageHeight, int headerHeight, int rowHeight);
int PageCount(int rows, int rowsPerPage);
// The first data row (counted from 1) of a page (counted from 1).
inline int FirstRowOfPage(int page, int rowsPerPage) {
    return (page - 1) * (rowsPerPage > 0 ? rowsPerPage : 1) + 1;
}

} // namespace gridpages
