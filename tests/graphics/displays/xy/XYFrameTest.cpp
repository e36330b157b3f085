#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "graphics/CGraphView.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/xy/CXYFrame.h"
#include "graphics/displays/xy/XYPageModels.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CRunRecord.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/xy/XYTestDocument.h"

namespace {

using namespace graphicstest;
constexpr unsigned kXYPlot = 702;

// Child windows that remember where they were put.
struct FakeXYChild : IXYChildWindow, IChartWindow {
    void MoveWindow(const GRect& r, bool) override { rect = r; }
    void Redraw() override { ++redraws; }
    GRect GetRectInFrame() const override { return rect; }
    GRect rect;
    int redraws = 0;
};

class FakeXYWindows : public IXYWindows {
public:
    std::unique_ptr<IChartWindow> CreatePlotWindow(IGraphFrameWindow&, CXYPlot&,
                                                   tvane::chart::Chart&, const GRect& r) override {
        auto w = std::make_unique<FakeXYChild>();
        w->rect = r;
        plot = w.get();
        return w;
    }
    std::unique_ptr<IXYChildWindow> CreatePanelWindow(IGraphFrameWindow&, CXYCtrlPanel&,
                                                      const GRect& r) override {
        auto w = std::make_unique<FakeXYChild>();
        w->rect = r;
        panel = w.get();
        return w;
    }
    bool DrawPlot(IGraphDC&, CXYPlot&, const GRect&) override { return ++draws > 0; }
    FakeXYChild* plot = nullptr;
    FakeXYChild* panel = nullptr;
    int draws = 0;
};

// A document of three channels scanned together.
class XYDocument : public xytest::BatchDocument {
public:
    // As the document's reload: the start of the data, then every scan so far.
    void ResendData(IView& target) override {
        ++resends;
        CRunRecord reload;
        reload.m_kind = 3;
        target.OnUpdate(nullptr, HINT_EVENT, HintObject(&reload));
        const auto current = batch;
        batch = history;
        target.OnUpdate(nullptr, HINT_NEW_READINGS, {});
        batch = current;
    }
    // One scan: channel 101 reads scan, 102 reads 2 x scan + 1, 103 reads -scan.
    void Scan(int scan) {
        batch.clear();
        for (int channel : {101, 102, 103}) {
            const double value = channel == 101 ? scan : channel == 102 ? 2.0 * scan + 1.0 : -scan;
            history[channel].push_back(Add(channel, scan, value));
        }
    }
    std::map<int, std::vector<ReadingRecord>> history;
};

// Where two archives part, for a readable failure; empty when they are equal.
std::string FirstDifference(const Bytes& a, const Bytes& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return "byte " + std::to_string(i) + " of " + std::to_string(a.size()) + ": " +
                   std::to_string(a[i]) + " and " + std::to_string(b[i]);
    return a.size() == b.size()
               ? std::string()
               : "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size());
}

class XYFrameTest : public ::testing::Test {
protected:
    XYFrameTest() {
        graphgeo::FramePlacer::Program().SetCounter(0);
        for (int n : {101, 102, 103}) {
            CChannelInfo c;
            c.Number = n;
            c.Label = "<" + std::to_string(n) + ">";
            c.Name = "Ch" + std::to_string(n);
            c.Units = "VDC";
            c.RangeMin = -n;
            c.RangeMax = n;
            doc.channels.push_back(c);
        }
        window.client = {0, 0, 800, 600};
        view.SetClipboard(&clipboard);
    }
    ~XYFrameTest() override { tvane::MessageBus::DeliverPosted(); }
    CXYFrame* NewXY() {
        EXPECT_TRUE(view.CreateDisplay(kXYPlot));
        return dynamic_cast<CXYFrame*>(view.GetSelected());
    }
    // An XY display of channel 101 against 102.
    CXYFrame* NewPaired() {
        CXYFrame* frame = NewXY();
        frame->SetChannelAt(CXYFrame::kXChannel, &doc.channels[0]);
        frame->SetChannelAt(CXYFrame::kYChannel, &doc.channels[1]);
        return frame;
    }
    void Poll(int scan) {
        doc.Scan(scan);
        view.OnUpdate(nullptr, HINT_NEW_READINGS, {});
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeXYWindows windows;
    displays::Windows<IXYWindows>::Scoped install{&windows};
    FakeViewWindow window;
    XYDocument doc;
    FakeClipboard clipboard;
    CGraphView view{&window, &doc};
};

TEST_F(XYFrameTest, ANewXYDisplayHasItsDefaults) {
    CXYFrame* frame = NewXY();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->GetTitle(), "XY Plot");
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0), nullptr); // no channel by default
    EXPECT_EQ(frame->GetPointCount(), 100);
    EXPECT_EQ(frame->GetReadingData()->GetCapacity(), 100);
    EXPECT_EQ(frame->GetMinTrackSize().x, 475);
    for (int page : {0, 1, 2, 3, 7})
        EXPECT_EQ(frame->GetHelpId(page), page <= 3 ? 11004 + 100 * page : 11004) << page;
    // The panel along the bottom, the plot above it.
    ASSERT_NE(windows.panel, nullptr);
    const GRect data = frame->CGraphFrame::GetDataRect();
    EXPECT_EQ(windows.panel->rect.bottom, data.bottom);
    EXPECT_EQ(windows.panel->rect.Height(), CXYCtrlPanel::Height());
    EXPECT_LE(windows.plot->rect.bottom, windows.panel->rect.top);
    frame->GetWindow()->MoveWindow({0, 0, 600, 500}, true);
    frame->OnSize(true);
    EXPECT_EQ(windows.panel->rect.bottom, frame->CGraphFrame::GetDataRect().bottom);
    EXPECT_EQ(windows.plot->rect.bottom, windows.panel->rect.top);
}

