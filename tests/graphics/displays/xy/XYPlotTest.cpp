#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/xy/CXYPlot.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using graphicstest::Bytes;
namespace prop = tvane::chart::prop;
constexpr double kHole = 9.9e37;

// The XY frame as the plot reports to it.
class FakeXYPlotParent : public IXYPlotParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return false; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
    void OnVertMarkerXValueChange() override { ++xChanges; }
    void OnHorzMarkerYValueChange() override { ++yChanges; }
    void OnGainValueChange() override { ++gains; }
    void OnOffsetValueChange() override { ++offsets; }
    void OnObjectSelect() override { ++selects; }

    int xChanges = 0, yChanges = 0, gains = 0, offsets = 0, selects = 0;
};

// A created plot of 400 x 300 with room for ten points.
class XYPlotTest : public ::testing::Test {
protected:
    XYPlotTest() {
        EXPECT_TRUE(plot.Create(parent, {0, 0, 400, 300}, nullptr));
        EXPECT_TRUE(plot.SetCapacity(10));
    }
    void Add(const std::vector<double>& xs, const std::vector<double>& ys) {
        plot.AddPoints(static_cast<int>(xs.size()), xs.data(), static_cast<int>(xs.size()),
                       ys.data(), static_cast<int>(ys.size()));
    }
    std::vector<double> Xs() const {
        std::vector<double> xs;
        for (int i = 0; i < plot.GetPointCount(); ++i)
            xs.push_back(plot.GetPointX(i));
        return xs;
    }
    const tvane::chart::ChartData& Data() const { return *plot.GetPoints()->GetData(); }

    FakeXYPlotParent parent;
    CXYPlot plot;
};

TEST_F(XYPlotTest, ANewPlotHasItsDefaults) {
    CXYPlot fresh;
    FakeXYPlotParent p;
    ASSERT_TRUE(fresh.Create(p, {0, 0, 400, 300}, nullptr));
    EXPECT_EQ(fresh.GetCapacity(), 100);
    EXPECT_EQ(fresh.GetPointCount(), 0);
    EXPECT_EQ(fresh.GetPointShapeName(), "Asterisk");
    EXPECT_EQ(fresh.GetPointSize(), 4);
    EXPECT_EQ(fresh.GetPointStyle(), 6u);
    EXPECT_TRUE(fresh.GetGrid());
    EXPECT_FALSE(fresh.IsLineOn());
    EXPECT_FALSE(fresh.GetLeastSquares());
    EXPECT_FALSE(fresh.IsMarkerVisible());
    EXPECT_EQ(fresh.GetXRange(), (CXYPlot::Range{0.0, 1.0}));
    const tvane::chart::Chart& chart = *fresh.GetChart();
    EXPECT_EQ(chart.GetText(prop::kYAxisTitle), "Y-Axis");
    EXPECT_EQ(chart.GetInt(prop::kBackground), 0);
    EXPECT_EQ(chart.GetInt(prop::kXPrecision), 4);
    EXPECT_EQ(chart.GetNthStyle(1, 0).color, 0x00FF00);
    EXPECT_EQ(chart.GetNthStyle(1, 1).color, 0xC0C0C0);
    EXPECT_EQ(chart.GetValueLabels(prop::kXValueLabels).size(), 10u);
    EXPECT_EQ(chart.GetValueLabels(prop::kYValueLabels).size(), 8u);
    ASSERT_NE(fresh.GetMarker(), nullptr);
    EXPECT_EQ(fresh.GetMarker()->Count(), 2);
}

