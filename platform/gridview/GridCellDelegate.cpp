#include "platform/gridview/GridCellDelegate.h"

#include <QApplication>
#include <QPainter>

#include "platform/grid/GridCore.h"
#include "platform/gridview/GridQt.h"
#include "platform/gridview/GridView.h"
#include "platform/gridview/GridWidgetControl.h"

namespace tvane {

GridCellDelegate::GridCellDelegate(GridView& view) : QStyledItemDelegate(&view), m_view(view) {}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const GridCore& core = m_view.Core();
    const int row = index.row() + core.GetFirstDataRow();
    const int col = index.column();
    const GridStyle style = core.GetStyle(row, col);
    const auto* control =
        dynamic_cast<const GridWidgetControl*>(core.GetRegisteredControl(style.ControlId()));
    const QString value = control && control->IsEditing(row, col)
                              ? QString::fromUtf8(control->GetControlText().c_str())
                              : QString::fromUtf8(style.Value().c_str());
    int currentRow = 0, currentCol = 0;
    core.GetCurrentCell(currentRow, currentCol);
    const bool current = row == currentRow && col == currentCol;

    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    item.text = control ? control->DisplayText(value) : value;
    const QPalette& palette = option.palette;
    const bool highlightRow = m_view.HighlightsCurrentRow() && !m_view.IsPrinting() &&
                              row == currentRow && col > 0 && !current;
    if (highlightRow) {
        item.backgroundBrush = palette.brush(QPalette::Highlight);
        item.state &= ~QStyle::State_Selected;
        item.palette.setColor(QPalette::Text, palette.color(QPalette::HighlightedText));
    }
    const QWidget* widget = option.widget;
    QStyle* qstyle = widget ? widget->style() : QApplication::style();
    qstyle->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    if (control)
        control->PaintOver(*painter, option.rect, row, col, style, value, current);

    painter->save();
    if (m_view.HighlightsCurrentRow() && !m_view.IsPrinting() && current && col > 0) {
        painter->setPen(QPen(palette.color(QPalette::Highlight), 2));
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    }
    if (style.rightBorder) {
        painter->setPen(QPen(ToQColor(style.rightBorder->color), style.rightBorder->width));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    }
    if (style.bottomBorder) {
        painter->setPen(QPen(ToQColor(style.bottomBorder->color), style.bottomBorder->width));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    }
    painter->restore();
}

} // namespace tvane
