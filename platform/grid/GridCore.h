#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "platform/grid/CGridParam.h"
#include "platform/grid/GridRange.h"
#include "platform/grid/GridStyle.h"

namespace tvane {

class GridCellControl;

// The grid without a window. It keeps no data rows of its own but asks its
// owner for the row count and each cell's text, so a grid over a long list
// costs nothing until it is drawn. It holds the header rows and their covered
// (spanned) cells, the styles, the layout that is kept in files (CGridParam:
// widths, hidden rows and columns, zoom, frozen columns), the current cell with
// its registered cell control and the edit protocol, the selection list, and
// searches rows for a text.
//
// Coordinates: rows 0 to GetHeaderRowCount() - 1 are header rows, data rows
// follow up to GetLastRow(); column 0 is the row header column, data columns
// are 1 to GetColCount().
class GridCore {
public:
    struct FindOptions {
        std::string text;
        bool matchCase = false;
        bool down = true;
    };
    // The owner's last word on a cell's style (data rows only): it may set the
    // value, colours or control of the cell as it is drawn or read.
    using StyleHook = std::function<void(int row, int col, GridStyle& style)>;
    // Asked before a value is stored into a data cell; false refuses it.
    using StoreHook = std::function<bool(int row, int col, const std::string& value)>;

    GridCore();
    ~GridCore();
    GridCore(const GridCore&) = delete;
    GridCore& operator=(const GridCore&) = delete;

    // The number of data rows.
    void SetRowCountSource(std::function<int()> rows) { m_rows = std::move(rows); }
    void SetCellTextSource(GridCellText cell) { m_cell = std::move(cell); }
    // The number of data columns (columns 1 to n).
    void SetColCount(int count) { m_cols = count; }
    int GetRowCount() const;
    int GetColCount() const { return m_cols; }

    void SetHeaderRowCount(int rows) { m_headerRows = rows < 1 ? 1 : rows; }
    int GetHeaderRowCount() const { return m_headerRows; }
    int GetFirstDataRow() const { return m_headerRows; }
    int GetLastRow() const { return m_headerRows + GetRowCount() - 1; }
    bool IsDataRow(int row) const { return row >= m_headerRows && row <= GetLastRow(); }

    // The text of a header cell; the one-argument form names the last header
    // row (the column header row).
    void SetHeaderText(int col, std::string text);
    void SetHeaderText(int row, int col, std::string text);
    // The cell's text (its style's value): header texts, the row number in
    // column 0 of a data row, else what the owner gives; failed reads are empty.
    std::string GetCellText(int row, int col) const;

    // Covered cells: a range shown as one cell with the text of its top-left.
    void SetCoveredCells(const GridRange& range);
    void ClearCoveredCells() { m_covered.clear(); }
    const GridRangeList& GetCoveredCells() const { return m_covered; }
    // The covered range holding the cell; false when the cell stands alone.
    bool GetCoveredRange(int row, int col, GridRange& range) const;

    // Styles. A cell's style is the standard style, then the column header
    // style (header rows) or the row header style (column 0 of data rows), then
    // the column's style (data rows), the cell's own style and, for data rows,
    // the owner's style hook.
    GridStyle& StandardStyle() { return m_standard; }
    GridStyle& ColHeaderStyle() { return m_colHeader; }
    GridStyle& RowHeaderStyle() { return m_rowHeader; }
    void SetColStyle(int col, const GridStyle& style) { m_colStyles[col] = style; }
    void SetStyleHook(StyleHook hook) { m_styleHook = std::move(hook); }
    // An owner that keeps every data cell's style resolved from its own rows
    // (and resolves it again only when a row changes) hands the styles out by
    // reference; a cell it answers for is drawn and read as it gives it, with
    // no style laid over another for each role of each paint. Null: the cell
    // is built as above.
    using ResolvedStyles = std::function<const GridStyle*(int row, int col)>;
    void SetResolvedStyles(ResolvedStyles styles) { m_resolved = std::move(styles); }
    const GridStyle* FindResolvedStyle(int row, int col) const {
        return m_resolved && IsDataRow(row) && col >= 0 && col <= m_cols ? m_resolved(row, col)
                                                                         : nullptr;
    }
    GridStyle GetStyle(int row, int col) const;
    // Lays the style over the cells' own styles. A value in it is stored as by
    // SetValueRange. With read-only protection on, read-only cells refuse the
    // change; false when any cell refused.
    bool SetStyleRange(const GridRange& range, const GridStyle& style);
    // Drops the cells' own styles.
    void ClearStyleRange(const GridRange& range);
    // Stores a value. Data cells of a grid with a store hook hand it to the
    // owner, who keeps it; false when any cell refused.
    bool SetValueRange(const GridRange& range, const std::string& value);
    void SetStoreHook(StoreHook hook) { m_storeHook = std::move(hook); }
    // Read-only protection, on by default; returns the previous setting.
    bool SetLockReadOnly(bool lock);
    bool IsLockReadOnly() const { return m_lockReadOnly; }
    // The whole grid refuses editing; returns the previous setting.
    bool SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_readOnly; }
    // A data cell the user may edit: the grid is not read-only, the cell is not
    // read-only and it has a control.
    bool IsCellEditable(int row, int col) const;

