// The setup editor's sheets as the program reaches them, on the simulated
// instrument and the seed workspace: a channel set to four-wire ohms in its
// sheet, the scan timing set from the Scan Status window's Settings..., and
// the run that follows; the monitor channel and Scan Settings commands.
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CInstrumentConnection.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/CTextButton.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/SetupSheets.h"
#include "app/frame/SetupViewPage.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/records/ReadingRecord.h"
#include "setup/IChannelDetailsSheet.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupViewCommands.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/CMonitorPropSheet.h"
#include "setup/view/CScanSettings.h"
#include "setup/view/CSetupView.h"
#include "shared/DocumentHints.h"
#include "shared/IView.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"
#include "ui_ComputedPage.h"
#include "ui_MeasurementPage.h"
#include "ui_MonitorPage.h"
#include "ui_ScanSettingsPage.h"

namespace tvane::test {
namespace {

// The readings of the run's dataset when its end is announced, before the
// dataset is put away.
struct ReadingsAtStop final : IView {
    explicit ReadingsAtStop(CLoggerDoc& doc) : doc(doc) {}
    void OnUpdate(IView*, long hint, const HintObject& object) override {
        auto* e = object.As<CDatasetEvent>();
        if (hint != HINT_READING || e == nullptr || e->m_type != CDatasetEvent::Stop)
            return;
        CDataset* dataset = doc.GetDataset();
        if (dataset == nullptr)
            return;
        dataset->FlushReadings();
        const std::int32_t total = dataset->GetReadingCount();
        std::vector<ReadingRecord> buffer(64);
        for (std::int32_t first = 0; first < total;) {
            const std::int16_t got = dataset->ReadReadings(buffer.data(), 64, first);
            if (got <= 0)
                break;
            readings.insert(readings.end(), buffer.begin(), buffer.begin() + got);
            first += got;
        }
        seen = true;
    }
    CLoggerDoc& doc;
    std::vector<ReadingRecord> readings;
    bool seen = false;
};

// The interval edit set to a number of seconds and milliseconds.
void SetInterval(CScanSettingsPage& page, int seconds, int milliseconds) {
    CDateTimeEditWnd* edit = page.Controls().intervalEdit;
    const CTime base(1997, 1, 1, 0, 0, seconds);
    edit->SetTime(base, milliseconds);
    edit->SetHourCounter(0);
}

TEST(SheetsThroughFrame, AFourWireChannelScannedTenTimesEveryTwoAndAHalfSeconds) {
    WholeProgram whole;
    whole.Start({std::nullopt, {}});
    if (HasFatalFailure())
        return;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    DocumentWiring& wiring = *whole.wiring;
    CLoggerDoc& doc = whole.Doc();
    program.MakeSetup(doc, 1, 0, false);
    if (HasFatalFailure())
        return;
    doc.SetModifiedFlag(false);
    frame.UpdateToolbars();

    // Channel Properties on the grid's row of 101 opens the channel sheet, its
    // lists from the workspace: 101 measures four-wire ohms.
    frame.SelectPage(0);
    CSetupView& view = wiring.SetupPage()->View();
    view.SetCurrentCell(doc.GetGridRow(101), setupgrid::kColName);
    frame.UpdateToolbars();
    QAction* properties = frame.Action(SetupViewCommands::kProperties);
    ASSERT_TRUE(properties->isEnabled());
    int shown = 0;
    WhenShown<CDetailsPropSheet>(
        [](CDetailsPropSheet& sheet) {
            ASSERT_TRUE(sheet.SetActivePage(1));
            auto& m = sheet.MeasurementPage()->Controls();
            const int item = m.functionList->findText("4w ohms");
            ASSERT_GE(item, 0);
            m.functionList->setCurrentIndex(item);
            emit m.functionList->activated(item);
            sheet.accept();
        },
        &shown);
    properties->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 1);
    const CFXSetup& row = *doc.GetSetupRow(0);
    EXPECT_EQ(row.Function, "4w ohms");
    EXPECT_EQ(row.AdvSettings, ";1;;;;;;;OFF;AUTO;;;;");
    doc.SetSetupInInstrument(0);

