#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "database/CDatasetStore.h"
#include "database/CQMZip.h"
#include "database/ExportIndex.h"
#include "database/ExportIndexReader.h"
#include "database/ExportIndexWriter.h"
#include "database/IExportDocument.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/database/WorkspaceTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

constexpr StorageMode kCreate = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;
constexpr StorageMode kOpen = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;

class FakeExportDocument final : public IExportDocument {
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
            store.Open(file, kOpen);
            const bool found = store.FindDataset(key, &entry);
            store.Close();
            return found;
        } catch (...) {
            return false;
        }
    }
};

// A setup "Bench" with the datasets Run, Ghost (whose storage is gone) and Idle.
class SetupExportTest : public WorkspaceTest {
protected:
    void SetUp() override {
        WorkspaceTest::SetUp();
        dir = home.Data().string();
        setupFile = dir + "/X6140709.063";
        datasetFile = dir + "/Y6140709.063";
        indexPath = dir + "/qmexport.ini";
        WriteFile(setupFile, std::string("setup\0document", 14));
        CDatasetStore store;
        store.Create(datasetFile, kCreate, true);
        AddEntry(store, "Z1", 12, 3, 1000.0, 90061001.0);
        AddEntry(store, "Z2", 0, 0, 0.0, 0.0);
        store.Close();

        Sql("INSERT INTO Setup (Name, DateTime, User, Note, SetupFile, DatasetFile) VALUES "
            "('Bench', '2023-11-14 22:13:20.000', 'ann', 'first line' || char(13, 10) || "
            "'second line', '" +
            setupFile + "', '" + datasetFile +
            "');"
            "INSERT INTO Dataset (SetupName, Name, DateTime, User, Note, DatasetKey) VALUES "
            "('Bench', 'Run', '2023-11-14 22:15:00.000', 'bob', 'a' || char(13, 10) || 'b', "
            "'Z1'),"
            "('Bench', 'Ghost', '2023-11-14 22:16:00.000', 'cy', '', 'Z9'),"
            "('Bench', 'Idle', '1970-01-01 00:00:00.000', '', 'quiet', 'Z2');");
    }
    static void AddEntry(CDatasetStore& store, const char* key, int scans, int events, double first,
                         double last) {
        DatasetDirEntry entry;
        entry.SetKey(key);
        entry.ScanCount = scans;
        entry.EventCount = events;
        entry.FirstTime = first;
        entry.LastTime = last;
        ASSERT_TRUE(store.AddDirEntry(entry));
    }
    ExportIndexWriter Writer() {
        return ExportIndexWriter(indexPath, doc.state.GetDatabase(), exportDoc);
    }
    // The archive's members as Python's zipfile lists them, with their sizes.
    std::string PythonListing(const std::string& archive) {
        return RunCommand(
            "/usr/bin/python3 -c \"import zipfile,sys; z=zipfile.ZipFile(sys.argv[1]); "
            "print(z.testzip()); [print(i.filename, i.file_size) for i in "
            "z.infolist()]\" '" +
            archive + "' 2>&1");
    }

    FakeExportDocument exportDoc;
    ScriptedPrompter prompter;
    CQMZip zip{&prompter};
    std::string dir, setupFile, datasetFile, indexPath;
};

