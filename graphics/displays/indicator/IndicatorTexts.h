#pragma once
#include "platform/core/StringTable.h"

// The texts of the gauge displays (readout, lamps, switches, buttons) by
// string id.
const tvane::StringTable& IndicatorTexts();

namespace indicatortext {
inline constexpr unsigned kNoReading = 206;
inline constexpr unsigned kOn = 208;
inline constexpr unsigned kOff = 209;
inline constexpr unsigned kNoAlarm = 218;
inline constexpr unsigned kLowAlarm = 219;
inline constexpr unsigned kHighAlarm = 220;
inline constexpr unsigned kButtonUp = 234;
inline constexpr unsigned kButtonDown = 235;
inline constexpr unsigned kRead = 238;
inline constexpr unsigned kNoConnection = 301;
} // namespace indicatortext
