#include "platform/widgets/QtBarTracker.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace tvane {

// The band over the window and its children, inverting what lies under it in
// a 50 % checkerboard.
class TrackerOverlay final : public QWidget {
public:
    explicit TrackerOverlay(QWidget* window) : QWidget(window) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setObjectName("trackerBand");
        hide();
    }
    void SetBand(const QRect& band) {
        setGeometry(parentWidget()->rect());
        m_band = band;
        raise();
        show();
        update();
    }
    QRect Band() const { return m_band; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.fillRect(m_band, QBrush(Qt::white, Qt::Dense4Pattern));
    }

private:
    QRect m_band;
};

namespace {

QRect ToQRect(const TrackRect& r) {
    return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

QtBarTracker::QtBarTracker(QWidget* window, std::function<void(bool moved)> done)
    : QObject(window), m_window(window), m_done(std::move(done)) {}

QtBarTracker::~QtBarTracker() {
    qApp->removeEventFilter(this);
    if (m_tracker.IsTracking()) {
        m_tracker.OnCaptureLost();
        if (m_window && QWidget::mouseGrabber() == m_window)
            m_window->releaseMouse();
    }
}

bool QtBarTracker::Start(const QPoint& start, const std::optional<QRect>& clip) {
    if (!m_window)
        return false;
    QWidget* holder = QWidget::mouseGrabber();
    const bool elsewhere = holder && holder != m_window && !m_window->isAncestorOf(holder);
    std::optional<TrackRect> bounds;
    if (clip)
        bounds = TrackRect{clip->left(), clip->top(), clip->left() + clip->width(),
                           clip->top() + clip->height()};
    if (!m_overlay)
        m_overlay = new TrackerOverlay(m_window);
    if (!m_tracker.BeginTrack({start.x(), start.y()}, elsewhere, this, bounds))
        return false;
    m_window->grabMouse();
    qApp->installEventFilter(this);
    return true;
}

bool QtBarTracker::eventFilter(QObject* watched, QEvent* event) {
    if (!m_tracker.IsTracking())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        return true; // keys do nothing while the bar is dragged
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        if (watched != m_window)
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint p = mouse->position().toPoint();
        if (event->type() == QEvent::MouseMove) {
            m_tracker.OnMouseMove({p.x(), p.y()});
            return true;
        }
        if (mouse->button() != Qt::LeftButton)
            return true;
        Finish(m_tracker.OnButtonUp({p.x(), p.y()}));
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return watched == m_window;
    case QEvent::WindowDeactivate:
    case QEvent::ApplicationDeactivate:
        Finish(m_tracker.OnCaptureLost());
        return false;
    default:
        // Another window took the mouse: over as a release would be.
        if (m_window && QWidget::mouseGrabber() != m_window)
            Finish(m_tracker.OnCaptureLost());
        return false;
    }
}

void QtBarTracker::DrawBand(const TrackRect& band, const std::optional<TrackRect>&) {
    // The overlay repaints whole: the old band goes as the new one comes.
    if (m_overlay)
        m_overlay->SetBand(ToQRect(band));
}

void QtBarTracker::EraseBand(const TrackRect&) {
    if (m_overlay)
        m_overlay->hide();
}

void QtBarTracker::Finish(bool moved) {
    qApp->removeEventFilter(this);
    if (m_window && QWidget::mouseGrabber() == m_window)
        m_window->releaseMouse();
    if (m_done)
        m_done(moved);
}

} // namespace tvane
