#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "database/CDatasetEvent.h"
#include "graphics/CXrtGraphData.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/displays/strip/OverlayRange.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartData.h"
#include "platform/chart/ChartIds.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using namespace graphicstest;
namespace prop = tvane::chart::prop;
constexpr double kOverlayHole = 9.9e37;

// The frame as the plot reports to it.
class FakePlotParent : public IOverlayPlotParent {
public:
    struct Window : IChartWindow {};
    bool GetDocumentHasReadings() const override { return hasReadings; }
    std::unique_ptr<IChartWindow> CreateChartWindow(tvane::chart::Chart&,
                                                    const tvane::chart::ChartRect&) override {
        return std::make_unique<Window>();
    }
    void OnGraphTimeAxisChange(const CTimeAxisInfo& axis) override {
        ++axisChanges;
        lastAxis = axis;
    }
    void OnChnlRangeInfoChange(int slot, const OverlayRange& range) override {
        proposals.push_back({slot, range});
    }
    void OnPositionEventLog(const CDatasetEvent& event) override { events.push_back(event); }
    void OnObjectSelect() override { ++selects; }
    void OnVertMarkerXValueChange(int marker) override { xChanges.push_back(marker); }
    void OnVertMarkerYValueChange(int marker) override { yChanges.push_back(marker); }
    void OnMarkerBoundHit(int edge) override { bounds.push_back(edge); }
    tvane::chart::ChartPoint RestingPlotGrowth() const override { return growth; }

    bool hasReadings = false;
    int axisChanges = 0;
    CTimeAxisInfo lastAxis;
    std::vector<std::pair<int, OverlayRange>> proposals;
    std::vector<CDatasetEvent> events;
    int selects = 0;
    std::vector<int> xChanges, yChanges, bounds;
    tvane::chart::ChartPoint growth;
};

OverlayChannel Channel(int number, int kind = 0) {
    OverlayChannel c;
    c.number = number;
    c.label = "<" + std::to_string(number) + ">";
    c.kind = kind;
    c.units = "VDC";
    return c;
}

// A created plot, 400 x 300, with a time window of 10 divisions of 0.1 s
// (1000 ms) so that tests work in small numbers.
class OverlayPlotTest : public ::testing::Test {
protected:
    OverlayPlotTest() {
        EXPECT_TRUE(plot.Create(parent, {0, 0, 400, 300}, nullptr));
        OverlayRange time = OverlayRange::TimeDefault();
        time.mantissa = 1;
        time.decade = 0.1;
        time.scale = 0.1;
        plot.SetTimeRange(time);
    }
    void Slot(int slot, int kind = 0) {
        plot.ResetRange(slot);
        plot.SetChannel(slot, Channel(101 + slot, kind), 0x00FF00);
    }
    // Appends readings to one slot (all other slots empty).
    void Add(int slot, std::vector<double> times, std::vector<double> values,
             std::vector<int> flags = {}) {
        std::vector<CXrtOverlayPlot::SlotBatch> batch(8);
        batch[static_cast<std::size_t>(slot)] = {static_cast<int>(times.size()), times.data(),
                                                 values.data()};
        auto& f = plot.AlarmFlags(slot);
        std::fill(f.begin(), f.end(), 0);
        for (std::size_t i = 0; i < flags.size(); ++i)
            f[i] = flags[i];
        plot.AddReadings(static_cast<int>(times.size()), batch.data());
    }
    const tvane::chart::ChartData& traces() const { return *plot.GetTraces()->GetData(); }
    const tvane::chart::ChartData& marks() const { return *plot.GetMarks()->GetData(); }
    std::vector<double> Xs(const tvane::chart::ChartData& d, int series) const {
        std::vector<double> xs;
        for (int i = 0; i < d.Count(series); ++i)
            xs.push_back(d.X(series, i));
        return xs;
    }

    FakePlotParent parent;
    CXrtOverlayPlot plot;
};

