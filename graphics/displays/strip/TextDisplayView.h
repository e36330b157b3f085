#pragma once
#include <QFont>
#include <QWidget>

class CTextDisplay;
class QPainter;

// The text display's window: its background and, inside the margins, each
// label in its cell, colour and alignment. A label's change repaints its cell.
class TextDisplayView : public QWidget {
    Q_OBJECT
public:
    TextDisplayView(CTextDisplay& display, QWidget* parent = nullptr);
    ~TextDisplayView() override;

    // Draws into any painter at rect (printing, pictures, the window).
    static void Draw(QPainter& painter, CTextDisplay& display, const QRect& rect);
    // The font the labels are drawn in.
    static QFont Font(const CTextDisplay& display);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CTextDisplay& m_display;
};
