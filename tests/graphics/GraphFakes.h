#pragma once
#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/CDatasetEvent.h"
#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "scan/CChannelArray.h"
#include "scan/CReadingInfo.h"

namespace graphicstest {

class FakeFrameWindow : public IGraphFrameWindow {
public:
    explicit FakeFrameWindow(const GRect& r) : rect(r) {}
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    GRect GetWindowRect() const override { return rect; }
    GRect GetClientRect() const override { return {0, 0, rect.Width() - 4, rect.Height() - 4}; }
    GPoint ClientOrigin() const override { return {rect.left + 2, rect.top + 2}; }
    void Show(bool s) override { visible = s; }
    bool IsVisible() const override { return visible; }
    void Redraw(bool) override { ++redraws; }
    void InvalidateRect(const GRect& r) override { invalidated.push_back(r); }
    void SetSelectedLook(bool s) override { selectedLook = s; }
    void SetFocus() override { ++focused; }
    int TextWidth(const std::string& text) const override {
        return 7 * static_cast<int>(text.size());
    }

    GRect rect;
    bool visible = false;
    bool selectedLook = false;
    int redraws = 0;
    int focused = 0;
    std::vector<GRect> invalidated;
};

class FakeViewWindow : public IGraphViewWindow {
public:
    std::unique_ptr<IGraphFrameWindow> CreateFrameWindow(CGraphFrame&, const GRect& r,
                                                         int id) override {
        lastId = id;
        if (failCreate)
            return nullptr;
        auto w = std::make_unique<FakeFrameWindow>(r);
        stack.insert(stack.begin(), w.get());
        return w;
    }
    GRect GetClientRect() const override { return client; }
    int DpiX() const override { return dpi; }
    int DpiY() const override { return dpi; }
    void Invalidate() override { ++invalidations; }
    std::string GetTabName() const override { return tab; }
    void SetTabName(const std::string& name) override { tab = name; }
    std::vector<const IGraphFrameWindow*> WindowsTopDown() const override {
        return {stack.begin(), stack.end()};
    }
    void StackTopDown(const std::vector<const IGraphFrameWindow*>& windows) override {
        std::vector<const IGraphFrameWindow*> rest;
        for (const IGraphFrameWindow* w : stack)
            if (std::find(windows.begin(), windows.end(), w) == windows.end())
                rest.push_back(w);
        stack = windows;
        stack.insert(stack.end(), rest.begin(), rest.end());
    }
    bool RunPageProperties(std::uint32_t& color, std::string& name) override {
        if (!pageAnswer)
            return false;
        color = pageAnswer->first;
        name = pageAnswer->second;
        return true;
    }
    void SetFocusToPage() override { ++pageFocus; }
    std::uintptr_t SaveFocus() override { return ++focusSaves; }
    void RestoreFocus(std::uintptr_t token) override { restoredFocus = token; }
    void ReleaseCapture() override { ++captureReleases; }
    GPoint FullScreenClientSize() const override { return screen; }
    void SetScrollInfo(bool vertical, int range, int page, int pos) override {
        (vertical ? vBar : hBar) = {range, page, pos};
    }
    void ScrollContent(int dx, int dy) override {
        for (const IGraphFrameWindow* w : stack) {
            auto* frame = const_cast<FakeFrameWindow*>(static_cast<const FakeFrameWindow*>(w));
            frame->rect = frame->rect.Offset(dx, dy);
        }
    }
    struct Bar {
        int range = 0, page = 0, pos = 0;
        bool operator==(const Bar&) const = default;
    };

