#include "app/frame/CProgressMeter.h"

#include <QPainter>
#include <QPalette>

CProgressMeter::CProgressMeter(QWidget* parent) : CTextButton(parent) {
    const QColor h = palette().color(QPalette::Highlight);
    m_fill = std::uint32_t(h.red()) | std::uint32_t(h.green()) << 8 | std::uint32_t(h.blue()) << 16;
    SetColor(0xFFFFFF);
}

void CProgressMeter::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

int CProgressMeter::SetPos(int pos) {
    if (pos != m_pos) {
        m_pos = pos;
        update();
    }
    return m_pos;
}

int CProgressMeter::OffsetPos(int delta) {
    const int previous = m_pos;
    long long next = static_cast<long long>(m_pos) + delta;
    if (next > m_upper)
        next = m_upper;
    if (next < m_lower)
        next = m_lower;
    m_pos = static_cast<int>(next);
    update();
    return previous;
}

double CProgressMeter::Fraction() const {
    if (m_upper == m_lower)
        return m_pos >= m_upper ? 1.0 : 0.0;
    return (double(m_pos) - m_lower) / (double(m_upper) - m_lower);
}

QRect CProgressMeter::BarRect() const {
    QRect bar = rect().adjusted(m_inset, m_inset, -m_inset, -m_inset);
    // QRect's right() is inclusive; the bar's right edge is the exclusive one.
    const int right = int((bar.left() + bar.width()) * Fraction());
    bar.setRight(std::max(bar.left(), right) - 1);
    return bar;
}

void CProgressMeter::DrawContent(QPainter& p) {
    const double fraction = Fraction();
    if (fraction > 0) {
        p.setPen(ToQColor(m_border));
        p.setBrush(ToQColor(m_fill));
        p.drawRect(BarRect());
    }
    if (m_showPercent) {
        p.setPen(ToQColor(FontColor()));
        p.drawText(rect(), Qt::AlignHCenter | Qt::AlignTop,
                   QString("%1%").arg(static_cast<long>(fraction * 100)));
    }
}
