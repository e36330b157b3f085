#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/CDatasetEvent.h"
#include "database/CRSSetup.h"
#include "platform/core/FrameworkExceptions.h"
#include "scan/CFXSetup.h"
#include "tests/database/WorkspaceTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

TEST(WorkspaceNamesTest, StorageNamesAndDefaultNamesFromTheLocalTime) {
    const LocalTime newYear{2029, 1, 1, 0, 0, 0, 0, 1};
    const LocalTime leapEnd{2028, 12, 31, 23, 59, 58, 0, 0};
    const LocalTime march{2026, 3, 5, 14, 7, 9, 0, 4};
    EXPECT_EQ(workspace_names::StorageSuffix(newYear), "9000000.000");
    EXPECT_EQ(workspace_names::StorageSuffix(leapEnd), "8235958.365");
    EXPECT_EQ(workspace_names::StorageSuffix(march), "6140709.063");
    EXPECT_EQ(workspace_names::DatasetKey(march), "Z6140709.063");
    EXPECT_EQ(workspace_names::DatasetKey(march).size(), 12u);
    EXPECT_EQ(workspace_names::SetupFilePath("/d", march), "/d/X6140709.063");
    EXPECT_EQ(workspace_names::DefaultName("Setup", march), "Setup 03/05/26 14:07:09");
    EXPECT_EQ(workspace_names::DefaultName("Data", newYear), "Data 01/01/29 00:00:00");

    const std::vector<std::pair<std::string, std::string>> companions = {
        {"/d/X6140709.063", "/d/Y6140709.063"},
        {"C:\\data32\\X6140709.063", "C:\\data32\\Y6140709.063"},
        // A bare name gets its companion too: it must never be the setup file itself.
        {"X6140709.063", "Y6140709.063"},
        {"/d/", "/d/"},
    };
    for (const auto& [path, companion] : companions)
        EXPECT_EQ(workspace_names::CompanionFileName(path), companion) << path;
}

TEST_F(WorkspaceTest, SetupFilePathStepsPastNamesTakenOnDisk) {
    CStateInfo state = doc.state;
    workspace.MakeSetupFilePath(state);
    const std::string dir = home.Data().string();
    EXPECT_EQ(state.m_setupFile, dir + "/X6140709.063");

    // Another setup's file of this second, and a stray storage file of the next.
    WriteFile(dir + "/X6140709.063", "other setup");
    WriteFile(dir + "/Y6140710.063", "other storage");
    workspace.MakeSetupFilePath(state);
    EXPECT_EQ(state.m_setupFile, dir + "/X6140711.063");
    EXPECT_EQ(ReadFile(dir + "/X6140709.063"), "other setup");
}

TEST_F(WorkspaceTest, UniqueSetupNames) {
    const auto E = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "\xC3\xA9";
        return text;
    };
    const std::string forty(40, 'n');
    const std::string cut33(33, 'n'), cut32(32, 'n');
    std::string values;
    for (const char* name : {"Bench.1", "Bench.0.1", "Bench.ab.1"})
        values += std::string(values.empty() ? "" : ",") + "('" + name + "',0,'','','','')";
    for (int n = 1; n <= 9; ++n)
        values += ",('" + cut33 + "." + std::to_string(n) + "',0,'','','','')";
    for (int n = 1; n <= 98; ++n)
        values += ",('Full." + std::to_string(n) + "',0,'','','','')";
    Sql("INSERT INTO Setup (Name, DateTime, User, Note, SetupFile, DatasetFile) VALUES " + values +
        ";");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"Bench", "Bench.2"},
        {"Bench.7", "Bench.2"},
        {"Bench.0", "Bench.0.2"},
        {"Bench.ab", "Bench.ab.2"},
        {"Other", "Other.1"},
        {forty, cut32 + ".10"},
        {"Full", "Full.99"},
        {"Full.5", "Full.99"},
        // 34 bytes of two-byte characters: the cut drops the whole 17th character.
        {E(17), E(16) + ".1"},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(workspace.MakeUniqueSetupName(name), expected) << name;

    Sql("INSERT INTO Setup (Name, DateTime) VALUES ('Full.99', 0);");
    EXPECT_EQ(workspace.MakeUniqueSetupName("Full"), "(New Setup)");
}

