#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/startup/CLoggerApp.h"
#include "app/startup/IAppHost.h"
#include "database/DataSource.h"
#include "platform/core/Exception.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

namespace {

using tvane::MsgAnswer;
using Steps = std::vector<std::string>;

// Records every step the application asks of the program.
class RecordingHost final : public IAppHost {
public:
    std::optional<double> FreeDiskBytes(std::string& error) override {
        steps.push_back("disk");
        if (!freeBytes)
            error = "No such device";
        return freeBytes;
    }
    bool RaiseRunningInstance() override {
        steps.push_back("instance");
        return otherInstance;
    }
    void ShowSplash() override { steps.push_back("splash"); }
    void CloseSplash() override { steps.push_back("close splash"); }
    void LoadSettings() override { steps.push_back("settings"); }
    bool RegisterDataSource() override {
        steps.push_back("datasource");
        return true;
    }
    void CreateInstrument(const std::string& name) override {
        steps.push_back("instrument " + name);
    }
    bool OpenDatabase(CStateInfo& state) override {
        steps.push_back("database");
        state.m_dataDir = dataDir;
        return databaseOpens;
    }
    bool CreateDocument() override {
        steps.push_back("document");
        return true;
    }
    bool CreateEventLog() override {
        steps.push_back("eventlog");
        return true;
    }
    int SavedWindowState() override { return windowState; }
    void ShowMainWindow(int state) override { steps.push_back("show " + std::to_string(state)); }
    void LoadPreferences() override { steps.push_back("preferences"); }
    std::optional<bool> Preference(int id) override {
        if (id == 10004)
            return useLastSetup;
        return tipOfTheDay;
    }
    bool RestoreLastSetup(const std::string& setup, const std::string& dataset) override {
        steps.push_back("restore " + setup + "/" + dataset);
        if (restoreThrows)
            throw tvane::FileException(tvane::FileException::fileNotFound, 2, "x.fxs");
        return restoreWorks;
    }
    void ConnectInstrument() override { steps.push_back("connect"); }
    void ShowTipOfTheDay() override { steps.push_back("tip"); }
    void Welcome() override {
        steps.push_back("welcome");
        if (welcomeCancels-- > 0)
            throw tvane::UserException();
    }
    void DeleteInstrument() override { steps.push_back("delete instrument"); }
    void CloseDatabase(CStateInfo&) override { steps.push_back("close database"); }
    void EmptyClipboardIfOurs() override { steps.push_back("clipboard"); }
    void SaveSettings() override { steps.push_back("save settings"); }

    Steps steps;
    std::optional<double> freeBytes = 1e9;
    bool otherInstance = false;
    bool databaseOpens = true;
    int windowState = 3;
    std::optional<bool> useLastSetup = false;
    std::optional<bool> tipOfTheDay = false;
    bool restoreWorks = true;
    bool restoreThrows = false;
    int welcomeCancels = 0;
    std::string dataDir;
};

class StartupTest : public tvane::test::TempHomeTest {
protected:
    StartupTest() { host.dataDir = home.Data().string(); }
    void SetProfile(const std::string& section, const std::string& key, const std::string& value) {
        tvane::WritePrivateProfileString(section, key, value, kProfileFile);
    }
    std::string Profile(const std::string& section, const std::string& key) {
        return tvane::GetPrivateProfileString(section, key, "<none>", kProfileFile);
    }