TEST_F(XYPlotTest, TheRingKeepsTheNewestPointsAndItsExtremesWhileTheFitKeepsEveryPair) {
    std::vector<double> xs, ys;
    for (int i = 0; i < 15; ++i) {
        xs.push_back(i);
        ys.push_back(i == 2 ? -50.0 : 2.0 * i);
    }
    Add(xs, ys);
    EXPECT_EQ(Xs(), (std::vector<double>{5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    // The minimum y (-50 at x 2) and the minimum x left the ring.
    EXPECT_EQ(plot.GetMinX(), 5.0);
    EXPECT_EQ(plot.GetMaxX(), 14.0);
    EXPECT_EQ(plot.GetMinY(), 10.0);
    EXPECT_EQ(plot.GetMaxY(), 28.0);
    EXPECT_EQ(plot.GetFit().GetCount(), 15);
    // One more drops 5: the extremes follow point by point.
    Add({100.0}, {-1.0});
    EXPECT_EQ(Xs().front(), 6.0);
    EXPECT_EQ(plot.GetMinX(), 6.0);
    EXPECT_EQ(plot.GetMaxX(), 100.0);
    EXPECT_EQ(plot.GetMinY(), -1.0);
}

TEST_F(XYPlotTest, APairWithAHoleIsSkippedAndDoesNotAdvanceTheRing) {
    Add({1.0, kHole, 3.0, 4.0}, {1.0, 2.0, kHole, 4.0});
    EXPECT_EQ(Xs(), (std::vector<double>{1.0, 4.0}));
    EXPECT_EQ(plot.GetFit().GetCount(), 2);
    // Empty lists add nothing; the shorter list bounds the pairs.
    const double one = 1.0;
    EXPECT_FALSE(plot.AddPoints(1, &one, 1, nullptr, 0));
    Add({7.0, 8.0, 9.0}, {7.0});
    EXPECT_EQ(Xs(), (std::vector<double>{1.0, 4.0, 7.0}));
}

TEST_F(XYPlotTest, ClearingThePointsStartsTheRingAndItsExtremesOver) {
    std::vector<double> xs(12), ys(12);
    for (int i = 0; i < 12; ++i)
        xs[i] = ys[i] = 100.0 + i;
    Add(xs, ys);
    plot.ClearPoints();
    EXPECT_EQ(plot.GetPointCount(), 0);
    EXPECT_EQ(plot.GetMinX(), kHole);
    EXPECT_EQ(plot.GetFit().GetCount(), 0);
    Add({1.0, 2.0}, {3.0, 4.0});
    EXPECT_EQ(Xs(), (std::vector<double>{1.0, 2.0}));
    EXPECT_EQ(plot.GetMinX(), 1.0);
    EXPECT_EQ(plot.GetMaxX(), 2.0);
    EXPECT_EQ(plot.GetMaxY(), 4.0);
    // Autoscale sees only the new points.
    plot.SetAutoscaling(true);
    EXPECT_TRUE(plot.Autoscale());
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{1.0, 2.0}));
}

TEST_F(XYPlotTest, TheLeastSquaresLineFitsANoisyLine) {
    ASSERT_TRUE(plot.SetCapacity(200));
    // y = 2.5 x - 1.25 with a fixed noise.
    std::vector<double> xs, ys;
    for (int i = 0; i < 150; ++i) {
        const double x = 0.1 * i - 3.0;
        xs.push_back(x);
        ys.push_back(2.5 * x - 1.25 + 0.3 * std::sin(7.0 * i));
    }
    // The reference: the normal equations with centred sums.
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        mx += xs[i];
        my += ys[i];
    }
    mx /= xs.size();
    my /= ys.size();
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < xs.size(); ++i) {
        sxy += (xs[i] - mx) * (ys[i] - my);
        sxx += (xs[i] - mx) * (xs[i] - mx);
    }
    const double slope = sxy / sxx;
    const double intercept = my - slope * mx;

    plot.SetLeastSquares(true);
    Add(xs, ys);
    EXPECT_NEAR(plot.GetGain(), slope, 1e-9);
    EXPECT_NEAR(plot.GetOffset(), intercept, 1e-9);
    EXPECT_NEAR(plot.GetGain(), 2.5, 0.05);
    EXPECT_EQ(parent.gains, 1);
    EXPECT_EQ(parent.offsets, 1);
    // The line spans the X axis.
    const auto& d = Data();
    ASSERT_EQ(d.Count(CXYPlot::kFitSeries), 2);
    EXPECT_EQ(d.X(CXYPlot::kFitSeries, 0), 0.0);
    EXPECT_NEAR(d.Y(CXYPlot::kFitSeries, 1), slope * 1.0 + intercept, 1e-9);
    // Off leaves one invisible point rather than an empty series.
    plot.SetLeastSquares(false);
    ASSERT_EQ(d.Count(CXYPlot::kFitSeries), 1);
    EXPECT_EQ(d.Y(CXYPlot::kFitSeries, 0), kHole);
    // Fewer than two distinct x: no line, no gain.
    plot.ClearPoints();
    Add({1.0, 1.0}, {2.0, 3.0});
    EXPECT_EQ(plot.GetGain(), kHole);
    EXPECT_EQ(plot.GetOffset(), kHole);
}

