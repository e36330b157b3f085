#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "app/frame/CProgressDialog.h"
#include "app/frame/CProgressMeter.h"
#include "app/frame/SingleInstance.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace {

TEST(ProgressDialog, PercentageWrapsPastTheRangeAndEmptyRangeIsSafe) {
    struct Case {
        int pos, lower, upper;
        const char* text;
    } cases[] = {
        {100, 0, 200, "50%"}, {100, 0, 100, "100%"}, {105, 0, 100, "5%"}, {250, 0, 100, "50%"},
        {7, 5, 5, "100%"},    {4, 5, 5, "0%"},       {0, 0, 3, "0%"},     {2, 0, 3, "66%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CProgressDialog::PercentFor(c.pos, c.lower, c.upper), c.text)
            << c.pos << " in " << c.lower << ".." << c.upper;
}

TEST(ProgressDialog, StepsClampTheBarAndWrapTheText) {
    tvane::test::TestApp();
    QWidget owner;
    owner.show();
    CProgressDialog dialog(CProgressDialog::kUploadingData);
    ASSERT_TRUE(dialog.Create(&owner));
    EXPECT_EQ(dialog.windowTitle(), "Uploading Instrument Data");
    EXPECT_FALSE(owner.isEnabled());
    EXPECT_TRUE(dialog.isEnabled());

    EXPECT_EQ(dialog.SetPos(95), 95);
    EXPECT_EQ(dialog.PercentText(), "95%");
    EXPECT_EQ(dialog.SetPos(95), -1);
    EXPECT_EQ(dialog.OffsetPos(10), 95);
    EXPECT_EQ(dialog.Meter()->GetPos(), 100);
    EXPECT_EQ(dialog.PercentText(), "5%");
    // At the upper bound the bar reaches the inset right edge.
    const CProgressMeter* meter = dialog.Meter();
    EXPECT_EQ(meter->BarRect().right(), meter->width() - 2 - 1);
    dialog.SetRange(0, 200);
    dialog.SetStep(50);
    dialog.SetPos(0);
    EXPECT_EQ(dialog.StepIt(), 0);
    EXPECT_EQ(dialog.PercentText(), "25%");
    dialog.SetStatusText("Channel 3");
    EXPECT_EQ(dialog.StatusText(), "Channel 3");

    dialog.SetRange(10, 10);
    dialog.SetPos(10);
    EXPECT_EQ(dialog.PercentText(), "100%");
    EXPECT_DOUBLE_EQ(dialog.Meter()->Fraction(), 1.0);

    dialog.DestroyWindow();
    EXPECT_TRUE(owner.isEnabled());
}

TEST(ProgressDialog, CancelIsSeenOnceAndDoesNotClose) {
    tvane::test::TestApp();
    QWidget owner;
    owner.show();
    CProgressDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Downloading Channel Configurations");
    ASSERT_TRUE(dialog.Create(&owner));
    EXPECT_FALSE(dialog.CheckCancel());
    auto* cancel = dialog.findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(dialog.CheckCancel());
    EXPECT_FALSE(dialog.CheckCancel());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.CheckCancel());
}

TEST(ProgressDialog, DestructionReenablesTheOwner) {
    tvane::test::TestApp();
    QWidget owner;
    owner.show();
    {
        CProgressDialog dialog;
        ASSERT_TRUE(dialog.Create(&owner));
        EXPECT_FALSE(owner.isEnabled());
    }
    EXPECT_TRUE(owner.isEnabled());
    // An owner that was already disabled stays so.
    owner.setEnabled(false);
    {
        CProgressDialog dialog;
        ASSERT_TRUE(dialog.Create(&owner));
    }
    EXPECT_FALSE(owner.isEnabled());
}

TEST(SingleInstanceTest, SecondInstanceAsksTheFirstToRaise) {
    tvane::test::TestApp();
    tvane::test::TempHome home;
    const QString dir = QString::fromStdString(home.Config().string());
    std::filesystem::create_directories(home.Config());
    SingleInstance first(dir);
    ASSERT_TRUE(first.Acquire());
    QWidget window;
    window.showMinimized();
    first.SetWindow(&window);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    SingleInstance second(dir);
    EXPECT_FALSE(second.Acquire());
    EXPECT_TRUE(raised.count() > 0 || raised.wait(5000));
    EXPECT_FALSE(window.isMinimized());

    // Another configuration folder is another program.
    tvane::test::TempHome other;
    std::filesystem::create_directories(other.Config());
    SingleInstance third(QString::fromStdString(other.Config().string()));
    EXPECT_TRUE(third.Acquire());
}

} // namespace
