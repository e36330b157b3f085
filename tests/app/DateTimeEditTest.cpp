#include "app/CDateTimeEdit.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/core/LocaleFormats.h"
#include "platform/core/Services.h"

#include <gtest/gtest.h>

namespace {

using tvane::CTime;
using tvane::LocalTime;

CTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    return CTime(LocalTime{y, mo, d, h, mi, s, 0, 0});
}

// US formats, so the expected texts do not depend on the machine.
class DateTimeEditTest : public ::testing::Test {
protected:
    DateTimeEditTest() {
        tvane::LocaleFormats f;
        f.timeFormat = "h:mm:ss tt";
        f.shortDate = "M/d/yyyy";
        locale.Set(f);
    }
    tvane::FixedLocaleFormats locale;
    tvane::FakeClock clock{At(2002, 5, 14, 12, 16, 20).GetTime()};
    tvane::ScopedService<tvane::ILocaleFormats> localeGuard{tvane::SetLocale, &locale};
    tvane::ScopedService<tvane::IClock> clockGuard{tvane::SetClock, &clock};
};

std::vector<int> Kinds(const CDateTimeEdit& e) {
    std::vector<int> kinds;
    for (int i = 0; i < e.GetFieldCount(); ++i)
        kinds.push_back(e.GetField(i).kind);
    return kinds;
}

TEST(DateTimePictures, TranslateTheFirstPicturePerUnitLongestFirst) {
    const std::pair<const char*, const char*> times[] = {
        {"h:mm:ss tt", "%I:%M:%S %p"},
        {"HH:mm:ss", "%H:%M:%S"},
        {"H.m.s", "%H.%M.%S"},
        {"hh:mm t", "%I:%M %p"},
    };
    for (auto [picture, expected] : times)
        EXPECT_EQ(CDateTimeEdit::TranslateTimePicture(picture), expected) << picture;
    const std::pair<const char*, const char*> dates[] = {
        {"M/d/yyyy", "%m/%d/%Y"},
        {"dd.MM.yy", "%d.%m.%y"},
        {"M/d/y", "%m/%d/%y"},
        {"ddd, MMM d yyyy", "%a, %b d %Y"}, // only the first day picture
    };
    for (auto [picture, expected] : dates)
        EXPECT_EQ(CDateTimeEdit::TranslateDatePicture(picture), expected) << picture;
}

TEST_F(DateTimeEditTest, DefaultFormatExpandsToNineFieldsWithAmPmLast) {
    CDateTimeEdit e;
    EXPECT_EQ(e.GetFormat(), "%m/%d/%Y %I:%M:%S.%l %p");
    EXPECT_EQ(Kinds(e), (std::vector<int>{1, 2, 0, 3, 4, 5, 7, 8, 9}));
    e.SetTime(At(2002, 5, 14, 14, 3, 9), 50);
    EXPECT_EQ(e.GetText(), "05/14/2002 02:03:09.050 PM");
    // %l is a tenths field of one digit directly followed by two digits.
    EXPECT_EQ(e.GetField(6).start, 20);
    EXPECT_EQ(e.GetField(6).width, 1);
    EXPECT_EQ(e.GetField(7).start, 21);
    EXPECT_EQ(e.GetField(7).width, 2);
    EXPECT_EQ(e.GetField(8).start, 24);
}

TEST_F(DateTimeEditTest, FormatExpansionCases) {
    struct Case {
        const char* format;
        const char* expanded;
        const char* text; // at 2002-05-14 14:03:09.007, hour counter 0
        int fields;
    };
    const Case cases[] = {
        {"%i:%M:%S.%l", "%i:%M:%S.%l", "00:03:09.007", 5},
        {"%H:%M:%S.%L", "%H:%M:%S.%L", "14:03:09.007", 4},
        {"%L %H:%M:%S", " %H:%M:%S%L", " 14:03:09007", 4},
        {"%p %H", " %H%p", " 14PM", 2},
        {"%H:%M.%l", "%H:%M.%l", "14:03.007", 4}, // no seconds: milliseconds stay
        {"%X %X", "%I:%M:%S  %X%p", "02:03:09  14:03:09PM", 4},
        {"%c", "%m/%d/%Y%I:%M:%S %p", "05/14/200202:03:09 PM", 7},
        {"%A %d", "%A %d", "Tuesday 14", 1},
        // Twelve fields: the last two are shown but not editable.
        {"%Y%m%d%H%M%S%l%i%p%y%d", "%Y%m%d%H%M%S%l%i%y%d%p", "20020514140309007000214PM", 10},
    };
    for (const Case& c : cases) {
        CDateTimeEdit e;
        e.SetTime(At(2002, 5, 14, 14, 3, 9), 7);
        e.SetFormat(c.format);
        EXPECT_EQ(e.GetFormat(), c.expanded) << c.format;
        EXPECT_EQ(e.GetText(), c.text) << c.format;
        EXPECT_EQ(e.GetFieldCount(), c.fields) << c.format;
    }
}

