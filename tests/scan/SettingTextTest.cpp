#include "scan/SettingText.h"
#include "scan/CFXSetup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(GetSettingField, OnlySeparatorTerminatedValuesAreFields) {
    const struct {
        int position;
        const char* text;
        const char* expected;
    } cases[] = {
        {1, "a;b;", "a"}, {2, "a;b;", "b"},
        {3, "a;b;", ""},  {2, "a;b", ""},
        {1, "a", ""},     {1, ";b;", ""},
        {2, ";b;", "b"},  {0, "a;b;", ""},
        {-1, "a;", ""},   {13, "1;2;3;4;5;6;7;8;9;10;11;12;13;", "13"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetSettingField(c.position, c.text), c.expected)
            << c.position << " in " << c.text;
}

TEST(SetSettingField, ReplacesOneFieldAndPadsShortTexts) {
    const struct {
        int position;
        const char* text;
        const char* value;
        const char* expected;
    } cases[] = {
        {2, "a;b;c;", "X", "a;X;c;"},
        {1, "a;b;c;", "X", "X;b;c;"},
        {3, "a;b;c;", "", "a;b;;"},
        // Too few separators: padded so that the value reads back as its field.
        {3, "a;", "X", "a;;X;"},
        {3, "a;b", "X", "a;b;X;"},
        {2, "a;b", "X", "a;X;"},
        {1, "", "X", "X;"},
        {4, "", "X", ";;;X;"},
        {0, "a;", "X", "a;"}, // no such field: unchanged
    };
    for (const auto& c : cases) {
        std::string text = c.text;
        SetSettingField(c.position, text, c.value);
        EXPECT_EQ(text, c.expected) << c.position << " in " << c.text;
        if (c.position >= 1) {
            EXPECT_EQ(GetSettingField(c.position, text), c.value);
        }
    }
}

TEST(SettingPosition, SingleBitsOnly) {
    for (int n = 1; n <= 13; ++n)
        EXPECT_EQ(SettingPosition(1u << (n - 1)), n);
    for (std::uint32_t bad : {0u, 3u, 0x2000u, 0x6u, 0xFFFFFFFFu})
        EXPECT_EQ(SettingPosition(bad), -1) << bad;

    CFXSetup row;
    row.AdvSettings = "a;b;c;";
    EXPECT_FALSE(row.SetAdvancedValue(3, "X"));
    EXPECT_EQ(row.AdvSettings, "a;b;c;");
    EXPECT_TRUE(row.SetAdvancedValue(0x4, "X"));
    EXPECT_EQ(row.AdvSettings, "a;b;X;");
}

TEST(BuildSettingsList, OneItemPerBitInBitOrder) {
    std::vector<CChannelSetting> list;
    BuildSettingsList("10M;0.02;;C;;;;0.001;", 0, list);
    EXPECT_TRUE(list.empty());

    BuildSettingsList("10M;0.02;;C;;;;0.001;", 0x8B, list);
    const std::vector<CChannelSetting> expected = {
        {0x1, "10M"}, {0x2, "0.02"}, {0x8, "C"}, {0x80, "0.001"}};
    EXPECT_EQ(list, expected);
    EXPECT_EQ(GetIntegrationText(0x8B, list), "0.02");
    EXPECT_EQ(GetIntegrationText(0x89, list), ""); // type without integration
    EXPECT_EQ(GetIntegrationText(0x2, {{0x1, "x"}}), "");
}

TEST(ConfigText, KeywordsOfTheSetBits) {
    EXPECT_EQ(CFXSetup::GetConfigText("10M;0.02;", 0), "");
    EXPECT_EQ(CFXSetup::GetConfigText("10M;0.02;;C;", 0xB), " InputR=10M Integ=0.02 Temp=C");
    EXPECT_EQ(CFXSetup::GetConfigText("", 0x1000), " Edge=");
    EXPECT_EQ(CFXSetup::GetConfigText(";;;;;;;;;;;;RISE;", 0x1C00), " RefJunc= RefTemp= Edge=RISE");
}

TEST(AlarmActionText, ItemsInMaskOrder) {
    const struct {
        const char* actions;
        const char* text;
    } cases[] = {
        {"4;;;;;", "Journal;"},
        {";;;;;", ""},
        {"", ""},
        {"33;;;5;2;", "StopScan;BitPattern=5;ToDigitalPort=2;"},
        {"26;101;102;;;", "Beep;CloseChnl=101;OpenChnl=102;"},
        {"16;;305;;;", "OpenChnl=305;"},
        {"63", ""}, // the mask lacks its separator, so it is no field
    };
    for (const auto& c : cases)
        EXPECT_EQ(CFXSetup::GetAlarmActionText(c.actions), c.text) << c.actions;
}

} // namespace