    // Start Scan shows the Scan Status window; its Settings... opens Scan Settings.
    ReadingsAtStop atStop(doc);
    doc.AddView(&atStop);
    int settingsShown = 0, saveShown = 0;
    WhenShown<CScanStatusDialog>([&settingsShown](CScanStatusDialog& status) {
        WhenShown<CScanSettings>(
            [](CScanSettings& sheet) {
                SetInterval(sheet.Page(), 2, 500);
                sheet.Page().Controls().stopCount->click();
                sheet.Page().Controls().countEdit->SetValue(10);
                sheet.accept();
            },
            &settingsShown);
        status.SettingsButton()->click();
        EXPECT_NE(status.List()->findItems("After 10 scans", Qt::MatchContains).size(), 0);
        status.StartButton()->click();
    });
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); }, &saveShown,
                                   false, 3000);
    frame.Action(cmd::kStartScan)->trigger();
    EXPECT_EQ(settingsShown, 1);
    ASSERT_EQ(doc.IsScanning(), 1);
    EXPECT_DOUBLE_EQ(doc.GetScan()->m_scanInterval, 2.5);
    EXPECT_EQ(doc.GetScan()->m_scanCount, 10);
    for (int poll = 0; poll < 120 && doc.IsScanning(); ++poll) {
        program.clock.Advance(500);
        frame.OnTimer(CMainFrame::kScanTimer);
    }
    EXPECT_EQ(doc.IsScanning(), 0);
    EXPECT_EQ(saveShown, 1);
    doc.RemoveView(&atStop);
    ASSERT_TRUE(atStop.seen);
    int of101 = 0;
    for (const ReadingRecord& r : atStop.readings)
        if (r.Channel == 101)
            ++of101;
    EXPECT_EQ(of101, 10);
}

TEST(SheetsThroughFrame, ScanSettingsAndMonitorChannelFromTheMenus) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    CMainFrame frame;
    DocumentWiring wiring(program.state, &program.connection, &frame);
    CLoggerDoc& doc = wiring.Document();
    program.MakeSetup(doc, 2);
    if (HasFatalFailure())
        return;
    doc.SetSetupInInstrument(1);
    frame.UpdateToolbars();

    QAction* settings = frame.Action(cmd::kScanSettings);
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(settings->text(), "Scan Se&ttings...");
    ASSERT_TRUE(settings->isEnabled());
    int shown = 0;
    WhenShown<CScanSettings>(
        [](CScanSettings& sheet) {
            SetInterval(sheet.Page(), 10, 0);
            sheet.accept();
        },
        &shown);
    settings->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_DOUBLE_EQ(doc.GetScan()->m_scanInterval, 10.0);
    EXPECT_EQ(doc.GetStateInfo().m_flags[1], 1); // the setup changed

    QAction* monitorAction = frame.Action(cmd::kMonitorChannel);
    ASSERT_TRUE(monitorAction->isEnabled());
    WhenShown<CMonitorPropSheet>(
        [](CMonitorPropSheet& sheet) {
            auto& m = sheet.Page().Controls();
            EXPECT_EQ(m.channelList->currentText(), "<None>");
            const int item = m.channelList->findData(102LL);
            ASSERT_GE(item, 0);
            m.channelList->setCurrentIndex(item);
            emit m.channelList->activated(item);
            m.refreshEdit->setText("7");
            sheet.accept();
        },
        &shown);
    monitorAction->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(doc.GetMonitorChannel(), 102);
    EXPECT_EQ(doc.GetMonitorInterval(), 7000u);
    EXPECT_EQ(frame.MonitorDisplay()->Mode(), 0);

    // Add Computed Channel on the grid: the computed channel page alone.
    frame.SelectPage(0);
    wiring.SetupPage()->View().SetCurrentCell(doc.GetGridRow(101), setupgrid::kColName);
    frame.UpdateToolbars();
    QAction* add = frame.Action(SetupViewCommands::kAddComputed);
    ASSERT_TRUE(add->isEnabled());
    const std::int32_t rows = doc.GetSetup()->GetSize();
    WhenShown<CDetailsPropSheet>(
        [](CDetailsPropSheet& sheet) {
            auto& c = sheet.ComputedPage()->Controls();
            c.arg1List->setCurrentIndex(c.arg1List->findText("<101>", Qt::MatchStartsWith));
            c.arg2List->setCurrentIndex(c.arg2List->findText("<102>", Qt::MatchStartsWith));
            c.functionList->setCurrentRow(1); // Difference
            sheet.accept();
        },
        &shown);
    add->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, 3);
    ASSERT_EQ(doc.GetSetup()->GetSize(), rows + 1);
    EXPECT_TRUE(doc.GetSetupRow(rows)->IsComputed());
}

} // namespace
} // namespace tvane::test