TEST_F(OverlayPlotTest, ANewPlotHasTheDefaultsAndAnEmptyWindow) {
    CXrtOverlayPlot fresh;
    FakePlotParent p;
    ASSERT_TRUE(fresh.Create(p, {0, 0, 400, 300}, nullptr));
    EXPECT_EQ(fresh.GetCapacity(), 1000);
    EXPECT_DOUBLE_EQ(fresh.GetTimeAxis().width, 1200000.0);
    EXPECT_DOUBLE_EQ(fresh.GetTimeAxis().latest, 0.1);
    EXPECT_EQ(fresh.GetDisplayMode(), CXrtOverlayPlot::kLines);
    EXPECT_TRUE(fresh.GetGrid());
    EXPECT_TRUE(fresh.IsMarkerDrawingOn());
    EXPECT_EQ(fresh.GetPointStyleName(CXrtOverlayPlot::kData), "Circle");
    EXPECT_EQ(fresh.GetPointSize(CXrtOverlayPlot::kEvent), 6);
    ASSERT_NE(fresh.GetMarker(), nullptr);
    EXPECT_EQ(fresh.GetMarker()->Count(), 2);
    EXPECT_FALSE(fresh.GetMarker()->AnyVisible());
    // One blank value label per time division places the vertical grid lines.
    EXPECT_EQ(fresh.GetChart()->GetValueLabels(prop::kXValueLabels).size(), 10u);
}

TEST_F(OverlayPlotTest, TheWindowEndFollowsTheNewestTime) {
    Slot(0);
    // The first time that is a reading's own (not 0.0 or 0.1) ends the window.
    Add(0, {0.0, 0.1, 500.0}, {1.0, 1.0, 1.0});
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 500.0);
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().start, -500.0);
    Add(0, {700.0, 2500.0}, {1.0, 2.0});
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 2500.0);
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().start, 1500.0);
    EXPECT_DOUBLE_EQ(parent.lastAxis.end, 2500.0);
    EXPECT_DOUBLE_EQ(plot.GetChart()->GetDouble(prop::kXAxisMax), 2500.0);
    EXPECT_DOUBLE_EQ(plot.GetChart()->GetDouble(prop::kXAxisMin), 1500.0);
    // Labels at the division ends move with the window.
    const auto labels = plot.GetChart()->GetValueLabels(prop::kXValueLabels);
    ASSERT_EQ(labels.size(), 10u);
    EXPECT_DOUBLE_EQ(labels.front().value, 1600.0);
    EXPECT_DOUBLE_EQ(labels.back().value, 2500.0);
    // A batch not later than the end leaves the window alone.
    const int changes = parent.axisChanges;
    Add(0, {2400.0}, {1.0});
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 2500.0);
    EXPECT_EQ(parent.axisChanges, changes);
}