TEST_F(WorkspaceTest, DefaultSetupNameStepsPastTakenNames) {
    EXPECT_EQ(workspace.MakeDefaultSetupName(), "Setup 03/05/26 14:07:09");
    Sql("INSERT INTO Setup (Name, DateTime) VALUES ('Setup 03/05/26 14:07:09', 0);");
    EXPECT_EQ(workspace.MakeDefaultSetupName(), "Setup 03/05/26 14:07:10");
    EXPECT_EQ(CWorkspace::MakeDefaultDatasetName(), "Data 03/05/26 14:07:09");
    // A dataset name is free within its setup.
    Sql("INSERT INTO Dataset (SetupName, Name, DateTime) VALUES ('Rig', 'Data 03/05/26 "
        "14:07:09', 0);");
    EXPECT_EQ(workspace.MakeFreeDatasetName("Rig"), "Data 03/05/26 14:07:10");
    EXPECT_EQ(workspace.MakeFreeDatasetName("Other rig"), "Data 03/05/26 14:07:09");
}

TEST_F(WorkspaceTest, SetupExistsOnlyWithAFileThatHoldsData) {
    const std::string dir = home.Data().string();
    WriteFile(dir + "/full", "data");
    WriteFile(dir + "/empty", "");
    ASSERT_TRUE(workspace.AddSetupRow("Full", dir + "/full"));
    ASSERT_TRUE(workspace.AddSetupRow("Empty", dir + "/empty"));
    ASSERT_TRUE(workspace.AddSetupRow("Lost", dir + "/lost"));
    EXPECT_FALSE(workspace.AddSetupRow("Full", dir + "/again"));

    EXPECT_TRUE(workspace.SetupExists("Full"));
    EXPECT_FALSE(workspace.SetupExists("Empty"));
    EXPECT_FALSE(workspace.SetupExists("None"));
    EXPECT_FALSE(workspace.SetupExists("full"));
    try {
        workspace.SetupExists("Lost");
        ADD_FAILURE() << "a missing setup file is reported";
    } catch (const FileException& e) {
        EXPECT_EQ(e.Cause(), FileException::fileNotFound);
        EXPECT_EQ(e.OsError(), -1);
        EXPECT_EQ(e.FileName(), dir + "/lost");
    }
}

TEST_F(WorkspaceTest, CreatedSetupAndDatasetAreSeenByIndependentReaders) {
    doc.state.m_setupName = "Bench";
    doc.active = 3;
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    const std::string dir = home.Data().string();
    EXPECT_EQ(doc.state.m_setupFile, dir + "/X6140709.063");
    EXPECT_TRUE(doc.store.IsOpen());
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    EXPECT_EQ(doc.state.m_datasetName, "Data 03/05/26 14:07:09");
    EXPECT_EQ(doc.state.m_datasetKey, "Z6140709.063");
    EXPECT_EQ(doc.dataset.GetChannelCount(), 3);
    EXPECT_EQ(doc.summary.startTime.GetTime(), clock.Now());

    // In the same second the name and the key move on to the next second.
    CStateInfo second = doc.state;
    workspace.MakeDatasetKey(second);
    EXPECT_EQ(second.m_datasetKey, "Z6140710.063");
    ASSERT_TRUE(workspace.SaveDataset(second));
    EXPECT_EQ(second.m_datasetName, "Data 03/05/26 14:07:10");
    EXPECT_EQ(second.m_datasetKey, "Z6140710.063");
    doc.CloseDatasetStore();

    EXPECT_EQ(Sql("SELECT Name, User, Note, SetupFile, DatasetFile FROM Setup;"),
              "Bench|||" + dir + "/X6140709.063|" + dir + "/Y6140709.063\n");
    EXPECT_EQ(Sql("SELECT SetupName, Name, Note, DatasetKey FROM Dataset ORDER BY DatasetKey;"),
              "Bench|Data 03/05/26 14:07:09|Added By Run|Z6140709.063\n"
              "Bench|Data 03/05/26 14:07:10|Added By Run|Z6140710.063\n");
    EXPECT_EQ(fs::file_size(dir + "/X6140709.063"), 0u);
    if (!HaveOlefile())
        GTEST_SKIP() << "python3-olefile is not installed";
    const std::string listing = OleListing(dir + "/Y6140709.063");
    EXPECT_NE(listing.find("Datasets\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Z6140709.063/Header\n"), std::string::npos) << listing;
    EXPECT_NE(listing.find("Z6140710.063/Readings\n"), std::string::npos) << listing;
}

