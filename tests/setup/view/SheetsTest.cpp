// The editor's sheets offscreen: the channel sheet's pages for each kind of
// row, the Scan Settings, monitor and options sheets, with pictures of every page.
#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "scan/CCompChnl.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "setup/SheetTexts.h"
#include "setup/view/CDetailsPropSheet.h"
#include "setup/view/CMonitorPropSheet.h"
#include "setup/view/CScanSettings.h"
#include "setup/view/CSetupPropSheet.h"
#include "setup/view/CStrainEquationDlg.h"
#include "tests/setup/view/SheetFakes.h"
#include "tests/support/QtTestSupport.h"
#include "ui_AlarmLimitsPage.h"
#include "ui_AppearancePage.h"
#include "ui_ChannelPage.h"
#include "ui_ColumnsPage.h"
#include "ui_ComputedPage.h"
#include "ui_MeasurementPage.h"
#include "ui_MonitorPage.h"
#include "ui_ScalingPage.h"
#include "ui_ScanSettingsPage.h"
#include "ui_StrainEquationDialog.h"

namespace {

CFXSetup MeasuredRow() {
    CFXSetup row;
    row.Name = "KXQT7101";
    row.Channel = 101;
    row.ChannelName = "Inlet";
    row.ChannelMode = 1;
    row.Function = "DC volts";
    row.Range = "Auto";
    row.Resolution = "5.5 digits";
    row.FunctionType = 1;
    row.AdvSettingsType = 515;
    row.AdvSettings = "OFF;1;;;;;;;;AUTO;;;;";
    row.Scaling = 0;
    row.Gain = "1.0";
    row.Offset = "0.0";
    row.Units = "VDC";
    row.Alarms = "Off";
    row.AlarmActions = "4;;;;;";
    return row;
}

CFXSetup ComputedRow() {
    CFXSetup row;
    row.Name = "Computed";
    row.Channel = 901;
    row.ChannelName = "Sum";
    row.FunctionType = 1;
    row.CellFlags = 0x407;
    row.Alarms = "Off";
    return row;
}

void SavePicture(QWidget& window, const char* name) {
    QApplication::processEvents();
    ASSERT_TRUE(tvane::test::SaveArtifact(window, name));
}

std::vector<std::string> Tabs(const tvane::PropertySheet& sheet) {
    std::vector<std::string> tabs;
    for (int i = 0; i < sheet.Tabs()->count(); ++i)
        tabs.push_back(sheet.Tabs()->tabText(i).toStdString());
    return tabs;
}

class SheetsTest : public ::testing::Test {
protected:
    SheetsTest()
        : prompterGuard(tvane::SetPrompter, &prompter), clockGuard(tvane::SetClock, &clock) {
        tvane::test::TestApp();
        document.channels = {{101, "Inlet", 1},    {102, "Outlet", 1},   {301, "Valve", 0x40},
                             {302, "Relay", 0x10}, {501, "Port", 0x800}, {901, "Sum", 0x200}};
    }

    DetailsServices Services() { return {&document, &lookup}; }

