#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "platform/profile/Profile.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

class PreferencesTest : public TempHomeTest {
protected:
    static std::string Stored(std::int32_t id) {
        return GetPrivateProfileString("PREFERENCES", std::to_string(id), "<none>", "Tvane.ini");
    }
};

TEST_F(PreferencesTest, DefaultsWithoutAProfileSection) {
    CAppPreferences prefs;
    prefs.Initialize();
    ASSERT_EQ(prefs.Items().size(), 6u);
    for (std::int32_t id = CAppPreferences::FirstId(); id != -1; id = CAppPreferences::NextId(id)) {
        int value = -1;
        ASSERT_TRUE(prefs.GetPrefValue(id, value));
        EXPECT_EQ(value, id == CAppPreferences::kUseLastSetup ? 0 : 1) << id;
    }
    EXPECT_EQ(prefs.Find(10002)->m_name, "Start Scanning Window");
    EXPECT_EQ(CAppPreferences::NextId(10006), -1);
    int untouched = 42;
    EXPECT_FALSE(prefs.GetPrefValue(10007, untouched));
    EXPECT_EQ(untouched, 42);
}

TEST_F(PreferencesTest, YesNoValuesAndTheirForms) {
    WritePrivateProfileString("PREFERENCES", "10001", std::string("y"), "Tvane.ini");
    WritePrivateProfileString("PREFERENCES", "10003", std::string(""), "Tvane.ini");
    CAppPreferences prefs;
    prefs.Initialize();
    int value = -1;
    prefs.GetPrefValue(10001, value);
    EXPECT_EQ(value, 0); // a lower-case y is not Y
    EXPECT_EQ(CAppPreferences::ListLine(*prefs.Find(10001)), "Tip-of-the-Day Window\tNo");
    EXPECT_EQ(Stored(10003), "Y"); // an empty value is written back

    prefs.SetPrefValue(10002, "N");
    EXPECT_EQ(Stored(10002), "N");
    prefs.SetPrefValue(10002, ""); // ignored
    std::string text;
    prefs.GetPrefValue(10002, text);
    EXPECT_EQ(text, "N");

    char small[1];
    EXPECT_FALSE(prefs.GetPrefValue(10002, small, sizeof small));
    char fits[2];
    EXPECT_TRUE(prefs.GetPrefValue(10002, fits, sizeof fits));
    EXPECT_STREQ(fits, "N");
}

TEST_F(PreferencesTest, PageRulesRestoreAndDiscard) {
    CAppPreferences prefs;
    prefs.Initialize();
    auto& items = const_cast<std::vector<std::unique_ptr<CPref>>&>(prefs.Items());
    items[0]->m_value = "N";
    items[3]->m_value = "Y";
    EXPECT_TRUE(CAppPreferences::Validate(items).empty()); // yes/no items always pass
    prefs.LoadAll();                                       // Cancel
    EXPECT_EQ(items[0]->m_value, "Y");
    EXPECT_EQ(Stored(10001), "<none>"); // a read default is not written

    items[0]->m_value = "N";
    CAppPreferences::RestoreDefaults(items);
    EXPECT_EQ(items[0]->m_value, "Y");
    EXPECT_EQ(items[3]->m_value, "N");

    CPref number;
    number.m_name = "Pages";
    number.m_valueType = 0;
    number.m_value = "12";
    number.m_minimum = "1";
    number.m_maximum = "10";
    std::vector<std::unique_ptr<CPref>> one;
    one.push_back(std::make_unique<CPref>(number));
    EXPECT_EQ(CAppPreferences::Validate(one), std::vector<std::string>{"Pages"});
}

} // namespace
} // namespace tvane::test
