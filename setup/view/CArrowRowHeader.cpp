#include "setup/view/CArrowRowHeader.h"

#include <QPainter>

#include "platform/grid/GridCore.h"
#include "platform/gridview/GridQt.h"
#include "platform/gridview/GridView.h"

void CArrowRowHeader::PaintOver(QPainter& painter, const QRect& rect, int row, int,
                                const tvane::GridStyle& style, const QString&, bool) const {
    int currentRow = 0, currentCol = 0;
    if (View().IsPrinting() || !Grid().GetCurrentCell(currentRow, currentCol) ||
        row != currentRow || rect.width() < 10 || rect.height() < 10)
        return;
    // Five vertical lines, 9 to 1 pixels high, centred on the middle: a small
    // triangle pointing right.
    painter.save();
    painter.setPen(style.textColor ? tvane::ToQColor(*style.textColor) : QColor(Qt::black));
    const int middle = rect.top() + rect.height() / 2;
    for (int i = 0; i < 5; ++i) {
        const int x = rect.right() - 8 + i;
        const int height = 9 - 2 * i;
        const int top = middle - 4 + i;
        painter.drawLine(x, top, x, top + height - 1);
    }
    painter.restore();
}
