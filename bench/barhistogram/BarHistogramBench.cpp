// One poll's update of a histogram of 100 bins and of a bar meter, after
// 1,000 and after 10,000,000 readings of their channel, against copying the
// same readings into a plain array:
//   Histogram: 100 new readings binned (counts, percentages, statistics), the
//              bins handed to the plot and the statistics to the panel.
//   Bar:       the newest of 100 new readings handed to the plot, which
//              colours the bar by its limits.
// Neither keeps the readings it has seen, so neither may take longer the
// longer the run.
#include <cmath>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/bar/CBarPlot.h"
#include "graphics/displays/histogram/CHistogramCtrlPanel.h"
#include "graphics/displays/histogram/CHistogramPlot.h"
#include "graphics/displays/histogram/CHistogramStats.h"
#include "graphics/displays/histogram/HistogramBins.h"
#include "platform/chart/ChartData.h"
#include "scan/CChannelInfo.h"
#include "scan/records/ReadingRecord.h"

namespace {

constexpr int kPerPoll = 100;
constexpr int kBins = 100;

class Parent : public IChartParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return false; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
};

// The readings of one channel as the document files them on every poll.
struct Readings {
    Readings() : records(kPerPoll) {}
    void Next() {
        for (ReadingRecord& r : records) {
            r.Channel = 101;
            r.Time = 100.0 * scan;
            r.Value = 50.0 + 45.0 * std::sin(scan * 0.001);
            ++scan;
        }
    }
    std::vector<ReadingRecord> records;
    long scan = 0;
};

CChannelInfo Channel() {
    CChannelInfo c;
    c.Number = 101;
    c.Label = "<101>";
    c.Units = "VDC";
    c.RangeMin = 0.0;
    c.RangeMax = 100.0;
    c.AlarmTest = 3;
    c.LowLimit = 10.0;
    c.HighLimit = 90.0;
    return c;
}

// A histogram as its frame feeds it: 100 bins over 0..100.
struct Histogram {
    Histogram() {
        plot.Create(parent, {0, 0, 500, 300}, tvane::chart::ChartFont{});
        plot.SetBinCount(kBins);
        plot.SetRangeAt(0);
        plot.SelectRange(0, Channel());
        const CChannelInfo channel = Channel();
        panel.SetChannel(&channel);
        bins.m_binCount = kBins;
        bins.SetTable(table.GetData());
        bins.Reset();
    }
    void Poll() {
        readings.Next();
        values.clear();
        for (const ReadingRecord& r : readings.records)
            values.push_back(double{r.Value});
        bins.AddReadings(values.data(), static_cast<int>(values.size()), stats);
        plot.SetBinData(kPerPoll, *table.GetData());
        panel.ShowStats(stats);
    }
    // The counts of a long run, without the cost of its polls.
    void RunTo(long count) {
        std::vector<double> run;
        while (readings.scan < count) {
            readings.Next();
            for (const ReadingRecord& r : readings.records)
                run.push_back(double{r.Value});
            if (run.size() >= 100000) {
                bins.AddReadings(run.data(), static_cast<int>(run.size()), stats);
                run.clear();
            }
        }
        bins.AddReadings(run.data(), static_cast<int>(run.size()), stats);
    }

    Parent parent;
    CHistogramPlot plot;
    CHistogramCtrlPanel panel;
    CHistogramStats stats;
    CXrtGraphData table{tvane::chart::ChartData::kGeneral, 2, kBins};
    HistogramBins bins;
    Readings readings;
    std::vector<double> values;
};

// A bar meter as its frame feeds it.
struct Bar {
    Bar() {
        plot.Create(parent, {0, 0, 100, 150}, tvane::chart::ChartFont{});
        plot.SetChannel(0, Channel());
    }
    void Poll() {
        readings.Next();
        buffer.GetData()->SetY(0, 0, readings.records.back().Value);
        plot.Update(kPerPoll, *buffer.GetData());
    }

    Parent parent;
    CBarPlot plot;
    CXrtGraphData buffer{tvane::chart::ChartData::kGeneral, 1, 1};
    Readings readings;
};

void BM_HistogramPoll(benchmark::State& state) {
    Histogram histogram;
    histogram.RunTo(state.range(0));
    for (auto _ : state) {
        histogram.Poll();
        benchmark::ClobberMemory();
    }
    state.counters["readings"] = histogram.bins.m_total;
}
BENCHMARK(BM_HistogramPoll)->Arg(1000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

void BM_BarPoll(benchmark::State& state) {
    Bar bar;
    while (bar.readings.scan < state.range(0))
        bar.Poll();
    for (auto _ : state) {
        bar.Poll();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BarPoll)->Arg(1000)->Arg(10000000)->Unit(benchmark::kMicrosecond);

void BM_CopyReadingsToArray(benchmark::State& state) {
    Readings readings;
    std::vector<double> values(kPerPoll);
    for (auto _ : state) {
        readings.Next();
        for (int i = 0; i < kPerPoll; ++i)
            values[static_cast<std::size_t>(i)] =
                readings.records[static_cast<std::size_t>(i)].Value;
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyReadingsToArray)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(
        argc, argv,
        {{"BM_HistogramPoll", "BM_CopyReadingsToArray"}, {"BM_BarPoll", "BM_CopyReadingsToArray"}});
}
