#pragma once
#include <array>
#include <memory>

#include <QWidget>

#include "graphics/displays/histogram/CHistogramCtrlPanel.h"

class CCtrlPanelBar;
class QLabel;
class QPushButton;
namespace Ui {
class HistogramPanelBar;
}

// The histogram control panel's window: the panel colour behind a control
// panel bar that holds the channel, the statistics and the Autoscale button.
// Mouse presses on it go on to the frame.
class HistogramPanelView : public QWidget {
    Q_OBJECT
public:
    explicit HistogramPanelView(CHistogramCtrlPanel& panel, QWidget* parent = nullptr);
    ~HistogramPanelView() override;

    // The bar's height, which is the panel's.
    int BarHeight() const;
    CCtrlPanelBar* Bar() const { return m_bar; }
    QPushButton* AutoscaleButton() const;
    QLabel* Field(int field) const { return m_fields[static_cast<std::size_t>(field)]; }

    // The panel's texts on light grey at their controls' places (printing and
    // the clipboard's picture).
    void DrawTo(QPainter& painter, const QRect& rect) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void Show(int field);
    void PassToFrame(QMouseEvent* event, bool post);

    CHistogramCtrlPanel& m_panel;
    CCtrlPanelBar* m_bar;
    std::unique_ptr<Ui::HistogramPanelBar> m_ui;
    std::array<QLabel*, CHistogramCtrlPanel::kFields> m_fields{};
};
