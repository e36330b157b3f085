#include "platform/gridview/GridTableModel.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

#include "platform/gridview/GridQt.h"

namespace tvane {

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_core.GetColCount() + 1;
}

QFont GridTableModel::FontOf(const GridStyle& style) const {
    const GridFont* font = style.font ? &*style.font : nullptr;
    return m_font ? m_font(font) : QApplication::font();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const int row = GridRow(index.row());
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::TextAlignmentRole:
    case Qt::FontRole:
        break;
    default:
        return {};
    }
    // An owner's resolved style is read in place; otherwise the style is
    // built once for this role.
    GridStyle built;
    const GridStyle* style = m_core.FindResolvedStyle(row, col);
    if (!style) {
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(m_core.GetCellText(row, col).c_str());
        built = m_core.GetStyle(row, col);
        style = &built;
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromUtf8(style->Value().c_str());
    case Qt::BackgroundRole:
        if (style->interior)
            return ToQColor(*style->interior);
        if (col == 0)
            return QApplication::palette().button();
        return {};
    case Qt::ForegroundRole:
        return style->textColor ? QVariant(ToQColor(*style->textColor)) : QVariant();
    case Qt::TextAlignmentRole:
        return ToQtAlignment(*style, col == 0 ? GridHAlign::Center : GridHAlign::Left);
    default: // Qt::FontRole
        return style->font || m_core.GetZoom() != 100 ? QVariant(FontOf(*style)) : QVariant();
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromUtf8(
            m_core.GetCellText(m_core.GetHeaderRowCount() - 1, section).c_str());
    return section + 1;
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void GridTableModel::SyncRowCount() {
    const int rows = m_core.GetRowCount();
    if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    } else if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    }
}

void GridTableModel::Reset() {
    beginResetModel();
    m_rows = m_core.GetRowCount();
    endResetModel();
}

void GridTableModel::CellsChanged(int firstRow, int firstCol, int lastRow, int lastCol) {
    const int top = std::max(ModelRow(firstRow), 0);
    const int bottom = std::min(ModelRow(lastRow), m_rows - 1);
    const int left = std::max(firstCol, 0);
    const int right = std::min(lastCol, columnCount() - 1);
    if (top <= bottom && left <= right)
        emit dataChanged(index(top, left), index(bottom, right));
}

} // namespace tvane
