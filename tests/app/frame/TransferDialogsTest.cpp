#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/frame/CTransferDialogs.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CQMZip.h"
#include "database/CRSBase.h"
#include "database/CRSDataset.h"
#include "database/IExportDocument.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "tests/database/WorkspaceTestSupport.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;
constexpr StorageMode kCreate = STGM_CREATE | STGM_SHARE_EXCLUSIVE | STGM_READWRITE;

class FileExportDocument final : public IExportDocument {
public:
    std::string FormatTime(CTime time) override {
        return Format("at %lld", static_cast<long long>(time.GetTime()));
    }
    bool OpenStoredDataset(const std::string& key, const std::string& file,
                           DatasetDirEntry& entry) override {
        CDatasetStore store;
        if (key.empty() || !store.Open(file, STGM_READWRITE | STGM_SHARE_EXCLUSIVE))
            return false;
        const bool found = store.FindDataset(key, &entry);
        store.Close();
        return found;
    }
};

// The workspace "bench" with a setup Bench whose datasets are Run (with
// readings) and Idle, and a setup Draft that was never saved to its file.
class TransferDialogsTest : public WorkspaceTest {
protected:
    void SetUp() override {
        TestApp();
        WorkspaceTest::SetUp();
        doc.state.m_dataSourceName = "bench";
        dir = home.Data().string();
        WriteSetupDocument(dir + "/X6140709.063");
        WriteFile(dir + "/X6140710.063", "");
        {
            CDatasetStore store;
            ASSERT_TRUE(store.Create(dir + "/Y6140709.063", kCreate, true));
            CDataset run;
            ASSERT_TRUE(run.Create(CTime(1'700'000'000), 1, &store, "Z1", 16384));
            std::vector<ReadingRecord> readings(6);
            for (std::size_t i = 0; i < readings.size(); ++i) {
                readings[i].ScanNumber = static_cast<std::int32_t>(i + 1);
                readings[i].Channel = 101;
                readings[i].Time = 1000.0 * static_cast<double>(i);
            }
            ASSERT_TRUE(run.AppendReadings(readings.data(), 6));
            ASSERT_TRUE(run.FlushReadings());
            run.Close();
            CDataset idle;
            ASSERT_TRUE(idle.Create(CTime(1'700'000'000), 1, &store, "Z2", 16384));
            idle.Close();
            store.Close();
        }
        Sql("INSERT INTO Setup (Name, DateTime, User, Note, SetupFile, DatasetFile) VALUES "
            "('Bench', '2023-11-14 22:13:20.000', 'ann', 'bench note', '" +
            dir + "/X6140709.063', '" + dir +
            "/Y6140709.063'),"
            "('Draft', '2023-11-14 22:13:20.000', '', '', '" +
            dir + "/X6140710.063', '" + dir +
            "/Y6140710.063');"
            "INSERT INTO Dataset (SetupName, Name, DateTime, User, Note, DatasetKey) VALUES "
            "('Bench', 'Run', '2023-11-14 22:15:00.000', 'bob', 'run note', 'Z1'),"
            "('Bench', 'Idle', '2023-11-14 22:16:00.000', 'cy', '', 'Z2');");
    }

    std::unique_ptr<CTransferExportDialog> ExportDialog() {
        return std::make_unique<CTransferExportDialog>(CTransferExportDialog::Host{
            doc.state, exportDoc,
            [this](const std::string& name) { return workspace.SetupExists(name); },
            [this] { ++saves; }});
    }
    static std::string Info(QLabel* label) { return label->text().toStdString(); }
    static std::vector<std::string> TreeTexts(CQmxTree& tree) {
        std::vector<std::string> texts;
        const CNodeCtrl::Handle root = tree.GetRootNode();
        if (root == 0)
            return texts;
        texts.push_back(tree.GetNodeText(root));
        for (auto s = tree.GetFirstChildNode(root); s != 0; s = tree.GetNextSiblingNode(s)) {
            texts.push_back(tree.GetNodeText(s));
            for (auto d = tree.GetFirstChildNode(s); d != 0; d = tree.GetNextSiblingNode(d))
                texts.push_back("  " + tree.GetNodeText(d));
        }
        return texts;
    }

    FileExportDocument exportDoc;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    std::string dir;
    int saves = 0;
};

TEST_F(TransferDialogsTest, ExportShowsTheWorkspaceAndWritesTheSelectedSetup) {
    auto dialog = ExportDialog();
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Transfer - Export");
    EXPECT_EQ(dialog->PathEdit()->text().toStdString(), dir + "/qmexport.qmx");
    EXPECT_EQ(TreeTexts(dialog->Tree()),
              (std::vector<std::string>{"Workspace:  BENCH", "Bench", "  Run", "  Idle", "Draft"}));
    EXPECT_FALSE(dialog->ExportButton()->isEnabled());
    EXPECT_FALSE(dialog->AllDatasetsCheck()->isEnabled());
    EXPECT_TRUE(dialog->AllDatasetsCheck()->isChecked());

    ASSERT_TRUE(dialog->SelectNode("Bench", "Run"));
    EXPECT_TRUE(dialog->ExportButton()->isEnabled());
    EXPECT_FALSE(dialog->AllDatasetsCheck()->isEnabled());
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kUser)), "bob");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kLastModified)), "at 1700000100");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kDescription)), "run note");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kScans)), "6");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kEvents)), "0");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kDuration)), "00:00:05.000");

    ASSERT_TRUE(dialog->SelectNode("Bench"));
    EXPECT_TRUE(dialog->AllDatasetsCheck()->isEnabled());
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kUser)), "ann");
    EXPECT_EQ(Info(dialog->Info(CTransferExportDialog::kScans)), "");

    // Without the check box the setup travels alone.
    const std::string archive = home.Path().string() + "/bench.qmx";
    dialog->PathEdit()->setText(QString::fromStdString(archive));
    dialog->AllDatasetsCheck()->setChecked(false);
    dialog->ExportButton()->click();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Export Successful"});
    CQMZip zip(&prompter);
    int members = 0;
    ASSERT_TRUE(zip.GetEntryCount(archive, members));
    EXPECT_EQ(members, 2);

    // A setup never saved to its file is offered a save first; No ends it.
    dialog->PathEdit()->setText(QString::fromStdString(home.Path().string() + "/draft.qmx"));
    ASSERT_TRUE(dialog->SelectNode("Draft"));
    prompter.asked.clear();
    prompter.Script({MsgAnswer::No});
    dialog->ExportButton()->click();
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"Can not export selected setup, it has not been saved. "
                                       "Save it now?"});
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(fs::exists(home.Path() / "draft.qmx"));
    // Yes, and a save that did not happen: nothing is exported.
    prompter.asked.clear();
    prompter.Script({MsgAnswer::Yes});
    dialog->ExportButton()->click();
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{
                  "Can not export selected setup, it has not been saved. Save it now?",
                  "Can not export selected setup, it has not been saved."}));
    EXPECT_FALSE(fs::exists(home.Path() / "draft.qmx"));

    dialog->PathEdit()->clear();
    EXPECT_FALSE(dialog->ExportButton()->isEnabled());
}

