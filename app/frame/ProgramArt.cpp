#include "app/frame/ProgramArt.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A strip of chart paper with two traces, the program's emblem.
void DrawTraces(QPainter& p, const QRectF& area) {
    p.save();
    p.setPen(QPen(QColor(200, 214, 230), 1));
    for (int i = 1; i < 6; ++i) {
        const double y = area.top() + area.height() * i / 6.0;
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    }
    for (int i = 1; i < 10; ++i) {
        const double x = area.left() + area.width() * i / 10.0;
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    const auto trace = [&](double phase, double amplitude, const QColor& colour) {
        QPainterPath path;
        for (int i = 0; i <= 100; ++i) {
            const double x = area.left() + area.width() * i / 100.0;
            const double y = area.center().y() + amplitude * area.height() *
                                                     std::sin(phase + i * 0.12) *
                                                     (0.6 + 0.4 * std::cos(i * 0.05));
            if (i == 0)
                path.moveTo(x, y);
            else
                path.lineTo(x, y);
        }
        p.setPen(QPen(colour, 2));
        p.drawPath(path);
    };
    trace(0.0, 0.30, QColor(0, 96, 170));
    trace(1.7, 0.18, QColor(200, 60, 40));
    p.restore();
}

} // namespace

QPixmap ProgramPicture(int width, int height) {
    QPixmap pixmap(width, height);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(24, 58, 102));
    sky.setColorAt(1, QColor(60, 110, 170));
    p.fillRect(pixmap.rect(), sky);
    const QRectF paper(width * 0.08, height * 0.42, width * 0.84, height * 0.48);
    p.fillRect(paper, Qt::white);
    DrawTraces(p, paper);
    QFont font = p.font();
    font.setBold(true);
    font.setPixelSize(std::max(12, height / 7));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, height * 0.06, width, height * 0.32), Qt::AlignCenter, "Tallyvane");
    return pixmap;
}

QPixmap SplashPicture() {
    QPixmap pixmap = ProgramPicture(420, 260);
    QPainter p(&pixmap);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor(230, 236, 245));
    p.drawText(QRectF(0, 236, 420, 20), Qt::AlignCenter, "Data logging for the QT7100");
    return pixmap;
}

QPixmap TipBulbPicture() {
    QPixmap pixmap(40, 48);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(255, 226, 90));
    p.setPen(QPen(QColor(150, 120, 20), 1.5));
    p.drawEllipse(QRectF(6, 2, 28, 28));
    p.setBrush(QColor(160, 160, 160));
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.drawRect(QRectF(13, 30, 14, 12));
    p.drawLine(QPointF(13, 34), QPointF(27, 34));
    p.drawLine(QPointF(13, 38), QPointF(27, 38));
    return pixmap;
}
