#pragma once
// Checks that a window shows its texts whole, measured with the font each text
// is drawn in (never with fixed pixels).
#include <string>
#include <vector>

#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

#include "platform/gridview/GridHeaderView.h"
#include "platform/gridview/GridView.h"

namespace tvane::test {

// The header cells of a grid whose text needs more room than the columns
// under them give it.
inline std::vector<std::string> CutHeaders(GridView& grid) {
    std::vector<std::string> cut;
    GridCore& core = grid.Core();
    for (int row = 0; row < core.GetHeaderRowCount(); ++row)
        for (int col = 0; col <= core.GetColCount(); ++col) {
            GridRange span = GridRange::Cells(row, col, row, col);
            core.GetCoveredRange(row, col, span);
            if (span.top != row || span.left != col || grid.isColumnHidden(col))
                continue;
            const GridStyle style = core.GetStyle(row, col);
            int width = 0;
            for (int c = span.left; c <= span.right; ++c)
                width += grid.isColumnHidden(c) ? 0 : grid.columnWidth(c);
            const int text = QFontMetrics(grid.CellFont(style))
                                 .horizontalAdvance(QString::fromStdString(style.Value()));
            if (text + 2 * GridHeaderView::kTextMargin > width)
                cut.push_back(style.Value());
        }
    return cut;
}

// The data cells of a column whose text its width cuts; width, when given,
// in place of the column's shown width (the last column also takes the room
// the window has to spare).
inline std::vector<std::string> CutCells(GridView& grid, int col, int width = -1) {
    if (width < 0)
        width = grid.columnWidth(col);
    std::vector<std::string> cut;
    const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
    GridCore& core = grid.Core();
    for (int row = core.GetFirstDataRow(); row <= core.GetLastRow(); ++row) {
        const GridStyle style = core.GetStyle(row, col);
        const std::string text = core.GetCellText(row, col);
        if (QFontMetrics(grid.CellFont(style)).horizontalAdvance(QString::fromStdString(text)) +
                2 * margin >
            width)
            cut.push_back(text);
    }
    return cut;
}

// The labels of a window whose text is wider than the label or that reach
// past the window's right edge.
inline std::vector<std::string> CutLabels(const QWidget& window) {
    std::vector<std::string> cut;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisibleTo(&window))
            continue;
        const int text = QFontMetrics(label->font()).horizontalAdvance(label->text());
        if (text > label->width() || label->geometry().right() >= window.width())
            cut.push_back(label->text().toStdString());
    }
    return cut;
}

} // namespace tvane::test
