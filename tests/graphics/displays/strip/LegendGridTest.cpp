#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/displays/strip/CLegendGrid.h"
#include "platform/archive/CArchiveException.h"
#include "platform/grid/GridCore.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using namespace graphicstest;

// The frame as the legend reports to it; it answers channel choices as the
// strip chart frame does.
class FakeLegendParent : public ILegendParent {
public:
    bool OnChannelRequest(std::vector<OverlayChannel>& channels) override {
        if (!hasList)
            return false;
        for (int n : {101, 102, 103}) {
            OverlayChannel c;
            c.number = n;
            c.label = "<" + std::to_string(n) + ">";
            c.name = "Ch" + std::to_string(n);
            c.units = "VDC";
            channels.push_back(c);
        }
        return true;
    }
    void OnSetChannel(int slot, const OverlayChannel& channel) override {
        log.push_back("set " + std::to_string(slot));
        legend->SetChannelAt(slot);
        legend->UpdateChannelRow(slot, channel, 0x00FF00);
    }
    void OnRemoveChannel(int slot) override {
        log.push_back("remove " + std::to_string(slot));
        legend->RemoveChannelAt(slot);
    }
    void OnToggleVMarkerState(int marker, int slot, bool on) override {
        log.push_back("marker " + std::to_string(marker) + " slot " + std::to_string(slot) +
                      (on ? " on" : " off"));
    }
    void OnLegendRangeChange(int slot, const OverlayRange& range) override {
        ranges.push_back(range);
        legend->UpdateRangeInfo(slot, range);
    }
    void OnLegendTabOut() override { log.push_back("tab out"); }

    CLegendGrid* legend = nullptr;
    bool hasList = true;
    std::vector<std::string> log;
    std::vector<OverlayRange> ranges;
};

class LegendGridTest : public ::testing::Test {
protected:
    LegendGridTest() {
        parent.legend = &legend;
        legend.SetParent(&parent);
        legend.Attach(core);
        EXPECT_TRUE(legend.Create(8));
    }
    tvane::GridCore core;
    CLegendGrid legend;
    FakeLegendParent parent;
};

TEST_F(LegendGridTest, ANewLegendShowsEightEmptyRowsAndTheChannelList) {
    EXPECT_EQ(core.GetRowCount(), 8);
    EXPECT_EQ(core.GetColCount(), 7);
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(core.GetCellText(row, CLegendGrid::kChannelCol), "<None>");
        EXPECT_EQ(core.GetCellText(row, CLegendGrid::kNumberCol), std::to_string(row));
        EXPECT_EQ(core.GetCellText(row, CLegendGrid::kUnitsCol), "");
    }
    EXPECT_EQ(core.GetCellText(0, CLegendGrid::kChannelCol), "Channel Name");
    EXPECT_EQ(legend.ChoiceTexts(),
              (std::vector<std::string>{"<None>", "<101> Ch101", "<102> Ch102", "<103> Ch103"}));
    EXPECT_EQ(core.GetStyle(2, CLegendGrid::kChannelCol).ControlId(), CLegendGrid::kChannelListId);
    // Number cells of empty rows have no edit.
    EXPECT_EQ(core.GetStyle(2, CLegendGrid::kUnitsCol).ControlId(), 0);
    // No list from the frame: the creation fails.
    CLegendGrid other;
    FakeLegendParent refusing;
    refusing.hasList = false;
    other.SetParent(&refusing);
    EXPECT_FALSE(other.Create(8));
}

TEST_F(LegendGridTest, ChoosingAChannelFillsTheRowAndNoneClearsIt) {
    legend.ChoiceEnded(3, 2); // <102> into slot 2
    EXPECT_EQ(core.GetCellText(3, CLegendGrid::kChannelCol), "<102> Ch102");
    EXPECT_EQ(core.GetStyle(3, CLegendGrid::kUnitsCol).ControlId(), CLegendGrid::kUnitsEditId);
    EXPECT_EQ(core.GetStyle(3, CLegendGrid::kChannelCol).textColor, 0x00FF00u);
    EXPECT_FALSE(core.GetCellText(3, CLegendGrid::kUnitsCol).empty());
    legend.ClickCell(3, CLegendGrid::kMarker1Col);
    parent.log.clear();
    legend.ChoiceEnded(3, -1); // nothing chosen: the channel goes, its marker first
    EXPECT_EQ(parent.log, (std::vector<std::string>{"remove 2", "marker 1 slot 2 off"}));
    EXPECT_EQ(core.GetCellText(3, CLegendGrid::kChannelCol), "<None>");
    EXPECT_FALSE(legend.Range(2).has_value());
}

