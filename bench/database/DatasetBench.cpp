// Appending readings to a dataset in polls of 100 (its write buffer, then a flush
// that makes them durable, or no flush) against plain write() of the same bytes
// (with or without fsync), reading one reading by index against pread() of the
// same 26 bytes, and the Data Browser's search of a time in a run of 10 M
// readings (scans at one interval, or 1 s apart and then 10 ms apart) against a
// binary search with pread() over the same records.
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

// --- Browsing to a time ---------------------------------------------------------

constexpr std::int64_t kBrowseRecords = 10'000'000;
constexpr std::int64_t kBrowseScans = kBrowseRecords / kChannels;

// Scan s's time in ms: every second, or every second for the first half of the
// run and every 10 ms after it.
double ScanTime(std::int64_t scan, bool uneven) {
    const std::int64_t half = kBrowseScans / 2;
    if (!uneven || scan < half)
        return scan * 1000.0;
    return half * 1000.0 + (scan - half) * 10.0;
}

// The run's records in order, handed to sink in polls.
template <class Sink> void WriteBrowseRun(bool uneven, Sink sink) {
    std::vector<ReadingRecord> batch(kBatch);
    for (std::int64_t first = 0; first < kBrowseRecords; first += kBatch) {
        for (int i = 0; i < kBatch; ++i) {
            const std::int64_t n = first + i;
            ReadingRecord& r = batch[static_cast<std::size_t>(i)];
            r.ScanNumber = static_cast<std::int32_t>(n / kChannels + 1);
            r.Channel = static_cast<std::int16_t>(101 + n % kChannels);
            r.Time = ScanTime(n / kChannels, uneven) + (n % kChannels) * 0.1;
            r.Value = static_cast<double>(i);
            std::memcpy(r.Unit, "VDC", 3);
        }
        sink(batch);
    }
}

// One dataset file of the run per kind, made once for all the benchmarks.
struct BrowseRun {
    TempFolder folder;
    CDatasetStore store;
    CDataset dataset;
    std::string plain;
    explicit BrowseRun(bool uneven) {
        store.Create(folder.File("Ybrowse"), kCreateMode, true);
        dataset.Create(tvane::CTime(0), kChannels, &store, "Zbrowse",
                       CDataset::kDefaultBufferBytes);
        plain = folder.File("plain");
        const int fd = open(plain.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
        WriteBrowseRun(uneven, [&](const std::vector<ReadingRecord>& batch) {
            dataset.AppendReadings(batch.data(), kBatch);
            if (write(fd, batch.data(), batch.size() * sizeof(ReadingRecord)) < 0)
                std::abort();
        });
        close(fd);
        dataset.WriteHeader();
    }
    static BrowseRun& Of(bool uneven) {
        static BrowseRun even(false);
        static BrowseRun changed(true);
        return uneven ? changed : even;
    }
};

void BM_DatasetBrowseToTime(benchmark::State& state) {
    const bool uneven = state.range(0) != 0;
    CDataset& dataset = BrowseRun::Of(uneven).dataset;
    const double span = ScanTime(kBrowseScans - 1, uneven);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(0.0, span);
    for (auto _ : state)
        benchmark::DoNotOptimize(dataset.FindReadingPosition(offset(random), true));
}
BENCHMARK(BM_DatasetBrowseToTime)->ArgName("uneven")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same question of a plain file: the first scan at or after the time, by a
// binary search over the scans' first records with pread().
void BM_PlainPreadSearch(benchmark::State& state) {
    const bool uneven = state.range(0) != 0;
    const int fd = open(BrowseRun::Of(uneven).plain.c_str(), O_RDONLY);
    const double span = ScanTime(kBrowseScans - 1, uneven);
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(0.0, span);
    const off_t scanBytes = static_cast<off_t>(kChannels * sizeof(ReadingRecord));
    ReadingRecord record;
    for (auto _ : state) {
        const double target = offset(random);
        std::int64_t low = 0, high = kBrowseScans - 1;
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (pread(fd, &record, sizeof record, static_cast<off_t>(middle) * scanBytes) < 0)
                state.SkipWithError("read failed");
            if (record.Time < target)
                low = middle + 1;
            else
                high = middle;
        }
        benchmark::DoNotOptimize(low);
    }
    close(fd);
}
BENCHMARK(BM_PlainPreadSearch)->ArgName("uneven")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
