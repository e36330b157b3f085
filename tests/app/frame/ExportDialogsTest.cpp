#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "app/ISaveDialogs.h"
#include "app/frame/CExportDataDialog.h"
#include "app/frame/CFileExportDialog.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "database/CStateInfo.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

// Runs action on the first visible top-level window of type T once it is up.
template <typename T> void WhenExportShown(std::function<void(T&)> action, int triesLeft = 100) {
    QTimer::singleShot(10, [action, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = dynamic_cast<T*>(w); window && window->isVisible()) {
                action(*window);
                return;
            }
        if (triesLeft > 0)
            WhenExportShown<T>(action, triesLeft - 1);
    });
}

class ExportDialogsTest : public TempHomeTest {
protected:
    ExportDialogsTest() {
        TestApp();
        std::filesystem::create_directories(home.Data());
        query.m_fileName = Path("export1.csv");
        query.m_channelLabels = {"<101> Oven", "<102>", "<901> Sum"};
        query.m_channelNumbers = {101, 102, 901};
        query.m_selectedLabels = query.m_channelLabels;
        query.m_selectedNumbers = query.m_channelNumbers;
        query.m_startTime = 1000;
        query.m_endTime = 9000;
        model.m_firstReading = 1000;
        model.m_lastReading = 9000;
        model.m_formatTime = [](double t) { return std::to_string(static_cast<int>(t)); };
    }
    std::string Path(const char* name) const { return (home.Data() / name).string(); }
    static std::vector<std::string> Summary(const CExportDataDialog& dialog) {
        std::vector<std::string> lines;
        for (int i = 0; i < dialog.SummaryList()->count(); ++i)
            lines.push_back(
                dialog.SummaryList()->item(i)->data(Qt::UserRole).toString().toStdString());
        return lines;
    }

    CReadingQuery query;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    ExportDataModel model{query, prompter};
};

TEST_F(ExportDialogsTest, DestinationFormatAndKindFollowEachOther) {
    CExportDataDialog dialog(model, 1700000000, home.Data().string());
    EXPECT_EQ(dialog.windowTitle(), "Export Data");
    EXPECT_TRUE(dialog.DiskRadio()->isChecked());
    EXPECT_EQ(dialog.FileEdit()->text().toStdString(), Path("export1.csv"));
    EXPECT_EQ(dialog.FormatList()->currentText(), "Comma delimited (CSV)");

    QTest::mouseClick(dialog.ClipboardRadio(), Qt::LeftButton);
    EXPECT_EQ(dialog.FormatList()->currentText(), "Tab delimited");
    EXPECT_FALSE(dialog.FileEdit()->isEnabled());
    EXPECT_FALSE(dialog.BrowseButton()->isEnabled());
    EXPECT_EQ(dialog.FileEdit()->text().toStdString(), Path("export1.txt"));
    QTest::mouseClick(dialog.DiskRadio(), Qt::LeftButton);
    EXPECT_EQ(dialog.FormatList()->currentIndex(), CReadingQuery::kCommaDelimited);
    EXPECT_TRUE(dialog.FileEdit()->isEnabled());

    dialog.FileEdit()->setText(QString::fromStdString(Path("data.backup.txt")));
    dialog.FormatList()->setCurrentIndex(CReadingQuery::kCommaDelimited);
    emit dialog.FormatList()->activated(CReadingQuery::kCommaDelimited);
    EXPECT_EQ(dialog.FileEdit()->text().toStdString(), Path("data.backup.csv"));

    dialog.KindList()->setCurrentIndex(CReadingQuery::kSetupListing);
    emit dialog.KindList()->activated(CReadingQuery::kSetupListing);
    EXPECT_EQ(query.m_dataKind, CReadingQuery::kSetupListing) << "written at once";
    EXPECT_FALSE(dialog.OptionsButton()->isEnabled());
    EXPECT_EQ(Summary(dialog),
              (std::vector<std::string>{"Channels\t<101> Oven", "\t\t<102>", "\t\t<901> Sum"}));
    dialog.reject();
    EXPECT_EQ(query.m_fileName, Path("export1.csv")) << "Cancel keeps the name";
}

