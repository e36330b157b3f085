#pragma once
#include <string>

namespace tvane {

// The user's regional formats. The program fills it from the desktop locale; the
// defaults are what the program assumes when the system says nothing.
struct LocaleFormats {
    std::string timeSeparator = ":";       // sTime
    std::string dateSeparator = "/";       // sDate
    std::string am;                        // s1159
    std::string pm;                        // s2359
    std::string shortDate = "M/d/y";       // sShortDate
    bool twentyFourHour = false;           // iTime
    std::string timeFormat = "h:mm:ss tt"; // the locale's first time format
    std::string listSeparator = ",";       // LOCALE_SLIST
    std::string decimalSeparator = ".";
    std::string languageName = "English";      // LOCALE_SENGLANGUAGE
    std::string countryName = "United States"; // LOCALE_SENGCOUNTRY
};

class ILocaleFormats {
public:
    virtual ~ILocaleFormats() = default;
    virtual LocaleFormats Formats() const = 0;
};

// Holds a fixed set of formats; the default instance answers the defaults.
class FixedLocaleFormats final : public ILocaleFormats {
public:
    FixedLocaleFormats() = default;
    explicit FixedLocaleFormats(LocaleFormats f) : m_formats(std::move(f)) {}
    LocaleFormats Formats() const override { return m_formats; }
    void Set(LocaleFormats f) { m_formats = std::move(f); }

private:
    LocaleFormats m_formats;
};

ILocaleFormats& Locale();
void SetLocale(ILocaleFormats* locale); // nullptr restores the defaults

} // namespace tvane
