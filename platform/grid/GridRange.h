#pragma once
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace tvane {

// A rectangle of cells in grid coordinates: row 0 is the column header row and
// column 0 the row header column, so data cells start at (1, 1). A range made
// by selecting row headers covers whole rows.
struct GridRange {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    bool wholeRows = false;

    static GridRange Cells(int top, int left, int bottom, int right) {
        return {top, left, bottom, right, false};
    }
    static GridRange Rows(int top, int bottom) { return {top, 0, bottom, 0, true}; }

    int RowCount() const { return bottom - top + 1; }
    bool Contains(int row, int col) const {
        return row >= top && row <= bottom && (wholeRows || (col >= left && col <= right));
    }
    bool operator==(const GridRange&) const = default;
};

using GridRangeList = std::vector<GridRange>;
// Asks the owner for one cell's text; false leaves the cell empty.
using GridCellText = std::function<bool(int row, int col, std::string& text)>;

// The ranges ordered by their top row; ranges with the same top keep their order.
GridRangeList SortedByTop(const GridRangeList& ranges);

// The text of the ranges for the clipboard: the cells of a row joined by a tab,
// rows (also the last of one range and the first of the next) joined by CR LF,
// with no line end after the last row. A whole-row range gives the data columns
// 1 to columnCount.
std::string BuildCopyText(const GridRangeList& ranges, int columnCount, const GridCellText& cell);

// How to remove the rows of the ranges one block at a time from a list whose
// element i is shown in row i + 1: each step is (index of the first element,
// number of elements), its index shifted up by the rows that the steps before
// it removed. The ranges are taken in order of their top row.
std::vector<std::pair<int, int>> RowRemovalSteps(const GridRangeList& ranges);

} // namespace tvane
