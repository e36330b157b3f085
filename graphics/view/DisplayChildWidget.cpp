#include "graphics/view/DisplayChildWidget.h"

#include <QCoreApplication>
#include <QResizeEvent>

#include "graphics/view/QtGraphDC.h"

namespace {

// A widget of a page not shown yet gets its resize event only when it shows;
// the display's model reads its size before then (a setup saved without
// looking at every page), so the widget hears of its size at once.
void Place(QWidget& widget, const GRect& rect) {
    widget.setGeometry(ToQRect(rect));
    if (widget.testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent resized(widget.size(), QSize());
        QCoreApplication::sendEvent(&widget, &resized);
        widget.setAttribute(Qt::WA_PendingResizeEvent, false);
    }
}

} // namespace

DisplayChildWidget::DisplayChildWidget(QWidget* widget, const GRect& rect) : m_widget(widget) {
    Place(*widget, rect);
    widget->show();
}

DisplayChildWidget::~DisplayChildWidget() {
    delete m_widget.data();
}

void DisplayChildWidget::Move(const GRect& rect, bool repaint) {
    if (!m_widget)
        return;
    Place(*m_widget, rect);
    if (repaint)
        m_widget->update();
}

void DisplayChildWidget::Update() {
    if (m_widget)
        m_widget->update();
}

GRect DisplayChildWidget::RectInFrame() const {
    return m_widget ? ToGRect(m_widget->geometry()) : GRect{};
}
