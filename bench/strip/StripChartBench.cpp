// One poll of a strip chart of 8 channels that holds its full capacity of
// 5,000 scans, after 5,000 and after 1,000,000 scans were appended, and what
// a display then pays for it:
//   Update: 100 new readings of each channel staged and handed to the plot
//           (which drops as many old points as arrive), against copying the
//           same readings into a plain array.
//   Redraw: the full chart drawn into a 1000 x 400 image, as the window does
//           after updates (at most 25 times a second), beside the update of
//           the same chart.
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/displays/strip/OverlayStaging.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chartview/ChartRenderer.h"
#include "platform/chartview/QtTextMetrics.h"
#include "scan/records/ReadingRecord.h"

namespace {

constexpr int kChannels = 8;
constexpr int kCapacity = 5000;
constexpr int kPerPoll = 100;
constexpr double kInterval = 100.0; // ms between scans

class Parent : public IOverlayPlotParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return false; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
    void OnGraphTimeAxisChange(const CTimeAxisInfo&) override {}
    void OnChnlRangeInfoChange(int, const OverlayRange&) override {}
    void OnPositionEventLog(const CDatasetEvent&) override {}
    void OnObjectSelect() override {}
    void OnVertMarkerXValueChange(int) override {}
    void OnVertMarkerYValueChange(int) override {}
};

// A strip chart as the frame feeds it: 8 channels, capacity 5,000, a window
// wide enough to hold every point, both marker lines on.
struct Strip {
    Strip() : staging(&stagingData) {
        plot.Create(parent, {0, 0, 1000, 400}, nullptr);
        plot.SetCapacity(kCapacity);
        OverlayRange time = OverlayRange::TimeDefault();
        time.mantissa = 5;
        time.decade = 10.0;
        time.scale = 50.0; // 500 s: all 5,000 scans in the window
        plot.SetTimeRange(time);
        plot.GetChart()->SetWindowSize(1000, 400);
        for (int s = 0; s < kChannels; ++s) {
            plot.ResetRange(s);
            OverlayChannel c;
            c.number = 101 + s;
            plot.SetChannel(s, c, 0x00FF00 + s);
            channels[static_cast<std::size_t>(s)] = c.number;
        }
        plot.GetMarker()->FollowSeries(1, 0);
        plot.ShowMarker(1, true);
        staging.Reset();
        for (auto& list : records)
            list.resize(kPerPoll);
    }
    // The readings of the next poll, in the document's per-channel lists.
    void NextPoll() {
        for (int s = 0; s < kChannels; ++s) {
            for (int i = 0; i < kPerPoll; ++i) {
                ReadingRecord& r =
                    records[static_cast<std::size_t>(s)][static_cast<std::size_t>(i)];
                r.Channel = static_cast<std::int16_t>(101 + s);
                r.Time = (scan + i) * kInterval;
                r.Value = std::sin((scan + i) * 0.01 + s);
                r.AlarmState = (scan + i) % 97 == 0 ? 2 : 0;
            }
        }
        scan += kPerPoll;
    }
    void Poll() {
        NextPoll();
        staging.AddScans(staging.Stage(channels, lookup, plot));
        staging.Flush(plot);
    }
    void Run(long scans) {
        while (scan < scans)
            Poll();
    }

    Parent parent;
    CXrtOverlayPlot plot;
    CXrtGraphData stagingData{tvane::chart::ChartData::kGeneral, 8, kCapacity};
    OverlayStaging staging;
    std::array<std::int32_t, 8> channels{};
    std::array<std::vector<ReadingRecord>, kChannels> records;
    long scan = 0;
    OverlayStaging::ReadingLookup lookup = [this](std::int32_t channel,
                                                  std::vector<ReadingRecord*>& out) {
        out.clear();
        for (auto& r : records[static_cast<std::size_t>(channel - 101)])
            out.push_back(&r);
        return static_cast<int>(out.size());
    };
};

void BM_StripChartUpdate(benchmark::State& state) {
    Strip strip;
    strip.Run(state.range(0));
    for (auto _ : state) {
        strip.Poll();
        benchmark::ClobberMemory();
    }
    state.counters["points"] = strip.plot.GetTraces()->GetData()->Count(0);
}

void BM_StripChartRedraw(benchmark::State& state) {
    Strip strip;
    strip.plot.GetChart()->SetTextMetrics(&tvane::chart::QtTextMetrics::Instance());
    strip.Run(state.range(0));
    QImage image(1000, 400, QImage::Format_ARGB32_Premultiplied);
    tvane::chart::ChartRenderer renderer;
    for (auto _ : state) {
        QPainter painter(&image);
        renderer.Draw(painter, *strip.plot.GetChart(), QRectF(0, 0, 1000, 400));
    }
    state.counters["points"] = strip.plot.GetTraces()->GetData()->Count(0);
}

// The update and the redraw of each case side by side.
BENCHMARK(BM_StripChartUpdate)->Arg(kCapacity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripChartRedraw)->Arg(kCapacity)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripChartUpdate)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StripChartRedraw)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_CopyReadingsToArray(benchmark::State& state) {
    Strip strip;
    std::vector<double> times(kChannels * kPerPoll), values(kChannels * kPerPoll);
    for (auto _ : state) {
        strip.NextPoll();
        std::size_t k = 0;
        for (const auto& list : strip.records) {
            for (const ReadingRecord& r : list) {
                times[k] = r.Time;
                values[k] = r.Value;
                ++k;
            }
        }
        benchmark::DoNotOptimize(times.data());
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyReadingsToArray)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // The redraw needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv, {{"BM_StripChartUpdate", "BM_CopyReadingsToArray"}});
}
