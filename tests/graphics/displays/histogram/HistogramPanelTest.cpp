// The histogram's control panel without its window.
#include <gtest/gtest.h>

#include <string>

#include "graphics/displays/histogram/CHistogramCtrlPanel.h"
#include "graphics/displays/histogram/CHistogramStats.h"
#include "scan/CChannelInfo.h"
#include "scan/ValueFormat.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using graphicstest::Bytes;
using graphicstest::Load;
using graphicstest::Store;

struct AutoscaleCounter : IHistogramPanelParent {
    void OnAutoScale() override { ++presses; }
    int presses = 0;
};

std::string InUnits(double value, const std::string& units) {
    std::string text;
    FormatValue(value, units, text, 8);
    return text;
}

TEST(HistogramPanelTest, ThePanelNamesTheChannelAndShowsTheStatistics) {
    CHistogramCtrlPanel panel;
    std::vector<int> changed;
    panel.SetTextChanged([&](int field) { changed.push_back(field); });
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kChannel), "(Off)");
    CChannelInfo channel;
    channel.Number = 203;
    channel.Units = "VDC";
    panel.SetChannel(&channel);
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kChannel), "(203)");
    EXPECT_EQ(changed, std::vector<int>{CHistogramCtrlPanel::kChannel});

    CHistogramStats stats;
    stats.AddValue(2.5);
    stats.SetOutOfRange(3);
    panel.ShowStats(stats);
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kReadings), "1 ");
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kOutOfRange), "3 ");
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kStdDev), InUnits(0.0, "VDC"));
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kMean), InUnits(2.5, "VDC"));
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kMin), InUnits(2.5, "VDC"));
    EXPECT_NE(panel.Text(CHistogramCtrlPanel::kStdDev).find("Vdc"), std::string::npos);

    // Extremes still at their reset values leave Min and Max as they were.
    stats.Reset();
    panel.ShowStats(stats);
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kMin), InUnits(2.5, "VDC"));
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kReadings), "0 ");

    panel.ClearStats();
    for (int field = CHistogramCtrlPanel::kMin; field < CHistogramCtrlPanel::kFields; ++field)
        EXPECT_EQ(panel.Text(field), "") << field;
    panel.SetChannel(nullptr);
    EXPECT_EQ(panel.Text(CHistogramCtrlPanel::kChannel), "(Off)");
}

TEST(HistogramPanelTest, AStoredPanelShowsItsTextsAgain) {
    CHistogramCtrlPanel panel;
    CChannelInfo channel;
    channel.Number = 101;
    channel.Units = "OHM";
    panel.SetChannel(&channel);
    CHistogramStats stats;
    stats.AddValue(1000.0);
    stats.AddValue(2000.0);
    panel.ShowStats(stats);
    LOGFONT font;
    font.lfHeight = -13;
    font.SetFaceName("Courier");
    panel.GetFont().SetLogFont(font);

    const Bytes bytes = Store([&](tvane::CArchive& ar) { panel.Serialize(ar); });
    CHistogramCtrlPanel loaded;
    int told = 0;
    loaded.SetTextChanged([&](int) { ++told; });
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    for (int field = 0; field < CHistogramCtrlPanel::kFields; ++field)
        EXPECT_EQ(loaded.Text(field), panel.Text(field)) << field;
    EXPECT_EQ(told, CHistogramCtrlPanel::kFields);
    EXPECT_EQ(loaded.GetUnits(), "OHM");
    EXPECT_EQ(loaded.GetColour(), 0xC80000);
    EXPECT_EQ(loaded.GetFont().GetLogFont().FaceName(), "Courier");
    EXPECT_EQ(Store([&](tvane::CArchive& ar) { loaded.Serialize(ar); }), bytes);
}

TEST(HistogramPanelTest, AutoscaleTellsTheFrameOnce) {
    CHistogramCtrlPanel panel;
    AutoscaleCounter frame;
    panel.ClickAutoscale(); // no frame yet: nothing
    panel.SetParent(&frame);
    panel.ClickAutoscale();
    EXPECT_EQ(frame.presses, 1);
}

} // namespace