TEST_F(OverlayPlotTest, ValuesAreStoredNormalisedByTheirRange) {
    Slot(0);
    Add(0, {100.0, 200.0, 300.0}, {4.0, -2.0, kOverlayHole});
    // 8 divisions over a span of 2: a value of 4 x scale reaches the top.
    EXPECT_DOUBLE_EQ(traces().Y(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(traces().Y(0, 1), -0.5);
    EXPECT_EQ(traces().Y(0, 2), kOverlayHole);
}

TEST_F(OverlayPlotTest, AFullTraceDropsThePointsLeftOfTheWindow) {
    ASSERT_TRUE(plot.SetCapacity(10));
    Slot(0);
    std::vector<double> t, v(10, 0.0);
    for (int i = 1; i <= 10; ++i)
        t.push_back(100.0 * i);
    Add(0, t, v);
    ASSERT_EQ(traces().Count(0), 10);
    // Window 500..1500: the one point at the window start stays.
    Add(0, {1500.0}, {0.0});
    EXPECT_EQ(Xs(traces(), 0), (std::vector<double>{500, 600, 700, 800, 900, 1000, 1500}));

    // With no point at or before the window start, the oldest one goes.
    ASSERT_TRUE(plot.SetCapacity(3));
    Slot(0);
    plot.SetWindowEnd(0.0);
    Add(0, {1000.0, 1001.0, 1002.0}, {0.0, 0.0, 0.0});
    plot.SetWindowEnd(-5000.0);
    Add(0, {1003.0}, {0.0});
    EXPECT_EQ(Xs(traces(), 0), (std::vector<double>{1001, 1002, 1003}));
}

TEST_F(OverlayPlotTest, ABatchLongerThanTheCapacityKeepsItsFirstReadings) {
    ASSERT_TRUE(plot.SetCapacity(3));
    Slot(0);
    Add(0, {100, 200, 300, 400, 500}, {0, 0, 0, 0, 0});
    EXPECT_EQ(Xs(traces(), 0), (std::vector<double>{100, 200, 300}));
}

TEST_F(OverlayPlotTest, ATogglingDigitalBitPlotsSteps) {
    Slot(0, OverlayChannel::kDigitalBit);
    Add(0, {100, 200, 300, 400}, {0.0, 1.0, 3.0, 2.0});
    // 0, 1, 1 (3 has bit 1 set), 0 (2 has not): a step at each change.
    EXPECT_EQ(Xs(traces(), 0), (std::vector<double>{100, 200, 200, 300, 400, 400}));
    std::vector<double> ys;
    for (int i = 0; i < traces().Count(0); ++i)
        ys.push_back(traces().Y(0, i));
    EXPECT_EQ(ys, (std::vector<double>{0.0, 0.0, 0.25, 0.25, 0.25, 0.0}));
}

TEST_F(OverlayPlotTest, AlarmReadingsAreAlsoMarkedAsPoints) {
    Slot(2);
    Add(2, {100, 200, 300}, {1.0, 2.0, 3.0}, {1, 0, 2});
    EXPECT_EQ(Xs(marks(), 2), (std::vector<double>{100}));
    EXPECT_EQ(Xs(marks(), 2 + 8), (std::vector<double>{300}));
    EXPECT_EQ(marks().Count(CXrtOverlayPlot::kEventSeries), 0);
}

// The window end follows each slot's own last reading, not the batch's
// largest count (the batch arrays are exactly as long as each slot's count,
// so reading past one shows under the address sanitizer).
TEST_F(OverlayPlotTest, ASlotWithFewerReadingsThanTheBatchUsesItsOwnLastTime) {
    Slot(0);
    Slot(1);
    std::vector<double> t0{100, 200, 300}, v0{0, 0, 0};
    std::vector<double> t1{900}, v1{0};
    std::vector<CXrtOverlayPlot::SlotBatch> batch(8);
    batch[0] = {3, t0.data(), v0.data()};
    batch[1] = {1, t1.data(), v1.data()};
    plot.AddReadings(3, batch.data());
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 900.0);
    EXPECT_EQ(traces().Count(0), 3);
    EXPECT_EQ(traces().Count(1), 1);
}

TEST_F(OverlayPlotTest, ACapacityChangeResizesAndClearsTheAlarmFlags) {
    plot.AlarmFlags(3)[5] = 2;
    ASSERT_TRUE(plot.SetCapacity(2500));
    for (int s = 0; s < 8; ++s) {
        ASSERT_EQ(plot.AlarmFlags(s).size(), 2500u);
        EXPECT_EQ(std::count(plot.AlarmFlags(s).begin(), plot.AlarmFlags(s).end(), 0), 2500);
    }
    EXPECT_EQ(plot.GetTraces()->GetCapacity(), 2500);
    EXPECT_EQ(plot.GetMarks()->GetCapacity(), 2500);
    EXPECT_FALSE(plot.SetCapacity(0));
    EXPECT_EQ(plot.GetCapacity(), 2500);
}

TEST_F(OverlayPlotTest, EventMarksRestartWhenFullAndCanBeBlanked) {
    ASSERT_TRUE(plot.SetCapacity(4));
    plot.SetWindowEnd(1000.0);
    for (double t : {100.0, 200.0, 300.0})
        plot.AddEventMark(t);
    EXPECT_EQ(marks().Count(16), 3);
    EXPECT_DOUBLE_EQ(marks().Y(16, 0), 1.0);
    plot.AddEventMark(400.0); // capacity - 1 marks: the series starts over
    EXPECT_EQ(Xs(marks(), 16), (std::vector<double>{400}));
    // A mark beyond the window end moves the window.
    plot.AddEventMark(5000.0);
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 5000.0);

    EXPECT_FALSE(plot.RemoveEventMark(50.0)); // before the first
    EXPECT_TRUE(plot.RemoveEventMark(450.0)); // between: the one before
    EXPECT_EQ(marks().Y(16, 0), kOverlayHole);
    EXPECT_TRUE(plot.RemoveEventMark(9000.0)); // after the last: the last
    EXPECT_EQ(marks().Y(16, 1), kOverlayHole);
}

