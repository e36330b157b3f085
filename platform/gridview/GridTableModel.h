#pragma once
#include <QAbstractTableModel>

#include "platform/grid/GridCore.h"

namespace tvane {

// The grid core as a table: model row r is grid row r + 1 and model column c is
// grid column c, so the row header column is an ordinary column. Nothing is
// copied: each cell is asked of the core when it is drawn.
class GridTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(GridCore& core, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_core(core) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Takes the core's row count: rows come and go at the end, so the current
    // cell and the selection of the rows that stay are kept.
    void SyncRowCount();
    // Starts over with the core's rows.
    void Reset();

private:
    GridCore& m_core;
    int m_rows = 0;
};

} // namespace tvane
