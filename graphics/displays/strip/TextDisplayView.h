#pragma once
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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CTextDisplay& m_display;
};
