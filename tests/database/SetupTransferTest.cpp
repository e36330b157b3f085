#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CQMZip.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/CRSSetup.h"
#include "database/ExportIndexReader.h"
#include "database/IExportDocument.h"
#include "database/SetupTransfer.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"
#include "platform/zip/Zip.h"
#include "tests/database/DatasetTestSupport.h"
#include "tests/database/WorkspaceTestSupport.h"
#include "tests/database/ZipImportFuzzBody.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;
using dataset_test::MakeScans;
using dataset_test::SameRecord;

constexpr StorageMode kCreateStorage = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;
constexpr StorageMode kOpenStorage = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

class StoreExportDocument final : public IExportDocument {
public:
    std::string FormatTime(CTime time) override {
        return Format("at %lld", static_cast<long long>(time.GetTime()));
    }
    bool OpenStoredDataset(const std::string& key, const std::string& file,
                           DatasetDirEntry& entry) override {
        if (key.empty() || file.empty())
            return false;
        try {
            CDatasetStore store;
            if (!store.Open(file, kOpenStorage))
                return false;
            const bool found = store.FindDataset(key, &entry);
            store.Close();
            return found;
        } catch (...) {
            return false;
        }
    }
};

struct SetupRow {
    std::string user, note, setupFile, datasetFile;
    std::int64_t time = 0;
};

// Another workspace in its own folder: the importing installation.
struct OtherWorkspace {
    explicit OtherWorkspace(const fs::path& folder) : dir(folder.string()) {
        fs::create_directories(folder);
        database = folder / "tvane.mdb";
        CreateSeedDatabase(database);
        auto db = std::make_shared<CDynaDatabase>();
        EXPECT_TRUE(
            db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"));
        doc.state.m_pDatabase = db;
        doc.state.m_dataDir = dir;
    }
    ~OtherWorkspace() {
        doc.CloseDatasetStore();
        doc.state.m_pDatabase.reset();
    }
    OdbcDatabase* Db() { return doc.state.GetDatabase(); }

    std::string dir;
    fs::path database;
    FakeWorkspaceDocument doc;
    CWorkspace workspace{doc};
};

// A setup "Bench" whose dataset file holds Run (readings), Idle (empty) and
// Spare (readings), each with its row.
class SetupTransferTest : public WorkspaceTest {
protected:
    void SetUp() override {
        WorkspaceTest::SetUp();
        dir = home.Data().string();
        setupFile = dir + "/X6140709.063";
        datasetFile = dir + "/Y6140709.063";
        WriteSetupDocument(setupFile);
        runReadings = MakeScans(30, 3, 1, 500.0, 250.0);
        {
            CDatasetStore store;
            ASSERT_TRUE(store.Create(datasetFile, kCreateStorage, true));
            AddDataset(store, "Z6140700.063", runReadings);
            AddDataset(store, "Z6140701.063", {});
            AddDataset(store, "Z6140702.063", MakeScans(4, 2));
            store.Close();
        }
        Sql("INSERT INTO Setup (Name, DateTime, User, Note, SetupFile, DatasetFile) VALUES "
            "('Bench', '2023-11-14 22:13:20.000', 'ann', 'first' || char(13, 10) || 'second', '" +
            setupFile + "', '" + datasetFile +
            "');"
            "INSERT INTO Dataset (SetupName, Name, DateTime, User, Note, DatasetKey) VALUES "
            "('Bench', 'Run', '2023-11-14 22:15:00.000', 'bob', 'a' || char(13, 10) || 'b', "
            "'Z6140700.063'),"
            "('Bench', 'Idle', '2023-11-14 22:16:00.000', 'cy', '', 'Z6140701.063'),"
            "('Bench', 'Spare', '2023-11-14 22:17:00.000', 'di', '', 'Z6140702.063');");
    }

