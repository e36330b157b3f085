#pragma once
#include <functional>
#include <map>
#include <string>

#include "platform/grid/GridRange.h"

namespace tvane {

// The grid without a window: it keeps no cell data of its own but asks its
// owner for the row count and for each cell's text, so a grid over a long list
// costs nothing until it is drawn. It holds the current cell, the selection
// list and the column widths, and searches rows for a text.
class GridCore {
public:
    struct FindOptions {
        std::string text;
        bool matchCase = false;
        bool down = true;
    };

    // The number of data rows (rows 1 to n); header row 0 is not counted.
    void SetRowCountSource(std::function<int()> rows) { m_rows = std::move(rows); }
    void SetCellTextSource(GridCellText cell) { m_cell = std::move(cell); }
    // The number of data columns (columns 1 to n).
    void SetColCount(int count) { m_cols = count; }
    int GetRowCount() const;
    int GetColCount() const { return m_cols; }

    // Column headers; the row header column shows the row number.
    void SetHeaderText(int col, std::string text) { m_headers[col] = std::move(text); }
    // The cell's text; header cells and failed reads give the defaults.
    std::string GetCellText(int row, int col) const;

    // Widths in pixels; columns without one use the default.
    void SetColWidth(int col, int width) { m_widths[col] = width; }
    int GetColWidth(int col) const;
    static constexpr int kDefaultColWidth = 64;

    // The current cell; row 0 stands for none.
    bool HasCurrentCell() const { return m_currentRow > 0; }
    bool GetCurrentCell(int& row, int& col) const;
    void SetCurrentCell(int row, int col);
    void ResetCurrentCell() { SetCurrentCell(0, 0); }
    // Told the previous cell when the current cell moves.
    void SetCurrentCellChanged(std::function<void(int oldRow, int oldCol)> changed) {
        m_currentChanged = std::move(changed);
    }

    // The selection list, in the order the ranges were selected.
    const GridRangeList& GetSelection() const { return m_selection; }
    void SetSelection(GridRangeList ranges) { m_selection = std::move(ranges); }
    void AddSelection(const GridRange& range) { m_selection.push_back(range); }
    void ClearSelection() { m_selection.clear(); }

    // Whether a data cell of the row holds the text (ignoring case unless asked).
    bool RowContains(int row, const FindOptions& options) const;
    // The next row after the current one (before it, upwards) that holds the
    // text, from the first (last) row without a current cell; -1 when none. The
    // search does not wrap.
    int FindNext(const FindOptions& options) const;

private:
    std::function<int()> m_rows;
    GridCellText m_cell;
    int m_cols = 0;
    std::map<int, std::string> m_headers;
    std::map<int, int> m_widths;
    int m_currentRow = 0;
    int m_currentCol = 0;
    std::function<void(int, int)> m_currentChanged;
    GridRangeList m_selection;
};

} // namespace tvane
