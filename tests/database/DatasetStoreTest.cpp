#include <sys/wait.h>
#include <unistd.h>

#include "database/DatasetDirEnum.h"
#include "platform/core/FrameworkExceptions.h"
#include "tests/database/DatasetTestSupport.h"

using namespace dataset_test;
using tvane::FileException;
using tvane::StorageException;

namespace {

class DatasetStoreTest : public DatasetFileTest {};

// Runs fn and expects a FileException of cause naming name.
template <typename Fn> void ExpectFileException(Fn fn, int cause, const std::string& name) {
    try {
        fn();
        ADD_FAILURE() << "no exception";
    } catch (const FileException& e) {
        EXPECT_EQ(e.Cause(), cause);
        EXPECT_EQ(e.FileName(), name);
    }
}

TEST_F(DatasetStoreTest, CreateKeepsTheFileOpenAndReportsItsPath) {
    EXPECT_TRUE(store.IsOpen());
    EXPECT_EQ(store.GetPath(), path);
    EXPECT_EQ(store.GetDirCount(), 0);
    store.Close();
    EXPECT_FALSE(store.IsOpen());
    EXPECT_TRUE(store.GetPath().empty());

    CDatasetStore once;
    const std::string other = (home.Data() / "Y-once").string();
    EXPECT_TRUE(once.Create(other, kCreateMode, false));
    EXPECT_FALSE(once.IsOpen());
    EXPECT_TRUE(once.Open(other, kOpenMode));
}

TEST_F(DatasetStoreTest, ASecondOpenerIsRefusedAsAccessDeniedNamingThePath) {
    // the same object, another object, and another process
    ExpectFileException([&] { store.Open(path, kOpenMode); }, FileException::accessDenied, path);
    ExpectFileException([&] { store.Create(path, kCreateMode, true); }, FileException::accessDenied,
                        path);
    CDatasetStore second;
    ExpectFileException([&] { second.Open(path, kOpenMode); }, FileException::accessDenied, path);
    EXPECT_FALSE(second.IsOpen());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 1;
        try {
            CDatasetStore other;
            other.Open(path, kOpenMode);
        } catch (const FileException& e) {
            code = e.Cause() == FileException::accessDenied && e.FileName() == path ? 0 : 2;
        } catch (...) {
            code = 3;
        }
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // A missing file is reported the same way.
    const std::string missing = (home.Data() / "Ymissing").string();
    ExpectFileException([&] { second.Open(missing, kOpenMode); }, FileException::accessDenied,
                        missing);
}

TEST_F(DatasetStoreTest, DirectoryEntryBytes) {
    {
        CDataset dataset;
        CreateDataset(dataset, "Z6101010.100", 2);
        Append(dataset, MakeScans(3, 2, 1, 1000.0));
        dataset.SetBrowsePosition(1500.0);
        CDatasetEvent ev(CDatasetEvent::Start, -1, 1000.0, "go");
        dataset.AppendEvent(ev);
        EXPECT_TRUE(dataset.WriteHeader());
        EXPECT_FALSE(dataset.WriteHeader()) << "the second write finds the entry listed";
    }
    store.Close();
    const auto bytes = StreamBytes(path, {"Datasets"});
    ASSERT_EQ(bytes.size(), 56u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "Z6101010.100");
    for (std::size_t i = 12; i < 20; ++i)
        EXPECT_EQ(bytes[i], 0) << "key padding at " << i;
    EXPECT_EQ(At<std::uint32_t>(bytes, 20), 1'700'000'000u);
    EXPECT_EQ(At<std::int32_t>(bytes, 24), 1);
    EXPECT_EQ(At<std::int32_t>(bytes, 28), 3);
    EXPECT_EQ(At<double>(bytes, 32), 1000.0);
    EXPECT_EQ(At<double>(bytes, 40), 3000.5);
    EXPECT_EQ(At<double>(bytes, 48), 1500.0);
}

TEST_F(DatasetStoreTest, ClosingAFinishedRunRefreshesItsEntry) {
    CDataset dataset;
    CreateDataset(dataset, "Z6101010.100", 2);
    dataset.WriteHeader(); // the document lists the dataset as the run starts
    Append(dataset, MakeScans(5, 2));
    CDatasetEvent ev(CDatasetEvent::User, -1, 10.0, "note");
    dataset.AppendEvent(ev);
    dataset.AppendEvent(ev);
    dataset.Close();

    DatasetDirEntry entry;
    ASSERT_TRUE(store.FindDataset("Z6101010.100", &entry));
    EXPECT_EQ(+entry.ScanCount, 5);
    EXPECT_EQ(+entry.EventCount, 2);
    EXPECT_EQ(+entry.LastTime, 4000.5);
    EXPECT_EQ(store.GetDirCount(), 1);
}

TEST_F(DatasetStoreTest, FindIgnoresCaseAndDirectoryPrimitivesKeepOrder) {
    for (const char* key : {"Z1", "Z2", "Z3", "Z4"}) {
        DatasetDirEntry entry;
        entry.SetKey(key);
        EXPECT_TRUE(store.AddDirEntry(entry));
    }
    DatasetDirEntry dup;
    dup.SetKey("z2");
    EXPECT_FALSE(store.AddDirEntry(dup)) << "a listed key is not added again";
    DatasetDirEntry found;
    EXPECT_TRUE(store.FindDataset("z3", &found));
    EXPECT_EQ(found.GetKey(), "Z3");
    EXPECT_FALSE(store.FindDataset("Z5", &found));

    EXPECT_TRUE(store.RemoveDirEntry("z2"));
    EXPECT_FALSE(store.RemoveDirEntry("Z2"));
    DatasetDirEntry entries[4];
    ASSERT_EQ(store.ReadDirEntries(0, 4, entries), 3);
    EXPECT_EQ(entries[0].GetKey(), "Z1");
    EXPECT_EQ(entries[1].GetKey(), "Z3");
    EXPECT_EQ(entries[2].GetKey(), "Z4");
    EXPECT_EQ(store.ReadDirEntries(2, 4, entries), 1);
}

TEST_F(DatasetStoreTest, MoreThanOneBlockOfDatasetsIsEnumeratedCompletely) {
    const int total = 2 * DatasetDirEnum::kBlockEntries + 7;
    std::vector<DatasetDirEntry> entries(total);
    for (int i = 0; i < total; ++i) {
        entries[i].SetKey("Z" + std::to_string(i));
        entries[i].ScanCount = i;
    }
    {
        tvane::Stream directory = store.GetRootStorage()->OpenStream("Datasets", kOpenMode);
        directory.Write(entries.data(), entries.size() * sizeof(DatasetDirEntry));
    }
    DatasetDirEnum cursor(store);
    DatasetDirEntry entry;
    int seen = 0;
    for (bool more = cursor.First(&entry); more; more = cursor.Next(&entry)) {
        EXPECT_EQ(+entry.ScanCount, seen);
        ++seen;
    }
    EXPECT_EQ(seen, total);
    EXPECT_TRUE(store.FindDataset("z" + std::to_string(total - 1), &entry));
    EXPECT_TRUE(store.RemoveDirEntry("Z0"));
    EXPECT_EQ(store.GetDirCount(), total - 1);
    ASSERT_EQ(store.ReadDirEntries(total - 2, 1, &entry), 1);
    EXPECT_EQ(+entry.ScanCount, total - 1);
}

TEST_F(DatasetStoreTest, CreatingAnExistingKeyFailsAndLeavesTheObjectReset) {
    CDataset first;
    CreateDataset(first, "Z6101010.100", 1);
    first.Close();

    CDataset second;
    try {
        second.Create(tvane::CTime(5), 3, &store, "Z6101010.100", 16384);
        ADD_FAILURE() << "no exception";
    } catch (const FileException&) {
        ADD_FAILURE() << "expected the storage status, not a file exception";
    } catch (const StorageException& e) {
        EXPECT_EQ(e.Status(), tvane::STG_E_FILEALREADYEXISTS);
        EXPECT_EQ(e.Name(), "Z6101010.100");
    }
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(second.GetKey().empty());
    EXPECT_EQ(second.GetChannelCount(), 0);
    EXPECT_FALSE(store.IsDatasetOpen("Z6101010.100"));

    // A key the directory record cannot hold is refused before anything is made.
    EXPECT_THROW(second.Create(tvane::CTime(5), 3, &store, std::string(20, 'Z'), 16384),
                 StorageException);
    EXPECT_FALSE(store.GetRootStorage()->HasElement(std::string(20, 'Z')));
}

TEST_F(DatasetStoreTest, DestroyRefusesAnOpenDatasetAndIgnoresAnUnlistedKey) {
    CDataset dataset;
    CreateDataset(dataset, "Z6101010.100", 1);
    dataset.WriteHeader();
    ExpectFileException([&] { store.DestroyDataset("z6101010.100"); }, FileException::accessDenied,
                        "z6101010.100");
    EXPECT_TRUE(store.FindDataset("Z6101010.100", nullptr));
    dataset.Close();

    // A storage the directory does not list stays.
    store.GetRootStorage()->CreateStorage("Zunlisted", kOpenMode).Close();
    EXPECT_TRUE(store.DestroyDataset("Zunlisted"));
    EXPECT_TRUE(store.GetRootStorage()->HasElement("Zunlisted"));

    EXPECT_TRUE(store.DestroyDataset("Z6101010.100"));
    EXPECT_FALSE(store.FindDataset("Z6101010.100", nullptr));
    EXPECT_FALSE(store.GetRootStorage()->HasElement("Z6101010.100"));
}

TEST_F(DatasetStoreTest, ClosingTheStoreClosesItsDatasetsWritingTheirHeaders) {
    CDataset a, b;
    CreateDataset(a, "ZA", 1);
    CreateDataset(b, "ZB", 2);
    Append(b, MakeScans(4, 2));
    store.Close();
    EXPECT_FALSE(a.IsOpen());
    EXPECT_FALSE(b.IsOpen());

    const auto header = StreamBytes(path, {"ZB", "Header"});
    ASSERT_EQ(header.size(), CDataset::kHeaderSize);
    EXPECT_EQ(At<std::int32_t>(header, 0), 8);
    ASSERT_TRUE(store.Open(path, kOpenMode));
    EXPECT_EQ(store.GetDirCount(), 2);
}

TEST_F(DatasetStoreTest, ADatasetDestroyedFirstLeavesTheStoreSound) {
    {
        CDataset dataset;
        CreateDataset(dataset, "ZA", 1);
        EXPECT_TRUE(store.IsDatasetOpen("za"));
    }
    EXPECT_FALSE(store.IsDatasetOpen("ZA"));
    store.Close();
}

} // namespace
