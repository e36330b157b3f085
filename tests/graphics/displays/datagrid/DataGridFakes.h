#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/DisplayFamily.h"
#include "graphics/displays/datagrid/CGridFrame.h"
#include "scan/CReadingQuery.h"
#include "tests/graphics/GraphFakes.h"

namespace graphicstest {

class FakeGridWindow : public IDataGridWindow {
public:
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    GRect GetRectInFrame() const override { return rect; }
    int GetTopRow() const override { return top; }
    void FitColumn(int col, const std::vector<std::string>& texts) override { fitted[col] = texts; }

    GRect rect;
    int redraws = 0;
    int top = 1;
    std::map<int, std::vector<std::string>> fitted;
};

// The data grids' windows of the test while it lives: fakes that remember
// where they were put and what was drawn (the rectangle and first row).
class FakeDataGridWindows : public IDataGridWindows {
public:
    std::unique_ptr<IDataGridWindow> CreateGridWindow(IGraphFrameWindow&, CDataGrid&,
                                                      const GRect& r) override {
        auto window = std::make_unique<FakeGridWindow>();
        window->rect = r;
        last = window.get();
        return window;
    }
    int DrawGrid(IGraphDC&, CDataGrid& grid, const GRect& rect, int first) override {
        drawn.push_back({rect, first});
        const int rows = rect.Height() / CDataGrid::kRowPixels - 1;
        return std::min(grid.RowCount(), first + std::max(rows, 1) - 1);
    }
    struct Drawn {
        GRect rect;
        int first = 0;
    };

    FakeGridWindow* last = nullptr;
    std::vector<Drawn> drawn;

private:
    displays::Windows<IDataGridWindows>::Scoped m_scope{this};
};

// A document with readings by channel, newest last, that keeps the queries
// of its text export.
class ReadingsDocument : public FakeGraphDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        auto it = byChannel.find(channel);
        if (it == byChannel.end())
            return 0;
        for (const ReadingRecord& r : it->second)
            out.push_back(const_cast<ReadingRecord*>(&r));
        return static_cast<std::int16_t>(it->second.size());
    }
    std::string ExportReadingsText(const CReadingQuery& query) override {
        queries.push_back(query);
        return "exported";
    }
    void GetScanChannelList(std::vector<std::string>& labels,
                            std::vector<std::uint32_t>& numbers) const override {
        labels = {"<101> a", "<102> b"};
        numbers = {101, 102};
    }
    void Add(std::int32_t scan, std::int16_t channel, double value, double time,
             std::uint8_t alarm = 0) {
        ReadingRecord r;
        r.ScanNumber = scan;
        r.Channel = channel;
        r.Value = value;
        r.Time = time;
        r.AlarmState = alarm;
        byChannel[channel].push_back(r);
    }

    std::map<std::int32_t, std::vector<ReadingRecord>> byChannel;
    std::vector<CReadingQuery> queries;
};

inline CChannelInfo GridChannel(std::int32_t number, const std::string& name,
                                const std::string& units = "VDC") {
    CChannelInfo c;
    c.Number = number;
    c.Label = "<" + std::to_string(number) + ">";
    c.Name = name;
    c.Units = units;
    return c;
}

} // namespace graphicstest
