#include "app/CDateTimeEdit.h"

#include <cstdlib>
#include <ctime>

#include "platform/archive/CArchive.h"
#include "platform/core/Format.h"
#include "platform/core/LocaleFormats.h"

namespace {

using tvane::ReplaceFirst;

constexpr std::int64_t kSecondsPerDay = 86400;

std::string g_localeTime;
std::string g_localeDate;

struct Picture {
    const char* picture;
    const char* conversion;
};

// Tries the pictures of one unit, longest first, and replaces the first found.
template <size_t N> void ReplaceUnit(std::string& text, const Picture (&unit)[N]) {
    for (const Picture& p : unit) {
        if (ReplaceFirst(text, p.picture, p.conversion))
            return;
    }
}

struct Conversion {
    char name;
    int kind;
    int width;
};

// The editable conversions; %l is two fields.
constexpr Conversion kConversions[] = {
    {'Y', CDateTimeEdit::kYear, 4},         {'y', CDateTimeEdit::kYear, 2},
    {'b', CDateTimeEdit::kMonth, 3},        {'m', CDateTimeEdit::kMonth, 2},
    {'a', CDateTimeEdit::kDay, 3},          {'j', CDateTimeEdit::kDay, 3},
    {'d', CDateTimeEdit::kDay, 2},          {'w', CDateTimeEdit::kDay, 1},
    {'H', CDateTimeEdit::kHour, 2},         {'I', CDateTimeEdit::kHour, 2},
    {'M', CDateTimeEdit::kMinute, 2},       {'S', CDateTimeEdit::kSecond, 2},
    {'L', CDateTimeEdit::kMilliseconds, 3}, {'p', CDateTimeEdit::kAmPm, 2},
    {'i', CDateTimeEdit::kHourCounter, 2},
};

const Conversion* FindConversion(char c) {
    for (const Conversion& conv : kConversions) {
        if (conv.name == c)
            return &conv;
    }
    return nullptr;
}

// Conversions strftime renders the way the program has always shown them.
bool IsTimeConversion(char c) {
    static const std::string known = "aAbBcdHIjmMpSUwWxXyYzZ%";
    return c != 0 && known.find(c) != std::string::npos;
}

int HourOf(tvane::CTime time) {
    return time.GetLocalTm().hour;
}

int Number(const std::string& digits) {
    return std::atoi(digits.c_str());
}

} // namespace

std::string CDateTimeEdit::TranslateTimePicture(std::string picture) {
    static const Picture hours[] = {{"hh", "%I"}, {"h", "%I"}, {"HH", "%H"}, {"H", "%H"}};
    static const Picture minutes[] = {{"mm", "%M"}, {"m", "%M"}};
    static const Picture seconds[] = {{"ss", "%S"}, {"s", "%S"}};
    static const Picture ampm[] = {{"tt", "%p"}, {"t", "%p"}};
    ReplaceUnit(picture, hours);
    ReplaceUnit(picture, minutes);
    ReplaceUnit(picture, seconds);
    ReplaceUnit(picture, ampm);
    return picture;
}

std::string CDateTimeEdit::TranslateDatePicture(std::string picture) {
    // A lone "y" (year without century) would otherwise be shown as a letter.
    static const Picture years[] = {{"yyyy", "%Y"}, {"yy", "%y"}, {"y", "%y"}};
    static const Picture months[] = {{"MMMM", "%B"}, {"MMM", "%b"}, {"MM", "%m"}, {"M", "%m"}};
    static const Picture days[] = {{"dddd", "%A"}, {"ddd", "%a"}, {"dd", "%d"}, {"d", "%d"}};
    ReplaceUnit(picture, years);
    ReplaceUnit(picture, months);
    ReplaceUnit(picture, days);
    return picture;
}

const std::string& CDateTimeEdit::LocaleTimeFormat() {
    return g_localeTime;
}
const std::string& CDateTimeEdit::LocaleDateFormat() {
    return g_localeDate;
}

