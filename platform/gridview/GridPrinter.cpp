#include "platform/gridview/GridPrinter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "platform/grid/GridCore.h"
#include "platform/gridview/GridQt.h"

namespace tvane {

namespace {

class PagePrinter {
public:
    PagePrinter(const GridCore& core, QPainter& painter, const QFont& font,
                const GridPrintOptions& options)
        : m_core(core), m_painter(painter), m_font(font), m_options(options) {}

    QFont FontOf(const GridStyle& style) const {
        QFont font = m_options.font ? m_options.font(style) : m_font;
        // Sizes are screen pixels: a point size would be scaled twice.
        if (font.pointSizeF() > 0)
            font.setPixelSize(std::max(1, int(font.pointSizeF() * m_options.screenDpi / 72 + 0.5)));
        return font;
    }
    int RowHeight(int row) const {
        const int set = m_core.GetRowHeight(row);
        if (set > 0)
            return set;
        return QFontMetrics(FontOf(m_core.GetStyle(row, 1))).height() + 6;
    }

    void DrawCell(const QRect& rect, int row, int col, const GridStyle& style, bool header) {
        const QString value = QString::fromUtf8(style.Value().c_str());
        if (style.interior)
            m_painter.fillRect(rect, ToQColor(*style.interior));
        else if (header || col == 0)
            m_painter.fillRect(rect, QColor(0xC0, 0xC0, 0xC0));
        m_painter.setPen(QColor(0x80, 0x80, 0x80));
        m_painter.drawRect(rect.adjusted(0, 0, -1, -1));
        const QString text = !header && m_options.displayText
                                 ? m_options.displayText(row, col, style, value)
                                 : value;
        m_painter.setFont(FontOf(style));
        m_painter.setPen(style.textColor ? ToQColor(*style.textColor) : QColor(Qt::black));
        m_painter.save();
        m_painter.setClipRect(rect);
        m_painter.drawText(
            rect.adjusted(3, 0, -3, 0),
            ToQtAlignment(style, header || col == 0 ? GridHAlign::Center : GridHAlign::Left), text);
        if (!header && m_options.paintOver)
            m_options.paintOver(m_painter, rect, row, col, style, value);
        m_painter.restore();
        if (style.rightBorder) {
            m_painter.setPen(QPen(ToQColor(style.rightBorder->color), style.rightBorder->width));
            m_painter.drawLine(rect.topRight(), rect.bottomRight());
        }
        if (style.bottomBorder) {
            m_painter.setPen(QPen(ToQColor(style.bottomBorder->color), style.bottomBorder->width));
            m_painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        }
    }

    // The header rows over the page's columns; returns their height.
    int DrawHeader(const std::vector<int>& cols, const std::vector<int>& widths) {
        const int headerRows = m_core.GetHeaderRowCount();
        std::vector<int> tops(headerRows + 1, 0);
        for (int row = 0; row < headerRows; ++row)
            tops[row + 1] = tops[row] + RowHeight(row);
        for (int row = 0; row < headerRows; ++row) {
            int x = 0;
            for (std::size_t i = 0; i < cols.size(); x += widths[i], ++i) {
                GridRange span = GridRange::Cells(row, cols[i], row, cols[i]);
                m_core.GetCoveredRange(row, cols[i], span);
                const bool continues = i > 0 && span.Contains(row, cols[i - 1]) &&
                                       cols[i - 1] >= span.left && cols[i - 1] == cols[i] - 1;
                if (span.top != row || continues)
                    continue;
                int width = 0;
                for (std::size_t k = i; k < cols.size() && cols[k] <= span.right; ++k) {
                    if (k > i && cols[k] != cols[k - 1] + 1)
                        break;
                    width += widths[k];
                }
                const int bottom = std::min(span.bottom, headerRows - 1);
                DrawCell(QRect(x, tops[row], width, tops[bottom + 1] - tops[row]), row, cols[i],
                         m_core.GetStyle(span.top, span.left), true);
            }
        }
        return tops[headerRows];
    }

    void DrawRow(int row, int y, const std::vector<int>& cols, const std::vector<int>& widths) {
        const int height = RowHeight(row);
        int x = 0;
        for (std::size_t i = 0; i < cols.size(); x += widths[i], ++i)
            DrawCell(QRect(x, y, widths[i], height), row, cols[i], m_core.GetStyle(row, cols[i]),
                     false);
    }

private:
    const GridCore& m_core;
    QPainter& m_painter;
    QFont m_font;
    const GridPrintOptions& m_options;
};

} // namespace

int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font,
              const GridPrintOptions& options) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    PagePrinter printer(core, painter, font, options);
    const double deviceScale = double(device.logicalDpiX()) / std::max(options.screenDpi, 1);

    std::vector<int> cols, repeated, rest;
    for (int col = 0; col <= core.GetColCount(); ++col) {
        if (core.IsColHidden(col))
            continue;
        cols.push_back(col);
        (col <= core.GetFrozenCols() ? repeated : rest).push_back(col);
    }
    std::vector<int> rows;
    for (int row = core.GetFirstDataRow(); row <= core.GetLastRow(); ++row)
        if (!core.IsRowHidden(row))
            rows.push_back(row);

    // Bands of columns, each printed on its own pages.
    double scale = deviceScale;
    std::vector<std::vector<int>> bands;
    const auto widthOf = [&](const std::vector<int>& list) {
        int total = 0;
        for (int col : list)
            total += core.GetColWidth(col);
        return total;
    };
    if (options.fitToWidth) {
        const int total = widthOf(cols);
        if (total * deviceScale > device.width() && total > 0)
            scale = double(device.width()) / total;
        bands.push_back(cols);
    } else {
        const double pageWidth = device.width() / deviceScale;
        if (widthOf(repeated) >= pageWidth / 2) {
            rest = cols; // no room to repeat them
            repeated.clear();
        }
        const double room = pageWidth - widthOf(repeated);
        std::vector<int> band = repeated;
        double used = 0;
        for (int col : rest) {
            const int width = core.GetColWidth(col);
            if (band.size() > repeated.size() && used + width > room) {
                bands.push_back(band);
                band = repeated;
                used = 0;
            }
            band.push_back(col);
            used += width;
        }
        if (band.size() > repeated.size() || bands.empty())
            bands.push_back(band);
    }

    const double pageHeight = device.height() / scale;
    int pages = 0;
    for (const std::vector<int>& band : bands) {
        std::vector<int> widths;
        for (int col : band)
            widths.push_back(core.GetColWidth(col));
        std::size_t next = 0;
        do {
            if (pages > 0)
                device.newPage();
            ++pages;
            painter.save();
            painter.scale(scale, scale);
            int y = printer.DrawHeader(band, widths);
            const int top = y;
            while (next < rows.size()) {
                const int height = printer.RowHeight(rows[next]);
                if (y > top && y + height > pageHeight)
                    break;
                printer.DrawRow(rows[next], y, band, widths);
                y += height;
                ++next;
            }
            painter.restore();
        } while (next < rows.size());
    }
    painter.end();
    return pages;
}

int PrintGrid(const GridCore& core, QPagedPaintDevice& device, const QFont& font, int screenDpi) {
    GridPrintOptions options;
    options.screenDpi = screenDpi;
    return PrintGrid(core, device, font, options);
}

} // namespace tvane