TEST_F(XYFrameTest, AChannelSetsItsAxisAndPanelTextAndStartsThePointsOver) {
    CXYFrame* frame = NewPaired();
    const CXYPlot& plot = *frame->GetPlot();
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{-101.0, 101.0}));
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{-102.0, 102.0}));
    EXPECT_EQ(frame->GetPanel()->Text(CXYCtrlPanel::kXChannel), "(101)");
    EXPECT_EQ(frame->GetPanel()->Text(CXYCtrlPanel::kYChannel), "(102)");
    Poll(1);
    ASSERT_EQ(plot.GetPointCount(), 1);
    const int resends = doc.resends;
    // The points start over from what the document holds: scan 1 against 103.
    frame->SetChannelAt(CXYFrame::kYChannel, &doc.channels[2]);
    ASSERT_EQ(plot.GetPointCount(), 1);
    EXPECT_EQ(plot.GetPointY(0), -1.0);
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{-103.0, 103.0}));
    frame->RemoveChannelAt(CXYFrame::kXChannel);
    EXPECT_EQ(frame->GetPanel()->Text(CXYCtrlPanel::kXChannel), "(Off)");
}

TEST_F(XYFrameTest, WithUpdateRateThreeEveryScansPairIsPlottedEveryThirdScan) {
    CXYFrame* frame = NewPaired();
    frame->SetUpdateRate(3);
    for (int scan = 1; scan <= 7; ++scan) {
        Poll(scan);
        EXPECT_EQ(frame->GetPlot()->GetPointCount(), scan / 3 * 3) << scan;
    }
    const CXYPlot& plot = *frame->GetPlot();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(plot.GetPointX(i), i + 1.0);
        EXPECT_EQ(plot.GetPointY(i), 2.0 * (i + 1) + 1.0);
    }
    EXPECT_EQ(frame->GetScanCounter(), 1.0);
    // A scan start or end empties what waits and what is shown.
    view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(plot.GetPointCount(), 0);
    EXPECT_EQ(frame->GetPairing().Pending(), 0);
    CRunRecord start;
    start.m_kind = 1;
    Poll(8);
    Poll(9);
    Poll(10);
    EXPECT_EQ(plot.GetPointCount(), 3);
    view.OnUpdate(nullptr, HINT_EVENT, HintObject(&start));
    EXPECT_EQ(plot.GetPointCount(), 0);
}

TEST_F(XYFrameTest, OneChannelDrawsNothingAndStoredReadingsGoAtOnce) {
    CXYFrame* frame = NewXY();
    frame->SetChannelAt(CXYFrame::kXChannel, &doc.channels[0]);
    frame->SetUpdateRate(5);
    Poll(1);
    EXPECT_EQ(frame->GetPlot()->GetPointCount(), 0);
    EXPECT_EQ(frame->GetScanCounter(), 0.0);
    // The document holds stored readings: the refresh that the new channel
    // asks for, and every later batch, go to the plot at once.
    doc.readings = 10;
    frame->SetChannelAt(CXYFrame::kYChannel, &doc.channels[1]);
    EXPECT_EQ(frame->GetPlot()->GetPointCount(), 1);
    Poll(2);
    EXPECT_EQ(frame->GetPlot()->GetPointCount(), 2);
    EXPECT_EQ(frame->GetScanCounter(), 0.0);
}

