#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CDynaDatabase.h"
#include "database/CStateInfo.h"
#include "database/CWorkspace.h"
#include "database/IWorkspaceDocument.h"
#include "database/SeedDatabase.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/storage/Storage.h"
#include "scan/CFXSetupArray.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {

// A setup document file as the document writes it: a compound file whose
// "Contents" begin with the file version.
inline void WriteSetupDocument(const std::string& path, std::uint32_t version = 2) {
    constexpr StorageMode kNew = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;
    Storage root = StgCreateDocfile(path, kNew);
    Stream contents = root.CreateStream("Contents", kNew);
    const std::string bytes = std::string(reinterpret_cast<const char*>(&version), 4) + "document";
    contents.Write(bytes.data(), bytes.size());
    contents.Close();
    root.Close();
}

// The document's side of the workspace: its own store, dataset, rows and summary.
class FakeWorkspaceDocument final : public IWorkspaceDocument {
public:
    ~FakeWorkspaceDocument() override {
        CloseDatasetStore();
        rows.RemoveAll();
    }

    CStateInfo& AppState() override { return state; }
    CDatasetStore& Store() override { return store; }
    CDataset& Dataset() override { return dataset; }
    void CloseDatasetStore() override {
        if (dataset.IsOpen())
            dataset.Close();
        store.Close();
    }
    CFXSetupArray& SetupRows() override { return rows; }
    std::int32_t ChannelLimit() const override { return limit; }
    int CountActiveChannels(bool) const override { return active; }
    RunSummary GetRunSummary() const override { return summary; }
    void SetRunSummary(const RunSummary& s) override { summary = s; }
    void SetEventPositions(double first, double second) override {
        firstPosition = first;
        secondPosition = second;
    }

    CStateInfo state;
    CDatasetStore store;
    CDataset dataset;
    CFXSetupArray rows;
    std::int32_t limit = 100;
    int active = 0;
    RunSummary summary;
    double firstPosition = 0.0;
    double secondPosition = 0.0;
};

inline std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    std::size_t n;
    while ((n = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        output.append(buffer, n);
    pclose(pipe);
    return output;
}

// A seeded workspace in the test's data folder, open in the document's state
// record, under a clock that stands still at a fixed local time.
class WorkspaceTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        std::filesystem::create_directories(home.Data());
        database = home.Data() / "tvane.mdb";
        CreateSeedDatabase(database);
        auto db = std::make_shared<CDynaDatabase>();
        ASSERT_TRUE(
            db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"))
            << db->LastError();
        doc.state.m_pDatabase = db;
        doc.state.m_dataDir = home.Data().string();
    }
    void TearDown() override {
        doc.CloseDatasetStore();
        doc.state.m_pDatabase.reset();
    }

    std::string Sql(const std::string& sql) { return Sqlite3(database, sql); }

    // Every element of a compound file, as python3-olefile lists it; empty when
    // olefile is missing.
    std::string OleListing(const std::string& path) {
        const std::string script = "import olefile,sys\n"
                                   "f=olefile.OleFileIO(sys.argv[1])\n"
                                   "for e in sorted(f.listdir(streams=True,storages=True)):\n"
                                   "    print('/'.join(e))\n";
        const std::string scriptPath = (home.Path() / "list.py").string();
        WriteFile(scriptPath, script);
        return RunCommand("/usr/bin/python3 " + scriptPath + " '" + path + "' 2>&1");
    }
    static bool HaveOlefile() {
        return RunCommand("/usr/bin/python3 -c 'import olefile; print(1)' 2>/dev/null") == "1\n";
    }

    // 2026-03-05 14:07:09 local time: day 63 of the year.
    FakeClock clock{FromLocalTime(LocalTime{2026, 3, 5, 14, 7, 9, 0, 0})};
    ScopedService<IClock> clockGuard{SetClock, &clock};
    std::filesystem::path database;
    FakeWorkspaceDocument doc;
    CWorkspace workspace{doc};
};

} // namespace tvane::test
