#include <gtest/gtest.h>

#include <map>

#include "platform/core/Services.h"
#include "platform/grid/GridCellControl.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Prompter.h"
#include "setup/NumericCellRules.h"
#include "setup/SetupGridDefs.h"

namespace setupgrid {
namespace {

using tvane::GridCellControl;
using tvane::GridCore;

TEST(NumericCellTyping, EachModeAcceptsOnlyItsSyntaxWhileTyping) {
    const struct {
        NumericMode mode;
        const char* text;
        bool allowed;
    } cases[] = {
        {NumericMode::Number, "", true},         {NumericMode::Number, "1e-5", true},
        {NumericMode::Number, "-1.5E+3", true},  {NumericMode::Number, "+.5", true},
        {NumericMode::Number, "-", true},        {NumericMode::Number, "1-", false},
        {NumericMode::Number, "e5", false},      {NumericMode::Number, "1..2", false},
        {NumericMode::Number, "1e5e", false},    {NumericMode::Number, "1e.5", false},
        {NumericMode::Number, "1.e5", false},    {NumericMode::Number, ".-", false},
        {NumericMode::Number, "--1", false},     {NumericMode::Number, "-e", false},
        {NumericMode::Number, "1 ", false},      {NumericMode::Number, "1ee", false},
        {NumericMode::BitPattern, "10Xx", true}, {NumericMode::BitPattern, "102", false},
        {NumericMode::Count, "7E8", true},       {NumericMode::Count, "E8", false},
        {NumericMode::Count, "1e2e", false},     {NumericMode::Count, "1.5", false},
        {NumericMode::Count, "-1", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumericTextAllowed(c.mode, c.text), c.allowed) << c.text;
}

TEST(NumericCellTyping, BitPatternsAreTypedOver) {
    const struct {
        char c;
        int start, end, max;
        BitPatternTyping result;
    } cases[] = {
        {'x', 2, 2, 8, {'X', 2, 3, false}}, // nothing selected: the next one is replaced
        {'1', 2, 3, 8, {'1', 2, 3, false}},
        {'0', 1, 4, 8, {'0', 1, 1, true}}, // a longer selection collapses
        {'1', 8, 8, 8, {'1', 8, 8, true}}, // a ninth character cannot be typed
    };
    for (const auto& c : cases) {
        const BitPatternTyping typed = BitPatternKey(c.c, c.start, c.end, c.max);
        EXPECT_EQ(typed.c, c.result.c);
        EXPECT_EQ(typed.selStart, c.result.selStart);
        EXPECT_EQ(typed.selEnd, c.result.selEnd);
        EXPECT_EQ(typed.dropped, c.result.dropped);
    }
    int start = 0, end = 8;
    BitPatternFocus(start, end, 8);
    EXPECT_EQ(end, 0);
}

TEST(NumericCellTyping, TheHighCellTakesThePatternOrCountOfItsFunction) {
    EXPECT_EQ(NumericModeFor(kColHigh, "Digital Read 8bit").mode, NumericMode::BitPattern);
    EXPECT_EQ(NumericModeFor(kColHigh, "Digital Read 8bit").maxLength, 8);
    EXPECT_EQ(NumericModeFor(kColHigh, "Totalize (Reset)").mode, NumericMode::Count);
    EXPECT_EQ(NumericModeFor(kColLow, "Totalize").mode, NumericMode::Number);
    EXPECT_EQ(NumericModeFor(kColGain, "Digital Read 8bit").mode, NumericMode::Number);
}

// One row of alarm limits kept by the owner; the control edits the current cell.
class NumericCellValidationTest : public ::testing::Test {
protected:
    NumericCellValidationTest() : guard(tvane::SetPrompter, &prompter), control(grid) {
        grid.SetColCount(kLastCol);
        grid.SetHeaderRowCount(2);
        grid.SetRowCountSource([] { return 1; });
        grid.SetCellTextSource([this](int, int col, std::string& text) {
            text = cells[col];
            return true;
        });
        grid.SetStoreHook([this](int, int col, const std::string& value) {
            cells[col] = value;
            return true;
        });
    }
    // Types a text into a cell of the row.
    void Type(int col, const std::string& text) {
        control.Init(2, col);
        control.SetActive(true);
        control.SetCurrentText(text);
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard;
    GridCore grid;
    GridCellControl control;
    std::map<int, std::string> cells{{kColHigh, "10"}, {kColLow, "7"}};
};

TEST_F(NumericCellValidationTest, NumbersMustBeWholeAndInRange) {
    const struct {
        NumericMode mode;
        const char* text;
        const char* warning; // null: accepted
    } cases[] = {
        {NumericMode::Number, "1e-5", nullptr},
        {NumericMode::Number, "2e15",
         "Invalid value. Please enter a number between -1e+15 and 1e+15"},
        {NumericMode::Number, "", "Invalid value. Please enter a number between -1e+15 and 1e+15"},
        {NumericMode::Number, "-", "Invalid value. Please enter a number between -1e+15 and 1e+15"},
        {NumericMode::Number, ".", "Invalid value. Please enter a number between -1e+15 and 1e+15"},
        {NumericMode::Number, "1e",
         "Invalid value. Please enter a number between -1e+15 and 1e+15"},
        {NumericMode::BitPattern, "10X1",
         "Invalid value. Please enter an 8 digit bit pattern using 1,0 or X"},
        {NumericMode::BitPattern, "10X10XX1", nullptr},
        {NumericMode::Count, "7E8", "Invalid value. Please enter a number between 0 and 67108863"},
        {NumericMode::Count, "1e", "Invalid value. Please enter a number between 0 and 67108863"},
        {NumericMode::Count, "67108863", nullptr},
    };
    for (const auto& c : cases) {
        Type(kColGain, c.text);
        grid.SetWarningText({});
        EXPECT_EQ(ValidateNumericCell(control, c.mode, true), c.warning == nullptr) << c.text;
        EXPECT_EQ(grid.GetWarningText(), c.warning ? c.warning : "") << c.text;
    }
    // An edit that is not active or not modified is not checked.
    Type(kColGain, "x");
    control.SetModify(false);
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, true));
}

TEST_F(NumericCellValidationTest, CrossingLimitsMoveTheOtherOne) {
    Type(kColHigh, "5"); // below the Low of 7
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, true));
    EXPECT_EQ(cells[kColLow], "5");
    cells[kColHigh] = "10";
    Type(kColLow, "12.5"); // above the High
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, true));
    EXPECT_EQ(cells[kColHigh], "12.5");
    // A row without a Low (a module that has none) has nothing to move.
    cells[kColLow] = "";
    Type(kColHigh, "-3");
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, true));
    EXPECT_EQ(cells[kColLow], "");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(NumericCellValidationTest, EqualLimitsAreQuestionedWhenTheUserIsThere) {
    prompter.Script({tvane::MsgAnswer::Cancel, tvane::MsgAnswer::Ok});
    Type(kColHigh, "7");
    EXPECT_FALSE(ValidateNumericCell(control, NumericMode::Number, true));
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, true));
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[0].text,
              "High and Low Limits are the same.\nThis may generate an excessive amount of alarms");
    EXPECT_EQ(prompter.asked[0].buttons, tvane::MsgButtons::OkCancel);
    EXPECT_TRUE(ValidateNumericCell(control, NumericMode::Number, false)); // no one to ask
    EXPECT_EQ(prompter.asked.size(), 2u);
}

} // namespace
} // namespace setupgrid