TEST_F(XYFrameTest, ThePointCountChangesOnlyWhenItDiffers) {
    CXYFrame* frame = NewPaired();
    Poll(1);
    const int resends = doc.resends;
    EXPECT_FALSE(frame->SetPointCount(100));
    EXPECT_EQ(doc.resends, resends);
    EXPECT_EQ(frame->GetPlot()->GetPointCount(), 1);
    EXPECT_TRUE(frame->SetPointCount(250));
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_EQ(frame->GetPointCount(), 250);
    EXPECT_EQ(frame->GetReadingData()->GetCapacity(), 250);
    // Emptied, and read again from the document's current data.
    EXPECT_EQ(frame->GetPlot()->GetPointCount(), 1);
}

TEST_F(XYFrameTest, ThePanelsCommandsActOnThePlotAndItsReadoutsFollow) {
    CXYFrame* frame = NewPaired();
    CXYPlot& plot = *frame->GetPlot();
    CXYCtrlPanel& panel = *frame->GetPanel();
    for (int scan = 1; scan <= 4; ++scan)
        Poll(scan);
    // Autoscale: once, to the points.
    panel.ClickAutoscale();
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{1.0, 4.0}));
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{3.0, 9.0}));
    EXPECT_FALSE(plot.IsAutoscaling());
    Poll(5);
    EXPECT_EQ(plot.GetXRange().maximum, 4.0);
    // While the plot autoscales a second request does nothing.
    plot.SetAutoscaling(true);
    frame->OnAutoScale();
    EXPECT_EQ(plot.GetXRange().maximum, 4.0);
    plot.SetAutoscaling(false);

    // Least squares: the gain and offset of y = 2x + 1 show, and go again.
    panel.ClickLeastSquares(true);
    EXPECT_TRUE(plot.GetLeastSquares());
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kGain), "2.000000  ");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kOffset), "1.000000  ");
    Poll(6);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kGain), "2.000000  ");
    // A run's start or end takes the fit with the points, and its readouts.
    view.OnUpdate(nullptr, HINT_SCAN_STATE, {});
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kGain), " ");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kOffset), " ");
    Poll(7);
    Poll(8);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kGain), "2.000000  ");
    panel.ClickLeastSquares(false);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kGain), " ");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kOffset), " ");

    // Marker: its lines' values show; off empties them.
    panel.ClickMarker(true);
    EXPECT_TRUE(plot.IsMarkerVisible());
    EXPECT_NE(panel.Text(CXYCtrlPanel::kXValue), " ");
    EXPECT_NE(panel.Text(CXYCtrlPanel::kYValue), " ");
    panel.ClickMarker(false);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXValue), " ");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kYValue), " ");
}

