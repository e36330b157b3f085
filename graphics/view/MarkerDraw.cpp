#include "graphics/view/MarkerDraw.h"

#include <algorithm>

#include <QPainter>

#include "graphics/CGraphMarker.h"
#include "platform/chart/Chart.h"
#include "platform/chartview/ChartQt.h"

void DrawMarkerLines(QPainter& painter, const CGraphMarker& marker,
                     const tvane::chart::Chart& chart, const QRectF& target) {
    if (chart.WindowWidth() <= 0 || chart.WindowHeight() <= 0)
        return;
    const double sx = target.width() / chart.WindowWidth();
    const double sy = target.height() / chart.WindowHeight();
    painter.save();
    for (int i = 0; i < marker.Count(); ++i) {
        const CXrtMarker& line = marker.LineAt(i);
        if (!line.IsVisible())
            continue;
        QPen pen(tvane::chart::ToQColor(line.GetColour()));
        pen.setWidthF(std::max(1, line.GetPenWidth()));
        pen.setCosmetic(true);
        painter.setPen(pen);
        const auto& r = line.Line();
        if (line.IsVertical()) {
            const double x = target.left() + (r.left + 0.5) * sx;
            painter.drawLine(QPointF(x, target.top() + r.top * sy),
                             QPointF(x, target.top() + r.bottom * sy));
        } else {
            const double y = target.top() + (r.top + 0.5) * sy;
            painter.drawLine(QPointF(target.left() + r.left * sx, y),
                             QPointF(target.left() + r.right * sx, y));
        }
    }
    painter.restore();
}