    // Every page of a sheet built, the sheet shown.
    static void ShowAll(tvane::PropertySheet& sheet) {
        sheet.show();
        QApplication::processEvents();
        for (int i = sheet.PageCount() - 1; i >= 0; --i)
            ASSERT_TRUE(sheet.SetActivePage(i));
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard;
    tvane::FakeClock clock{1700000000, 0};
    tvane::ScopedService<tvane::IClock> clockGuard;
    FakeSheetDocument document;
    FakeMeasurementLookup lookup;
    FakeColorPicker picker;
};

// --- The channel sheet -----------------------------------------------------------

TEST_F(SheetsTest, PageSetsForMeasuredComputedLockedAndDigitalRows) {
    {
        CDetailsPropSheet sheet("Channel Properties - <101> Inlet", MeasuredRow(), 1, Services(),
                                false, nullptr);
        ShowAll(sheet);
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"Channel", "Measurement",
                                                         "Scaling (Mx + B)", "Alarm Limits"}));
        EXPECT_NE(sheet.MeasurementPage(), nullptr);
        EXPECT_EQ(sheet.ComputedPage(), nullptr);
    }
    {
        CCompChnl sum;
        sum.Channel = 901;
        sum.Operation = 0;
        sum.Arg1.Channel = 101;
        sum.Arg2.Channel = 102;
        CDetailsPropSheet sheet("Computed", ComputedRow(), 0, Services(), false, &sum);
        ShowAll(sheet);
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"Channel", "Measurement",
                                                         "Scaling (Mx + B)", "Alarm Limits"}));
        EXPECT_EQ(sheet.MeasurementPage(), nullptr);
        ASSERT_NE(sheet.ComputedPage(), nullptr);
        EXPECT_EQ(sheet.ComputedPage()->Controls().arg2List->currentText(), "<102>Outlet");
        // A computed row has no hardware alarm output.
        sheet.AlarmPage()->Controls().testList->setCurrentIndex(1);
        EXPECT_FALSE(sheet.AlarmPage()->Controls().outputList->isEnabled());
    }
    {
        CFXSetup locked = MeasuredRow();
        locked.CellFlags = CFXSetup::kCellAll;
        locked.FunctionType = 0;
        CDetailsPropSheet sheet("Locked", locked, 3, Services(), false, nullptr);
        sheet.show();
        QApplication::processEvents();
        EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"Channel"}));
        EXPECT_EQ(sheet.ActiveIndex(), 0);
        auto& c = sheet.ChannelPage()->Controls();
        EXPECT_FALSE(c.includeInScan->isEnabled());
        EXPECT_FALSE(c.monitorChannel->isEnabled());
    }
    {
        CFXSetup digital = MeasuredRow();
        digital.Name = "KXQT7107";
        digital.Channel = 501;
        digital.Function = "Digital Read 8bit";
        digital.FunctionType = 2;
        digital.AdvSettingsType = 0;
        digital.AdvSettings = ";;;;;;;;;;;;;";
        digital.Alarms = "";
        digital.AlarmHi = "1010";
        CDetailsPropSheet sheet("Digital", digital, 3, Services(), false, nullptr);
        ShowAll(sheet);
        ASSERT_TRUE(sheet.SetActivePage(3));
        auto& a = sheet.AlarmPage()->Controls();
        ASSERT_EQ(a.testList->count(), 3);
        EXPECT_EQ(a.testList->itemText(1), "Equal");
        EXPECT_EQ(a.testList->currentText(), "Off");
        EXPECT_EQ(a.highEdit->text(), "XXXXXXXX");
        ASSERT_TRUE(sheet.SetActivePage(1));
        QApplication::processEvents();
        EXPECT_TRUE(sheet.MeasurementPage()->Controls().noAdvanced->isVisible());
        SavePicture(sheet, "sheet_channel_measurement_none.png");
    }
}

TEST_F(SheetsTest, OkWritesTheCopyAndCancelChangesNothing) {
    const CFXSetup row = MeasuredRow();
    CFXSetup copy;
    IChannelDetailsSheet::RowResult monitor;
    ChannelDetailsSheet runner(Services(), nullptr);

    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CDetailsPropSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->ChannelPage()->Controls().nameEdit->setText("Renamed");
        ASSERT_TRUE(sheet->SetActivePage(1));
        auto& m = sheet->MeasurementPage()->Controls();
        m.functionList->setCurrentText("4w ohms");
        emit m.functionList->activated(1);
        sheet->accept();
    });
    ASSERT_TRUE(runner.EditRow("Channel Properties", row, 0, copy, nullptr, monitor));
    EXPECT_EQ(copy.ChannelName, "Renamed");
    EXPECT_EQ(copy.Function, "4w ohms");
    EXPECT_EQ(copy.AdvSettingsType, 770u);
    EXPECT_EQ(copy.AdvSettings, ";1;;;;;;;OFF;AUTO;;;;");
    EXPECT_EQ(document.functionChecks, (std::vector<std::string>{"4w ohms"}));

    CFXSetup untouched = MeasuredRow();
    untouched.ChannelName = "before";
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CDetailsPropSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        sheet->ChannelPage()->Controls().nameEdit->setText("Changed");
        ASSERT_TRUE(sheet->SetActivePage(2));
        sheet->reject();
    });
    EXPECT_FALSE(runner.EditRow("Channel Properties", row, 0, untouched, nullptr, monitor));
    EXPECT_EQ(untouched.ChannelName, "before");
}

