#include "platform/widgets/MfxCursor.h"

#include <QGuiApplication>

namespace tvane {

CMfxWaitCursor::CMfxWaitCursor(QWidget* window) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_shown = true;
    }
    if (window) {
        m_window = window;
        window->grabMouse();
    }
}

CMfxWaitCursor::~CMfxWaitCursor() {
    if (m_shown)
        QGuiApplication::restoreOverrideCursor();
    if (m_window && QWidget::mouseGrabber() == m_window)
        m_window->releaseMouse();
}

std::optional<QCursor> LoadSystemCursor(Qt::CursorShape shape) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return std::nullopt;
    return QCursor(shape);
}

} // namespace tvane
