// The recent setups of the File menu, the Tip of the Day's file reading and the
// About window's text viewer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/RecentSetupList.h"
#include "app/TextViewerFile.h"
#include "app/TipOfDay.h"
#include "database/DataSource.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

std::vector<std::string> Entries(const RecentSetupList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < RecentSetupList::kSize; ++i)
        out.push_back(list.Entry(i));
    return out;
}

class RecentSetupsTest : public TempHomeTest {};

TEST_F(RecentSetupsTest, KeepsItsOrderAndLimitAcrossRestarts) {
    RecentSetupList list;
    list.Load();
    EXPECT_EQ(list.Count(), 0);
    for (const char* name : {"A", "B", "C", "D", "E", "", "C"})
        list.Add(name);
    // The newest first, four at most; a listed name moves to the top.
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"C", "E", "D", "B"}));
    list.Add("B"); // the fourth entry is not searched: it drops off and comes back on top
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"B", "C", "E", "D"}));
    list.Add("Line\nbreak");
    list.Save();

    RecentSetupList next;
    next.Load();
    EXPECT_EQ(Entries(next), Entries(list));
    EXPECT_EQ(GetPrivateProfileString("Recent File List", "File1", "", kProfileFile), "B");
    EXPECT_EQ(GetPrivateProfileString("Settings", "PreviewPages", "none", kProfileFile), "none");
}

class TipOfDayTest : public TempHomeTest {
protected:
    std::string Tips() const { return (home.Path() / "tips.txt").string(); }
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard{SetPrompter, &prompter};
};

TEST_F(TipOfDayTest, ShowsTipsInTurnAndGoesOnWhereTheLastWindowStopped) {
    WriteFile(Tips(), "; comment\nFirst tip\n\n tab-less indent\n\tindented\nSecond tip\n");
    {
        TipOfDay tips(Tips(), true);
        ASSERT_TRUE(tips.IsOpen());
        EXPECT_EQ(tips.Tip(), "First tip\n");
        tips.NextTip();
        EXPECT_EQ(tips.Tip(), "Second tip\n");
        tips.NextTip(); // round again
        EXPECT_EQ(tips.Tip(), "First tip\n");
    }
    {
        TipOfDay tips(Tips(), false);
        EXPECT_EQ(tips.Tip(), "Second tip\n");
        EXPECT_EQ(tips.PreferenceValue(), "N");
    }
    // A changed file starts again from its first tip.
    WritePrivateProfileString("Tip", "TimeStamp", "Mon Jan 01 00:00:00 1990", kProfileFile);
    TipOfDay tips(Tips(), true);
    EXPECT_EQ(tips.Tip(), "First tip\n");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(TipOfDayTest, MissingFileAndFileWithoutTips) {
    {
        TipOfDay tips(Tips(), true);
        EXPECT_FALSE(tips.IsOpen());
        EXPECT_EQ(tips.Tip(), TipOfDay::kNoFile);
    }
    EXPECT_EQ(GetPrivateProfileString("Tip", "FilePos", "none", kProfileFile), "none");
    WriteFile(Tips(), "; only comments\n   \n");
    TipOfDay tips(Tips(), true);
    EXPECT_EQ(tips.Tip(), "");
    tips.NextTip();
    EXPECT_EQ(tips.Tip(), "");
}

TEST(TextViewer, ShowsAtMost32000BytesOrSaysTheFileIsMissing) {
    TempHome home;
    const auto path = home.Path() / "notes.txt";
    EXPECT_EQ(ReadViewerText(path.string()), "File not found");
    EXPECT_EQ(ReadViewerText(""), "File not found");
    WriteFile(path, std::string(40000, 'x'));
    EXPECT_EQ(ReadViewerText(path.string()).size(), 32000u);
    WriteFile(path, "short");
    EXPECT_EQ(ReadViewerText(path.string()), "short");
}

} // namespace
} // namespace tvane::test
