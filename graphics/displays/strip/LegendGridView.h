#pragma once
#include "platform/gridview/GridView.h"

class CLegendGrid;

// The legend grid's window: the grid view over the legend's core with its
// channel list, the spin edits of the units per division and reference, and
// the marker switches; the mouse clicks also reach the frame.
class LegendGridView : public tvane::GridView {
    Q_OBJECT
public:
    LegendGridView(CLegendGrid& legend, QWidget* parent = nullptr);
    ~LegendGridView() override;

    CLegendGrid& Legend() const { return m_legend; }
    // Takes the channel list again (after the frame's channels changed).
    void RefreshChoices();
    // Tab from elsewhere: the legend takes the focus (shift: at the reference).
    void TakeFocusFromTab(bool shift);
    // A right press at a screen position, passed on to the frame as one on
    // the legend (the frame's page shows its menu).
    void PostRightPress(const QPointF& global);

protected:
    bool ProcessKey(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void ShowWarning(const std::string& text) override;

private:
    void PostToParent(QMouseEvent* event);

    CLegendGrid& m_legend;
};