std::string CDateTimeEdit::ExpandFormat(std::string format) {
    // Only the first %X, %x and %c are expanded; a second one stays as the plain
    // text strftime makes of it.
    ReplaceFirst(format, "%X", g_localeTime);
    if (ReplaceFirst(format, "%p", ""))
        format += "%p";
    // The milliseconds follow the seconds. Without a seconds field they stay
    // where they are rather than vanish.
    if (format.find("%S") != std::string::npos) {
        static const char* const millis[] = {".%l", ".%L", "%l", "%L"};
        for (const char* m : millis) {
            if (ReplaceFirst(format, m, "")) {
                ReplaceFirst(format, "%S", std::string("%S") + m);
                break;
            }
        }
    }
    ReplaceFirst(format, "%x", g_localeDate);
    ReplaceFirst(format, "%c", g_localeDate + g_localeTime);
    return format;
}

CDateTimeEdit::CDateTimeEdit()
    : m_time(tvane::CTime::GetCurrentTime()),
      m_earliest(tvane::LocalTime{1996, 1, 1, 0, 0, 0, 0, 0}),
      m_latest(tvane::LocalTime{2037, 12, 31, 23, 59, 59, 0, 0}) {
    const tvane::LocaleFormats locale = tvane::Locale().Formats();
    g_localeTime = TranslateTimePicture(locale.timeFormat);
    g_localeDate = TranslateDatePicture(locale.shortDate);
    m_format = ExpandFormat(m_format);
    Parse();
    ShowText();
}

void CDateTimeEdit::Parse() {
    m_tokens.clear();
    m_fields.clear();
    const std::string& f = m_format;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%' || i + 1 == f.size()) {
            if (m_tokens.empty() || m_tokens.back().conversion != 0)
                m_tokens.push_back(Token{});
            m_tokens.back().literal += f[i];
            continue;
        }
        Token token;
        token.conversion = f[++i];
        // More fields than the table holds are shown but not editable.
        auto addField = [&](int kind, int width) {
            if (m_fields.size() >= kMaxFields)
                return;
            if (token.firstField < 0)
                token.firstField = static_cast<int>(m_fields.size());
            m_fields.push_back(Field{kind, 0, width, 0});
        };
        if (token.conversion == 'l') {
            addField(kTenths, 1);
            addField(kMillisecondsLow, 2);
        } else if (const Conversion* conv = FindConversion(token.conversion)) {
            addField(conv->kind, conv->width);
        }
        m_tokens.push_back(token);
    }
}

std::string CDateTimeEdit::Render(char conversion) const {
    switch (conversion) {
    case 'l':
    case 'L':
        return tvane::Format("%03d", m_milliseconds);
    case 'i':
        return tvane::Format("%02d", m_hourCounter);
    default:
        break;
    }
    if (!IsTimeConversion(conversion))
        return std::string("%") + conversion;
    const std::time_t t = static_cast<std::time_t>(m_time.GetTime());
    std::tm tm{};
    localtime_r(&t, &tm);
    char buffer[128];
    const char format[] = {'%', conversion, 0};
    const size_t n = std::strftime(buffer, sizeof buffer, format, &tm);
    return std::string(buffer, n);
}

void CDateTimeEdit::ShowText() {
    std::string text;
    for (const Token& token : m_tokens) {
        if (token.conversion == 0) {
            text += token.literal;
            continue;
        }
        // Field positions come from the text as rendered, so plain-text
        // conversions of any width ahead of a field cannot shift it.
        const int start = static_cast<int>(text.size());
        text += Render(token.conversion);
        if (token.firstField >= 0) {
            Field& field = m_fields[static_cast<size_t>(token.firstField)];
            field.start = start;
            if (token.conversion == 'l' && token.firstField + 1 < GetFieldCount())
                m_fields[static_cast<size_t>(token.firstField) + 1].start = start + 1;
        }
    }
    m_text = std::move(text);
    TextChanged();
}

void CDateTimeEdit::SetTime(tvane::CTime time, int milliseconds) {
    m_time = time;
    m_milliseconds = static_cast<std::int16_t>(milliseconds);
    ShowText();
}