TEST_F(OverlayPlotTest, ARangeChangeRescalesTheStoredPoints) {
    Slot(0);
    Add(0, {100, 200}, {2.0, kOverlayHole}, {2, 0});
    OverlayRange range = *plot.GetRange(0);
    range.mantissa = 2;
    range.scale = 2.0;
    range.reference = 4.0; // 8 divisions of 2: -0.5 on the normalised axis
    ASSERT_TRUE(plot.ChangeRangeInfo(0, range));
    EXPECT_DOUBLE_EQ(plot.GetRange(0)->normOffset, -0.5);
    EXPECT_DOUBLE_EQ(traces().Y(0, 0), 0.5 * 1.0 / 2.0 - 0.5);
    EXPECT_EQ(traces().Y(0, 1), kOverlayHole);
    EXPECT_DOUBLE_EQ(marks().Y(8, 0), -0.25);
    EXPECT_FALSE(plot.ChangeRangeInfo(5, range)); // no range in that slot
}

TEST_F(OverlayPlotTest, ChangingTheTimePerDivisionKeepsTheWindowEnd) {
    Slot(0);
    Add(0, {5000.0}, {0.0});
    OverlayRange time = plot.GetTimeRange();
    overlay::StepTimePerDivision(time, true); // 0.2 s
    ASSERT_TRUE(plot.SetTimeRange(time));
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().end, 5000.0);
    EXPECT_DOUBLE_EQ(plot.GetTimeAxis().start, 3000.0);
    EXPECT_DOUBLE_EQ(plot.GetChart()->GetValueLabels(prop::kXValueLabels).front().value, 3200.0);
}

TEST_F(OverlayPlotTest, AutoScalePutsTracesInEqualBandsFromTheTop) {
    for (int s : {0, 1, 2, 3})
        Slot(s);
    // Slot 2 has no data in the window and takes no band.
    Add(0, {900, 1000}, {0.0, 1.0});
    Add(1, {900, 1000}, {10.0, 30.0});
    Add(3, {900, 1000}, {-4.0, -2.0});
    Add(2, {-5000.0, -4000.0}, {1.0, 1.0});
    parent.proposals.clear();
    plot.AutoScale(-1);
    ASSERT_EQ(parent.proposals.size(), 3u);
    // Four shown slots: bands of 0.5 and 8 / 4 x 0.75 = 1.5 usable divisions.
    std::vector<double> centres;
    for (const auto& [slot, r] : parent.proposals) {
        plot.ChangeRangeInfo(slot, r);
        const double lo = traces().Y(slot, 0);
        const double hi = traces().Y(slot, 1);
        centres.push_back((lo + hi) / 2.0);
        EXPECT_LE(std::fabs(hi - lo), 0.5) << "slot " << slot;
    }
    EXPECT_EQ(parent.proposals[0].first, 0);
    EXPECT_EQ(parent.proposals[1].first, 1);
    EXPECT_EQ(parent.proposals[2].first, 3);
    EXPECT_NEAR(centres[0], 0.75, 1e-9);
    EXPECT_NEAR(centres[1], 0.25, 1e-9);
    EXPECT_NEAR(centres[2], -0.25, 1e-9);
    // Slot 1 spans 20 units: 20 / 1.5 = 13.3 rounds up the 1-2-5 steps to 20.
    EXPECT_DOUBLE_EQ(parent.proposals[1].second.scale, 20.0);
}

TEST(OverlayRangeTest, TimePerDivisionStepsOverTheWholeTable) {
    const std::vector<double> table = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1,    2,    5,    10,
                                       20,   50,   60,   120, 300, 600, 1200, 3000, 3600, 7200};
    OverlayRange r = OverlayRange::TimeDefault();
    r.mantissa = 1;
    r.decade = 0.01;
    r.scale = 0.01;
    overlay::StepTimePerDivision(r, false); // stays at the bottom
    EXPECT_NEAR(r.scale, 0.01, 1e-12);
    for (std::size_t i = 1; i < table.size(); ++i) {
        overlay::StepTimePerDivision(r, true);
        EXPECT_NEAR(r.scale, table[i], table[i] * 1e-9) << "up to " << table[i];
    }
    overlay::StepTimePerDivision(r, true); // stays at the top
    EXPECT_DOUBLE_EQ(r.scale, 7200.0);
    for (std::size_t i = table.size() - 1; i-- > 0;) {
        overlay::StepTimePerDivision(r, false);
        EXPECT_NEAR(r.scale, table[i], table[i] * 1e-9) << "down to " << table[i];
    }
}

