#include "platform/gridview/GridHeaderView.h"

#include <QApplication>
#include <QPainter>

#include "platform/grid/GridCore.h"
#include "platform/gridview/GridQt.h"
#include "platform/gridview/GridTableModel.h"

namespace tvane {

GridHeaderView::GridHeaderView(GridCore& core, GridTableModel& model, QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent), m_core(core), m_model(model) {
    setHighlightSections(false);
    setSectionsClickable(true);
    setDefaultAlignment(Qt::AlignCenter);
}

int GridHeaderView::HeaderRowHeight(int row) const {
    const int set = m_core.GetRowHeight(row);
    if (set > 0)
        return set * m_core.GetZoom() / 100;
    const QFontMetrics metrics(m_model.FontOf(m_core.GetStyle(row, 1)));
    return metrics.height() + 6;
}

QSize GridHeaderView::sizeHint() const {
    QSize size = QHeaderView::sizeHint();
    int height = 0;
    for (int row = 0; row < m_core.GetHeaderRowCount(); ++row)
        height += HeaderRowHeight(row);
    size.setHeight(height);
    return size;
}

bool GridHeaderView::HitTest(const QPoint& pos, int& row, int& col) const {
    col = logicalIndexAt(pos);
    if (col < 0)
        return false;
    int top = 0;
    for (row = 0; row < m_core.GetHeaderRowCount(); ++row) {
        top += HeaderRowHeight(row);
        if (pos.y() < top)
            return true;
    }
    return false;
}

void GridHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    const QPalette& palette = QApplication::palette();
    const QColor line(0x80, 0x80, 0x80);
    const int headerRows = m_core.GetHeaderRowCount();
    std::vector<int> tops(headerRows + 1, rect.top());
    for (int row = 0; row < headerRows; ++row)
        tops[row + 1] = tops[row] + HeaderRowHeight(row);

    for (int row = 0; row < headerRows; ++row) {
        GridRange span = GridRange::Cells(row, logicalIndex, row, logicalIndex);
        m_core.GetCoveredRange(row, logicalIndex, span);
        if (span.top != row)
            continue; // drawn with the row where the covered range starts
        // The span's part that this header shows.
        int left = rect.left(), right = rect.right() + 1;
        for (int col = span.left; col <= span.right; ++col) {
            if (isSectionHidden(col))
                continue;
            const int x = sectionViewportPosition(col);
            left = std::min(left, x);
            right = std::max(right, x + sectionSize(col));
        }
        const QRect cell(left, tops[row], right - left,
                         tops[std::min(span.bottom, headerRows - 1) + 1] - tops[row]);
        const GridStyle style = m_core.GetStyle(span.top, span.left);

        painter->save();
        painter->setClipRect(rect.intersected(cell), Qt::IntersectClip);
        painter->fillRect(cell, style.interior ? ToQColor(*style.interior)
                                               : palette.color(QPalette::Button));
        painter->setPen(line);
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->setFont(m_model.FontOf(style));
        painter->setPen(style.textColor ? ToQColor(*style.textColor)
                                        : palette.color(QPalette::ButtonText));
        painter->drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                          ToQtAlignment(style, GridHAlign::Center),
                          QString::fromUtf8(style.Value().c_str()));
        painter->restore();
    }
}

} // namespace tvane
