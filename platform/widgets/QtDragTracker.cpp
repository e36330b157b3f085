#include "platform/widgets/QtDragTracker.h"

#include <memory>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include "platform/controls/DragDrop.h"

namespace tvane {

namespace {

constexpr const char* kTargetProperty = "tvaneDropTarget";

QPoint g_dragPoint;

// The widgets as the drag tracker sees windows: the window under a point is
// the nearest widget there that takes part in drags, else the widget itself.
class QtDragWindows final : public QObject, public IDragWindows {
public:
    QtDragWindows(QWidget* source, const QCursor& accept, const QCursor& refuse)
        : m_source(source), m_accept(accept), m_refuse(refuse) {}
    ~QtDragWindows() override {
        if (m_cursorShown)
            QGuiApplication::restoreOverrideCursor();
    }

    void Run(std::uint32_t first, std::uint32_t second) {
        m_tracker = std::make_unique<CDragTracker>(*this, m_source.data(), first, second);
        qApp->installEventFilter(this);
    }
    bool IsActive() const { return m_tracker && m_tracker->IsActive(); }

    Window WindowAt(int x, int y) override {
        QWidget* widget = QApplication::widgetAt(QPoint(x, y));
        for (QWidget* w = widget; w; w = w->parentWidget())
            if (DropTargetOf(w))
                return w;
        return widget;
    }
    long Send(Window window, MessageId id, long long wParam, long long lParam) override {
        auto* widget = static_cast<QWidget*>(const_cast<void*>(window));
        MessageTarget* target = DropTargetOf(widget);
        return target ? MessageBus::Send(*target, {id, wParam, lParam, {}, nullptr}) : 0;
    }
    void ShowCursor(Cursor cursor) override {
        if (cursor == Cursor::Previous) {
            if (m_cursorShown)
                QGuiApplication::restoreOverrideCursor();
            m_cursorShown = false;
            return;
        }
        const QCursor& shape = cursor == Cursor::Accept ? m_accept : m_refuse;
        if (m_cursorShown) {
            QGuiApplication::changeOverrideCursor(shape);
        } else {
            QGuiApplication::setOverrideCursor(shape);
            m_cursorShown = true;
        }
    }
    Window CaptureHolder() override { return QWidget::mouseGrabber(); }
    void TakeCapture(Window) override {
        if (m_source)
            m_source->grabMouse();
    }
    void ReleaseCapture() override {
        if (QWidget* grabber = QWidget::mouseGrabber())
            grabber->releaseMouse();
    }
    void GiveCapture(Window window) override {
        static_cast<QWidget*>(const_cast<void*>(window))->grabMouse();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override;

private:
    void Finish();

    QPointer<QWidget> m_source;
    QCursor m_accept;
    QCursor m_refuse;
    bool m_cursorShown = false;
    std::unique_ptr<CDragTracker> m_tracker;
};

std::unique_ptr<QtDragWindows> g_drag;

bool QtDragWindows::eventFilter(QObject*, QEvent* event) {
    if (!IsActive())
        return false;
    switch (event->type()) {
    case QEvent::MouseMove: {
        g_dragPoint = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        m_tracker->OnMouseMove(g_dragPoint.x(), g_dragPoint.y());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            return true;
        g_dragPoint = mouse->globalPosition().toPoint();
        m_tracker->OnButtonUp();
        Finish();
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::ApplicationDeactivate:
        m_tracker->OnCaptureLost();
        Finish();
        return false;
    default:
        // The source or another window let go of the mouse: nothing is dropped.
        if (QWidget::mouseGrabber() != m_source) {
            m_tracker->OnCaptureLost();
            Finish();
        }
        return false;
    }
}

// The drag is over: the tracker goes once the event that ended it is handled.
void QtDragWindows::Finish() {
    qApp->removeEventFilter(this);
    if (g_drag.get() == this)
        g_drag.release()->deleteLater();
}

} // namespace

void SetDropTarget(QWidget* widget, MessageTarget* target) {
    if (widget)
        widget->setProperty(kTargetProperty,
                            QVariant::fromValue(reinterpret_cast<quintptr>(target)));
}

MessageTarget* DropTargetOf(const QWidget* widget) {
    if (!widget)
        return nullptr;
    return reinterpret_cast<MessageTarget*>(widget->property(kTargetProperty).value<quintptr>());
}

QPoint DragPoint() {
    return g_dragPoint;
}

bool IsDragging() {
    return g_drag && g_drag->IsActive();
}

bool BeginDrag(QWidget* source, std::uint32_t first, CObject& object, std::uint32_t second,
               const QCursor& accept, const QCursor& refuse) {
    if (!source || IsDragging() || !SaveDragObject(object))
        return false;
    g_drag = std::make_unique<QtDragWindows>(source, accept, refuse);
    g_dragPoint = QCursor::pos();
    g_drag->Run(first, second);
    return true;
}

} // namespace tvane