TEST_F(SheetsTest, TheMonitorChoiceIsKeptWhenTheChannelPageIsNeverShown) {
    ChannelDetailsSheet runner(Services(), nullptr);
    CFXSetup copy;
    IChannelDetailsSheet::RowResult monitor;
    monitor.monitor = true;
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CDetailsPropSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        EXPECT_FALSE(sheet->ChannelPage()->IsCreated());
        sheet->accept();
    });
    ASSERT_TRUE(runner.EditRow("Channel Properties", MeasuredRow(), 2, copy, nullptr, monitor));
    EXPECT_TRUE(monitor.monitor);
}

TEST_F(SheetsTest, ARefusedValueKeepsThePageOpenWithItsMessage) {
    CFXSetup row = MeasuredRow();
    row.Function = "RTD";
    row.AdvSettingsType = 0x0060;
    row.AdvSettings = ";;;;;85;100;;;;;;;";
    CDetailsPropSheet sheet("RTD", row, 1, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    auto& m = sheet.MeasurementPage()->Controls();
    EXPECT_EQ(m.r0Edit->text(), "100");
    SavePicture(sheet, "sheet_channel_measurement_rtd.png");
    m.r0Edit->setText("48.9");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(sheet.ActiveIndex(), 1);
    ASSERT_EQ(prompter.Texts(), (std::vector<std::string>{sheettext::kBadR0}));
    EXPECT_EQ(prompter.asked[0].caption, "Measurement");
    EXPECT_EQ(sheet.Copy()->AdvSettings, ";;;;;85;100;;;;;;;");
    // Another tab is refused the same way.
    EXPECT_FALSE(sheet.SetActivePage(2));
    m.r0Edit->setText("2100");
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Copy()->AdvSettings, ";;;;;85;2100;;;;;;;");
}

TEST_F(SheetsTest, MeasurementPageGroupsIntegrationAndFunctionChange) {
    CFXSetup row = MeasuredRow();
    row.Function = "Temperature";
    row.AdvSettingsType = 0x0008 | 0x0010 | 0x0C00;
    row.AdvSettings = ";;;F;ON;;;;;;FIX;25;;";
    CDetailsPropSheet sheet("Temperature", row, 1, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    auto& m = sheet.MeasurementPage()->Controls();
    // Units and Thermocouple share a row; the junction group is one lower.
    EXPECT_EQ(m.unitsGroup->geometry().top(), m.thermocoupleGroup->geometry().top());
    EXPECT_GT(m.thermocoupleGroup->geometry().left(), m.unitsGroup->geometry().left());
    EXPECT_GT(m.junctionGroup->geometry().top(), m.unitsGroup->geometry().top());
    EXPECT_TRUE(m.unitsF->isChecked());
    EXPECT_TRUE(m.junctionTemperature->isVisible());
    SavePicture(sheet, "sheet_channel_measurement_temperature.png");

    // Back to DC volts: its defaults, and resolution and integration follow each other.
    m.functionList->setCurrentIndex(0);
    emit m.functionList->activated(0);
    EXPECT_EQ(sheet.MeasurementPage()->CurrentMask(), 515u);
    EXPECT_TRUE(m.integrationGroup->isVisible());
    m.resolutionList->setCurrentIndex(0);
    emit m.resolutionList->activated(0);
    EXPECT_EQ(m.integrationList->currentText(), "10");
    m.integrationList->setCurrentText("Custom");
    emit m.integrationList->activated(8);
    EXPECT_TRUE(m.customIntegration->isVisible());
    m.customIntegration->setText("0.00039");
    sheet.accept();
    EXPECT_EQ(prompter.Texts().back(), sheettext::kBadAperture);
    m.customIntegration->setText("0.0004");
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Copy()->AdvSettings, "OFF;Custom;;;;;;0.0004;;AUTO;;;;");
    EXPECT_EQ(sheet.Copy()->Alarms, "Off"); // a new function resets the alarm
}

