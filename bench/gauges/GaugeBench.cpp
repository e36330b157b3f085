// One poll's update of a page holding one readout, one alarm light panel of
// ten lamps and one data light display of a port's 8 bits, after 1,000 and
// after 1,000,000 scans: the new-readings hint reaches the three displays,
// which take their channels' newest readings and mark what changed, against
// copying the same twelve readings into a plain array.
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include <benchmark/benchmark.h>

#include "bench/BenchRatios.h"
#include "graphics/displays/alarmlight/CLEDFrame.h"
#include "graphics/displays/datalight/CDataLEDFrame.h"
#include "graphics/displays/indicator/RecordingDC.h"
#include "graphics/displays/readout/CReadOutFrame.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/displays/indicator/GaugeFakes.h"

namespace {

constexpr int kAlarmChannels = 10;
constexpr int kReadings = kAlarmChannels + 2;

// A window that keeps nothing: repaints cost what the displays ask for.
class QuietWindow final : public IGaugeWindow {
public:
    explicit QuietWindow(IGaugeWindowClient& client) : m_client(client) {}
    void MoveWindow(const GRect&, bool) override {}
    GRect GetClientRect() const override { return {0, 0, 300, 100}; }
    GRect GetRectInFrame() const override { return {0, 16, 300, 116}; }
    void Invalidate(const GRect*, bool) override { ++marks; }
    void Update() override { ++updates; }
    void SetCapture() override {}
    void ReleaseCapture() override {}
    GPoint ToFrameClient(GPoint p) const override { return p; }
    std::optional<GPoint> MeasureText(const LOGFONT&, const std::string& text) const override {
        return GPoint{7 * static_cast<int>(text.size()), 13};
    }
    void LayOut() override {
        RecordingDC dc(7, 13);
        m_client.Paint(dc, GetClientRect());
    }
    long marks = 0, updates = 0;

private:
    IGaugeWindowClient& m_client;
};

class QuietWindows final : public IGaugeWindows {
public:
    std::unique_ptr<IGaugeWindow> CreateGaugeWindow(IGraphFrameWindow&, IGaugeWindowClient& client,
                                                    const GRect&) override {
        auto w = std::make_unique<QuietWindow>(client);
        made.push_back(w.get());
        return w;
    }
    long Marks() const {
        long n = 0;
        for (const QuietWindow* w : made)
            n += w->marks;
        return n;
    }
    std::vector<QuietWindow*> made; // not owned
};

// The page: channels 101..110 in the alarm lights, 101 in the readout, the
// port 301 in the data lights, in Scan mode.
struct Page {
    Page() {
        for (int c = 0; c < kAlarmChannels; ++c)
            page.doc.channels.push_back(gaugetest::Channel(101 + c, 1, "", 1, "VDC"));
        page.doc.channels.push_back(gaugetest::Channel(301, 0x400, "Port"));
        page.view.CreateDisplay(701);
        auto* alarms = page.Add<CLEDFrame>(32818);
        for (int c = 1; c < kAlarmChannels; ++c)
            alarms->SetChannelAt(c, &page.doc.channels[static_cast<std::size_t>(c)]);
        auto* lights = page.Add<CDataLEDFrame>(32885);
        lights->SetAcquisitionMode(CDataLEDWnd::kScan);
        lights->SetByteDisplay(true);
        page.Deliver();
        for (const CChannelInfo& c : page.doc.channels)
            page.doc.Add(c.Number, 0.0);
    }
    // The readings of the next scan, written where the document keeps them.
    void NextScan() {
        ++scan;
        for (auto& [channel, list] : page.doc.batch) {
            ReadingRecord& r = list.front();
            r.ScanNumber = scan;
            r.Time = scan * 100.0;
            r.Value = (scan + channel) % 256;
            r.AlarmState = static_cast<std::uint8_t>((scan / 7 + channel) % 3);
        }
    }
    void Poll() {
        NextScan();
        page.view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }

    QuietWindows windows;
    gaugetest::GaugePage page;
    displays::Windows<IGaugeWindows>::Scoped scoped{&windows};
    std::int32_t scan = 0;
};

void BM_GaugePoll(benchmark::State& state) {
    Page page;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        page.Poll();
    const long marks = page.windows.Marks();
    for (auto _ : state)
        page.Poll();
    state.SetItemsProcessed(state.iterations() * kReadings);
    // What the displays marked for repainting per poll: they did take the readings.
    state.counters["marks"] =
        static_cast<double>(page.windows.Marks() - marks) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GaugePoll)->Arg(1000)->Arg(1000000)->Unit(benchmark::kNanosecond);

// The baseline: the same twelve readings copied into an array.
void BM_CopyReadings(benchmark::State& state) {
    Page page;
    std::array<ReadingRecord, kReadings> copy{};
    for (std::int64_t i = 0; i < state.range(0); ++i)
        page.NextScan();
    for (auto _ : state) {
        page.NextScan();
        std::size_t i = 0;
        for (const auto& entry : page.page.doc.batch)
            std::memcpy(&copy[i++], &entry.second.front(), sizeof(ReadingRecord));
        benchmark::DoNotOptimize(copy);
    }
    state.SetItemsProcessed(state.iterations() * kReadings);
}
BENCHMARK(BM_CopyReadings)->Arg(1000)->Arg(1000000)->Unit(benchmark::kNanosecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithRatios(argc, argv, {{"BM_GaugePoll", "BM_CopyReadings"}});
}
