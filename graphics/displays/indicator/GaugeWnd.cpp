#include "graphics/displays/indicator/GaugeWnd.h"

#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "graphics/DisplayFamily.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtText.h"

namespace {

QtGaugeWindows g_gaugeWindows;
const displays::Windows<IGaugeWindows>::Registration kGaugeWindows{g_gaugeWindows};

QRect ToGaugeRect(const GRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

std::unique_ptr<IGaugeWindow> QtGaugeWindows::CreateGaugeWindow(IGraphFrameWindow& frame,
                                                                IGaugeWindowClient& client,
                                                                const GRect& rect) {
    QWidget* parent = FrameClientWidget(frame);
    if (!parent)
        return nullptr;
    auto gauge = std::make_unique<GaugeWnd>(client, parent, rect);
    gauge->show();
    return gauge;
}

GaugeWnd::GaugeWnd(IGaugeWindowClient& client, QWidget* frameClient, const GRect& rect)
    : QWidget(frameClient), m_client(client) {
    setObjectName("gauge");
    // The display paints every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    setGeometry(ToGaugeRect(rect));
}

void GaugeWnd::MoveWindow(const GRect& rect, bool repaint) {
    setGeometry(ToGaugeRect(rect));
    if (repaint) {
        Invalidate(nullptr, true);
        Update();
    }
}

GRect GaugeWnd::GetClientRect() const {
    return {0, 0, width(), height()};
}

GRect GaugeWnd::GetRectInFrame() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void GaugeWnd::Invalidate(const GRect* rect, bool) {
    m_repaint.Mark(rect ? ToGaugeRect(rect->Normalized()) : QRect(0, 0, width(), height()));
}

void GaugeWnd::Update() {
    m_repaint.Update();
}

GPoint GaugeWnd::ToFrameClient(GPoint point) const {
    return {point.x + x(), point.y + y()};
}

std::optional<GPoint> GaugeWnd::MeasureText(const LOGFONT& font, const std::string& text) const {
    const QFontMetrics metrics(LogFontToQFont(font));
    return GPoint{metrics.horizontalAdvance(tvane::ToQString(text)), metrics.height()};
}

void GaugeWnd::LayOut() {
    if (width() <= 0 || height() <= 0)
        return;
    // An image of the window's resolution measures text as the screen does.
    QImage image(size(), QImage::Format_RGB32);
    constexpr double kInchesPerMeter = 1.0 / 0.0254;
    image.setDotsPerMeterX(qRound(logicalDpiX() * kInchesPerMeter));
    image.setDotsPerMeterY(qRound(logicalDpiY() * kInchesPerMeter));
    QPainter painter(&image);
    QtGraphDC dc(painter);
    m_client.Paint(dc, GetClientRect());
}

void GaugeWnd::paintEvent(QPaintEvent*) {
    ++m_paints;
    m_repaint.Painting();
    QPainter painter(this);
    QtGraphDC dc(painter);
    m_client.Paint(dc, GetClientRect());
}

void GaugeWnd::mousePressEvent(QMouseEvent* event) {
    const GPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(IGaugeWindowClient::Mouse::LeftDown, p);
    else if (event->button() == Qt::RightButton)
        m_client.OnMouse(IGaugeWindowClient::Mouse::RightDown, p);
    ForwardMouseToFrame(*this, *event);
}

void GaugeWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    const GPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(IGaugeWindowClient::Mouse::LeftDouble, p);
    ForwardMouseToFrame(*this, *event);
}

void GaugeWnd::mouseReleaseEvent(QMouseEvent* event) {
    const GPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
    if (event->button() == Qt::LeftButton)
        m_client.OnMouse(IGaugeWindowClient::Mouse::LeftUp, p);
    ForwardMouseToFrame(*this, *event);
}

void GaugeWnd::mouseMoveEvent(QMouseEvent* event) {
    const GPoint p{event->position().toPoint().x(), event->position().toPoint().y()};
    m_client.OnMouse(IGaugeWindowClient::Mouse::Move, p);
}

void GaugeWnd::keyPressEvent(QKeyEvent* event) {
    if (!m_client.OnKey(event->key(), event->modifiers() & Qt::ShiftModifier))
        event->ignore();
}
