// The reading path of a poll: a parsed block of 100 readings filed per channel,
// with a computed channel evaluated per scan, appended to the running dataset
// and announced to the views, against plain write() of the same bytes.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "bench/app/BenchDocument.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CStateInfo.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

namespace {

constexpr int kChannels = 20;
constexpr int kBatch = 100;
// A million readings (26 MB) per dataset.
constexpr std::int64_t kBatchesPerDataset = 10000;

using bench::BenchApp;
using bench::TempFolder;

class CountingView final : public IView {
public:
    void OnUpdate(IView*, long, const HintObject&) override { ++hints; }
    long hints = 0;
};

std::vector<ReadingRecord> Block(int first) {
    std::vector<ReadingRecord> records(kBatch);
    for (int i = 0; i < kBatch; ++i) {
        ReadingRecord& r = records[static_cast<std::size_t>(i)];
        r.ScanNumber = (first + i) / kChannels + 1;
        r.Channel = static_cast<std::int16_t>(101 + (first + i) % kChannels);
        r.Time = r.ScanNumber * 1000.0;
        r.Value = i * 0.5;
        std::memcpy(r.Unit, "VDC", 3);
    }
    return records;
}

void BM_ReadingPath(benchmark::State& state) {
    TempFolder folder;
    BenchApp app;
    CLoggerDoc doc(app);
    CountingView view;
    doc.AddView(&view);
    bench::AddChannels(doc, kChannels, "34901A", [](CFXSetup& row) {
        row.FunctionType = 1;
        row.Alarms = "Off";
    });
    auto computed = std::make_unique<CCompChnl>();
    computed->Channel = 901;
    computed->Arg1.Channel = 101;
    computed->Arg2.Channel = 102;
    computed->Operation = CCompChnl::kSum;
    doc.GetComputedChannels()->SetAt(0, std::move(computed));
    doc.GetScanEngine().SetLastScanChannel(100 + kChannels);
    doc.GetScanEngine().BeginRun();
    // Each stretch of kBatchesPerDataset polls starts on a fresh dataset in a
    // fresh file, made outside the timing: however long the benchmark runs,
    // it measures runs of a realistic size, never one that fills a file.
    int datasets = 0;
    const auto freshDataset = [&] {
        doc.GetDataset()->Close();
        doc.GetDatasetStore()->Close();
        const std::string file = folder.File("Ybench.stg");
        std::filesystem::remove(file);
        doc.GetDatasetStore()->Create(
            file, tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE, true);
        doc.GetDataset()->Create(tvane::CTime(1700000000), kChannels, doc.GetDatasetStore(),
                                 "Run" + std::to_string(datasets++), CDataset::kDefaultBufferBytes);
    };
    freshDataset();

    const std::vector<ReadingRecord> block = Block(0);
    std::int64_t polls = 0;
    for (auto _ : state) {
        if (polls++ == kBatchesPerDataset) {
            state.PauseTiming();
            freshDataset();
            polls = 1;
            state.ResumeTiming();
        }
        // The driver's parse writes the block into the document's buffer.
        std::memcpy(doc.GetReadingBuffer(), block.data(), sizeof(ReadingRecord) * kBatch);
        if (!doc.GetScanEngine().ProcessNewReadings(kBatch, false))
            state.SkipWithError("the batch was not stored");
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    state.counters["datasets"] = datasets;
    doc.RemoveView(&view);
    doc.GetScanEngine().HaltRun();
}
BENCHMARK(BM_ReadingPath);

// Baseline: the same bytes written with plain write().
void BM_PlainWrite(benchmark::State& state) {
    TempFolder folder;
    const int fd = ::open(folder.File("plain.bin").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    const std::vector<ReadingRecord> block = Block(0);
    for (auto _ : state) {
        if (::write(fd, block.data(), sizeof(ReadingRecord) * kBatch) < 0)
            state.SkipWithError("write failed");
    }
    state.SetItemsProcessed(state.iterations() * kBatch);
    ::close(fd);
}
BENCHMARK(BM_PlainWrite);

} // namespace

BENCHMARK_MAIN();
