#pragma once
#include <array>
#include <vector>

#include <QWidget>

#include "platform/ui/MessageBus.h"

class COverlayCtrlPanel;
class QLabel;
class QLineEdit;
class QPushButton;
namespace tvane {
class CQmxSpinButton;
}

// The strip chart control panel's window: the time per division with its spin
// button, the Autoscale button and the marker readouts, on the panel colour.
// Tab goes from the edit to the button and out of the panel.
class OverlayPanelView : public QWidget, private tvane::MessageTarget {
    Q_OBJECT
public:
    OverlayPanelView(COverlayCtrlPanel& panel, QWidget* parent = nullptr);
    ~OverlayPanelView() override;

    QLineEdit* TimeEdit() const { return m_timeEdit; }
    QPushButton* AutoscaleButton() const { return m_autoscale; }
    tvane::CQmxSpinButton* SpinButton() const { return m_spin; }
    QLabel* Readout(int readout) const { return m_readouts[static_cast<std::size_t>(readout)]; }
    static constexpr int kHeight = 48;

    // The panel's texts on light grey at their controls' places (printing).
    void DrawTo(QPainter& painter, const QRect& rect) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    long OnMessage(const tvane::Message& message) override;
    void ShowText(int readout);
    // Places the controls by their texts in the panel's font and width.
    void LayOut();
    // A column of readouts: its labels, channels (none for the differences)
    // and values on the two rows.
    struct Group {
        QLabel* labels[2] = {};
        QLabel* channels[2] = {};
        QLabel* values[2] = {};
    };

    COverlayCtrlPanel& m_panel;
    QLineEdit* m_timeEdit;
    tvane::CQmxSpinButton* m_spin;
    QPushButton* m_autoscale;
    std::array<QLabel*, 10> m_readouts{};
    QLabel* m_timeLabel;
    std::vector<QLabel*> m_labels;
    std::vector<Group> m_groups;
};
