#pragma once
#include "platform/core/StringTable.h"

// The slider display's texts by string id.
const tvane::StringTable& SliderTexts();

namespace slidertext {
inline constexpr unsigned kNoConnection = 301;
inline constexpr unsigned kEnterDigit = 934;
inline constexpr unsigned kEnterInRange = 935;
} // namespace slidertext
