#pragma once
#include <cstdint>

#include <QWidget>

// A sample of one colour (a COLORREF) with a sunken frame, as the sheets show
// the colour a Change... button edits.
class ColorSwatch final : public QWidget {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);
    void SetColor(std::uint32_t colour);
    std::uint32_t Color() const { return m_colour; }
    QSize sizeHint() const override { return {48, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t m_colour = 0;
};

namespace sheetui {
// A COLORREF (0x00BBGGRR) as a Qt colour and back.
QColor ToQColor(std::uint32_t colour);
std::uint32_t ToColorRef(const QColor& colour);
} // namespace sheetui
