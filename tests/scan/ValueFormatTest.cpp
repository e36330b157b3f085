#include "scan/ValueFormat.h"
#include "scan/CRoundedValue.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace {

struct ValueCase {
    double value;
    const char* unit;
    int digits;
    const char* expected;
};

TEST(FormatValue, UnitsAndPrefixes) {
    const ValueCase cases[] = {
        {0.0012, "VDC", 4, "1.20 mVdc"},   {-0.0012, "VDC", 4, "-1.20 mVdc"},
        {25.5, "C", 4, "25.50000 C"},      {-3.25, "C", 4, "-3.250000 C"},
        {2e6, "C", 4, "2E+06 C"},          {0.0, "", 4, "0.000000 "},
        {1e15, "VDC", 4, "1e+15 Vdc"},     // no prefix applies: value unchanged, %g form
        {123.456, "OHM", 5, "123.4  Ohm"}, // no prefix: two spaces before the unit
        {4700.0, "OHM", 4, "4.70 KOhm"},   {0.5, "HZ", 3, "500 mHz"},
        {0.25, "V", 3, "250 mV"},          {0.000999, "A", 3, "999 uA"},
        {0.0, "VDC", 4, "0 Vdc"},
    };
    for (const auto& c : cases) {
        std::string out;
        FormatValue(c.value, c.unit, out, c.digits);
        EXPECT_EQ(out, c.expected) << c.value << " " << c.unit;
    }
}

TEST(SplitEngineeringValue, PicksThePrefixByExponent) {
    const struct {
        double in;
        char prefix;
        double out;
    } cases[] = {
        {0.0012, 'm', 1.2}, {1.5e-12, 'p', 1.5}, {2.2e-8, 'n', 22.0}, {4.7e-5, 'u', 47.0},
        {12.0, ' ', 12.0},  {4700.0, 'K', 4.7},  {3.3e7, 'M', 33.0},  {1e12, 'G', 1000.0},
        {1e15, ' ', 1e15},  {1e-13, ' ', 1e-13},
    };
    for (const auto& c : cases) {
        double v = c.in;
        EXPECT_EQ(SplitEngineeringValue(&v), c.prefix) << c.in;
        EXPECT_DOUBLE_EQ(v, c.out) << c.in;
    }
}

TEST(FormatEngineering, PrefixLettersBecomeExponents) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"10 m", "10E-3"}, {"4.7K", "4.7E+3"}, {"1 G", "1E+9"}, {"2 M", "2E+6"},
                 {"3u", "3E-6"},    {"5 n", "5E-9"},    {"7p", "7E-12"}, {"42", "42"}};
    for (const auto& c : cases) {
        std::string out;
        FormatEngineering(c.in, out);
        EXPECT_EQ(out, c.out) << c.in;
    }
}

TEST(FormatTimeInterval, ShortAndLongForms) {
    const struct {
        double seconds;
        const char* out;
    } cases[] = {{59.0, "59s"},       {0.02, "20ms"},       {3725.0, "01:02hr"},
                 {125.0, "02:05min"}, {90000.0, "01:00hr"}, {60.0, "01:00min"}};
    for (const auto& c : cases) {
        std::string out;
        FormatTimeInterval(c.seconds, out);
        EXPECT_EQ(out, c.out) << c.seconds;
        char buffer[32];
        FormatTimeIntervalText(c.seconds * 1000.0, buffer, sizeof buffer);
        EXPECT_STREQ(buffer, c.out);
    }
    char digits[32];
    FormatTimeIntervalText(1234.5678, digits, sizeof digits, 4);
    EXPECT_STREQ(digits, "1.235s");
    char small[4];
    FormatTimeIntervalText(125000.0, small, sizeof small);
    EXPECT_STREQ(small, "02:");
    std::string huge;
    FormatTimeInterval(1e300, huge); // must not overflow
    EXPECT_FALSE(huge.empty());
}

TEST(FormatDuration, DaysAndMilliseconds) {
    const struct {
        double ms;
        bool withMs;
        const char* out;
    } cases[] = {{3723004.0, true, "01:02:03.004"},
                 {3723004.0, false, "01:02:03"},
                 {90061500.0, true, "1 days 01:01:01.500"},
                 {90061500.0, false, "1 days 01:01:01"}};
    for (const auto& c : cases) {
        std::string out;
        FormatDuration(c.ms, out, c.withMs);
        EXPECT_EQ(out, c.out);
    }
}

TEST(NormalizeUnitText, KnownUnitsOnly) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {{"VDC", "Vdc"}, {"VAC", "Vac"}, {"OHM", "Ohm"}, {"HZ", "Hz"},
                 {"SEC", "s"},   {"C", "C"},     {"vdc", "vdc"}, {"", ""}};
    for (const auto& c : cases) {
        std::string out;
        NormalizeUnitText(c.in, out);
        EXPECT_EQ(out, c.out);
    }
}

TEST(CRoundedValue, CutsTowardZero) {
    EXPECT_DOUBLE_EQ(CRoundedValue(-2.789, 2).Value(), -2.78);
    EXPECT_DOUBLE_EQ(CRoundedValue(2.789, 2).Value(), 2.78);
    EXPECT_DOUBLE_EQ(CRoundedValue(2.789, 0).Value(), 2.0);
    EXPECT_EQ(CRoundedValue(0.0, 3).Value(), 0.0);
    EXPECT_EQ(CRoundedValue(DBL_MAX, 2).Value(), DBL_MAX);
    EXPECT_EQ(CRoundedValue(-DBL_MAX, 2).Value(), -DBL_MAX);
    EXPECT_TRUE(CRoundedValue(1.234, 2) == CRoundedValue(1.239, 2));
    EXPECT_TRUE(CRoundedValue(1.22, 2) < CRoundedValue(1.239, 2));
    EXPECT_TRUE(CRoundedValue(1.3, 1) > CRoundedValue(1.239, 2));
    EXPECT_TRUE(CRoundedValue(1.3, 1) != CRoundedValue(1.239, 2));
}

TEST(CRoundedValue, ASettingChangesOnlyWhereTheUserSeesIt) {
    double stored = 100.0;
    EXPECT_FALSE(ReplaceIfChanged(stored, 100.00000000001)); // beyond the tenth decimal
    EXPECT_EQ(stored, 100.0);
    EXPECT_TRUE(ReplaceIfChanged(stored, 100.0000000002));
    EXPECT_EQ(stored, 100.0000000002);
    EXPECT_TRUE(ReplaceIfChanged(stored, -100.5));
    EXPECT_FALSE(ReplaceIfChanged(stored, -100.50000000004));
    EXPECT_EQ(stored, -100.5);
}

} // namespace
