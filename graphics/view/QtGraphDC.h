#pragma once
#include <QColor>
#include <QFont>
#include <QRect>

#include "graphics/IGraphDC.h"

class QPainter;

// A rectangle of the displays (right and bottom outside) and Qt's.
QRect ToQRect(const GRect& rect);
GRect ToGRect(const QRect& rect);
QColor ToQColor(std::uint32_t colorref);
std::uint32_t ToColorRef(const QColor& color);
// The drawing font of a description; heights are in pixels.
QFont LogFontToQFont(const LOGFONT& lf);
LOGFONT QFontToLogFont(const QFont& font);

// The displays' drawing surface over a QPainter.
class QtGraphDC final : public IGraphDC {
public:
    // monochrome: a device of one or two colours.
    explicit QtGraphDC(QPainter& painter, bool monochrome = false)
        : m_painter(painter), m_monochrome(monochrome) {}

    // The painter underneath (displays that draw with Qt's own drawing).
    QPainter& Painter() { return m_painter; }
    void Save() override;
    void Restore() override;
    void Offset(int dx, int dy) override;
    int NumColors() const override { return m_monochrome ? 2 : 0; }
    void FillRect(const GRect& rect, std::uint32_t color) override;
    void Rectangle(const GRect& rect, std::uint32_t fill) override;
    void Polygon(const std::vector<GPoint>& points) override;
    void Line(GPoint a, GPoint b, std::uint32_t color) override;
    void SetFont(const LOGFONT& font) override;
    int TextHeight() const override;
    int TextWidth(const std::string& text) const override;
    void Text(GPoint pos, const std::string& text, std::uint32_t color, const GRect* clip) override;
    void Ellipse(const GRect& rect, std::uint32_t fill, std::uint32_t outline) override;
    void Arc(const GRect& rect, GPoint start, GPoint end, std::uint32_t color) override;
    void SetPixel(GPoint point, std::uint32_t color) override;

private:
    QPainter& m_painter;
    bool m_monochrome;
};
