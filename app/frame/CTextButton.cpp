#include "app/frame/CTextButton.h"

#include <QPainter>

#include "app/DrawButtonState.h"
#include "platform/archive/CArchive.h"
#include "platform/core/Format.h"
#include "scan/ValueFormat.h"
#include "shared/view/MfxFontQt.h"

CTextButton::CTextButton(QWidget* parent) : CDrawButton(parent) {
    const TextButtonState initial;
    m_foreground = initial.surface.foreground;
    m_font = initial.font;
    m_font.SetColor(initial.font.GetColor());
    m_drawFont = ToQFont(m_font.GetLogFont());
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
    m_font.SetColor(color);
}

void CTextButton::SetTextFont(const QFont& font) {
    SetLogFont(FromQFont(font, logicalDpiY()));
}

void CTextButton::SetLogFont(const LOGFONT& lf) {
    m_font.SetLogFont(lf);
    m_drawFont = ToQFont(lf);
    Redraw();
}

void CTextButton::Serialize(tvane::CArchive& ar) {
    TextButtonState state;
    state.surface = {m_foreground, m_background};
    state.text = m_text;
    state.font = m_font;
    state.font.SetColor(m_font.GetColor());
    state.Serialize(ar);
    if (ar.IsLoading()) {
        m_foreground = state.surface.foreground;
        m_background = state.surface.background;
        m_text = state.text;
        m_font.SetLogFont(state.font.GetLogFont());
        m_font.SetColor(state.font.GetColor());
        m_drawFont = ToQFont(m_font.GetLogFont());
        Redraw();
    }
}

void CTextButton::DrawContent(QPainter& p) {
    if (m_text.empty())
        return;
    p.setFont(m_drawFont);
    p.setPen(ToQColor(m_font.GetColor()));
    const QString text = QString::fromStdString(m_text);
    const QFontMetrics fm(m_drawFont);
    const QRect r = rect();
    const int y = (r.top() + r.bottom() - fm.height()) / 2;
    p.drawText(QRect(r.left(), y, r.width(), fm.height()), Qt::AlignHCenter | Qt::AlignTop, text);
}
