#pragma once
#include <cstdint>
#include <string>

#include <QFont>

#include "app/frame/CDrawButton.h"
#include "shared/CMfxFont.h"

// A display surface that shows a centred text or a formatted value in the
// font's colour (cyan unless set).
class CTextButton : public CDrawButton {
public:
    static constexpr double kOverload = 9.9e37;

    explicit CTextButton(QWidget* parent = nullptr);
    void SetText(const std::string& text);
    const std::string& Text() const { return m_text; }
    // The overload marker shows "OVLD" and the units; hexadecimal mode shows the
    // whole part as "%04Xh"; otherwise the value formatter with 8 digits.
    void SetValue(double value, const std::string& units);
    void SetValue(long value, const std::string& units);
    void SetColor(std::uint32_t color);
    std::uint32_t FontColor() const { return m_font.GetColor(); }
    // 1: whole numbers in hexadecimal.
    void SetMode(int mode) { m_mode = mode; }
    int Mode() const { return m_mode; }
    // Re-create the font; its colour stays.
    void SetTextFont(const QFont& font);
    void SetLogFont(const LOGFONT& lf);
    const CMfxFont& Font() const { return m_font; }
    // The surface's colours, the text, then the font with its colour.
    void Serialize(tvane::CArchive& ar) override;

protected:
    void DrawContent(QPainter& painter) override;

private:
    std::string m_text;
    int m_mode = 0;
    CMfxFont m_font;
    QFont m_drawFont;
};
