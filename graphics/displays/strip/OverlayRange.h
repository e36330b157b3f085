#pragma once
#include <cstdint>
#include <string>

#include "platform/chart/ChartGeometry.h"

namespace tvane {
class CArchive;
}

// The channel of one strip chart slot, as the plot and its panel need it.
struct OverlayChannel {
    static constexpr std::int32_t kNone = 2000;
    static constexpr std::int32_t kDigitalBit = 4;

    std::int32_t number = kNone;
    std::string label = "<None>";
    std::string name;
    std::int32_t kind = 0;
    std::uint32_t bitMask = 1;
    std::string units;

    // A digital bit channel reads 1 when every bit of its mask is set.
    bool IsBitSet(double value) const;
};

// A plotted range: the scale of one trace (units per division as mantissa and
// decade, and its reference) or the time per division of the time axis.
struct OverlayRange {
    std::int32_t mantissa = 1; // 1, 2 or 5
    double decade = 1.0;
    double scale = 1.0;      // mantissa x decade: units (or seconds) per division
    double normOffset = 0.0; // the reference on the normalised axis
    double reference = 0.0;  // the reference in units
    std::int32_t divisions = 8;
    OverlayChannel channel;

    // The time axis' default: 120 seconds per division, 10 divisions.
    static OverlayRange TimeDefault();
};

// The time window of the plot, in milliseconds.
struct CTimeAxisInfo {
    double start = 0.0;
    double end = 1200000.0;
    double width = 1200000.0;
    double latest = 0.1; // 0.1: nothing plotted yet
};

// Writes or reads a range; loading rejects divisions or a scale that could
// not be drawn.
void SerializeOverlayRange(tvane::CArchive& ar, OverlayRange& range);

namespace overlay {

// A marker line placed in the plot area from, carried over to the plot area
// to at the same proportion of its width (a vertical line) or height, across
// the whole area and kept inside it.
tvane::chart::ChartRect MapLine(const tvane::chart::ChartRect& line, bool vertical,
                                const tvane::chart::ChartRect& from,
                                const tvane::chart::ChartRect& to);

// One step of the time per division, up (larger) or down, over 0.01 s .. 7200 s
// with whole minutes and hours between; at either end it stays where it is.
void StepTimePerDivision(OverlayRange& range, bool up);

// The 1-2-5 step for a wanted scale (its leading digit rounds up to the next
// step with the exponent raised by one). True when mantissa or decade changed.
bool SnapScale(OverlayRange& range, double wanted);

// One step of the units per division in the 1-2-5 sequence, kept within
// 1e-11 .. 5e11.
void StepUnitsPerDivision(OverlayRange& range, bool up);

// One step of the reference by a tenth of the units per division: up lowers
// it (the trace rises); a result nearer 0 than the step becomes exactly 0.
void StepReference(OverlayRange& range, bool up);

// The normalised offset of a reference in units on an axis of that span.
double NormalisedOffset(double reference, double scale, double span);

} // namespace overlay
