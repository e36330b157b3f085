#include "platform/grid/GridCore.h"

#include <cctype>

namespace tvane {

namespace {

std::string Upper(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

int GridCore::GetRowCount() const {
    const int rows = m_rows ? m_rows() : 0;
    return rows > 0 ? rows : 0;
}

std::string GridCore::GetCellText(int row, int col) const {
    if (row == 0) {
        auto it = m_headers.find(col);
        return it != m_headers.end() ? it->second : std::string();
    }
    if (col == 0)
        return std::to_string(row);
    std::string text;
    if (!m_cell || row > GetRowCount() || col > m_cols || !m_cell(row, col, text))
        return {};
    return text;
}

int GridCore::GetColWidth(int col) const {
    auto it = m_widths.find(col);
    return it != m_widths.end() ? it->second : kDefaultColWidth;
}

bool GridCore::GetCurrentCell(int& row, int& col) const {
    row = m_currentRow;
    col = m_currentCol;
    return HasCurrentCell();
}

void GridCore::SetCurrentCell(int row, int col) {
    if (row <= 0) {
        row = 0;
        col = 0;
    }
    if (row == m_currentRow && col == m_currentCol)
        return;
    const int oldRow = m_currentRow, oldCol = m_currentCol;
    m_currentRow = row;
    m_currentCol = col;
    if (m_currentChanged)
        m_currentChanged(oldRow, oldCol);
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
    const int rows = GetRowCount();
    const int step = options.down ? 1 : -1;
    int row = HasCurrentCell() ? m_currentRow + step : (options.down ? 1 : rows);
    for (; row >= 1 && row <= rows; row += step)
        if (RowContains(row, options))
            return row;
    return -1;
}

} // namespace tvane
