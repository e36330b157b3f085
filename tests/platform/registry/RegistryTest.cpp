#include "platform/registry/Registry.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane {
namespace {

using RegistryTest = test::TempHomeTest;

TEST_F(RegistryTest, ValuesSurviveAReloadFromTheHiveFile) {
    const std::string key = "CLSID\\{00000000-0000-0000-0000-000000000001}";
    ASSERT_TRUE(RegSetString(RegHive::ClassesRoot, key, "", "Test Object"));
    ASSERT_TRUE(RegSetString(RegHive::ClassesRoot, key + "\\InprocServer32", "",
                             "/path/with\ttab\\and\nnewline.so"));
    ASSERT_TRUE(RegSetDword(RegHive::CurrentUser, "Software\\Tvane", "Last", 7));
    EXPECT_TRUE(std::filesystem::exists(home.Config() / "registry" / "HKEY_CLASSES_ROOT.reg"));

    EXPECT_EQ(
        RegGetString(RegHive::ClassesRoot, "clsid\\{00000000-0000-0000-0000-000000000001}", ""),
        "Test Object");
    EXPECT_EQ(RegGetString(RegHive::ClassesRoot, key + "\\InprocServer32", ""),
              "/path/with\ttab\\and\nnewline.so");
    EXPECT_EQ(RegGetDword(RegHive::CurrentUser, "SOFTWARE\\tvane", "last"), 7u);
    EXPECT_FALSE(RegGetString(RegHive::CurrentUser, "Software\\Tvane", "Last")); // other type
    EXPECT_FALSE(RegGetDword(RegHive::LocalMachine, "Software\\Tvane", "Last")); // other hive
}

TEST_F(RegistryTest, DeleteTreeRemovesTheKeyAndEverythingBelow) {
    RegSetString(RegHive::ClassesRoot, "A\\B\\C", "v", "1");
    RegSetString(RegHive::ClassesRoot, "A\\D", "", "2");
    RegSetString(RegHive::ClassesRoot, "A", "x", "3");
    EXPECT_EQ(RegSubKeys(RegHive::ClassesRoot, "A"), (std::vector<std::string>{"B", "D"}));
    ASSERT_TRUE(RegDeleteTree(RegHive::ClassesRoot, "a\\b"));
    EXPECT_FALSE(RegKeyExists(RegHive::ClassesRoot, "A\\B\\C"));
    EXPECT_TRUE(RegKeyExists(RegHive::ClassesRoot, "A\\D"));
    EXPECT_FALSE(RegDeleteTree(RegHive::ClassesRoot, "A\\B"));
    EXPECT_TRUE(RegDeleteValue(RegHive::ClassesRoot, "A", "X"));
    EXPECT_TRUE(RegValueNames(RegHive::ClassesRoot, "A").empty());
}

} // namespace
} // namespace tvane
