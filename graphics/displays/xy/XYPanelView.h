#pragma once
#include <map>

#include <QWidget>

class CCtrlPanelBar;
class CXYCtrlPanel;
class QCheckBox;
class QLabel;
class QPushButton;

// The XY control panel's window: its controls on a control-panel bar, placed
// as the panel's layout gives them, over the panel's colour. The buttons and
// boxes go to the panel; the texts follow it. Presses beside the controls go
// on to the frame's window.
class XYPanelView : public QWidget {
    Q_OBJECT
public:
    explicit XYPanelView(CXYCtrlPanel& panel, QWidget* parent = nullptr);
    ~XYPanelView() override;

    QPushButton* AutoscaleButton() const { return m_autoscale; }
    QCheckBox* MarkerBox() const { return m_marker; }
    QCheckBox* LeastSquaresBox() const { return m_leastSquares; }
    // The static text of a readout (CXYCtrlPanel::Readout).
    QLabel* Readout(int readout) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Show(int readout);
    void Forward(QMouseEvent* event);

    CXYCtrlPanel& m_panel;
    CCtrlPanelBar* m_bar = nullptr;
    QPushButton* m_autoscale = nullptr;
    QCheckBox* m_marker = nullptr;
    QCheckBox* m_leastSquares = nullptr;
    std::map<int, QLabel*> m_readouts;
};
