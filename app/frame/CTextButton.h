#pragma once
#include <cstdint>
#include <string>

#include <QFont>

#include "app/frame/CDrawButton.h"

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
    std::uint32_t FontColor() const { return m_fontColor; }
    // 1: whole numbers in hexadecimal.
    void SetMode(int mode) { m_mode = mode; }
    void SetTextFont(const QFont& font);

protected:
    void DrawContent(QPainter& painter) override;

private:
    std::string m_text;
    int m_mode = 0;
    std::uint32_t m_fontColor = 0x00FFFF00; // cyan
    QFont m_font;
};