TEST(ExportIndexTest, NotesTravelOnOneLineAndNumbersReadLikeAtol) {
    const std::string note = "one\r\ntwo\nthree\r";
    const std::string line = export_index::EncodeNote(note);
    EXPECT_EQ(line, "one\x1e\x1ftwo\x1fthree\x1e");
    EXPECT_EQ(export_index::DecodeNote(line), note);
    EXPECT_EQ(export_index::DecodeNote("tab\tstays"), "tab\tstays");
    EXPECT_EQ(export_index::DatasetSection("Bench", "Run"), "Bench-Run");

    const std::pair<const char*, std::int64_t> numbers[] = {
        {"1700000000", 1700000000},
        {"  -42x", -42},
        {"+7", 7},
        {"", 0},
        {"abc", 0},
        {"99999999999999999999999", INT64_MAX},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(export_index::ParseLong(text), value) << text;
}

TEST_F(SetupExportTest, ExportedSetupWithDatasetsReadsBackThroughAnIndependentReader) {
    std::string items = "stale";
    ASSERT_TRUE(Writer().Write("Bench", {"Run", "Ghost", "Idle"}, false, items));
    EXPECT_EQ(items, "\"" + indexPath + "\" \"" + setupFile + "\" \"" + datasetFile + "\" ");

    // The whole index, in the order of its sections and keys.
    const std::string expected = "[DATASETS]\n0=Run\n1=Ghost\n2=Idle\nCount=3\nSetup=Bench\n"
                                 "[Bench]\nDateTime=at 1700000000\nDateTimeEx=1700000000\n"
                                 "User=ann\nNote=first line\x1e\x1fsecond line\n"
                                 "SetupFile=" +
                                 setupFile + "\nDatasetFile=" + datasetFile +
                                 "\n"
                                 "[Bench-Run]\nSetupName=Bench\nDateTime=at 1700000100\n"
                                 "DateTimeEx=1700000100\nUser=bob\nNote=a\x1e\x1f"
                                 "b\n"
                                 "DatasetKey=Z1\nScans=12\nEvents=3\n"
                                 "Duration=1 days 01:01:00.001\n"
                                 "[Bench-Ghost]\nSetupName=Bench\nDateTime=at 1700000160\n"
                                 "DateTimeEx=1700000160\nUser=cy\nNote=\nDatasetKey=Z9\n"
                                 "Scans=12\nEvents=3\nDuration=1 days 01:01:00.001\n"
                                 "[Bench-Idle]\nSetupName=Bench\nDateTime=at 0\nDateTimeEx=0\n"
                                 "User=\nNote=quiet\nDatasetKey=Z2\nScans=0\nEvents=0\n"
                                 "Duration=00:00:00.000\n";
    std::string index = ReadFile(indexPath);
    std::erase(index, '\r');
    std::string compact; // blank separator lines are the profile writer's own
    for (std::size_t at = 0; at < index.size();) {
        std::size_t end = index.find('\n', at);
        if (end == std::string::npos)
            end = index.size();
        if (end > at)
            compact += index.substr(at, end - at) + "\n";
        at = end + 1;
    }
    EXPECT_EQ(compact, expected);

    const std::string archive = dir + "/bench.qmx";
    ASSERT_TRUE(zip.ZipFiles(archive, items, CQMZip::kKeepFiles));
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_TRUE(fs::exists(setupFile) && fs::exists(datasetFile)) << "live files stay";
    EXPECT_EQ(PythonListing(archive), "None\nqmexport.ini " +
                                          std::to_string(fs::file_size(indexPath)) +
                                          "\nX6140709.063 14\nY6140709.063 " +
                                          std::to_string(fs::file_size(datasetFile)) + "\n");

    // The importing side: the index first, then the files its full paths name.
    const fs::path importDir = home.Path() / "elsewhere";
    std::string target = importDir.string();
    ASSERT_TRUE(zip.UnzipFile(archive, target, export_index::kIndexFileName));
    const ExportIndexReader reader((importDir / export_index::kIndexFileName).string());
    ASSERT_EQ(reader.SetupName(), "Bench");
    EXPECT_EQ(reader.DatasetCount(), 3);
    EXPECT_EQ(reader.DatasetNames(), (std::vector<std::string>{"Run", "Ghost", "Idle"}));

    const ExportedSetup setup = reader.ReadSetup("Bench");
    EXPECT_EQ(setup.time, 1700000000);
    EXPECT_EQ(setup.dateTime, "at 1700000000");
    EXPECT_EQ(setup.user, "ann");
    EXPECT_EQ(setup.note, "first line\r\nsecond line");
    EXPECT_EQ(setup.setupFile, setupFile);
    EXPECT_EQ(setup.datasetFile, datasetFile);

    const ExportedDataset run = reader.ReadDataset("Bench", "Run");
    EXPECT_EQ(run.setupName, "Bench");
    EXPECT_EQ(run.time, 1700000100);
    EXPECT_EQ(run.user, "bob");
    EXPECT_EQ(run.note, "a\r\nb");
    EXPECT_EQ(run.datasetKey, "Z1");
    EXPECT_EQ(run.scans, "12");
    EXPECT_EQ(run.events, "3");
    EXPECT_EQ(run.duration, "1 days 01:01:00.001");
    const ExportedDataset missing = reader.ReadDataset("Bench", "Nope");
    EXPECT_EQ(missing.datasetKey, "");
    EXPECT_EQ(missing.time, 0);

    ASSERT_TRUE(zip.UnzipFile(archive, target, setup.setupFile));
    ASSERT_TRUE(zip.UnzipFile(archive, target, setup.datasetFile));
    EXPECT_EQ(ReadFile(importDir / "X6140709.063"), ReadFile(setupFile));
    EXPECT_EQ(ReadFile(importDir / "Y6140709.063"), ReadFile(datasetFile));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(SetupExportTest, SetupExportedWithoutDatasetsHasNoCountAndTwoMembers) {
    std::string items;
    // Names passed with the datasets excluded are not listed.
    ASSERT_TRUE(Writer().Write("Bench", {"Run"}, true, items));
    EXPECT_EQ(items, "\"" + indexPath + "\" \"" + setupFile + "\" ");
    EXPECT_EQ(GetPrivateProfileKeys("DATASETS", indexPath), std::vector<std::string>{"Setup"});
    EXPECT_EQ(GetPrivateProfileSectionNames(indexPath),
              (std::vector<std::string>{"DATASETS", "Bench"}));
    const ExportIndexReader reader(indexPath);
    EXPECT_EQ(reader.DatasetCount(), 0);
    EXPECT_TRUE(reader.DatasetNames().empty());
    EXPECT_EQ(reader.ReadSetup("Bench").datasetFile, "");
    EXPECT_EQ(reader.Value("Bench", "DatasetFile"), "");

    const std::string archive = dir + "/bench.qmx";
    ASSERT_TRUE(zip.ZipFiles(archive, items, CQMZip::kKeepFiles));
    int count = 0;
    ASSERT_TRUE(zip.GetEntryCount(archive, count));
    EXPECT_EQ(count, 2);

    // With the datasets included but none there, Count says 0.
    ASSERT_TRUE(Writer().Write("Bench", {}, false, items));
    EXPECT_EQ(GetPrivateProfileKeys("DATASETS", indexPath),
              (std::vector<std::string>{"Count", "Setup"}));
    EXPECT_EQ(GetPrivateProfileString("DATASETS", "Count", "", indexPath), "0");
}

TEST_F(SetupExportTest, RowsThatAreMissingAreReportedNotWrittenAsIfThere) {
    std::string items;
    EXPECT_FALSE(Writer().Write("Lost", {"Run"}, false, items));
    EXPECT_EQ(items, "");
    EXPECT_EQ(GetPrivateProfileSectionNames(indexPath), std::vector<std::string>{"DATASETS"});

    // A dataset without a row gets no section; the others are written.
    EXPECT_FALSE(Writer().Write("Bench", {"Run", "Gone", "Idle"}, false, items));
    EXPECT_EQ(GetPrivateProfileSectionNames(indexPath),
              (std::vector<std::string>{"DATASETS", "Bench", "Bench-Run", "Bench-Idle"}));
    EXPECT_FALSE(fs::exists(dir + "/bench.qmx"));
}

TEST_F(SetupExportTest, LongNamesReadBackWhole) {
    const std::string setupName(60, 's'), datasetName(70, 'd');
    Sql("INSERT INTO Setup (Name, DateTime, User, Note, SetupFile, DatasetFile) VALUES ('" +
        setupName + "', '2023-11-14 22:13:20.000', '', '', '" + setupFile + "', '" + datasetFile +
        "');"
        "INSERT INTO Dataset (SetupName, Name, DateTime, User, Note, DatasetKey) VALUES ('" +
        setupName + "', '" + datasetName + "', '2023-11-14 22:13:20.000', '', '', 'Z2');");
    std::string items;
    ASSERT_TRUE(Writer().Write(setupName, {datasetName}, false, items));
    const ExportIndexReader reader(indexPath);
    ASSERT_EQ(reader.SetupName(), setupName);
    ASSERT_EQ(reader.DatasetNames(), std::vector<std::string>{datasetName});
    EXPECT_EQ(reader.ReadSetup(reader.SetupName()).setupFile, setupFile);
    EXPECT_EQ(reader.ReadDataset(setupName, datasetName).datasetKey, "Z2");
}

} // namespace
} // namespace tvane::test
