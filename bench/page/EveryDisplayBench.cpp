// A graphics page holding one display of every type the Graphics menu makes
// (those built), fed by a scan of 20 channels:
//   Update: one poll's new readings (one scan of the 20 channels) handed to
//           every display of the page, after 1,000 and after 1,000,000 scans,
//           against copying the same readings into a plain array. The cost must
//           not grow with the run.
//   Repaint: the whole page drawn into an image, as after updates (at most 25
//           times a second).
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"
#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDocument.h"
#include "graphics/view/CGraphViewWnd.h"
#include "scan/CChannelArray.h"
#include "scan/records/ReadingRecord.h"
#include "shared/DocumentHints.h"

namespace {

constexpr int kChannels = 20;

// The document as the displays read it: the setup's 20 channels and each
// channel's readings of the last poll.
class ScanDocument : public IGraphDocument {
public:
    ScanDocument() {
        for (int c = 0; c < kChannels; ++c) {
            CChannelInfo info;
            info.Number = 101 + c;
            info.Label = "<" + std::to_string(info.Number) + ">";
            info.Name = "Channel " + std::to_string(c + 1);
            info.Units = "VDC";
            channels.push_back(info);
        }
        readings.resize(kChannels);
    }
    bool HasReadings() const override { return false; }
    std::int64_t GetReadingCount() const override { return scan * kChannels; }
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        const int c = channel - 101;
        if (c < 0 || c >= kChannels)
            return 0;
        out.push_back(const_cast<ReadingRecord*>(&readings[static_cast<std::size_t>(c)]));
        return 1;
    }
    std::string ExportReadingsText(const CReadingQuery&) override { return {}; }
    bool IsScanning() const override { return true; }
    double GetStartTick() const override { return 0.0; }
    double GetRunStartTime() const override { return 0.0; }
    double GetRunEndTime() const override { return scan * 100.0; }
    double GetRunTime() const override { return scan * 100.0; }
    std::int32_t GetTerminationCode() const override { return 0; }
    std::string GetFormat(Format) const override { return "%H:%M:%S"; }
    std::string FormatReadingTime(double time) override {
        return std::to_string(static_cast<long long>(time));
    }
    void FillChannelInfoArray(CChannelArray& out, std::uint32_t, bool) const override {
        for (const CChannelInfo& c : channels)
            out.Add(new CChannelInfo(c));
    }
    void GetScanChannelList(std::vector<std::string>&, std::vector<std::uint32_t>&) const override {
    }
    void ShowEventInLog(const CDatasetEvent&) override {}
    bool DoInstrumentAction(CReadingInfo&, bool) override { return true; }
    void RaiseFrameCounter(std::uint32_t) override {}
    void AddViewFlags(std::uint32_t) override {}
    void ResendData(IView& target) override { target.OnUpdate(nullptr, HINT_NEW_READINGS, {}); }
    bool GetPreference(int) const override { return true; }

    // The next scan's readings.
    void NextScan() {
        ++scan;
        for (int c = 0; c < kChannels; ++c) {
            ReadingRecord& r = readings[static_cast<std::size_t>(c)];
            r.ScanNumber = static_cast<std::int32_t>(scan);
            r.Channel = static_cast<std::int16_t>(101 + c);
            r.Time = scan * 100.0;
            r.Value = std::sin(scan * 0.01 + c);
            r.AlarmState = scan % 97 == 0 ? 2 : 0;
        }
    }

    std::vector<CChannelInfo> channels;
    std::vector<ReadingRecord> readings;
    long scan = 0;
};

// The page with one display of every type built, each given its channels.
struct EveryDisplayPage {
    EveryDisplayPage()
        : page(
              &doc, [](IView*) {}, [](IView*) {}) {
        page.resize(1600, 1200);
        for (const graphfactory::DisplayCommand& command : graphfactory::DisplayCommands())
            if (!graphfactory::FrameClassOf(command.commandId).empty() &&
                page.Model().CreateDisplay(command.commandId)) {
                ++displays;
                // As many of the 20 channels as the display has slots.
                CGraphFrame* display = page.Model().GetSelected();
                for (int s = 1; s < display->GetChannelSlotCount() && s < kChannels; ++s)
                    display->SetChannelAt(s, &doc.channels[static_cast<std::size_t>(s)]);
            }
    }
    void Poll() {
        doc.NextScan();
        page.Model().OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }
    void Run(long scans) {
        while (doc.scan < scans)
            Poll();
    }

    ScanDocument doc;
    CGraphViewWnd page;
    int displays = 0;
};

EveryDisplayPage& Page() {
    static EveryDisplayPage page;
    return page;
}

void BM_PageUpdate(benchmark::State& state) {
    EveryDisplayPage& page = Page();
    page.Run(state.range(0));
    for (auto _ : state)
        page.Poll();
    state.counters["displays"] = page.displays;
    state.counters["scans"] = static_cast<double>(page.doc.scan);
}

void BM_PageRepaint(benchmark::State& state) {
    EveryDisplayPage& page = Page();
    page.Run(state.range(0));
    QApplication::processEvents();
    QImage image(page.page.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        page.page.render(&image);
        benchmark::ClobberMemory();
    }
}

void BM_CopyScanToArray(benchmark::State& state) {
    ScanDocument doc;
    std::vector<double> values(kChannels), times(kChannels);
    for (auto _ : state) {
        doc.NextScan();
        for (int c = 0; c < kChannels; ++c) {
            std::vector<ReadingRecord*> list;
            doc.GetChannelReadings(101 + c, list);
            values[static_cast<std::size_t>(c)] = list.back()->Value;
            times[static_cast<std::size_t>(c)] = list.back()->Time;
        }
        benchmark::DoNotOptimize(values.data());
        benchmark::DoNotOptimize(times.data());
    }
}

BENCHMARK(BM_PageUpdate)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageRepaint)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PageUpdate)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyScanToArray)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv, {{"BM_PageUpdate", "BM_CopyScanToArray"}});
}
