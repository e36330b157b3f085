#include "graphics/view/QtGraphDC.h"

#include <cmath>
#include <cstdlib>

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include "platform/widgets/QtText.h"

QColor ToQColor(std::uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

std::uint32_t ToColorRef(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

QFont LogFontToQFont(const LOGFONT& lf) {
    QFont font(tvane::ToQString(lf.FaceName().empty() ? std::string("Arial") : lf.FaceName()));
    font.setPixelSize(lf.lfHeight == 0 ? 12 : std::abs(lf.lfHeight));
    font.setBold(lf.lfWeight >= 600);
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
    return font;
}

LOGFONT QFontToLogFont(const QFont& font) {
    LOGFONT lf;
    lf.lfHeight = -(font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height());
    lf.lfWeight = font.bold() ? 700 : 400;
    lf.lfItalic = font.italic() ? 1 : 0;
    lf.lfUnderline = font.underline() ? 1 : 0;
    lf.lfStrikeOut = font.strikeOut() ? 1 : 0;
    lf.SetFaceName(tvane::ToUtf8(font.family()));
    return lf;
}

QRect ToQRect(const GRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

GRect ToGRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void QtGraphDC::Save() {
    m_painter.save();
}

void QtGraphDC::Restore() {
    m_painter.restore();
}

void QtGraphDC::Offset(int dx, int dy) {
    m_painter.translate(dx, dy);
}

void QtGraphDC::FillRect(const GRect& rect, std::uint32_t color) {
    m_painter.fillRect(ToQRect(rect), ToQColor(color));
}

void QtGraphDC::Rectangle(const GRect& rect, std::uint32_t fill) {
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, 0));
    m_painter.setBrush(ToQColor(fill));
    m_painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
    m_painter.restore();
}

void QtGraphDC::Polygon(const std::vector<GPoint>& points) {
    QPolygon polygon;
    for (const GPoint& p : points)
        polygon << QPoint(p.x, p.y);
    m_painter.save();
    m_painter.setPen(QPen(Qt::black, 0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPolygon(polygon);
    m_painter.restore();
}

void QtGraphDC::Line(GPoint a, GPoint b, std::uint32_t color) {
    m_painter.save();
    m_painter.setPen(QPen(ToQColor(color), 0));
    // b is excluded, as a GDI line leaves its end point.
    const int dx = (b.x > a.x) - (b.x < a.x);
    const int dy = (b.y > a.y) - (b.y < a.y);
    m_painter.drawLine(a.x, a.y, b.x - dx, b.y - dy);
    m_painter.restore();
}

void QtGraphDC::SetFont(const LOGFONT& font) {
    m_painter.setFont(LogFontToQFont(font));
}

int QtGraphDC::TextHeight() const {
    return QFontMetrics(m_painter.font()).height();
}

int QtGraphDC::TextWidth(const std::string& text) const {
    return QFontMetrics(m_painter.font()).horizontalAdvance(tvane::ToQString(text));
}

void QtGraphDC::Text(GPoint pos, const std::string& text, std::uint32_t color, const GRect* clip) {
    m_painter.save();
    if (clip)
        m_painter.setClipRect(ToQRect(*clip), Qt::IntersectClip);
    m_painter.setPen(ToQColor(color));
    const QFontMetrics metrics(m_painter.font());
    m_painter.drawText(pos.x, pos.y + metrics.ascent(), tvane::ToQString(text));
    m_painter.restore();
}

namespace {

// The figure of an ellipse inside rect with a one-pixel pen: right and bottom
// excluded.
QRectF EllipseBox(const GRect& r) {
    return QRectF(r.left, r.top, r.Width() - 1, r.Height() - 1);
}

// The angle of the ray from the box's centre through p, in Qt's degrees
// (counter-clockwise on the screen from three o'clock).
double RayAngle(const QRectF& box, GPoint p) {
    const QPointF c = box.center();
    return std::atan2(c.y() - p.y, p.x - c.x()) * 180.0 / M_PI;
}

} // namespace

void QtGraphDC::Ellipse(const GRect& rect, std::uint32_t fill, std::uint32_t outline) {
    m_painter.save();
    m_painter.setPen(QPen(ToQColor(outline), 0));
    m_painter.setBrush(ToQColor(fill));
    m_painter.drawEllipse(EllipseBox(rect));
    m_painter.restore();
}

void QtGraphDC::Arc(const GRect& rect, GPoint start, GPoint end, std::uint32_t color) {
    const QRectF box = EllipseBox(rect);
    const double from = RayAngle(box, start);
    double span = RayAngle(box, end) - from;
    while (span <= 0.0)
        span += 360.0;
    m_painter.save();
    m_painter.setPen(QPen(ToQColor(color), 0));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawArc(box, static_cast<int>(std::lround(from * 16.0)),
                      static_cast<int>(std::lround(span * 16.0)));
    m_painter.restore();
}

void QtGraphDC::SetPixel(GPoint point, std::uint32_t color) {
    m_painter.fillRect(QRect(point.x, point.y, 1, 1), ToQColor(color));
}
