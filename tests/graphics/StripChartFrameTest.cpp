#include <gtest/gtest.h>

#include <map>

#include "GraphFakes.h"
#include "GraphicsTestSupport.h"
#include "app/DocumentHints.h"
#include "database/CDatasetEvent.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/CXrtOverlayFrame.h"
#include "graphics/GraphFactory.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CRunRecord.h"

namespace {

using namespace graphicstest;

// Child windows that remember where they were put.
struct FakeChild : IStripChildWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    void SetFocus() override { ++focused; }
    GRect GetRectInFrame() const override { return rect; }
    GRect rect;
    int redraws = 0;
    int focused = 0;
};

class FakeStripWindows : public IStripChartWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CXrtOverlayPlot&,
                                                   tvane::chart::Chart&, const GRect& r) override {
        auto w = std::make_unique<FakeChild>();
        w->rect = r;
        plot = w.get();
        return w;
    }
    std::unique_ptr<IStripChildWindow> CreatePanelWindow(IGraphFrameWindow&, COverlayCtrlPanel&,
                                                         const GRect& r) override {
        return Make(r, panel);
    }
    std::unique_ptr<IStripChildWindow> CreateLegendWindow(IGraphFrameWindow&, CLegendGrid&,
                                                          const GRect& r) override {
        return Make(r, legend);
    }
    std::unique_ptr<IStripChildWindow> CreateTextWindow(IGraphFrameWindow&, CTextDisplay&,
                                                        const GRect& r) override {
        return Make(r, text);
    }
    bool DrawChildren(IGraphDC&, CXrtOverlayFrame&) override { return ++draws > 0; }
    std::unique_ptr<IStripChildWindow> Make(const GRect& r, FakeChild*& keep) {
        auto w = std::make_unique<FakeChild>();
        w->rect = r;
        keep = w.get();
        return w;
    }
    FakeChild* plot = nullptr;
    FakeChild* panel = nullptr;
    FakeChild* legend = nullptr;
    FakeChild* text = nullptr;
    int draws = 0;
};

// A document with readings by channel and an event log.
class StripDocument : public FakeGraphDocument, public IStripChartDocument {
public:
    std::int16_t GetChannelReadings(std::int32_t channel,
                                    std::vector<ReadingRecord*>& out) const override {
        out.clear();
        auto it = batch.find(channel);
        if (it == batch.end())
            return 0;
        for (const ReadingRecord& r : it->second)
            out.push_back(const_cast<ReadingRecord*>(&r));
        return static_cast<std::int16_t>(out.size());
    }
    void ShowEventInLog(const CDatasetEvent& event) override { shown.push_back(event); }
    void Scan(int scan, double time) {
        batch.clear();
        for (const CChannelInfo& c : channels) {
            ReadingRecord r;
            r.ScanNumber = scan;
            r.Channel = static_cast<std::int16_t>(c.Number);
            r.Time = time;
            r.Value = scan % 2 ? 1.0 : -1.0;
            r.AlarmState = scan == 3 ? 2 : 0;
            batch[c.Number].push_back(r);
        }
    }
    std::map<int, std::vector<ReadingRecord>> batch;
    std::vector<CDatasetEvent> shown;
};