    GRect client{0, 0, 400, 300};
    GPoint screen{1024, 738};
    Bar vBar, hBar;
    int dpi = 96;
    int lastId = 0;
    bool failCreate = false;
    int invalidations = 0;
    int pageFocus = 0;
    std::uintptr_t focusSaves = 0;
    std::uintptr_t restoredFocus = 0;
    int captureReleases = 0;
    std::string tab = "Graphics Setup 1";
    std::optional<std::pair<std::uint32_t, std::string>> pageAnswer;
    std::vector<const IGraphFrameWindow*> stack; // top first
};

class FakeGraphDocument : public IGraphDocument {
public:
    bool HasReadings() const override { return readings > 0; }
    std::int64_t GetReadingCount() const override { return readings; }
    bool IsScanning() const override { return scanning; }
    void FillChannelInfoArray(CChannelArray& out, std::uint32_t mask,
                              bool activeOnly) const override {
        askedMask = mask;
        askedActiveOnly = activeOnly;
        for (const CChannelInfo& c : channels)
            if (!activeOnly || c.Scanned)
                out.Add(new CChannelInfo(c));
    }
    std::int16_t GetChannelReadings(std::int32_t, std::vector<ReadingRecord*>&) const override {
        return 0;
    }
    std::string GetFormat(Format f) const override { return "fmt" + std::to_string(int(f)); }
    std::string FormatReadingTime(double) override { return "time"; }
    double GetStartTick() const override { return 0.0; }
    std::int32_t GetTerminationCode() const override { return 2; }
    void RaiseFrameCounter(std::uint32_t v) override {
        calls.push_back("retain" + std::to_string(v));
    }
    void AddViewFlags(std::uint32_t b) override { calls.push_back("flags" + std::to_string(b)); }
    bool DoInstrumentAction(CReadingInfo& r, bool ask) override {
        actions.push_back(r);
        asks.push_back(ask);
        return true;
    }
    void ResendData(IView& target) override {
        ++resends;
        target.OnUpdate(nullptr, 3346, {});
    }
    bool GetPreference(int id) const override {
        auto it = preferences.find(id);
        return it == preferences.end() || it->second;
    }
    void ShowEventInLog(const CDatasetEvent& criteria) override { sought.push_back(criteria); }
    double GetRunStartTime() const override { return 0.0; }
    double GetRunEndTime() const override { return 0.0; }
    double GetRunTime() const override { return 0.0; }
    void GetScanChannelList(std::vector<std::string>&, std::vector<std::uint32_t>&) const override {
    }
    std::string ExportReadingsText(const CReadingQuery&) override { return {}; }

    std::int64_t readings = 0;
    bool scanning = false;
    std::vector<CChannelInfo> channels;
    mutable std::uint32_t askedMask = 0;
    mutable bool askedActiveOnly = false;
    std::vector<std::string> calls;
    std::vector<CReadingInfo> actions;
    std::vector<bool> asks;
    int resends = 0;
    std::map<int, bool> preferences;
    std::vector<CDatasetEvent> sought;
};

class FakeClipboard : public IGraphClipboard {
public:
    bool PutDisplay(const std::vector<std::uint8_t>& a, const std::string& t,
                    CGraphFrame* p) override {
        ++puts;
        if (!reachable)
            return false;
        archive = a;
        text = t;
        pictureOf = p;
        return true;
    }
    bool HasDisplay() const override { return archive.has_value(); }
    std::optional<std::vector<std::uint8_t>> GetDisplay() const override { return archive; }

    bool reachable = true;
    int puts = 0;
    std::optional<std::vector<std::uint8_t>> archive;
    std::string text;
    CGraphFrame* pictureOf = nullptr;
};

// Records what a frame draws.
class RecordingDC : public IGraphDC {
public:
    void Save() override { ops.push_back("save"); }
    void Restore() override { ops.push_back("restore"); }
    void Offset(int dx, int dy) override {
        ops.push_back("offset:" + std::to_string(dx) + "," + std::to_string(dy));
    }
    int NumColors() const override { return colors; }
    void FillRect(const GRect&, std::uint32_t) override { ops.push_back("fill"); }
    void Rectangle(const GRect& r, std::uint32_t) override {
        ops.push_back("rect");
        rects.push_back(r);
    }
    void Polygon(const std::vector<GPoint>&) override { ops.push_back("polygon"); }
    void Line(GPoint, GPoint, std::uint32_t) override { ops.push_back("line"); }
    void SetFont(const LOGFONT&) override {}
    int TextHeight() const override { return 10; }
    int TextWidth(const std::string& t) const override { return 6 * static_cast<int>(t.size()); }
    void Text(GPoint p, const std::string& t, std::uint32_t, const GRect*) override {
        ops.push_back("text:" + t);
        textPos.push_back(p);
    }
    void Ellipse(const GRect&, std::uint32_t, std::uint32_t) override { ops.push_back("ellipse"); }
    void Arc(const GRect&, GPoint, GPoint, std::uint32_t) override { ops.push_back("arc"); }
    void SetPixel(GPoint, std::uint32_t) override { ops.push_back("pixel"); }
    int colors = 0;
    std::vector<std::string> ops;
    std::vector<GRect> rects;
    std::vector<GPoint> textPos;
};

} // namespace graphicstest
