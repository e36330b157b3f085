#include "app/frame/CTextButton.h"

#include <QPainter>

#include "platform/core/Format.h"
#include "scan/ValueFormat.h"

CTextButton::CTextButton(QWidget* parent) : CDrawButton(parent) {
    m_foreground = 0x00FFFF00;
    // "MS Sans Serif" stands for the desktop's proportional sans face.
    m_font = QFont("Sans Serif");
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPixelSize(13);
}

void CTextButton::SetText(const std::string& text) {
    m_text = text;
    Redraw();
}

void CTextButton::SetValue(double value, const std::string& units) {
    if (value == kOverload) {
        std::string unit;
        NormalizeUnitText(units, unit);
        m_text = tvane::Format("OVLD %s", unit.c_str());
    } else if (m_mode == 1) {
        m_text = tvane::Format("%04Xh %s", static_cast<unsigned>(static_cast<long>(value)),
                               units.c_str());
    } else {
        FormatValue(value, units, m_text, 8);
    }
    Redraw();
}

void CTextButton::SetValue(long value, const std::string& units) {
    m_text = m_mode == 1
                 ? tvane::Format("%04lXh %s", static_cast<unsigned long>(value), units.c_str())
                 : tvane::Format("%ld %s", value, units.c_str());
    Redraw();
}

void CTextButton::SetColor(std::uint32_t color) {
    m_foreground = color;
    m_fontColor = color;
}

void CTextButton::SetTextFont(const QFont& font) {
    m_font = font;
    Redraw();
}

void CTextButton::DrawContent(QPainter& p) {
    if (m_text.empty())
        return;
    p.setFont(m_font);
    p.setPen(ToQColor(m_fontColor));
    const QString text = QString::fromStdString(m_text);
    const QFontMetrics fm(m_font);
    const QRect r = rect();
    const int y = (r.top() + r.bottom() - fm.height()) / 2;
    p.drawText(QRect(r.left(), y, r.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, text);
}
