#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QPixmap>
#include <QTest>

#include "platform/tree/CNodeCtrl.h"
#include "platform/tree/TreeControl.h"
#include "tests/support/QtTestSupport.h"

namespace {

using tvane::TreeControl;

// Counts the hooks the control's notifications reach.
class RecordingTree final : public CNodeCtrl {
public:
    bool InitControl() override {
        ++inits;
        return CNodeCtrl::InitControl();
    }
    std::int32_t OnDblClick() override { return Hit("dblclick"); }
    std::int32_t OnSelChanged() override { return Hit("selchanged"); }
    std::int32_t OnItemExpanded() override { return Hit("expanded"); }
    std::int32_t OnItemCollapsed() override { return Hit("collapsed"); }
    std::int32_t OnSelectionSetChanged() override { return Hit("selection"); }
    std::int32_t OnReservedNotify() override { return Hit("reserved"); }

    std::int32_t Hit(const std::string& hook) {
        ++hits[hook];
        return 7;
    }
    int inits = 0;
    std::map<std::string, int> hits;
};

class TreeTest : public ::testing::Test {
protected:
    TreeTest() {
        control = new TreeControl(1179, &dialog);
        picture.fill(Qt::red);
    }

    // A node the way the setup tree adds one; the picture and marker are
    // indices, -1 for none.
    CNodeCtrl::Handle Add(CNodeCtrl& tree, CNodeCtrl::Handle parent, const std::string& text,
                          std::int32_t image = -1, std::int32_t marker = -1) {
        const CNodeCtrl::Handle item = tree.CreateItem(1);
        EXPECT_NE(item, 0);
        tree.SetItemText(item, 0, static_cast<std::int32_t>(text.size()), text, 99);
        if (image >= 0) {
            EXPECT_EQ(tree.SetItemImage(item, 0, 0, image, 0), 0);
        }
        if (marker >= 0) {
            EXPECT_EQ(tree.SetItemMarker(item, 0, marker, 0), 0);
        }
        EXPECT_EQ(tree.InsertNode(parent, 1, item), 0);
        const CNodeCtrl::Handle node = tree.GetItemNode(item, 0);
        tree.FreeItem(item);
        return node;
    }

