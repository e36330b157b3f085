#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "database/CDatasetEvent.h"
#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/OverAdvancedPageModel.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CReadingQuery.h"
#include "scan/CRunRecord.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/strip/StripFakes.h"

namespace {

using namespace graphicstest;

// A document with readings by channel and an event log.
class StripDocument : public FakeGraphDocument {
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
    double GetRunStartTime() const override { return 0.0; }
    double GetRunEndTime() const override { return runEnd; }
    double GetRunTime() const override { return runTime; }
    void GetScanChannelList(std::vector<std::string>& labels,
                            std::vector<std::uint32_t>& numbers) const override {
        for (const CChannelInfo& c : channels) {
            labels.push_back(c.Label + " " + c.Name);
            numbers.push_back(static_cast<std::uint32_t>(c.Number));
        }
    }
    std::string ExportReadingsText(const CReadingQuery& q) override {
        queries.push_back(q);
        return "text";
    }
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
    std::vector<CReadingQuery> queries;
    double runEnd = 0.0;
    double runTime = 0.0;
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
    displays::Windows<IStripChartWindows>::Scoped install{&windows};
    FakeViewWindow window;
    StripDocument doc;
    CGraphView view{&window, &doc};
};

TEST_F(StripChartFrameTest, ANewStripChartHasItsDefaults) {
    // The family registers its frame under Graphics > Strip Chart.
    EXPECT_EQ(graphfactory::FrameClassOf(700), "CXrtOverlayFrame");
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
    for (int percent : {25, 29, 57, 100}) {
        frame->SetRelativeReset(percent);
        EXPECT_EQ(frame->GetRelativeReset(), percent);
    }
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

TEST_F(StripChartFrameTest, ASizeChangeKeepsThePanelAndLegendAtTheBottomAndThePlotAbove) {
    CXrtOverlayFrame* frame = NewChart();
    frame->DropLegendEdge(windows.legend->rect.bottom - 22 - 3 * 22); // three rows
    ASSERT_EQ(frame->GetLegendRows(), 3);
    // Smaller, larger, then smaller again, each time from where the last left it.
    for (const GRect& size :
         {GRect{0, 0, 420, 330}, GRect{0, 0, 760, 640}, GRect{10, 20, 370, 320}}) {
        SCOPED_TRACE(size.Width());
        frame->GetWindow()->MoveWindow(size, true);
        frame->OnSize(true);
        const GRect client = frame->GetWindow()->GetClientRect();
        const GRect panel = windows.panel->rect;
        const GRect legend = windows.legend->rect;
        const GRect plot = windows.plot->rect;
        const GRect data = frame->CGraphFrame::GetDataRect(); // the client less border and title
        EXPECT_EQ(panel.bottom, data.bottom);
        EXPECT_LE(panel.bottom, client.bottom);
        EXPECT_EQ(panel.Height(), CXrtOverlayFrame::kPanelHeight);
        EXPECT_EQ(legend.bottom, panel.top);
        EXPECT_EQ(legend.Height(), frame->LegendHeight());
        EXPECT_EQ(legend.left, panel.left);
        EXPECT_EQ(legend.right, panel.right);
        EXPECT_LE(panel.right, client.right);
        EXPECT_LE(plot.bottom, legend.top);
        EXPECT_LE(plot.right, client.right);
        EXPECT_GT(plot.Height(), 0);
    }
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

namespace {

TEST_F(StripChartFrameTest, TheAdvancedPageShowsTheChartsSettingsAndAppliesThemOnOk) {
    CXrtOverlayFrame* frame = NewChart();
    OverAdvancedPageModel page(*frame);
    const OverAdvancedPageModel::Values v = page.Init();
    EXPECT_EQ(v.maxScans, 1000);
    EXPECT_EQ(v.relativeReset, 1);
    EXPECT_EQ(v.style, 1);
    EXPECT_TRUE(v.grid);
    EXPECT_EQ(v.updateRate, 1);
    EXPECT_EQ(page.HelpId(), 11301);
    EXPECT_EQ(page.Items().front(), "Data");
    EXPECT_EQ(page.SymbolIndex(0), 1); // "Circle"
    EXPECT_EQ(page.SizeIndex(0), 3);
    EXPECT_EQ(page.Sizes().size(), 8u);

    // Symbols, style and grid apply at once.
    page.SetSymbol(CXrtOverlayPlot::kEvent, 4, 5);
    EXPECT_EQ(frame->GetPlot()->GetPointStyleName(CXrtOverlayPlot::kEvent), "Triangle");
    EXPECT_EQ(frame->GetPlot()->GetPointSize(CXrtOverlayPlot::kEvent), 6);
    page.SetGrid(false);
    EXPECT_FALSE(frame->GetPlot()->GetGrid());
    page.SetStyle(0);
    EXPECT_EQ(frame->GetPlotStyle(), 0);

    // The numbers only on OK, and only within their ranges.
    OverAdvancedPageModel::Field field;
    std::string message;
    const struct {
        int scans, reset;
        OverAdvancedPageModel::Field field;
    } refused[] = {{99, 1, OverAdvancedPageModel::kMaxScansField},
                   {5001, 1, OverAdvancedPageModel::kMaxScansField},
                   {1000, 0, OverAdvancedPageModel::kResetField},
                   {1000, 101, OverAdvancedPageModel::kResetField}};
    for (const auto& r : refused) {
        OverAdvancedPageModel::Values bad = v;
        bad.maxScans = r.scans;
        bad.relativeReset = r.reset;
        EXPECT_FALSE(page.Apply(bad, field, message));
        EXPECT_EQ(field, r.field);
        EXPECT_NE(message.find("Please enter an integer between"), std::string::npos);
    }
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 1000);
    const int resends = doc.resends;
    ASSERT_TRUE(page.Apply(v, field, message)); // the same maximum: no refresh
    EXPECT_EQ(doc.resends, resends);
    OverAdvancedPageModel::Values changed = v;
    changed.maxScans = 300;
    changed.relativeReset = 40;
    changed.updateRate = 7;
    ASSERT_TRUE(page.Apply(changed, field, message));
    EXPECT_EQ(frame->GetMaxScansDisplayed(), 300);
    EXPECT_EQ(frame->GetRelativeReset(), 40);
    EXPECT_EQ(frame->GetUpdateRate(), 7);
}

} // namespace

namespace {

TEST_F(StripChartFrameTest, CopyingDataTakesTheVisibleWindowWithinTheDataset) {
    CXrtOverlayFrame* frame = NewChart();
    EXPECT_EQ(frame->CopyDisplayedData(), ""); // no readings: nothing
    EXPECT_TRUE(doc.queries.empty());
    doc.readings = 10;
    frame->OnSetChannel(2, CXrtOverlayFrame::ToOverlay(doc.channels[2]));
    frame->GetPlot()->SetWindowEnd(5000000.0);
    doc.runEnd = 4000000.0; // the window reaches past the dataset's end
    EXPECT_EQ(frame->CopyDisplayedData(), "text");
    ASSERT_EQ(doc.queries.size(), 1u);
    const CReadingQuery& q = doc.queries[0];
    EXPECT_DOUBLE_EQ(q.m_startTime, 5000000.0 - 1200000.0);
    EXPECT_DOUBLE_EQ(q.m_endTime, 4000000.0);
    EXPECT_EQ(q.m_selectedNumbers, (std::vector<std::uint32_t>{101, 103}));
    EXPECT_EQ(q.m_separator, '\t');
    EXPECT_EQ(q.m_destination, CReadingQuery::kToClipboard);
}

TEST_F(StripChartFrameTest, ALoadedDatasetKeepsTheScansTheWindowShows) {
    CXrtOverlayFrame* frame = NewChart();
    doc.calls.clear();
    doc.runTime = 0.0;
    frame->OnRetainHint();
    doc.runTime = 1000.0; // a scan a second: 1200 scans in 20 minutes
    frame->OnRetainHint();
    EXPECT_EQ(doc.calls, (std::vector<std::string>{"retain22", "retain1800"}));
}

// A chart read back lays its marker lines out where they were stored: once
// copied, copy after copy stores the same archive.
TEST_F(StripChartFrameTest, CopiesOfACopyStoreTheSameArchive) {
    CXrtOverlayFrame* chart = NewChart();
    ASSERT_NE(chart, nullptr);
    chart->OnSetChannel(1, CXrtOverlayFrame::ToOverlay(doc.channels[1]));
    Bytes first;
    Bytes bytes = CGraphView::StoreFrame(*chart);
    for (int copy = 1; copy <= 3; ++copy) {
        SCOPED_TRACE(copy);
        auto loaded = CGraphView::LoadFrame(bytes);
        ASSERT_NE(loaded, nullptr);
        CGraphFrame* pasted = loaded.get();
        ASSERT_TRUE(view.AddFrame(loaded.release(), chart->m_rect));
        bytes = CGraphView::StoreFrame(*pasted);
        if (copy == 1)
            first = bytes;
        EXPECT_TRUE(bytes == first);
    }
}

// Sizes no window can draw, stored in a strip chart, are refused when the
// chart is read back, by the archive and by Edit Paste, before anything is
// drawn with them.
TEST_F(StripChartFrameTest, AStoredChartWithSizesNoWindowDrawsIsRefused) {
    const auto damaged =
        std::vector<std::pair<const char*, std::function<void(CXrtOverlayFrame&)>>>{
            {"point size -100",
             [](CXrtOverlayFrame& f) {
                 f.GetPlot()->SetPointStyle(CXrtOverlayPlot::kData, 1, -100);
             }},
            {"point size 3e9",
             [](CXrtOverlayFrame& f) {
                 f.GetPlot()->SetPointStyle(CXrtOverlayPlot::kEvent, 1,
                                            static_cast<int>(3000000000u));
             }},
            {"text style of -100 points",
             [](CXrtOverlayFrame& f) { f.m_textStyle->m_points = -100; }},
            {"font 3e9 pixels high",
             [](CXrtOverlayFrame& f) {
                 LOGFONT lf = f.m_font.GetLogFont();
                 lf.lfHeight = static_cast<std::int32_t>(3000000000u);
                 f.m_font.SetLogFont(lf);
             }},
            {"chart axis font 100000 pixels high, in the chart's stored state",
             [](CXrtOverlayFrame& f) {
                 tvane::chart::ChartFont font;
                 font.height = 100000;
                 f.GetPlot()->GetChart()->SetFont(0x800, font);
             }},
            {"panel font 100000 pixels wide",
             [](CXrtOverlayFrame& f) {
                 LOGFONT lf = f.GetPanel()->GetFont().GetLogFont();
                 lf.lfWidth = 100000;
                 f.GetPanel()->GetFont().SetLogFont(lf);
             }},
        };
    for (const auto& [what, damage] : damaged) {
        SCOPED_TRACE(what);
        CXrtOverlayFrame* chart = NewChart();
        ASSERT_NE(chart, nullptr);
        damage(*chart);
        const Bytes bytes = CGraphView::StoreFrame(*chart);
        try {
            Load(bytes, [](tvane::CArchive& ar) { CDisplayToClipboard().Serialize(ar); });
            ADD_FAILURE() << "loaded";
        } catch (const tvane::CArchiveException& e) {
            EXPECT_EQ(e.GetCause(), tvane::CArchiveException::generic) << e.what();
        }
        FakeClipboard clipboard;
        clipboard.archive = bytes;
        view.SetClipboard(&clipboard);
        const int displays = view.GetFrameCount();
        prompter = {};
        EXPECT_FALSE(view.Paste(false));
        EXPECT_EQ(view.GetFrameCount(), displays);
        ASSERT_FALSE(prompter.asked.empty());
        EXPECT_EQ(prompter.asked.back().text, "Unable to perform edit paste operation");
        view.SetClipboard(nullptr);
    }

    // A chart style of a line 3e9 pixels wide in the chart's stored state.
    tvane::chart::ChartStyle style;
    style.lineWidth = 3000000000u;
    const Bytes styleBytes =
        Store([&](tvane::CArchive& ar) { CXrtGraph::SerializeStyleRecord(ar, style); });
    tvane::chart::ChartStyle read;
    EXPECT_THROW(
        Load(styleBytes, [&](tvane::CArchive& ar) { CXrtGraph::SerializeStyleRecord(ar, read); }),
        tvane::CArchiveException);
    EXPECT_EQ(read, tvane::chart::ChartStyle{});
}

// A chart data archive is read only as far as its sizes are believable: an
// absurd series count is refused before anything is made for it.
TEST(ChartDataArchive, AnAbsurdSeriesCountIsRefusedBeforeAnyAllocation) {
    ByteWriter w;
    w.U32(0).U32(2).U32(3000000).U32(0).F64(9.9e37);
    CXrtGraphData data;
    try {
        Load(w.bytes, [&](tvane::CArchive& ar) { data.Serialize(ar); });
        ADD_FAILURE() << "loaded";
    } catch (const tvane::CArchiveException& e) {
        EXPECT_NE(std::string(e.what()).find("series"), std::string::npos) << e.what();
    }
    EXPECT_EQ(data.GetData(), nullptr);
    EXPECT_EQ(tvane::chart::ChartData::Make(2, tvane::chart::ChartData::kMaxSeries + 1, 0),
              nullptr);
}

} // namespace
