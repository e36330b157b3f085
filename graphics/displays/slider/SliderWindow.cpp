#include "graphics/displays/slider/SliderWindow.h"

#include <algorithm>

#include <QCoreApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "graphics/DisplayFamily.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtText.h"

namespace {

QtSliderWindows g_sliderWindows;
const displays::Windows<ISliderWindows>::Registration kSliderWindows{g_sliderWindows};

QRect ToSliderRect(const GRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

GPoint At(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return {p.x(), p.y()};
}

SliderModel::Key KeyOf(int key) {
    switch (key) {
    case Qt::Key_Left:
        return SliderModel::Key::Left;
    case Qt::Key_Right:
        return SliderModel::Key::Right;
    case Qt::Key_Up:
        return SliderModel::Key::Up;
    case Qt::Key_Down:
        return SliderModel::Key::Down;
    case Qt::Key_PageUp:
        return SliderModel::Key::PageUp;
    case Qt::Key_PageDown:
        return SliderModel::Key::PageDown;
    case Qt::Key_Home:
        return SliderModel::Key::Home;
    case Qt::Key_End:
        return SliderModel::Key::End;
    case Qt::Key_Tab:
        return SliderModel::Key::Tab;
    default:
        return SliderModel::Key::Other;
    }
}

} // namespace

std::unique_ptr<ISliderWindow> QtSliderWindows::CreateSliderWindow(IGraphFrameWindow& frame,
                                                                   ISliderWindowClient& client,
                                                                   const GRect& rect) {
    QWidget* parent = FrameClientWidget(frame);
    if (!parent)
        return nullptr;
    auto slider = std::make_unique<SliderWindow>(client, parent, rect);
    slider->show();
    return slider;
}

SliderWindow::SliderWindow(ISliderWindowClient& client, QWidget* frameClient, const GRect& rect)
    : QWidget(frameClient), m_client(client) {
    setObjectName("slider");
    // The slider paints every pixel itself; what it leaves alone during a
    // drag stays as it was.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(ToSliderRect(rect));
    m_paintTimer.setSingleShot(true);
    connect(&m_paintTimer, &QTimer::timeout, this, &SliderWindow::RepaintNow);
    connect(&m_repeat, &QTimer::timeout, this, &SliderWindow::FireRepeat);
}

void SliderWindow::MoveWindow(const GRect& rect, bool repaint) {
    setGeometry(ToSliderRect(rect));
    if (repaint) {
        Invalidate(nullptr);
        Update();
    }
}

GRect SliderWindow::GetRectInFrame() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void SliderWindow::Invalidate(const GRect* rect) {
    m_dirty += rect ? ToSliderRect(rect->Normalized()) : QRect(0, 0, width(), height());
}

void SliderWindow::Update() {
    if (m_dirty.isEmpty() || m_paintTimer.isActive())
        return;
    const qint64 since = m_sincePaint.isValid() ? m_sincePaint.elapsed() : kMinRepaintMs;
    m_paintTimer.start(static_cast<int>(std::max<qint64>(0, kMinRepaintMs - since)));
}

void SliderWindow::RepaintNow() {
    update(m_dirty);
}

void SliderWindow::StartTimer(int id, int milliseconds) {
    m_repeatId = id;
    m_repeat.start(milliseconds);
}

void SliderWindow::StopTimer(int id) {
    if (id == m_repeatId)
        m_repeat.stop();
}

void SliderWindow::FireRepeat() {
    m_client.OnTimer(m_repeatId);
}

GPoint SliderWindow::CursorPos() const {
    const QPoint p = mapFromGlobal(QCursor::pos());
    return {p.x(), p.y()};
}

std::optional<GPoint> SliderWindow::MeasureText(const LOGFONT& font,
                                                const std::string& text) const {
    const QFontMetrics metrics(LogFontToQFont(font));
    return GPoint{metrics.horizontalAdvance(tvane::ToQString(text)), metrics.height()};
}

bool SliderWindow::event(QEvent* event) {
    // Tab is the slider's key (to the value box), not the page's focus chain.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::event(event);
}

void SliderWindow::paintEvent(QPaintEvent*) {
    m_sincePaint.start();
    m_dirty = QRegion();
    QPainter painter(this);
    QtGraphDC dc(painter);
    m_client.Paint(dc, GetClientRect());
}

void SliderWindow::resizeEvent(QResizeEvent*) {
    m_client.OnSize();
}

void SliderWindow::Forward(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    const QMouseEvent::Type type =
        event->type() == QEvent::MouseButtonDblClick ? QEvent::MouseButtonPress : event->type();
    QCoreApplication::postEvent(parent,
                                new QMouseEvent(type, event->position(), event->scenePosition(),
                                                event->globalPosition(), event->button(),
                                                event->buttons(), event->modifiers()));
}

void SliderWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(ISliderWindowClient::Mouse::LeftDown, At(event));
    else if (event->button() == Qt::RightButton)
        m_client.OnMouse(ISliderWindowClient::Mouse::RightDown, At(event));
    Forward(event);
}

void SliderWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(ISliderWindowClient::Mouse::LeftDouble, At(event));
    Forward(event);
}

void SliderWindow::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(ISliderWindowClient::Mouse::LeftUp, At(event));
    Forward(event);
}

void SliderWindow::mouseMoveEvent(QMouseEvent* event) {
    m_client.OnMouse(ISliderWindowClient::Mouse::Move, At(event));
}

void SliderWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_client.OnEnterKey();
        return;
    }
    if (!m_client.OnKeyDown(KeyOf(event->key())))
        event->ignore();
}

void SliderWindow::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats its press; only the real release ends it.
    if (event->isAutoRepeat())
        return;
    m_client.OnKeyUp();
}

void SliderWindow::focusInEvent(QFocusEvent*) {
    Invalidate(nullptr);
    Update();
}

void SliderWindow::focusOutEvent(QFocusEvent*) {
    // The focus rectangle goes; a press in progress keeps the mouse.
    Invalidate(nullptr);
    Update();
}
