#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/tools/restore/RestoreTestSupport.h"
#include "tools/restore/DatabaseRestore.h"
#include "tools/restore/RestoreTexts.h"

namespace tvane::test {
namespace {

namespace texts = restore_texts;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string> Entries(const DatabaseRestore& restore) {
    std::vector<std::string> entries;
    for (const MissingDataset& missing : restore.Missing())
        entries.push_back(missing.Text());
    return entries;
}

// The data source's values as the restore reads them; everything else fails.
class FixedDataSource final : public IOdbcInstaller {
public:
    FixedDataSource(std::string dbq, std::string defaultDir)
        : m_dbq(std::move(dbq)), m_defaultDir(std::move(defaultDir)) {}
    bool WritePrivateProfileString(const std::string&, const std::string&, const std::string&,
                                   const std::string&) override {
        return false;
    }
    std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                        const std::string& def, const std::string&) override {
        if (section != "Tvane32")
            return def;
        if (key == "DBQ")
            return m_dbq;
        if (key == "DefaultDir" && !m_defaultDir.empty())
            return m_defaultDir;
        return def;
    }
    std::string LastError() const override { return {}; }

private:
    std::string m_dbq, m_defaultDir;
};

TEST(RestoreNames, RowNamesAndSetupFiles) {
    FakeClock clock{FromLocalTime(LocalTime{2026, 3, 5, 14, 7, 9, 0, 0})};
    ScopedService<IClock> guard{SetClock, &clock};
    EXPECT_EQ(RestoredRowName("Setup", 1), "Setup 03/05/26 14:07:09.01");
    EXPECT_EQ(RestoredRowName("Data", 0), "Data 03/05/26 14:07:09.00");
    EXPECT_EQ(RestoredRowName("Data", 123), "Data 03/05/26 14:07:09.123");

    // The first letter of the file name, whatever the name's length.
    EXPECT_EQ(SetupFileOf("/data/Y5140709.063"), "/data/X5140709.063");
    EXPECT_EQ(SetupFileOf("/da;ta/y.d"), "/da;ta/X.d");
    EXPECT_EQ(SetupFileOf("C:\\Data\\Y1"), "C:\\Data\\X1");
    EXPECT_EQ(SetupFileOf("Y"), "X");
}

TEST_F(RestoreTest, TheDataDirectoryIsTheDatabaseFolderWithoutDefaultDir) {
    struct Case {
        std::string dbq, defaultDir, dataDirectory;
    } cases[] = {
        {"C:\\Data\\db.mdb", "", "C:\\Data"},
        {"/srv/tvane/tvane.mdb", "", "/srv/tvane"},
        {"/srv/tvane/tvane.mdb", "/elsewhere", "/elsewhere"},
        {"\\db.mdb", "", ""},
        {"db.mdb", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dbq);
        FixedDataSource source(c.dbq, c.defaultDir);
        ScriptedPrompter boxes;
        DatabaseRestore restore(boxes, source);
        // None of these databases exists.
        EXPECT_FALSE(restore.OpenDatabase());
        EXPECT_EQ(restore.DataDirectory(), c.dataDirectory);
        EXPECT_THAT(boxes.Texts(), ElementsAre(texts::kDbNotFound));
    }
}

TEST_F(RestoreTest, FilesWithMissingDatasetsGetASetupEachAndNumberedDatasets) {
    // A data directory whose name holds the entry separator.
    const std::filesystem::path folder = home.Data() / "runs;2026";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(
        OdbcInstaller().WritePrivateProfileString("Tvane32", "DefaultDir", folder, "odbc.ini"));
    const std::string first =
        MakeDatasetFile("Y5140709.063", {"Z5140709.063", "Z5140710.063"}, folder);
    const std::string second =
        MakeDatasetFile("y6100000.001", {"Z6100000.001", "Z6100001.001", "Z6100002.001"}, folder);
    MakeDatasetFile("X5140709.063", {"Z1"}, folder); // a setup file's name: not looked at
    // Present, in another case.
    Sql("INSERT INTO Dataset (SetupName, Name, DatasetKey) VALUES ('Old', 'Run', 'z6100001.001')");

    DatabaseRestore restore(prompter);
    ASSERT_TRUE(restore.OpenDatabase()) << ::testing::PrintToString(prompter.Texts());
    EXPECT_EQ(restore.DatabasePath(), database.string());
    EXPECT_EQ(restore.DataDirectory(), folder.string());
    restore.Scan();
    EXPECT_THAT(restore.Files(), ElementsAre("Y5140709.063", "y6100000.001"));
    EXPECT_THAT(Entries(restore), ElementsAre(first + ";Z5140709.063", first + ";Z5140710.063",
                                              second + ";Z6100000.001", second + ";Z6100002.001"));
    EXPECT_TRUE(restore.CanRestore());
    EXPECT_THAT(prompter.Texts(), IsEmpty());

    prompter.Script({MsgAnswer::Yes});
    EXPECT_TRUE(restore.Restore());
    EXPECT_FALSE(restore.CanRestore());
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kConfirmRestore, texts::kRestored));
    EXPECT_EQ(prompter.asked.front().buttons, MsgButtons::YesNo);
    restore.Close();

    const std::string firstSetup = (folder / "X5140709.063").string();
    const std::string secondSetup = (folder / "X6100000.001").string();
    EXPECT_EQ(Sql("SELECT Name, DateTime, User, Note, SetupFile, DatasetFile FROM Setup ORDER BY "
                  "rowid"),
              "Setup 03/05/26 14:07:09.01|2026-03-05 14:07:09.000|Kelbrin|Added by DB Util|" +
                  firstSetup + "|" + first +
                  "\n"
                  "Setup 03/05/26 14:07:09.02|2026-03-05 14:07:09.000|Kelbrin|Added by DB Util|" +
                  secondSetup + "|" + second + "\n");
    EXPECT_EQ(Sql("SELECT SetupName, Name, DateTime, User, Note, DatasetKey FROM Dataset WHERE "
                  "User = 'Kelbrin' ORDER BY rowid"),
              "Setup 03/05/26 14:07:09.01|Data 03/05/26 14:07:09.00|2026-03-05 "
              "14:07:09.000|Kelbrin|Added by DB Util|Z5140709.063\n"
              "Setup 03/05/26 14:07:09.01|Data 03/05/26 14:07:09.01|2026-03-05 "
              "14:07:09.000|Kelbrin|Added by DB Util|Z5140710.063\n"
              "Setup 03/05/26 14:07:09.02|Data 03/05/26 14:07:09.00|2026-03-05 "
              "14:07:09.000|Kelbrin|Added by DB Util|Z6100000.001\n"
              "Setup 03/05/26 14:07:09.02|Data 03/05/26 14:07:09.01|2026-03-05 "
              "14:07:09.000|Kelbrin|Added by DB Util|Z6100002.001\n");

    // A second look finds nothing more to restore.
    ScriptedPrompter again;
    DatabaseRestore second_look(again);
    ASSERT_TRUE(second_look.OpenDatabase());
    second_look.Scan();
    EXPECT_THAT(Entries(second_look), IsEmpty());
    EXPECT_FALSE(second_look.CanRestore());
}

