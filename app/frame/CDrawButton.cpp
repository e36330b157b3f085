#include "app/frame/CDrawButton.h"

#include <QPainter>

#include "app/DrawButtonState.h"

CDrawButton::CDrawButton(QWidget* parent) : QAbstractButton(parent) {}

QColor CDrawButton::ToQColor(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

void CDrawButton::DrawBevel(QPainter& p, const QRect& r, bool sunken) {
    const QColor white(255, 255, 255), black(0, 0, 0), light(192, 192, 192), dark(128, 128, 128);
    auto line = [&](int inset, QColor topLeft, QColor bottomRight) {
        const QRect in = r.adjusted(inset, inset, -inset, -inset);
        p.fillRect(QRect(in.left(), in.top(), in.width(), 1), topLeft);
        p.fillRect(QRect(in.left(), in.top(), 1, in.height()), topLeft);
        p.fillRect(QRect(in.left(), in.bottom(), in.width(), 1), bottomRight);
        p.fillRect(QRect(in.right(), in.top(), 1, in.height()), bottomRight);
    };
    if (sunken) {
        line(1, black, white);
        line(2, dark, light);
    } else {
        line(1, white, black);
        line(2, light, dark);
    }
}

void CDrawButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(Qt::black);
    p.setBrush(ToQColor(m_background));
    p.drawRect(r);
    DrawBevel(p, r, true);
    DrawContent(p);
}

void CDrawButton::DrawContent(QPainter&) {}

void CDrawButton::Serialize(tvane::CArchive& ar) {
    DrawButtonState state{m_foreground, m_background};
    state.Serialize(ar);
    m_foreground = state.foreground;
    m_background = state.background;
}