TEST_F(SheetsTest, AFailedLookupShowsAMessage) {
    lookup.fail = true;
    CDetailsPropSheet sheet("Inlet", MeasuredRow(), 1, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    ASSERT_FALSE(prompter.Texts().empty());
    EXPECT_EQ(prompter.Texts()[0], sheettext::kLookupFailed);
    EXPECT_FALSE(sheet.MeasurementPage()->Controls().functionList->isEnabled());
    // The row keeps its function, range and resolution.
    sheet.accept();
    EXPECT_EQ(sheet.Copy()->Function, "DC volts");
    EXPECT_EQ(sheet.Copy()->Range, "Auto");
}

TEST_F(SheetsTest, ScalingLabelsMatchWholeTexts) {
    struct Case {
        const char* stored;
        const char* shown;
        int item;
    };
    const Case cases[] = {{"V", "V", -1}, {"vdc", "VDC", 1}, {"(none)", "(none)", 0}};
    for (const Case& c : cases) {
        CFXSetup row = MeasuredRow();
        row.Units = c.stored;
        row.Scaling = 1;
        CDetailsPropSheet sheet("Scaling", row, 2, Services(), false, nullptr);
        sheet.show();
        QApplication::processEvents();
        auto& s = sheet.ScalingPage()->Controls();
        EXPECT_EQ(s.labelList->currentText().toStdString(), c.shown) << c.stored;
        EXPECT_EQ(s.labelList->currentIndex(), c.item) << c.stored;
        EXPECT_EQ(s.scaleMode->text(), "On");
        if (std::string(c.stored) == "V") {
            // Typing: a hyphen after V goes again; V3_a is a label.
            QTest::keyClicks(s.labelList->lineEdit(), "-");
            EXPECT_EQ(s.labelList->currentText(), "V");
            QTest::keyClicks(s.labelList->lineEdit(), "3_a");
            EXPECT_EQ(s.labelList->currentText(), "V3_a");
            SavePicture(sheet, "sheet_channel_scaling.png");
        }
        sheet.accept();
        EXPECT_EQ(sheet.Copy()->Units,
                  std::string(c.stored) == "V" ? "V3_a" : std::string(c.shown));
    }
    // Scaling off disables gain, offset and label, and still writes them.
    CDetailsPropSheet sheet("Scaling", MeasuredRow(), 2, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    auto& s = sheet.ScalingPage()->Controls();
    EXPECT_EQ(s.scaleMode->text(), "Off");
    EXPECT_FALSE(s.gainEdit->isEnabled());
    sheet.accept();
    EXPECT_EQ(sheet.Copy()->Gain, "1.0");
}

TEST_F(SheetsTest, AlarmActionsKeepCloseAndOpenApart) {
    // Only an exclusive switch to close; nothing that opens.
    document.channels = {{101, "Inlet", 1}, {301, "Valve", 0x40}};
    CFXSetup row = MeasuredRow();
    row.Alarms = "High/Low";
    row.AlarmHi = "5";
    row.AlarmLo = "1";
    row.AlarmEvent = "Alarm2";
    row.AlarmActions = "28;<301>Valve;<302>Relay;;;";
    CDetailsPropSheet sheet("Alarms", row, 3, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    auto& a = sheet.AlarmPage()->Controls();
    EXPECT_TRUE(a.closeBox->isEnabled());
    EXPECT_TRUE(a.closeList->isEnabled());
    EXPECT_EQ(a.closeList->currentText(), "<301>Valve");
    EXPECT_FALSE(a.openBox->isEnabled());
    EXPECT_TRUE(a.openBox->isChecked());
    EXPECT_FALSE(a.patternBox->isEnabled());
    EXPECT_EQ(a.outputList->currentText(), "Alarm2");
    SavePicture(sheet, "sheet_channel_alarms.png");
    sheet.accept();
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Copy()->AlarmActions, "28;<301>Valve;<302>Relay;;;");
}

TEST_F(SheetsTest, AlarmLimitsChecksAndDefaults) {
    CFXSetup row = MeasuredRow();
    CDetailsPropSheet sheet("Alarms", row, 3, Services(), false, nullptr);
    sheet.show();
    QApplication::processEvents();
    auto& a = sheet.AlarmPage()->Controls();
    EXPECT_FALSE(a.highEdit->isEnabled());
    EXPECT_FALSE(a.logBox->isEnabled());
    a.testList->setCurrentIndex(1);
    emit a.testList->activated(1);
    EXPECT_EQ(a.outputList->currentText(), "Alarm1");
    EXPECT_TRUE(a.highEdit->isEnabled());
    EXPECT_TRUE(a.lowEdit->isEnabled());
    a.highEdit->SetText("5");
    a.lowEdit->SetText("7");
    sheet.accept();
    EXPECT_EQ(prompter.Texts().back(), sheettext::kLowAboveHigh);
    a.lowEdit->SetText("5");
    prompter.Script({tvane::MsgAnswer::Cancel});
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    a.lowEdit->SetText("1");
    a.stopBox->setChecked(true);
    a.closeBox->setChecked(true);
    sheet.accept();
    EXPECT_EQ(prompter.Texts().back(), sheettext::kNoCloseChannel);
    a.closeList->setCurrentIndex(0);
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.Copy()->AlarmActions, "13;<301>Valve;;;;");
    EXPECT_EQ(sheet.Copy()->AlarmEvent, "Alarm1");
    a.setDefaults->click();
    EXPECT_TRUE(a.logBox->isChecked());
    EXPECT_FALSE(a.stopBox->isChecked());
}

TEST_F(SheetsTest, ComputedChannelPage) {
    CCompChnl fresh;
    fresh.Arg1.Channel = 101;
    CDetailsPropSheet sheet("New Computed Channel", fresh, Services());
    sheet.show();
    QApplication::processEvents();
    EXPECT_EQ(Tabs(sheet), (std::vector<std::string>{"Measurement"}));
    EXPECT_EQ(sheet.Copy(), nullptr);
    auto& c = sheet.ComputedPage()->Controls();
    EXPECT_EQ(c.formulaText->text(), "Arg1 + Arg2");
    EXPECT_EQ(c.arg1List->currentText(), "<101>Inlet");
    // One channel chosen: the second argument is missing.
    sheet.accept();
    EXPECT_EQ(prompter.Texts().back(), "Argument 2 is empty or invalid");
    // dBm: the reference resistance as a constant; Sum keeps it and frees Channel.
    c.categoryList->setCurrentRow(1);
    c.functionList->setCurrentRow(1);
    EXPECT_EQ(c.arg2Edit->text(), "600");
    EXPECT_FALSE(c.arg2Channel->isEnabled());
    SavePicture(sheet, "sheet_computed.png");
    c.categoryList->setCurrentRow(0);
    EXPECT_TRUE(c.arg2Channel->isEnabled());
    EXPECT_TRUE(c.arg2Constant->isChecked());
    EXPECT_EQ(c.arg2Edit->text(), "600");
    // Square Root takes one channel argument.
    c.functionList->setCurrentRow(4);
    EXPECT_FALSE(c.arg1Constant->isEnabled());
    EXPECT_FALSE(c.arg2List->isEnabled());
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.ComputedPage()->Record().Operation, 4);
    EXPECT_EQ(sheet.ComputedPage()->Record().Arg1.Channel, 101);
    EXPECT_EQ(sheet.ComputedPage()->Record().Arg2.Channel, CCompChnlArg::kNone);
    EXPECT_EQ(sheet.ComputedPage()->Formula(), "SquareRoot(Arg1)");
}

