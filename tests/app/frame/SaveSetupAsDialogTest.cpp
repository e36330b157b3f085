#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app/frame/CSaveSetupAsDialog.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"

namespace {

class SaveSetupAsDialogTest : public ::testing::Test {
protected:
    SaveSetupAsDialogTest() {
        tvane::test::TestApp();
        fields.existingName = "Bench";
        fields.newName = "Bench.1";
        fields.user = "ann";
        fields.lastModified = "03/05/26 14:07:09";
    }
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    SaveSetupAsFields fields;
    SaveSetupAsModel::SetupLookup lookup = [](const std::string& name) -> std::int16_t {
        return name == "Taken" ? 1 : 2;
    };
};

TEST_F(SaveSetupAsDialogTest, ChoicesAndNameCheckInTheWindow) {
    CSaveSetupAsDialog dialog(fields, lookup);
    EXPECT_TRUE(dialog.CreateNewButton()->isChecked());
    EXPECT_EQ(dialog.NameEdit()->text(), "Bench.1");
    EXPECT_TRUE(dialog.NameEdit()->isEnabled());
    EXPECT_EQ(dialog.UserEdit()->text(), "ann");

    dialog.OverwriteButton()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), "Bench");
    EXPECT_FALSE(dialog.NameEdit()->isEnabled());
    dialog.CreateNewButton()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), "Bench.1");
    EXPECT_TRUE(dialog.NameEdit()->isEnabled());

    dialog.NameEdit()->selectAll();
    QTest::keyClick(dialog.NameEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.NameEdit(), "Taken");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{SaveSetupAsModel::kNameInUse});
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "the dialog stays open";

    dialog.NameEdit()->selectAll();
    QTest::keyClicks(dialog.NameEdit(), "Fresh");
    dialog.DescriptionEdit()->setPlainText("why");
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fields.createNew, 1);
    EXPECT_EQ(fields.name, "Fresh");
    EXPECT_EQ(fields.description, "why");
}

} // namespace
