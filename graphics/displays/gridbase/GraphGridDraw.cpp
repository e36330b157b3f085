#include "graphics/displays/gridbase/GraphGridDraw.h"

#include <algorithm>
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include "graphics/displays/gridbase/GridPages.h"
#include "platform/chartview/ChartQt.h"
#include "platform/grid/GridCore.h"

namespace {

constexpr int kTextMargin = 3;

int RowHeight(const tvane::GridCore& core, int row) {
    const int h = core.GetRowHeight(row);
    return h > 0 ? h : 22;
}

// The columns' widths as drawn: as set, or as wide as a header's text needs
// in the drawing's font (widths are set in pixels of a font the painter may
// not have).
std::vector<int> DrawnWidths(const QPainter& painter, const tvane::GridCore& core) {
    const QFontMetrics metrics = painter.fontMetrics();
    std::vector<int> widths;
    for (int col = 0; col <= core.GetColCount(); ++col) {
        int width = core.IsColHidden(col) ? 0 : core.GetColWidth(col);
        if (width > 0)
            for (int row = 0; row < core.GetHeaderRowCount(); ++row) {
                const std::string text = core.GetStyle(row, col).Value();
                if (!text.empty())
                    width =
                        std::max(width, metrics.horizontalAdvance(QString::fromStdString(text)) +
                                            2 * kTextMargin);
            }
        widths.push_back(width);
    }
    return widths;
}

void DrawRow(QPainter& painter, const tvane::GridCore& core, const std::vector<int>& widths,
             int row, int top, int height, const QRect& rect) {
    int x = rect.left();
    int lastVisible = 0;
    for (int col = 0; col <= core.GetColCount(); ++col) {
        if (widths[static_cast<std::size_t>(col)] > 0)
            lastVisible = col;
    }
    for (int col = 0; col <= core.GetColCount() && x < rect.right(); ++col) {
        int width = widths[static_cast<std::size_t>(col)];
        if (col == lastVisible)
            width = std::max(width, rect.right() - x); // the last column fills the width
        if (width <= 0)
            continue;
        const QRect cell(x, top, width, height);
        const tvane::GridStyle style = core.GetStyle(row, col);
        painter.fillRect(cell, style.interior ? tvane::chart::ToQColor(
                                                    static_cast<std::int32_t>(*style.interior))
                                              : QColor(Qt::white));
        painter.setPen(QColor(128, 128, 128));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        painter.setPen(style.textColor
                           ? tvane::chart::ToQColor(static_cast<std::int32_t>(*style.textColor))
                           : QColor(Qt::black));
        painter.drawText(cell.adjusted(kTextMargin, 0, -kTextMargin, 0),
                         Qt::AlignVCenter | Qt::AlignLeft, QString::fromStdString(style.Value()));
        x += width;
    }
}

} // namespace

int DrawGridRows(QPainter& painter, const tvane::GridCore& core, const QRect& rect, int first,
                 const QFont& font) {
    painter.save();
    painter.setClipRect(rect);
    painter.setFont(font);
    const std::vector<int> widths = DrawnWidths(painter, core);
    int y = rect.top();
    for (int row = 0; row < core.GetHeaderRowCount(); ++row) {
        const int h = RowHeight(core, row);
        DrawRow(painter, core, widths, row, y, h, rect);
        y += h;
    }
    int last = first - 1;
    for (int row = std::max(first, core.GetFirstDataRow()); row <= core.GetLastRow(); ++row) {
        if (core.IsRowHidden(row))
            continue;
        const int h = RowHeight(core, row);
        // A row whose bottom edge lies outside is not drawn, except the first.
        if (y + h > rect.bottom() + 1 && last >= first)
            break;
        DrawRow(painter, core, widths, row, y, h, rect);
        y += h;
        last = row;
    }
    painter.restore();
    return last;
}

int PrintGridByRows(const tvane::GridCore& core, QPagedPaintDevice& device, const QFont& font) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const QRect page(0, 0, device.width(), device.height());
    // The grid's screen pixels scaled to the page's width.
    painter.setFont(font);
    int width = 0;
    for (int w : DrawnWidths(painter, core))
        width += w;
    const double scale = width > 0 ? std::min(4.0, double(page.width()) / width) : 1.0;
    painter.scale(scale, scale);
    const QRect area(0, 0, int(page.width() / scale), int(page.height() / scale));
    int header = 0;
    for (int row = 0; row < core.GetHeaderRowCount(); ++row)
        header += RowHeight(core, row);
    const int perPage =
        gridpages::RowsPerPage(area.height(), header, RowHeight(core, core.GetFirstDataRow()));
    const int pages = gridpages::PageCount(core.GetRowCount(), perPage);
    int first = core.GetFirstDataRow();
    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            device.newPage();
        const int last = DrawGridRows(painter, core, area, first, font);
        first = std::max(last + 1, first + 1);
    }
    painter.end();
    return pages;
}