TEST_F(DateTimeEditTest, FieldAfterWideTextStartsWhereItIsShown) {
    CDateTimeEdit e;
    e.SetTime(At(2002, 5, 1), 0);
    e.SetFormat("%A %d");
    ASSERT_EQ(e.GetFieldCount(), 1);
    EXPECT_EQ(e.GetField(0).start, 10); // after "Wednesday "
    e.SetCurrentField(0);
    EXPECT_TRUE(e.TypeDigit('3'));
    EXPECT_EQ(e.GetText(), "Monday 13");
    EXPECT_EQ(e.GetField(0).start, 7);
}

class StepTest : public DateTimeEditTest {
protected:
    // Makes the field of the given kind current.
    void Select(int kind) {
        for (int i = 0; i < e.GetFieldCount(); ++i) {
            if (e.GetField(i).kind == kind) {
                e.SetCurrentField(i);
                return;
            }
        }
        FAIL() << "no field of kind " << kind;
    }
    CDateTimeEdit e;
};

TEST_F(StepTest, StepsStopAtTheBoundsWithoutWrapping) {
    e.SetTime(At(2037, 6, 1), 0);
    Select(CDateTimeEdit::kYear);
    const std::string before = e.GetText();
    EXPECT_FALSE(e.StepUp());
    EXPECT_EQ(e.GetText(), before);
    EXPECT_EQ(e.GetTime(), At(2037, 6, 1));

    e.SetRange(At(2002, 1, 1), 0, At(2037, 12, 31, 23, 59, 59), 999);
    e.SetTime(At(2002, 1, 1), 0);
    Select(CDateTimeEdit::kSecond);
    EXPECT_FALSE(e.StepDown());
    Select(CDateTimeEdit::kMillisecondsLow);
    EXPECT_FALSE(e.StepDown());
    EXPECT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetMilliseconds(), 1);

    e.SetTime(At(2037, 12, 31, 23, 59, 59), 998);
    EXPECT_TRUE(e.StepUp());
    EXPECT_FALSE(e.StepUp()) << "equal time: milliseconds may not pass 999";
}

TEST_F(StepTest, MillisecondsCarryIntoTheSeconds) {
    e.SetTime(At(2002, 5, 14, 10, 0, 0), 50);
    Select(CDateTimeEdit::kTenths);
    EXPECT_TRUE(e.StepDown());
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 9, 59, 59));
    EXPECT_EQ(e.GetMilliseconds(), 950);
    Select(CDateTimeEdit::kMillisecondsLow);
    e.SetTime(At(2002, 5, 14, 10, 0, 0), 999);
    EXPECT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 10, 0, 1));
    EXPECT_EQ(e.GetMilliseconds(), 0);
    EXPECT_TRUE(e.StepDown());
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 10, 0, 0));
    EXPECT_EQ(e.GetMilliseconds(), 999);
}

TEST_F(StepTest, AmPmSwitchesWithinTheDayWhicheverWay) {
    e.SetTime(At(2002, 5, 14, 14, 0, 0), 0);
    Select(CDateTimeEdit::kAmPm);
    EXPECT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 2, 0, 0));
    e.SetTime(At(2002, 5, 14, 9, 0, 0), 0);
    EXPECT_TRUE(e.StepDown());
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 21, 0, 0));
    const CTime t = e.GetTime();
    EXPECT_FALSE(e.TypeDigit('7'));
    EXPECT_EQ(e.GetTime(), t);
}

TEST_F(StepTest, HourCounterFollowsTheHourUpTo99) {
    e.SetFormat("%i:%M:%S.%l");
    e.SetTime(At(2002, 5, 14, 10, 59, 0), 0);
    e.SetCurrentField(0);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetHourCounter(), 5);
    EXPECT_EQ(e.GetText(), "05:59:00.000");
    Select(CDateTimeEdit::kMinute);
    EXPECT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetText(), "06:00:00.000");
    e.SetCurrentField(0);
    EXPECT_TRUE(e.TypeDigit('9')); // 06 -> 69
    EXPECT_TRUE(e.TypeDigit('9')); // 69 -> 99
    EXPECT_EQ(e.GetHourCounter(), 99);
    Select(CDateTimeEdit::kMinute);
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetHourCounter(), 99);
    e.SetCurrentField(0);
    EXPECT_TRUE(e.StepUp());
    EXPECT_EQ(e.GetHourCounter(), 0) << "the counter field itself wraps";
}

