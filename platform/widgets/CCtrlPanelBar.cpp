#include "platform/widgets/CCtrlPanelBar.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

QEvent::Type CCtrlPanelBar::CtrlPanelInitEvent::Type() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CCtrlPanelBar::CCtrlPanelBar(QWidget* parent) : QWidget(parent) {
    setContentsMargins(0, 0, 0, 0);
}

bool CCtrlPanelBar::Create(QWidget* parent, std::optional<int> initialValue) {
    if (parent != nullptr && parentWidget() != parent)
        setParent(parent);
    m_initialValue = initialValue;
    if (m_initialValue)
        for (QObject* child : children())
            if (child->isWidgetType()) {
                CtrlPanelInitEvent event(*m_initialValue);
                QCoreApplication::sendEvent(child, &event);
            }
    return true;
}

void CCtrlPanelBar::keyPressEvent(QKeyEvent* event) {
    QWidget* target = parentWidget();
    if (target == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), event->text(),
                   event->isAutoRepeat(), static_cast<ushort>(event->count()));
    QCoreApplication::sendEvent(target, &copy);
}

void CCtrlPanelBar::ForwardMouse(QMouseEvent* event) {
    QWidget* target = parentWidget();
    if (target == nullptr) {
        event->ignore();
        return;
    }
    const QPointF at = mapTo(target, event->position().toPoint());
    QMouseEvent copy(event->type(), at, event->globalPosition(), event->button(), event->buttons(),
                     event->modifiers());
    QCoreApplication::sendEvent(target, &copy);
}

void CCtrlPanelBar::mousePressEvent(QMouseEvent* event) {
    ForwardMouse(event);
}

void CCtrlPanelBar::mouseReleaseEvent(QMouseEvent* event) {
    ForwardMouse(event);
}
