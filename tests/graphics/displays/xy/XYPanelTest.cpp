#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/displays/xy/CXYCtrlPanel.h"
#include "scan/CChannelInfo.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

class RecordingPanelParent : public IXYPanelParent {
public:
    void OnAutoScale() override { calls.push_back("autoscale"); }
    void OnToggleVMarkerState(bool on) override {
        calls.push_back(on ? "marker on" : "marker off");
    }
    void OnToggleLeastSquares(bool on) override { calls.push_back(on ? "fit on" : "fit off"); }
    std::vector<std::string> calls;
};

CChannelInfo Channel(int number, const char* units) {
    CChannelInfo c;
    c.Number = number;
    c.Units = units;
    return c;
}

TEST(XYPanelTest, TheTextsShowChannelsValuesAndOverloads) {
    CXYCtrlPanel panel;
    std::vector<int> changed;
    panel.SetTextChanged([&](int r) { changed.push_back(r); });
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXChannel), "(Off)");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kYChannel), "(Off)");
    // Before a channel the units read "(Off)" as well.
    EXPECT_EQ(panel.GetXUnits(), "(Off)");
    panel.SetXValue(true, 9.9e37);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXValue), "OVLD ");
    panel.SetXValue(false, 9.9e37);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXValue), " ");

    const CChannelInfo x = Channel(101, "VDC");
    const CChannelInfo y = Channel(203, "C");
    panel.SetXChannel(&x);
    panel.SetYChannel(&y);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXChannel), "(101)");
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kYChannel), "(203)");
    panel.SetXValue(true, 0.25);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXValue).back(), ' ');
    EXPECT_NE(panel.Text(CXYCtrlPanel::kXValue).find("Vdc"), std::string::npos);
    // No channel: "(Off)", the units stay.
    panel.SetXChannel(nullptr);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kXChannel), "(Off)");
    EXPECT_EQ(panel.GetXUnits(), "VDC");

    panel.SetGain(2.5);
    panel.SetOffset(9.9e37);
    EXPECT_NE(panel.Text(CXYCtrlPanel::kGain).find("2.5"), std::string::npos);
    EXPECT_EQ(panel.Text(CXYCtrlPanel::kOffset), " ");
    EXPECT_EQ(changed.back(), CXYCtrlPanel::kOffset);
}

TEST(XYPanelTest, TheButtonsAndBoxesGoToTheFrame) {
    CXYCtrlPanel panel;
    RecordingPanelParent parent;
    panel.SetParent(&parent);
    panel.ClickAutoscale();
    panel.ClickMarker(true);
    panel.ClickLeastSquares(true);
    panel.ClickMarker(false);
    EXPECT_EQ(parent.calls,
              (std::vector<std::string>{"autoscale", "marker on", "fit on", "marker off"}));
    EXPECT_FALSE(panel.GetMarkerCheck());
    EXPECT_TRUE(panel.GetLeastSquaresCheck());
}

TEST(XYPanelTest, AStoredPanelOpensWithItsTextsAndBoxes) {
    CXYCtrlPanel panel;
    const CChannelInfo x = Channel(101, "VDC");
    panel.SetXChannel(&x);
    panel.SetXValue(true, 9.9e37);
    panel.SetGain(1.5);
    panel.ClickLeastSquares(true);
    const auto bytes = graphicstest::Store([&](tvane::CArchive& ar) { ar.WriteObject(&panel); });
    std::unique_ptr<CXYCtrlPanel> loaded;
    graphicstest::Load(bytes,
                       [&](tvane::CArchive& ar) { loaded = ar.ReadOwnedObject<CXYCtrlPanel>(); });
    ASSERT_NE(loaded, nullptr);
    for (int r = 0; r < CXYCtrlPanel::kReadouts; ++r)
        EXPECT_EQ(loaded->Text(r), panel.Text(r)) << r;
    EXPECT_TRUE(loaded->GetLeastSquaresCheck());
    EXPECT_FALSE(loaded->GetMarkerCheck());
    EXPECT_EQ(loaded->GetXUnits(), "VDC");
    EXPECT_EQ(graphicstest::Store([&](tvane::CArchive& ar) { ar.WriteObject(loaded.get()); }),
              bytes);
}

TEST(XYPanelTest, DrawingPutsTheLabelsAndReadoutsAtTheirPlaces) {
    CXYCtrlPanel panel;
    panel.SetGain(2.0);
    graphicstest::RecordingDC dc;
    panel.DrawPanel(dc, {10, 200, 476, 248});
    std::vector<std::string> texts;
    for (const std::string& op : dc.ops)
        if (op.rfind("text:", 0) == 0)
            texts.push_back(op.substr(5));
    EXPECT_EQ(texts.size(), 10u);
    for (const char* label : {"y:", "x:", "Gain:", "Offset:", "(Off)"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), label), texts.end()) << label;
    // The recording surface's letters are 6 pixels wide and 10 high.
    const CXYCtrlPanel::BaseUnits units = CXYCtrlPanel::UnitsOf(6 * 52, 10);
    EXPECT_EQ(units.x, 6);
    EXPECT_EQ(units.y, 10);
    for (const GPoint& p : dc.textPos) {
        EXPECT_GE(p.x, 10);
        EXPECT_LT(p.x, 10 + 311 * 6 / 4);
        EXPECT_GE(p.y, 200);
        EXPECT_LT(p.y, 248);
    }
    EXPECT_EQ(CXYCtrlPanel::Height(), 48); // 30 dialog units of the dialog font
}

} // namespace
