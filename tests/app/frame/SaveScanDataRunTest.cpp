// A run through the main window whose Save Scan Data window renames the run
// and keeps the export after the scan: the workspace lists the new name and the
// export file holds the readings.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CInstrumentConnection.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "database/CDataset.h"
#include "database/SeedDatabase.h"
#include "platform/com/Activation.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/COleKXQT7100.h"
#include "scan/records/CChannelConfig.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

// Renames the run in the Save Scan Data window once it is up and keeps it with
// OK; notes the export file it shows.
void AnswerSaveScanData(std::string& exportName, bool& exportShown, int triesLeft = 200) {
    QTimer::singleShot(10, [&exportName, &exportShown, triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<CSaveScanDataDialog*>(w);
                dialog && dialog->isVisible()) {
                exportName = dialog->ExportEdit()->text().toStdString();
                exportShown = dialog->ExportEdit()->isVisible();
                dialog->NameEdit()->selectAll();
                QTest::keyClicks(dialog->NameEdit(), "Oven warm-up");
                dialog->OkButton()->click();
                return;
            }
        if (triesLeft > 0)
            AnswerSaveScanData(exportName, exportShown, triesLeft - 1);
    });
}

TEST(SaveScanDataRun, TheRunIsKeptUnderTheNewNameAndExported) {
    TestApp();
    SimulatedProgram program;
    program.Start();
    if (HasFatalFailure())
        return;
    FakeClock& clock = program.clock;
    CStateInfo& state = program.state;
    const std::filesystem::path& database = program.database;
    CInstrumentConnection& connection = program.connection;
    COleKXQT7100& binding = program.Binding();

    CMainFrame frame;
    {
        CAppPreferences preferences;
        preferences.Initialize();
        preferences.SetPrefValue(CAppPreferences::kStartScanningWindow, std::string("N"));
        DocumentWiring wiring(state, &connection, &frame, &preferences);
        CLoggerDoc& doc = wiring.Document();
        program.MakeSetup(doc, 2);
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(binding.SetScanInterval(1.0));
        ASSERT_TRUE(binding.InitInstrument());
        doc.GetScan()->m_scanInterval = 1.0;
        doc.GetScan()->m_exportOnPostScan = 1;
        doc.SetSetupInInstrument(true);
        doc.SetModifiedFlag(false);

        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(cmd::kStartScan)->isEnabled());
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(doc.IsScanning(), 1);
        for (int poll = 0; poll < 3; ++poll) {
            clock.Advance(1000);
            frame.OnTimer(CMainFrame::kScanTimer);
        }
        const std::string key = doc.GetDataset()->GetKey();
        frame.UpdateToolbars();
        EXPECT_FALSE(frame.Action(cmd::kExportData)->isEnabled()) << "not while scanning";

        std::string exportName;
        bool exportShown = false;
        AnswerSaveScanData(exportName, exportShown);
        frame.Action(cmd::kStopScan)->trigger();
        EXPECT_EQ(doc.IsScanning(), 0);
        EXPECT_TRUE(exportShown);
        ASSERT_FALSE(exportName.empty());

        EXPECT_EQ(Sqlite3(database, "SELECT Name FROM Dataset WHERE DatasetKey = '" + key + "';"),
                  "Oven warm-up\n");
        std::ifstream in(exportName, std::ios::binary);
        ASSERT_TRUE(in.good()) << exportName;
        std::string header;
        std::getline(in, header);
        EXPECT_EQ(header, "101(Time stamp),101(Seconds),101(VDC),102(Time stamp),"
                          "102(Seconds),102(VDC)\r");
        std::string line;
        int lines = 0;
        while (std::getline(in, line))
            ++lines;
        EXPECT_EQ(lines, 3) << "one line per scan";
        EXPECT_NE(doc.GetExportRequest().m_fileName, exportName)
            << "the next export gets a new name";
    }
}

} // namespace
} // namespace tvane::test