TEST_F(WorkspaceTest, CreatingASetupReplacesItsNamesakeButNoOtherFiles) {
    const std::string dir = home.Data().string();
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    const std::string first = doc.state.m_setupFile;
    WriteFile(dir + "/X6140710.063", "someone else's setup");

    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    EXPECT_EQ(doc.state.m_setupFile, dir + "/X6140711.063");
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(workspace_names::CompanionFileName(first)));
    EXPECT_EQ(ReadFile(dir + "/X6140710.063"), "someone else's setup");
    EXPECT_EQ(Sql("SELECT Name, SetupFile FROM Setup;"), "Bench|" + dir + "/X6140711.063\n");
}

TEST_F(WorkspaceTest, DeleteSetupClosesTheOpenStoreFirst) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    ASSERT_TRUE(doc.dataset.IsOpen());

    EXPECT_TRUE(workspace.DeleteSetup("Bench"));
    EXPECT_FALSE(doc.store.IsOpen());
    EXPECT_FALSE(doc.dataset.IsOpen());
    EXPECT_FALSE(fs::exists(doc.state.m_setupFile));
    EXPECT_FALSE(fs::exists(workspace_names::CompanionFileName(doc.state.m_setupFile)));
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM Setup;"), "0\n");
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM Dataset;"), "1\n") << "datasets go separately";
    EXPECT_TRUE(workspace.DeleteSetup("Bench")) << "nothing left to delete";
}

TEST_F(WorkspaceTest, DeleteSetupReportsAFileThatCannotBeRemoved) {
    const std::string dir = home.Data().string();
    fs::create_directories(dir + "/busy/inner");
    ASSERT_TRUE(workspace.AddSetupRow("Bench", dir + "/busy"));
    EXPECT_FALSE(workspace.DeleteSetup("Bench"));
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM Setup;"), "0\n");
}

TEST_F(WorkspaceTest, RowUpdatesReportTheirResult) {
    ASSERT_TRUE(workspace.AddSetupRow("Bench", "/nowhere/X1"));
    EXPECT_TRUE(workspace.SetSetupUserNote("Bench", "ann", "first"));
    EXPECT_TRUE(workspace.SetSetupUserNote("Bench", "ann", "first")) << "no change is no failure";
    EXPECT_TRUE(workspace.SetSetupDateTime("Bench", CTime(1700000000)));
    ASSERT_TRUE(workspace.AddDatasetRow("Bench", "Early", "Z0"));
    EXPECT_TRUE(workspace.UpdateSetupRecord("Bench", {"Renamed", "bob", "second"}));
    EXPECT_FALSE(workspace.UpdateSetupRecord("Bench", {"Again", "", ""}));
    EXPECT_FALSE(workspace.SetSetupUserNote("Missing", "", ""));
    EXPECT_EQ(Sql("SELECT Name, DateTime, User, Note FROM Setup;"),
              "Renamed|2023-11-14 22:13:20.000|bob|second\n");

    ASSERT_TRUE(workspace.AddDatasetRow("Renamed", "Run", "Z1"));
    EXPECT_FALSE(workspace.AddDatasetRow("Renamed", "Run", "Z2"));
    EXPECT_TRUE(workspace.UpdateDatasetRecord("Renamed", "Run", {"Run 2", "cy", "n"}));
    EXPECT_FALSE(workspace.UpdateDatasetRecord("Renamed", "Run", {"Run 3", "", ""}));
    EXPECT_EQ(Sql("SELECT SetupName, Name, User, Note, DatasetKey FROM Dataset ORDER BY "
                  "DatasetKey;"),
              "Renamed|Early||Added By Run|Z0\nRenamed|Run 2|cy|n|Z1\n")
        << "a renamed setup keeps its datasets";
}

