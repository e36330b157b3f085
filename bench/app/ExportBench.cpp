// The reading export: 100,000 readings of a stored dataset read back from its
// storage file, formatted in columns layout (time stamp, seconds and value per
// channel) and written to a file, against a loop that formats the same readings
// from memory with snprintf and writes the very same bytes with write(). The
// figure is the export's time over the baseline's: what reading the stored
// readings and the export's own formatting cost beyond writing its bytes.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "bench/BenchRatios.h"
#include "bench/app/BenchDocument.h"
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

// One stored dataset and its export, shared by both benchmarks: the baseline
// must write the very bytes the export writes.
struct ExportFixture {
    TempFolder folder;
    BenchApp app;
    CLoggerDoc doc{app};
    std::string expected; // the export's file

    ExportFixture() {
        bench::AddChannels(doc, kChannels, "KXQT7101", [](CFXSetup& row) { row.Units = "VDC"; });
        doc.CountActiveChannelsPerSlot();
        doc.GetDatasetStore()->Create(
            folder.File("Ybench.stg"),
            tvane::STGM_CREATE | tvane::STGM_SHARE_EXCLUSIVE | tvane::STGM_READWRITE, true);
        doc.GetDataset()->Create(tvane::CTime(1700000000), kChannels, doc.GetDatasetStore(), "Run",
                                 CDataset::kDefaultBufferBytes);
        std::vector<ReadingRecord> block(1000);
        for (int i = 0; i < kReadings; i += 1000) {
            for (int j = 0; j < 1000; ++j)
                block[static_cast<std::size_t>(j)] = Reading(i + j);
            doc.GetDataset()->AppendReadings(block.data(), 1000);
        }
        doc.GetDataset()->WriteHeader();

        CReadingQuery& query = doc.GetExportRequest();
        query.m_layout = CReadingQuery::kColumns;
        query.m_fileName = folder.File("export.csv");
        query.m_previousFileName = query.m_fileName;
        doc.GetExport().SetSkipDialog(true);
        doc.OnExportData(); // clamps the span and selects every channel
        if (doc.GetExport().ExportReadings(query, true, 669))
            expected = ReadWhole(query.m_fileName);
    }

    static std::string ReadWhole(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

ExportFixture& Fixture() {
    static ExportFixture fixture;
    return fixture;
}

void BM_ExportReadingsColumns(benchmark::State& state) {
    ExportFixture& f = Fixture();
    CReadingQuery& query = f.doc.GetExportRequest();
    for (auto _ : state) {
        if (!f.doc.GetExport().ExportReadings(query, true, 669))
            state.SkipWithError("the export failed");
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(query.m_fileName));
}
BENCHMARK(BM_ExportReadingsColumns)->Unit(benchmark::kMillisecond);

// Baseline: the same lines (the export's header, then per scan each channel's
// quoted time stamp, seconds and "%+E" value) formatted with snprintf and
// written with write() in 64 KB blocks; its file must equal the export's.
void BM_NaiveFormatAndWrite(benchmark::State& state) {
    ExportFixture& f = Fixture();
    if (f.expected.empty()) {
        state.SkipWithError("the export failed");
        return;
    }
    const char separator = f.doc.GetExportRequest().m_separator;
    const std::string header = f.expected.substr(0, f.expected.find("\r\n") + 2);
    const std::string path = f.folder.File("plain.csv");
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
        std::string text = header;
        char field[64];
        double stampTime = -1.0;
        std::string stamp;
        for (int i = 0; i < kReadings; ++i) {
            const ReadingRecord r = Reading(i);
            if (r.Time != stampTime) {
                stampTime = r.Time;
                stamp = "\"" + f.doc.FormatReadingTime(r.Time) + "\"";
            }
            text += stamp;
            const int n = std::snprintf(field, sizeof field, "%c%0.3lf%c%+E", separator,
                                        r.Time / 1000.0, separator, r.Value);
            text.append(field, static_cast<std::size_t>(n));
            if (i % kChannels == kChannels - 1)
                text += "\r\n";
            else
                text += separator;
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
    if (ExportFixture::ReadWhole(path) != f.expected)
        state.SkipWithError("the baseline does not write the export's bytes");
    state.SetItemsProcessed(state.iterations() * kReadings);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_NaiveFormatAndWrite)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv,
                                {{"BM_ExportReadingsColumns", "BM_NaiveFormatAndWrite"}});
}