TEST_F(LegendGridTest, AMarkerColumnHasAtMostOneRowOn) {
    legend.ChoiceEnded(1, 1);
    legend.ChoiceEnded(3, 3);
    parent.log.clear();
    legend.ClickCell(1, CLegendGrid::kMarker1Col);
    legend.ClickCell(3, CLegendGrid::kMarker1Col);
    EXPECT_EQ(parent.log, (std::vector<std::string>{"marker 1 slot 0 on", "marker 1 slot 0 off",
                                                    "marker 1 slot 2 on"}));
    EXPECT_EQ(legend.Text(1, CLegendGrid::kMarker1Col), "Off");
    EXPECT_EQ(legend.Text(3, CLegendGrid::kMarker1Col), "On");
    parent.log.clear();
    legend.ClickCell(5, CLegendGrid::kMarker2Col); // an empty row
    legend.ClickCell(0, CLegendGrid::kMarker2Col); // the header
    legend.ClickCell(3, CLegendGrid::kUnitsCol);   // another column
    EXPECT_TRUE(parent.log.empty());
}

TEST_F(LegendGridTest, TabLeavesFromTheReferenceAndShiftTabFromTheChannel) {
    int row = 2, col = CLegendGrid::kReferenceCol;
    EXPECT_FALSE(legend.Tab(false, true, row, col));
    col = CLegendGrid::kChannelCol;
    EXPECT_FALSE(legend.Tab(true, true, row, col));
    EXPECT_EQ(parent.log, (std::vector<std::string>{"tab out", "tab out"}));
    col = CLegendGrid::kChannelCol;
    EXPECT_TRUE(legend.Tab(false, true, row, col));
    EXPECT_EQ(col, CLegendGrid::kUnitsCol);
    EXPECT_TRUE(legend.Tab(true, false, row, col)); // from outside, backwards
    EXPECT_EQ(col, CLegendGrid::kReferenceCol);
}

TEST_F(LegendGridTest, SpinButtonsStepTheRangeAndTheReferenceIsTyped) {
    legend.ChoiceEnded(1, 1);
    legend.SpinPress(1, CLegendGrid::kUnitsCol, true);
    EXPECT_DOUBLE_EQ(parent.ranges.back().scale, 2.0);
    EXPECT_EQ(legend.RepeatInterval(), 200);
    EXPECT_EQ(legend.SpinTick(), 180);
    EXPECT_DOUBLE_EQ(parent.ranges.back().scale, 5.0);
    legend.SpinRelease();
    EXPECT_FALSE(legend.IsSpinHeld());
    EXPECT_EQ(legend.RepeatInterval(), 200);
    EXPECT_NE(legend.Text(1, CLegendGrid::kUnitsCol).find("5"), std::string::npos);

    std::string warning;
    ASSERT_TRUE(legend.StoreReference(1, "1.5 mVdc", warning));
    EXPECT_DOUBLE_EQ(parent.ranges.back().reference, 0.0015);
    ASSERT_TRUE(legend.StoreReference(1, "-3", warning)); // a negative reference
    EXPECT_DOUBLE_EQ(legend.Range(0)->reference, -3.0);
    EXPECT_FALSE(legend.StoreReference(1, "2e3k", warning));
    EXPECT_NE(warning.find("Please enter digit within range"), std::string::npos);
    EXPECT_EQ(legend.EditText(1, CLegendGrid::kReferenceCol).find("V"), std::string::npos);
}

TEST_F(LegendGridTest, StoresAndLoadsItsRowsAndRanges) {
    legend.ChoiceEnded(2, 1);
    legend.SetBackground(0x112233);
    legend.SetHeights(21, 19);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { legend.Serialize(ar); });
    CLegendGrid loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.RowCount(), 8);
    EXPECT_EQ(loaded.GetBackground(), 0x112233);
    EXPECT_EQ(loaded.RowHeight(), 21);
    EXPECT_EQ(loaded.HeaderHeight(), 19);
    ASSERT_TRUE(loaded.Range(1).has_value());
    EXPECT_EQ(loaded.Range(1)->channel.number, 101);
    EXPECT_FALSE(loaded.Range(0).has_value());
    Bytes damaged = bytes;
    // The row count follows the object's class tag; 0 rows cannot be a legend.
    const Bytes zero = Store([&](tvane::CArchive& ar) {
        CLegendGrid empty;
        empty.Serialize(ar);
    });
    (void)zero;
    CLegendGrid bad;
    EXPECT_THROW(Load(zero, [&](tvane::CArchive& ar) { bad.Serialize(ar); }),
                 tvane::CArchiveException);
}

} // namespace