TEST_F(StepTest, TypedMonthRollsInAndRestartsPastTwelve) {
    e.SetTime(At(2002, 1, 10), 0);
    Select(CDateTimeEdit::kMonth);
    EXPECT_TRUE(e.TypeDigit('1'));
    EXPECT_EQ(e.GetTime(), At(2002, 1, 10) + 10 * 31 * 86400);
    EXPECT_EQ(e.GetText().substr(0, 2), "11");
    EXPECT_TRUE(e.TypeDigit('3')); // 13: restarts as 03
    EXPECT_EQ(e.GetTime(), At(2002, 1, 10) + 2 * 31 * 86400);
    EXPECT_EQ(e.GetText().substr(0, 2), "03");
    EXPECT_FALSE(e.TypeDigit('0')) << "30 is no month, and 0 cannot restart it";
}

TEST_F(StepTest, TypedDayAndHourCases) {
    e.SetTime(At(2002, 5, 4, 10), 0);
    Select(CDateTimeEdit::kDay);
    EXPECT_FALSE(e.TypeDigit('0'));
    EXPECT_EQ(e.GetTime(), At(2002, 5, 4, 10));
    EXPECT_TRUE(e.TypeDigit('5'));
    EXPECT_EQ(e.GetTime(), At(2002, 5, 5, 10));

    e.SetFormat("%H:%M:%S");
    e.SetCurrentField(0);
    EXPECT_TRUE(e.TypeDigit('0')); // 10 -> 00
    EXPECT_EQ(e.GetTime(), At(2002, 5, 5, 0));
    EXPECT_TRUE(e.TypeDigit('7')); // 00 -> 07
    EXPECT_TRUE(e.TypeDigit('8')); // 78 -> 08
    EXPECT_EQ(e.GetTime(), At(2002, 5, 5, 8));
    EXPECT_TRUE(e.TypeDigit('0')); // 80 -> 00
    EXPECT_EQ(e.GetTime(), At(2002, 5, 5, 0));
}

TEST_F(StepTest, RejectedDigitPutsEverythingBack) {
    e.SetTime(At(2002, 5, 14, 10), 0);
    Select(CDateTimeEdit::kYear);
    const std::string before = e.GetText();
    EXPECT_FALSE(e.TypeDigit('5')); // 2002 -> 0025, before the earliest time
    EXPECT_EQ(e.GetText(), before);
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 10));

    // Milliseconds stepped before the failing step come back too.
    e.SetFormat("%H:%M:%S %L");
    e.SetTime(At(2002, 5, 14, 10), 990);
    e.SetMinTime(At(2002, 5, 14, 10), 950);
    Select(CDateTimeEdit::kMilliseconds);
    EXPECT_FALSE(e.TypeDigit('5')); // 990 -> 905 passes 950
    EXPECT_EQ(e.GetMilliseconds(), 990);
    EXPECT_EQ(e.GetText(), "10:00:00990 "); // %L follows the seconds

    // And so does the hour counter.
    e.SetFormat("%i:%M:%S");
    e.SetTime(At(2002, 5, 14, 10), 0);
    e.SetMaxTime(At(2002, 5, 14, 20), 0);
    e.SetCurrentField(0);
    EXPECT_TRUE(e.TypeDigit('5'));
    EXPECT_FALSE(e.TypeDigit('9')); // 05 -> 59: 54 hours, past the latest time
    EXPECT_EQ(e.GetHourCounter(), 5);
    EXPECT_EQ(e.GetTime(), At(2002, 5, 14, 15));
    EXPECT_EQ(e.GetText(), "05:00:00");
}

