#pragma once
#include "platform/core/StringTable.h"

// The switch bank's and the push buttons' texts by string id.
const tvane::StringTable& SwitchTexts();

namespace switchtext {
inline constexpr unsigned kOnLabel = 208;
inline constexpr unsigned kOffLabel = 209;
inline constexpr unsigned kSwitchplate = 214;
inline constexpr unsigned kOn = 215;
inline constexpr unsigned kOff = 216;
inline constexpr unsigned kButtonUp = 234;
inline constexpr unsigned kButtonDown = 235;
inline constexpr unsigned kNoConnection = 301;
} // namespace switchtext