TEST_F(WorkspaceTest, DeleteDatasetInTheOpenStoreAndInAnotherSetupsFile) {
    doc.state.m_setupName = "Other";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    const CStateInfo other = doc.state;
    doc.CloseDatasetStore();

    clock.Advance(60000);
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    workspace.CloseDataset();

    EXPECT_TRUE(workspace.DeleteDataset("Bench", doc.state.m_datasetName));
    EXPECT_FALSE(doc.store.FindDataset(doc.state.m_datasetKey, nullptr));
    EXPECT_FALSE(doc.store.GetRootStorage()->HasElement(doc.state.m_datasetKey));

    EXPECT_TRUE(workspace.DeleteDataset("Other", other.m_datasetName));
    EXPECT_EQ(Sql("SELECT COUNT(*) FROM Dataset;"), "0\n");
    CDatasetStore otherStore;
    otherStore.Open(workspace_names::CompanionFileName(other.m_setupFile),
                    STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    EXPECT_EQ(otherStore.GetDirCount(), 0);
    EXPECT_FALSE(otherStore.GetRootStorage()->HasElement(other.m_datasetKey));
    otherStore.Close();

    EXPECT_TRUE(workspace.DeleteDataset("Bench", "gone")) << "no such row";
}

TEST_F(WorkspaceTest, DeleteDatasetsOfSetupTakesRowsAndStorages) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    clock.Advance(1000);
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    workspace.CloseDataset();
    ASSERT_TRUE(workspace.AddDatasetRow("Kept", "Run", "Z9"));

    EXPECT_TRUE(workspace.DeleteDatasetsOfSetup("Bench"));
    EXPECT_EQ(Sql("SELECT SetupName FROM Dataset;"), "Kept\n");
    EXPECT_EQ(doc.store.GetDirCount(), 0);

    // The current dataset is open: its storage cannot go, and that is reported.
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    EXPECT_THROW(workspace.DeleteDatasetsOfSetup("Bench"), FileException);
}

TEST_F(WorkspaceTest, CheckDatasetFile) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    EXPECT_TRUE(workspace.CheckDatasetFile(doc.state));
    CStateInfo missing = doc.state;
    missing.m_datasetName = "gone";
    EXPECT_FALSE(workspace.CheckDatasetFile(missing));

    // A row whose element is not in the open file.
    ASSERT_TRUE(workspace.AddDatasetRow("Bench", "stray", "Z0000000.000"));
    CStateInfo stray = doc.state;
    stray.m_datasetName = "stray";
    EXPECT_FALSE(workspace.CheckDatasetFile(stray));

    doc.CloseDatasetStore();
    EXPECT_TRUE(workspace.CheckDatasetFile(stray)) << "a closed file is only looked at on disk";
    fs::remove(workspace_names::CompanionFileName(doc.state.m_setupFile));
    EXPECT_THROW(workspace.CheckDatasetFile(doc.state), FileException);
}