TEST_F(XYPlotTest, AxisBoundsCompareAtTenDecimals) {
    EXPECT_FALSE(plot.SetXMin(0.0 + 4e-11, true));
    EXPECT_FALSE(plot.SetYMax(1.0 + 9e-11, true));
    EXPECT_TRUE(plot.SetXMin(-2.0, true));
    EXPECT_TRUE(plot.SetYMax(5.0, false));
    EXPECT_EQ(plot.GetKeptXRange().minimum, -2.0);
    EXPECT_EQ(plot.GetChart()->GetDouble(prop::kXAxisMin), -2.0);
    // Not applied yet.
    EXPECT_EQ(plot.GetChart()->GetDouble(prop::kYAxisMax), 1.0);
    plot.ApplyAxisRange();
    EXPECT_EQ(plot.GetChart()->GetDouble(prop::kYAxisMax), 5.0);
    EXPECT_TRUE(plot.SetXLabelPrecision(2, true));
    EXPECT_FALSE(plot.SetXLabelPrecision(2, true));
    EXPECT_EQ(plot.GetChart()->GetValueLabels(prop::kXValueLabels).front().text, "-1.70");
}

TEST_F(XYPlotTest, AutoscaleFollowsTheExtremesOnlyWhenThereIsSomethingToScale) {
    plot.SetAutoscaling(true);
    Add({5.0}, {5.0});
    EXPECT_FALSE(plot.Autoscale()); // fewer than two points
    Add({7.0}, {5.0});
    // The Y target has no span: only X moves.
    EXPECT_TRUE(plot.Autoscale());
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{5.0, 7.0}));
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{0.0, 1.0}));
    Add({6.0}, {-3.0});
    EXPECT_TRUE(plot.Autoscale());
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{-3.0, 5.0}));
    EXPECT_EQ(plot.GetChart()->GetDouble(prop::kYAxisMin), -3.0);
    EXPECT_FALSE(plot.Autoscale()); // already there
    // Without the flags the kept ranges come back.
    plot.SetAutoscaling(false);
    EXPECT_TRUE(plot.Autoscale());
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{0.0, 1.0}));
    // Continuous autoscale follows every batch.
    plot.SetContinuousAutoscale(true);
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{5.0, 7.0}));
    Add({10.0}, {20.0});
    EXPECT_EQ(plot.GetXRange(), (CXYPlot::Range{5.0, 10.0}));
    EXPECT_EQ(plot.GetYRange(), (CXYPlot::Range{-3.0, 20.0}));
}

TEST_F(XYPlotTest, MarkerLinesAreHitDraggedAndReadInDataUnits) {
    plot.SetXMax(10.0, true);
    plot.SetYMax(10.0, true);
    plot.SetMarkerVisible(true);
    CGraphMarker& marker = *plot.GetMarker();
    ASSERT_TRUE(marker.IsVisible(1, true));
    ASSERT_TRUE(marker.IsVisible(1, false));
    const auto area = plot.GetPlotArea();
    const int x = marker.Vertical(1)->Line().left;
    const int y = marker.LineAt(1).Line().top;
    // Two pixels beside the vertical line hit it; three do not.
    EXPECT_FALSE(plot.PressMarker(x + 3, area.top + 5));
    ASSERT_TRUE(plot.PressMarker(x + 2, area.top + 5));
    EXPECT_EQ(parent.selects, 1);
    const int xChanges = parent.xChanges;
    const int target = area.left + area.Width() / 4;
    plot.DragMarker(target, area.top + 5);
    EXPECT_TRUE(plot.ReleaseMarker(target, area.top + 5));
    EXPECT_GT(parent.xChanges, xChanges);
    EXPECT_NEAR(plot.GetMarkerX(), 2.5, 10.0 / area.Width());
    // The horizontal line reads its y.
    ASSERT_TRUE(plot.PressMarker(area.left + 5, y));
    const int yTarget = area.top + area.Height() / 5;
    plot.DragMarker(area.left + 5, yTarget);
    plot.ReleaseMarker(area.left + 5, yTarget);
    EXPECT_NEAR(plot.GetMarkerY(), 8.0, 10.0 / area.Height());
    EXPECT_GT(parent.yChanges, 0);
    // Hidden lines are not hit, and keep their pixels while the plot area
    // changes; shown again, they go to their values in the new area.
    plot.SetMarkerVisible(false);
    EXPECT_FALSE(plot.PressMarker(target, area.top + 5));
    const int hiddenAt = marker.Vertical(1)->Line().left;
    plot.GetChart()->SetWindowSize(600, 400);
    plot.PlotAreaMayHaveChanged();
    plot.ChartRepainted();
    EXPECT_EQ(marker.Vertical(1)->Line().left, hiddenAt);
    const double hiddenX = plot.GetMarkerX();
    plot.SetMarkerVisible(true);
    EXPECT_NE(marker.Vertical(1)->Line().left, hiddenAt);
    EXPECT_NEAR(plot.GetMarkerX(), hiddenX, 10.0 / area.Width());
}

