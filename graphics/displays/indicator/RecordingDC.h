#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/IGraphDC.h"

// A drawing surface that records what is drawn on it, so that a display's
// geometry and colours are checked exactly and without windows. Text has a
// fixed measure: charWidth pixels a byte, textHeight pixels high. Offsets are
// applied: the recorded coordinates are the surface's.
class RecordingDC final : public IGraphDC {
public:
    enum class Op { Fill, Rectangle, Polygon, Line, Text, Ellipse, Arc, Pixel };
    struct Call {
        Op op = Op::Fill;
        GRect rect;                // Fill, Rectangle, Ellipse, Arc
        GPoint a, b;               // Line ends; Arc start and end; Text and Pixel position (a)
        std::uint32_t color = 0;   // fill, line, text, arc or pixel colour
        std::uint32_t outline = 0; // Ellipse
        std::string text;
        std::optional<GRect> clip;
        std::vector<GPoint> points; // Polygon
    };

    RecordingDC() = default;
    RecordingDC(int charWidth, int textHeight) : m_charWidth(charWidth), m_textHeight(textHeight) {}

    void Save() override;
    void Restore() override;
    void Offset(int dx, int dy) override;
    int NumColors() const override { return 0; }
    void FillRect(const GRect& rect, std::uint32_t color) override;
    void Rectangle(const GRect& rect, std::uint32_t fill) override;
    void Polygon(const std::vector<GPoint>& points) override;
    void Line(GPoint a, GPoint b, std::uint32_t color) override;
    void SetFont(const LOGFONT& font) override { m_font = font; }
    int TextHeight() const override { return m_textHeight; }
    int TextWidth(const std::string& text) const override {
        return m_charWidth * static_cast<int>(text.size());
    }
    void Text(GPoint pos, const std::string& text, std::uint32_t color, const GRect* clip) override;
    void Ellipse(const GRect& rect, std::uint32_t fill, std::uint32_t outline) override;
    void Arc(const GRect& rect, GPoint start, GPoint end, std::uint32_t color) override;
    void SetPixel(GPoint point, std::uint32_t color) override;

    const std::vector<Call>& Calls() const { return m_calls; }
    // The calls of one kind, in order.
    std::vector<Call> Of(Op op) const;
    // The texts drawn, in order.
    std::vector<std::string> Texts() const;
    // The text call of that text; none when it was not drawn.
    std::optional<Call> FindText(const std::string& text) const;
    const LOGFONT& Font() const { return m_font; }
    // Save and Restore balance.
    bool Balanced() const { return m_stack.empty(); }
    void Clear() { m_calls.clear(); }

private:
    GRect Shift(const GRect& r) const { return r.Offset(m_origin.x, m_origin.y); }
    GPoint Shift(GPoint p) const { return {p.x + m_origin.x, p.y + m_origin.y}; }
    Call& Add(Op op, std::uint32_t color);

    int m_charWidth = 7;
    int m_textHeight = 13;
    LOGFONT m_font;
    GPoint m_origin;
    std::vector<GPoint> m_stack;
    std::vector<Call> m_calls;
};
