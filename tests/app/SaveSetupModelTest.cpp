#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ExportDialogModels.h"
#include "app/SaveSetupAsModel.h"
#include "app/SaveSetupModel.h"
#include "platform/ui/Prompter.h"
#include "tests/database/WorkspaceTestSupport.h"

namespace tvane::test {
namespace {

// The properties dialog's rules over scripted searches: "Taken" is stored,
// "Broken" cannot be searched, anything else is free.
class SaveSetupModelTest : public ::testing::Test {
protected:
    SaveSetupModel Make(std::int32_t kind) {
        SaveSetupModel::Lookups lookups;
        lookups.setup = [this](const std::string& name) -> std::int16_t {
            searched.push_back(name);
            return Answer(name);
        };
        lookups.dataset = [this](const std::string& setup, const std::string& name) {
            searched.push_back(setup + "/" + name);
            return Answer(name);
        };
        SaveSetupModel model(lookups, prompter);
        model.m_kind = kind;
        model.m_setupName = "Bench";
        model.m_datasetName = "Run 1";
        model.m_user = "ann";
        model.m_lastModified = std::string(30, 't');
        model.m_description = std::string(120, 'd');
        return model;
    }
    static std::int16_t Answer(const std::string& name) {
        return name == "Taken" ? 1 : name == "Broken" ? 0 : 2;
    }
    std::vector<std::string> searched;
    ScriptedPrompter prompter;
};

TEST_F(SaveSetupModelTest, OpensOnTheSetupOrDatasetNameWithTextsCutToTheirLimits) {
    SaveSetupModel setup = Make(SaveSetupModel::Setup);
    setup.Init();
    EXPECT_EQ(setup.m_name, "Bench");
    EXPECT_EQ(setup.m_user, "ann");
    EXPECT_EQ(setup.m_lastModified.size(), 20u);
    EXPECT_EQ(setup.m_description.size(), 100u);
    EXPECT_FALSE(setup.NameChanged());
    EXPECT_TRUE(setup.OkEnabled());

    SaveSetupModel dataset = Make(SaveSetupModel::Dataset);
    dataset.Init();
    EXPECT_EQ(dataset.m_name, "Run 1");

    setup.EditName("");
    EXPECT_FALSE(setup.OkEnabled());
    EXPECT_FALSE(setup.Accept()) << "no name never closes the dialog";
    setup.EditName("B");
    EXPECT_TRUE(setup.OkEnabled());
    setup.EditName(std::string(50, 'x'));
    EXPECT_EQ(setup.m_name.size(), 35u);
    EXPECT_TRUE(setup.NameChanged());
}

TEST_F(SaveSetupModelTest, OkSearchesOnlyForANameThatReallyChanged) {
    struct Case {
        std::int32_t kind;
        const char* typed;
        bool accepted;
        const char* search; // "" when none is made
        const char* message;
    };
    const Case cases[] = {
        {SaveSetupModel::Setup, "BENCH", true, "", ""},
        {SaveSetupModel::Setup, "Bench", true, "", ""},
        {SaveSetupModel::Setup, "Free", true, "Free", ""},
        {SaveSetupModel::Setup, "Broken", true, "Broken", ""},
        {SaveSetupModel::Setup, "Taken", false, "Taken", SaveSetupModel::kSetupInUse},
        {SaveSetupModel::Dataset, "run 1", true, "", ""},
        {SaveSetupModel::Dataset, "Free", true, "Bench/Free", ""},
        {SaveSetupModel::Dataset, "Taken", false, "Bench/Taken", SaveSetupModel::kDatasetInUse},
    };
    for (const Case& c : cases) {
        searched.clear();
        prompter.asked.clear();
        SaveSetupModel model = Make(c.kind);
        model.Init();
        model.EditName("something else");
        model.EditName(c.typed);
        EXPECT_EQ(model.Accept(), c.accepted) << c.typed;
        EXPECT_EQ(searched, std::string(c.search).empty() ? std::vector<std::string>{}
                                                          : std::vector<std::string>{c.search})
            << c.typed;
        if (*c.message) {
            ASSERT_EQ(prompter.asked.size(), 1u) << c.typed;
            EXPECT_EQ(prompter.asked[0].text, c.message);
            EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Warning);
        } else {
            EXPECT_TRUE(prompter.asked.empty()) << c.typed;
        }
    }