    RecordingHost host;
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard{tvane::SetPrompter, &prompter};
    CLoggerApp app{host, "/opt/tvane"};
};

TEST_F(StartupTest, StartsInTheSettledOrderAndShutsDownInItsOwn) {
    host.tipOfTheDay = true;
    host.windowState = 2; // minimised starts maximised
    ASSERT_TRUE(app.InitInstance({"setup.fxs"}));
    EXPECT_EQ(host.steps,
              (Steps{"disk", "instance", "splash", "settings", "datasource", "instrument KXQT7100",
                     "database", "document", "eventlog", "close splash", "show 3", "preferences",
                     "connect", "tip", "welcome"}));
    EXPECT_TRUE(prompter.asked.empty());

    host.steps.clear();
    SetProfile("Settings", "Valid", "0");
    tvane::test::WriteFile(home.Data() / "tvane.mdb", "workspace");
    tvane::test::WriteFile(home.Data() / "backup.mdb", "old");
    EXPECT_EQ(app.ExitInstance(7), 7);
    EXPECT_EQ(host.steps,
              (Steps{"delete instrument", "close database", "clipboard", "save settings"}));
    EXPECT_EQ(Profile("Settings", "Valid"), "1");
    EXPECT_EQ(tvane::test::ReadFile(home.Data() / "backup.mdb"), "workspace");
    EXPECT_FALSE(std::filesystem::exists(home.Data() / "backup.mdb.partial"));
}

// "-r" registers the two files and ends; nothing else of start-up runs.
TEST_F(StartupTest, RegisterRunDoesNothingElse) {
    const auto bin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";
    for (const char* name : {"Linkwell.so", "KXQT7100.so"})
        std::filesystem::copy_file(bin / "regtest_ok.so", home.Path() / name);
    SetProfile("Path", "Install", home.Path().string());
    EXPECT_TRUE(app.InitInstance({"/R"}));
    EXPECT_TRUE(app.RegisteredOnly());
    EXPECT_TRUE(host.steps.empty());
    EXPECT_EQ(tvane::test::ReadFile(home.Path() / "registered.txt"), "ok\nok\n");

    SetProfile("KXQT7100.Drv32", "DllName", "");
    EXPECT_FALSE(app.InitInstance({"-r"}));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"No DllName Entry for Instrument Server in Tvane.ini file",
                                        "Exiting Application"}));
}

TEST_F(StartupTest, SecondInstanceRaisesTheFirstAndChangesNothing) {
    host.otherInstance = true;
    SetProfile("Settings", "Valid", "0");
    tvane::test::WriteFile(home.Data() / "tvane.mdb", "workspace");
    tvane::test::WriteFile(home.Data() / "backup.mdb", "good backup");
    EXPECT_FALSE(app.InitInstance({}));
    app.ExitInstance();
    EXPECT_EQ(host.steps, (Steps{"disk", "instance", "delete instrument", "close database"}));
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(Profile("Settings", "Valid"), "0");
    EXPECT_EQ(tvane::test::ReadFile(home.Data() / "backup.mdb"), "good backup");
}

TEST_F(StartupTest, FailedDatabaseOpenLeavesMarkerAndBackupAlone) {
    host.databaseOpens = false;
    SetProfile("Settings", "Valid", "0");
    tvane::test::WriteFile(home.Data() / "tvane.mdb", "workspace");
    EXPECT_FALSE(app.InitInstance({}));
    app.ExitInstance();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Unable to open database.\nMake sure the database exists "
                                      "and no other application is using it.\nExiting Tallyvane.");
    EXPECT_EQ(Profile("Settings", "Valid"), "0");
    EXPECT_FALSE(std::filesystem::exists(home.Data() / "backup.mdb"));
}

TEST_F(StartupTest, DiskCheckStopsWithTruncatedFigures) {
    struct Case {
        double freeBytes;
        bool starts;
    } cases[] = {{49999, false}, {50000, true}};
    for (const auto& c : cases) {
        RecordingHost h;
        h.freeBytes = c.freeBytes;
        tvane::ScriptedPrompter p;
        tvane::ScopedService<tvane::IPrompter> g(tvane::SetPrompter, &p);
        CLoggerApp a(h, "/opt/tvane");
        EXPECT_EQ(a.InitInstance({}), c.starts) << c.freeBytes;
        if (!c.starts) {
            EXPECT_EQ(p.Texts(), (std::vector<std::string>{
                                     "49K bytes of free disk space is insufficient to continue.\n"
                                     "You need at least 50K bytes free.",
                                     "Exiting Application"}));
            EXPECT_EQ(p.asked[1].icon, tvane::MsgIcon::Error);
            EXPECT_EQ(h.steps, Steps{"disk"});
        }
    }
}

TEST_F(StartupTest, FailedFreeSpaceQueryShowsTheSystemText) {
    host.freeBytes.reset();
    EXPECT_FALSE(app.InitInstance({}));
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[0].text, "No such device");
    EXPECT_EQ(prompter.asked[0].icon, tvane::MsgIcon::Information);
}