    // Layout. Widths in pixels at zoom 100; columns without one use the default.
    void SetColWidth(int col, int width);
    int GetColWidth(int col) const;
    static constexpr int kDefaultColWidth = 64;
    // Row heights in pixels at zoom 100; 0 leaves the row to the window.
    void SetRowHeight(int from, int to, int height);
    int GetRowHeight(int row) const;
    void SetDefaultRowHeight(int height) { m_defaultRowHeight = height; }
    void HideCols(int from, int to, bool hide = true);
    void HideRows(int from, int to, bool hide = true);
    bool IsColHidden(int col) const { return m_param.hiddenCols.count(col) != 0; }
    bool IsRowHidden(int row) const { return m_param.hiddenRows.count(row) != 0; }
    // Columns after the row header column that stay in place while the grid
    // scrolls sideways (the header rows always stay).
    void SetFrozenCols(int count);
    int GetFrozenCols() const { return m_param.frozenCols; }
    // Percent, kept within the layout's bounds.
    void SetZoom(int percent);
    int GetZoom() const { return m_param.zoom; }
    // The layout kept in files.
    const CGridParam& GetParam() const { return m_param; }
    void SetParam(const CGridParam& param);
    // Told whenever the layout changes, so a window can follow.
    void SetLayoutChanged(std::function<void()> changed) { m_layoutChanged = std::move(changed); }
    // Told the cells whose style or value was stored.
    void SetCellsChanged(std::function<void(const GridRange&)> changed) {
        m_cellsChanged = std::move(changed);
    }

    // Cell controls by control id; the grid owns them. Registering an id again
    // replaces the control.
    GridCellControl* RegisterControl(int id, std::unique_ptr<GridCellControl> control);
    GridCellControl* GetRegisteredControl(int id) const;
    // The control named by the cell's style; null for static cells.
    GridCellControl* GetControl(int row, int col) const;
    GridCellControl* GetCurrentCellControl() const;

    // The current cell; no current cell when the row is not a data row.
    bool HasCurrentCell() const { return m_currentRow > 0; }
    bool GetCurrentCell(int& row, int& col) const;
    // Moves the current cell unconditionally: the control of the cell left is
    // deactivated (an edit not stored is dropped) and the new cell's control
    // is loaded.
    void SetCurrentCell(int row, int col);
    void ResetCurrentCell() { SetCurrentCell(0, 0); }
    // Validates and stores the current cell's edit; false when the control
    // refuses the text or the grid refuses the value: the edit stays and
    // GetWarningText says why. Without an edit there is nothing to refuse.
    bool StoreCurrentCell();
    // Leaves the current cell only when its edit is stored (StoreCurrentCell);
    // false when it stays.
    bool MoveCurrentCell(int row, int col);
    // Told the previous cell when the current cell moves.
    void SetCurrentCellChanged(std::function<void(int oldRow, int oldCol)> changed) {
        m_currentChanged = std::move(changed);
    }
    // Whether a user is there to answer a control's question while it
    // validates (on by default; off while validating for a download).
    bool SetInteractive(bool interactive);
    bool IsInteractive() const { return m_interactive; }
    // Why the last edit was refused.
    void SetWarningText(std::string text) { m_warning = std::move(text); }
    const std::string& GetWarningText() const { return m_warning; }

    // The selection list, in the order the ranges were selected.
    const GridRangeList& GetSelection() const { return m_selection; }
    void SetSelection(GridRangeList ranges) { m_selection = std::move(ranges); }
    void AddSelection(const GridRange& range) { m_selection.push_back(range); }
    void ClearSelection() { m_selection.clear(); }
    bool IsCellSelected(int row, int col) const;

    // Whether a data cell of the row holds the text (ignoring case unless asked).
    bool RowContains(int row, const FindOptions& options) const;
    // The next row after the current one (before it, upwards) that holds the
    // text, from the first (last) row without a current cell; -1 when none. The
    // search does not wrap.
    int FindNext(const FindOptions& options) const;

private:
    void LayoutChanged() const;
    void CellsChanged(const GridRange& range) const;
    // Every cell of the range that exists, in order.
    template <class Fn> void ForEachCell(const GridRange& range, Fn fn) const;
    bool StoreValue(int row, int col, const std::string& value);

    std::function<int()> m_rows;
    GridCellText m_cell;
    int m_cols = 0;
    int m_headerRows = 1;
    GridRangeList m_covered;
    GridStyle m_standard;
    GridStyle m_colHeader;
    GridStyle m_rowHeader;
    std::map<int, GridStyle> m_colStyles;
    std::map<std::pair<int, int>, GridStyle> m_cellStyles;
    StyleHook m_styleHook;
    ResolvedStyles m_resolved;
    StoreHook m_storeHook;
    bool m_lockReadOnly = true;
    bool m_readOnly = false;
    CGridParam m_param;
    std::map<int, int> m_rowHeights;
    int m_defaultRowHeight = 0;
    std::function<void()> m_layoutChanged;
    std::function<void(const GridRange&)> m_cellsChanged;
    std::map<int, std::unique_ptr<GridCellControl>> m_controls;
    int m_currentRow = 0;
    int m_currentCol = 0;
    std::function<void(int, int)> m_currentChanged;
    std::string m_warning;
    bool m_interactive = true;
    GridRangeList m_selection;
};

} // namespace tvane
