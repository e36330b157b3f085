#pragma once
#include <QHeaderView>

namespace tvane {

class GridCore;
class GridTableModel;

// The column header of a grid window: the core's header rows drawn one below
// the other, each covered range of them drawn as one cell (a group header over
// several columns, or one cell over both rows). Each section draws its own
// share of a covered cell, so a group header stays one cell however the
// columns are scrolled, hidden or split between the frozen and scrolling parts.
class GridHeaderView final : public QHeaderView {
    Q_OBJECT
public:
    // The room left between a header's text and each side of its cell.
    static constexpr int kTextMargin = 3;

    GridHeaderView(GridCore& core, GridTableModel& model, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    // The height of one header row at the core's zoom.
    int HeaderRowHeight(int row) const;
    // The header cell under a point of the header; false outside the sections.
    bool HitTest(const QPoint& pos, int& row, int& col) const;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    GridCore& m_core;
    GridTableModel& m_model;
};

} // namespace tvane
