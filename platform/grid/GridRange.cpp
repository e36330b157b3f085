#include "platform/grid/GridRange.h"

#include <algorithm>

namespace tvane {

GridRangeList SortedByTop(const GridRangeList& ranges) {
    GridRangeList sorted = ranges;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const GridRange& a, const GridRange& b) { return a.top < b.top; });
    return sorted;
}

std::string BuildCopyText(const GridRangeList& ranges, int columnCount, const GridCellText& cell) {
    std::string text;
    bool firstRow = true;
    for (const GridRange& range : ranges) {
        const int left = range.wholeRows ? 1 : range.left;
        const int right = range.wholeRows ? columnCount : range.right;
        for (int row = range.top; row <= range.bottom; ++row) {
            if (!firstRow)
                text += "\r\n";
            firstRow = false;
            for (int col = left; col <= right; ++col) {
                if (col != left)
                    text += '\t';
                std::string value;
                if (cell && cell(row, col, value))
                    text += value;
            }
        }
    }
    return text;
}

std::vector<std::pair<int, int>> RowRemovalSteps(const GridRangeList& ranges) {
    std::vector<std::pair<int, int>> steps;
    int removed = 0;
    for (const GridRange& range : SortedByTop(ranges)) {
        // A range overlapping one already taken loses the rows gone before it.
        int top = std::max(range.top, 1); // the header row holds no element
        if (!steps.empty()) {
            const int lastTaken = steps.back().first + removed; // its original row number
            top = std::max(top, lastTaken + 1);
        }
        const int count = range.bottom - top + 1;
        if (count <= 0)
            continue;
        steps.emplace_back(top - 1 - removed, count);
        removed += count;
    }
    return steps;
}

} // namespace tvane
