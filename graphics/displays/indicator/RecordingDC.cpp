#include "graphics/displays/indicator/RecordingDC.h"

void RecordingDC::Save() {
    m_stack.push_back(m_origin);
}

void RecordingDC::Restore() {
    if (m_stack.empty())
        return;
    m_origin = m_stack.back();
    m_stack.pop_back();
}

void RecordingDC::Offset(int dx, int dy) {
    m_origin.x += dx;
    m_origin.y += dy;
}

RecordingDC::Call& RecordingDC::Add(Op op, std::uint32_t color) {
    m_calls.emplace_back();
    m_calls.back().op = op;
    m_calls.back().color = color;
    return m_calls.back();
}

void RecordingDC::FillRect(const GRect& rect, std::uint32_t color) {
    Add(Op::Fill, color).rect = Shift(rect);
}

void RecordingDC::Rectangle(const GRect& rect, std::uint32_t fill) {
    Call& c = Add(Op::Rectangle, fill);
    c.rect = Shift(rect);
    c.outline = graphcolor::kBlack;
}

void RecordingDC::Polygon(const std::vector<GPoint>& points) {
    Call& c = Add(Op::Polygon, graphcolor::kBlack);
    for (GPoint p : points)
        c.points.push_back(Shift(p));
}

void RecordingDC::Line(GPoint a, GPoint b, std::uint32_t color) {
    Call& c = Add(Op::Line, color);
    c.a = Shift(a);
    c.b = Shift(b);
}

void RecordingDC::Text(GPoint pos, const std::string& text, std::uint32_t color,
                       const GRect* clip) {
    Call& c = Add(Op::Text, color);
    c.a = Shift(pos);
    c.text = text;
    if (clip)
        c.clip = Shift(*clip);
}

void RecordingDC::Ellipse(const GRect& rect, std::uint32_t fill, std::uint32_t outline) {
    Call& c = Add(Op::Ellipse, fill);
    c.rect = Shift(rect);
    c.outline = outline;
}

void RecordingDC::Arc(const GRect& rect, GPoint start, GPoint end, std::uint32_t color) {
    Call& c = Add(Op::Arc, color);
    c.rect = Shift(rect);
    c.a = Shift(start);
    c.b = Shift(end);
}

void RecordingDC::SetPixel(GPoint point, std::uint32_t color) {
    Add(Op::Pixel, color).a = Shift(point);
}

std::vector<RecordingDC::Call> RecordingDC::Of(Op op) const {
    std::vector<Call> out;
    for (const Call& c : m_calls)
        if (c.op == op)
            out.push_back(c);
    return out;
}

std::vector<std::string> RecordingDC::Texts() const {
    std::vector<std::string> out;
    for (const Call& c : m_calls)
        if (c.op == Op::Text)
            out.push_back(c.text);
    return out;
}

std::optional<RecordingDC::Call> RecordingDC::FindText(const std::string& text) const {
    for (const Call& c : m_calls)
        if (c.op == Op::Text && c.text == text)
            return c;
    return std::nullopt;
}