// After Select All a whole time is typed over the text: each field fills from
// empty and hands on when full or at a separator.
TEST_F(StepTest, AWholeTimeIsTypedOverTheSelectedText) {
    struct Case {
        const char* format;
        const char* typed;
        const char* shown;
        int hourCounter;
    };
    const Case cases[] = {
        {"%i:%M:%S.%l", "00:00:01.000", "00:00:01.000", 0},
        {"%i:%M:%S.%l", "1:2:3.456", "01:02:03.456", 1},
        {"%i:%M:%S.%l", "000001000", "00:00:01.000", 0},
        {"%m/%d/%Y %H:%M:%S", "12/31/2030 23:59:58", "12/31/2030 23:59:58", 0},
        {"%m/%d/%Y %I:%M:%S %p", "1/2/2003 4:05:06 P", "01/02/2003 04:05:06 PM", 0},
        // A date that does not exist or lies outside the range is not taken
        // (the day keeps its first digit, the year its value); the rest goes on.
        {"%m/%d/%Y %H:%M", "02/30/1990 07:30", "02/03/2002 07:30", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        CDateTimeEdit edit;
        edit.SetFormat(c.format);
        edit.SetTime(At(2002, 5, 14, 10, 20, 30), 250);
        edit.SetHourCounter(10);
        edit.BeginEntry();
        EXPECT_EQ(edit.GetCurrentField(), 0);
        for (const char* p = c.typed; *p; ++p)
            edit.TypeChar(*p);
        EXPECT_EQ(edit.GetText(), c.shown);
        if (std::string(c.format).starts_with("%i")) {
            EXPECT_EQ(edit.GetHourCounter(), c.hourCounter);
        }
    }

    // Without Select All a digit rolls into the current field and other
    // characters are not the control's; any other key ends an entry.
    CDateTimeEdit edit;
    edit.SetFormat("%H:%M:%S");
    edit.SetTime(At(2002, 5, 14, 10, 20, 30), 0);
    edit.SetCurrentField(2);
    EXPECT_FALSE(edit.TypeChar(':'));
    EXPECT_TRUE(edit.TypeChar('1'));
    EXPECT_EQ(edit.GetText(), "10:20:01");
    edit.BeginEntry();
    edit.TypeChar('0');
    edit.EndEntry();
    EXPECT_FALSE(edit.IsEntering());
    EXPECT_TRUE(edit.TypeChar('9'));
    EXPECT_EQ(edit.GetText(), "09:20:01") << "the digit rolled into the first field";
}

TEST_F(StepTest, FieldNavigation) {
    const int last = e.GetFieldCount() - 1;
    e.SetCurrentField(last);
    EXPECT_FALSE(e.NextField()) << "Tab leaves the control";
    e.FieldRight();
    EXPECT_EQ(e.GetCurrentField(), 0);
    EXPECT_FALSE(e.PreviousField());
    e.FieldLeft();
    EXPECT_EQ(e.GetCurrentField(), last);
    e.SetCurrentField(99);
    EXPECT_EQ(e.GetCurrentField(), 0);

    e.SetCurrentField(3);
    e.SetFormat(e.GetFormat());
    EXPECT_EQ(e.GetCurrentField(), 3) << "an equal format changes nothing";
    e.SetFormat("%H:%M");
    EXPECT_EQ(e.GetCurrentField(), 1) << "kept within the new fields";

    for (int i = 0; i < e.GetFieldCount(); ++i)
        e.SetFieldLeft(i, i * 20);
    EXPECT_EQ(e.FieldAtPixel(5), 0);
    EXPECT_EQ(e.FieldAtPixel(20), 1);
    EXPECT_EQ(e.FieldAtPixel(500), 1);
}

TEST_F(DateTimeEditTest, SerializeRoundTripRebuildsTheFields) {
    CDateTimeEdit out;
    out.SetFormat("%i:%M:%S.%l");
    out.SetTime(At(2002, 5, 14, 10, 30, 0), 0);
    out.SetCurrentField(2);
    tvane::MemoryStream stream;
    {
        tvane::CArchive ar(stream, tvane::CArchive::store);
        out.Serialize(ar);
    }
    const std::string format = "%i:%M:%S.%l";
    std::vector<std::uint8_t> expected;
    const std::uint32_t t = static_cast<std::uint32_t>(At(2002, 5, 14, 10, 30, 0).GetTime());
    for (int i = 0; i < 4; ++i)
        expected.push_back(static_cast<std::uint8_t>(t >> (8 * i)));
    expected.push_back(static_cast<std::uint8_t>(format.size()));
    expected.insert(expected.end(), format.begin(), format.end());
    for (std::uint8_t b : {2, 0, 0, 0, 5, 0, 0, 0, 0, 0})
        expected.push_back(b);
    EXPECT_EQ(stream.Bytes(), expected);

    stream.Seek(0);
    CDateTimeEdit in;
    tvane::CArchive ar(stream, tvane::CArchive::load);
    in.Serialize(ar);
    EXPECT_EQ(in.GetFormat(), format);
    EXPECT_EQ(in.GetFieldCount(), 5);
    EXPECT_EQ(in.GetCurrentField(), 2);
    EXPECT_EQ(in.GetText(), "00:30:00.000");
    EXPECT_TRUE(in.StepUp());
    EXPECT_EQ(in.GetText(), "00:30:01.000");
}

TEST_F(DateTimeEditTest, ElapsedTimeCountsFromTheBase) {
    CElapsedTimeEdit e;
    EXPECT_EQ(e.GetBaseTime(), CTime(clock.Now()));
    e.SetElapsed(1, 2, 3, 4, 500);
    EXPECT_DOUBLE_EQ(e.GetElapsedSeconds(), 86400 + 7200 + 180 + 4 + 0.5);
    e.SetElapsedMax(1, 2, 3, 4, 500);
    e.SetFormat("%H:%M:%S.%l");
    e.SetCurrentField(e.GetFieldCount() - 1);
    EXPECT_FALSE(e.StepUp());
}

} // namespace
