#include <algorithm>

#include <gtest/gtest.h>

#include "driver/DriverStrings.h"

using namespace tvane::driver;

TEST(DriverStrings, TextsKeepTheirBlanks) {
    EXPECT_EQ(DriverText(3068), "SENS:FRES:OCOM %s,(@%d)  ");
    EXPECT_EQ(DriverText(3042), "CONF?  (@%d)");
    EXPECT_EQ(DriverText(3032), "TRIG:SOUR ");
    EXPECT_EQ(DriverText(3017), "DISP:TEXT \"%s\"");
    EXPECT_EQ(DriverText(1005), "Size specified exceeds limit of 8400 bytes. ");
}

TEST(DriverStrings, EveryCommandTemplateIdIsPresent) {
    // Ids the instrument vocabulary leaves unused.
    const unsigned gaps[] = {3002, 3005, 3006, 3090, 3091, 3116, 3121,
                             3144, 3154, 3155, 3168, 3181, 3184};
    int present = 0;
    for (unsigned id = 3000; id <= 3226; ++id) {
        bool gap = std::find(std::begin(gaps), std::end(gaps), id) != std::end(gaps);
        EXPECT_EQ(DriverStrings().Has(id), !gap) << id;
        present += DriverStrings().Has(id);
    }
    EXPECT_EQ(present, 227 - 13);
}

TEST(DriverStrings, LoaderFollowsBangChains) {
    // 1036..1038 begin with "!": each is joined to the next id's text.
    EXPECT_EQ(LoadDriverString(1038), "!!! *** Invalid alarm value detected in data stream."
                                      "Not enough bytes in data buffer to create a reading.");
    EXPECT_EQ(LoadDriverString(1036), "!!! *** Invalid timestamp detected in data stream."
                                      "!!! *** Invalid channel id detected in data stream."
                                      "!!! *** Invalid alarm value detected in data stream."
                                      "Not enough bytes in data buffer to create a reading.");
    EXPECT_EQ(LoadDriverString(1000), "No Error");
    EXPECT_EQ(LoadDriverString(42), "");
}