    static void AddDataset(CDatasetStore& store, const std::string& key,
                           const std::vector<ReadingRecord>& readings) {
        CDataset dataset;
        ASSERT_TRUE(dataset.Create(CTime(1'700'000'000), 3, &store, key, 16384));
        if (!readings.empty()) {
            ASSERT_TRUE(dataset.AppendReadings(readings.data(),
                                               static_cast<std::int16_t>(readings.size())));
            ASSERT_TRUE(dataset.FlushReadings());
        }
        dataset.Close();
    }

    bool Export(const std::string& path, TransferScope scope, const std::string& dataset = {},
                const std::string& setupName = "Bench",
                const std::vector<std::string>& datasets = {"Run", "Idle", "Spare"}) {
        SetupExporter exporter(doc.state.GetDatabase(), dir, exportDoc, prompter);
        SetupExporter::Request request;
        request.path = path;
        request.setupName = setupName;
        request.datasets = datasets;
        request.scope = scope;
        request.datasetName = dataset;
        lastPath = request.path;
        const bool done = exporter.Export(request);
        lastPath = request.path;
        return done;
    }

    static bool FindSetup(OdbcDatabase* db, const std::string& name, SetupRow& row) {
        CRSSetup set(db);
        const bool found = set.OpenGivenSetup(name, RS_READONLY) == RS_ROWS;
        if (found)
            row = {set.m_User, set.m_Note, set.m_SetupFile, set.m_DatasetFile, set.m_DateTime};
        set.Close();
        return found;
    }
    static std::vector<std::string> DatasetRows(OdbcDatabase* db, const std::string& setup) {
        std::vector<std::string> rows;
        CRSDataset set(db);
        if (set.OpenGivenSetup(setup, RS_READONLY) == RS_ROWS) {
            do {
                rows.push_back(set.m_Name + "|" + set.m_User + "|" + set.m_DatasetKey + "|" +
                               std::to_string(set.m_DateTime));
                set.MoveNext();
            } while (!set.IsEOF());
        }
        set.Close();
        return rows;
    }
    static std::vector<std::string> Keys(const std::string& file) {
        CDatasetStore store;
        std::vector<std::string> keys;
        if (!store.Open(file, kOpenStorage))
            return keys;
        std::vector<DatasetDirEntry> entries(static_cast<std::size_t>(store.GetDirCount()));
        store.ReadDirEntries(0, static_cast<int>(entries.size()), entries.data());
        for (const auto& e : entries)
            keys.push_back(e.GetKey());
        store.Close();
        return keys;
    }

    // A copy of the archive from with its members changed by python: m maps
    // member names to bytes, ini is the index as text (written back as
    // "qmexport.ini" unless the script sets index_name).
    void Craft(const std::string& from, const std::string& to, const std::string& script) {
        const std::string path = (home.Path() / "craft.py").string();
        WriteFile(path, "import zipfile,sys\n"
                        "src=zipfile.ZipFile(sys.argv[1])\n"
                        "m={i.filename: src.read(i.filename) for i in src.infolist()}\n"
                        "ini=m.pop('qmexport.ini').decode('latin-1')\n"
                        "index_name='qmexport.ini'\n" +
                            script +
                            "\nz=zipfile.ZipFile(sys.argv[2],'w',zipfile.ZIP_DEFLATED)\n"
                            "z.writestr(index_name, ini.encode('latin-1'))\n"
                            "for k,v in m.items(): z.writestr(k, v)\n"
                            "z.close()\n");
        fs::remove(to);
        const std::string out =
            RunCommand("/usr/bin/python3 " + path + " '" + from + "' '" + to + "' 2>&1");
        ASSERT_TRUE(fs::exists(to)) << out;
    }
    // The names of the data folder's files (the work folder's after a slash).
    static std::vector<std::string> FilesOf(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(folder))
            if (!fs::is_directory(e.symlink_status()))
                names.push_back(fs::relative(e.path(), folder).string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> DatasetNamesOf(OdbcDatabase* db, const std::string& setup) {
        std::vector<std::string> names;
        for (const std::string& r : DatasetRows(db, setup))
            names.push_back(r.substr(0, r.find('|')));
        return names;
    }

    StoreExportDocument exportDoc;
    ScriptedPrompter prompter;
    std::string dir, setupFile, datasetFile, lastPath;
    std::vector<ReadingRecord> runReadings;
};

// Writes the seeds of the import's fuzzing harness again (run with
// --gtest_also_run_disabled_tests).
TEST_F(SetupTransferTest, DISABLED_WriteZipImportFuzzSeeds) {
    const fs::path corpus = fs::path(TVANE_TEST_DATA) / "fuzz-zipimport";
    const struct {
        const char* name;
        TransferScope scope;
        const char* dataset;
    } seeds[] = {{"all-datasets.qmx", TransferScope::AllDatasets, ""},
                 {"one-dataset.qmx", TransferScope::OneDataset, "Idle"},
                 {"setup-only.qmx", TransferScope::NoDatasets, ""}};
    for (const auto& seed : seeds) {
        const std::string archive = home.Path().string() + "/" + seed.name;
        ASSERT_TRUE(Export(archive, seed.scope, seed.dataset));
        fs::copy_file(archive, corpus / seed.name, fs::copy_options::overwrite_existing);
        // The same members in the harness's own form.
        zip::ZipReader reader;
        ASSERT_EQ(reader.Open(archive), zip::ZipStatus::Ok);
        const fs::path members = home.Path() / "members";
        std::string text = "M";
        for (int i = 0; i < reader.Count(); ++i) {
            ASSERT_EQ(reader.Extract(i, members), zip::ZipStatus::Ok);
            const std::string name = zip::MemberBaseName(reader.Name(i));
            text += (i ? kMemberMark : "") + name + "\n" + ReadFile(members / name);
        }
        WriteFile(corpus / (std::string("members-") + seed.name), text);
        fs::remove_all(members);
    }
}

TEST_F(SetupTransferTest, OneDatasetTravelsToAnotherWorkspaceAndReadsBackEqual) {
    const std::string archive = home.Path().string() + "/bench.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::OneDataset, "Run"));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Export Successful"});
    EXPECT_EQ(prompter.asked.back().icon, MsgIcon::Information);
    EXPECT_FALSE(fs::exists(dir + "/qmexport.ini"));
    EXPECT_TRUE(fs::exists(setupFile) && fs::exists(datasetFile)) << "the live files stay";
    EXPECT_EQ(Keys(datasetFile).size(), 3u);

    OtherWorkspace other(home.Path() / "other");
    prompter.asked.clear();
    SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
    EXPECT_TRUE(importer.HasIndex(archive));
    ASSERT_TRUE(importer.ExtractIndex(archive));
    const ExportIndexReader index(importer.IndexPath());
    EXPECT_EQ(index.SetupName(), "Bench");
    EXPECT_EQ(index.DatasetNames(), std::vector<std::string>{"Run"});
    EXPECT_EQ(index.ReadDataset("Bench", "Run").scans, "30");

    ASSERT_TRUE(importer.Import(archive, TransferScope::AllDatasets)) << prompter.Texts().back();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Import successful"});
    EXPECT_EQ(prompter.asked.back().helpId, 0u);
    EXPECT_EQ(importer.ImportedName(), "Bench");

    SetupRow row;
    ASSERT_TRUE(FindSetup(other.Db(), "Bench", row));
    EXPECT_EQ(row.user, "Imported");
    EXPECT_EQ(row.note, "first\r\nsecond");
    EXPECT_EQ(row.time, 1700000000);
    // The clock stands at 2026-03-05 14:07:09, day 63.
    EXPECT_EQ(row.setupFile, other.dir + "/X6140709.063");
    EXPECT_EQ(row.datasetFile, other.dir + "/Y6140709.063");
    EXPECT_EQ(ReadFile(row.setupFile), ReadFile(setupFile));
    EXPECT_EQ(DatasetRows(other.Db(), "Bench"),
              std::vector<std::string>{"Run|Imported|Z6140700.063|1700000100"});
    EXPECT_EQ(Keys(row.datasetFile), std::vector<std::string>{"Z6140700.063"})
        << "only the chosen dataset was exported";
    EXPECT_FALSE(fs::exists(other.dir + "/temp/X6140709.063"));

    CDatasetStore store;
    ASSERT_TRUE(store.Open(row.datasetFile, kOpenStorage));
    CDataset dataset;
    ASSERT_TRUE(dataset.Open(&store, "Z6140700.063"));
    ASSERT_EQ(dataset.GetReadingCount(), static_cast<std::int32_t>(runReadings.size()));
    std::vector<ReadingRecord> back(runReadings.size());
    ASSERT_EQ(dataset.ReadReadings(back.data(), static_cast<std::int16_t>(back.size()), 0),
              static_cast<std::int32_t>(runReadings.size()));
    for (std::size_t i = 0; i < back.size(); ++i)
        EXPECT_TRUE(SameRecord(back[i], runReadings[i])) << i;
    dataset.Close();
    store.Close();
}

TEST_F(SetupTransferTest, TheChosenDatasetsBecomeRowsAndASecondImportGetsAFreeName) {
    const std::string archive = home.Path().string() + "/all.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::AllDatasets));
    const std::string bare = home.Path().string() + "/bare.qmx";
    ASSERT_TRUE(Export(bare, TransferScope::NoDatasets));

    struct Case {
        const char* archive;
        TransferScope scope;
        int position;
        std::vector<std::string> datasets;
    };
    const std::vector<Case> cases = {
        {"all", TransferScope::AllDatasets, 0, {"Run", "Idle", "Spare"}},
        {"all", TransferScope::NoDatasets, 0, {}},
        {"all", TransferScope::OneDataset, 2, {"Spare"}},
        {"all", TransferScope::OneDataset, 3, {}},
        {"bare", TransferScope::AllDatasets, 0, {}},
    };
    OtherWorkspace other(home.Path() / "other");
    std::vector<std::string> names, files;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.archive) + " " + std::to_string(static_cast<int>(c.scope)));
        prompter.asked.clear();
        SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
        ASSERT_TRUE(
            importer.Import(home.Path().string() + "/" + c.archive + ".qmx", c.scope, c.position));
        const std::string name = importer.ImportedName();
        std::vector<std::string> datasets;
        for (const std::string& r : DatasetRows(other.Db(), name))
            datasets.push_back(r.substr(0, r.find('|')));
        EXPECT_EQ(datasets, c.datasets);
        SetupRow row;
        ASSERT_TRUE(FindSetup(other.Db(), name, row));
        EXPECT_TRUE(fs::exists(row.setupFile));
        // Even an export without datasets leaves the setup a dataset file.
        if (std::string(c.archive) == "bare")
            EXPECT_TRUE(Keys(row.datasetFile).empty());
        else
            EXPECT_EQ(Keys(row.datasetFile).size(), 3u);
        names.push_back(name);
        files.push_back(row.setupFile);
        files.push_back(row.datasetFile);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Bench", "Bench.1", "Bench.2", "Bench.3", "Bench.4"}));
    EXPECT_EQ(prompter.Texts().front(), "Setup already exists.\nRenaming (Bench) to (Bench.4)");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(std::unique(files.begin(), files.end()), files.end())
        << "each import has storage files of its own";
}

TEST_F(SetupTransferTest, TheExportPathIsCheckedAndAnExistingFileReplacedOnlyWhenAgreed) {
    const std::string base = home.Path().string();
    EXPECT_FALSE(Export("", TransferScope::AllDatasets));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"You must supply an export file name."});

    // Without an extension the name gets a trailing point; a point in a folder
    // name is no extension.
    fs::create_directories(base + "/v1.2");
    prompter.asked.clear();
    ASSERT_TRUE(Export(base + "/v1.2/bench", TransferScope::NoDatasets));
    EXPECT_EQ(lastPath, base + "/v1.2/bench.");
    EXPECT_TRUE(fs::exists(base + "/v1.2/bench."));

    const std::string target = base + "/old.qmx";
    WriteFile(target, "keep me");
    prompter.asked.clear();
    prompter.Script({MsgAnswer::Cancel});
    EXPECT_FALSE(Export(target, TransferScope::AllDatasets));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Export file exists, overwrite it?"});
    EXPECT_EQ(prompter.asked[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(ReadFile(target), "keep me");

    prompter.asked.clear();
    prompter.Script({MsgAnswer::Ok});
    ASSERT_TRUE(Export(target, TransferScope::AllDatasets));
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"Export file exists, overwrite it?", "Export Successful"}));
    CQMZip zip(&prompter);
    int count = 0;
    ASSERT_TRUE(zip.GetEntryCount(target, count));
    EXPECT_EQ(count, 3);

    // Refused before any question: a read-only file, a folder.
    fs::permissions(target,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    prompter.asked.clear();
    EXPECT_FALSE(Export(target, TransferScope::AllDatasets));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Unable to export data.\nFile " + target +
                                                         " is read only."});
    prompter.asked.clear();
    EXPECT_FALSE(Export(base + "/v1.2", TransferScope::AllDatasets));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Invalid filename"});

    // A file that cannot be made raises the file exception.
    EXPECT_THROW(Export(base + "/missing/folder/x.qmx", TransferScope::AllDatasets), FileException);

    // A setup without a row gives no archive.
    SetupExporter exporter(doc.state.GetDatabase(), dir, exportDoc, prompter);
    SetupExporter::Request request;
    request.path = base + "/lost.qmx";
    request.setupName = "Lost";
    prompter.asked.clear();
    EXPECT_FALSE(exporter.Export(request));
    EXPECT_FALSE(fs::exists(request.path));
    EXPECT_FALSE(fs::exists(dir + "/qmexport.ini"));
}

