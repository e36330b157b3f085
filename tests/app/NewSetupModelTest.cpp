#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/ISaveDialogs.h"
#include "app/NewSetupModel.h"
#include "platform/ui/Prompter.h"

namespace tvane::test {
namespace {

// An instrument that reports its modules from a list, or does not answer.
class ScriptedInstrument final : public INewSetupInstrument {
public:
    bool IsOffline() override { return offline; }
    bool ReadModules(std::array<std::string, 3>& models) override {
        ++reads;
        models = modules;
        return answers;
    }
    bool offline = false;
    bool answers = true;
    int reads = 0;
    std::array<std::string, 3> modules{"KXQT7101", "", "KXQT7103"};
};

// The New Setup rules over the module models of a workspace: "Plant" is a
// stored setup, "Broken" cannot be searched, every other name is free.
class NewSetupModelTest : public ::testing::Test {
protected:
    NewSetupModel Make() {
        NewSetupModel::Lookups lookups;
        lookups.cards = [this](std::vector<NewSetupModel::Module>& cards) -> std::int16_t {
            if (!cardsAvailable)
                return 0;
            cards = {{"KXQT7101", "20 Channel Multiplexer"},
                     {"KXQT7102", "40 Channel Multiplexer"},
                     {"KXQT7103", "Actuator"}};
            return 1;
        };
        lookups.setup = [this](const std::string& name) -> std::int16_t {
            searched.push_back(name);
            return name == "Plant" ? 1 : name == "Broken" ? 0 : 2;
        };
        NewSetupModel model(lookups, instrument, prompter);
        model.m_name = "Setup 12/10/26 23:50:00";
        model.m_currentSetup = "Bench";
        return model;
    }
    ScriptedInstrument instrument;
    ScriptedPrompter prompter;
    std::vector<std::string> searched;
    bool cardsAvailable = true;
};

TEST_F(NewSetupModelTest, ListsTheModulesAndSelectsTheInstrumentsOnes) {
    NewSetupModel model = Make();
    model.Init();
    EXPECT_EQ(model.Descriptions(),
              (std::vector<std::string>{"(None)", "20 Channel Multiplexer",
                                        "40 Channel Multiplexer", "Actuator"}));
    EXPECT_EQ(model.Models().front(), "(None)");
    // An empty slot and a module the workspace does not know both show "(None)".
    instrument.modules = {"KXQT7101", "", "KXQT7999"};
    model.SetToInstrument();
    EXPECT_EQ(model.Selection(0), 1);
    EXPECT_EQ(model.Selection(1), 0);
    EXPECT_EQ(model.Selection(2), 0);
    EXPECT_TRUE(model.OkEnabled());
    model.EditName("");
    EXPECT_FALSE(model.OkEnabled());
    EXPECT_TRUE(prompter.asked.empty());

    // An instrument that stops answering is reported and Set to Instrument goes.
    instrument.answers = false;
    model.SetToInstrument();
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{NewSetupModel::kNotResponding});
    EXPECT_FALSE(model.SetToInstrumentEnabled());
    EXPECT_EQ(model.Selection(0), 0);
}

TEST_F(NewSetupModelTest, NameRules) {
    using A = MsgAnswer;
    const std::string exists = "A setup named 'Plant' already exists, overwrite?";
    struct Case {
        std::string name;
        std::vector<A> answers;
        bool accepted;
        std::vector<std::string> texts;
        bool searchedDatabase;
    } cases[] = {
        {"Fresh", {}, true, {}, true},
        // The setup in use is refused before the workspace is asked.
        {"Bench", {}, false, {NewSetupModel::kNameInUse}, false},
        {"Plant", {A::Ok, A::Ok}, true, {exists, NewSetupModel::kOverwrite}, true},
        {"Plant", {A::Cancel}, false, {exists}, true},
        {"Plant", {A::Ok, A::Cancel}, false, {exists, NewSetupModel::kOverwrite}, true},
        // A search that fails says so and keeps the dialog open.
        {"Broken",
         {},
         false,
         {"The workspace could not be searched for a setup named 'Broken'. Check that the "
          "database is available, then try again."},
         true},
        {"Line\nbreak", {}, false, {kNameHasControlCharacter}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter = {};
        searched.clear();
        for (A a : c.answers)
            prompter.Script({a});
        NewSetupModel model = Make();
        model.Init();
        model.Select(0, 1);
        model.EditName(c.name);
        EXPECT_EQ(model.Accept(), c.accepted);
        EXPECT_EQ(prompter.Texts(), c.texts);
        EXPECT_EQ(!searched.empty(), c.searchedDatabase);
        for (const auto& box : prompter.asked) {
            if (box.buttons == MsgButtons::OkCancel) {
                EXPECT_EQ(box.defaultButton, 1); // Cancel
            }
        }
    }
    // The edit holds at most 35 characters, never half of one.
    NewSetupModel model = Make();
    model.EditName(std::string(34, 'a') + "\xc3\xa9" + "b");
    EXPECT_EQ(model.m_name, std::string(34, 'a'));
    model.EditName(std::string(40, 'z'));
    EXPECT_EQ(model.m_name.size(), 35u);
}

TEST_F(NewSetupModelTest, ModuleComparisonNamesTheSlotsThatDiffer) {
    instrument.modules = {"KXQT7101", "KXQT7102", "KXQT7103"};
    NewSetupModel model = Make();
    model.Init();
    model.EditName("Fresh");
    model.Select(0, 2);
    model.Select(1, 2);
    model.Select(2, 0);
    prompter.Script({MsgAnswer::No, MsgAnswer::Yes});
    EXPECT_FALSE(model.Accept());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "The module(s) specified for Slot1,Slot3 are not the same "
                                      "as the instrument's modules, continue anyway?");
    EXPECT_EQ(prompter.asked[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompter.asked[0].defaultButton, 1); // No
    EXPECT_TRUE(model.Accept());
    EXPECT_EQ(model.m_slots, (std::array<std::string, 3>{"KXQT7102", "KXQT7102", "(None)"}));

    // Case does not count; an empty report is "(None)".
    instrument.modules = {"kxqt7102", "KXQT7102", ""};
    prompter = {};
    EXPECT_TRUE(model.Accept());
    EXPECT_TRUE(prompter.asked.empty());

    // Offline: no comparison at all.
    instrument.modules = {"", "", ""};
    instrument.offline = true;
    EXPECT_TRUE(model.Accept());
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(NewSetupModelTest, AtLeastOneSlotAndNoListsWithoutTheModuleTable) {
    NewSetupModel model = Make();
    model.Init();
    model.EditName("Fresh");
    for (int slot = 0; slot < 3; ++slot)
        model.Select(slot, 0);
    EXPECT_FALSE(model.Accept());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{NewSetupModel::kNoSlot});

    cardsAvailable = false;
    NewSetupModel empty = Make();
    empty.Init();
    EXPECT_TRUE(empty.Descriptions().empty());
    empty.EditName("Fresh");
    prompter = {};
    EXPECT_FALSE(empty.Accept());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{NewSetupModel::kNoSlot});
}

} // namespace
} // namespace tvane::test
