#include "driver/CGeneralModel.h"

#include <ctime>

#include "driver/CKXQT7100.h"
#include "platform/core/LocaleFormats.h"

namespace tvane::driver {

namespace {

// A conversion of strftime for each run of one picture letter, by run length.
std::string Conversion(char letter, std::size_t run) {
    switch (letter) {
    case 'y':
        return run >= 4 ? "%Y" : "%y";
    case 'M':
        return run >= 4 ? "%B" : run == 3 ? "%b" : "%m";
    case 'd':
        return run >= 4 ? "%A" : run == 3 ? "%a" : "%d";
    case 'h':
        return "%I";
    case 'H':
        return "%H";
    case 'm':
        return "%M";
    case 's':
        return "%S";
    case 't':
    case 'A':
    case 'a':
        return "%p";
    default:
        return std::string(run, letter);
    }
}

// A locale picture ("M/d/yyyy", "h:mm:ss tt") as a strftime format; quoted
// parts and other characters stay as they are.
std::string Picture(const std::string& picture) {
    std::string out;
    for (std::size_t i = 0; i < picture.size();) {
        const char c = picture[i];
        if (c == '\'') {
            const std::size_t end = picture.find('\'', i + 1);
            const std::size_t stop = end == std::string::npos ? picture.size() : end;
            for (std::size_t k = i + 1; k < stop; ++k)
                out += picture[k] == '%' ? std::string("%%") : std::string(1, picture[k]);
            i = stop + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c)
            ++run;
        out += c == '%' ? std::string(2 * run, '%') : Conversion(c, run);
        i += run;
    }
    return out;
}

} // namespace

std::string CGeneralModel::FormatDateTime(const LocalTime& time) {
    const LocaleFormats locale = Locale().Formats();
    const std::string format = Picture(locale.shortDate) + " " + Picture(locale.timeFormat);
    // Through mktime, so that the weekday is known and out-of-range fields are
    // brought into range as the calendar does.
    const LocalTime t = ToLocalTime(FromLocalTime(time));
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_wday = t.dayOfWeek;
    tm.tm_isdst = -1;
    char text[256];
    const std::size_t n = std::strftime(text, sizeof text, format.c_str(), &tm);
    return std::string(text, n);
}

void CGeneralModel::Refresh() {
    ReadClocks();
    m_systemRevision = m_driver.GetSystemVersion();
    m_slotRevisions = {};
    // A module query that fails leaves the later slots unasked.
    for (int i = 0; i < 3; ++i)
        if (!m_driver.GetSlotRevision(100 * (i + 1), m_slotRevisions[static_cast<std::size_t>(i)]))
            break;
}

void CGeneralModel::ReadClocks() {
    InstrumentClock clock;
    m_driver.GetInstrumentTime(clock);
    LocalTime t;
    t.year = clock.year;
    t.month = clock.month;
    t.day = clock.day;
    t.hour = clock.hour;
    t.minute = clock.minute;
    t.second = clock.second;
    m_instrumentTime = FormatDateTime(t);
    m_computerTime = FormatDateTime(Clock().LocalNow());
}

bool CGeneralModel::SetToPc() {
    const LocalTime now = Clock().LocalNow();
    bool ok = m_driver.SetInstrumentDate(static_cast<std::int16_t>(now.year),
                                         static_cast<std::int16_t>(now.month),
                                         static_cast<std::int16_t>(now.day));
    if (ok)
        ok = m_driver.SetInstrumentTime(static_cast<std::int16_t>(now.hour),
                                        static_cast<std::int16_t>(now.minute),
                                        static_cast<std::int16_t>(now.second), 0);
    m_computerTime = FormatDateTime(now);
    // A clock the instrument did not take is not shown as set.
    if (ok)
        m_instrumentTime = m_computerTime;
    return ok;
}

} // namespace tvane::driver
