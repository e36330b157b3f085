// The reading export: 100,000 readings of a stored dataset written to a file
// in columns layout (time stamp, seconds and value per channel), against a
// naive loop that formats the values alone and writes them with write().
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/CLoggerDoc.h"
#include "bench/app/BenchDocument.h"
#include "app/ILoggerApp.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CStateInfo.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"

namespace {

constexpr int kChannels = 10;
constexpr int kScans = 10000;
constexpr int kReadings = kChannels * kScans;

using bench::BenchApp;
using bench::TempFolder;

ReadingRecord Reading(int index) {
    ReadingRecord r;
    r.ScanNumber = index / kChannels + 1;
    r.Channel = static_cast<std::int16_t>(101 + index % kChannels);
    r.Time = r.ScanNumber * 1000.0 + 0.25;
    r.Value = index * 0.125 - 300.0;
    return r;
}

void BM_ExportReadingsColumns(benchmark::State& state) {
    TempFolder folder;
    BenchApp app;
    CLoggerDoc doc(app);
    doc.GetSetup()->SetSize(kChannels);
    for (int i = 0; i < kChannels; ++i) {
        auto* row = new CFXSetup;
        row->Name = "KXQT7101";
        row->Channel = static_cast<std::uint32_t>(101 + i);
        row->ChannelMode = 1;
        row->Units = "VDC";
        doc.GetSetup()->SetSetup(i, row);
    }
    doc.SetSlotCount(1, kChannels);
    doc.m_datasetStore->Create(
        folder.File("Ybench.stg"),
        tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE, true);
    doc.m_dataset->Create(tvane::CTime(1700000000), kChannels, doc.m_datasetStore.get(), "Run",
                          CDataset::kDefaultBufferBytes);
    std::vector<ReadingRecord> block(1000);
    for (int i = 0; i < kReadings; i += 1000) {
        for (int j = 0; j < 1000; ++j)
            block[static_cast<std::size_t>(j)] = Reading(i + j);
        doc.m_dataset->AppendReadings(block.data(), 1000);
    }
    doc.m_dataset->WriteHeader();

    CReadingQuery& query = doc.m_exportRequest;
    query.m_layout = CReadingQuery::kColumns;
    query.m_fileName = folder.File("export.csv");
    query.m_previousFileName = query.m_fileName;
    doc.m_skipExportDialog = 1;
    doc.OnExportData(); // clamps the span and selects every channel
    for (auto _ : state) {
        if (!doc.ExportReadings(query, true, 669))
            state.SkipWithError("the export failed");
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(query.m_fileName));
}
BENCHMARK(BM_ExportReadingsColumns)->Unit(benchmark::kMillisecond);

// Baseline: each value formatted with "%+E" and written in 64 KB blocks.
void BM_NaiveFormatAndWrite(benchmark::State& state) {
    TempFolder folder;
    const std::string path = folder.File("plain.txt");
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        std::string text;
        char field[32];
        for (int i = 0; i < kReadings; ++i) {
            const int n = std::snprintf(field, sizeof field, "%+E,", Reading(i).Value);
            text.append(field, static_cast<std::size_t>(n));
            if (text.size() >= 65536) {
                if (::write(fd, text.data(), text.size()) < 0)
                    state.SkipWithError("write failed");
                text.clear();
            }
        }
        if (::write(fd, text.data(), text.size()) < 0)
            state.SkipWithError("write failed");
        ::close(fd);
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(BM_NaiveFormatAndWrite)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
