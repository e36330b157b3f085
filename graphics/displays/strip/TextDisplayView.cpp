#include "graphics/displays/strip/TextDisplayView.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include "graphics/displays/strip/CTextDisplay.h"
#include "platform/chartview/ChartQt.h"
#include "platform/widgets/FontFamily.h"

namespace {

QFont DisplayFont(const CTextDisplay& display) {
    const LOGFONT& lf = display.GetFont().GetLogFont();
    QFont font;
    if (!lf.FaceName().empty())
        font.setFamily(tvane::ResolveFontFamily(lf.FaceName()));
    font.setPixelSize(lf.lfHeight != 0 ? std::abs(lf.lfHeight) : 12);
    if (lf.lfWeight >= 600)
        font.setBold(true);
    return font;
}

} // namespace

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
        painter.setFont(DisplayFont(display));
        for (int r = 0; r < display.Rows(); ++r) {
            if (!display.Label(r, 0))
                break; // a row without labels ends the drawing
            for (int c = 0; c < display.Columns(); ++c) {
                CLabel* label = display.Label(r, c);
                if (!label)
                    continue;
                const tvane::chart::ChartRect cell = display.CellRect(area, r, c);
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
