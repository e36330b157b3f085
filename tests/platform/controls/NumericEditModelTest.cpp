#include <gtest/gtest.h>

#include "platform/controls/NumericEditModel.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"

namespace tvane {
namespace {

using CharResult = NumericEditModel::CharResult;

TEST(NumericEditModel, PatternsAreTypedOverOnePositionAtATime) {
    NumericEditModel edit;
    EXPECT_EQ(edit.GetText(), "XXXXXXXX");
    for (char32_t c : {U'1', U'x', U'0'})
        EXPECT_EQ(edit.Char(c), CharResult::Overwritten);
    EXPECT_EQ(edit.GetText(), "1X0XXXXX");
    EXPECT_EQ(edit.GetPosition(), 3);
    EXPECT_EQ(edit.Char(U'2'), CharResult::Dropped);
    edit.SetPosition(7);
    edit.Char(U'1');
    edit.Char(U'0'); // the last position is typed over again
    EXPECT_EQ(edit.GetText(), "1X0XXXX0");
    EXPECT_EQ(edit.GetPosition(), 7);
    edit.KeyRight();
    EXPECT_EQ(edit.GetPosition(), 0);
    edit.KeyLeft();
    EXPECT_EQ(edit.GetPosition(), 7);

    edit.Setup(NumericEditModel::kBinaryPattern, "00000000");
    EXPECT_EQ(edit.Char(U'X'), CharResult::Dropped);
    EXPECT_EQ(edit.Char(U'1'), CharResult::Overwritten);
    EXPECT_EQ(edit.GetText(), "10000000");
}

TEST(NumericEditModel, EachModeLetsItsOwnCharactersThrough) {
    NumericEditModel edit;
    edit.Setup(NumericEditModel::kReal, "");
    for (char32_t c : {U'7', U'.', U'+', U'-', U'e', U'E', U'\b'})
        EXPECT_EQ(edit.Char(c), CharResult::ToBox);
    EXPECT_EQ(edit.Char(U'x'), CharResult::Dropped);
    edit.Setup(NumericEditModel::kDigits, "");
    EXPECT_EQ(edit.Char(U'.'), CharResult::Dropped);
    EXPECT_EQ(edit.Char(U'5'), CharResult::ToBox);
    edit.Setup(NumericEditModel::kWhole, "");
    EXPECT_EQ(edit.Char(U'q'), CharResult::ToBox);
}

TEST(NumericEditModel, ParsingTakesOneNumberBetweenBlanks) {
    const struct {
        const char* text;
        bool ok;
        double value;
    } reals[] = {
        {" 1.5e3\t", true, 1500}, {"1.5 V", false, 0},  {"0", true, 0},      {" 0.0", true, 0},
        {"abc", false, 0},        {"", false, 0},       {"-", false, 0},     {".", false, 0},
        {"1e", false, 0},         {"-2.5", true, -2.5}, {"1e999", false, 0},
    };
    for (const auto& c : reals) {
        double value = -1;
        EXPECT_EQ(NumericEditModel::ParseReal(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
    long whole = 0;
    EXPECT_TRUE(NumericEditModel::ParseWhole(" 42 ", "%ld", whole));
    EXPECT_EQ(whole, 42);
    EXPECT_FALSE(NumericEditModel::ParseWhole("12.5", "%ld", whole));
    EXPECT_FALSE(NumericEditModel::ParseWhole("-1", "%lu", whole));
    EXPECT_FALSE(NumericEditModel::ParseWhole("4294967296", "%u", whole));
    EXPECT_TRUE(NumericEditModel::ParseWhole("-7", "%d", whole));
    EXPECT_EQ(whole, -7);
}

TEST(NumericEditModel, ValidationTellsTheUserWhatIsWrong) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    NumericEditModel edit;
    edit.Setup(NumericEditModel::kReal, "");
    edit.SetRange(-5, 5);
    EXPECT_TRUE(edit.Validate("5"));
    EXPECT_TRUE(edit.Validate("-5"));
    EXPECT_EQ(edit.GetValue(), -5);
    EXPECT_FALSE(edit.Validate("1.5 V"));
    EXPECT_FALSE(edit.Validate("6"));
    edit.Setup(NumericEditModel::kWhole, "");
    EXPECT_FALSE(edit.Validate("12.5"));
    edit.Setup(NumericEditModel::kPattern, "1X0XXXXX");
    EXPECT_TRUE(edit.Validate("anything"));
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"Please enter a number.",
                                                          "Please enter a number between -5 to 5",
                                                          "Please enter an integer."}));
    EXPECT_EQ(prompter.asked[1].icon, MsgIcon::Warning);
}

} // namespace
} // namespace tvane
