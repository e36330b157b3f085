#include "graphics/view/DisplayChildWidget.h"

#include "graphics/view/QtGraphDC.h"

DisplayChildWidget::DisplayChildWidget(QWidget* widget, const GRect& rect) : m_widget(widget) {
    widget->setGeometry(ToQRect(rect));
    widget->show();
}

DisplayChildWidget::~DisplayChildWidget() {
    delete m_widget.data();
}

void DisplayChildWidget::Move(const GRect& rect, bool repaint) {
    if (!m_widget)
        return;
    m_widget->setGeometry(ToQRect(rect));
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
