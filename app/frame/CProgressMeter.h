#pragma once
#include <cstdint>

#include "app/frame/CTextButton.h"

// A bar that paints the filled part of a range. The position moves only
// within the range.
class CProgressMeter final : public CTextButton {
public:
    explicit CProgressMeter(QWidget* parent = nullptr);
    void SetRange(int lower, int upper);
    int GetPos() const { return m_pos; }
    // Unchanged position: nothing repaints. Returns the position.
    int SetPos(int pos);
    // Both return the previous position; the new one is clamped to the range.
    int OffsetPos(int delta);
    int StepIt() { return OffsetPos(m_step); }
    int SetStep(int step) { return m_step = step; }
    void SetShowPercent(bool show) { m_showPercent = show; }
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    // The filled fraction; an empty range counts as full once the position
    // reaches it, so nothing divides by zero.
    double Fraction() const;
    // The bar rectangle inside the client rectangle.
    QRect BarRect() const;

protected:
    void DrawContent(QPainter& painter) override;

private:
    std::uint32_t m_border = 0xC0C0C0;
    std::uint32_t m_fill;
    int m_inset = 2;
    bool m_showPercent = false;
    int m_lower = 0;
    int m_upper = 100;
    int m_step = 10;
    int m_pos = 0;
};
