#pragma once
#include <QColor>

#include "platform/grid/GridStyle.h"

namespace tvane {

// Style attributes in Qt's terms.
inline QColor ToQColor(ColorRef color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

inline int ToQtAlignment(const GridStyle& style, GridHAlign defaultH = GridHAlign::Left) {
    int flags = 0;
    switch (style.hAlign.value_or(defaultH)) {
    case GridHAlign::Left:
        flags |= Qt::AlignLeft;
        break;
    case GridHAlign::Center:
        flags |= Qt::AlignHCenter;
        break;
    case GridHAlign::Right:
        flags |= Qt::AlignRight;
        break;
    }
    switch (style.vAlign.value_or(GridVAlign::Center)) {
    case GridVAlign::Top:
        flags |= Qt::AlignTop;
        break;
    case GridVAlign::Center:
        flags |= Qt::AlignVCenter;
        break;
    case GridVAlign::Bottom:
        flags |= Qt::AlignBottom;
        break;
    }
    return flags;
}

} // namespace tvane
