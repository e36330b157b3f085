#include "tests/database/DatasetFuzzBody.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "platform/core/Exception.h"
#include "platform/core/Folders.h"

namespace tvane::test {

namespace {

// A file lists at most this many datasets worth opening in one input.
constexpr int kMostDatasets = 8;
constexpr std::int32_t kMostEvents = 64;

void ReadDataset(CDataset& dataset) {
    ReadingRecord records[64];
    const std::int32_t count = dataset.GetReadingCount();
    dataset.ReadReadings(records, 64, 0);
    dataset.ReadReadings(records, 64, count > 64 ? count - 64 : 0);
    dataset.ReadReadings(records, 64, count / 2);
    dataset.GetLastReadingTime();
    const std::int32_t scans = dataset.GetScanCount();
    const double span = dataset.GetLastTime() - dataset.GetFirstTime();
    for (double offset : {0.0, span / 3, span / 2, span, span * 2, -span, 1e300, -1e300}) {
        dataset.FindReadingPosition(offset, true);
        dataset.FindReadingPosition(offset, false);
    }
    std::int32_t first = 0, n = 0;
    dataset.GetScanWindow(scans, 10, static_cast<std::int32_t>(count / 2 * 26), &first, &n);
    dataset.GetScanWindow(dataset.GetBrowseScan(), scans, 0, &first, &n);
    dataset.FindScanPosition(scans / 2, count * 13);

    const std::int32_t events = dataset.GetEventCount();
    CDatasetEvent event;
    for (std::int32_t i = 0; i < events && i < kMostEvents; ++i) {
        try {
            dataset.GetEvent(i, event);
        } catch (const tvane::Exception&) {
            // a record whose text is missing or damaged
        }
    }
    for (double time : {0.0, dataset.GetFirstEventTime(), dataset.GetLastEventTime(), -1.0}) {
        dataset.FindEventIndex(time, false);
        dataset.FindEventIndex(time, true);
        dataset.FindUserEventIndex(time, true);
        CDatasetEvent pattern(0xFFFFFFFF, -1, time);
        try {
            dataset.FindEvent(pattern, event);
        } catch (const tvane::Exception&) {
        }
    }
    std::vector<std::unique_ptr<CDatasetEvent>> found;
    dataset.GetUserEvents(0.0, dataset.GetLastEventTime(), 0xFFFFFFFF, found);
}

void ChangeDataset(CDataset& dataset) {
    ReadingRecord batch[3] = {};
    // A file may claim the most scans there can be: the next one stays a number.
    const std::int32_t next =
        dataset.GetScanCount() == INT32_MAX ? INT32_MAX : dataset.GetScanCount() + 1;
    for (int i = 0; i < 3; ++i) {
        batch[i].ScanNumber = next;
        batch[i].Channel = static_cast<std::int16_t>(101 + i);
        batch[i].Time = dataset.GetLastTime() + 1000.0;
    }
    dataset.AppendReadings(batch, 3);
    dataset.FlushReadings();
    CDatasetEvent user(CDatasetEvent::User, -1, dataset.GetLastTime(), "fuzz");
    dataset.AppendEvent(user);
    CDatasetEvent inserted(CDatasetEvent::Start, 101, 0.5, "start");
    dataset.InsertEvent(0, inserted);
    if (dataset.GetEventCount() > 1)
        dataset.DeleteEvent(1);
    dataset.WriteHeader();
}

void ExerciseStore(const std::string& path) {
    CDatasetStore store;
    store.Open(path, STGM_READWRITE | STGM_SHARE_EXCLUSIVE);
    const int listed = store.GetDirCount();
    std::vector<DatasetDirEntry> entries(static_cast<std::size_t>(std::min(listed, kMostDatasets)));
    const int read = store.ReadDirEntries(0, static_cast<int>(entries.size()), entries.data());
    for (int i = 0; i < read; ++i) {
        CDataset dataset;
        try {
            if (!dataset.Open(&store, entries[static_cast<std::size_t>(i)].GetKey()))
                continue;
            ReadDataset(dataset);
            ChangeDataset(dataset);
            ReadDataset(dataset);
        } catch (const tvane::Exception&) {
        }
        dataset.Close();
    }
    store.Close();
}

} // namespace

void ExerciseDatasetFile(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path path = DataDir() / "fuzz.dat";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            return;
    }
    try {
        ExerciseStore(path.string());
    } catch (const tvane::Exception&) {
    }
    std::filesystem::remove(path);
}

} // namespace tvane::test
