#include "graphics/displays/indicator/RepaintThrottle.h"

#include <algorithm>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

RepaintThrottle::RepaintThrottle(QWidget& widget) : m_widget(widget) {
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, &widget, [this] { m_widget.update(m_dirty); });
}

void RepaintThrottle::Update() {
    if (m_dirty.isEmpty() || m_timer.isActive())
        return;
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kMinRepaintMs;
    m_timer.start(static_cast<int>(std::max<qint64>(0, kMinRepaintMs - since)));
}

void RepaintThrottle::Painting() {
    m_sincePaint.start();
    m_dirty = QRegion();
}

void ForwardMouseToFrame(QWidget& child, const QMouseEvent& event) {
    QWidget* parent = child.parentWidget();
    if (!parent)
        return;
    const QMouseEvent::Type type =
        event.type() == QEvent::MouseButtonDblClick ? QEvent::MouseButtonPress : event.type();
    QCoreApplication::postEvent(parent,
                                new QMouseEvent(type, event.position(), event.scenePosition(),
                                                event.globalPosition(), event.button(),
                                                event.buttons(), event.modifiers()));
}
