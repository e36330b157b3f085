#include "platform/widgets/CQmxSpinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QTimer>

namespace tvane {

CQmxSpinButton::CQmxSpinButton(QWidget* parent) : QWidget(parent), m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CQmxSpinButton::RepeatTick);
    setFocusPolicy(Qt::NoFocus);
}

CQmxSpinButton::~CQmxSpinButton() = default;

MessageId CQmxSpinButton::UpDownSpinMessage() {
    static const MessageId id = MessageBus::Register("QMN_UpDownSpin");
    return id;
}

bool CQmxSpinButton::Create(QWidget* parent, const QRect& rect, int identifier) {
    setParent(parent);
    setGeometry(rect);
    m_model.SetIdentifier(identifier);
    m_notify = dynamic_cast<MessageTarget*>(parent);
    SetBuddy(nullptr);
    show();
    return true;
}

bool CQmxSpinButton::SetBuddy(QWidget* buddy) {
    m_buddy = buddy;
    if (buddy == nullptr)
        return false;
    if (parentWidget() != buddy->parentWidget())
        setParent(buddy->parentWidget());
    const QRect area = buddy->geometry();
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 1;
    int left = area.right() + 1 - width;
    if (left < 0)
        left = area.left();
    setGeometry(left, area.top(), area.right() + 1 - left, area.height());
    buddy->setGeometry(area.left(), area.top(), left + 2 - area.left(), area.height());
    raise();
    update();
    buddy->update();
    return true;
}

MessageTarget* CQmxSpinButton::SetNotifyWindow(MessageTarget* target) {
    return std::exchange(m_notify, target);
}

void CQmxSpinButton::Notify(const std::optional<SpinNotification>& step) {
    if (!step)
        return;
    update();
    if (m_notify != nullptr)
        MessageBus::Send(*m_notify, {UpDownSpinMessage(), m_model.GetIdentifier(), 0, {}, &*step});
}

void CQmxSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_timer->stop();
    grabMouse();
    Notify(m_model.Press(InUpperHalf(event->position().toPoint())));
    m_timer->start(m_model.RepeatDelay());
}

void CQmxSpinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CQmxSpinButton::RepeatTick() {
    if (!m_model.IsTimerRunning())
        return;
    Notify(m_model.Tick());
    m_timer->start(m_model.RepeatDelay());
}

void CQmxSpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!m_model.IsPressed())
        return;
    const QPoint pos = event->position().toPoint();
    const bool upperPressed = (m_model.GetState() & SpinButtonModel::kUpper) != 0;
    if (!m_model.Move(rect().contains(pos), InUpperHalf(pos) == upperPressed))
        EndPress();
}

void CQmxSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        EndPress();
}

void CQmxSpinButton::EndPress() {
    emit buttonReleased();
    releaseMouse();
    m_timer->stop();
    if (m_model.Release())
        update();
}

void CQmxSpinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        m_model.SetEnabled(isEnabled());
        if (!isEnabled() && m_model.IsPressed()) {
            // A press cannot outlive the button being disabled.
            Notify(m_model.Cancel());
            m_timer->stop();
            releaseMouse();
        }
        update();
    }
    QWidget::changeEvent(event);
}

void CQmxSpinButton::showEvent(QShowEvent* event) {
    m_model.SetVisible(true);
    QWidget::showEvent(event);
}

void CQmxSpinButton::hideEvent(QHideEvent* event) {
    m_model.SetVisible(false);
    if (m_model.IsPressed()) {
        Notify(m_model.Cancel());
        m_timer->stop();
        releaseMouse();
    }
    QWidget::hideEvent(event);
}

void CQmxSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& palette = this->palette();
    const QColor face = palette.color(QPalette::Button);
    const QColor text = palette.color(QPalette::ButtonText);
    const QColor shadow = palette.color(QPalette::Dark);
    const QColor light = palette.color(QPalette::Light);
    const QColor frame = palette.color(QPalette::WindowText);
    const unsigned state = m_model.GetState();
    const bool disabled = (state & SpinButtonModel::kDisabled) != 0;

    QRect area = rect();
    painter.fillRect(area, face);
    painter.setPen(frame);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.drawLine(area.left(), area.top() + 1, area.right(), area.top() + 1);
    painter.setPen(shadow);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.setPen(face);
    painter.drawLine(area.left(), area.bottom() - 2, area.right(), area.bottom() - 2);
    painter.setPen(light);
    painter.drawLine(area.topRight(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    if (m_buddy != nullptr) {
        painter.drawLine(area.left(), area.top() + 2, area.left(), area.bottom() - 2);
        area.adjust(1, 1, -1, -1);
    }

    const int middle = area.top() + area.height() / 2;
    painter.setPen(face);
    painter.drawLine(area.left(), middle, area.right(), middle);
    const QRect halves[2] = {
        QRect(QPoint(area.left(), area.top()), QPoint(area.right(), middle - 1)),
        QRect(QPoint(area.left(), middle + 1), area.bottomRight())};
    for (int i = 0; i < 2; ++i) {
        const QRect half = halves[i].adjusted(1, 1, -1, -1);
        const bool pressed =
            (state & (i == 0 ? SpinButtonModel::kUpper : SpinButtonModel::kLower)) != 0 &&
            (state & SpinButtonModel::kOutside) == 0;
        if (pressed) {
            painter.setPen(shadow);
            painter.drawLine(half.topLeft(), half.topRight());
            painter.drawLine(half.topLeft(), half.bottomLeft());
        } else {
            painter.setPen(light);
            painter.drawLine(half.topLeft(), half.topRight());
            painter.drawLine(half.topLeft(), half.bottomLeft());
            painter.setPen(shadow);
            painter.drawLine(half.bottomLeft(), half.bottomRight());
            painter.drawLine(half.left(), half.bottom() - 1, half.right(), half.bottom() - 1);
            painter.drawLine(half.topRight(), half.bottomRight());
            painter.drawLine(half.right() - 1, half.top(), half.right() - 1, half.bottom());
        }
        // A triangle 7 pixels wide and 4 high, centred; a pressed one sits one
        // pixel right and down.
        const int shift = pressed ? 1 : 0;
        const int cx = half.left() + half.width() / 2 + shift;
        const int cy = half.top() + half.height() / 2 + shift;
        const QPolygon arrow =
            i == 0 ? QPolygon({QPoint(cx - 3, cy + 2), QPoint(cx + 3, cy + 2), QPoint(cx, cy - 1)})
                   : QPolygon({QPoint(cx - 3, cy - 1), QPoint(cx + 3, cy - 1), QPoint(cx, cy + 2)});
        if (disabled) {
            // Engraved: outlines only, the lower arrow's tip in the light colour.
            painter.setPen(text);
            painter.setBrush(Qt::NoBrush);
            painter.drawLine(arrow[0], arrow[2]);
            painter.setPen(light);
            painter.drawLine(arrow[1], arrow[2]);
            if (i == 1)
                painter.drawPoint(arrow[2]);
        } else {
            painter.setPen(text);
            painter.setBrush(text);
            painter.drawPolygon(arrow);
        }
    }
}

} // namespace tvane
