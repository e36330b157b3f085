#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/CUploadDialogModel.h"
#include "app/IDocumentInstrument.h"
#include "app/frame/CDownloadNoticeDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CProgressDialog.h"
#include "app/frame/CTextButton.h"
#include "app/frame/CUploadDlg.h"
#include "app/frame/FrameInstrumentUi.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace {

struct NoticeCase {
    bool scanning, stored;
    bool chooseUpload;
    bool uploadChosen;
};

class DownloadNoticeDialogTest : public ::testing::TestWithParam<NoticeCase> {
protected:
    DownloadNoticeDialogTest() { tvane::test::TestApp(); }
};

TEST_P(DownloadNoticeDialogTest, OkGivesTheChoiceAndShowsTheConditions) {
    const NoticeCase c = GetParam();
    CDownloadNotice notice;
    notice.scanInProgress = c.scanning;
    notice.storedData = c.stored;
    CDownloadNoticeDialog dialog(notice);
    EXPECT_EQ(dialog.windowTitle(), "Download Setup Notice");
    EXPECT_EQ(dialog.ScanInProgressBox()->isChecked(), c.scanning);
    EXPECT_EQ(dialog.StoredDataBox()->isChecked(), c.stored);
    EXPECT_FALSE(dialog.ScanInProgressBox()->isEnabled());
    EXPECT_TRUE(dialog.ContinueButton()->isChecked());
    if (c.chooseUpload)
        dialog.UploadButton()->click();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(notice.uploadChosen, c.uploadChosen);
}

INSTANTIATE_TEST_SUITE_P(Choices, DownloadNoticeDialogTest,
                         ::testing::Values(NoticeCase{true, true, false, false},
                                           NoticeCase{false, true, true, true},
                                           NoticeCase{true, true, true, true}));

TEST(DownloadNoticeDialog, CancelLeavesNoUpload) {
    tvane::test::TestApp();
    CDownloadNotice notice;
    CDownloadNoticeDialog dialog(notice);
    dialog.UploadButton()->click();
    dialog.reject();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(notice.uploadChosen);
}

class UploadDlgTest : public ::testing::Test {
protected:
    UploadDlgTest() {
        tvane::test::TestApp();
        model.slotTexts[0] = "Digital I/O";
        model.slotTexts[1] = model.slotTexts[2] = "(None)";
        model.readingsText = "42";
        model.readings = 42;
    }
    void Scanning() {
        model.scanning = true;
        model.scanningText = "Yes";
        model.stopEnabled = model.continueEnabled = true;
        model.continueSelected = true;
        model.includeData = true;
        model.includeDataEnabled = false;
    }
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard{tvane::SetPrompter, &prompter};
    CUploadDialogModel model;
};

TEST_F(UploadDlgTest, ScanningChoicesMirrorTheModelAndReachOk) {
    Scanning();
    CUploadDlg dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Upload");
    EXPECT_EQ(dialog.SlotLabel(0)->text(), "Digital I/O");
    EXPECT_EQ(dialog.SlotLabel(2)->text(), "(None)");
    EXPECT_EQ(dialog.ScanningLabel()->text(), "Yes");
    EXPECT_EQ(dialog.ReadingsLabel()->text(), "42");
    EXPECT_TRUE(dialog.ContinueButton()->isChecked());
    EXPECT_TRUE(dialog.IncludeDataBox()->isChecked());
    EXPECT_FALSE(dialog.IncludeDataBox()->isEnabled());

    dialog.StopButton()->click();
    EXPECT_TRUE(dialog.IncludeDataBox()->isEnabled());
    dialog.IncludeDataBox()->click();
    EXPECT_FALSE(model.includeData);
    dialog.ContinueButton()->click();
    EXPECT_TRUE(model.includeData);
    EXPECT_FALSE(dialog.IncludeDataBox()->isEnabled());
    dialog.StopButton()->click();

    dialog.NameEdit()->setFocus();
    dialog.NameEdit()->insert("Bench");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(model.continueScanning);
    EXPECT_TRUE(model.newSetup);
    EXPECT_EQ(model.name, "Bench");
}

TEST_F(UploadDlgTest, EmptyNameKeepsTheDialogOpen) {
    CUploadDlg dialog(model);
    dialog.setResult(-1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Please enter a setup name"});
    EXPECT_FALSE(dialog.StopButton()->isEnabled());
    EXPECT_FALSE(dialog.ContinueButton()->isChecked());
}

TEST_F(UploadDlgTest, CurrentSetupShowsItsNameAndNewSetupTheTypedOne) {
    model.currentSetupEnabled = true;
    model.OnCurrentSetup();
    CUploadDlg dialog(model);
    dialog.NewSetupButton()->click();
    EXPECT_TRUE(dialog.NameEdit()->isEnabled());
    dialog.NameEdit()->insert(QString(40, 'x'));
    EXPECT_EQ(model.name, std::string(35, 'x'));
    dialog.CurrentSetupButton()->click();
    EXPECT_FALSE(dialog.NameEdit()->isEnabled());
    EXPECT_TRUE(dialog.NameEdit()->text().isEmpty());
    dialog.NewSetupButton()->click();
    EXPECT_EQ(dialog.NameEdit()->text(), QString(35, 'x'));
    dialog.CurrentSetupButton()->click();
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected); // empty current name
}

class FrameInstrumentUiTest : public tvane::test::TempHomeTest {
protected:
    QApplication& app = tvane::test::TestApp();
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> guard{tvane::SetPrompter, &prompter};
    CMainFrame frame;
    FrameInstrumentUi ui{&frame};
};

TEST_F(FrameInstrumentUiTest, ProgressShowsOverTheFrameAndCloses) {
    {
        auto progress = ui.CreateProgress("Uploading Channel Configurations");
        auto* dialog = frame.findChild<CProgressDialog*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowTitle(), "Uploading Channel Configurations");
        progress->SetRange(0, 100);
        progress->SetPos(40);
        progress->SetText("Uploading channel 101 (1 of 2)");
        EXPECT_EQ(dialog->PercentText(), "40%");
        EXPECT_EQ(dialog->StatusText(), "Uploading channel 101 (1 of 2)");
        EXPECT_FALSE(progress->CheckCancel());
        dialog->findChild<QPushButton*>()->click();
        EXPECT_TRUE(progress->CheckCancel());
        EXPECT_FALSE(progress->CheckCancel());
    }
    for (auto* dialog : frame.findChildren<CProgressDialog*>())
        EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(frame.isEnabled());
}

TEST_F(FrameInstrumentUiTest, MonitorBarFollowsChannelAndValues) {
    ui.ShowMonitorChannel(101, true);
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "No Reading");
    ui.ShowMonitorValue(1.25, "VDC");
    CTextButton expected;
    expected.SetValue(1.25, "VDC");
    EXPECT_EQ(frame.MonitorDisplay()->Text(), expected.Text());
    ui.ShowMonitorChannel(101, false);
    EXPECT_EQ(frame.MonitorDisplay()->Text(), "<None>");
}

TEST_F(FrameInstrumentUiTest, DownloadNoticeRunsModallyOverTheFrame) {
    for (const bool upload : {false, true}) {
        CDownloadNotice notice;
        QTimer::singleShot(0, [upload] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            auto* notice = static_cast<CDownloadNoticeDialog*>(dialog);
            if (upload)
                notice->UploadButton()->click();
            notice->accept();
        });
        EXPECT_TRUE(ui.RunDownloadNotice(notice));
        EXPECT_EQ(notice.uploadChosen, upload);
    }
    CDownloadNotice notice;
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_FALSE(ui.RunDownloadNotice(notice));
}

} // namespace