TEST_F(TransferDialogsTest, ImportPreviewsTheArchiveAndAddsTheChosenDatasetUnderAFreeName) {
    const std::string archive = home.Path().string() + "/bench.qmx";
    {
        auto exporter = ExportDialog();
        exporter->PathEdit()->setText(QString::fromStdString(archive));
        ASSERT_TRUE(exporter->SelectNode("Bench"));
        exporter->ExportButton()->click();
        ASSERT_TRUE(fs::exists(archive));
    }
    prompter.asked.clear();

    CTransferImportDialog dialog(doc.state, workspace);
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Transfer - Import");
    EXPECT_FALSE(dialog.ImportButton()->isEnabled());

    // A file that is no export leaves the tree empty and Import disabled.
    WriteFile(home.Path() / "plain.qmx", "not an archive");
    dialog.PathEdit()->setText(QString::fromStdString(home.Path().string() + "/plain.qmx"));
    EXPECT_TRUE(TreeTexts(dialog.Tree()).empty());
    EXPECT_FALSE(dialog.ImportButton()->isEnabled());
    EXPECT_TRUE(prompter.asked.empty());

    dialog.PathEdit()->setText(QString::fromStdString(archive));
    EXPECT_EQ(TreeTexts(dialog.Tree()),
              (std::vector<std::string>{"Workspace:  BENCH", "Bench", "  Run", "  Idle"}));
    EXPECT_FALSE(dialog.ImportButton()->isEnabled()) << "the root is selected";

    ASSERT_TRUE(dialog.SelectNode("Bench", "Idle"));
    EXPECT_TRUE(dialog.ImportButton()->isEnabled());
    EXPECT_FALSE(dialog.AllDatasetsCheck()->isEnabled());
    EXPECT_EQ(Info(dialog.Info(CTransferImportDialog::kUser)), "cy");
    EXPECT_EQ(Info(dialog.Info(CTransferImportDialog::kScans)), "0");
    EXPECT_EQ(Info(dialog.Info(CTransferImportDialog::kLastModified)), "at 1700000160");

    dialog.ImportButton()->click();
    EXPECT_EQ(prompter.Texts(),
              (std::vector<std::string>{"Setup already exists.\nRenaming (Bench) to (Bench.1)",
                                        "Import successful"}));
    CRSDataset rows(doc.state.GetDatabase());
    ASSERT_EQ(rows.OpenGivenSetup("Bench.1", RS_READONLY), RS_ROWS);
    EXPECT_EQ(rows.m_Name, "Idle");
    EXPECT_EQ(rows.m_User, "Imported");
    rows.MoveNext();
    EXPECT_TRUE(rows.IsEOF()) << "one dataset only";
    rows.Close();
}

} // namespace
} // namespace tvane::test
