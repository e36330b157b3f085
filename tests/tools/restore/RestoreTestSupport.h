#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/DataSource.h"
#include "database/SeedDatabase.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {

// A seeded workspace registered as the data source "Tvane32", and a clock that
// stands still at 2026-03-05 14:07:09 local time.
class RestoreTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        database = home.Data() / "tvane.mdb";
        CreateSeedDatabase(database);
        ASSERT_TRUE(RegisterDataSource()) << OdbcInstaller().LastError();
    }

    // A dataset storage file in the data folder with one dataset per key.
    std::string MakeDatasetFile(const std::string& name, const std::vector<std::string>& keys,
                                const std::filesystem::path& folder = {}) {
        const std::filesystem::path path = (folder.empty() ? home.Data() : folder) / name;
        CDatasetStore store;
        store.Create(path.string(), STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE, true);
        for (const std::string& key : keys) {
            CDataset dataset;
            dataset.Create(CTime(clock.Now()), 2, &store, key, 4096);
            dataset.Close();
        }
        store.Close();
        return path.string();
    }

    std::string Sql(const std::string& sql) { return Sqlite3(database, sql); }

    FakeClock clock{FromLocalTime(LocalTime{2026, 3, 5, 14, 7, 9, 0, 0})};
    ScopedService<IClock> clockGuard{SetClock, &clock};
    ScriptedPrompter prompter;
    std::filesystem::path database;
};

} // namespace tvane::test
