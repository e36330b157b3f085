#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "database/CMfxFileException.h"
#include "database/CRSSetup.h"
#include "database/CStateInfo.h"
#include "database/DataSource.h"
#include "database/SeedDatabase.h"
#include "platform/core/Folders.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

// The system installer, with one key whose write fails; records every write.
class FailingInstaller final : public IOdbcInstaller {
public:
    explicit FailingInstaller(std::string failKey = {}) : m_failKey(std::move(failKey)) {}
    bool WritePrivateProfileString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& file) override {
        if (key == m_failKey)
            return false;
        written.insert(key);
        return m_system.WritePrivateProfileString(section, key, value, file);
    }
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& def, const std::string& file) override {
        return m_system.GetPrivateProfileString(section, key, def, file);
    }
    std::string LastError() const override { return "refused"; }

    std::set<std::string> written;

private:
    std::string m_failKey;
    SystemOdbcInstaller m_system;
};

class DataSourceTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        if (HasFatalFailure())
            return;
        fs::create_directories(home.Data());
    }

    std::string OdbcValue(const std::string& section, const std::string& key) {
        return installer.GetPrivateProfileString(section, key, "<none>", "odbc.ini");
    }

    // A data source of another name over a database file elsewhere.
    void AddDataSource(const std::string& name, const fs::path& database) {
        installer.WritePrivateProfileString("ODBC Data Sources", name, "SQLite3", "odbc.ini");
        installer.WritePrivateProfileString(name, "Driver", "SQLite3", "odbc.ini");
        installer.WritePrivateProfileString(name, "Database", database.string(), "odbc.ini");
        installer.WritePrivateProfileString(name, "DBQ", database.string(), "odbc.ini");
        WritePrivateProfileString("Database", "DSN", name, kProfileFile);
    }

    SystemOdbcInstaller installer;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    CStateInfo state;
};

TEST_F(DataSourceTest, RegistrationWritesTheUserDataSource) {
    ASSERT_TRUE(RegisterDataSource());
    const std::string database = (home.Data() / "tvane.mdb").string();
    EXPECT_EQ(OdbcValue("ODBC Data Sources", "Tvane32"), "SQLite3");
    EXPECT_EQ(OdbcValue("Tvane32", "Driver"), "SQLite3");
    EXPECT_EQ(OdbcValue("Tvane32", "Database"), database);
    EXPECT_EQ(OdbcValue("Tvane32", "DBQ"), database);
    EXPECT_EQ(OdbcValue("Tvane32", "DefaultDir"), home.Data().string());
    EXPECT_EQ(OdbcValue("Tvane32", "Description"), "Tallyvane 32 Data Source");
    EXPECT_EQ(OdbcValue("Tvane32", "Timeout"), "5000");
    EXPECT_EQ(OdbcValue("Tvane32", "NoCreat"), "1");
    // Written into the user's file that ODBCINI names.
    const std::string text = ReadFile(home.Path() / "odbc.ini");
    EXPECT_NE(text.find("[Tvane32]"), std::string::npos) << text;
    EXPECT_NE(text.find(database), std::string::npos) << text;

    // The data directory comes from the profile, read afresh.
    ASSERT_TRUE(WritePrivateProfileString("Path", "Data", "/srv/logs/", kProfileFile));
    ASSERT_TRUE(RegisterDataSource());
    EXPECT_EQ(OdbcValue("Tvane32", "DBQ"), "/srv/logs/tvane.mdb");
    EXPECT_EQ(OdbcValue("Tvane32", "DefaultDir"), "/srv/logs");
}

TEST_F(DataSourceTest, AFailingStageLeavesTheLaterValuesUnwritten) {
    struct Case {
        const char* failKey;
        std::set<std::string> written;
    };
    const Case cases[] = {
        {"Tvane32", {}},
        {"Driver", {"Tvane32", "DBQ", "DefaultDir"}},
        {"SyncPragma",
         {"Tvane32", "DBQ", "DefaultDir", "Driver", "Database", "Description", "Timeout"}},
    };
    for (const auto& c : cases) {
        FailingInstaller failing(c.failKey);
        EXPECT_FALSE(RegisterDataSource(failing)) << c.failKey;
        EXPECT_EQ(failing.written, c.written) << c.failKey;
    }
}