void CDateTimeEdit::SetRange(tvane::CTime earliest, int earliestMs, tvane::CTime latest,
                             int latestMs) {
    SetMinTime(earliest, earliestMs);
    SetMaxTime(latest, latestMs);
}

void CDateTimeEdit::SetMinTime(tvane::CTime time, int milliseconds) {
    m_earliest = time;
    m_earliestMs = static_cast<std::int16_t>(milliseconds);
}

void CDateTimeEdit::SetMaxTime(tvane::CTime time, int milliseconds) {
    m_latest = time;
    m_latestMs = static_cast<std::int16_t>(milliseconds);
}

void CDateTimeEdit::SetFormat(const std::string& format) {
    if (format == m_format)
        return;
    m_format = ExpandFormat(format);
    Parse();
    ShowText();
    if (m_currentField >= GetFieldCount())
        m_currentField = GetFieldCount() > 0 ? GetFieldCount() - 1 : 0;
}

void CDateTimeEdit::SetCurrentField(int index) {
    m_currentField = index >= 0 && index < GetFieldCount() ? index : 0;
}

void CDateTimeEdit::SelectLastField() {
    SetCurrentField(GetFieldCount() - 1);
}

bool CDateTimeEdit::NextField() {
    if (m_currentField + 1 >= GetFieldCount())
        return false;
    ++m_currentField;
    return true;
}

bool CDateTimeEdit::PreviousField() {
    if (m_currentField <= 0)
        return false;
    --m_currentField;
    return true;
}

void CDateTimeEdit::FieldRight() {
    SetCurrentField(m_currentField + 1 < GetFieldCount() ? m_currentField + 1 : 0);
}

void CDateTimeEdit::FieldLeft() {
    SetCurrentField(m_currentField > 0 ? m_currentField - 1 : GetFieldCount() - 1);
}

void CDateTimeEdit::SetFieldLeft(int index, int pixel) {
    if (index >= 0 && index < GetFieldCount())
        m_fields[static_cast<size_t>(index)].left = pixel;
}

int CDateTimeEdit::FieldAtPixel(int x) const {
    for (int i = 0; i + 1 < GetFieldCount(); ++i) {
        if (x < m_fields[static_cast<size_t>(i) + 1].left)
            return i;
    }
    return GetFieldCount() > 0 ? GetFieldCount() - 1 : 0;
}

bool CDateTimeEdit::Step(bool up, bool show) {
    if (m_currentField < 0 || m_currentField >= GetFieldCount())
        return false;
    const int kind = m_fields[static_cast<size_t>(m_currentField)].kind;
    std::int64_t span = 0;
    int milliseconds = m_milliseconds;
    int counter = m_hourCounter;
    switch (kind) {
    case kYear:
        span = 365 * kSecondsPerDay;
        break;
    case kMonth:
        span = 31 * kSecondsPerDay;
        break;
    case kDay:
        span = kSecondsPerDay;
        break;
    case kHour:
        span = 3600;
        break;
    case kMinute:
        span = 60;
        break;
    case kSecond:
        span = 1;
        break;
    case kAmPm:
        span = 12 * 3600;
        // Up and Down both switch between AM and PM of the same day.
        up = HourOf(m_time) < 12;
        break;
    case kHourCounter:
        span = 3600;
        counter = up ? (counter + 1 > 99 ? 0 : counter + 1) : (counter - 1 < 0 ? 99 : counter - 1);
        break;
    case kMilliseconds:
    case kTenths:
    case kMillisecondsLow: {
        const int unit = kind == kTenths ? 100 : 1;
        if (up) {
            milliseconds += unit;
            if (milliseconds > 999) {
                milliseconds -= 1000;
                span = 1;
            }
        } else {
            milliseconds -= unit;
            if (milliseconds < 0) {
                milliseconds = unit == 1 ? 999 : milliseconds + 1000;
                span = 1;
            }
        }
        break;
    }
    default:
        return false;
    }

    const tvane::CTime next = up ? m_time + span : m_time - span;
    if (up) {
        if (next > m_latest || (next == m_latest && milliseconds > m_latestMs))
            return false;
    } else {
        if (next < m_earliest || (next == m_earliest && milliseconds < m_earliestMs))
            return false;
    }
    if (kind != kHourCounter && HourOf(next) != HourOf(m_time)) {
        if (up && counter < 99)
            ++counter;
        else if (!up && counter > 0)
            --counter;
    }
    m_time = next;
    m_milliseconds = milliseconds;
    m_hourCounter = counter;
    if (show)
        ShowText();
    return true;
}