TEST_F(ExportDialogsTest, OptionsDialogEditsChannelsAndLayoutThroughTheSummary) {
    CExportDataDialog dialog(model, 1700000000, home.Data().string());
    // Rows, then Cancel: the layout stays changed.
    WhenExportShown<CExportOptionsDialog>([](CExportOptionsDialog& options) {
        EXPECT_TRUE(options.ColumnsRadio()->isChecked());
        options.RowsRadio()->click();
        options.reject();
    });
    dialog.OptionsButton()->click();
    EXPECT_EQ(query.m_layout, CReadingQuery::kRows);

    WhenExportShown<CExportOptionsDialog>([](CExportOptionsDialog& options) {
        EXPECT_EQ(options.windowTitle(), "Export Data Options");
        EXPECT_EQ(options.ChannelList()->count(), 3);
        options.ChannelList()->item(1)->setSelected(false);
        options.UnitsBox()->setChecked(false);
        options.AlarmedOnlyBox()->setChecked(true);
        options.StartEdit()->setDateTime(options.StartEdit()->dateTime().addSecs(2));
        options.OkButton()->click();
    });
    dialog.OptionsButton()->click();
    EXPECT_EQ(query.m_selectedNumbers, (std::vector<std::uint32_t>{101, 901}));
    EXPECT_EQ(query.m_units, 0);
    EXPECT_EQ(query.m_startTime, 3000);
    EXPECT_EQ(Summary(dialog), (std::vector<std::string>{"Start Time\t3000", "End Time\t9000",
                                                         "Alarmed Data Only\tYes",
                                                         "Optional Fields\tTime stamp, Seconds",
                                                         "Channels\t<101> Oven", "\t\t<901> Sum"}));

    // Defaults: the whole span, columns and the default fields; the event log
    // ticks every field and lists the channels without choice.
    WhenExportShown<CExportOptionsDialog>([](CExportOptionsDialog& options) {
        options.DefaultsButton()->click();
        EXPECT_TRUE(options.ColumnsRadio()->isChecked());
        EXPECT_TRUE(options.UnitsBox()->isChecked());
        EXPECT_FALSE(options.AlarmedOnlyBox()->isChecked());
        options.OkButton()->click();
    });
    dialog.OptionsButton()->click();
    EXPECT_EQ(query.m_startTime, 1000);
    EXPECT_EQ(query.m_layout, CReadingQuery::kColumns);

    emit dialog.KindList()->activated(CReadingQuery::kEvents);
    WhenExportShown<CExportOptionsDialog>([](CExportOptionsDialog& options) {
        EXPECT_FALSE(options.ChannelList()->isEnabled());
        EXPECT_TRUE(options.AlarmFlagBox()->isChecked());
        EXPECT_FALSE(options.AlarmFlagBox()->isEnabled());
        EXPECT_TRUE(options.RowsRadio()->isHidden() || !options.RowsRadio()->isVisible());
        options.reject();
    });
    dialog.OptionsButton()->click();
}

TEST_F(ExportDialogsTest, OkChecksTheFileAndAsksBeforeOverwriting) {
    std::ofstream(Path("taken.csv")) << "old";
    CExportDataDialog dialog(model, 1700000000, home.Data().string());
    dialog.FileEdit()->setText("bad|name");
    dialog.OkButton()->click();
    EXPECT_EQ(prompter.Texts().back(), "bad|name is not a valid filename");
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // No: the file dialog offers another name, which is free.
    dialog.FileEdit()->setText(QString::fromStdString(Path("taken")));
    prompter.Script({MsgAnswer::No});
    WhenExportShown<CFileExportDialog>([this](CFileExportDialog& files) {
        EXPECT_EQ(files.windowTitle(), "Save Measurement Data As");
        files.selectFile(QString::fromStdString(Path("chosen")));
        static_cast<QDialog&>(files).accept();
    });
    dialog.OkButton()->click();
    EXPECT_EQ(prompter.Texts().back(), "Export file exists, overwrite it?");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(query.m_fileName, Path("chosen.csv"));
    EXPECT_EQ(query.m_separator, ',');
}

