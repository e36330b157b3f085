#include "platform/chartview/ChartQt.h"

#include <algorithm>
#include <cstdlib>

#include "platform/widgets/FontFamily.h"

namespace tvane::chart {

QFont ToQFont(const ChartFont& font) {
    QFont q(ResolveFontFamily(font.face));
    q.setStyleHint((font.pitchAndFamily & 0x03) == 1 ? QFont::Monospace : QFont::SansSerif);
    // A positive height is the cell height, a little more than the character's.
    const int height = font.height < 0 ? -font.height : (font.height * 7 + 4) / 8;
    q.setPixelSize(std::max(1, height == 0 ? 12 : height));
    if (font.weight > 0)
        q.setWeight(QFont::Weight(std::clamp(int(font.weight), 1, 1000)));
    q.setItalic(font.italic != 0);
    q.setUnderline(font.underline != 0);
    q.setStrikeOut(font.strikeOut != 0);
    return q;
}

QPen LinePen(const ChartStyle& style) {
    QPen pen(ToQColor(style.color));
    pen.setWidthF(style.lineWidth > 1 ? style.lineWidth : 0.0); // 0: one pixel, cosmetic
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    switch (style.linePattern) {
    case kLineNone:
        return QPen(Qt::NoPen);
    case kLineLongDash:
        pen.setDashPattern({8.0, 4.0});
        break;
    case kLineDotted:
        pen.setDashPattern({1.0, 2.0});
        break;
    case kLineShortDash:
        pen.setDashPattern({3.0, 3.0});
        break;
    case kLineLongShortLongDash:
        pen.setDashPattern({8.0, 3.0, 3.0, 3.0});
        break;
    case kLineDashDot:
        pen.setDashPattern({6.0, 3.0, 1.0, 3.0});
        break;
    default:
        break;
    }
    return pen;
}

} // namespace tvane::chart