class StripChartFrameTest : public ::testing::Test {
protected:
    StripChartFrameTest() {
        for (int n : {101, 102, 103}) {
            CChannelInfo c;
            c.Number = n;
            c.Label = "<" + std::to_string(n) + ">";
            c.Name = "Ch" + std::to_string(n);
            c.Units = "VDC";
            doc.channels.push_back(c);
        }
        window.client = {0, 0, 800, 600};
    }
    CXrtOverlayFrame* NewChart() {
        EXPECT_TRUE(view.CreateDisplay(700));
        return dynamic_cast<CXrtOverlayFrame*>(view.GetSelected());
    }
    int Points(CXrtOverlayFrame& f, int slot) {
        return f.GetPlot()->GetTraces()->GetData()->Count(slot);
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeStripWindows windows;
    struct Install {
        explicit Install(IStripChartWindows* w) { SetStripChartWindows(w); }
        ~Install() { SetStripChartWindows(nullptr); }
    } install{&windows};
    FakeViewWindow window;
    StripDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(StripChartFrameTest, ANewStripChartHasItsDefaults) {
    CXrtOverlayFrame* frame = NewChart();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "Strip Chart");
    EXPECT_EQ(frame->GetLegendRows(), 2);
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 1000);
    EXPECT_EQ(frame->GetUpdateRate(), 1);
    ASSERT_TRUE(frame->GetRange(0).has_value());
    EXPECT_EQ(frame->GetRange(0)->channel.number, 101);
    EXPECT_FALSE(frame->GetRange(1).has_value());
    EXPECT_EQ(frame->GetLegend()->Text(1, CLegendGrid::kChannelCol), "<101> Ch101");
    const CTextDisplay& text = *frame->GetTextDisplay();
    EXPECT_EQ(text.Label(0, 1)->Text(), "Time/Div: 02:00min");
    EXPECT_EQ(text.Label(0, 0)->Text(), "time");
    EXPECT_EQ(text.Label(0, 2)->Text(), "time");
    EXPECT_EQ(frame->GetHelpId(3), 11301);
    // Panel at the bottom, the legend of two rows above it, the plot above both.
    ASSERT_NE(windows.panel, nullptr);
    EXPECT_EQ(windows.legend->rect.bottom, windows.panel->rect.top);
    EXPECT_EQ(windows.legend->rect.Height(), 2 * 22 + 22);
    EXPECT_LE(windows.plot->rect.bottom, windows.legend->rect.top);
    EXPECT_EQ(windows.text->rect.top, windows.plot->rect.bottom);
}

TEST_F(StripChartFrameTest, WithAnUpdateRateOfFiveThePlotChangesEveryFifthScan) {
    CXrtOverlayFrame* frame = NewChart();
    frame->SetUpdateRate(5);
    for (int scan = 1; scan <= 9; ++scan) {
        doc.Scan(scan, 1000.0 * scan);
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
        EXPECT_EQ(Points(*frame, 0), scan < 5 ? 0 : 5) << scan;
    }
    doc.Scan(10, 10000.0);
    view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    EXPECT_EQ(Points(*frame, 0), 10);
    const auto& d = *frame->GetPlot()->GetTraces()->GetData();
    EXPECT_DOUBLE_EQ(d.X(0, 9), 10000.0);
    // The high alarm of scan 3 is a point of the high-alarm series.
    EXPECT_EQ(frame->GetPlot()->GetMarks()->GetData()->Count(8), 1);
}

TEST_F(StripChartFrameTest, TheMaximumScansDisplayedReplacesTheDataOnlyWhenItChanges) {
    CXrtOverlayFrame* frame = NewChart();
    const int resends = doc.resends;
    EXPECT_TRUE(frame->SetMaxScansDisplayed(1000));
    EXPECT_EQ(doc.resends, resends);
    EXPECT_TRUE(frame->SetMaxScansDisplayed(200));
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 200);
    EXPECT_EQ(frame->GetReadingData()->GetCapacity(), 200);
    EXPECT_EQ(frame->GetPlot()->AlarmFlags(7).size(), 200u);
    frame->SetRelativeReset(25);
    EXPECT_EQ(frame->GetRelativeReset(), 25);
    frame->SetPlotStyle(2);
    EXPECT_EQ(frame->GetPlotStyle(), 2);
}

TEST_F(StripChartFrameTest, TheLegendEdgeDragsBetweenOneAndEightRows) {
    CXrtOverlayFrame* frame = NewChart();
    const GRect legend = windows.legend->rect;
    EXPECT_TRUE(frame->IsOnLegendEdge(legend.top - 2));
    EXPECT_FALSE(frame->IsOnLegendEdge(legend.top + 2));
    frame->DropLegendEdge(-1000); // the frame's default height holds fewer than 8
    EXPECT_LT(frame->GetLegendRows(), 8);
    EXPECT_GE(windows.legend->rect.top, 120);
    frame->GetWindow()->MoveWindow({0, 0, 600, 700}, true);
    frame->LayoutChildren();
    frame->DropLegendEdge(-1000);
    EXPECT_EQ(frame->GetLegendRows(), 8);
    EXPECT_GE(windows.legend->rect.top, 120);
    frame->DropLegendEdge(10000);
    EXPECT_EQ(frame->GetLegendRows(), 1);
    EXPECT_EQ(windows.legend->rect.Height(), 22 + 22);
}

