#pragma once
#include <cfloat>
#include <cstdint>
#include <optional>
#include <string>

class CChannelInfo;

// What a readout shows for a value of its channel.
namespace readouttext {

enum NumberFormat : std::int32_t { kDecimal = 0, kHex = 1 };
// The readout's "no value": nothing is shown for it.
inline constexpr double kNoValue = DBL_MAX;
// Texts are kept in fields of 80 characters.
inline constexpr std::size_t kMaxText = 79;

struct Shown {
    std::string text;
    double value; // the value kept: a bit channel's 0 or 1 in decimal
};

// The instrument's overload value shows "OVLD" and the channel's units as
// displayed; decimal goes through the shared value formatter (8 characters),
// a bit of a digital channel (kind 4) as 0 or 1; hexadecimal shows the low 32
// bits of the value truncated toward zero ("%04Xh", so a negative value
// shows its two's complement) with the units as they stand. None for the "no
// value".
std::optional<Shown> Format(double value, std::int32_t format, const CChannelInfo& channel);

} // namespace readouttext
