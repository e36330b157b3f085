#include "platform/profile/Profile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

namespace tvane {
namespace {

using ProfileTest = test::TempHomeTest;

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(GetPrivateProfileString("Path", "Data", "dflt", "Tvane.ini"), "dflt");
    EXPECT_EQ(GetPrivateProfileInt("Settings", "N", 14, "Tvane.ini"), 14);
    ASSERT_TRUE(WritePrivateProfileString("Path", "Other", std::string("x"), "Tvane.ini"));
    EXPECT_EQ(GetPrivateProfileString("Path", "Data", "dflt", "Tvane.ini"), "dflt");
    EXPECT_EQ(GetPrivateProfileString("Nope", "Other", "d", "Tvane.ini"), "d");
}

TEST_F(ProfileTest, NamesCompareWithoutCaseAndKeepTheirWrittenCase) {
    ASSERT_TRUE(WritePrivateProfileString("Settings", "AutoSave", std::string("14"), "Tvane.ini"));
    ASSERT_TRUE(WritePrivateProfileString("SETTINGS", "autosave", std::string("20"), "Tvane.ini"));
    EXPECT_EQ(GetPrivateProfileInt("settings", "AUTOSAVE", 0, "Tvane.ini"), 20);
    EXPECT_EQ(GetPrivateProfileSectionNames("Tvane.ini"), std::vector<std::string>{"Settings"});
    EXPECT_EQ(GetPrivateProfileKeys("Settings", "Tvane.ini"), std::vector<std::string>{"AutoSave"});
    EXPECT_TRUE(std::filesystem::exists(home.Config() / "Tvane.ini"));
}

TEST_F(ProfileTest, EmptyValuesTrimmingQuotesAndTruncation) {
    test::WriteFile(
        home.Config() / "a.ini",
        "; comment\n[S]\nEmpty=\n Spaced =  two words  \nQuoted=\" kept \"\nNum= -42abc\n"
        "Bad=abc\n");
    EXPECT_EQ(GetPrivateProfileString("S", "Empty", "d", "a.ini"), "");
    EXPECT_EQ(GetPrivateProfileString("S", "Spaced", "", "a.ini"), "two words");
    EXPECT_EQ(GetPrivateProfileString("S", "Quoted", "", "a.ini"), " kept ");
    EXPECT_EQ(GetPrivateProfileString("S", "Spaced", "", "a.ini", 4), "two");
    EXPECT_EQ(GetPrivateProfileString("S", "Missing", "default", "a.ini", 4), "def");
    EXPECT_EQ(GetPrivateProfileInt("S", "Num", 0, "a.ini"), -42);
    EXPECT_EQ(GetPrivateProfileInt("S", "Bad", 7, "a.ini"), 0);
    EXPECT_EQ(GetPrivateProfileInt("S", "Empty", 7, "a.ini"), 0);
    // Writing keeps the comment.
    ASSERT_TRUE(WritePrivateProfileString("S", "New", std::string("1"), "a.ini"));
    EXPECT_EQ(test::ReadFile(home.Config() / "a.ini").rfind("; comment\n", 0), 0u);
}

TEST_F(ProfileTest, AWriteNeverAddsLines) {
    ASSERT_TRUE(WritePrivateProfileString("Recent File List", "SetupName",
                                          std::string("Plant\r\n[Log]\nFile=/etc/passwd"),
                                          "Tvane.ini"));
    ASSERT_TRUE(WritePrivateProfileString("S\nT", "K\rL", std::string("v"), "Tvane.ini"));
    EXPECT_EQ(test::ReadFile(home.Config() / "Tvane.ini"),
              "[Recent File List]\nSetupName=Plant  [Log] File=/etc/passwd\n[S T]\nK L=v\n");
    EXPECT_EQ(GetPrivateProfileString("Log", "File", "none", "Tvane.ini"), "none");
}

TEST_F(ProfileTest, DeleteKeyAndSection) {
    WritePrivateProfileString("A", "k1", std::string("1"), "b.ini");
    WritePrivateProfileString("A", "k2", std::string("2"), "b.ini");
    WritePrivateProfileString("B", "k", std::string("3"), "b.ini");
    ASSERT_TRUE(WritePrivateProfileString("a", "K1", std::nullopt, "b.ini"));
    EXPECT_EQ(GetPrivateProfileKeys("A", "b.ini"), std::vector<std::string>{"k2"});
    ASSERT_TRUE(DeletePrivateProfileSection("b", "b.ini"));
    EXPECT_EQ(GetPrivateProfileSectionNames("b.ini"), std::vector<std::string>{"A"});
    EXPECT_EQ(GetPrivateProfileString("B", "k", "gone", "b.ini"), "gone");
}

TEST_F(ProfileTest, SectionNamesRunToTheLastBracketAndAWholeFileReadsOnce) {
    for (const std::string section : {"Run [2]", "Line [A]", "[x]", "a]b]"}) {
        ASSERT_TRUE(WritePrivateProfileString(section, "Key", std::string("v"), "c.ini"));
        EXPECT_EQ(GetPrivateProfileString(section, "Key", "missing", "c.ini"), "v") << section;
    }
    EXPECT_EQ(GetPrivateProfileSectionNames("c.ini"),
              (std::vector<std::string>{"Run [2]", "Line [A]", "[x]", "a]b]"}));

    test::WriteFile(home.Config() / "d.ini", "[S]\nA= \"q\" \nB=2\n[T]\nA=3\n");
    const std::vector<ProfileSection> all = ReadPrivateProfile("d.ini");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].name, "S");
    EXPECT_EQ(all[0].entries,
              (std::vector<std::pair<std::string, std::string>>{{"A", "q"}, {"B", "2"}}));
    EXPECT_EQ(all[1].entries, (std::vector<std::pair<std::string, std::string>>{{"A", "3"}}));
}

} // namespace
} // namespace tvane
