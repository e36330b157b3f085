#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "graphics/GraphGeometry.h"

// The slider display's rules apart from its windows: its value box, the
// layout of its two child windows by orientation, and the limits of its
// Advanced page.
namespace sliderrules {

// The limits a slider can be given, and a new slider's range.
inline constexpr double kMinLimit = -12.0;
inline constexpr double kMaxLimit = 12.0;
inline constexpr double kMinResolution = 0.001;

// What the value box's text gives: a value, or the message that refuses it.
struct BoxValue {
    std::optional<double> value;
    std::string message;
};
// The text as a number (blanks and tabs around it allowed) within
// lower..upper; else "Please enter a digit" or the range message with both
// limits.
BoxValue TakeValueBox(const std::string& text, double lower, double upper);
// The value as the box shows it: "%0.3lf", 0 when closer to 0 than the
// resolution.
std::string ValueText(double value, double resolution);

// The regions (fractions of the data area) and the frame size of an
// orientation (0 horizontal, 1 vertical).
struct Layout {
    double box[4];    // top, left, bottom, right
    double slider[4]; // top, left, bottom, right
    GPoint size;
};
const Layout& LayoutFor(std::int32_t orientation);

// The ranges the Advanced page accepts, each bound by the other fields as
// they stand.
struct Range {
    double low;
    double high;
    bool Holds(double v) const { return v >= low && v <= high; }
};
// A field of the Advanced page as a number within range; else none, with the
// message that refuses it.
std::optional<double> TakeField(const std::string& text, const Range& range, std::string& message);

Range LowerLimitRange(double upper, double resolution);
Range UpperLimitRange(double lower, double resolution);
Range ResolutionRange(double lower, double upper);

// Limits and a resolution that a slider can work with: finite, lower below
// upper, a resolution above 0 and at most the span.
bool UsableSettings(double lower, double upper, double resolution);

} // namespace sliderrules
