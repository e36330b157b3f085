#pragma once
#include <string>

#include "platform/core/LocaleFormats.h"

// The main frame's date and time formats (strftime patterns) and the day-half
// designators, built from the user's regional settings.
struct RegionalFormats {
    std::string dateFormat;
    std::string timeFormat;
    std::string am;
    std::string pm;
    bool twentyFourHour = false;
};

RegionalFormats BuildRegionalFormats(const tvane::LocaleFormats& locale);
