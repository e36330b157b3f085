// Appending readings to a dataset in polls of 100 (its write buffer, then a flush
// that makes them durable, or no flush) against plain write() of the same bytes
// (with or without fsync), and reading one reading by index against pread() of
// the same 26 bytes.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "database/CDataset.h"
#include "database/CDatasetStore.h"

namespace {

constexpr int kChannels = 20;
constexpr int kBatch = 100;   // records of one poll
constexpr int kBatches = 630; // 63000 records (1.6 MB) between two flushes
constexpr int kReadRecords = 200000;

constexpr tvane::StorageMode kCreateMode =
    tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE;

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tvane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    std::string File(const char* name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

std::vector<ReadingRecord> Batch(int first) {
    std::vector<ReadingRecord> records(kBatch);
    for (int i = 0; i < kBatch; ++i) {
        ReadingRecord& r = records[i];
        r.ScanNumber = (first + i) / kChannels + 1;
        r.Channel = static_cast<std::int16_t>(101 + (first + i) % kChannels);
        r.Time = r.ScanNumber * 1000.0;
        r.Value = i * 0.5;
        std::memcpy(r.Unit, "VDC", 3);
    }
    return records;
}

void BM_DatasetAppendAndFlush(benchmark::State& state) {
    TempFolder folder;
    CDatasetStore store;
    store.Create(folder.File("Ybench"), kCreateMode, true);
    CDataset dataset;
    dataset.Create(tvane::CTime(0), kChannels, &store, "Zbench", CDataset::kDefaultBufferBytes);
    const auto batch = Batch(0);
    for (auto _ : state) {
        for (int b = 0; b < kBatches; ++b)
            dataset.AppendReadings(batch.data(), kBatch);
        if (state.range(0))
            dataset.FlushReadings();
    }
    state.SetBytesProcessed(state.iterations() * kBatches * kBatch * sizeof(ReadingRecord));
}
BENCHMARK(BM_DatasetAppendAndFlush)
    ->ArgName("flush")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

void BM_PlainWriteAndFsync(benchmark::State& state) {
    TempFolder folder;
    const int fd = open(folder.File("plain").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
    const auto batch = Batch(0);
    for (auto _ : state) {
        for (int b = 0; b < kBatches; ++b) {
            if (write(fd, batch.data(), kBatch * sizeof(ReadingRecord)) < 0)
                state.SkipWithError("write failed");
        }
        if (state.range(0))
            fsync(fd);
    }
    close(fd);
    state.SetBytesProcessed(state.iterations() * kBatches * kBatch * sizeof(ReadingRecord));
}
BENCHMARK(BM_PlainWriteAndFsync)
    ->ArgName("fsync")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(40)
    ->Unit(benchmark::kMillisecond);

void BM_DatasetReadOneByIndex(benchmark::State& state) {
    TempFolder folder;
    CDatasetStore store;
    store.Create(folder.File("Ybench"), kCreateMode, true);
    CDataset dataset;
    dataset.Create(tvane::CTime(0), kChannels, &store, "Zbench", CDataset::kDefaultBufferBytes);
    for (int first = 0; first < kReadRecords; first += kBatch) {
        const auto batch = Batch(first);
        dataset.AppendReadings(batch.data(), kBatch);
    }
    dataset.FlushReadings();
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> index(0, kReadRecords - 1);
    ReadingRecord record;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dataset.ReadReadings(&record, 1, index(random)));
        benchmark::DoNotOptimize(record);
    }
}
BENCHMARK(BM_DatasetReadOneByIndex);

void BM_PlainPreadOne(benchmark::State& state) {
    TempFolder folder;
    const int fd = open(folder.File("plain").c_str(), O_CREAT | O_TRUNC | O_RDWR, 0644);
    for (int first = 0; first < kReadRecords; first += kBatch) {
        const auto batch = Batch(first);
        if (write(fd, batch.data(), kBatch * sizeof(ReadingRecord)) < 0)
            state.SkipWithError("write failed");
    }
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int32_t> index(0, kReadRecords - 1);
    ReadingRecord record;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            pread(fd, &record, sizeof record, static_cast<off_t>(index(random)) * sizeof record));
        benchmark::DoNotOptimize(record);
    }
    close(fd);
}
BENCHMARK(BM_PlainPreadOne);

// A header write (the Data Browser's range updates make one each): the header,
// the directory entry and a commit of the file.
void BM_DatasetWriteHeader(benchmark::State& state) {
    TempFolder folder;
    CDatasetStore store;
    store.Create(folder.File("Ybench"), kCreateMode, true);
    CDataset dataset;
    dataset.Create(tvane::CTime(0), kChannels, &store, "Zbench", CDataset::kDefaultBufferBytes);
    for (int first = 0; first < kReadRecords; first += kBatch) {
        const auto batch = Batch(first);
        dataset.AppendReadings(batch.data(), kBatch);
    }
    double position = 0.0;
    for (auto _ : state) {
        dataset.SetBrowsePosition(position += 1000.0);
        benchmark::DoNotOptimize(dataset.WriteHeader());
    }
}
BENCHMARK(BM_DatasetWriteHeader)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
