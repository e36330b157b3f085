#pragma once
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "graphics/CGraphView.h"
#include "graphics/DisplayFamily.h"
#include "graphics/displays/indicator/IGaugeWindow.h"
#include "graphics/displays/indicator/RecordingDC.h"
#include "platform/core/Services.h"
#include "platform/ui/MessageBus.h"
#include "platform/ui/Prompter.h"
#include "scan/CChannelArray.h"
#include "scan/records/ReadingRecord.h"
#include "tests/graphics/GraphFakes.h"

namespace gaugetest {

// A gauge window that remembers what its display asked of it. Text measures
// 7 pixels a byte by 13.
class FakeGaugeWindow : public IGaugeWindow {
public:
    FakeGaugeWindow(IGaugeWindowClient& c, const GRect& r) : client(c), rect(r) {}
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    GRect GetClientRect() const override { return {0, 0, rect.Width(), rect.Height()}; }
    GRect GetRectInFrame() const override { return rect; }
    void Invalidate(const GRect* r, bool erase) override {
        invalidated.push_back(r ? std::optional<GRect>(*r) : std::nullopt);
        erased.push_back(erase);
    }
    void Update() override { ++updates; }
    void SetCapture() override { captured = true; }
    void ReleaseCapture() override { captured = false; }
    GPoint ToFrameClient(GPoint p) const override { return {p.x + rect.left, p.y + rect.top}; }
    std::optional<GPoint> MeasureText(const LOGFONT&, const std::string& text) const override {
        if (!measurable)
            return std::nullopt;
        return GPoint{7 * static_cast<int>(text.size()), 13};
    }
    void LayOut() override {
        RecordingDC dc(7, 13);
        client.Paint(dc, GetClientRect());
        ++layouts;
    }

    IGaugeWindowClient& client;
    GRect rect;
    std::vector<std::optional<GRect>> invalidated;
    std::vector<bool> erased;
    int updates = 0;
    int layouts = 0;
    bool captured = false;
    bool measurable = true;
};

class FakeGaugeWindows : public IGaugeWindows {
public:
    std::unique_ptr<IGaugeWindow> CreateGaugeWindow(IGraphFrameWindow&, IGaugeWindowClient& c,
                                                    const GRect& r) override {
        if (!canCreate)
            return nullptr;
        auto w = std::make_unique<FakeGaugeWindow>(c, r);
        made.push_back(w.get());
        return w;
    }
    // The window of that display's client, the last one made.
    FakeGaugeWindow* Of(const IGaugeWindowClient* c) const {
        for (auto it = made.rbegin(); it != made.rend(); ++it)
            if (&(*it)->client == c)
                return *it;
        return nullptr;
    }
    bool canCreate = true;
    std::vector<FakeGaugeWindow*> made; // not owned
};

// A document with a batch of readings per channel.
class ReadingsDocument : public graphicstest::FakeGraphDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        out.clear();
        auto it = batch.find(channel);
        if (it == batch.end())
            return 0;
        for (ReadingRecord& r : it->second)
            out.push_back(&r);
        return static_cast<std::int16_t>(out.size());
    }
    bool HasReadings() const override { return stored; }
    // The channels of those kinds, as the document lists them.
    void FillChannelInfoArray(CChannelArray& out, std::uint32_t mask,
                              bool activeOnly) const override {
        askedMask = mask;
        askedActiveOnly = activeOnly;
        for (const CChannelInfo& c : channels)
            if ((static_cast<std::uint32_t>(c.Kind) & mask) != 0 && (!activeOnly || c.Scanned))
                out.Add(new CChannelInfo(c));
    }
    void Add(std::int32_t channel, double value, std::uint8_t alarm = 0, std::int32_t scan = 1) {
        ReadingRecord r;
        r.ScanNumber = scan;
        r.Channel = static_cast<std::int16_t>(channel);
        r.AlarmState = alarm;
        r.Value = value;
        batch[channel].push_back(r);
    }
    mutable std::map<std::int32_t, std::vector<ReadingRecord>> batch;
    bool stored = false;
};

inline CChannelInfo Channel(std::int32_t number, std::int32_t kind, const std::string& name = {},
                            std::uint32_t mask = 1, const std::string& units = {}) {
    CChannelInfo c;
    c.Number = number;
    c.Kind = kind;
    c.Name = name;
    c.Label = "<" + std::to_string(number) + ">";
    c.BitMask = mask;
    c.Units = units;
    return c;
}

// A graphics page over fakes, with gauge windows that record.
class GaugePage {
public:
    GaugePage() {
        graphgeo::FramePlacer::Program().SetCounter(0);
        view.SetClipboard(&clipboard);
    }
    ~GaugePage() { tvane::MessageBus::DeliverPosted(); }
    // A display made from its Graphics menu command, selected.
    template <class Frame> Frame* Add(unsigned command) {
        if (!view.CreateDisplay(command))
            return nullptr;
        return dynamic_cast<Frame*>(view.GetSelected());
    }
    // The document's answers to what the displays asked.
    void Deliver() { tvane::MessageBus::DeliverPosted(); }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeGaugeWindows gauges;
    displays::Windows<IGaugeWindows>::Scoped gaugeGuard{&gauges};
    graphicstest::FakeViewWindow window;
    ReadingsDocument doc;
    graphicstest::FakeClipboard clipboard;
    CGraphView view{&window, &doc};
};

} // namespace gaugetest