TEST(OverlayRangeTest, ScalesSnapToOneTwoFiveSteps) {
    const struct {
        double wanted, scale;
    } cases[] = {{1.5, 10}, {4, 20}, {7, 50}, {0.3, 2}, {0.0, 5}, {13.3, 100}};
    for (const auto& c : cases) {
        OverlayRange r;
        overlay::SnapScale(r, c.wanted);
        EXPECT_DOUBLE_EQ(r.scale, c.scale) << c.wanted;
        EXPECT_DOUBLE_EQ(r.mantissa * r.decade, r.scale);
    }
    OverlayRange r;
    r.mantissa = 1;
    r.decade = 10.0;
    EXPECT_FALSE(overlay::SnapScale(r, 1.5)); // already 10
}

TEST(OverlayRangeTest, UnitsPerDivisionAndReferenceSteps) {
    OverlayRange r;
    std::vector<double> up;
    for (int i = 0; i < 5; ++i) {
        overlay::StepUnitsPerDivision(r, true);
        up.push_back(r.scale);
    }
    EXPECT_EQ(up, (std::vector<double>{2, 5, 10, 20, 50}));
    OverlayRange d;
    std::vector<double> down;
    for (int i = 0; i < 3; ++i) {
        overlay::StepUnitsPerDivision(d, false);
        down.push_back(d.scale);
    }
    EXPECT_EQ(down, (std::vector<double>{0.5, 0.2, 0.1}));

    OverlayRange ref;
    ref.reference = 0.05;
    overlay::StepReference(ref, true);
    EXPECT_EQ(ref.reference, 0.0); // not -0.05
    overlay::StepReference(ref, false);
    EXPECT_DOUBLE_EQ(ref.reference, 0.1);
}

TEST_F(OverlayPlotTest, TheAxisFontKeepsEveryFieldOfItsDescription) {
    LOGFONT font;
    font.lfHeight = -15;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = 900;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 2;
    font.lfQuality = 3;
    font.lfPitchAndFamily = 0x22;
    font.SetFaceName("Courier New");
    GRAPHITEMPROPS set;
    set.mask = GRAPHITEMPROPS::kFont;
    set.font = font;
    ASSERT_TRUE(plot.SetAppearanceItem(8, set, false));
    GRAPHITEMPROPS got;
    got.mask = GRAPHITEMPROPS::kFont;
    ASSERT_TRUE(plot.GetAppearanceItem(8, got));
    EXPECT_EQ(got.font, font);
    EXPECT_EQ(plot.GetChart()->GetFont(prop::kAxisFont).escapement, 900);
    // A description without a face keeps the chart's own.
    set.font = LOGFONT{};
    ASSERT_TRUE(plot.SetAppearanceItem(8, set, false));
    EXPECT_EQ(plot.GetChart()->GetFont(prop::kAxisFont).face, "Arial");
}

TEST_F(OverlayPlotTest, StylesAndModes) {
    plot.SetDisplayMode(CXrtOverlayPlot::kLines);
    plot.SetPointStyle(CXrtOverlayPlot::kData, 3, 7); // Square
    // Lines only: the shape is kept but not drawn.
    EXPECT_EQ(plot.GetChart()->GetNthStyle(1, 0).pointShape, tvane::chart::kPointNone);
    EXPECT_EQ(plot.GetPointStyleName(CXrtOverlayPlot::kData), "Square");
    plot.SetDisplayMode(CXrtOverlayPlot::kLinesAndPoints);
    EXPECT_EQ(plot.GetChart()->GetNthStyle(1, 0).pointShape, 3u);
    EXPECT_EQ(plot.GetChart()->GetNthStyle(1, 0).pointSize, 7u);
    plot.SetDisplayMode(CXrtOverlayPlot::kPoints);
    EXPECT_EQ(plot.GetChart()->GetNthStyle(1, 5).linePattern, tvane::chart::kLineNone);
    plot.SetPointStyle(CXrtOverlayPlot::kEvent, 0, 3);
    EXPECT_EQ(plot.GetChart()->GetNthStyle(2, 16).pointShape, 6u);
    EXPECT_EQ(CXrtOverlayPlot::SeriesKindNames().size(), 4u);
}

