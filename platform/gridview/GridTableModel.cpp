#include "platform/gridview/GridTableModel.h"

#include <QApplication>
#include <QPalette>

namespace tvane {

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_core.GetColCount() + 1;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(m_core.GetCellText(index.row() + 1, index.column()));
    case Qt::BackgroundRole:
        if (index.column() == 0)
            return QApplication::palette().button();
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == 0)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(m_core.GetCellText(0, section));
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

} // namespace tvane