// The clock stands still, so both restores name their rows in the same second.
TEST_F(RestoreTest, ASecondRestoreInTheSameSecondTakesTheNextFreeNames) {
    const std::string a = MakeDatasetFile("Y1000000.001", {"Z1"});
    const std::string b = MakeDatasetFile("Y2000000.001", {"Z2", "Z3"});
    const std::string c = MakeDatasetFile("Y3000000.001", {"Z5", "Z6"});
    const std::string hidden = "INSERT INTO Dataset (SetupName, Name, DatasetKey) VALUES "
                               "('Old', 'Z3', 'Z3'), ('Old', 'Z5', 'Z5'), ('Old', 'Z6', 'Z6')";
    Sql(hidden);
    {
        DatabaseRestore first(prompter);
        ASSERT_TRUE(first.OpenDatabase());
        first.Scan();
        ASSERT_THAT(Entries(first), ElementsAre(a + ";Z1", b + ";Z2"));
        prompter.Script({MsgAnswer::Yes});
        first.Restore();
    }
    Sql("DELETE FROM Dataset WHERE SetupName = 'Old'");

    ScriptedPrompter boxes;
    DatabaseRestore second(boxes);
    ASSERT_TRUE(second.OpenDatabase());
    second.Scan();
    ASSERT_THAT(Entries(second), ElementsAre(b + ";Z3", c + ";Z5", c + ";Z6"));
    boxes.Script({MsgAnswer::Yes});
    second.Restore();
    EXPECT_THAT(boxes.Texts(), ElementsAre(texts::kConfirmRestore, texts::kRestored));
    second.Close();

    // B's setup is found past A's; its new dataset passes over the name of the
    // one it holds. C gets a setup of its own.
    auto named = [](const std::string& word, const std::string& counter) {
        return word + " 03/05/26 14:07:09." + counter;
    };
    EXPECT_EQ(Sql("SELECT Name, DatasetFile FROM Setup ORDER BY rowid"),
              named("Setup", "01") + "|" + a + "\n" + named("Setup", "02") + "|" + b + "\n" +
                  named("Setup", "03") + "|" + c + "\n");
    std::string datasets;
    for (const auto& [setup, data, key] : {std::tuple{"01", "00", "Z1"},
                                           {"02", "00", "Z2"},
                                           {"02", "01", "Z3"},
                                           {"03", "00", "Z5"},
                                           {"03", "01", "Z6"}})
        datasets += named("Setup", setup) + "|" + named("Data", data) + "|" + key + "\n";
    EXPECT_EQ(Sql("SELECT SetupName, Name, DatasetKey FROM Dataset ORDER BY SetupName, Name"),
              datasets);

    DatabaseRestore rescan(boxes);
    ASSERT_TRUE(rescan.OpenDatabase());
    rescan.Scan();
    EXPECT_THAT(Entries(rescan), IsEmpty());
}