TEST_F(DataSourceTest, FirstStartCreatesTheWorkspaceAndOpensIt) {
    ASSERT_TRUE(RegisterDataSource());
    ASSERT_TRUE(state.OpenDatabase()) << ::testing::PrintToString(prompter.Texts());
    EXPECT_TRUE(prompter.asked.empty());
    ASSERT_NE(state.GetDatabase(), nullptr);
    EXPECT_TRUE(state.GetDatabase()->CanUpdate());
    EXPECT_EQ(state.m_dataDir, home.Data().string());
    EXPECT_EQ(state.m_dataSourceName, "Tvane32");
    EXPECT_EQ(state.m_installDir, CStateInfo::ProgramDirectory());
    EXPECT_FALSE(fs::exists(home.Data() / "temp.txt"));

    CRSSetup setups(state.GetDatabase());
    ASSERT_EQ(setups.OpenAll(RS_UPDATABLE), RS_EMPTY);
    setups.AddNewRecord();
    setups.m_Name = "Bench test";
    setups.UpdateRecord();
    setups.Close();
    EXPECT_EQ(Sqlite3(home.Data() / "tvane.mdb", "SELECT \"Name\" FROM \"Setup\";"),
              "Bench test\n");
    // Through the data source the registration wrote, as any ODBC client reaches it.
    EXPECT_EQ(Isql("Tvane32", "SELECT \"Name\", \"Channels\" FROM \"Cards\" WHERE \"Name\" = "
                              "'KXQT7108'"),
              "KXQT7108|40\n");
    EXPECT_EQ(Isql("Tvane32", "SELECT \"Name\" FROM \"Setup\""), "Bench test\n");

    state.m_setupName = "Bench test";
    state.m_datasetName = "Data 01";
    state.SaveRecentNames();
    EXPECT_EQ(GetPrivateProfileString("Recent File List", "SetupName", "", kProfileFile),
              "Bench test");
    EXPECT_EQ(GetPrivateProfileString("Recent File List", "DatasetName", "", kProfileFile),
              "Data 01");
    state.m_flags[3] = 1;
    EXPECT_TRUE(state.IsBusy());
    CStateInfo copy = state;
    EXPECT_EQ(copy.GetDatabase(), state.GetDatabase());
    EXPECT_TRUE(state.CloseDatabase());
    EXPECT_EQ(state.GetDatabase(), nullptr);
    EXPECT_TRUE(state.m_setupName.empty());
    EXPECT_TRUE(state.m_dataDir.empty());
    EXPECT_FALSE(state.IsBusy());
    EXPECT_FALSE(copy.GetDatabase()->IsOpen());
}

TEST_F(DataSourceTest, ADataSourceNameCannotAddConnectAttributes) {
    ASSERT_TRUE(RegisterDataSource());
    CreateSeedDatabase(home.Data() / "tvane.mdb");
    CDynaDatabase db;
    ASSERT_TRUE(db.Open("Tvane32"));
    db.Close();
    // The whole text names the data source; there is none of that name.
    EXPECT_FALSE(db.Open("Tvane32;Database=" + (home.Data() / "tvane.mdb").string()));
    EXPECT_FALSE(db.IsOpen());
    EXPECT_FALSE(db.LastError().empty());
}

TEST_F(DataSourceTest, EmptyDataSourceNameIsRefusedWithMessage904) {
    ASSERT_TRUE(WritePrivateProfileString("Database", "DSN", "", kProfileFile));
    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Database DSN is empty"});
    EXPECT_EQ(state.GetDatabase(), nullptr);
}