TEST_F(OverlayPlotTest, ADoubleClickNearAnAlarmPointPositionsTheEventLog) {
    Slot(1);
    plot.GetChart()->SetWindowSize(400, 300);
    Add(1, {500, 900}, {0.0, 2.0}, {0, 2});
    tvane::chart::ChartPoint p;
    plot.DataToPixel(900.0, 0.5, 2, p);
    // Not while the document holds no readings.
    EXPECT_FALSE(plot.PickMark(p.x, p.y));
    parent.hasReadings = true;
    EXPECT_FALSE(plot.PickMark(p.x, p.y + 10)); // too far
    ASSERT_TRUE(plot.PickMark(p.x, p.y + 2));
    ASSERT_EQ(parent.events.size(), 1u);
    EXPECT_EQ(parent.events[0].m_type, static_cast<std::uint32_t>(CDatasetEvent::HighLimit));
    EXPECT_EQ(parent.events[0].m_channel, 102);
    EXPECT_DOUBLE_EQ(parent.events[0].m_time, 900.0);
}

TEST_F(OverlayPlotTest, StoresAndLoadsWithAndWithoutData) {
    Slot(0);
    Slot(3);
    Add(0, {100, 200}, {1.0, 2.0}, {1, 0});
    plot.SetGrid(false);
    plot.SetPointStyle(CXrtOverlayPlot::kHighAlarm, 3, 8);
    for (bool withData : {false, true}) {
        parent.hasReadings = withData;
        const Bytes bytes = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
        CXrtOverlayPlot loaded;
        Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
        FakePlotParent p2;
        ASSERT_TRUE(loaded.Recreate(p2, {0, 0, 400, 300}));
        EXPECT_FALSE(loaded.GetGrid());
        EXPECT_EQ(loaded.GetPointStyleName(CXrtOverlayPlot::kHighAlarm), "Square");
        EXPECT_TRUE(loaded.GetRange(3).has_value());
        EXPECT_FALSE(loaded.GetRange(1).has_value());
        EXPECT_EQ(loaded.GetRange(0)->channel.number, 101);
        EXPECT_DOUBLE_EQ(loaded.GetTimeAxis().end, plot.GetTimeAxis().end);
        EXPECT_DOUBLE_EQ(loaded.GetTimeAxis().width, 1000.0);
        EXPECT_EQ(loaded.GetMarker()->Count(), 2);
        const auto& t = *loaded.GetTraces()->GetData();
        EXPECT_EQ(t.Count(0), withData ? 2 : 0);
        EXPECT_EQ(loaded.AlarmFlags(0)[0], withData ? 1 : 0);
        EXPECT_EQ(loaded.GetMarks()->GetData()->Count(0), withData ? 1 : 0);
    }
}

TEST_F(OverlayPlotTest, DamagedSizesRejectTheArchive) {
    const Bytes good = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
    // The capacity follows the chart state part; find it by storing again
    // with another capacity and comparing.
    plot.SetCapacity(1234);
    const Bytes other = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
    ASSERT_EQ(good.size(), other.size());
    std::size_t at = 0;
    while (at < good.size() && good[at] == other[at])
        ++at;
    for (std::uint32_t bad : {0u, 0x7FFFFFFFu}) {
        Bytes damaged = good;
        for (int i = 0; i < 4; ++i)
            damaged[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bad >> (8 * i));
        CXrtOverlayPlot loaded;
        EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                     tvane::CArchiveException)
            << bad;
    }
}

TEST_F(OverlayPlotTest, ATimeWindowBeyondAnyRunRejectsTheArchive) {
    // The archive of a plot whose time per division alone is 1e300 s: the
    // stored window is sound, the one the time range makes is no run's.
    const Bytes good = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
    OverlayRange time = plot.GetTimeRange();
    time.scale = 1e300;
    ASSERT_TRUE(plot.SetTimeRange(time));
    const Bytes far = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
    ASSERT_EQ(good.size(), far.size());
    // The time range is stored last but the value range: its scale is the
    // last double that differs, its exponent the last byte.
    std::size_t last = good.size() - 1;
    while (good[last] == far[last])
        --last;
    ASSERT_GE(last, 7u);
    Bytes damaged = good;
    std::copy(far.begin() + static_cast<std::ptrdiff_t>(last - 7),
              far.begin() + static_cast<std::ptrdiff_t>(last + 1),
              damaged.begin() + static_cast<std::ptrdiff_t>(last - 7));
    CXrtOverlayPlot loaded;
    EXPECT_NO_THROW(Load(good, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }));
    CXrtOverlayPlot refused;
    EXPECT_THROW(Load(damaged, [&](tvane::CArchive& ar) { refused.Serialize(ar); }),
                 tvane::CArchiveException);
}