TEST_F(XYPlotTest, TheXLabelsThinOutWhenThePlotNarrowsAndComeBackWhenItWidens) {
    tvane::chart::Chart& chart = *plot.GetChart();
    const auto shown = [&chart] {
        int n = 0;
        for (const tvane::chart::ValueLabel& label : chart.GetValueLabels(prop::kXValueLabels))
            n += label.text != " ";
        return n;
    };
    chart.SetWindowSize(800, 300);
    plot.PlotAreaMayHaveChanged();
    const int wide = shown();
    EXPECT_EQ(wide, 10);
    chart.SetWindowSize(200, 300);
    plot.PlotAreaMayHaveChanged();
    EXPECT_LT(shown(), wide);
    chart.SetWindowSize(800, 300);
    plot.PlotAreaMayHaveChanged();
    EXPECT_EQ(shown(), wide);
}

TEST_F(XYPlotTest, AppearanceItemsReachTheChart) {
    GRAPHITEMPROPS range;
    range.mask = GRAPHITEMPROPS::kItemRange;
    ASSERT_TRUE(plot.GetAppearanceItem(0, range));
    EXPECT_EQ(range.firstItem + range.itemCount - 1, 15);
    struct Case {
        int item;
        const char* name;
    } colours[] = {{2, "Background"}, {8, "Axis"},  {9, "Grid"},
                   {10, "Markers"},   {11, "Data"}, {12, "Least Squares"}};
    for (const Case& c : colours) {
        GRAPHITEMPROPS set;
        set.mask = GRAPHITEMPROPS::kColor;
        set.color = 0x123456u + static_cast<unsigned>(c.item);
        ASSERT_TRUE(plot.SetAppearanceItem(c.item, set, true)) << c.item;
        GRAPHITEMPROPS get;
        get.mask = GRAPHITEMPROPS::kColor | GRAPHITEMPROPS::kName;
        ASSERT_TRUE(plot.GetAppearanceItem(c.item, get)) << c.item;
        EXPECT_EQ(get.itemName, c.name);
        EXPECT_EQ(get.color, set.color) << c.item;
    }
    GRAPHITEMPROPS title;
    title.mask = GRAPHITEMPROPS::kLabelText;
    title.labelText = "Volts";
    ASSERT_TRUE(plot.SetAppearanceItem(14, title, false));
    EXPECT_EQ(plot.GetChart()->GetText(prop::kXAxisTitle), "Volts");
    GRAPHITEMPROPS label;
    label.mask = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
    ASSERT_TRUE(plot.GetAppearanceItem(15, label));
    EXPECT_EQ(label.labelName, "Y Axis");
    EXPECT_EQ(label.labelText, "Y-Axis");
    for (int unhandled : {3, 4, 5, 6, 7, 13}) {
        GRAPHITEMPROPS props;
        props.mask = GRAPHITEMPROPS::kColor;
        EXPECT_FALSE(plot.GetAppearanceItem(unhandled, props)) << unhandled;
    }
}

// A stored plot: its bytes and a loaded copy.
Bytes StorePlot(CXYPlot& plot) {
    return graphicstest::Store([&](tvane::CArchive& ar) { ar.WriteObject(&plot); });
}

std::unique_ptr<CXYPlot> LoadPlot(const Bytes& bytes) {
    std::unique_ptr<CXYPlot> loaded;
    graphicstest::Load(bytes, [&](tvane::CArchive& ar) { loaded = ar.ReadOwnedObject<CXYPlot>(); });
    return loaded;
}

