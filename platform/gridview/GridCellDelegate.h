#pragma once
#include <QStyledItemDelegate>

namespace tvane {

class GridView;

// Draws a grid cell from its style: the text its control shows (an edit not
// stored yet shows the edited text), what the control adds (a list button, a
// check box, a row arrow), the cell's own borders, and the current row
// highlighted when the grid asks for it.
class GridCellDelegate final : public QStyledItemDelegate {
public:
    explicit GridCellDelegate(GridView& view);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    GridView& m_view;
};

} // namespace tvane
