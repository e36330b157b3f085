#include "app/startup/RegionalFormats.h"

#include <cctype>

RegionalFormats BuildRegionalFormats(const tvane::LocaleFormats& locale) {
    RegionalFormats out;
    out.twentyFourHour = locale.twentyFourHour;
    out.am = locale.am.substr(0, 10);
    out.pm = locale.pm.substr(0, 10);
    out.timeFormat = std::string(locale.twentyFourHour ? "%H" : "%I") + locale.timeSeparator + "%M";

    const std::string pattern = locale.shortDate.substr(0, 15);
    const std::string year = pattern.find("yyyy") != std::string::npos ? "%Y" : "%y";
    char lead = 'M';
    for (char c : pattern) {
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower == 'y' || lower == 'd' || lower == 'm') {
            lead = lower;
            break;
        }
    }
    const std::string& s = locale.dateSeparator;
    if (lead == 'y')
        out.dateFormat = year + s + "%m" + s + "%d";
    else if (lead == 'd')
        out.dateFormat = "%d" + s + "%m" + s + year;
    else
        out.dateFormat = "%m" + s + "%d" + s + year;
    return out;
}