TEST_F(XYPlotTest, StoringAndOpeningKeepsThePointsAndSettingsByteForByte) {
    std::vector<double> xs, ys;
    for (int i = 0; i < 13; ++i) {
        xs.push_back(i);
        ys.push_back(3.0 * i + 1);
    }
    plot.SetLeastSquares(true);
    plot.SetXMax(20.0, true);
    plot.SetPointStyle(2, 6);
    plot.SetMarkerVisible(true);
    Add(xs, ys);
    const Bytes first = StorePlot(plot);
    auto loaded = LoadPlot(first);
    ASSERT_NE(loaded, nullptr);
    FakeXYPlotParent p;
    ASSERT_TRUE(loaded->Recreate(p, {0, 0, 400, 300}));
    EXPECT_EQ(loaded->GetPointCount(), 10);
    EXPECT_EQ(loaded->GetPointX(0), 3.0);
    EXPECT_EQ(loaded->GetMinX(), 3.0);
    EXPECT_EQ(loaded->GetPointShapeName(), "Diamond");
    EXPECT_EQ(loaded->GetPointSize(), 6);
    EXPECT_TRUE(loaded->GetLeastSquares());
    EXPECT_NEAR(loaded->GetGain(), 3.0, 1e-12);
    EXPECT_EQ(loaded->GetXRange().maximum, 20.0);
    EXPECT_TRUE(loaded->GetMarker()->IsVisible(1, true));
    EXPECT_EQ(StorePlot(*loaded), first);
}

TEST_F(XYPlotTest, AStoredRingAtAnotherPositionOpensOldestFirst) {
    std::vector<double> xs;
    for (int i = 0; i < 10; ++i)
        xs.push_back(i);
    Add(xs, xs);
    Bytes bytes = StorePlot(plot);
    // Find the stored position (0 for a full ring) after the capacity 10.
    std::size_t at = 0;
    for (std::size_t i = 0; i + 8 <= bytes.size(); ++i)
        if (graphicstest::U32At(bytes, i) == 10u && graphicstest::U32At(bytes, i + 4) == 0u) {
            at = i + 4;
            break;
        }
    ASSERT_NE(at, 0u);
    bytes[at] = 4; // a ring whose next point goes to index 4: index 4 is the oldest
    auto loaded = LoadPlot(bytes);
    ASSERT_NE(loaded, nullptr);
    std::vector<double> order;
    for (int i = 0; i < loaded->GetPointCount(); ++i)
        order.push_back(loaded->GetPointX(i));
    EXPECT_EQ(order, (std::vector<double>{4, 5, 6, 7, 8, 9, 0, 1, 2, 3}));
}

TEST_F(XYPlotTest, OpeningRejectsSizesNoPlotHas) {
    Add({1.0, 2.0}, {1.0, 2.0});
    const Bytes good = StorePlot(plot);
    // Offsets of the fields after the chart part, found by their stored values.
    std::size_t capacityAt = 0;
    for (std::size_t i = 0; i + 8 <= good.size(); ++i)
        if (graphicstest::U32At(good, i) == 10u && graphicstest::U32At(good, i + 4) == 2u) {
            capacityAt = i;
            break;
        }
    ASSERT_NE(capacityAt, 0u);
    std::size_t sizeAt = 0;
    for (std::size_t i = capacityAt; i + 8 <= good.size(); ++i)
        if (graphicstest::U32At(good, i) == 6u && graphicstest::U32At(good, i + 4) == 4u) {
            sizeAt = i + 4;
            break;
        }
    ASSERT_NE(sizeAt, 0u);
    struct Case {
        std::size_t at;
        std::uint32_t value;
    } bad[] = {{capacityAt, 9}, {capacityAt, 1001}, {capacityAt + 4, 10}, {sizeAt, 0},
               {sizeAt, 9},     {sizeAt - 4, 7},    {capacityAt, 20}}; // a capacity the stored
                                                                       // points do not have
    for (const Case& c : bad) {
        Bytes bytes = good;
        for (int k = 0; k < 4; ++k)
            bytes[c.at + k] = static_cast<std::uint8_t>(c.value >> (8 * k));
        EXPECT_THROW(LoadPlot(bytes), tvane::CArchiveException) << c.at << " " << c.value;
    }
}

} // namespace