TEST_F(SheetsTest, StrainConstantsFromMore) {
    CCompChnl bridge;
    bridge.Operation = CCompChnl::kQuarterBridge;
    bridge.Arg1.Channel = 101;
    bridge.Arg2.Channel = CCompChnlArg::kConstant;
    bridge.Arg2.Value = 10.0;
    CDetailsPropSheet sheet("Bridge", bridge, Services());
    sheet.show();
    QApplication::processEvents();
    auto& c = sheet.ComputedPage()->Controls();
    EXPECT_TRUE(c.moreButton->isEnabled());
    EXPECT_EQ(c.arg2Edit->text(), "10");
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<CStrainEquationDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto& d = dialog->Controls();
        EXPECT_EQ(d.excitationEdit->text(), "10"); // argument 2's constant
        SavePicture(*dialog, "dialog_strain_constants.png");
        d.gageEdit->setText("0");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompter.Texts().back(), "Please enter a number between 0.001 and 10000.");
        d.gageEdit->setText("2.1");
        d.excitationEdit->setText("12");
        dialog->accept();
    });
    c.moreButton->click();
    EXPECT_EQ(c.arg2Edit->text(), "12");
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_DOUBLE_EQ(sheet.ComputedPage()->Record().GaugeFactor, 2.1);
    EXPECT_DOUBLE_EQ(sheet.ComputedPage()->Record().RefExcitation, 12.0);
    EXPECT_DOUBLE_EQ(sheet.ComputedPage()->Record().Arg2.Value, 12.0);
}

