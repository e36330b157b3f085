#include "graphics/view/CGraphFrameWnd.h"

#include <algorithm>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "graphics/DisplayDrag.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/widgets/QtDragTracker.h"
#include "platform/widgets/QtText.h"

namespace {

// The display's client area: its title band is painted by the frame's model.
class FrameClient final : public QWidget {
public:
    FrameClient(CGraphFrame& frame, QWidget* parent) : QWidget(parent), m_frame(frame) {
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(),
                         ToQColor(m_frame.m_fillBackground ? m_frame.m_backColor : 0x00FFFFFF));
        QtGraphDC dc(painter);
        m_frame.Paint(dc);
    }

private:
    CGraphFrame& m_frame;
};

} // namespace

CGraphFrameWnd::CGraphFrameWnd(CGraphFrame& frame, QWidget* page, const GRect& rect, int id)
    : QWidget(page), m_frame(frame) {
    setObjectName(QString("TvaneGraphFrame %1").arg(id));
    setAutoFillBackground(false);
    setMouseTracking(true);
    m_client = new FrameClient(frame, this);
    m_client->installEventFilter(this);
    m_close = new QToolButton(m_client);
    m_close->setObjectName("close");
    m_close->setText("x");
    m_close->setFocusPolicy(Qt::NoFocus);
    m_close->setAutoRaise(false);
    // The page deletes the display after the click is over.
    connect(m_close, &QToolButton::clicked, this, [this] {
        CGraphFrame* f = &m_frame;
        QTimer::singleShot(0, this, [f] { f->OnCloseButton(); });
    });
    setGeometry(ToQRect(rect));
    LayoutClient();
    // The display passes what is dropped on it to its page.
    tvane::SetDropTarget(this, &frame);
    hide();
}

CGraphFrameWnd::~CGraphFrameWnd() {
    tvane::SetDropTarget(this, nullptr);
    m_client->removeEventFilter(this);
}

bool CGraphFrameWnd::StartDrag() {
    CGraphView* view = m_frame.GetParentView();
    if (!view)
        return false;
    m_drag = Drag::None;
    CDisplayToClipboard object(&m_frame);
    return tvane::BeginDrag(this, displaydrag::kDisplay, object, view->GetDragId());
}

void CGraphFrameWnd::MoveWindow(const GRect& rect, bool repaint) {
    setGeometry(ToQRect(rect));
    if (repaint)
        update();
}

GRect CGraphFrameWnd::GetWindowRect() const {
    return ToGRect(geometry());
}

GRect CGraphFrameWnd::GetClientRect() const {
    return {0, 0, m_client->width(), m_client->height()};
}

GRect CGraphFrameWnd::GetRestingClientRect() const {
    return {0, 0, std::max(0, width() - 2 * kBorder), std::max(0, height() - 2 * kBorder)};
}

GPoint CGraphFrameWnd::ClientOrigin() const {
    const QPoint p = m_client->mapTo(parentWidget(), QPoint(0, 0));
    return {p.x(), p.y()};
}

void CGraphFrameWnd::Redraw(bool) {
    update();
    m_client->update();
    for (QWidget* child : m_client->findChildren<QWidget*>())
        child->update();
}

void CGraphFrameWnd::InvalidateRect(const GRect& rect) {
    m_client->update(ToQRect(rect));
}

void CGraphFrameWnd::SetSelectedLook(bool selected) {
    const bool changed = selected != m_selected;
    m_selected = selected;
    LayoutClient();
    // The sizing border takes from the client area: the display lays out its
    // children again, so they fill it whether it is selected or not.
    if (changed)
        m_frame.OnSize(false);
    if (selected)
        raise();
    update();
}

void CGraphFrameWnd::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

int CGraphFrameWnd::TextWidth(const std::string& text) const {
    return QFontMetrics(LogFontToQFont(m_frame.GetFrameLogFont()))
        .horizontalAdvance(tvane::ToQString(text));
}

void CGraphFrameWnd::LayoutClient() {
    const int b = Border();
    m_client->setGeometry(b, b, std::max(0, width() - 2 * b), std::max(0, height() - 2 * b));
    const int h = m_frame.GetTitleHeight();
    const GPoint pos = graphgeo::TitleButtonPos(graphgeo::TitleBand(GetClientRect(), h), h, 1);
    m_close->setGeometry(pos.x, pos.y, h - 4, h - 4);
    m_close->show();
    UpdateMinimumSize();
}

void CGraphFrameWnd::UpdateMinimumSize() {
    const GPoint min = m_frame.GetMinTrackSize();
    setMinimumSize(min.x + 2 * Border(), min.y + 2 * Border());
}

void CGraphFrameWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QtGraphDC dc(painter);
    const GRect r{0, 0, width(), height()};
    if (m_selected) {
        painter.fillRect(rect(), ToQColor(graphcolor::kSilver));
        Draw3dRect(dc, r, graphcolor::kWhite, graphcolor::kBlack);
    } else {
        Draw3dRect(dc, r, graphcolor::kGrey, graphcolor::kWhite);
        Draw3dRect(dc, r.Deflated(1), graphcolor::kBlack, graphcolor::kSilver);
    }
}

void CGraphFrameWnd::resizeEvent(QResizeEvent* event) {
    LayoutClient();
    // The place a hidden window was given reaches it when it is shown: that
    // is no change of the page's layout.
    m_frame.OnSize(event->oldSize().isValid());
}

void CGraphFrameWnd::moveEvent(QMoveEvent* event) {
    if (event->pos() != event->oldPos())
        m_frame.OnMove();
}

bool CGraphFrameWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_client)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        m_frame.OnLButtonDown();
        if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ControlModifier) &&
            e->position().y() < m_frame.GetTitleHeight()) {
            // Ctrl on the title band drags a copy of the display to another page.
            StartDrag();
            return true;
        }
        if (e->button() == Qt::LeftButton) {
            // The body is the display's caption: dragging it moves the display.
            m_drag = Drag::Move;
            m_dragStart = e->globalPosition().toPoint();
            m_startGeometry = geometry();
        } else if (e->button() == Qt::RightButton) {
            ShowContextMenu(e->globalPosition().toPoint());
        }
        return true;
    }
    case QEvent::MouseMove:
        if (m_drag == Drag::Move) {
            auto* e = static_cast<QMouseEvent*>(event);
            move(m_startGeometry.topLeft() + e->globalPosition().toPoint() - m_dragStart);
            return true;
        }
        return false;
    case QEvent::MouseButtonRelease:
        m_drag = Drag::None;
        return true;
    case QEvent::MouseButtonDblClick:
        if (m_doubleClick)
            m_doubleClick();
        return true;
    default:
        return false;
    }
}

bool CGraphFrameWnd::event(QEvent* event) {
    // A display may take Tab itself, among its child windows, before the
    // focus chain would move it elsewhere on the page.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && m_frame.OnTabKey())
            return true;
    }
    return QWidget::event(event);
}

void CGraphFrameWnd::keyPressEvent(QKeyEvent* event) {
    // Every other key goes on to the page.
    event->ignore();
}

void CGraphFrameWnd::mousePressEvent(QMouseEvent* event) {
    m_frame.OnLButtonDown();
    if (event->button() == Qt::RightButton) {
        ShowContextMenu(event->globalPosition().toPoint());
        return;
    }
    if (!m_selected || event->button() != Qt::LeftButton)
        return;
    const QPoint p = event->position().toPoint();
    m_edges = {};
    if (p.x() < kSizingBorder)
        m_edges |= Qt::LeftEdge;
    if (p.x() >= width() - kSizingBorder)
        m_edges |= Qt::RightEdge;
    if (p.y() < kSizingBorder)
        m_edges |= Qt::TopEdge;
    if (p.y() >= height() - kSizingBorder)
        m_edges |= Qt::BottomEdge;
    if (m_edges) {
        m_drag = Drag::Size;
        m_dragStart = event->globalPosition().toPoint();
        m_startGeometry = geometry();
    }
}

void CGraphFrameWnd::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag != Drag::Size)
        return;
    const QPoint d = event->globalPosition().toPoint() - m_dragStart;
    QRect g = m_startGeometry;
    const QSize min = minimumSize();
    if (m_edges & Qt::LeftEdge)
        g.setLeft(std::min(g.left() + d.x(), g.right() - min.width() + 1));
    if (m_edges & Qt::RightEdge)
        g.setRight(std::max(g.right() + d.x(), g.left() + min.width() - 1));
    if (m_edges & Qt::TopEdge)
        g.setTop(std::min(g.top() + d.y(), g.bottom() - min.height() + 1));
    if (m_edges & Qt::BottomEdge)
        g.setBottom(std::max(g.bottom() + d.y(), g.top() + min.height() - 1));
    setGeometry(g);
}

void CGraphFrameWnd::mouseReleaseEvent(QMouseEvent*) {
    m_drag = Drag::None;
}

QWidget* FrameClientWidget(IGraphFrameWindow& frame) {
    if (auto* window = dynamic_cast<CGraphFrameWnd*>(&frame))
        return window->Client();
    return dynamic_cast<QWidget*>(&frame);
}