    // A name that was never edited is not searched for, even when it is stored.
    searched.clear();
    SaveSetupModel untouched = Make(SaveSetupModel::Setup);
    untouched.m_setupName = "Taken";
    untouched.Init();
    EXPECT_TRUE(untouched.Accept());
    EXPECT_TRUE(searched.empty());
}

// Every dialog where a setup or dataset name is typed refuses a control
// character before any search, and cuts a long name between characters.
TEST_F(SaveSetupModelTest, EveryNameDialogRefusesControlCharactersAndCutsWholeCharacters) {
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    const auto never = [this](const std::string& name) -> std::int16_t {
        searched.push_back(name);
        return 2;
    };
    SaveSetupAsFields fields;
    fields.existingName = "Bench";
    fields.newName = "Bench.1";
    std::string accentedName; // 17 two-byte characters: 34 bytes
    for (int i = 0; i < 17; ++i)
        accentedName += "\xC3\xA9";
    for (const std::string& typed :
         {std::string("Run\n[Path]"), std::string("Run\r"), std::string("Tab\there"),
          std::string("Nul\0cut", 7), std::string("Del\x7F")}) {
        SCOPED_TRACE(testing::PrintToString(typed));
        searched.clear();
        prompter.asked.clear();
        SaveSetupModel setup = Make(SaveSetupModel::Dataset);
        setup.Init();
        setup.EditName(typed);
        EXPECT_FALSE(setup.Accept());

        SaveSetupAsModel as(fields, never, prompter);
        as.Init();
        as.EditName(typed);
        EXPECT_FALSE(as.Accept());
        EXPECT_EQ(as.GetFocus(), SaveSetupAsModel::Focus::Name);

        SaveScanDataModel scan([&](const std::string&, const std::string& n) { return never(n); },
                               prompter);
        scan.m_storedName = typed; // even the stored name of a run
        scan.Init();
        EXPECT_FALSE(scan.Accept());

        EXPECT_TRUE(searched.empty());
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>(3, kNameHasControlCharacter));
    }

    // The edits limit characters; the name is cut to 35 bytes at a boundary.
    const std::string longName = "ab" + accentedName;
    SaveSetupModel setup = Make(SaveSetupModel::Setup);
    setup.EditName(longName);
    EXPECT_EQ(setup.m_name, longName.substr(0, 34));
    SaveSetupAsModel as(fields, never, prompter);
    as.EditName(longName);
    EXPECT_EQ(as.NameText(), longName.substr(0, 34));
    SaveScanDataModel scan([&](const std::string&, const std::string& n) { return never(n); },
                           prompter);
    scan.EditName(longName);
    EXPECT_EQ(scan.m_name, longName.substr(0, 34));
}

// The searches over a real workspace: setup names across the workspace,
// dataset names within their own setup.
class SaveSetupLookupTest : public WorkspaceTest {};

TEST_F(SaveSetupLookupTest, SearchesTheSetupAndDatasetTables) {
    doc.state.m_setupName = "Bench";
    ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
    ASSERT_TRUE(workspace.SaveDataset(doc.state));
    const std::string dataset = doc.state.m_datasetName;
    ASSERT_FALSE(dataset.empty());

    const auto lookups = SaveSetupModel::DatabaseLookups(doc.state.GetDatabase());
    EXPECT_EQ(lookups.setup("Bench"), 1);
    EXPECT_EQ(lookups.setup("Other"), 2);
    EXPECT_EQ(lookups.dataset("Bench", dataset), 1);
    EXPECT_EQ(lookups.dataset("Bench", "Other"), 2);
    EXPECT_EQ(lookups.dataset("Other", dataset), 2)
        << "a dataset may take the name of one of another setup";

    const auto none = SaveSetupModel::DatabaseLookups(nullptr);
    EXPECT_EQ(none.setup("Bench"), 0);
    EXPECT_EQ(none.dataset("Bench", dataset), 0);
}

} // namespace
} // namespace tvane::test
