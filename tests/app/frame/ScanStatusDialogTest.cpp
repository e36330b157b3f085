#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/frame/CScanStatusDialog.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CFXScan.h"
#include "shared/view/MfxFontQt.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

TEST(ScanStatusDialog, StartReportsTheCheckBoxAndSettingsRefreshTheList) {
    TestApp();
    FakeClock clock(1700000000);
    ScopedService<IClock> service(SetClock, &clock);
    CFXScan scan;
    CScanStatusDialog dialog(scan, "RS-232", false);
    ASSERT_EQ(dialog.List()->count(), 12);
    EXPECT_EQ(dialog.List()->item(1)->text().toStdString(), "\tStart Scan\tImmediately");
    EXPECT_EQ(dialog.List()->item(11)->text().toStdString(), "\tDownload of Setup required\tYes");

    dialog.SetSettingsCommand([&] { scan.m_startMode = CFXScan::kStartExternalTrigger; });
    QTest::mouseClick(dialog.SettingsButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.List()->item(1)->text().toStdString(), "\tStart Scan\tOn External Trigger");

    dialog.DontShow()->setChecked(true);
    QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ShowAgain(), 0);
}

TEST(ScanStatusDialog, TakesTheSharedDialogFont) {
    TestApp();
    ASSERT_TRUE(CreateDialogFont());
    CFXScan scan;
    CScanStatusDialog dialog(scan, "RS-232", false);
    EXPECT_EQ(dialog.StartButton()->font(), *DialogFont());
    EXPECT_EQ(dialog.List()->font(), *DialogFont());
    DeleteDialogFont();
}

} // namespace
} // namespace tvane::test