TEST_F(SheetsTest, PicturesOfTheChannelSheetPages) {
    CDetailsPropSheet sheet("Channel Properties - <101> Inlet", MeasuredRow(), 0, Services(), true,
                            nullptr);
    sheet.show();
    QApplication::processEvents();
    EXPECT_TRUE(sheet.ChannelPage()->Controls().monitorChannel->isChecked());
    EXPECT_EQ(sheet.ChannelPage()->Controls().channelGroup->title(), "Channel <101>");
    SavePicture(sheet, "sheet_channel_channel.png");
    ASSERT_TRUE(sheet.SetActivePage(1));
    SavePicture(sheet, "sheet_channel_measurement.png");
}

// --- Scan settings ---------------------------------------------------------------

TEST_F(SheetsTest, ScanSettingsShowAndWriteTheRecord) {
    CFXScan scan;
    scan.m_scanInterval = 86400 + 3600 + 60 + 1.5;
    scan.m_startMode = CFXScan::kStartOnAlarm;
    scan.m_alarmStartChannel = 0;
    scan.m_stopMode = CFXScan::kStopAfterCount;
    scan.m_scanCount = 0;
    scan.m_startTime = tvane::CTime(1000);
    CScanSettings sheet;
    sheet.Page().SetScan(&scan, &document);
    sheet.show();
    QApplication::processEvents();
    auto& s = sheet.Page().Controls();
    EXPECT_EQ(s.intervalEdit->text(), "25:01:01.500");
    EXPECT_EQ(s.alarmList->currentText(), "Alarm1");
    EXPECT_TRUE(s.alarmList->isEnabled());
    EXPECT_FALSE(s.intervalEdit->isEnabled());
    EXPECT_EQ(s.countEdit->text(), "1");
    EXPECT_EQ(s.startTimeEdit->GetTime(), tvane::CTime(1700000000 + 60));
    EXPECT_FALSE(s.postScanGroup->isVisible());
    SavePicture(sheet, "sheet_scan_settings.png");

    s.startImmediately->click();
    EXPECT_TRUE(s.intervalEdit->isEnabled());
    EXPECT_FALSE(s.alarmList->isEnabled());
    s.countEdit->SetValue(10);
    // The interval's fields: hours counter, minutes, seconds, tenths, ms.
    s.intervalEdit->setFocus();
    s.intervalEdit->SetCurrentField(0);
    QTest::keyClicks(s.intervalEdit, "00");
    EXPECT_EQ(s.intervalEdit->text(), "00:01:01.500");
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(scan.m_startMode, CFXScan::kStartImmediately);
    EXPECT_EQ(scan.m_scanCount, 10);
    EXPECT_DOUBLE_EQ(scan.m_scanInterval, 61.5);
}

TEST_F(SheetsTest, ScanSettingsRefuseAPastStartAndLeaveARunningScanAlone) {
    CFXScan scan;
    scan.m_startMode = CFXScan::kStartTimed;
    scan.m_scanInterval = 10.0;
    {
        CScanSettings sheet;
        sheet.Page().SetScan(&scan, &document);
        sheet.show();
        QApplication::processEvents();
        // The clock moves on past the start time shown.
        clock.SetNow(1700000000 + 61);
        sheet.accept();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(prompter.Texts().back(), sheettext::kStartBeforeNow);
        EXPECT_EQ(sheet.Page().Controls().intervalEdit->text(), "00:00:10.000");
    }
    document.scanning = true;
    CScanSettings sheet;
    sheet.Page().SetScan(&scan, &document);
    sheet.show();
    QApplication::processEvents();
    auto& s = sheet.Page().Controls();
    EXPECT_FALSE(s.startTimed->isEnabled());
    EXPECT_TRUE(s.leaveScanning->isEnabled());
    s.leaveScanning->setChecked(true);
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(scan.m_leaveScanning, 1);
    EXPECT_EQ(scan.m_startMode, CFXScan::kStartTimed);
}