    QApplication& app = tvane::test::TestApp();
    QDialog dialog;
    TreeControl* control = nullptr;
    QPixmap picture{18, 15};
};

TEST_F(TreeTest, AttachesOnlyToTheDialogsControlOfThatIdAndRegistersOnce) {
    RecordingTree missing;
    EXPECT_FALSE(missing.SubclassDlgItem(&dialog, 1180));
    EXPECT_EQ(missing.inits, 0);
    EXPECT_FALSE(missing.IsCallbackRegistered());
    EXPECT_EQ(missing.Control(), nullptr);
    EXPECT_EQ(missing.GetNodeLevel(1), -1) << "an unattached wrapper answers no node";

    RecordingTree tree;
    ASSERT_TRUE(tree.SubclassDlgItem(&dialog, 1179));
    EXPECT_EQ(tree.Control(), control);
    EXPECT_EQ(tree.inits, 1);
    EXPECT_TRUE(tree.InitControl());
    EXPECT_TRUE(tree.IsCallbackRegistered());

    const auto root = Add(tree, 0, "root");
    tree.SelectNode(root, 1);
    EXPECT_EQ(tree.hits["selchanged"], 1) << "one callback, however often initialised";
}

TEST_F(TreeTest, NotificationCodesReachTheirHooks) {
    RecordingTree tree;
    ASSERT_TRUE(tree.SubclassDlgItem(&dialog, 1179));
    const std::pair<std::int32_t, const char*> codes[] = {
        {0x4A0, "selchanged"}, {0x4AA, "dblclick"},  {0x4BE, "expanded"},
        {0x4C8, "collapsed"},  {0x4D2, "selection"}, {0x4DC, "reserved"},
    };
    for (const auto& [code, hook] : codes) {
        tree.hits.clear();
        EXPECT_EQ(CNodeCtrl::NotifyCallback(control, code, 0, 0, &tree), 7) << hook;
        EXPECT_EQ(tree.hits, (std::map<std::string, int>{{hook, 1}})) << hook;
    }
    tree.hits.clear();
    EXPECT_EQ(CNodeCtrl::NotifyCallback(control, 0x4A1, 0, 0, &tree), 0);
    EXPECT_TRUE(tree.hits.empty());

    // The user's double click and a change of the current node.
    const auto root = Add(tree, 0, "root");
    Add(tree, root, "child");
    dialog.show();
    tree.hits.clear();
    QTreeWidgetItem* item = control->ItemOf(root);
    const QRect rect = control->visualItemRect(item);
    // A real double click starts with a press of the first click.
    QTest::mousePress(control->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(control->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(tree.hits["dblclick"], 1);
    EXPECT_EQ(tree.hits["selchanged"], 1);
    EXPECT_FALSE(item->isExpanded()) << "a double click is the dialog's to act on";
}

TEST_F(TreeTest, NodesCarryLevelsTextsPicturesAndMarkers) {
    CNodeCtrl tree;
    ASSERT_TRUE(tree.SubclassDlgItem(&dialog, 1179));
    EXPECT_EQ(tree.GetRootNode(), 0);
    EXPECT_LT(tree.AddPicture(-1, 0, nullptr, 0, nullptr, 0, 1), 0) << "no bitmap is refused";
    EXPECT_LT(tree.AddBitmapPicture(-1, 1, nullptr, 0, 1), 0);
    const std::int32_t setupPicture = tree.AddPicture(-1, 0, &picture, 0, &picture, 0, 1);
    const std::int32_t marker = tree.AddBlankPicture(-1, 0, 0, 0, 0, 0, 2);
    const std::int32_t datasetPicture = tree.AddBitmapPicture(-1, 1, &picture, 0, 1);
    EXPECT_EQ(setupPicture, 0);
    EXPECT_EQ(marker, 1);
    EXPECT_EQ(datasetPicture, 2);

    const auto item = tree.CreateItem(1);
    EXPECT_NE(tree.SetItemImage(item, 0, 0, 9, 0), 0) << "an unknown picture is refused";
    EXPECT_NE(tree.InsertNode(12345, 1, item), 0) << "an unknown parent is refused";
    tree.FreeItem(item);

    const auto root = Add(tree, 0, "Workspace:  TVANE32", -1, marker);
    const auto bench = Add(tree, root, "Bench", setupPicture, marker);
    const auto run1 = Add(tree, bench, "Run 1", datasetPicture);
    const auto run2 = Add(tree, bench, "Run 2", datasetPicture);
    const auto lone = Add(tree, root, "Lone", setupPicture);

    EXPECT_EQ(tree.GetRootNode(), root);
    const std::pair<CNodeCtrl::Handle, int> levels[] = {
        {root, 0}, {bench, 1}, {run1, 2}, {lone, 1}, {987654, -1}};
    for (const auto& [node, level] : levels)
        EXPECT_EQ(tree.GetNodeLevel(node), level) << node;
    EXPECT_EQ(tree.GetNodeText(run2), "Run 2");
    EXPECT_EQ(tree.GetParentNode(run2), bench);
    EXPECT_EQ(tree.GetFirstChildNode(root), bench);
    EXPECT_EQ(tree.GetNextSiblingNode(bench), lone);
    EXPECT_EQ(tree.GetNextSiblingNode(lone), 0);
    EXPECT_EQ(tree.GetFirstChildNode(lone), 0);
    EXPECT_NE(tree.NodeHasChildren(bench), 0);
    EXPECT_EQ(tree.NodeHasChildren(lone), 0);
    EXPECT_EQ(control->MarkerOf(bench), marker);
    EXPECT_EQ(control->MarkerOf(lone), -1);
    EXPECT_EQ(control->ItemOf(lone)->childIndicatorPolicy(),
              QTreeWidgetItem::DontShowIndicatorWhenChildless);
    EXPECT_FALSE(control->ItemOf(run1)->icon(0).isNull());

    tree.SetNodeText(run2, 3, "Run 22", 0);
    EXPECT_EQ(tree.GetNodeText(run2), "Run") << "the length given is the text";

    // The double-click rule: expand, collapse, and nothing for a leaf.
    tree.SelectNode(bench, 1);
    tree.TreeCall25(bench);
    EXPECT_EQ(tree.GetCurrentNode(), bench);
    EXPECT_NE(tree.IsCurrentExpandable(), 0);
    ToggleCurrentNode(tree);
    EXPECT_NE(tree.IsCurrentExpanded(), 0);
    ToggleCurrentNode(tree);
    EXPECT_EQ(tree.IsCurrentExpanded(), 0);
    tree.SelectNode(lone, 1);
    EXPECT_EQ(tree.IsCurrentExpandable(), 0);
    ToggleCurrentNode(tree);
    EXPECT_EQ(tree.IsCurrentExpanded(), 0);

    EXPECT_EQ(tree.DeleteNode(bench), 0);
    EXPECT_EQ(tree.GetNodeLevel(run1), -1) << "a deleted node's children go with it";
    EXPECT_EQ(tree.GetFirstChildNode(root), lone);
    tree.DeleteAllNodes();
    EXPECT_EQ(tree.GetRootNode(), 0);
    EXPECT_EQ(tree.GetNodeLevel(root), -1);
}

TEST_F(TreeTest, AMultipleSelectionIsWalkedInTreeOrder) {
    CNodeCtrl tree;
    ASSERT_TRUE(tree.SubclassDlgItem(&dialog, 1179));
    tree.TreeCall229(1);
    const auto root = Add(tree, 0, "root");
    const auto a = Add(tree, root, "a");
    const auto a1 = Add(tree, a, "a1");
    const auto b = Add(tree, root, "b");
    tree.ExpandNode(root, 1);
    tree.ExpandNode(a, 1);
    EXPECT_EQ(tree.GetFirstSelectedNode(), 0);

    tree.SelectNode(b, 1);
    control->ItemOf(a1)->setSelected(true);
    control->ItemOf(a)->setSelected(true);
    EXPECT_NE(tree.HasMultipleSelection(), 0);
    std::vector<CNodeCtrl::Handle> walked;
    for (auto node = tree.GetFirstSelectedNode(); node != 0; node = tree.GetNextSelectedNode(node))
        walked.push_back(node);
    EXPECT_EQ(walked, (std::vector<CNodeCtrl::Handle>{a, a1, b}));

    tree.SelectNode(a, 1);
    EXPECT_EQ(tree.HasMultipleSelection(), 0) << "selecting a node makes it the only one";
    EXPECT_EQ(tree.GetFirstSelectedNode(), a);
    EXPECT_EQ(tree.GetNextSelectedNode(a), 0);
}

TEST_F(TreeTest, AWrapperGoneBeforeItsControlIsNotCalled) {
    CNodeCtrl::Handle root = 0;
    {
        RecordingTree tree;
        ASSERT_TRUE(tree.SubclassDlgItem(&dialog, 1179));
        root = Add(tree, 0, "root");
    }
    control->SelectNode(root, 1); // would reach the destroyed wrapper
    EXPECT_EQ(control->GetCurrentNode(), root);
}

} // namespace
