#include "platform/chartview/ChartRenderer.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "platform/chartview/ChartQt.h"
#include "platform/chartview/QtTextMetrics.h"
#include "platform/widgets/QtText.h"

namespace tvane::chart {

namespace {

constexpr double kTick = 4.0;
constexpr double kGap = 2.0;
constexpr double kPad = 4.0;

void DrawMarker(QPainter& painter, std::uint32_t shape, QPointF c, double size) {
    const double r = std::max(size, 2.0) / 2.0;
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    switch (shape) {
    case kPointBox:
        painter.drawRect(box);
        break;
    case kPointTriangle: {
        const QPointF p[3] = {{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}};
        painter.drawPolygon(p, 3);
        break;
    }
    case kPointDiamond: {
        const QPointF p[4] = {
            {c.x(), c.y() - r}, {c.x() + r, c.y()}, {c.x(), c.y() + r}, {c.x() - r, c.y()}};
        painter.drawPolygon(p, 4);
        break;
    }
    case kPointStar: {
        const double d = r * 0.7071;
        const QLineF lines[4] = {{c.x() - r, c.y(), c.x() + r, c.y()},
                                 {c.x(), c.y() - r, c.x(), c.y() + r},
                                 {c.x() - d, c.y() - d, c.x() + d, c.y() + d},
                                 {c.x() - d, c.y() + d, c.x() + d, c.y() - d}};
        painter.drawLines(lines, 4);
        break;
    }
    case kPointVerticalLine:
        painter.drawLine(QLineF(c.x(), c.y() - r, c.x(), c.y() + r));
        break;
    case kPointHorizontalLine:
        painter.drawLine(QLineF(c.x() - r, c.y(), c.x() + r, c.y()));
        break;
    case kPointCross: {
        const QLineF lines[2] = {{c.x() - r, c.y() - r, c.x() + r, c.y() + r},
                                 {c.x() - r, c.y() + r, c.x() + r, c.y() - r}};
        painter.drawLines(lines, 2);
        break;
    }
    case kPointCircle: {
        const QBrush brush = painter.brush();
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box);
        painter.setBrush(brush);
        break;
    }
    case kPointSquare: {
        const QBrush brush = painter.brush();
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(box);
        painter.setBrush(brush);
        break;
    }
    default: // a dot
        painter.drawEllipse(box);
        break;
    }
}

// A dot in the line's colour, as wide as the series' points and at least five
// pixels or three lines across: the newest reading sits on the plot's edge,
// which shows half of it.
void DrawLonePoint(QPainter& painter, const QPen& pen, const ChartStyle& style, QPointF at) {
    const double size = std::max({static_cast<double>(style.pointSize), 5.0,
                                  3.0 * std::max<std::uint32_t>(1, style.lineWidth)});
    painter.save();
    painter.setPen(QPen(pen.color(), 0));
    painter.setBrush(pen.color());
    DrawMarker(painter, kPointDot, at, size);
    painter.restore();
}

QRectF PlotRect(const ChartLayout& layout) {
    const ChartRect& p = layout.plot;
    return QRectF(p.left, p.top, p.Width(), p.Height());
}

} // namespace