TEST_F(DataSourceTest, DataDirectoryThatCannotBeWrittenThrowsBeforeAnyOpen) {
    const std::string missing = (home.Path() / "no" / "such").string();
    ASSERT_TRUE(WritePrivateProfileString("Path", "Data", missing, kProfileFile));
    try {
        state.OpenDatabase();
        FAIL() << "no file exception";
    } catch (const CMfxFileException& e) {
        EXPECT_EQ(e.Cause(), FileException::badPath);
        EXPECT_EQ(e.OsError(), -1);
        EXPECT_EQ(e.FileName(), missing + "/temp.txt");
        EXPECT_EQ(e.ExtraText(), "\nRun Kesterfix.EXE to correct the problem.");
    }
    EXPECT_EQ(state.m_dataDir, missing);
    EXPECT_EQ(state.m_dataSourceName, "Tvane32");
    EXPECT_EQ(state.GetDatabase(), nullptr);
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(DataSourceTest, MissingDatabaseFileFailsWithoutAMessage) {
    ASSERT_TRUE(RegisterDataSource());
    installer.WritePrivateProfileString("Tvane32", "DBQ", (home.Path() / "gone.mdb").string(),
                                        "odbc.ini");
    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_EQ(state.GetDatabase(), nullptr);
}

TEST_F(DataSourceTest, ADamagedDatabaseFileIsNotTakenForTheWorkspace) {
    ASSERT_TRUE(RegisterDataSource());
    const fs::path database = home.Data() / "tvane.mdb";
    CreateSeedDatabase(database);
    {
        CDynaDatabase db;
        ASSERT_TRUE(db.Open("Tvane32"));
        for (int i = 0; i < 200; ++i)
            db.ExecuteSQL("INSERT INTO Dataset (SetupName, Name, DatasetKey) VALUES ('S', 'R" +
                          std::to_string(i) + "', '" + std::string(300, 'k') + "')");
        db.Close();
    }
    // The file keeps its header but the pages after the first few are noise.
    std::string bytes = ReadFile(database);
    ASSERT_GT(bytes.size(), 40000u);
    for (std::size_t i = 8192; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7 + 3);
    WriteFile(database, bytes);
    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Cannot open Workspace"});
    state.CloseDatabase();

    prompter.asked.clear();
    WriteFile(database, std::string(8192, 'x'));
    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Cannot open Workspace"});
    state.CloseDatabase();
}

TEST_F(DataSourceTest, ReadOnlyDatabaseFileIsMadeWritable) {
    ASSERT_TRUE(RegisterDataSource());
    const fs::path database = home.Data() / "tvane.mdb";
    CreateSeedDatabase(database);
    fs::permissions(database,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    ASSERT_TRUE(state.OpenDatabase());
    EXPECT_NE(fs::status(database).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(DataSourceTest, UnreachableDataSourceShowsMessage905) {
    // A data source of its own: the driver manager keeps what it once read of a
    // data source for the life of the process.
    const fs::path database = home.Data() / "tvane.mdb";
    CreateSeedDatabase(database);
    AddDataSource("Unreachable", database);
    installer.WritePrivateProfileString("Unreachable", "Driver", "NoSuchDriver", "odbc.ini");
    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Can not find Workspace"});
    ASSERT_NE(state.GetDatabase(), nullptr); // kept until CloseDatabase
    EXPECT_FALSE(state.GetDatabase()->IsOpen());
    EXPECT_TRUE(state.CloseDatabase());
    EXPECT_EQ(state.GetDatabase(), nullptr);
}

TEST_F(DataSourceTest, DatabaseOutsideATvanePathIsRefusedWith908AndRecordedUnderTvane32) {
    ASSERT_TRUE(RegisterDataSource());
    std::string folder = (fs::temp_directory_path() / "ws-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const fs::path database = fs::path(folder) / "work.db";
    CreateSeedDatabase(database);
    AddDataSource("Bench", database);

    EXPECT_FALSE(state.OpenDatabase());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Not a Valid Tallyvane Database"});
    EXPECT_EQ(state.m_dataSourceName, "Bench");
    EXPECT_EQ(OdbcValue("Tvane32", "DBQ"), database.string());
    EXPECT_EQ(OdbcValue("Tvane32", "DefaultDir"), folder);
    state.CloseDatabase();
    fs::remove_all(folder);
}

} // namespace
} // namespace tvane::test
