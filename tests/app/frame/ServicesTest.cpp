#include <QLocale>
#include <gtest/gtest.h>

#include "app/frame/QtServices.h"
#include "tests/support/QtTestSupport.h"

namespace {

TEST(QtLocaleFormatsTest, SeparatorsClockAndDecimalFromTheLocale) {
    tvane::test::TestApp();
    struct Case {
        const char* name;
        const char* dateSep;
        bool h24;
        const char* decimal;
        const char* list;
    } cases[] = {
        {"en_US", "/", false, ".", ","},
        {"de_DE", ".", true, ",", ";"},
    };
    for (const auto& c : cases) {
        const tvane::LocaleFormats f = QtLocaleFormats(QLocale(c.name)).Formats();
        EXPECT_EQ(f.dateSeparator, c.dateSep) << c.name;
        EXPECT_EQ(f.timeSeparator, ":") << c.name;
        EXPECT_EQ(f.twentyFourHour, c.h24) << c.name;
        EXPECT_EQ(f.decimalSeparator, c.decimal) << c.name;
        EXPECT_EQ(f.listSeparator, c.list) << c.name;
        EXPECT_LE(f.shortDate.size(), 15u);
    }
}

// The time picture never pairs a 24-hour clock with AM/PM, and Qt's time zone
// field does not become one.
TEST(QtLocaleFormatsTest, TimePictureHasADesignatorOnlyOnATwelveHourClock) {
    tvane::test::TestApp();
    struct Case {
        QLocale locale;
        const char* picture;
    } cases[] = {
        {QLocale::c(), "HH:mm:ss"},
        {QLocale("de_DE"), "HH:mm:ss"},
        {QLocale("en_US"), "h:mm:ss tt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtLocaleFormats(c.locale).Formats().timeFormat, c.picture)
            << c.locale.name().toStdString() << " "
            << c.locale.timeFormat(QLocale::LongFormat).toStdString();
}

} // namespace