// Markers over a plot 400 x 300 whose plot area the test reads back.
class MarkerTest : public OverlayPlotTest {
protected:
    MarkerTest() {
        plot.GetChart()->SetWindowSize(400, 300);
        area = plot.GetPlotArea();
        marker = plot.GetMarker();
        marker->Show(1, nullptr, true);
        marker->FollowSeries(1, 0);
        line1 = marker->Vertical(1)->Line().left;
    }
    CGraphMarker* marker = nullptr;
    tvane::chart::ChartRect area;
    int line1 = 0;
};

TEST_F(MarkerTest, ALineIsHitWithinTwoPixels) {
    const int y = (area.top + area.bottom) / 2;
    for (int dx : {-2, -1, 0, 1, 2})
        EXPECT_TRUE(marker->HitTest(line1 + dx, y)) << dx;
    for (int dx : {-3, 3})
        EXPECT_FALSE(marker->HitTest(line1 + dx, y)) << dx;
    marker->Show(1, nullptr, false);
    EXPECT_FALSE(marker->HitTest(line1, y)); // hidden lines are never hit
}

TEST_F(MarkerTest, DraggingReportsEveryMoveAndTheEdges) {
    const int y = area.top + 10;
    ASSERT_TRUE(plot.PressMarker(line1 + 1, y));
    EXPECT_EQ(parent.selects, 1);
    parent.xChanges.clear();
    plot.DragMarker(line1 + 20, y);
    EXPECT_EQ(marker->Vertical(1)->Line().left, line1 + 20);
    EXPECT_EQ(parent.xChanges.size(), 1u);
    plot.DragMarker(area.left - 50, y); // clipped to the left edge
    plot.DragMarker(area.left - 60, y);
    EXPECT_EQ(marker->Vertical(1)->Line().left, area.left);
    EXPECT_EQ(parent.bounds, (std::vector<int>{1, 1}));
    plot.DragMarker(area.right + 10, y);
    EXPECT_EQ(parent.bounds.back(), 3);
    EXPECT_TRUE(plot.ReleaseMarker(area.right + 10, y));
    EXPECT_FALSE(marker->IsTracking());
    // A press elsewhere is the frame's.
    EXPECT_FALSE(plot.PressMarker((area.left + area.right) / 2 + 7, y));
}

TEST_F(MarkerTest, APressAndReleaseBesideALineMovesIt) {
    const int y = area.top + 10;
    parent.xChanges.clear();
    ASSERT_TRUE(plot.PressMarker(line1, y));
    plot.ReleaseMarker(line1, y);
    EXPECT_TRUE(parent.xChanges.empty()); // exactly on the line: nothing moved
    ASSERT_TRUE(plot.PressMarker(line1 + 2, y));
    plot.ReleaseMarker(line1 + 2, y);
    EXPECT_EQ(marker->Vertical(1)->Line().left, line1 + 2);
    EXPECT_FALSE(parent.xChanges.empty());
}

TEST(GraphMarkerTest, CrossingLinesShareTheCursorAndOneDragMovesBoth) {
    FakePlotParent parent;
    CXrtOverlayPlot plot;
    ASSERT_TRUE(plot.Create(parent, {0, 0, 400, 300}, nullptr));
    CGraphMarker m;
    const tvane::chart::ChartRect area{50, 20, 350, 270};
    m.Create(&plot, area, 1, 1, CMarker::kVisible);
    m.LayoutEvenly(area);
    const int x = m.Vertical(1)->Line().left;
    const int y = m.LineAt(1).Line().top;
    EXPECT_EQ(m.CursorAt(x, y), kCursorSizeAll);
    EXPECT_EQ(m.CursorAt(x, y + 50), kCursorSizeWE);
    struct Window : IMarkerWindow {
        void MarkerUpdate(int o, const tvane::chart::ChartRect&) override { moves.push_back(o); }
        void MarkerBoundHit(int) override {}
        void VertMarkerXValueChange(int) override {}
        void VertMarkerYValueChange(int) override {}
        std::vector<int> moves;
    } window;
    ASSERT_TRUE(m.HitTest(x, y));
    ASSERT_TRUE(m.BeginTrack(&area));
    m.TrackMove(x + 10, y + 10, window);
    EXPECT_TRUE(m.TrackRelease(x + 10, y + 10, window));
    EXPECT_EQ(m.Vertical(1)->Line().left, x + 10);
    EXPECT_EQ(m.LineAt(1).Line().top, y + 10);
    EXPECT_EQ(window.moves, (std::vector<int>{1, 2}));
}

