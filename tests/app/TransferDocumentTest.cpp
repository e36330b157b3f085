#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "app/TransferDocument.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "tests/app/LoggerDocFixture.h"

namespace tvane::test {
namespace {

constexpr StorageMode kCreate = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

void AddDataset(CDatasetStore& store, const std::string& key) {
    CDataset dataset;
    ASSERT_TRUE(dataset.Create(CTime(1'700'000'000), 1, &store, key, 16384));
    dataset.Close();
}

// The document's own storage file is held exclusively, so its datasets are
// looked up in the open store; any other file is opened for the lookup.
TEST_F(LoggerDocTest, StoredDatasetsAreFoundInTheOpenStoreOrTheirOwnFile) {
    CLoggerDoc& document = MakeDocument();
    const std::string own = (home.Data() / "Y6140709.063").string();
    const std::string other = (home.Data() / "Y6140710.063").string();
    ASSERT_TRUE(document.GetDatasetStore()->Create(own, kCreate, true));
    AddDataset(*document.GetDatasetStore(), "Z1");
    {
        CDatasetStore store;
        ASSERT_TRUE(store.Create(other, kCreate, true));
        AddDataset(store, "Z2");
        store.Close();
    }

    TransferDocument transfer(document);
    std::string shouted = own;
    std::transform(shouted.begin(), shouted.end(), shouted.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    DatasetDirEntry entry;
    EXPECT_TRUE(transfer.OpenStoredDataset("Z1", shouted, entry)) << "names compare ignoring case";
    EXPECT_EQ(entry.GetKey(), "Z1");
    EXPECT_TRUE(document.GetDatasetStore()->IsOpen());
    EXPECT_TRUE(transfer.OpenStoredDataset("Z2", other, entry));
    EXPECT_EQ(entry.GetKey(), "Z2");
    EXPECT_FALSE(transfer.OpenStoredDataset("Z1", other, entry));
    EXPECT_FALSE(transfer.OpenStoredDataset("", own, entry));
    EXPECT_FALSE(transfer.OpenStoredDataset("Z1", "", entry));
    EXPECT_FALSE(transfer.OpenStoredDataset("Z1", own + ".gone", entry));
    document.GetDatasetStore()->Close();
}

} // namespace
} // namespace tvane::test