void ChartRenderer::Draw(QPainter& painter, const Chart& chart, const QRectF& target,
                         bool printing) {
    int width = chart.WindowWidth();
    int height = chart.WindowHeight();
    if (width <= 0 || height <= 0) {
        width = std::max(1, static_cast<int>(target.width()));
        height = std::max(1, static_cast<int>(target.height()));
    }
    const bool atWindowSize = width == chart.WindowWidth() && height == chart.WindowHeight();
    ChartLayout printed;
    if (!atWindowSize)
        printed = chart.ComputeLayout(width, height, QtTextMetrics::Instance());
    const ChartLayout& layout = atWindowSize ? chart.Layout() : printed;

    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / width, target.height() / height);
    const QRectF window(0, 0, width, height);
    painter.setClipRect(window, Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QColor background = ToQColor(chart.GetInt(prop::kBackground));
    painter.fillRect(window, background);
    if (printing) {
        painter.setPen(QPen(background, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(window.adjusted(0, 0, -1, -1));
    }

    painter.save();
    painter.setClipRect(PlotRect(layout).adjusted(0, 0, 1, 1), Qt::IntersectClip);
    DrawGrid(painter, chart, layout);
    DrawSet(painter, chart, layout, 1);
    DrawSet(painter, chart, layout, 2);
    painter.restore();

    DrawAxes(painter, chart, layout);
    painter.restore();
}

void ChartRenderer::DrawGrid(QPainter& painter, const Chart& chart, const ChartLayout& layout) {
    const ChartRect& p = layout.plot;
    auto lines = [&](const std::vector<double>& values, bool isX, int styleId) {
        if (values.empty())
            return;
        const QPen pen = LinePen(chart.GetStyle(styleId));
        if (pen.style() == Qt::NoPen)
            return;
        painter.setPen(pen);
        const bool vertical = isX != layout.inverted; // a line across a horizontal axis
        for (double v : values) {
            const double at = std::round(isX ? layout.XPosition(v) : layout.YPosition(v));
            if (vertical)
                painter.drawLine(QLineF(at, p.top, at, p.bottom));
            else
                painter.drawLine(QLineF(p.left, at, p.right, at));
        }
    };
    lines(layout.x.grid, true, prop::kXGridStyle);
    lines(layout.y.grid, false, prop::kYGridStyle);
}

void ChartRenderer::DrawSet(QPainter& painter, const Chart& chart, const ChartLayout& layout,
                            int set) {
    const ChartData* data = chart.GetData(set);
    if (!data)
        return;
    const double hole = data->Hole();
    if (set == 1 && layout.bars) {
        painter.setPen(Qt::NoPen);
        for (int s = 0; s < data->SeriesCount(); ++s) {
            const QColor color = ToQColor(chart.GetNthStyle(set, s).color);
            const int count = data->Count(s);
            for (int i = 0; i < count; ++i) {
                const double x = data->X(s, i);
                const double y = data->Y(s, i);
                if (x == hole || y == hole || !std::isfinite(x) || !std::isfinite(y))
                    continue;
                const ChartLayout::RectF r = layout.BarRect(x, y, s);
                const QRectF bar(QPointF(std::round(r.left), std::round(r.top)),
                                 QPointF(std::round(r.right), std::round(r.bottom)));
                painter.fillRect(bar.width() < 1 ? bar.adjusted(0, 0, 1, 0) : bar, color);
            }
        }
        return;
    }
    for (int s = 0; s < data->SeriesCount(); ++s) {
        if (data->Count(s) == 0)
            continue;
        const ChartStyle style = chart.GetNthStyle(set, s);
        const QPen pen = LinePen(style);
        const bool markers = style.pointShape != kPointNone && style.pointShape != 0;
        if (pen.style() != Qt::NoPen) {
            painter.setPen(pen);
            m_decimator.Lines(*data, s, layout, set, [&](const ChartLayout::PointF* points, int n) {
                if (n == 1) {
                    // A lone point has no line to be part of: it is drawn as a
                    // point, unless the series marks its points anyway.
                    if (!markers)
                        DrawLonePoint(painter, pen, style, QPointF(points[0].x, points[0].y));
                    return;
                }
                m_polyline.resize(n);
                for (int i = 0; i < n; ++i)
                    m_polyline[i] = QPointF(points[i].x, points[i].y);
                painter.drawPolyline(m_polyline);
            });
        }
        if (markers) {
            const QColor color = ToQColor(style.pointColor);
            painter.setPen(QPen(color, 0));
            painter.setBrush(color);
            const double size = style.pointSize;
            m_decimator.Markers(*data, s, layout, set, size, [&](ChartLayout::PointF c) {
                DrawMarker(painter, style.pointShape, QPointF(c.x, c.y), size);
            });
            painter.setBrush(Qt::NoBrush);
        }
    }
}

void ChartRenderer::DrawAxes(QPainter& painter, const Chart& chart, const ChartLayout& layout) {
    const ChartRect& p = layout.plot;
    const QColor foreground = ToQColor(chart.GetInt(prop::kForeground));
    painter.setPen(QPen(foreground, 0));
    painter.setBrush(Qt::NoBrush);
    painter.setFont(ToQFont(layout.font));
    painter.drawLine(QLineF(p.left, p.top, p.left, p.bottom));
    painter.drawLine(QLineF(p.left, p.bottom, p.right, p.bottom));

    const double fh = layout.fontHeight;
    const ChartLayout::Axis& left = layout.inverted ? layout.x : layout.y;
    const ChartLayout::Axis& bottom = layout.inverted ? layout.y : layout.x;
    constexpr double kWide = 10000.0; // room for any label; texts are aligned in it

    for (const ChartLayout::Tick& tick : left.ticks) {
        const double at = std::round(tick.position);
        painter.drawLine(QLineF(p.left - kTick, at, p.left, at));
        if (tick.text.empty() || tick.text == " ")
            continue;
        const QString text = ToQString(tick.text);
        painter.drawText(QRectF(p.left - kTick - kGap - kWide, at - fh / 2.0, kWide, fh),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    for (const ChartLayout::Tick& tick : bottom.ticks) {
        const double at = std::round(tick.position);
        painter.drawLine(QLineF(at, p.bottom, at, p.bottom + kTick));
        if (tick.text.empty() || tick.text == " ")
            continue;
        painter.drawText(QRectF(at - kWide / 2.0, p.bottom + kTick + kGap, kWide, fh),
                         Qt::AlignHCenter | Qt::AlignTop, ToQString(tick.text));
    }

    if (!bottom.title.empty()) {
        const double top = p.bottom + kTick + kGap + fh + kGap;
        painter.drawText(QRectF(p.left, top, p.Width(), fh), Qt::AlignHCenter | Qt::AlignTop,
                         ToQString(bottom.title));
    }
    if (!left.title.empty()) {
        const QString title = ToQString(left.title);
        const double x = layout.graph.left + kPad;
        if (left.titleTurned) {
            painter.save();
            painter.translate(x, p.top + p.Height() / 2.0);
            painter.rotate(-90.0);
            painter.drawText(QRectF(-kWide / 2.0, 0.0, kWide, fh), Qt::AlignHCenter | Qt::AlignTop,
                             title);
            painter.restore();
        } else {
            painter.drawText(QRectF(x, p.top + p.Height() / 2.0 - fh / 2.0, kWide, fh),
                             Qt::AlignLeft | Qt::AlignVCenter, title);
        }
    }
}

} // namespace tvane::chart
