#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/OpenSetupModel.h"
#include "platform/ui/Prompter.h"

namespace tvane::test {
namespace {

using Node = OpenSetupModel::Node;

// The Open dialog's rules with "Bench" / "Run 2" open; every row reads.
class OpenSetupModelTest : public ::testing::Test {
protected:
    OpenSetupModel Make(int mode) {
        OpenSetupModel::Services services;
        services.readSetup = [](const std::string& setup, OpenSetupModel::Info& info) {
            info.user = "ann";
            info.description = setup + " notes";
            return true;
        };
        services.readDataset = [](const std::string&, const std::string& dataset,
                                  OpenSetupModel::Info& info) {
            info.scans = "12";
            info.description = dataset;
            return true;
        };
        services.deleteSetup = [this](const std::string& setup) {
            deleted.push_back(setup);
            return true;
        };
        services.deleteDataset = [this](const std::string& setup, const std::string& dataset) {
            deleted.push_back(setup + "/" + dataset);
            return true;
        };
        services.renameSetup = [this](const std::string& old, const RowProperties& p) {
            deleted.push_back("rename " + old + " " + p.name);
            return true;
        };
        services.editProperties = [](int kind, const std::string& caption, const std::string&,
                                     const std::string&, const OpenSetupModel::Info&,
                                     RowProperties& out, std::string& lastModified) {
            out = {kind == 1 ? "Bench 2" : "Run 9", "bob", caption};
            lastModified = "now";
            return true;
        };
        OpenSetupModel model(services, prompter);
        model.m_mode = mode;
        model.m_currentSetup = "Bench";
        model.m_currentDataset = "Run 2";
        model.m_workspace = "tvane32";
        model.Init();
        return model;
    }
    ScriptedPrompter prompter;
    std::vector<std::string> deleted;
};

TEST_F(OpenSetupModelTest, ButtonsFollowTheSelection) {
    struct Case {
        int mode;
        Node node;
        bool open, properties, del;
    } cases[] = {
        {0, {0, "Workspace:  TVANE32", ""}, false, false, false},
        {0, {1, "Plant", "Workspace:  TVANE32"}, true, true, true},
        {0, {1, "Bench", "Workspace:  TVANE32"}, false, true, false},
        {0, {2, "Run 2", "Bench"}, false, true, false},
        {0, {2, "Run 2", "Plant"}, true, true, true},
        {1, {1, "Plant", "Workspace:  TVANE32"}, false, true, true},
        {0, {3, "deeper", "Run 2"}, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.node.text + "/" + c.node.parentText);
        OpenSetupModel model = Make(c.mode);
        model.SelectionChanged(c.node, {});
        EXPECT_EQ(model.OpenEnabled(), c.open);
        EXPECT_EQ(model.PropertiesEnabled(), c.properties);
        EXPECT_EQ(model.DeleteEnabled(), c.del);
    }
    OpenSetupModel model = Make(0);
    EXPECT_EQ(model.m_workspace, "TVANE32");
    EXPECT_EQ(model.CurrentLabel(), "Bench - Run 2");
    model.SelectionChanged({2, "Run 5", "Plant"}, {});
    EXPECT_EQ(model.SelectedSetup(), "Plant");
    EXPECT_EQ(model.SelectedDataset(), "Run 5");
    EXPECT_EQ(model.GetInfo().scans, "12");

    // Several nodes: Delete only for one level and nothing open among them.
    model.SelectionChanged({1, "Plant", ""}, {{1, "Plant", ""}, {1, "Mill", ""}});
    EXPECT_FALSE(model.OpenEnabled());
    EXPECT_TRUE(model.DeleteEnabled());
    model.SelectionChanged({1, "Plant", ""}, {{1, "Plant", ""}, {2, "Run 1", "Mill"}});
    EXPECT_FALSE(model.DeleteEnabled());
    model.SelectionChanged({1, "Plant", ""}, {{1, "Plant", ""}, {1, "Bench", ""}});
    EXPECT_FALSE(model.DeleteEnabled());
}

TEST_F(OpenSetupModelTest, DoubleClickOpensALeafAndTogglesTheRest) {
    OpenSetupModel model = Make(0);
    using Click = OpenSetupModel::Click;
    EXPECT_EQ(model.DoubleClick({0, "Workspace", ""}, true), Click::Toggle);
    EXPECT_EQ(model.DoubleClick({1, "Plant", ""}, true), Click::Toggle);
    EXPECT_EQ(model.DoubleClick({1, "Mill", ""}, false), Click::EndOpen);
    EXPECT_EQ(model.DoubleClick({2, "Run 4", "Plant"}, false), Click::EndOpen);
    model.SelectionChanged({2, "Run 2", "Bench"}, {});
    EXPECT_EQ(model.DoubleClick({2, "Run 2", "Bench"}, false), Click::EndCancel);
    EXPECT_EQ(Make(1).DoubleClick({1, "Mill", ""}, false), Click::EditProperties);
}

TEST_F(OpenSetupModelTest, DeleteAsksThenDeletesAndCancelBecomesClose) {
    OpenSetupModel model = Make(1);
    EXPECT_EQ(model.CancelCode(), OpenSetupModel::kEndCancel);
    prompter.Script({MsgAnswer::No});
    EXPECT_TRUE(model.Delete({{1, "Plant", ""}}).empty());
    EXPECT_TRUE(deleted.empty());
    EXPECT_EQ(model.CancelCode(), OpenSetupModel::kEndClose);

    prompter.Script({MsgAnswer::Yes});
    const auto removed = model.Delete({{2, "Run 1", "Plant"}, {2, "Run 3", "Plant"}});
    EXPECT_EQ(removed.size(), 2u);
    EXPECT_EQ(deleted, (std::vector<std::string>{"Plant/Run 1", "Plant/Run 3"}));
    EXPECT_EQ(prompter.asked.back().text, OpenSetupModel::kDeleteDatasets);

    model.Delete({{0, "Workspace", ""}});
    EXPECT_EQ(prompter.asked.back().text, OpenSetupModel::kNoWorkspaceDelete);
}

TEST_F(OpenSetupModelTest, RenamingTheOpenSetupChangesTheCurrentNames) {
    OpenSetupModel model = Make(1);
    model.SelectionChanged({1, "Bench", ""}, {});
    std::string text;
    ASSERT_TRUE(model.EditProperties({1, "Bench", ""}, text));
    EXPECT_EQ(text, "Bench 2");
    EXPECT_TRUE(model.NamesChanged());
    EXPECT_EQ(model.m_currentSetup, "Bench 2");
    EXPECT_EQ(model.GetInfo().description, "Edit Setup");
    EXPECT_EQ(deleted, std::vector<std::string>{"rename Bench Bench 2"});
    EXPECT_EQ(model.CancelCode(), OpenSetupModel::kEndClose);
}

} // namespace
} // namespace tvane::test