TEST_F(XYFrameTest, TwoXYDisplaysSurviveSaveOpenCopyAndPasteWithEqualArchives) {
    CXYFrame* a = NewPaired();
    CXYFrame* b = NewXY();
    b->SetChannelAt(CXYFrame::kXChannel, &doc.channels[2]);
    b->SetChannelAt(CXYFrame::kYChannel, &doc.channels[0]);
    b->SetPointCount(40);
    b->SetUpdateRate(3);
    for (int scan = 1; scan <= 6; ++scan)
        Poll(scan);
    a->GetPanel()->ClickLeastSquares(true);
    b->GetPanel()->ClickMarker(true);
    a->GetPlot()->SetPointStyle(3, 7);
    doc.readings = 12; // the buffers are stored with the document's readings
    const Bytes page = Store([&](tvane::CArchive& ar) { view.Serialize(ar); });

    FakeViewWindow otherWindow;
    CGraphView loaded(&otherWindow, &doc);
    Load(page, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_TRUE(loaded.OnInitialUpdate(true));
    // Each display as it was saved; the page's stored order is the stacking
    // order, which the saving brought the list into.
    ASSERT_EQ(loaded.GetFrameCount(), 2);
    for (int i = 0; i < 2; ++i) {
        CGraphFrame* saved = nullptr;
        CGraphFrame* opened = nullptr;
        std::string title;
        ASSERT_TRUE(view.GetFrameAt(i, saved, title));
        ASSERT_TRUE(loaded.GetFrameAt(i, opened, title));
        auto* xy = dynamic_cast<CXYFrame*>(opened);
        ASSERT_NE(xy, nullptr);
        EXPECT_NE(xy->GetPlot()->GetChart(), nullptr);
        EXPECT_EQ(FirstDifference(CGraphView::StoreFrame(*opened), CGraphView::StoreFrame(*saved)),
                  "")
            << i;
    }

    // Copy and paste each.
    for (CXYFrame* frame : {a, b}) {
        view.SelectFrame(frame);
        ASSERT_TRUE(view.OnEditCopy());
        const Bytes original = CGraphView::StoreFrame(*frame);
        view.SetRectTracker([](const GRect& r) -> std::optional<GRect> { return r; });
        ASSERT_TRUE(view.Paste(true));
        auto* pasted = dynamic_cast<CXYFrame*>(view.GetSelected());
        ASSERT_NE(pasted, nullptr);
        ASSERT_NE(pasted, frame);
        EXPECT_EQ(FirstDifference(CGraphView::StoreFrame(*pasted), original), "");
        EXPECT_EQ(pasted->GetPointCount(), frame->GetPointCount());
        EXPECT_EQ(pasted->GetPlot()->GetPointCount(), frame->GetPlot()->GetPointCount());
    }
}

TEST_F(XYFrameTest, OpeningRejectsCountsNoXYDisplayHas) {
    CXYFrame* frame = NewPaired();
    struct Case {
        const char* what;
        std::function<void(CXYFrame&)> spoil;
    } cases[] = {
        {"update rate 0", [](CXYFrame& f) { f.SetUpdateRate(0); }},
        {"update rate 5001", [](CXYFrame& f) { f.SetUpdateRate(5001); }},
        {"retained scans", [](CXYFrame& f) { f.m_retainCount = 50; }},
        {"channel count", [](CXYFrame& f) { f.m_channelCapacity = 3; }},
    };
    for (const Case& c : cases) {
        CXYFrame* spoilt = NewPaired();
        c.spoil(*spoilt);
        const Bytes bytes = CGraphView::StoreFrame(*spoilt);
        EXPECT_THROW(Load(bytes, [](tvane::CArchive& ar) { ar.ReadOwnedObject<CGraphFrame>(); }),
                     tvane::CArchiveException)
            << c.what;
    }
    EXPECT_NE(CGraphView::LoadFrame(CGraphView::StoreFrame(*frame)), nullptr);
}

// --- The pages -----------------------------------------------------------------

TEST_F(XYFrameTest, TheChannelsPageChoosesChannelsAtOnceAndChecksTheRanges) {
    CXYFrame* frame = NewPaired();
    XYChannelPageModel page(*frame);
    EXPECT_EQ(page.HelpId(), 11104);
    EXPECT_EQ(page.ChannelTexts(),
              (std::vector<std::string>{"<None>", "<101>Ch101", "<102>Ch102", "<103>Ch103"}));
    XYChannelPageModel::Values v = page.Init();
    EXPECT_EQ(v.x.selection, 1);
    EXPECT_EQ(v.y.selection, 2);
    EXPECT_TRUE(v.x.enabled);
    EXPECT_EQ(v.x.minimum, -101.0);
    EXPECT_EQ(v.x.precision, 4);

    // The no-channel entry removes channel 0 before OK and shows 0 and 1.
    page.SelectX(0, v.x);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0), nullptr);
    EXPECT_FALSE(v.x.enabled);
    EXPECT_EQ(XYChannelPageModel::FormatBound(v.x.minimum, v.x.precision), "0.0000");
    EXPECT_EQ(XYChannelPageModel::FormatBound(v.x.maximum, v.x.precision), "1.0000");
    page.SelectX(3, v.x);
    EXPECT_EQ(frame->GetChannelArray()->GetAt(0)->Number, 103);
    EXPECT_EQ(v.x.maximum, 103.0);

    XYChannelPageModel::Field field;
    std::string message;
    struct Bad {
        double xmin, xmax;
        int xprecision;
        XYChannelPageModel::Field field;
    } refused[] = {
        {5.0, 5.0, 4, XYChannelPageModel::kXMin},        // equal
        {6.0, 5.0, 4, XYChannelPageModel::kXMin},        // reversed
        {1e17, 1e17 + 16, 4, XYChannelPageModel::kXMin}, // equal but for rounding
        {0.0, 1.0, 7, XYChannelPageModel::kXPrecision},  {-1e38, 1.0, 4, XYChannelPageModel::kXMin},
        {0.0, 1e38, 4, XYChannelPageModel::kXMax},
    };
    for (const Bad& b : refused) {
        XYChannelPageModel::Values bad = v;
        bad.x.minimum = b.xmin;
        bad.x.maximum = b.xmax;
        bad.x.precision = b.xprecision;
        EXPECT_FALSE(page.Apply(bad, field, message)) << b.xmin << " " << b.xmax;
        EXPECT_EQ(field, b.field) << b.xmin << " " << b.xmax;
        EXPECT_EQ(message.rfind("Please enter", 0), 0u) << message;
    }

    // Only a precision changed: the axes are relabelled, the document not asked.
    int resends = doc.resends;
    v.y.precision = 2;
    ASSERT_TRUE(page.Apply(v, field, message));
    EXPECT_EQ(doc.resends, resends);
    EXPECT_EQ(frame->GetPlot()->GetYPrecision(), 2);
    v.y.maximum = 50.0;
    ASSERT_TRUE(page.Apply(v, field, message));
    EXPECT_EQ(doc.resends, resends + 1);
    EXPECT_EQ(frame->GetPlot()->GetYRange().maximum, 50.0);
}

