// One poll's update of an XY display that holds its full capacity of 1,000
// points, after 1,000 and after 1,000,000 scans: the poll's pair of readings
// paired by scan into the reading buffer and handed to the plot (update rate
// 1), with the least-squares line, the marker and continuous autoscale on.
// X grows with every scan, so the oldest point, which every poll drops, always
// holds the smallest x: the extremes are taken again from the ring each poll,
// the plot's worst case. Baseline: the same readings copied into an array.
#include <cmath>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/xy/CXYPlot.h"
#include "graphics/displays/xy/XYPairing.h"
#include "platform/chart/ChartData.h"
#include "scan/records/ReadingRecord.h"

namespace {

constexpr int kCapacity = 1000;

class Parent : public IXYPlotParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return false; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
    void OnVertMarkerXValueChange() override {}
    void OnHorzMarkerYValueChange() override {}
    void OnGainValueChange() override {}
    void OnOffsetValueChange() override {}
    void OnObjectSelect() override {}
};

// The XY frame's steps for one poll, over its buffer and plot.
struct XY {
    XY() {
        plot.Create(parent, {0, 0, 800, 500}, nullptr);
        plot.SetCapacity(kCapacity);
        plot.SetLeastSquares(true);
        plot.SetMarkerVisible(true);
        plot.SetContinuousAutoscale(true);
        pairing.SetBuffer(&buffer);
        xs.push_back(&x);
        ys.push_back(&y);
    }
    void NextPoll() {
        ++scan;
        x.ScanNumber = y.ScanNumber = static_cast<std::int32_t>(scan % 2000000000);
        x.Value = static_cast<double>(scan);
        y.Value = 3.0 * std::sin(scan * 0.01) + 0.5 * static_cast<double>(scan % 7);
    }
    void HandOver() {
        const tvane::chart::ChartData& d = *buffer.GetData();
        const int n = pairing.Pending();
        handX.resize(static_cast<std::size_t>(n));
        handY.resize(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i) {
            handX[static_cast<std::size_t>(i)] = d.Y(0, i);
            handY[static_cast<std::size_t>(i)] = d.Y(1, i);
        }
        plot.AddPoints(n, handX.data(), n, handY.data(), n);
        pairing.EmptyBuffer();
    }
    void Poll() {
        NextPoll();
        pairing.Add(xs, ys, [this] { HandOver(); });
        HandOver();
    }
    void Run(long scans) {
        while (scan < scans)
            Poll();
    }

    Parent parent;
    CXYPlot plot;
    CXrtGraphData buffer{tvane::chart::ChartData::kGeneral, 2, kCapacity};
    XYPairing pairing;
    ReadingRecord x, y;
    std::vector<ReadingRecord*> xs, ys;
    std::vector<double> handX, handY;
    long scan = 0;
};

void BM_XYPoll(benchmark::State& state) {
    XY xy;
    xy.Run(std::max<long>(state.range(0), kCapacity));
    for (auto _ : state) {
        xy.Poll();
        benchmark::ClobberMemory();
    }
    state.counters["points"] = xy.plot.GetPointCount();
}
BENCHMARK(BM_XYPoll)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_CopyPairToArray(benchmark::State& state) {
    XY xy;
    std::vector<double> values(2);
    for (auto _ : state) {
        xy.NextPoll();
        values[0] = xy.xs[0]->Value;
        values[1] = xy.ys[0]->Value;
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyPairToArray)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv, {{"BM_XYPoll", "BM_CopyPairToArray"}});
}