TEST_F(WorkspaceTest, LoadDatasetFileTakesTheRunSummaryBack) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    doc.active = 2;
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    doc.summary.firstTick = 100.0;
    doc.summary.lastTick = 900.0;
    doc.summary.runValue = 7;
    ASSERT_TRUE(workspace.UpdateDatasetHeader());
    workspace.CloseDataset();

    doc.summary = {};
    EXPECT_TRUE(workspace.LoadDatasetFile(doc.state));
    EXPECT_EQ(doc.summary.firstTick, 100.0);
    EXPECT_EQ(doc.summary.lastTick, 900.0);
    EXPECT_EQ(doc.summary.runValue, 7);
    EXPECT_EQ(doc.dataset.GetChannelCount(), 2);
    EXPECT_EQ(doc.summary.startTime.GetTime(), clock.Now());
    EXPECT_EQ(doc.firstPosition, -1.0);
    EXPECT_EQ(doc.secondPosition, -1.0e12);
}

TEST_F(WorkspaceTest, SaveDatasetIfAnySavesOnlyARunWithContent) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    const CStateInfo first = doc.state;
    doc.state.m_flags[3] = 1;
    clock.Advance(1000);
    EXPECT_TRUE(workspace.SaveDatasetIfAny(doc.state));
    EXPECT_EQ(doc.state.m_datasetKey, first.m_datasetKey) << "an empty run is not saved";
    EXPECT_EQ(doc.state.m_flags[3], 1);

    CDatasetEvent event(CDatasetEvent::User, 0, -3.0, "note");
    doc.dataset.AppendEvent(event);
    EXPECT_TRUE(workspace.SaveDatasetIfAny(doc.state));
    EXPECT_NE(doc.state.m_datasetKey, first.m_datasetKey);
    EXPECT_EQ(doc.state.m_flags[3], 0);

    // Loading the first run again places new events before and after its one event.
    workspace.CloseDataset();
    CStateInfo again = first;
    EXPECT_TRUE(workspace.LoadDatasetFile(again));
    EXPECT_EQ(doc.dataset.GetKey(), first.m_datasetKey);
    EXPECT_EQ(doc.firstPosition, -2.0);
    EXPECT_EQ(doc.secondPosition, -1.0e12);
    EXPECT_TRUE(workspace.LoadDatasetFile(again)) << "already open";
}

TEST_F(WorkspaceTest, ModuleChannelsFromTheCardTables) {
    const std::string expected = Sql("SELECT COUNT(*) FROM CardData WHERE Name='KXQT7102';");
    ASSERT_EQ(expected, "16\n");
    doc.rows.ResetSlots(40);
    EXPECT_TRUE(workspace.LoadModuleChannels({"(None)", "KXQT7102", ""}));
    ASSERT_NE(doc.rows.GetSetup(15), nullptr);
    EXPECT_EQ(doc.rows.GetSetup(16), nullptr);
    const CFXSetup& first = *doc.rows.GetSetup(0);
    EXPECT_EQ(first.Name, "KXQT7102");
    EXPECT_EQ(first.Channel, 201u);
    EXPECT_EQ(doc.rows.GetSetup(15)->Channel, 216u);
    EXPECT_EQ(Sql("SELECT ChannelName||'|'||Function FROM CardData WHERE Name='KXQT7102' AND "
                  "ChannelId=1;"),
              first.ChannelName + "|" + first.Function + "\n");
    for (int i = 0; i < 16; ++i) {
        const CFXSetup& row = *doc.rows.GetSetup(i);
        EXPECT_EQ(row.AlarmActions, row.CellFlags == CFXSetup::kCellAll ? ";;;;;" : "4;;;;;");
    }

    // The channel limit bounds the rows made across the slots.
    doc.rows.ResetSlots(40);
    doc.limit = 20;
    EXPECT_TRUE(workspace.LoadModuleChannels({"KXQT7102", "KXQT7102", "(None)"}));
    EXPECT_NE(doc.rows.GetSetup(19), nullptr);
    EXPECT_EQ(doc.rows.GetSetup(20), nullptr);
    EXPECT_EQ(doc.rows.GetSetup(16)->Channel, 201u);
}

} // namespace
} // namespace tvane::test