TEST_F(XYFrameTest, TheAdvancedPageActsAtOnceAndTakesItsNumbersOnLeaving) {
    CXYFrame* frame = NewPaired();
    CXYPlot& plot = *frame->GetPlot();
    XYAdvancedPageModel page(*frame);
    EXPECT_EQ(page.HelpId(), 11304);
    XYAdvancedPageModel::Values v = page.Init();
    EXPECT_TRUE(v.grid);
    EXPECT_FALSE(v.autoscale);
    EXPECT_FALSE(v.lines);
    EXPECT_EQ(v.maxScans, 100);
    EXPECT_EQ(v.updateRate, 1);
    EXPECT_EQ(page.Items(), (std::vector<std::string>{"Data"}));
    EXPECT_EQ(page.SymbolIndex(0), 0);
    EXPECT_EQ(page.SizeIndex(0), 3);
    EXPECT_EQ(XYAdvancedPageModel::Sizes().size(), 8u);

    page.SetGrid(false);
    EXPECT_FALSE(plot.GetGrid());
    page.SetLines(true);
    EXPECT_TRUE(plot.IsLineOn());
    page.SetSymbol(0, 4, 1);
    EXPECT_EQ(plot.GetPointShapeName(), "Triangle");
    EXPECT_EQ(plot.GetPointSize(), 2);
    EXPECT_EQ(page.SymbolIndex(0), 4);
    page.SetAutoscale(true);
    EXPECT_TRUE(plot.GetContinuousAutoscale());

    XYAdvancedPageModel::Field field;
    std::string message;
    for (int scans : {9, 1001}) {
        XYAdvancedPageModel::Values bad = v;
        bad.maxScans = scans;
        EXPECT_FALSE(page.Apply(bad, field, message)) << scans;
        EXPECT_EQ(field, XYAdvancedPageModel::kMaxScansField);
        EXPECT_EQ(message, "Please enter an integer between 10 and 1000.");
    }
    for (int scans : {10, 1000}) {
        XYAdvancedPageModel::Values good = v;
        good.maxScans = scans;
        good.updateRate = 9;
        EXPECT_TRUE(page.Apply(good, field, message)) << scans;
        EXPECT_EQ(frame->GetPointCount(), scans);
        EXPECT_EQ(frame->GetUpdateRate(), 9);
    }
}

TEST(XYPageFields, ARangeIsOrderedOnlyWhenItsMinimumLiesClearlyBelowItsMaximum) {
    const struct {
        double minimum, maximum;
        bool ordered;
    } cases[] = {
        {0.0, 1.0, true},           {-5.0, -4.0, true},          {5.0, 5.0, false},
        {6.0, 5.0, false},          {20.0, 20.0 + 1e-15, false}, // equal but for rounding
        {1e17, 1e17 + 16, false},   {1e17, 1.01e17, true},       {0.0, 1e-13, false},
        {0.0, std::nan(""), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(xypage::IsOrderedRange(c.minimum, c.maximum), c.ordered)
            << c.minimum << " " << c.maximum;
    std::string message;
    EXPECT_TRUE(xypage::CheckNumberRange(1.0, -9.9e37, 9.9e37, message));
    EXPECT_FALSE(xypage::CheckNumberRange(1e38, -9.9e37, 9.9e37, message));
    EXPECT_EQ(message, "Please enter a number between -9.9e+37 and 9.9e+37.");
    EXPECT_FALSE(xypage::CheckIntRange(7, 0, 6, message));
    EXPECT_EQ(message, "Please enter an integer between 0 and 6.");
}

} // namespace
