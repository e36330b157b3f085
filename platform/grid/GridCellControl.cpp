#include "platform/grid/GridCellControl.h"

#include "platform/grid/GridCore.h"

namespace tvane {

void GridCellControl::Init(int row, int col) {
    m_row = row;
    m_col = col;
    m_text = m_grid.GetCellText(row, col);
    m_modified = false;
    OnTextReplaced();
}

void GridCellControl::SetControlText(const std::string& text) {
    m_text = text;
    OnTextReplaced();
}

void GridCellControl::SetCurrentText(const std::string& text) {
    SetControlText(text);
    m_modified = true;
}

void GridCellControl::TextEdited(const std::string& text) {
    m_text = text;
    m_modified = true;
}

bool GridCellControl::Store() {
    if (!m_modified)
        return true;
    if (!m_grid.SetValueRange(GridRange::Cells(m_row, m_col, m_row, m_col), m_text))
        return false;
    m_modified = false;
    return true;
}

void GridCellControl::Discard() {
    Init(m_row, m_col);
}

} // namespace tvane
