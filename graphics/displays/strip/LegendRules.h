#pragma once
#include <string>

// The arithmetic of the strip chart's legend: its height by rows, the drag of
// its top edge, the rules of its number cells and the rows of a printed grid.
namespace legend {

constexpr int kMaxRows = 8;

inline int LegendHeight(int rows, int rowHeight, int headerHeight) {
    return rows * rowHeight + headerHeight;
}

// Where the legend's top edge may be dragged, in the frame's client pixels.
struct DragGeometry {
    int clientTop = 0;
    int plotReserve = 100;
    int extraReserve = 20;
    int legendBottom = 0;
    int rowHeight = 22;
    int headerHeight = 22;
};

// The highest and lowest place the drag line may go (upper < lower).
void DragLimits(const DragGeometry& g, int& upper, int& lower);
// The row count after the line was dropped at lineTop: whole rows between it
// and the legend's bottom, one more when the line moved up within the same
// row count and one still fits, and always 1 to 8.
int RowsAfterDrag(const DragGeometry& g, int lineTop, int oldRows, int legendTop);
// The three pixel rows just above the legend show the sizing cursor.
inline bool OnLegendEdge(int y, int legendTop) {
    return legendTop - 4 < y && y < legendTop;
}

// A reference typed with its unit and blanks: the unit (as stored, or else as
// displayed) and every blank removed.
std::string NormaliseReferenceText(const std::string& text, const std::string& unit);
// Digits, one '.', an exponent or one prefix letter (last), signs only first
// or after the exponent.
bool IsValidNumberText(const std::string& text);
// A character the reference cell accepts.
bool IsReferenceCharacter(char c);
// The reference typed in the cell: false unless it is a number within
// -1e15 .. 1e15.
bool ParseReference(const std::string& text, const std::string& unit, double& value);

// The auto-repeat of a held spin button: 200 ms first, 20 ms shorter at every
// tick down to 20 ms.
class SpinRepeat {
public:
    static constexpr int kFirst = 200;
    static constexpr int kStep = 20;
    int Interval() const { return m_interval; }
    // A tick: the next interval.
    int Tick() {
        if (m_interval > kStep)
            m_interval -= kStep;
        return m_interval;
    }
    void Release() { m_interval = kFirst; }

private:
    int m_interval = kFirst;
};

} // namespace legend