bool CDateTimeEdit::TypeDigit(char digit) {
    if (digit < '0' || digit > '9' || m_currentField < 0 || m_currentField >= GetFieldCount())
        return false;
    const Field& field = m_fields[static_cast<size_t>(m_currentField)];
    const size_t start = static_cast<size_t>(field.start);
    if (start >= m_text.size())
        return false;
    const std::string shown = m_text.substr(start, static_cast<size_t>(field.width));
    return SetFieldDigits(shown.substr(shown.empty() ? 0 : 1) + digit, digit);
}

void CDateTimeEdit::BeginEntry() {
    m_entering = GetFieldCount() > 0;
    m_entryDigits.clear();
    if (m_entering)
        m_currentField = 0;
}

void CDateTimeEdit::EndEntry() {
    m_entering = false;
    m_entryDigits.clear();
}

bool CDateTimeEdit::TypeChar(char c) {
    const bool digit = c >= '0' && c <= '9';
    if (!m_entering)
        return digit && TypeDigit(c);
    if (m_currentField < 0 || m_currentField >= GetFieldCount()) {
        EndEntry();
        return false;
    }
    const Field& field = m_fields[static_cast<size_t>(m_currentField)];
    bool changed = false;
    bool full = false;
    if (field.kind == kAmPm) {
        // The designator is chosen by its first letter; nothing else fills it.
        const char letter = static_cast<char>(c | 0x20);
        if (letter == 'a' || letter == 'p') {
            if ((HourOf(m_time) >= 12) != (letter == 'p'))
                changed = Step(true, true);
            full = true;
        }
    } else if (digit) {
        // The field fills from empty: what is typed so far is its value. A
        // date takes the calendar's day, month or year as typed; the other
        // fields move by their steps, as a rolled-in digit does.
        m_entryDigits += c;
        full = static_cast<int>(m_entryDigits.size()) >= field.width;
        const bool date =
            field.kind == kYear || field.kind == kMonth || (field.kind == kDay && field.width == 2);
        if (date) {
            if (full || field.kind != kYear)
                changed = SetDateField(field.kind, field.width, Number(m_entryDigits));
        } else {
            const size_t width = static_cast<size_t>(field.width);
            changed = SetFieldDigits(
                std::string(width - std::min(width, m_entryDigits.size()), '0') + m_entryDigits, c);
        }
    } else {
        // A separator ends a field that has been typed into; right after a
        // field filled up it is the one the text shows there, and is passed.
        full = !m_entryDigits.empty();
    }
    if (full) {
        m_entryDigits.clear();
        if (!NextField())
            EndEntry();
    }
    return changed;
}

bool CDateTimeEdit::SetDateField(int kind, int width, int value) {
    tvane::LocalTime local = m_time.GetLocalTm();
    switch (kind) {
    case kYear:
        local.year = width == 2 ? (value < 70 ? 2000 : 1900) + value : value;
        break;
    case kMonth:
        local.month = value;
        break;
    default:
        local.day = value;
        break;
    }
    // A day the month does not have is refused, not carried into the next.
    if (local.month < 1 || local.month > 12 || local.day < 1 || local.day > 31)
        return false;
    const tvane::CTime time(local);
    const tvane::LocalTime made = time.GetLocalTm();
    if (made.day != local.day || made.month != local.month || made.year != local.year)
        return false;
    if (time < m_earliest || (time == m_earliest && m_milliseconds < m_earliestMs) ||
        time > m_latest || (time == m_latest && m_milliseconds > m_latestMs) || time == m_time)
        return false;
    m_time = time;
    ShowText();
    return true;
}

