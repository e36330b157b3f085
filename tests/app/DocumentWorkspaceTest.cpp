#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/DocumentWorkspace.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/SeedDatabase.h"
#include "tests/app/LoggerDocFixture.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

// The document's operations with the database side taken from the workspace.
class WorkspaceOperations final : public IDocumentOperations {
public:
    DocumentWorkspace* ws = nullptr;
    bool CreateSetupStorage(CLoggerDoc&, CStateInfo& s) override {
        return ws->CreateSetupStorage(s);
    }
    bool LoadModuleChannels(CLoggerDoc&, CStateInfo& s) override {
        return ws->LoadModuleChannels(s);
    }
    bool SaveDataset(CLoggerDoc&, CStateInfo& s) override { return ws->SaveDataset(s); }
    bool LoadDatasetFile(CLoggerDoc&, CStateInfo& s) override { return ws->LoadDatasetFile(s); }
    std::int32_t GetLastScanMaxChannel(CLoggerDoc&) override { return 0; }
    bool DeleteSetup(CLoggerDoc&, const std::string& name) override {
        return ws->DeleteSetup(name);
    }
    bool DeleteDataset(CLoggerDoc&, CStateInfo& s) override { return ws->DeleteDataset(s); }
    bool SaveSetupAs(CLoggerDoc&, CStateInfo& s, int mode) override {
        return ws->SaveSetupAs(s, mode);
    }
    bool UploadSetup(CLoggerDoc&, CStateInfo&) override { return false; }
    void StartScan(CLoggerDoc&) override {}
    void EndScan(CLoggerDoc&) override {}
    void ShowWaitingStatus(CLoggerDoc&) override {}
};

class NamingDialog final : public ISaveSetupDialog {
public:
    bool Run(SavePropertiesFields& fields) override {
        titles.push_back(fields.title);
        fields.name = "Bench";
        fields.user = "ann";
        return true;
    }
    std::vector<std::string> titles;
};

class NoConflictDialog final : public ISaveSetupAsDialog {
public:
    bool Run(SaveSetupAsFields&) override { return false; }
};

class DocumentWorkspaceTest : public LoggerDocTest {
protected:
    void SetUp() override {
        InstallWorkspaceDriver(home);
        database = home.Data() / "tvane.mdb";
        CreateSeedDatabase(database);
        auto db = std::make_shared<CDynaDatabase>();
        ASSERT_TRUE(
            db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"))
            << db->LastError();
        app.state.m_pDatabase = db;
        MakeDocument();
        services.operations = &workspaceOperations;
        Wire();
        ws = std::make_unique<DocumentWorkspace>(*doc, naming, noConflict);
        workspaceOperations.ws = ws.get();
    }
    void TearDown() override {
        doc->CloseDatasetStore();
        services.operations = nullptr;
        Wire();
    }

    fs::path database;
    WorkspaceOperations workspaceOperations;
    NamingDialog naming;
    NoConflictDialog noConflict;
    std::unique_ptr<DocumentWorkspace> ws;
};

TEST_F(DocumentWorkspaceTest, NewSetupIsStoredAndTheFirstSaveNamesIt) {
    CStateInfo state;
    app.CopyStateInfo(state);
    state.m_setupName = "Setup 11/14/23 22:13:20";
    state.m_modules = {"KXQT7102", "(None)", "(None)"};
    // Saving the dataset lists it, so the header write that follows only
    // refreshes the entry; that must not count as a failure.
    ASSERT_TRUE(doc->CreateNewSetup(state, 0, false));
    app.SetStateInfo(state);
    EXPECT_EQ(doc->GetSetup()->GetSetup(0)->Channel, 101u);
    EXPECT_EQ(doc->GetSetup()->GetSetup(15)->Channel, 116u);
    EXPECT_TRUE(doc->GetDataset()->IsOpen());
    EXPECT_EQ(doc->GetDataset()->GetKey(), state.m_datasetKey);

    ASSERT_TRUE(doc->DoSave({}));
    EXPECT_EQ(naming.titles, std::vector<std::string>{"Save Setup"});
    EXPECT_EQ(app.state.m_setupName, "Bench");
    EXPECT_EQ(doc->IsNeverSaved(), 0);
    EXPECT_GT(fs::file_size(state.m_setupFile), 0u);
    EXPECT_TRUE(ws->Workspace().SetupExists("Bench"));

    doc->CloseDatasetStore();
    const std::string companion = workspace_names::CompanionFileName(state.m_setupFile);
    EXPECT_EQ(Sqlite3(database, "SELECT Name, User, SetupFile, DatasetFile FROM Setup;"),
              "Bench|ann|" + state.m_setupFile + "|" + companion + "\n");
    EXPECT_EQ(Sqlite3(database, "SELECT SetupName, DatasetKey FROM Dataset;"),
              "Bench|" + state.m_datasetKey + "\n");
    CDatasetStore store;
    store.Open(companion, STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    EXPECT_TRUE(store.FindDataset(state.m_datasetKey, nullptr));
}

} // namespace
} // namespace tvane::test
