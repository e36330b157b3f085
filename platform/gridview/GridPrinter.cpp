#include "platform/gridview/GridPrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "platform/grid/GridCore.h"

namespace tvane {

int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font, int screenDpi) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const int cols = core.GetColCount();
    const int rows = core.GetRowCount();
    const double pageWidth = device.width();
    const double pageHeight = device.height();

    double scale = double(device.logicalDpiX()) / (screenDpi > 0 ? screenDpi : 96);
    double total = 0;
    for (int col = 0; col <= cols; ++col)
        total += core.GetColWidth(col) * scale;
    if (total > pageWidth && total > 0)
        scale *= pageWidth / total;
    std::vector<double> widths;
    for (int col = 0; col <= cols; ++col)
        widths.push_back(core.GetColWidth(col) * scale);

    QFont printFont(font);
    painter.setFont(printFont);
    const double rowHeight = QFontMetricsF(printFont, &device).height() * 1.4;
    const int rowsPerPage = std::max(1, int(pageHeight / rowHeight) - 1);
    const double pad = rowHeight * 0.15;

    auto drawRow = [&](int row, double y) {
        double x = 0;
        for (int col = 0; col <= cols; ++col) {
            const QRectF cell(x, y, widths[col], rowHeight);
            if (row == 0 || col == 0)
                painter.fillRect(cell, QColor(0xE0, 0xE0, 0xE0));
            painter.drawRect(cell);
            const int flags = (col == 0 ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
            painter.drawText(cell.adjusted(pad, 0, -pad, 0), flags,
                             QString::fromStdString(core.GetCellText(row, col)));
            x += widths[col];
        }
    };

    int pages = 1;
    drawRow(0, 0);
    double y = rowHeight;
    int onPage = 0;
    for (int row = 1; row <= rows; ++row) {
        if (onPage == rowsPerPage) {
            device.newPage();
            ++pages;
            drawRow(0, 0);
            y = rowHeight;
            onPage = 0;
        }
        drawRow(row, y);
        y += rowHeight;
        ++onPage;
    }
    painter.end();
    return pages;
}

} // namespace tvane
