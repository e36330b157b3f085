#include "graphics/displays/strip/TextDisplayView.h"

#include <algorithm>
#include <vector>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "graphics/displays/strip/CTextDisplay.h"
#include "platform/chartview/ChartQt.h"
#include "platform/widgets/FontFamily.h"

namespace {

QFont LabelFont(const CTextDisplay& display) {
    const LOGFONT& lf = display.GetFont().GetLogFont();
    QFont font;
    if (!lf.FaceName().empty())
        font.setFamily(tvane::ResolveFontFamily(lf.FaceName()));
    font.setPixelSize(lf.lfHeight != 0 ? std::abs(lf.lfHeight) : 12);
    if (lf.lfWeight >= 600)
        font.setBold(true);
    return font;
}

// The cells of a row: equal shares of its width while every label's text
// fits its share; otherwise each label as wide as its text, measured in the
// drawing's font, and what is left shared alike, so a text is cut only when
// the row cannot hold them all.
std::vector<tvane::chart::ChartRect> RowCells(CTextDisplay& display,
                                              const tvane::chart::ChartRect& area, int row,
                                              const QFontMetrics& metrics) {
    const int columns = display.Columns();
    std::vector<tvane::chart::ChartRect> cells;
    std::vector<int> needed;
    bool fits = true;
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        cells.push_back(display.CellRect(area, row, c));
        const CLabel* label = display.Label(row, c);
        // A text and two blanks of room beside it.
        const int width =
            label ? metrics.horizontalAdvance(QString::fromStdString(label->Text()) + "  ") : 0;
        needed.push_back(width);
        total += width;
        fits = fits && width <= cells.back().Width();
    }
    if (fits || columns < 1)
        return cells;
    const int room = area.Width();
    int left = area.left;
    for (int c = 0; c < columns; ++c) {
        const int width = total <= room
                              ? needed[static_cast<std::size_t>(c)] + (room - total) / columns
                              : needed[static_cast<std::size_t>(c)] * room / std::max(total, 1);
        tvane::chart::ChartRect& cell = cells[static_cast<std::size_t>(c)];
        cell.left = left;
        cell.right = c + 1 == columns ? area.right : left + width;
        left = cell.right;
    }
    return cells;
}

} // namespace

QFont TextDisplayView::Font(const CTextDisplay& display) {
    return LabelFont(display);
}

TextDisplayView::TextDisplayView(CTextDisplay& display, QWidget* parent)
    : QWidget(parent), m_display(display) {
    m_display.SetRepaint([this](const tvane::chart::ChartRect& r) {
        update(QRect(r.left, r.top, r.Width(), r.Height()));
    });
}

TextDisplayView::~TextDisplayView() {
    m_display.SetRepaint(nullptr);
}

void TextDisplayView::Draw(QPainter& painter, CTextDisplay& display, const QRect& rect) {
    painter.save();
    painter.fillRect(rect, tvane::chart::ToQColor(display.GetBackground()));
    const tvane::chart::ChartRect area =
        display.ApplyMargins({rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1});
    if (display.Rows() > 0) {
        painter.setFont(LabelFont(display));
        for (int r = 0; r < display.Rows(); ++r) {
            if (!display.Label(r, 0))
                break; // a row without labels ends the drawing
            const std::vector<tvane::chart::ChartRect> cells =
                RowCells(display, area, r, painter.fontMetrics());
            for (int c = 0; c < display.Columns(); ++c) {
                CLabel* label = display.Label(r, c);
                if (!label)
                    continue;
                const tvane::chart::ChartRect cell = cells[static_cast<std::size_t>(c)];
                label->cell = cell;
                int flags = Qt::TextSingleLine;
                const std::uint32_t format = label->GetFormat();
                flags |= (format & CLabel::kRight)  ? Qt::AlignRight
                         : (format & CLabel::kLeft) ? Qt::AlignLeft
                                                    : Qt::AlignHCenter;
                flags |= (format & CLabel::kTop) ? Qt::AlignTop : Qt::AlignBottom;
                painter.setPen(tvane::chart::ToQColor(label->GetColour()));
                const QRect box(cell.left, cell.top, cell.Width(), cell.Height());
                painter.setClipRect(box);
                painter.drawText(box, flags, QString::fromStdString(label->Text()));
                painter.setClipping(false);
            }
        }
    }
    painter.restore();
}

void TextDisplayView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(painter, m_display, rect());
}

void TextDisplayView::mousePressEvent(QMouseEvent* event) {
    if (QWidget* parent = parentWidget())
        QCoreApplication::postEvent(parent,
                                    new QMouseEvent(event->type(), mapToParent(event->position()),
                                                    event->globalPosition(), event->button(),
                                                    event->buttons(), event->modifiers()));
}

void TextDisplayView::mouseReleaseEvent(QMouseEvent* event) {
    mousePressEvent(event);
}
