#include "graphics/pages/CChannelListBox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>

#include "graphics/GraphPageRules.h"
#include "platform/widgets/QtText.h"

namespace {

class ChannelRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), CChannelListBox::kItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        painter->save();
        const bool enabled = option.state & QStyle::State_Enabled;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& pal = option.palette;
        QColor text = enabled ? pal.color(QPalette::Text) : QColor(128, 128, 128);
        const QColor back = pal.color(QPalette::Base);
        if (text == back)
            text = QColor(192, 192, 192);
        const QRect r = option.rect;
        painter->fillRect(r, back);
        // The number cell: sunken and highlighted for the selected row.
        const QRect cell(r.left(), r.top(), CChannelListBox::kCellWidth, r.height() - 1);
        const bool pressed = enabled && selected;
        painter->fillRect(cell,
                          pressed ? pal.color(QPalette::Highlight) : pal.color(QPalette::Button));
        painter->setPen(pressed ? QColor(128, 128, 128) : QColor(255, 255, 255));
        painter->drawLine(cell.topLeft(), cell.topRight());
        painter->drawLine(cell.topLeft(), cell.bottomLeft());
        painter->setPen(pressed ? QColor(255, 255, 255) : QColor(128, 128, 128));
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->setPen(pressed
                            ? pal.color(QPalette::HighlightedText)
                            : (enabled ? pal.color(QPalette::ButtonText) : QColor(128, 128, 128)));
        painter->drawText(cell.adjusted(3, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          QString::number(index.row() + 1));
        painter->setPen(text);
        const std::string row = tvane::ToUtf8(index.data().toString());
        painter->drawText(QRect(r.left() + 29, r.top() + 4, r.width() - 29, r.height() - 4),
                          Qt::AlignLeft | Qt::AlignTop, tvane::ToQString(graphpage::AfterTab(row)));
        painter->setPen(QColor(128, 128, 128));
        painter->drawLine(r.left(), r.bottom() - 1, r.right(), r.bottom() - 1);
        painter->drawLine(r.left() + CChannelListBox::kCellWidth, r.top(),
                          r.left() + CChannelListBox::kCellWidth, r.bottom());
        painter->restore();
    }
};

} // namespace

CChannelListBox::CChannelListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new ChannelRowDelegate(this));
    setUniformItemSizes(true);
}

void CChannelListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab) {
        focusNextChild();
        return;
    }
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        if (!m_combo || !currentItem())
            return;
        const std::string row = tvane::ToUtf8(currentItem()->text());
        if (!graphpage::HasTab(row))
            return;
        const int found = m_combo->findText(tvane::ToQString(graphpage::AfterTab(row)));
        if (found >= 0)
            m_combo->setCurrentIndex(found);
        m_combo->setFocus();
        QTimer::singleShot(0, m_combo, [combo = m_combo] { combo->showPopup(); });
        return;
    }
    QListWidget::keyPressEvent(event);
}
