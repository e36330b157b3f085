#include "platform/grid/GridCore.h"

#include <algorithm>
#include <cctype>

#include "platform/grid/GridCellControl.h"

namespace tvane {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

GridCore::GridCore() = default;

GridCore::~GridCore() {
    // Controls may look at the grid while they go.
    m_currentChanged = nullptr;
    m_controls.clear();
}

int GridCore::GetRowCount() const {
    const int rows = m_rows ? m_rows() : 0;
    return rows > 0 ? rows : 0;
}

void GridCore::SetHeaderText(int col, std::string text) {
    SetHeaderText(m_headerRows - 1, col, std::move(text));
}

void GridCore::SetHeaderText(int row, int col, std::string text) {
    m_cellStyles[{row, col}].value = std::move(text);
}

std::string GridCore::GetCellText(int row, int col) const {
    if (row < 0 || col < 0 || col > m_cols || (row >= m_headerRows && row > GetLastRow()))
        return {};
    return GetStyle(row, col).Value();
}

void GridCore::SetCoveredCells(const GridRange& range) {
    m_covered.push_back(range);
}

bool GridCore::GetCoveredRange(int row, int col, GridRange& range) const {
    for (const GridRange& covered : m_covered) {
        if (covered.Contains(row, col)) {
            range = covered;
            return true;
        }
    }
    return false;
}

GridStyle GridCore::GetStyle(int row, int col) const {
    if (const GridStyle* resolved = FindResolvedStyle(row, col))
        return *resolved;
    GridStyle style = m_standard;
    const bool header = row < m_headerRows;
    if (header)
        style.ChangeStyle(m_colHeader);
    else if (col == 0)
        style.ChangeStyle(m_rowHeader);
    if (!header) {
        auto column = m_colStyles.find(col);
        if (column != m_colStyles.end())
            style.ChangeStyle(column->second);
    }
    auto cell = m_cellStyles.find({row, col});
    if (cell != m_cellStyles.end())
        style.ChangeStyle(cell->second);
    if (header || row > GetLastRow())
        return style;
    if (!style.value) {
        if (col == 0) {
            style.value = std::to_string(row - m_headerRows + 1);
        } else {
            std::string text;
            if (m_cell && col <= m_cols && m_cell(row, col, text))
                style.value = std::move(text);
        }
    }
    if (m_styleHook)
        m_styleHook(row, col, style);
    return style;
}

template <class Fn> void GridCore::ForEachCell(const GridRange& range, Fn fn) const {
    const int top = std::max(range.top, 0);
    const int bottom = std::min(range.bottom, GetLastRow());
    const int left = range.wholeRows ? 0 : std::max(range.left, 0);
    const int right = range.wholeRows ? m_cols : std::min(range.right, m_cols);
    for (int row = top; row <= bottom; ++row)
        for (int col = left; col <= right; ++col)
            fn(row, col);
}

bool GridCore::SetStyleRange(const GridRange& range, const GridStyle& style) {
    bool all = true;
    GridStyle withoutValue = style;
    withoutValue.value.reset();
    ForEachCell(range, [&](int row, int col) {
        if (m_lockReadOnly && GetStyle(row, col).IsReadOnly()) {
            all = false;
            return;
        }
        if (style.value && !StoreValue(row, col, *style.value)) {
            all = false;
            return;
        }
        m_cellStyles[{row, col}].ChangeStyle(withoutValue);
    });
    CellsChanged(range);
    return all;
}

void GridCore::ClearStyleRange(const GridRange& range) {
    ForEachCell(range, [&](int row, int col) { m_cellStyles.erase({row, col}); });
    CellsChanged(range);
}

bool GridCore::SetValueRange(const GridRange& range, const std::string& value) {
    bool all = true;
    ForEachCell(range, [&](int row, int col) {
        if (m_lockReadOnly && GetStyle(row, col).IsReadOnly())
            all = false;
        else if (!StoreValue(row, col, value))
            all = false;
    });
    CellsChanged(range);
    return all;
}

bool GridCore::StoreValue(int row, int col, const std::string& value) {
    // An owner that takes the values keeps them; the grid would only shadow
    // what the owner shows next.
    if (row >= m_headerRows && m_storeHook)
        return m_storeHook(row, col, value);
    m_cellStyles[{row, col}].value = value;
    return true;
}

bool GridCore::SetLockReadOnly(bool lock) {
    return std::exchange(m_lockReadOnly, lock);
}

bool GridCore::SetReadOnly(bool readOnly) {
    return std::exchange(m_readOnly, readOnly);
}

bool GridCore::SetInteractive(bool interactive) {
    return std::exchange(m_interactive, interactive);
}

bool GridCore::IsCellEditable(int row, int col) const {
    if (m_readOnly || !IsDataRow(row) || col < 0 || col > m_cols)
        return false;
    const GridStyle style = GetStyle(row, col);
    return !style.IsReadOnly() && GetRegisteredControl(style.ControlId()) != nullptr;
}

void GridCore::SetColWidth(int col, int width) {
    m_param.colWidths[col] = std::max(width, 0);
    LayoutChanged();
}

int GridCore::GetColWidth(int col) const {
    auto it = m_param.colWidths.find(col);
    return it != m_param.colWidths.end() ? it->second : kDefaultColWidth;
}

void GridCore::SetRowHeight(int from, int to, int height) {
    for (int row = from; row <= to; ++row)
        m_rowHeights[row] = std::max(height, 0);
    LayoutChanged();
}

int GridCore::GetRowHeight(int row) const {
    auto it = m_rowHeights.find(row);
    return it != m_rowHeights.end() ? it->second : m_defaultRowHeight;
}

void GridCore::HideCols(int from, int to, bool hide) {
    for (int col = std::max(from, 0); col <= to; ++col) {
        if (hide)
            m_param.hiddenCols.insert(col);
        else
            m_param.hiddenCols.erase(col);
    }
    LayoutChanged();
}

void GridCore::HideRows(int from, int to, bool hide) {
    if (!hide) {
        // Rows may be shown beyond the current count, so take every stored one.
        auto first = m_param.hiddenRows.lower_bound(from);
        auto last = m_param.hiddenRows.upper_bound(to);
        m_param.hiddenRows.erase(first, last);
    } else {
        for (int row = std::max(from, 0); row <= to; ++row)
            m_param.hiddenRows.insert(row);
    }
    LayoutChanged();
}

void GridCore::SetFrozenCols(int count) {
    m_param.frozenCols = std::max(count, 0);
    LayoutChanged();
}

void GridCore::SetZoom(int percent) {
    m_param.zoom = std::clamp(percent, CGridParam::kMinZoom, CGridParam::kMaxZoom);
    LayoutChanged();
}

void GridCore::SetParam(const CGridParam& param) {
    m_param = param;
    m_param.zoom = std::clamp(m_param.zoom, CGridParam::kMinZoom, CGridParam::kMaxZoom);
    LayoutChanged();
}

void GridCore::LayoutChanged() const {
    if (m_layoutChanged)
        m_layoutChanged();
}

void GridCore::CellsChanged(const GridRange& range) const {
    if (m_cellsChanged)
        m_cellsChanged(range);
}

GridCellControl* GridCore::RegisterControl(int id, std::unique_ptr<GridCellControl> control) {
    GridCellControl* raw = control.get();
    m_controls[id] = std::move(control);
    return raw;
}

GridCellControl* GridCore::GetRegisteredControl(int id) const {
    auto it = m_controls.find(id);
    return it != m_controls.end() ? it->second.get() : nullptr;
}

GridCellControl* GridCore::GetControl(int row, int col) const {
    return GetRegisteredControl(GetStyle(row, col).ControlId());
}

GridCellControl* GridCore::GetCurrentCellControl() const {
    return HasCurrentCell() ? GetControl(m_currentRow, m_currentCol) : nullptr;
}

bool GridCore::GetCurrentCell(int& row, int& col) const {
    row = m_currentRow;
    col = m_currentCol;
    return HasCurrentCell();
}

void GridCore::SetCurrentCell(int row, int col) {
    if (row < m_headerRows) {
        row = 0;
        col = 0;
    }
    if (row == m_currentRow && col == m_currentCol)
        return;
    GridCellControl* old = GetCurrentCellControl();
    const int oldRow = m_currentRow, oldCol = m_currentCol;
    if (old != nullptr) {
        old->SetActive(false);
        if (old->IsModified())
            old->Discard();
    }
    m_currentRow = row;
    m_currentCol = col;
    if (GridCellControl* control = GetCurrentCellControl())
        control->Init(row, col);
    if (m_currentChanged)
        m_currentChanged(oldRow, oldCol);
}

bool GridCore::StoreCurrentCell() {
    GridCellControl* control = GetCurrentCellControl();
    if (control == nullptr || !control->IsModified())
        return true;
    m_warning.clear();
    if (!control->OnValidate())
        return false;
    if (!control->Store()) {
        if (m_warning.empty())
            m_warning = "The cell cannot be changed.";
        return false;
    }
    return true;
}

bool GridCore::MoveCurrentCell(int row, int col) {
    if (row == m_currentRow && col == m_currentCol)
        return true;
    if (!StoreCurrentCell())
        return false;
    SetCurrentCell(row, col);
    return true;
}

bool GridCore::IsCellSelected(int row, int col) const {
    return std::any_of(m_selection.begin(), m_selection.end(),
                       [&](const GridRange& range) { return range.Contains(row, col); });
}

bool GridCore::RowContains(int row, const FindOptions& options) const {
    if (options.text.empty())
        return false;
    const std::string wanted = options.matchCase ? options.text : Upper(options.text);
    for (int col = 1; col <= m_cols; ++col) {
        const std::string text = GetCellText(row, col);
        if ((options.matchCase ? text : Upper(text)).find(wanted) != std::string::npos)
            return true;
    }
    return false;
}

int GridCore::FindNext(const FindOptions& options) const {
    const int first = m_headerRows;
    const int last = GetLastRow();
    const int step = options.down ? 1 : -1;
    int row = HasCurrentCell() ? m_currentRow + step : (options.down ? first : last);
    for (; row >= first && row <= last; row += step)
        if (RowContains(row, options))
            return row;
    return -1;
}

} // namespace tvane
