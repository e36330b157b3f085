#include <gtest/gtest.h>

#include "platform/grid/GridCore.h"
#include "setup/CellControlRules.h"
#include "setup/RowStyling.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupGridLayout.h"
#include "setup/SetupMessages.h"

namespace setupgrid {
namespace {

using tvane::GridCore;
using tvane::GridStyle;
namespace gridcontrol = tvane::gridcontrol;

constexpr auto kWhite = kEnabledCell;
constexpr auto kGrey = kDisabledCell;

// The look of a cell as control, interior and read-only.
struct Look {
    int control;
    tvane::ColorRef interior;
    bool readOnly;
    bool operator==(const Look&) const = default;
};

class RowStylingTest : public ::testing::Test {
protected:
    RowStylingTest() {
        InitGridLayout(grid, kFrozenCols, true);
        grid.SetRowCountSource([] { return 3; });
    }
    Look LookOf(int row, int col) const {
        const GridStyle style = grid.GetStyle(row, col);
        return {style.ControlId(), style.interior.value_or(0), style.IsReadOnly()};
    }
    GridCore grid;
};

TEST_F(RowStylingTest, TheFlagWordDisablesCellsBitByBit) {
    const struct {
        std::uint32_t flags;
        int col;
        Look look;
    } cases[] = {
        {0, kColScan, {kCtrlCheckBox, kWhite, false}},
        {0x2000, kColScan, {kCtrlCheckBox, kGrey, true}},
        {0, kColFunction, {kCtrlDropDown, kWhite, false}},
        {0x0001, kColFunction, {gridcontrol::kStatic, kGrey, false}},
        {0x0002, kColRange, {gridcontrol::kStatic, kGrey, false}},
        {0x0004, kColResolution, {gridcontrol::kStatic, kGrey, false}},
        {0x0800, kColAdvanced, {gridcontrol::kStatic, kGrey, false}},
        {0, kColAdvanced, {gridcontrol::kStatic, kWhite, false}},
        {0x0008, kColScale, {gridcontrol::kStatic, kGrey, false}},
        {0, kColScale, {kCtrlCheckBox, kWhite, false}},
        {0x0010, kColGain, {gridcontrol::kStatic, kGrey, false}},
        {0x0020, kColOffset, {gridcontrol::kStatic, kGrey, false}},
        {0, kColOffset, {kCtrlNumeric, kWhite, false}},
        {0x0040, kColLabel, {gridcontrol::kStatic, kGrey, false}},
        {0, kColLabel, {kCtrlUnitsCombo, kWhite, false}},
        {0x0080, kColTest, {gridcontrol::kStatic, kGrey, false}},
        {0, kColTest, {kCtrlDropDown, kWhite, false}},
        {0, kColHigh, {kCtrlNumeric, kWhite, false}}, // the standard edit becomes numeric
        {0x0100, kColHigh, {gridcontrol::kStatic, kGrey, false}},
        {0x0200, kColLow, {gridcontrol::kStatic, kGrey, false}},
        {0x0400, kColHwAlarm, {gridcontrol::kStatic, kGrey, false}},
        {0, kColHwAlarm, {kCtrlDropDown3, kWhite, false}},
        {0x1000, kColAlarmAdvanced, {gridcontrol::kStatic, kGrey, false}},
        {kWholeRow, kColScan, {kCtrlCheckBox, kGrey, true}},
        {kWholeRow, kColFunction, {gridcontrol::kStatic, kGrey, false}},
        {kWholeRow, kColAlarmAdvanced, {gridcontrol::kStatic, kGrey, false}},
        // ID, Name and Comment keep their styles whatever the flag word.
        {kWholeRow, kColName, {gridcontrol::kEdit, kWhite, false}},
        {kWholeRow, kColComment, {kCtrlComment, kWhite, false}},
        {kWholeRow, kColId, {kCtrlArrowHeader, kHeaderGrey, false}},
    };
    for (const auto& c : cases) {
        ApplyRowFlags(grid, 3, c.flags, true);
        EXPECT_EQ(LookOf(3, c.col), c.look)
            << std::hex << c.flags << " column " << std::dec << c.col;
        ApplyRowFlags(grid, 3, 0, true);
    }
    EXPECT_TRUE(grid.IsLockReadOnly()); // the protection is back on
}

TEST_F(RowStylingTest, ARestyleWithoutForceWritesOnlyWhatChanged) {
    ApplyRowFlags(grid, 2, 0x0100, true);
    std::vector<tvane::GridRange> written;
    grid.SetCellsChanged([&](const tvane::GridRange& range) { written.push_back(range); });
    ApplyRowFlags(grid, 2, 0x0100, false);
    EXPECT_TRUE(written.empty());
    ApplyRowFlags(grid, 2, 0x0300, false);
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0], tvane::GridRange::Cells(2, kColLow, 2, kColLow));
    ApplyRowFlags(grid, 2, 0x0300, true);
    EXPECT_EQ(written.size(), 15u);
}