// The restore question from the clean-exit marker and preference 10004.
TEST_F(StartupTest, RestoreDecision) {
    struct Case {
        const char* valid;
        bool useLast;
        std::vector<MsgAnswer> answers;
        const char* setupName;
        bool asks;
        bool restores;
    } cases[] = {
        {"1", false, {}, "Plant", false, false},
        {"1", true, {}, "Plant", false, true},
        {"0", true, {MsgAnswer::No}, "Plant", true, false},
        {"0", false, {MsgAnswer::Yes}, "Plant", true, true},
        {"1", true, {}, "", false, false},
    };
    for (const auto& c : cases) {
        tvane::test::TempHome h;
        RecordingHost rec;
        rec.useLastSetup = c.useLast;
        tvane::ScriptedPrompter p;
        for (auto a : c.answers)
            p.Script({a});
        tvane::ScopedService<tvane::IPrompter> g(tvane::SetPrompter, &p);
        SetProfile("Settings", "Valid", c.valid);
        SetProfile("Recent File List", "SetupName", c.setupName);
        SetProfile("Recent File List", "DatasetName", "Run 1");
        CLoggerApp a(rec, "/opt/tvane");
        ASSERT_TRUE(a.InitInstance({}));
        const bool asked = !p.asked.empty() && p.asked[0].text.rfind("The application was", 0) == 0;
        EXPECT_EQ(asked, c.asks) << c.valid << c.useLast;
        const bool restored =
            std::find(rec.steps.begin(), rec.steps.end(), "restore Plant/Run 1") != rec.steps.end();
        EXPECT_EQ(restored, c.restores) << c.valid << c.useLast;
        // The welcome dialog follows exactly when nothing was restored.
        EXPECT_EQ(rec.steps.back() == "welcome", !c.restores);
        EXPECT_EQ(a.m_opening, 0);
    }
}

TEST_F(StartupTest, NamesWithControlCharactersAreNeitherRememberedNorRestored) {
    CStateInfo state;
    state.m_setupName = "Plant\n[Path]\nData=/elsewhere";
    state.m_datasetName = "Run 1";
    state.SaveRecentNames();
    EXPECT_EQ(Profile("Recent File List", "SetupName"), "");
    EXPECT_EQ(Profile("Recent File List", "DatasetName"), "Run 1");
    EXPECT_EQ(tvane::GetPrivateProfileSectionNames(kProfileFile),
              std::vector<std::string>{"Recent File List"});

    // A name that reached the file some other way is not opened.
    tvane::test::WriteFile(home.Config() / kProfileFile,
                           "[Recent File List]\nSetupName=Pl\x01nt\nDatasetName=Run 1\n");
    host.useLastSetup = true;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(host.steps.back(), "welcome");
    for (const std::string& step : host.steps)
        EXPECT_NE(step.rfind("restore", 0), 0u) << step;
}

TEST_F(StartupTest, FailedRestoreEmptiesTheNamesAndWelcomes) {
    host.useLastSetup = true;
    host.restoreThrows = true;
    SetProfile("Recent File List", "SetupName", "Plant");
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(host.steps.back(), "welcome");
    EXPECT_TRUE(app.GetStateInfo().m_setupName.empty());
    EXPECT_TRUE(app.GetStateInfo().m_datasetName.empty());
    ASSERT_EQ(prompter.asked.size(), 1u); // the file exception's own text
    EXPECT_NE(prompter.asked[0].helpId, 0u);
}

TEST_F(StartupTest, CancelledWelcomeIsOfferedAgain) {
    host.welcomeCancels = 2;
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(std::count(host.steps.begin(), host.steps.end(), "welcome"), 3);
    EXPECT_TRUE(prompter.asked.empty());
}

} // namespace

#include "app/startup/RegionalFormats.h"

namespace {

TEST(RegionalFormats, FieldOrderYearWidthAndClock) {
    struct Case {
        const char* shortDate;
        const char* dateSep;
        const char* timeSep;
        bool h24;
        const char* date;
        const char* time;
    } cases[] = {
        {"M/d/y", "/", ":", false, "%m/%d/%y", "%I:%M"},
        {"dd.MM.yyyy", ".", ":", true, "%d.%m.%Y", "%H:%M"},
        {"yyyy-MM-dd", "-", "", true, "%Y-%m-%d", "%H%M"},
    };
    for (const auto& c : cases) {
        tvane::LocaleFormats f;
        f.shortDate = c.shortDate;
        f.dateSeparator = c.dateSep;
        f.timeSeparator = c.timeSep;
        f.twentyFourHour = c.h24;
        f.am = "vormittags-lang";
        const RegionalFormats r = BuildRegionalFormats(f);
        EXPECT_EQ(r.dateFormat, c.date);
        EXPECT_EQ(r.timeFormat, c.time);
        EXPECT_EQ(r.am, "vormittags");
    }
}

} // namespace