// The properties dialog of the Save Scan Data window: records and edits.
struct FakeProperties final : ISaveSetupDialog {
    bool Run(SavePropertiesFields& fields) override {
        shown = fields;
        fields.name = "Renamed";
        fields.note = "calibrated";
        return true;
    }
    SavePropertiesFields shown;
};

TEST_F(ExportDialogsTest, SaveScanDataNameRulesAndButtons) {
    SaveScanDataModel scan(
        [](const std::string&, const std::string& name) -> std::int16_t {
            return name == "Taken" ? 1 : 2;
        },
        prompter);
    scan.m_setupName = "Bench";
    scan.m_storedName = "Run 1";
    scan.m_exportName = Path("export1.csv");
    const SaveScanDataModel::RowReader reader = [](const std::string&, const std::string& name,
                                                   SaveScanDataModel::Properties& row) {
        row = {name, "ann", "03/05/26", "note"};
        return true;
    };
    {
        // Without an export after the scan only the upper half shows.
        CSaveScanDataDialog dialog(scan, nullptr, reader, {});
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "Save Scan Data");
        EXPECT_FALSE(dialog.ExportGroup()->isVisible());
        EXPECT_EQ(dialog.NameEdit()->text(), "Run 1");
        EXPECT_EQ(dialog.NameEdit()->maxLength(), 35);
        dialog.NameEdit()->selectAll();
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Backspace);
        EXPECT_FALSE(dialog.OkButton()->isEnabled());
        QTest::keyClick(dialog.NameEdit(), 'T');
        EXPECT_TRUE(dialog.OkButton()->isEnabled());
        EXPECT_TRUE(scan.m_modified);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << "Escape is Delete";
    }

    scan.m_exportAfterScan = true;
    FakeProperties properties;
    int settingsRuns = 0;
    CSaveScanDataDialog dialog(scan, &properties, reader, [&] {
        ++settingsRuns;
        return Path("elsewhere.csv");
    });
    dialog.show();
    EXPECT_TRUE(dialog.ExportGroup()->isVisible());
    EXPECT_EQ(dialog.ExportEdit()->text().toStdString(), Path("export1.csv"));
    dialog.ExportSettingsButton()->click();
    EXPECT_EQ(settingsRuns, 1);
    EXPECT_EQ(dialog.ExportEdit()->text().toStdString(), Path("elsewhere.csv"));

    dialog.NameEdit()->setText("Taken");
    dialog.OkButton()->click();
    EXPECT_EQ(prompter.Texts().back(), SaveScanDataModel::kNameInUse);
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    dialog.PropertiesButton()->click();
    EXPECT_EQ(properties.shown.title, "Edit Dataset - Taken");
    EXPECT_EQ(properties.shown.user, "ann");
    EXPECT_EQ(dialog.NameEdit()->text(), "Renamed");
    EXPECT_TRUE(scan.m_modified);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(scan.m_name, "Renamed");
    EXPECT_EQ(scan.m_note, "calibrated");
    EXPECT_EQ(scan.m_user, "ann");
}

TEST_F(ExportDialogsTest, ExportDataIsInTheFileMenuAndNeedsAScan) {
    CStateInfo state;
    state.m_dataDir = home.Data().string();
    CMainFrame frame;
    DocumentWiring wiring(state, nullptr, &frame);
    EXPECT_NE(wiring.Document().GetServices().exportDialog, nullptr);
    QAction* action = frame.Action(cmd::kExportData);
    ASSERT_NE(action, nullptr);
    EXPECT_EQ(action->text(), "Export &Data...");
    frame.UpdateToolbars();
    EXPECT_FALSE(action->isEnabled()) << "no dataset with a scan";
}

} // namespace
} // namespace tvane::test
