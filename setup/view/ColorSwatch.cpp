#include "setup/view/ColorSwatch.h"

#include <QPainter>

ColorSwatch::ColorSwatch(QWidget* parent) : QWidget(parent) {
    setMinimumSize(32, 18);
}

void ColorSwatch::SetColor(std::uint32_t colour) {
    m_colour = colour;
    update();
}

void ColorSwatch::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(box, sheetui::ToQColor(m_colour));
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(box);
}

namespace sheetui {

QColor ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t ToColorRef(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

} // namespace sheetui