bool CDateTimeEdit::SetFieldDigits(const std::string& typed, char digit) {
    const Field& field = m_fields[static_cast<size_t>(m_currentField)];
    if (static_cast<size_t>(field.start) >= m_text.size())
        return false;
    const int oldValue =
        Number(m_text.substr(static_cast<size_t>(field.start), static_cast<size_t>(field.width)));
    int newValue = Number(typed);

    // A value past the field's limit restarts the field with the digit; past it
    // even then, the digit is refused.
    auto limit = [&](int low, int high, bool zeroRestarts) {
        if (newValue < low)
            return false;
        if (newValue > high) {
            if (digit == '0' && !zeroRestarts)
                return false;
            newValue = digit - '0';
        }
        return true;
    };
    bool accepted = true;
    switch (field.kind) {
    case kMonth:
        accepted = limit(1, 12, false);
        break;
    case kDay:
        accepted = limit(1, 31, false);
        break;
    case kHour:
        accepted = limit(0, 23, true);
        break;
    case kMinute:
    case kSecond:
        accepted = limit(0, 59, true);
        break;
    default:
        break;
    }
    if (!accepted || newValue == oldValue)
        return false;

    // Stepped one unit at a time so the bounds hold at every step; a failed step
    // puts back everything the earlier steps moved.
    const tvane::CTime time = m_time;
    const int milliseconds = m_milliseconds;
    const int counter = m_hourCounter;
    const bool up = newValue > oldValue;
    for (int steps = up ? newValue - oldValue : oldValue - newValue; steps > 0; --steps) {
        if (!Step(up, false)) {
            m_time = time;
            m_milliseconds = milliseconds;
            m_hourCounter = counter;
            return false;
        }
    }
    ShowText();
    return true;
}

void CDateTimeEdit::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_time << m_format << static_cast<std::int32_t>(m_currentField)
           << static_cast<std::int32_t>(GetFieldCount()) << m_reserved;
        return;
    }
    std::int32_t current = 0;
    std::int32_t count = 0;
    ar >> m_time >> m_format >> current >> count >> m_reserved;
    // The stored count is what the writer saw; the fields come from the format.
    Parse();
    ShowText();
    SetCurrentField(current);
}

CElapsedTimeEdit::CElapsedTimeEdit() : m_base(tvane::CTime::GetCurrentTime()) {}

namespace {
std::int64_t Span(int days, int hours, int minutes, int seconds) {
    return static_cast<std::int64_t>(static_cast<std::int16_t>(days)) * kSecondsPerDay +
           static_cast<std::int16_t>(hours) * 3600 + static_cast<std::int16_t>(minutes) * 60 +
           static_cast<std::int16_t>(seconds);
}
} // namespace

void CElapsedTimeEdit::SetElapsedMin(int days, int hours, int minutes, int seconds,
                                     int milliseconds) {
    SetMinTime(m_base + Span(days, hours, minutes, seconds), milliseconds);
}

void CElapsedTimeEdit::SetElapsedMax(int days, int hours, int minutes, int seconds,
                                     int milliseconds) {
    SetMaxTime(m_base + Span(days, hours, minutes, seconds), milliseconds);
}

void CElapsedTimeEdit::SetElapsed(int days, int hours, int minutes, int seconds, int milliseconds) {
    SetTime(m_base + Span(days, hours, minutes, seconds), milliseconds);
}

double CElapsedTimeEdit::GetElapsedSeconds() const {
    return static_cast<double>(GetTime() - m_base) + GetMilliseconds() / 1000.0;
}

void CDateTimeEdit::SetHourCounter(int counter) {
    m_hourCounter = counter < 0 ? 0 : counter > 99 ? 99 : counter;
    ShowText();
}
