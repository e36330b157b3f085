#pragma once
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "platform/storage/Storage.h"
#include "scan/records/ReadingRecord.h"
#include "tests/support/TempHome.h"

namespace dataset_test {

inline constexpr tvane::StorageMode kCreateMode =
    tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE;
inline constexpr tvane::StorageMode kOpenMode = tvane::STGM_READWRITE | tvane::STGM_SHARE_EXCLUSIVE;

// Readings of whole scans: scan numbers from firstScan, one record per channel,
// scans interval ms apart starting at startMs.
inline std::vector<ReadingRecord> MakeScans(int scans, int channels, int firstScan = 1,
                                            double startMs = 0.0, double interval = 1000.0) {
    std::vector<ReadingRecord> records;
    for (int s = 0; s < scans; ++s) {
        for (int c = 0; c < channels; ++c) {
            ReadingRecord r;
            r.ScanNumber = firstScan + s;
            r.Channel = static_cast<std::int16_t>(101 + c);
            r.Time = startMs + s * interval + c * 0.5;
            r.Value = s * 100.0 + c;
            std::memcpy(r.Unit, "VDC", 3);
            records.push_back(r);
        }
    }
    return records;
}

inline bool SameRecord(const ReadingRecord& a, const ReadingRecord& b) {
    return std::memcmp(&a, &b, sizeof(ReadingRecord)) == 0;
}

// The bytes of a stream of a closed dataset storage file (path of elements).
inline std::vector<std::uint8_t> StreamBytes(const std::filesystem::path& file,
                                             const std::vector<std::string>& elements) {
    tvane::Storage root =
        tvane::StgOpenStorage(file, tvane::STGM_READ | tvane::STGM_SHARE_EXCLUSIVE);
    tvane::Storage current;
    tvane::Storage* storage = &root;
    for (std::size_t i = 0; i + 1 < elements.size(); ++i) {
        current = storage->OpenStorage(elements[i], tvane::STGM_READ | tvane::STGM_SHARE_EXCLUSIVE);
        storage = &current;
    }
    tvane::Stream stream =
        storage->OpenStream(elements.back(), tvane::STGM_READ | tvane::STGM_SHARE_EXCLUSIVE);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    stream.Read(bytes.data(), bytes.size());
    return bytes;
}

template <typename T> T At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    T value{};
    EXPECT_LE(offset + sizeof(T), bytes.size());
    if (offset + sizeof(T) <= bytes.size())
        std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// A fresh data folder with one dataset storage file created and open.
class DatasetFileTest : public tvane::test::TempHomeTest {
protected:
    void SetUp() override {
        std::filesystem::create_directories(home.Data());
        path = (home.Data() / "Y6101010.100").string();
        store.Create(path, kCreateMode, true);
    }

    // Creates and opens a dataset with the given channels and buffer.
    void CreateDataset(CDataset& dataset, const std::string& key, std::int16_t channels,
                       std::uint16_t bufferBytes = CDataset::kDefaultBufferBytes) {
        ASSERT_TRUE(
            dataset.Create(tvane::CTime(1'700'000'000), channels, &store, key, bufferBytes));
    }

    void Append(CDataset& dataset, const std::vector<ReadingRecord>& records) {
        ASSERT_TRUE(
            dataset.AppendReadings(records.data(), static_cast<std::int16_t>(records.size())));
    }

    std::string path;
    CDatasetStore store;
};

} // namespace dataset_test
