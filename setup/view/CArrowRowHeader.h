#pragma once
#include "platform/gridview/GridWidgetControl.h"

// The row header cell of the setup grid: the channel number, and a small
// arrow pointing right in the row of the current cell.
class CArrowRowHeader final : public tvane::GridWidgetControl {
public:
    explicit CArrowRowHeader(tvane::GridView& view) : GridWidgetControl(view) {}

    void PaintOver(QPainter& painter, const QRect& rect, int row, int col,
                   const tvane::GridStyle& style, const QString& value,
                   bool current) const override;
};
