#include "platform/tapi/AddressTranslation.h"
#include "platform/tapi/TapiConstants.h"

#include <gtest/gtest.h>

namespace tvane::tapi {
namespace {

LineLocationEntry London() {
    LineLocationEntry l;
    l.name = "Office";
    l.countryCode = 44;
    l.cityCode = "20";
    return l;
}

TEST(AddressTranslation, CanonicalNumbersBecomeLocalLongDistanceOrInternational) {
    LineLocationEntry outside = London();
    outside.localAccessCode = "9,";
    outside.longDistanceAccessCode = "8,";
    outside.cancelCallWaiting = "*43,";
    LineLocationEntry pulse = London();
    pulse.pulseDialing = true;
    const struct {
        const char* address;
        LineLocationEntry from;
        std::uint32_t options;
        const char* dialable;
        std::uint32_t kind;
    } cases[] = {
        {"+44 (20) 5550100", London(), 0, "T5550100", LINETRANSLATERESULT_LOCAL},
        {"+44 5550100", London(), 0, "T5550100", LINETRANSLATERESULT_LOCAL},
        {"+44 (161) 555-0100", London(), 0, "T01615550100", LINETRANSLATERESULT_LONGDISTANCE},
        {"+1 (212) 5550100", London(), 0, "T0012125550100", LINETRANSLATERESULT_INTERNATIONAL},
        {"+49 (30) 5550100", outside, 0, "T8,0049305550100", LINETRANSLATERESULT_INTERNATIONAL},
        {"+44 (20) 5550100", outside, 0, "T9,5550100", LINETRANSLATERESULT_LOCAL},
        {"+44 (20) 5550100", outside, LINETRANSLATEOPTION_CANCELCALLWAITING, "T*43,9,5550100",
         LINETRANSLATERESULT_LOCAL},
        {"+44 (20) 5550100", pulse, 0, "P5550100", LINETRANSLATERESULT_LOCAL},
        // Not canonical: dialled as written, without its formatting.
        {" 555-0100 ", London(), 0, "T5550100", LINETRANSLATERESULT_LOCAL},
        {"9W555?0100", London(), 0, "T9W555?0100", LINETRANSLATERESULT_LOCAL},
    };
    for (const auto& c : cases) {
        LineTranslateOutput out;
        ASSERT_EQ(TranslateAddress(c.address, c.from, c.options, out), 0) << c.address;
        EXPECT_EQ(out.dialableString, c.dialable) << c.address;
        EXPECT_EQ(out.displayableString, std::string(c.dialable).substr(1)) << c.address;
        EXPECT_EQ(out.translateResults & ~LINETRANSLATERESULT_CANONICAL, c.kind) << c.address;
    }
}

TEST(AddressTranslation, NumbersThatCannotBeDialledAreRefused) {
    for (const char* bad : {"", "   ", "+", "+44 (20 5550100", "+44 (2x) 5550100", "+44 (20)",
                            "555-CALL", "+12345 1"}) {
        LineTranslateOutput out;
        EXPECT_EQ(TranslateAddress(bad, London(), 0, out), LINEERR_INVALADDRESS) << bad;
    }
}

TEST(AddressTranslation, TheCountryTableKnowsItsPrefixes) {
    const LineCountryEntry* uk = FindCountryCode(44);
    ASSERT_NE(uk, nullptr);
    EXPECT_EQ(uk->name, "United Kingdom");
    EXPECT_EQ(uk->nationalPrefix, "0");
    const LineCountryEntry* us = FindCountryCode(1);
    ASSERT_NE(us, nullptr);
    EXPECT_EQ(us->name, "United States"); // not Canada, which shares the code
    EXPECT_EQ(FindCountryCode(999), nullptr);
}

} // namespace
} // namespace tvane::tapi
