// Parsing reading blocks against a plain copy of the same bytes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "driver/CKXQT7100.h"

using tvane::driver::CKXQT7100;
using tvane::driver::DriverSettings;

namespace {

constexpr int kReadings = 231; // the most one request asks for

// The text of one full block (without its header): 231 readings of three channels.
std::string BlockText() {
    std::string text;
    char reading[64];
    for (int i = 0; i < kReadings; ++i) {
        std::snprintf(reading, sizeof reading, "%s%+15.8E,%12.3f,%03d,%d", i ? "," : "",
                      1.234567 * i - 50.0, 0.5 * (i / 3 + 1), 101 + i % 3, i % 3);
        text += reading;
    }
    return text;
}

// The driver writes its log beside the data; keep it out of the user's folders.
DriverSettings BenchSettings() {
    static std::filesystem::path dir = [] {
        std::filesystem::path p = std::filesystem::temp_directory_path() / "tvane-driver-bench";
        std::filesystem::create_directories(p);
        return p;
    }();
    DriverSettings s;
    s.logFile = (dir / "qt7100.log").string();
    return s;
}

void BM_ParseReadings(benchmark::State& state) {
    const std::string text = BlockText();
    CKXQT7100 driver(nullptr, BenchSettings());
    std::vector<ReadingRecord> records(kReadings);
    for (auto _ : state) {
        bool ok = true;
        std::int32_t n = driver.ParseReadings(text.data(), static_cast<std::int32_t>(text.size()),
                                              records.data(), kReadings, ok);
        if (n != kReadings || !ok)
            state.SkipWithError("block not parsed");
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseReadings);

// Baseline: copying the same bytes into a buffer of the same size.
void BM_CopyBlock(benchmark::State& state) {
    const std::string text = BlockText();
    std::vector<char> out(text.size());
    for (auto _ : state) {
        std::memcpy(out.data(), text.data(), text.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_CopyBlock);

} // namespace

BENCHMARK_MAIN();