TEST_F(SetupTransferTest, DamagedOrHostileArchivesAreRefusedWithoutRowsOrStrayFiles) {
    OtherWorkspace other(home.Path() / "other" / "data");
    const std::string base = home.Path().string();
    const auto setupCount = [&] { return Sqlite3(other.database, "SELECT count(*) FROM Setup;"); };
    const std::string before = setupCount();

    struct Case {
        const char* name;
        std::string content; // python that writes the archive to sys.argv[1]; empty: none
        std::string message;
    };
    const std::string zipHead = "import zipfile,sys\nz=zipfile.ZipFile(sys.argv[1],'w')\n";
    const std::vector<Case> cases = {
        {"missing", "", "Export file does not exist."},
        {"garbage", "import sys\nopen(sys.argv[1],'wb').write(b'PK\\x03\\x04 not really a zip')\n",
         "Error unpacking import header"},
        {"noindex", zipHead + "z.writestr('X1','x')\n", "Error unpacking import header"},
        {"nosetup", zipHead + "z.writestr('qmexport.ini','[DATASETS]\\r\\nCount=0\\r\\n')\n",
         "Error in reading export file, no setups found."},
        {"nosetupfile",
         zipHead + "z.writestr('qmexport.ini','[DATASETS]\\r\\nSetup=Evil\\r\\n[Evil]\\r\\n')\n",
         "Error: Invalid setup of dataset file."},
        {"lostmember",
         zipHead + "z.writestr('qmexport.ini','[DATASETS]\\r\\nSetup=Evil\\r\\n[Evil]\\r\\n"
                   "SetupFile=../../X9\\r\\nDatasetFile=../../Y9\\r\\n')\n",
         "Error unpacking setup archive file 1."},
        {"lostdatasets",
         zipHead + "z.writestr('qmexport.ini','[DATASETS]\\r\\nSetup=Evil\\r\\n[Evil]\\r\\n"
                   "SetupFile=../../X9\\r\\nDatasetFile=../../Y9\\r\\n')\n"
                   "z.writestr('../../X9','setup')\n",
         "Error unpacking setup archive file 2."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string archive = base + "/" + c.name + ".qmx";
        if (!c.content.empty()) {
            WriteFile(base + "/make.py", c.content);
            RunCommand("/usr/bin/python3 " + base + "/make.py '" + archive + "'");
            ASSERT_TRUE(fs::exists(archive));
        }
        prompter.asked.clear();
        SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
        EXPECT_FALSE(importer.Import(archive, TransferScope::AllDatasets));
        ASSERT_FALSE(prompter.Texts().empty());
        EXPECT_EQ(prompter.Texts().back(), c.message);
        EXPECT_EQ(setupCount(), before);
        EXPECT_FALSE(fs::exists(home.Path() / "X9"));
        EXPECT_FALSE(fs::exists(home.Path() / "other" / "X9"));
        EXPECT_FALSE(fs::exists(other.dir + "/X6140709.063"));
    }
    // The index of the last case stayed while the importer lived, and went with it.
    EXPECT_FALSE(fs::exists(other.dir + "/qmexport.ini"));
}

TEST_F(SetupTransferTest, NamesWithBracketsTravelWithTheirKeysAndDates) {
    Sql("UPDATE Setup SET Name = 'Line [A]' WHERE Name = 'Bench';"
        "UPDATE Dataset SET SetupName = 'Line [A]';"
        "UPDATE Dataset SET Name = 'Run [2]' WHERE Name = 'Run';");
    const std::string archive = home.Path().string() + "/brackets.qmx";
    ASSERT_TRUE(
        Export(archive, TransferScope::AllDatasets, {}, "Line [A]", {"Run [2]", "Idle", "Spare"}))
        << prompter.Texts().back();

    OtherWorkspace other(home.Path() / "other");
    SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
    ASSERT_TRUE(importer.Import(archive, TransferScope::AllDatasets));
    EXPECT_EQ(importer.ImportedName(), "Line [A]");
    EXPECT_EQ(DatasetRows(other.Db(), "Line [A]"),
              (std::vector<std::string>{"Run [2]|Imported|Z6140700.063|1700000100",
                                        "Idle|Imported|Z6140701.063|1700000160",
                                        "Spare|Imported|Z6140702.063|1700000220"}));
}

TEST_F(SetupTransferTest, AnExportWhoseNamesWouldNotReadBackIsRefusedWithoutAFile) {
    struct Case {
        const char* sql;
        std::vector<std::string> datasets;
        std::string shown;
    };
    const std::vector<Case> cases = {
        // The index trims values: " Run" would come back as "Run".
        {"UPDATE Dataset SET Name = ' Run' WHERE Name = 'Run';", {" Run", "Idle"}, " Run"},
        {"UPDATE Dataset SET Name = 'Run' || char(10) || '[Path]' WHERE Name = 'Run';",
         {"Run\n[Path]", "Idle"},
         "Run?[Path]"},
        {"UPDATE Dataset SET Name = '\"Q\"' WHERE Name = 'Run';", {"\"Q\"", "Idle"}, "\"Q\""},
        // Sections compare without case: the second would overwrite the first.
        {"UPDATE Dataset SET Name = 'idle' WHERE Name = 'Spare';", {"Idle", "idle"}, "Idle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        Sql("UPDATE Dataset SET Name = 'Run' WHERE DatasetKey = 'Z6140700.063';"
            "UPDATE Dataset SET Name = 'Spare' WHERE DatasetKey = 'Z6140702.063';");
        Sql(c.sql);
        const std::string archive = home.Path().string() + "/refused.qmx";
        prompter.asked.clear();
        EXPECT_FALSE(Export(archive, TransferScope::AllDatasets, {}, "Bench", c.datasets));
        EXPECT_EQ(prompter.Texts(),
                  std::vector<std::string>{"Unable to export data.\nThe name (" + c.shown +
                                           ") cannot be stored in an export file."});
        EXPECT_FALSE(fs::exists(archive));
        EXPECT_FALSE(fs::exists(dir + "/qmexport.ini"));
    }
}

TEST_F(SetupTransferTest, DatasetsWithoutReadableDataAreSkippedWithAMessage) {
    const std::string archive = home.Path().string() + "/all.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::AllDatasets));
    const std::string crafted = home.Path().string() + "/keys.qmx";
    // Run loses its key, Idle's names no storage of the file, Spare's is
    // empty; a fourth with a leading blank has no section of its own and one
    // named with a control character is refused whatever its data.
    Craft(archive, crafted,
          "ini=ini.replace('DatasetKey=Z6140700.063\\n','')\n"
          "ini=ini.replace('DatasetKey=Z6140701.063','DatasetKey=Z6149999.063')\n"
          "ini=ini.replace('DatasetKey=Z6140702.063','DatasetKey=')\n"
          "ini=ini.replace('Count=3','Count=6\\n3= Run\\n4=Ctl\\x01\\n5=Spare')\n"
          "ini+='[Bench-Ctl\\x01]\\nDatasetKey=Z6140700.063\\n'\n"
          "ini+='[Bench-Spare]\\nDatasetKey=Z6140702.063\\n'\n");
    OtherWorkspace other(home.Path() / "other");
    prompter.asked.clear();
    SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
    ASSERT_TRUE(importer.Import(crafted, TransferScope::AllDatasets));
    const auto skipped = [](const std::string& name) {
        return "Dataset (" + name +
               ") was not imported: the export file holds no readable data "
               "for it.";
    };
    // The second Spare reads the first section of its name, which has no key.
    EXPECT_EQ(
        prompter.Texts(),
        (std::vector<std::string>{skipped("Run"), skipped("Idle"), skipped("Spare"), skipped("Run"),
                                  skipped("Ctl?"), skipped("Spare"), "Import successful"}));
    EXPECT_TRUE(DatasetRows(other.Db(), "Bench").empty());

    // A dataset whose key the file holds still comes in.
    Craft(archive, crafted, "ini=ini.replace('DatasetKey=Z6140700.063\\n','')\n");
    prompter.asked.clear();
    SetupImporter again(other.workspace, other.Db(), other.dir, prompter);
    ASSERT_TRUE(again.Import(crafted, TransferScope::AllDatasets));
    EXPECT_EQ(DatasetNamesOf(other.Db(), again.ImportedName()),
              (std::vector<std::string>{"Idle", "Spare"}));
}

TEST_F(SetupTransferTest, RefusedImportsLeaveNoRowAndNoFileBehind) {
    const std::string archive = home.Path().string() + "/all.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::AllDatasets));
    OtherWorkspace other(home.Path() / "other");
    const std::vector<std::string> before = FilesOf(other.dir);
    const std::string crafted = home.Path().string() + "/bad.qmx";
    struct Case {
        const char* name;
        std::string script;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"garbage setup", "m['X6140709.063']=b'not a setup document'\n",
         "Error: Invalid setup of dataset file."},
        {"cut-off dataset file", "y=m['Y6140709.063']\nm['Y6140709.063']=y[:len(y)//2]\n",
         "Error: Invalid setup of dataset file."},
        {"garbage dataset file", "m['Y6140709.063']=b'\\xd0\\xcf\\x11\\xe0' + b'x'*600\n",
         "Error: Invalid setup of dataset file."},
        {"compressed far beyond any real file", "m['Y6140709.063']=bytes(8<<20)\n",
         "Y6140709.063 is too large to be imported; it was not extracted."},
        {"setup name with a control character", "ini=ini.replace('Bench','Be\\tnch')\n",
         "Error - Invalid setup name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Craft(archive, crafted, c.script);
        prompter.asked.clear();
        SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
        EXPECT_FALSE(importer.Import(crafted, TransferScope::AllDatasets));
        ASSERT_FALSE(prompter.Texts().empty());
        EXPECT_EQ(prompter.Texts().front(), c.message);
        EXPECT_EQ(Sqlite3(other.database, "SELECT count(*) FROM Setup;"), "0\n");
        EXPECT_EQ(Sqlite3(other.database, "SELECT count(*) FROM Dataset;"), "0\n");
        std::vector<std::string> after = FilesOf(other.dir);
        std::erase(after, std::string("qmexport.ini")); // the open dialog's index
        EXPECT_EQ(after, before);
    }
}

TEST_F(SetupTransferTest, MembersAreExtractedUnderTheImportersOwnNames) {
    const std::string archive = home.Path().string() + "/all.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::AllDatasets));
    OtherWorkspace other(home.Path() / "other");
    const std::string crafted = home.Path().string() + "/names.qmx";
    // The index in capitals, the setup file named in lower case and with a
    // drive, the dataset file's member in lower case.
    Craft(archive, crafted,
          "index_name='QMEXPORT.INI'\n"
          "import re\n"
          "ini=re.sub('SetupFile=.*','SetupFile=C:x6140709.063',ini)\n"
          "m['y6140709.063']=m.pop('Y6140709.063')\n");
    // Whatever an earlier run left in the work folder is never taken: a
    // stale file under the member's name and a link under the new name.
    const std::string work = other.dir + "/temp";
    fs::create_directories(work);
    WriteFile(work + "/x6140709.063", "stale");
    WriteFile(home.Path() / "elsewhere", "outside");
    fs::create_symlink(home.Path() / "elsewhere", work + "/X6140709.063");

    SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
    ASSERT_TRUE(importer.Import(crafted, TransferScope::AllDatasets)) << prompter.Texts().back();
    SetupRow row;
    ASSERT_TRUE(FindSetup(other.Db(), "Bench", row));
    EXPECT_EQ(ReadFile(row.setupFile), ReadFile(setupFile));
    EXPECT_EQ(Keys(row.datasetFile).size(), 3u);
    EXPECT_EQ(DatasetNamesOf(other.Db(), "Bench"),
              (std::vector<std::string>{"Run", "Idle", "Spare"}));
    EXPECT_EQ(ReadFile(home.Path() / "elsewhere"), "outside");
    EXPECT_TRUE(fs::is_empty(work));
    EXPECT_FALSE(fs::exists(other.dir + "/QMEXPORT.INI"));
}

TEST_F(SetupTransferTest, AHugeCountOrIndexNeitherHangsNorExhausts) {
    const std::string archive = home.Path().string() + "/all.qmx";
    ASSERT_TRUE(Export(archive, TransferScope::AllDatasets));
    OtherWorkspace other(home.Path() / "other");
    const std::string crafted = home.Path().string() + "/count.qmx";
    Craft(archive, crafted, "ini=ini.replace('Count=3','Count=2147483647')\n");
    SetupImporter importer(other.workspace, other.Db(), other.dir, prompter);
    ASSERT_TRUE(importer.Import(crafted, TransferScope::AllDatasets));
    EXPECT_EQ(DatasetNamesOf(other.Db(), "Bench"),
              (std::vector<std::string>{"Run", "Idle", "Spare"}));
    ASSERT_TRUE(importer.Import(crafted, TransferScope::OneDataset, 2000000000));
    EXPECT_TRUE(DatasetNamesOf(other.Db(), importer.ImportedName()).empty());

    // An index far beyond any setup's (random text, so that it does not
    // compress beyond the archive's limits) is refused before it is read.
    Craft(archive, crafted,
          "import random\nrandom.seed(1)\n"
          "ini+=''.join(random.choices('abcdefgh=\\n', k=5<<20))\n");
    prompter.asked.clear();
    SetupImporter big(other.workspace, other.Db(), other.dir, prompter);
    EXPECT_FALSE(big.Import(crafted, TransferScope::AllDatasets));
    EXPECT_EQ(
        prompter.Texts(),
        (std::vector<std::string>{"qmexport.ini is too large to be imported; it was not extracted.",
                                  "Error unpacking import header"}));
    EXPECT_FALSE(fs::exists(big.IndexPath()));
}

} // namespace
} // namespace tvane::test