// --- Monitor and options -----------------------------------------------------------

TEST_F(SheetsTest, MonitorSheet) {
    document.channels.push_back({401, "Count", 2});
    CMonitorPropSheet sheet(sheettext::kMonitorCaption, &document, &picker);
    sheet.SetRefreshRate(0);
    sheet.SetColor0(0x000000);
    sheet.SetColor1(0x00FFFF);
    sheet.show();
    QApplication::processEvents();
    auto& m = sheet.Page().Controls();
    EXPECT_EQ(m.channelList->currentText(), "<None>");
    EXPECT_FALSE(m.formatDecimal->isEnabled());
    EXPECT_FALSE(m.formatHex->isEnabled());
    EXPECT_EQ(m.refreshEdit->text(), "5");
    m.channelList->setCurrentIndex(1);
    emit m.channelList->activated(1);
    EXPECT_TRUE(m.formatDecimal->isChecked());
    EXPECT_FALSE(m.formatHex->isEnabled());
    m.channelList->setCurrentText("<401>Count");
    emit m.channelList->activated(m.channelList->currentIndex());
    EXPECT_TRUE(m.formatHex->isEnabled());
    m.formatHex->click();
    // A cancelled colour dialog keeps the colour; a chosen one takes its item.
    m.colorList->setCurrentIndex(1);
    emit m.colorList->activated(1);
    picker.answer = false;
    m.changeButton->click();
    EXPECT_EQ(m.sample->Color(), 0x00FFFFu);
    picker.answer = true;
    m.changeButton->click();
    EXPECT_EQ(m.sample->Color(), 0x0000FFu);
    SavePicture(sheet, "sheet_monitor.png");
    m.refreshEdit->setText("1801");
    sheet.accept();
    EXPECT_TRUE(sheet.isVisible());
    EXPECT_EQ(prompter.Texts().back(), sheettext::kRefreshRange);
    m.refreshEdit->setText("1800");
    sheet.accept();
    ASSERT_EQ(sheet.result(), QDialog::Accepted);
    EXPECT_EQ(sheet.GetMonitorChannel(), 401);
    EXPECT_EQ(sheet.GetFormat(), 1);
    EXPECT_EQ(sheet.GetRefreshRate(), 1800u);
    EXPECT_EQ(sheet.GetColor1(), 0x0000FFu);
    EXPECT_EQ(sheet.GetColor0(), 0u);
}

TEST_F(SheetsTest, OptionsSheet) {
    ISetupOptionsSheet::Options options;
    options.tabName = "Scan Setup";
    options.zoom = 125;
    options.visible.fill(true);
    SetupOptionsSheet runner(&picker, nullptr);
    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CSetupPropSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->ActiveIndex(), 1);
        for (int k = 0; k < 16; ++k)
            sheet->Columns().ColumnBox(k)->setChecked(false);
        sheet->accept();
    });
    ASSERT_TRUE(runner.Run(ISetupOptionsSheet::kColumnsPage, options));
    for (bool shown : options.visible)
        EXPECT_FALSE(shown);
    EXPECT_EQ(options.zoom, 125);
    EXPECT_EQ(options.tabName, "Scan Setup");

    QTimer::singleShot(0, [] {
        auto* sheet = qobject_cast<CSetupPropSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        auto& a = sheet->Appearance().Controls();
        a.tabNameEdit->setText("Channels");
        a.changeButton->click();
        a.zoom150->setChecked(true);
        sheet->reject();
    });
    EXPECT_FALSE(runner.Run(ISetupOptionsSheet::kAppearancePage, options));
    EXPECT_EQ(options.tabName, "Scan Setup");
    EXPECT_EQ(options.zoom, 125);

    CSetupPropSheet sheet(nullptr, 0xC0C0C0, "Scan Setup", 100, 0, &picker);
    sheet.show();
    QApplication::processEvents();
    SavePicture(sheet, "sheet_options_appearance.png");
    ASSERT_TRUE(sheet.SetActivePage(1));
    SavePicture(sheet, "sheet_options_columns.png");
}

} // namespace
