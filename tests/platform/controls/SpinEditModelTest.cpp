#include <gtest/gtest.h>

#include "platform/controls/SpinEditModel.h"

namespace tvane {
namespace {

using Step = SpinEditModel::Step;

TEST(SpinEditModel, TypingKeepsTheTextANumberInRange) {
    SpinEditModel edit; // 0 to 1000, value 500
    EXPECT_TRUE(SpinEditModel::AcceptsChar(U'7'));
    EXPECT_TRUE(SpinEditModel::AcceptsChar(U'\b'));
    for (char32_t c : {U'-', U'.', U'e', U'+', U' '})
        EXPECT_FALSE(SpinEditModel::AcceptsChar(c));

    EXPECT_FALSE(edit.AfterChar("1005"));    // "100" comes back
    EXPECT_EQ(edit.AfterChar("0042"), "42"); // leading zeros go
    EXPECT_EQ(edit.GetValue(), 42);
    EXPECT_EQ(edit.GetSpinPos(), 42);
    EXPECT_EQ(edit.AfterChar(""), ""); // empty stays until the box is left
    EXPECT_EQ(edit.KillFocus(""), "42");
    EXPECT_EQ(edit.KillFocus("99999999999999999999"), "42");
    EXPECT_EQ(edit.KillFocus("7"), "7");
    EXPECT_EQ(edit.GetValue(), 7);
}

TEST(SpinEditModel, UpAndDownStepTheTextWithinTheRange) {
    SpinEditModel edit;
    const struct {
        const char* text;
        Step step;
        bool shift, ctrl;
        std::optional<std::string> result;
    } cases[] = {
        {"500", Step::Up, false, false, "501"},        {"500", Step::Down, true, false, "490"},
        {"995", Step::Up, true, false, std::nullopt}, // 1005 is out of range
        {"12", Step::Up, false, true, "1000"},         {"12", Step::Down, false, true, "0"},
        {"3", Step::Down, true, true, std::nullopt}, // Shift before Ctrl
        {"0", Step::Down, false, false, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(edit.StepKey(c.text, c.step, c.shift, c.ctrl), c.result) << c.text;
    EXPECT_EQ(edit.GetValue(), 500); // the value follows only when the box is left
}

TEST(SpinEditModel, ANewRangeRecentresAValueOutsideIt) {
    SpinEditModel edit;
    edit.SetValue(900);
    edit.SetRange(0, 100);
    EXPECT_EQ(edit.GetValue(), 50);
    SpinEditModel plain(false);
    plain.SetValue(900);
    plain.SetRange(0, 100);
    EXPECT_EQ(plain.GetValue(), 900);
}

} // namespace
} // namespace tvane
