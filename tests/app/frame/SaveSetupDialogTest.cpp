#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/DocumentWiring.h"
#include "database/CDynaDatabase.h"
#include "database/SeedDatabase.h"
#include "platform/core/Clock.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/database/OdbcTestSupport.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

class SaveSetupDialogTest : public ::testing::Test {
protected:
    SaveSetupDialogTest() { TestApp(); }
    SaveSetupModel Model(std::int32_t kind) {
        SaveSetupModel::Lookups lookups;
        lookups.setup = [](const std::string& name) -> std::int16_t {
            return name == "Taken" ? 1 : 2;
        };
        lookups.dataset = [](const std::string&, const std::string& name) -> std::int16_t {
            return name == "Taken" ? 1 : 2;
        };
        SaveSetupModel model(lookups, prompter);
        model.m_kind = kind;
        model.m_caption = "Save Setup";
        model.m_setupName = "Bench";
        model.m_datasetName = "Run 1";
        model.m_lastModified = "03/05/26 14:07:09";
        model.m_user = "ann";
        return model;
    }
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
};

TEST_F(SaveSetupDialogTest, NameEditDrivesOkAndATakenNameKeepsTheDialogOpen) {
    SaveSetupModel model = Model(SaveSetupModel::Setup);
    CSaveSetupDialog dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Save Setup");
    EXPECT_EQ(dialog.NameEdit()->text(), "Bench");
    EXPECT_EQ(dialog.LastModifiedEdit()->text(), "03/05/26 14:07:09");
    EXPECT_FALSE(dialog.LastModifiedEdit()->isEnabled());
    EXPECT_EQ(dialog.UserEdit()->text(), "ann");
    EXPECT_EQ(dialog.NameEdit()->maxLength(), 35);
    EXPECT_EQ(dialog.UserEdit()->maxLength(), 32);
    EXPECT_TRUE(dialog.OkButton()->isEnabled());

    dialog.NameEdit()->selectAll();
    QTest::keyClick(dialog.NameEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    QTest::keyClicks(dialog.NameEdit(), "Taken");
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    dialog.OkButton()->click();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{SaveSetupModel::kSetupInUse});
    EXPECT_EQ(dialog.result(), QDialog::Rejected) << "the dialog stays open";

    dialog.NameEdit()->setText("Fresh");
    dialog.UserEdit()->setText("bob");
    dialog.DescriptionEdit()->setPlainText(QString(120, 'd'));
    EXPECT_EQ(dialog.DescriptionEdit()->toPlainText().size(), 100);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.m_name, "Fresh");
    EXPECT_EQ(model.m_user, "bob");
    EXPECT_EQ(model.m_description, std::string(100, 'd'));
}

TEST_F(SaveSetupDialogTest, RunsForADatasetAndHandsBackTheFields) {
    QtSaveSetupDialog runner(SaveSetupModel::Lookups{}, nullptr);
    SavePropertiesFields fields{"Save Dataset", "Run 1", "03/05/26 14:07:09", "ann", "", 2,
                                "Bench"};
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CSaveSetupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenTitle = dialog->windowTitle();
        dialog->NameEdit()->setText("Run 2");
        dialog->DescriptionEdit()->setPlainText("line one\nline two");
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(runner.Run(fields));
    EXPECT_EQ(seenTitle, "Save Dataset");
    EXPECT_EQ(fields.name, "Run 2");
    EXPECT_EQ(fields.user, "ann");
    EXPECT_EQ(fields.note, "line one\nline two");

    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            qobject_cast<QDialog*>(dialog)->reject();
    });
    EXPECT_FALSE(runner.Run(fields));
    EXPECT_EQ(fields.name, "Run 2") << "Cancel leaves the fields";
}

// A setup that was never saved is named through the dialog and stored under
// that name in the workspace.
TEST(SaveSetupThroughFrame, ANeverSavedSetupIsSavedUnderTheTypedName) {
    TestApp();
    TempHome home;
    FakeClock clock(1700000000, 5000);
    ScopedService<IClock> clockService(SetClock, &clock);
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    InstallWorkspaceDriver(home);
    const auto database = home.Data() / "tvane.mdb";
    CreateSeedDatabase(database);
    CStateInfo state;
    state.m_dataDir = home.Data().string();
    auto db = std::make_shared<CDynaDatabase>();
    ASSERT_TRUE(
        db->Open({}, false, false, "ODBC;Driver=SQLite3;Database=" + database.string() + ";"));
    state.m_pDatabase = db;

    CMainFrame frame;
    DocumentWiring wiring(state, nullptr, &frame);
    CLoggerDoc& doc = wiring.Document();
    CStateInfo setup = state;
    setup.m_setupName = "Untitled";
    setup.m_modules = {"KXQT7101", "(None)", "(None)"};
    ASSERT_TRUE(doc.CreateNewSetup(setup, 0, false));
    state = setup;
    ASSERT_TRUE(doc.IsNeverSaved());
    ASSERT_NE(Sqlite3(database, "SELECT Name FROM Setup;").find("Untitled"), std::string::npos);

    QString seenTitle, seenName;
    QTimer::singleShot(0, [&] {
        auto* dialog = dynamic_cast<CSaveSetupDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        seenTitle = dialog->windowTitle();
        seenName = dialog->NameEdit()->text();
        dialog->NameEdit()->selectAll();
        QTest::keyClicks(dialog->NameEdit(), "Bench setup");
        dialog->UserEdit()->setText("ann");
        dialog->DescriptionEdit()->setPlainText("first save");
        dialog->OkButton()->click();
    });
    EXPECT_TRUE(doc.OnFileSave());
    EXPECT_EQ(seenTitle, "Save Setup");
    EXPECT_EQ(seenName, "Untitled");
    EXPECT_FALSE(doc.IsNeverSaved());
    EXPECT_EQ(wiring.App().GetStateInfo().m_setupName, "Bench setup");
    EXPECT_EQ(Sqlite3(database, "SELECT Name, User, Note FROM Setup;"),
              "Bench setup|ann|first save\n");
    EXPECT_TRUE(prompter.asked.empty());
    doc.CloseDatasetStore();
}

} // namespace
} // namespace tvane::test