TEST_F(MarkerTest, AVerticalLineReadsTheTraceItFollows) {
    Slot(0);
    marker->FollowSeries(1, 0);
    Add(0, {500, 1000, 1100, 1200}, {2.0, 2.0, kOverlayHole, kOverlayHole});
    double value = 0.0;
    double normalised = 0.0;
    marker->Place(1, 800.0, 0.0);
    Add(0, {1200}, {kOverlayHole}); // every batch updates the readouts
    ASSERT_TRUE(plot.GetMarkerValue(1, value, normalised));
    EXPECT_NEAR(marker->GetXValue(1), 800.0, 5.0);
    EXPECT_DOUBLE_EQ(normalised, 0.5);
    EXPECT_DOUBLE_EQ(value, 2.0);
    EXPECT_FALSE(parent.yChanges.empty());
    // Over a hole of its trace the line reads the hole value.
    marker->Place(1, 1150.0, 0.0);
    Add(0, {1200}, {kOverlayHole});
    ASSERT_TRUE(plot.GetMarkerValue(1, value, normalised));
    EXPECT_EQ(normalised, kOverlayHole);
    EXPECT_EQ(value, kOverlayHole);
    // A line that follows no trace has no readout.
    EXPECT_FALSE(plot.GetMarkerValue(2, value, normalised));
}

// The plot window resized as its frame's border comes and goes or the frame
// is sized; the lines are laid out again at the next repaint.
void ResizePlot(CXrtOverlayPlot& plot, int width, int height) {
    plot.GetChart()->SetWindowSize(width, height);
    plot.PlotAreaMayHaveChanged();
    plot.ChartRepainted();
}

std::vector<int> LineXs(const CGraphMarker& marker) {
    std::vector<int> xs;
    for (int i = 0; i < marker.Count(); ++i)
        xs.push_back(marker.LineAt(i).Line().left);
    return xs;
}

// After the time axis scrolled, a selected frame's border (the plot window 4
// pixels smaller while its resting size stays) must not move the lines, nor
// its going, nor change the stored bytes; the stored plot loads with the lines
// where they were. A real resize carries them along proportionally.
TEST_F(MarkerTest, LinesKeepTheirPixelsThroughScrollingSelectionAndOpen) {
    ResizePlot(plot, 400, 300);
    const std::vector<int> placed = LineXs(*marker);
    ASSERT_GT(placed[0], area.left + 10);
    Slot(0);
    Add(0, {50000, 60000}, {0.5, 0.5});
    const Bytes resting = Store([&](tvane::CArchive& ar) { plot.Serialize(ar); });
    parent.growth = {4, 4};
    ResizePlot(plot, 396, 296);
    EXPECT_EQ(LineXs(*marker), placed);
    parent.growth = {};
    ResizePlot(plot, 400, 300);
    EXPECT_EQ(LineXs(*marker), placed);
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { plot.Serialize(ar); }), resting);

    CXrtOverlayPlot loaded;
    Load(resting, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    FakePlotParent other;
    ASSERT_TRUE(loaded.Recreate(other, {0, 0, 400, 300}));
    ResizePlot(loaded, 400, 300);
    EXPECT_EQ(LineXs(*loaded.GetMarker()), placed);

    ResizePlot(plot, 800, 300);
    const tvane::chart::ChartRect wide = plot.GetPlotArea();
    for (std::size_t i = 0; i < placed.size(); ++i)
        EXPECT_NEAR(LineXs(*marker)[i] - wide.left,
                    (placed[i] - area.left) * wide.Width() / double(area.Width()), 1.0);
}

} // namespace
