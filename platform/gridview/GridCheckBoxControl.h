#pragma once
#include "platform/gridview/GridWidgetControl.h"

namespace tvane {

// A check box cell: "1" is checked, anything else (an empty text, "0") is
// not. A click on the current cell, or Space, turns it over; the new value is
// an edit like any other, stored when the cell is left or committed.
class GridCheckBoxControl : public GridWidgetControl {
public:
    explicit GridCheckBoxControl(GridView& view) : GridWidgetControl(view) {}

    bool IsChecked() const { return GetControlText() == "1"; }
    void Toggle();

    bool KeyTyped(QKeyEvent* event) override;
    void Clicked(const QPoint& pos, const QRect& cell) override;
    QString DisplayText(const QString&) const override { return {}; }
    void PaintOver(QPainter& painter, const QRect& rect, int row, int col, const GridStyle& style,
                   const QString& value, bool current) const override;

protected:
    // After a click or Space turned the box over.
    virtual void Toggled() {}
};

} // namespace tvane
