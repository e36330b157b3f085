#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QDialog>
#include <QTest>

#include "app/frame/CQmxTree.h"
#include "database/WorkspaceTree.h"
#include "platform/tree/TreeControl.h"
#include "tests/database/WorkspaceTestSupport.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// A dialog that counts the tree's messages.
class HostDialog final : public QDialog {
public:
    bool event(QEvent* e) override {
        if (e->type() == QmxTreeChangedMessage())
            ++changed;
        else if (e->type() == QmxTreeDblClickMessage())
            ++doubleClicked;
        return QDialog::event(e);
    }
    int changed = 0;
    int doubleClicked = 0;
};

class QmxTreeTest : public WorkspaceTest {
protected:
    void SetUp() override {
        TestApp();
        WorkspaceTest::SetUp();
        dialog = std::make_unique<HostDialog>();
        control = new TreeControl(CQmxTree::kControlId, dialog.get());
        tree = std::make_unique<CQmxTree>();
        ASSERT_TRUE(tree->SubclassDlgItem(dialog.get(), CQmxTree::kControlId));
    }
    void TearDown() override {
        tree.reset();
        dialog.reset();
        WorkspaceTest::TearDown();
    }

    // Every node as level, text, and whether it carries the marker.
    std::vector<std::string> Listing() {
        std::vector<std::string> lines;
        Walk(tree->GetRootNode(), lines);
        return lines;
    }
    void Walk(CNodeCtrl::Handle node, std::vector<std::string>& lines) {
        for (; node != 0; node = tree->GetNextSiblingNode(node)) {
            lines.push_back(std::to_string(tree->GetNodeLevel(node)) + " " +
                            tree->GetNodeText(node) + (control->MarkerOf(node) >= 0 ? " [+]" : ""));
            Walk(tree->GetFirstChildNode(node), lines);
        }
    }

    std::unique_ptr<HostDialog> dialog;
    TreeControl* control = nullptr;
    std::unique_ptr<CQmxTree> tree;
};

TEST_F(QmxTreeTest, ShowsTheWorkspaceWithItsSetupsAndDatasets) {
    EXPECT_EQ(tree->SetupPicture(), 0);
    EXPECT_EQ(tree->MarkerPicture(), 1);
    EXPECT_EQ(tree->DatasetPicture(), 2);
    EXPECT_EQ(control->selectionMode(), QAbstractItemView::ExtendedSelection);

    CNodeCtrl::Handle root = tree->Fill("Tvane32", ReadWorkspaceTree(doc.state.GetDatabase()));
    EXPECT_EQ(Listing(), std::vector<std::string>{"0 Workspace:  TVANE32 [+]"})
        << "no setups: the root alone";

    Sql("INSERT INTO Setup (Name, DateTime) VALUES ('Bench', '2023-11-14 22:13:20.000'),"
        "('Alpha', '2023-11-14 22:13:20.000'), ('', '2023-11-14 22:13:20.000');"
        "INSERT INTO Dataset (SetupName, Name, DateTime, DatasetKey) VALUES "
        "('Bench', 'Run B', '2023-11-14 22:16:00.000', 'Z2'),"
        "('Bench', '', '2023-11-14 22:15:00.000', 'Z1');");
    root = tree->Fill("Tvane32", ReadWorkspaceTree(doc.state.GetDatabase()));
    EXPECT_EQ(Listing(),
              (std::vector<std::string>{"0 Workspace:  TVANE32 [+]", "1 (empty)", "1 Alpha",
                                        "1 Bench [+]", "2 (empty)", "2 Run B"}));
    const CNodeCtrl::Handle alpha = tree->GetNextSiblingNode(tree->GetFirstChildNode(root));
    EXPECT_FALSE(control->ItemOf(alpha)->icon(0).isNull()) << "a setup shows its picture";
    EXPECT_TRUE(control->ItemOf(root)->icon(0).isNull()) << "the root shows none";
    EXPECT_TRUE(control->ItemOf(root)->font(0).bold());

    // The dialog selects the root; the tree tells it about the change.
    tree->SelectRoot(root);
    EXPECT_EQ(tree->GetCurrentNode(), root);
    EXPECT_NE(tree->IsCurrentExpanded(), 0);
    EXPECT_GE(dialog->changed, 1);

    // A setup without datasets cannot be expanded.
    tree->SelectNode(alpha, 1);
    EXPECT_EQ(tree->IsCurrentExpandable(), 0);
    ToggleCurrentNode(*tree);
    EXPECT_EQ(tree->IsCurrentExpanded(), 0);
}

TEST_F(QmxTreeTest, TellsItsDialogAboutChangesAndDoubleClicks) {
    Sql("INSERT INTO Setup (Name, DateTime) VALUES ('Bench', '2023-11-14 22:13:20.000');");
    const CNodeCtrl::Handle root =
        tree->Fill("tvane32", ReadWorkspaceTree(doc.state.GetDatabase()));
    tree->SelectRoot(root);
    dialog->show();
    dialog->changed = 0;
    const CNodeCtrl::Handle bench = tree->GetFirstChildNode(root);
    const QRect rect = control->visualItemRect(control->ItemOf(bench));
    QTest::mousePress(control->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(dialog->changed, 1);
    EXPECT_EQ(dialog->doubleClicked, 1);
    EXPECT_EQ(tree->GetCurrentNode(), bench);
}

} // namespace
} // namespace tvane::test
