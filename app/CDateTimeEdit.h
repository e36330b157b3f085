#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/archive/CTime.h"

namespace tvane {
class CArchive;
}

// The date and time entry control without its window: a point in time to the
// second plus milliseconds, shown as fixed-width text made of fields (year,
// month, day, hour, minute, second, milliseconds, AM/PM, an hour counter) and
// literal characters. One field is current; it is stepped up and down, or digits
// roll into it from the right, always within an earliest and a latest time. The
// document uses one as its time-stamp formatter (SetFormat, SetTime, GetText);
// the widget adds the edit box, keys, mouse and spin button on top.
//
// Formats use the time conversions of strftime plus %l (milliseconds, edited as
// tenths and then two digits), %L (milliseconds as one field) and %i (hour
// counter, 00-99). %x, %X and %c stand for the user's locale date, time, and
// date-and-time formats. Conversions whose width varies (%A, %B, %U, %W, %Z, ...)
// are shown as plain, non-editable text.
class CDateTimeEdit {
public:
    enum FieldKind {
        kYear = 0,
        kMonth = 1,
        kDay = 2,
        kHour = 3,
        kMinute = 4,
        kSecond = 5,
        kMilliseconds = 6,
        kTenths = 7,
        kMillisecondsLow = 8, // last two digits of %l
        kAmPm = 9,
        kHourCounter = 10,
    };
    struct Field {
        int kind = 0;
        int start = 0; // first character in the text
        int width = 0; // characters
        int left = 0;  // pixel position in the edit box (set by the widget)
    };
    static constexpr int kMaxFields = 10;

    CDateTimeEdit();
    virtual ~CDateTimeEdit() = default;

    // No range check.
    void SetTime(tvane::CTime time, int milliseconds);
    tvane::CTime GetTime() const { return m_time; }
    int GetMilliseconds() const { return m_milliseconds; }
    int GetHourCounter() const { return m_hourCounter; }
    // The %i field, 0 to 99; shown at once.
    void SetHourCounter(int counter);

    // The shown value is not touched.
    void SetRange(tvane::CTime earliest, int earliestMs, tvane::CTime latest, int latestMs);
    void SetMinTime(tvane::CTime time, int milliseconds);
    void SetMaxTime(tvane::CTime time, int milliseconds);
    tvane::CTime GetMinTime() const { return m_earliest; }
    tvane::CTime GetMaxTime() const { return m_latest; }

    // A different format (case-sensitive) is expanded and shown, and the current
    // field is kept within the new fields; an equal one changes nothing.
    void SetFormat(const std::string& format);
    // The expanded format.
    const std::string& GetFormat() const { return m_format; }
    std::string GetText() const { return m_text; }

    int GetFieldCount() const { return static_cast<int>(m_fields.size()); }
    const Field& GetField(int index) const { return m_fields.at(static_cast<size_t>(index)); }
    int GetCurrentField() const { return m_currentField; }
    // An index outside the fields makes field 0 current.
    void SetCurrentField(int index);
    void SelectLastField();
    // Tab and Shift+Tab: false at the last (first) field, where the key belongs to
    // the dialog.
    bool NextField();
    bool PreviousField();
    // Right and Left: round from the last field to the first and back.
    void FieldRight();
    void FieldLeft();
    void SetFieldLeft(int index, int pixel);
    // The field whose pixel range holds x; the last one takes everything right
    // of its start.
    int FieldAtPixel(int x) const;

    // Steps the current field; false (and nothing changed) when the step would
    // leave the allowed range.
    bool StepUp(bool show = true) { return Step(true, show); }
    bool StepDown(bool show = true) { return Step(false, show); }
    // Rolls a digit into the current field from the right; true when the value
    // changed. A digit the field cannot take changes nothing.
    bool TypeDigit(char digit);

    // The whole text was selected: what is typed next is a whole time, from the
    // first field on. Each field fills from empty with its digits and hands on
    // to the next when full or at a separator (the text's own separators are
    // passed); a date takes the calendar's year, month and day as typed, and
    // the AM/PM field takes "A" or "P". Entry ends after the last
    // field or with EndEntry (any other key or a click).
    void BeginEntry();
    void EndEntry();
    bool IsEntering() const { return m_entering; }
    // A typed character: during entry as above; otherwise a digit rolls into
    // the current field and anything else is not the control's. True when
    // the value changed.
    bool TypeChar(char c);

    // Time, format, current field, field count and the reserved word. Loading
    // rebuilds the fields from the loaded format.
    void Serialize(tvane::CArchive& ar);

    // The locale formats as conversions, refreshed by every construction.
    static const std::string& LocaleTimeFormat();
    static const std::string& LocaleDateFormat();
    // Windows-style pictures ("h:mm:ss tt", "M/d/yyyy") as conversions.
    static std::string TranslateTimePicture(std::string picture);
    static std::string TranslateDatePicture(std::string picture);
    // The format after %X, %p, milliseconds, %x and %c are settled.
    static std::string ExpandFormat(std::string format);

protected:
    // Called after the text has been rebuilt; the widget shows it.
    virtual void TextChanged() {}
    // Rebuilds the text from the time, milliseconds and hour counter.
    void ShowText();

private:
    struct Token {
        char conversion = 0; // 0: literal text
        std::string literal;
        int firstField = -1; // index of the token's (first) field, -1 none
    };

    bool Step(bool up, bool show);
    // Gives the current field the value of the typed digits (digit the last
    // one typed), by steps within the range; true when the value changed.
    bool SetFieldDigits(const std::string& typed, char digit);
    // Sets the year, month or day of the calendar to a typed value, within
    // the range; a date that does not exist changes nothing.
    bool SetDateField(int kind, int width, int value);
    void Parse();
    std::string Render(char conversion) const;

    std::uint16_t m_reserved = 0;
    tvane::CTime m_time;
    tvane::CTime m_earliest;
    tvane::CTime m_latest;
    int m_earliestMs = 0;
    int m_latestMs = 999;
    std::string m_format = "%x %X.%l";
    std::string m_text;
    int m_currentField = 2;
    int m_hourCounter = 0;
    int m_milliseconds = 0;
    std::vector<Token> m_tokens;
    std::vector<Field> m_fields;
    bool m_entering = false;
    std::string m_entryDigits; // typed into the current field during entry
};

// Shows a time as an offset from a base time (now, at construction).
class CElapsedTimeEdit : public CDateTimeEdit {
public:
    CElapsedTimeEdit();

    void SetElapsedMin(int days, int hours, int minutes, int seconds, int milliseconds);
    void SetElapsedMax(int days, int hours, int minutes, int seconds, int milliseconds);
    void SetElapsed(int days, int hours, int minutes, int seconds, int milliseconds);
    double GetElapsedSeconds() const;
    tvane::CTime GetBaseTime() const { return m_base; }

private:
    tvane::CTime m_base;
};
