#pragma once
#include <cstdint>

#include <QAbstractButton>

namespace tvane {
class CArchive;
}

// A framed, coloured display surface with a sunken two-line bevel. Colours are
// COLORREF values (0x00BBGGRR), as stored in documents.
class CDrawButton : public QAbstractButton {
public:
    explicit CDrawButton(QWidget* parent = nullptr);
    void SetForeground(std::uint32_t color) { m_foreground = color; }
    void SetBackground(std::uint32_t color) { m_background = color; }
    std::uint32_t Foreground() const { return m_foreground; }
    std::uint32_t Background() const { return m_background; }
    void Redraw() { repaint(); }
    // The two colours, foreground first, as documents store them.
    virtual void Serialize(tvane::CArchive& ar);

    static QColor ToQColor(std::uint32_t colorref);

protected:
    void paintEvent(QPaintEvent* event) override;
    // What the surface shows; nothing on a plain surface.
    virtual void DrawContent(QPainter& painter);
    // Draws the bevel, sunken or raised, inside the outline.
    static void DrawBevel(QPainter& painter, const QRect& rect, bool sunken);

    std::uint32_t m_foreground = 0x0000FFFF; // yellow
    std::uint32_t m_background = 0;
};