TEST(IdCellColour, MonitorAndOutOfSyncRows) {
    EXPECT_EQ(IdCellColour(false, false), tvane::Rgb(192, 192, 192));
    EXPECT_EQ(IdCellColour(true, false), tvane::Rgb(255, 255, 128));
    EXPECT_EQ(IdCellColour(false, true), tvane::Rgb(0, 255, 255));
    EXPECT_EQ(IdCellColour(true, true), tvane::Rgb(0, 128, 128));
}

TEST(DecorateCell, SeparatorsAndNumericModes) {
    const SlotRows last{21, 0, 40};
    GridStyle style;
    DecorateCell(21, kColName, style, last, "DC volts");
    ASSERT_TRUE(style.rightBorder && style.bottomBorder);
    EXPECT_EQ(style.rightBorder->color, kSeparator);
    style = {};
    DecorateCell(22, kColGain, style, last, "DC volts");
    EXPECT_FALSE(style.rightBorder || style.bottomBorder);
    EXPECT_TRUE(style.userAttributes.empty()); // not a numeric cell
    style.control = kCtrlNumeric;
    DecorateCell(40, kColHigh, style, last, "Digital Read 8bit");
    EXPECT_EQ(style.maxLength, 8);
    EXPECT_EQ(*style.UserAttribute(kAttrNumericMode), "1");
    EXPECT_TRUE(style.bottomBorder);
}

TEST(CellControlRules, UnitsLabelsStartWithALetter) {
    const struct {
        char32_t c;
        bool empty;
        int caret;
        bool accepted;
    } cases[] = {
        {U'_', true, 0, false},  {U'5', true, 0, false},  {U'm', true, 0, true},
        {U'V', false, 1, true},  {U'_', false, 2, true},  {U'2', false, 3, true},
        {U'2', false, 0, false}, {U'-', false, 2, false}, {U'\b', true, 0, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnitsLabelAccepts(c.c, c.empty, c.caret), c.accepted)
            << static_cast<char>(c.c) << c.caret;
}

TEST(CellControlRules, AChosenItemTellsTheViewOnlyWhenItChangesTheCell) {
    EXPECT_FALSE(ComboChangeMessage(kColFunction, "DC Volts", "dc volts"));
    EXPECT_EQ(ComboChangeMessage(kColFunction, "DC volts", "AC volts"), setupmsg::FuncChanged());
    EXPECT_EQ(ComboChangeMessage(kColResolution, "", "5.5"), setupmsg::ResChanged());
    EXPECT_EQ(ComboChangeMessage(kColRange, "1V", "10V"), setupmsg::SettingChanged());
    EXPECT_EQ(ComboChangeMessage(kColTest, "Off", "High Only"), setupmsg::SettingChanged());
    EXPECT_FALSE(ComboChangeMessage(kColHwAlarm, "Alarm1", "Alarm2"));
    EXPECT_STREQ(AlarmTestList("Digital Read 8bit"), "Off\nEqual\nNot Equal\n");
    EXPECT_STREQ(AlarmTestList("Totalize"), "Off\nHigh Only\n");
    EXPECT_STREQ(AlarmTestList("DC volts"), "Off\nHigh/Low\nHigh Only\nLow Only\n");
}

TEST(SetupGridLayout, TwoHeaderRowsWithGroupsAndFrozenColumns) {
    GridCore grid;
    InitGridLayout(grid, kFrozenCols, true);
    EXPECT_EQ(grid.GetHeaderRowCount(), 2);
    EXPECT_EQ(grid.GetColCount(), 16);
    EXPECT_EQ(grid.GetFrozenCols(), 2);
    EXPECT_EQ(grid.GetRowHeight(1), 20);
    EXPECT_EQ(grid.GetRowHeight(5), 22);
    tvane::GridRange group;
    ASSERT_TRUE(grid.GetCoveredRange(0, 9, group));
    EXPECT_EQ(grid.GetCellText(group.top, group.left), "Scaling (Mx+B)");
    ASSERT_TRUE(grid.GetCoveredRange(1, 16, group));
    EXPECT_EQ(grid.GetCellText(0, 16), "Comment");
    EXPECT_EQ(grid.GetCellText(1, 5), "Resolution");
    EXPECT_EQ(grid.GetColWidth(16), 120);
    grid.SetRowCountSource([] { return 1; });
    EXPECT_EQ(grid.GetStyle(2, kColHwAlarm).ControlId(), kCtrlDropDown3);
    EXPECT_EQ(*grid.GetStyle(2, kColLow).UserAttribute(kAttrFormat), "%g");
    EXPECT_EQ(grid.GetStyle(2, kColComment).maxLength, 256);
    EXPECT_STREQ(ColumnPrompt(kColTest), "Activate/Deactivate alarms");
    EXPECT_STREQ(ColumnPrompt(-1), "For Help, press F1");
    // Laid out again, nothing is doubled.
    InitGridLayout(grid, kFrozenCols, false);
    EXPECT_EQ(grid.GetCoveredCells().size(), 5u);
}

} // namespace
} // namespace setupgrid
