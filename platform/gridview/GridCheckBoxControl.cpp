#include "platform/gridview/GridCheckBoxControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "platform/gridview/GridView.h"

namespace tvane {

void GridCheckBoxControl::Toggle() {
    SetActive(true);
    SetCurrentText(IsChecked() ? "0" : "1");
    View().RedrawCell(Row(), Col());
    Toggled();
}

bool GridCheckBoxControl::KeyTyped(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space)
        return false;
    Toggle();
    return true;
}

void GridCheckBoxControl::Clicked(const QPoint&, const QRect&) {
    Toggle();
}

void GridCheckBoxControl::PaintOver(QPainter& painter, const QRect& rect, int, int,
                                    const GridStyle& style, const QString& value, bool) const {
    QStyleOptionButton option;
    option.state = value == "1" ? QStyle::State_On : QStyle::State_Off;
    if (!style.IsReadOnly())
        option.state |= QStyle::State_Enabled;
    const int size = std::min({rect.width() - 2, rect.height() - 2, 13});
    int x = rect.left() + 2;
    if (style.hAlign.value_or(GridHAlign::Left) == GridHAlign::Center)
        x = rect.center().x() - size / 2;
    option.rect = QRect(x, rect.center().y() - size / 2, size, size);
    QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
}

} // namespace tvane
