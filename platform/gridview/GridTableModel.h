#pragma once
#include <functional>

#include <QAbstractTableModel>
#include <QFont>

#include "platform/grid/GridCore.h"

namespace tvane {

// The grid core's data rows as a table: model row r is grid row
// GetFirstDataRow() + r and model column c is grid column c, so the row header
// column is an ordinary column; the header rows are drawn by GridHeaderView.
// Nothing is copied: each cell's style is asked of the core when it is drawn.
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
    // Tells the views that the cells changed.
    void CellsChanged(int firstRow, int firstCol, int lastRow, int lastCol);

    int GridRow(int modelRow) const { return modelRow + m_core.GetFirstDataRow(); }
    int ModelRow(int gridRow) const { return gridRow - m_core.GetFirstDataRow(); }

    // The drawing font of a style's font at the core's zoom; the view's font
    // when the style sets none.
    void SetFontResolver(std::function<QFont(const GridFont*)> resolver) {
        m_font = std::move(resolver);
    }
    QFont FontOf(const GridStyle& style) const;

private:
    GridCore& m_core;
    int m_rows = 0;
    std::function<QFont(const GridFont*)> m_font;
};

} // namespace tvane