TEST_F(StripChartFrameTest, StoringAndLoadingKeepsTheLegendRowsAndRanges) {
    CXrtOverlayFrame* frame = NewChart();
    frame->DropLegendEdge(windows.legend->rect.bottom - 22 - 4 * 22);
    ASSERT_EQ(frame->GetLegendRows(), 4);
    frame->OnSetChannel(2, CXrtOverlayFrame::ToOverlay(doc.channels[2]));
    const auto bytes = CGraphView::StoreFrame(*frame);
    auto loaded = CGraphView::LoadFrame(bytes);
    auto* strip = dynamic_cast<CXrtOverlayFrame*>(loaded.get());
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->GetLegendRows(), 4);
    ASSERT_TRUE(strip->GetRange(2).has_value());
    EXPECT_EQ(strip->GetRange(2)->channel.number, 103);
    EXPECT_FALSE(strip->GetRange(1).has_value());
    ASSERT_TRUE(view.AddFrame(loaded.release(), {20, 20, 500, 400}));
    ASSERT_NE(strip->GetPlot()->GetChart(), nullptr);
    EXPECT_EQ(strip->GetLegend()->Text(3, CLegendGrid::kChannelCol), "<103> Ch103");
}

TEST_F(StripChartFrameTest, MarkersShowTheirChannelAndAPickPositionsTheEventLog) {
    CXrtOverlayFrame* frame = NewChart();
    frame->GetLegend()->ClickCell(1, CLegendGrid::kMarker1Col);
    EXPECT_TRUE(frame->GetPlot()->GetMarker()->IsVisible(1));
    EXPECT_EQ(frame->GetPanel()->Text(COverlayCtrlPanel::kY1Channel), "(101)");
    frame->GetLegend()->ClickCell(1, CLegendGrid::kMarker1Col);
    EXPECT_FALSE(frame->GetPlot()->GetMarker()->IsVisible(1));
    EXPECT_EQ(frame->GetPanel()->Text(COverlayCtrlPanel::kY1Channel), "");

    CDatasetEvent picked(CDatasetEvent::HighLimit, 101, 5000.0);
    frame->OnPositionEventLog(picked);
    ASSERT_EQ(doc.shown.size(), 1u);
    EXPECT_EQ(doc.shown[0].m_channel, 101);
}

TEST_F(StripChartFrameTest, ScanStartsClearThePlotAndEventsMarkIt) {
    CXrtOverlayFrame* frame = NewChart();
    doc.Scan(1, 1000.0);
    view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    ASSERT_EQ(Points(*frame, 0), 1);
    view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(Points(*frame, 0), 0);
    CDatasetEvent note(CDatasetEvent::User, -1, 2500.4);
    view.OnUpdate(nullptr, HINT_READING, HintObject(&note));
    const auto& marks = *frame->GetPlot()->GetMarks()->GetData();
    ASSERT_EQ(marks.Count(CXrtOverlayPlot::kEventSeries), 1);
    EXPECT_DOUBLE_EQ(marks.X(CXrtOverlayPlot::kEventSeries, 0), 2500.0);
    view.OnUpdate(nullptr, HINT_EVENTS_CHANGED, HintObject(&note));
    EXPECT_EQ(marks.Y(CXrtOverlayPlot::kEventSeries, 0), 9.9e37);
}

TEST_F(StripChartFrameTest, AppearanceItemsReachThePlotLegendAndText) {
    CXrtOverlayFrame* frame = NewChart();
    GRAPHITEMPROPS range;
    range.mask = GRAPHITEMPROPS::kItemRange;
    ASSERT_TRUE(frame->GetAppearanceItem(0, range));
    EXPECT_EQ(range.itemCount, 13);
    GRAPHITEMPROPS event;
    event.mask = GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kName;
    ASSERT_TRUE(frame->GetAppearanceItem(9, event));
    EXPECT_EQ(event.itemName, "Event");
    EXPECT_EQ(event.color, 0xFFFFFFu);
    GRAPHITEMPROPS grid;
    grid.mask = GRAPHITEMPROPS::kColor;
    grid.color = 0x00FF00;
    EXPECT_TRUE(frame->SetAppearanceItem(2, grid, false));
    EXPECT_EQ(frame->GetLegend()->GetBackground(), 0x00FF00);
    EXPECT_TRUE(frame->SetAppearanceItem(8, grid, false));
    EXPECT_EQ(frame->GetTextDisplay()->Label(0, 1)->GetColour(), 0x00FF00);
}

} // namespace
