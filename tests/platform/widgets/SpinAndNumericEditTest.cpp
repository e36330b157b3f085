#include <gtest/gtest.h>

#include <filesystem>

#include <QGridLayout>
#include <QLabel>
#include <QTest>

#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/CNumericEdit.h"
#include "platform/widgets/CQmxSpinButton.h"
#include "platform/widgets/CSpinEdit.h"
#include "tests/support/QtTestSupport.h"

namespace tvane {
namespace {

struct SpinRecorder : MessageTarget {
    long OnMessage(const Message& message) override {
        if (message.id == CQmxSpinButton::UpDownSpinMessage())
            positions.push_back(static_cast<const SpinNotification*>(message.data)->position);
        return 1;
    }
    std::vector<int> positions;
};

TEST(CQmxSpinButton, APressStepsAndTellsTheNotificationWindow) {
    tvane::test::TestApp();
    QWidget page;
    page.resize(200, 60);
    auto* buddy = new QLineEdit(&page);
    buddy->setGeometry(10, 10, 100, 22);
    CQmxSpinButton spin;
    spin.Create(&page, {}, 5);
    ASSERT_TRUE(spin.SetBuddy(buddy));
    EXPECT_EQ(spin.geometry().right(), 109);
    EXPECT_EQ(buddy->geometry().right(), spin.geometry().left() + 1); // 2 pixels overlap
    SpinRecorder recorder;
    spin.SetNotifyWindow(&recorder);
    spin.SetRange(0, 2);
    spin.SetPos(1);
    page.show();
    int released = 0;
    QObject::connect(&spin, &CQmxSpinButton::buttonReleased, [&] { ++released; });

    QTest::mousePress(&spin, Qt::LeftButton, {}, QPoint(5, 2));
    spin.RepeatTick(); // would pass the maximum: nothing told
    QTest::mouseRelease(&spin, Qt::LeftButton, {}, QPoint(5, 2));
    QTest::mouseClick(&spin, Qt::LeftButton, {}, QPoint(5, spin.height() - 2));
    EXPECT_EQ(recorder.positions, (std::vector<int>{2, 1}));
    EXPECT_EQ(released, 2);
    EXPECT_FALSE(spin.Model().IsPressed());
}

TEST(CSpinEdit, TypedNumbersStayInRangeAndTheSpinButtonSetsTheValue) {
    tvane::test::TestApp();
    QWidget page;
    auto* edit = new CSpinEdit(&page);
    edit->setGeometry(10, 10, 90, 22);
    edit->Attach();
    edit->SetValue(100);
    page.show();
    page.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    edit->setFocus();
    edit->setCursorPosition(3);
    QTest::keyClick(edit, Qt::Key_5); // 1005 is refused
    EXPECT_EQ(edit->text(), "100");
    QTest::keyClick(edit, Qt::Key_Minus);
    EXPECT_EQ(edit->text(), "100");
    QTest::keyClick(edit, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "110");
    EXPECT_EQ(edit->GetValue(), 100); // until the box is left
    edit->clear();
    edit->clearFocus();
    EXPECT_EQ(edit->text(), "100");

    ASSERT_NE(edit->SpinButton(), nullptr);
    QTest::mouseClick(edit->SpinButton(), Qt::LeftButton, {}, QPoint(4, 2));
    EXPECT_EQ(edit->GetValue(), 101);
    EXPECT_EQ(edit->text(), "101");
}

TEST(CNumericEdit, PatternsAreTypedOverAndNumbersValidated) {
    tvane::test::TestApp();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    CNumericEdit edit;
    edit.Setup(NumericEditModel::kPattern, "XXXXXXXX");
    edit.show();
    edit.setFocus();
    QTest::keyClicks(&edit, "1x0");
    EXPECT_EQ(edit.text(), "1X0XXXXX");
    EXPECT_EQ(edit.selectionStart(), 3);
    EXPECT_EQ(edit.selectedText(), "X");
    QTest::keyClick(&edit, Qt::Key_Left);
    EXPECT_EQ(edit.selectionStart(), 2);

    edit.Setup(NumericEditModel::kReal, "");
    edit.SetRange(0, 10);
    QTest::keyClicks(&edit, "1a.5");
    EXPECT_EQ(edit.text(), "1.5");
    EXPECT_TRUE(edit.Validate());
    edit.setText("11");
    EXPECT_FALSE(edit.Validate());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Please enter a number between 0 to 10"});
}

TEST(SpinAndNumericEdit, Picture) {
    tvane::test::TestApp();
    QWidget page;
    auto* layout = new QGridLayout(&page);
    auto* spinEdit = new CSpinEdit(&page);
    layout->addWidget(new QLabel("Spin edit:", &page), 0, 0);
    layout->addWidget(spinEdit, 0, 1);
    auto* pattern = new CNumericEdit(&page);
    pattern->Setup(NumericEditModel::kPattern, "10X1XXXX");
    layout->addWidget(new QLabel("Bit pattern:", &page), 1, 0);
    layout->addWidget(pattern, 1, 1);
    auto* disabled = new CSpinEdit(&page);
    layout->addWidget(new QLabel("Disabled:", &page), 2, 0);
    layout->addWidget(disabled, 2, 1);
    page.resize(260, 110);
    page.show();
    QApplication::processEvents();
    spinEdit->Attach();
    spinEdit->SetValue(250);
    disabled->Attach();
    disabled->SetValue(7);
    disabled->setEnabled(false);
    disabled->SpinButton()->setEnabled(false);
    QApplication::processEvents();
    ASSERT_TRUE(tvane::test::SaveArtifact(page, "spin_and_numeric_edit.png"));
}

} // namespace
} // namespace tvane