TEST_F(RestoreTest, FilesThatCannotBeReadAreReportedAndSkipped) {
    WriteFile(home.Data() / "Ynotes.txt", "not a compound file");
    const std::string locked = MakeDatasetFile("Y1000000.001", {"Z1000000.001"});
    const std::string readable = MakeDatasetFile("Y2000000.001", {"Z2000000.001"});
    // The main program holds its open dataset file exclusively.
    CDatasetStore open;
    ASSERT_TRUE(open.Open(locked, STGM_READWRITE | STGM_SHARE_EXCLUSIVE));

    DatabaseRestore restore(prompter);
    ASSERT_TRUE(restore.OpenDatabase());
    restore.Scan();
    EXPECT_THAT(restore.Files(), ElementsAre("Y1000000.001", "Y2000000.001", "Ynotes.txt"));
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kOpenFileFailed, texts::kNotStorageFile));
    EXPECT_THAT(Entries(restore), ElementsAre(readable + ";Z2000000.001"));
}

TEST_F(RestoreTest, NamesWithControlCharactersAreNeverRestored) {
    // A storage whose name would be a key no lookup finds, and a file whose
    // name would be stored with a line break.
    const std::string file = MakeDatasetFile("Y3000000.001", {"Z3000000.001", "Z3\x01", "Z3\n"});
    MakeDatasetFile("Y4\n000000.001", {"Z4000000.001"});
    DatabaseRestore restore(prompter);
    ASSERT_TRUE(restore.OpenDatabase());
    restore.Scan();
    EXPECT_THAT(restore.Files(), ElementsAre("Y3000000.001"));
    EXPECT_THAT(Entries(restore), ElementsAre(file + ";Z3000000.001"));
    EXPECT_THAT(prompter.Texts(),
                ElementsAre(texts::kOpenStorageFailed, texts::kOpenStorageFailed));
}

TEST_F(RestoreTest, DecliningTheConfirmationAddsNothing) {
    MakeDatasetFile("Y1000000.001", {"Z1000000.001"});
    DatabaseRestore restore(prompter);
    ASSERT_TRUE(restore.OpenDatabase());
    restore.Scan();
    prompter.Script({MsgAnswer::No});
    EXPECT_FALSE(restore.Restore());
    EXPECT_TRUE(restore.CanRestore());
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kConfirmRestore));
    EXPECT_EQ(Sql("SELECT count(*) FROM Setup; SELECT count(*) FROM Dataset"), "0\n0\n");
}

TEST_F(RestoreTest, AFileWhoseSetupRowFailsGetsNoDatasetRowsAndNoSuccessMessage) {
    // A setup file path longer than the column takes.
    std::filesystem::path folder = home.Data();
    for (int i = 0; i < 3; ++i)
        folder /= std::string(90, 'd');
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(
        OdbcInstaller().WritePrivateProfileString("Tvane32", "DefaultDir", folder, "odbc.ini"));
    MakeDatasetFile("Y1000000.001", {"Z1000000.001", "Z1000001.001"}, folder);

    DatabaseRestore restore(prompter);
    ASSERT_TRUE(restore.OpenDatabase());
    restore.Scan();
    ASSERT_EQ(restore.Missing().size(), 2u);
    prompter.Script({MsgAnswer::Yes});
    restore.Restore();
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kConfirmRestore, texts::kSetupUpdateFailed,
                                              texts::kNotAllRestored));
    restore.Close();
    EXPECT_EQ(Sql("SELECT count(*) FROM Setup; SELECT count(*) FROM Dataset"), "0\n0\n");
}

TEST_F(RestoreTest, AReadOnlyDatabaseFileIsMadeWritable) {
    std::filesystem::permissions(database, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    DatabaseRestore restore(prompter);
    EXPECT_TRUE(restore.OpenDatabase()) << ::testing::PrintToString(prompter.Texts());
    EXPECT_NE(std::filesystem::status(database).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
}

TEST_F(RestoreTest, WithoutTheDataSourceThereIsNoDatabase) {
    std::filesystem::remove(home.Path() / "odbc.ini");
    DatabaseRestore restore(prompter);
    EXPECT_FALSE(restore.OpenDatabase());
    EXPECT_FALSE(restore.IsOpen());
    restore.Scan();
    EXPECT_THAT(restore.Files(), IsEmpty());
    EXPECT_THAT(prompter.Texts(), ElementsAre(texts::kDbNotFound));
}

} // namespace
} // namespace tvane::test
