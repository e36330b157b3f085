#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "app/SaveSetupAsModel.h"
#include "app/SetupSaver.h"
#include "database/CDatasetEvent.h"
#include "platform/ui/Prompter.h"
#include "shared/DocumentHints.h"
#include "tests/database/WorkspaceTestSupport.h"

namespace tvane::test {
namespace {

namespace fs = std::filesystem;

class FakeHost final : public ISaveSetupHost {
public:
    explicit FakeHost(FakeWorkspaceDocument& doc) : m_doc(doc) {}
    std::string FormatNow() override { return "03/05/26 14:07:09"; }
    bool IsNeverSaved() override { return neverSaved; }
    bool DatasetHasContent() override {
        return m_doc.dataset.GetReadingCount() > 0 || m_doc.dataset.GetEventCount() > 0;
    }
    void RefreshSetupGrid() override { calls.push_back("refresh"); }
    void CloseDataBrowser() override { calls.push_back("browser"); }
    void UpdateAllViews(long hint) override { calls.push_back(std::to_string(hint)); }
    bool SaveDocumentFile(const std::string& path) override {
        calls.push_back("save " + path);
        return saveWorks;
    }
    void MarkSaved() override { neverSaved = false; }
    void SetAppState(const CStateInfo& state) override { m_doc.state = state; }

    bool neverSaved = false;
    bool saveWorks = true;
    std::vector<std::string> calls;

private:
    FakeWorkspaceDocument& m_doc;
};

// Answers each Run from a script of (OK, fields to set) and records what it was shown.
class FakePropertiesDialog final : public ISaveSetupDialog {
public:
    struct Answer {
        bool ok;
        SavePropertiesFields fields; // name, user and note taken over on OK
    };
    bool Run(SavePropertiesFields& fields) override {
        shown.push_back(fields);
        if (answers.empty())
            return false;
        const Answer answer = answers.front();
        answers.pop_front();
        if (answer.ok) {
            fields.name = answer.fields.name;
            fields.user = answer.fields.user;
            fields.note = answer.fields.note;
        }
        return answer.ok;
    }
    std::deque<Answer> answers;
    std::vector<SavePropertiesFields> shown;
};

class FakeConflictDialog final : public ISaveSetupAsDialog {
public:
    bool Run(SaveSetupAsFields& fields) override {
        shown.push_back(fields);
        if (!ok)
            return false;
        fields.createNew = createNew;
        fields.name = createNew ? (name.empty() ? fields.newName : name) : fields.existingName;
        fields.user = "ann";
        fields.description = "why";
        return true;
    }
    bool ok = true;
    std::int32_t createNew = 1;
    std::string name;
    std::vector<SaveSetupAsFields> shown;
};

class SetupSaverTest : public WorkspaceTest {
protected:
    void SetUp() override {
        WorkspaceTest::SetUp();
        doc.state.m_setupName = "Bench";
        ASSERT_TRUE(workspace.CreateSetupStorage(doc.state));
        ASSERT_TRUE(workspace.SaveDataset(doc.state));
        clock.Advance(5000);
        SetPrompter(&prompter);
    }
    void TearDown() override {
        SetPrompter(nullptr);
        WorkspaceTest::TearDown();
    }

    bool Save(int mode, int& outcome) {
        CStateInfo copy = doc.state;
        return saver.SaveSetupAs(copy, mode, outcome);
    }
    std::string Rows() {
        return Sql("SELECT Name, User, Note FROM Setup ORDER BY Name;") + "--\n" +
               Sql("SELECT SetupName, Name, User FROM Dataset ORDER BY SetupName, DatasetKey;");
    }
    static const std::vector<std::string>& Hints() {
        static const std::vector<std::string> hints = {"refresh", "browser", "2344", "3357"};
        return hints;
    }

    ScriptedPrompter prompter;
    FakeHost host{doc};
    FakePropertiesDialog properties;
    FakeConflictDialog conflict;
    SetupSaver saver{host, workspace, properties, conflict};
};

TEST_F(SetupSaverTest, CancelledDialogsLeaveTheDatabaseAndSucceed) {
    const std::string before = Rows();
    conflict.ok = false;
    for (int mode : {0, 1, 2}) {
        int outcome = -1;
        EXPECT_TRUE(Save(mode, outcome)) << mode;
        EXPECT_EQ(outcome, 2) << mode;
    }
    EXPECT_EQ(Rows(), before);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(properties.shown.size(), 2u);
    EXPECT_EQ(conflict.shown.size(), 1u);
}

TEST_F(SetupSaverTest, PlainSaveAsksNothingAndSendsNoHints) {
    int outcome = -1;
    EXPECT_TRUE(Save(SetupSaver::Save, outcome));
    EXPECT_EQ(outcome, 6);
    EXPECT_EQ(host.calls, std::vector<std::string>{"save " + doc.state.m_setupFile});
    EXPECT_TRUE(properties.shown.empty());
    EXPECT_EQ(Sql("SELECT strftime('%s', DateTime) FROM Setup;"),
              std::to_string(clock.Now()) + "\n");
}

TEST_F(SetupSaverTest, SaveAsMakesANewSetupUnderTheConfirmedName) {
    properties.answers.push_back({true, {"", "Copy", "", "bob", "a note"}});
    int outcome = -1;
    EXPECT_TRUE(Save(SetupSaver::SaveAs, outcome));
    EXPECT_EQ(outcome, 6);
    ASSERT_EQ(properties.shown.size(), 1u);
    EXPECT_EQ(properties.shown[0].title, "Save Setup As");
    EXPECT_EQ(properties.shown[0].name, "Bench.1");
    EXPECT_EQ(properties.shown[0].lastModified, "03/05/26 14:07:09");
    EXPECT_EQ(Rows(), "Bench||\nCopy|bob|a note\n--\n"
                      "Bench|Data 03/05/26 14:07:09|\nCopy|Data 03/05/26 14:07:14|\n");
    std::vector<std::string> expected = Hints();
    expected.push_back("save " + doc.state.m_setupFile);
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(doc.state.m_setupName, "Copy") << "the record is back in the application";
    EXPECT_EQ(doc.state.m_flags, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
    EXPECT_TRUE(fs::exists(doc.state.m_setupFile));
}

TEST_F(SetupSaverTest, ConflictKeepingTheOldSetupMakesANewOne) {
    int outcome = -1;
    EXPECT_TRUE(Save(SetupSaver::Conflict, outcome));
    EXPECT_EQ(outcome, 6);
    ASSERT_EQ(conflict.shown.size(), 1u);
    EXPECT_EQ(conflict.shown[0].existingName, "Bench");
    EXPECT_EQ(conflict.shown[0].newName, "Bench.1");
    EXPECT_EQ(Rows(), "Bench||\nBench.1|ann|why\n--\n"
                      "Bench|Data 03/05/26 14:07:09|\nBench.1|Data 03/05/26 14:07:14|\n");
}

TEST_F(SetupSaverTest, ConflictOverwritingRemovesTheOldDatasets) {
    const std::string oldKey = doc.state.m_datasetKey;
    conflict.createNew = 0;
    int outcome = -1;
    EXPECT_TRUE(Save(SetupSaver::Conflict, outcome));
    EXPECT_EQ(outcome, 6);
    EXPECT_EQ(Rows(), "Bench||\n--\nBench|Data 03/05/26 14:07:14|\n");
    EXPECT_FALSE(doc.store.FindDataset(oldKey, nullptr));
    EXPECT_TRUE(doc.store.FindDataset(doc.state.m_datasetKey, nullptr));
}

TEST_F(SetupSaverTest, FirstSaveRenamesAndAsksForTheDatasetOnlyWhenItHoldsSomething) {
    host.neverSaved = true;
    properties.answers.push_back({true, {"", "Named", "", "cy", "n"}});
    int outcome = -1;
    EXPECT_TRUE(Save(SetupSaver::FirstSave, outcome));
    EXPECT_EQ(properties.shown.size(), 1u) << "an empty dataset is not asked about";
    EXPECT_EQ(properties.shown[0].title, "Save Setup");
    EXPECT_EQ(properties.shown[0].name, "Bench");
    EXPECT_FALSE(host.neverSaved);

    CDatasetEvent event(CDatasetEvent::User, 0, -1.0, "note");
    doc.dataset.AppendEvent(event);
    properties.answers.push_back({true, {"", "Again", "", "", ""}});
    properties.answers.push_back({false, {}}); // the dataset dialog's fields apply anyway
    EXPECT_TRUE(Save(SetupSaver::FirstSave, outcome));
    ASSERT_EQ(properties.shown.size(), 3u);
    EXPECT_EQ(properties.shown[2].title, "Save Dataset");
    EXPECT_EQ(properties.shown[2].name, "Data 03/05/26 14:07:09");
    EXPECT_EQ(properties.shown[0].kind, 1);
    EXPECT_EQ(properties.shown[2].kind, 2) << "the dataset's name is checked within its setup";
    EXPECT_EQ(properties.shown[2].setupName, "Again");
    EXPECT_EQ(Rows(), "Again||\n--\nAgain|Data 03/05/26 14:07:09|\n")
        << "the datasets follow their setup's new name";
}

TEST_F(SetupSaverTest, FailuresAreReported) {
    // A namesake whose files cannot be removed stops the new setup.
    fs::create_directories(home.Data() / "stuck" / "inner");
    Sql("INSERT INTO Setup (Name, DateTime, SetupFile) VALUES ('Stuck', 0, '" +
        (home.Data() / "stuck").string() + "');");
    properties.answers.push_back({true, {"", "Stuck", "", "", ""}});
    int outcome = -1;
    EXPECT_FALSE(Save(SetupSaver::SaveAs, outcome));
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Unable to create Stuck"});
    EXPECT_EQ(host.calls, Hints()) << "the views are told, nothing is saved";

    // A document file that cannot be written.
    host.calls.clear();
    host.saveWorks = false;
    EXPECT_FALSE(Save(SetupSaver::Save, outcome));
    EXPECT_EQ(doc.state.m_flags, (std::array<std::int32_t, 4>{0, 0, 0, 0}));

    // A setup that has gone from the database cannot be dated.
    host.saveWorks = true;
    CStateInfo gone = doc.state;
    gone.m_setupName = "Gone";
    EXPECT_FALSE(saver.SaveSetupAs(gone, SetupSaver::Save, outcome));
}

TEST_F(SetupSaverTest, SaveAfterScanChoosesByTheStateFlags) {
    struct Case {
        std::array<std::int32_t, 4> flags;
        bool neverSaved;
        std::size_t conflictShown;
        std::vector<std::string> calls;
    };
    const std::string save = "save " + doc.state.m_setupFile;
    const std::vector<Case> cases = {
        {{0, 0, 0, 0}, true, 0, {save}},
        {{0, 0, 0, 0}, false, 0, {}},
        {{1, 0, 0, 0}, false, 0, {save}},
        {{0, 0, 1, 0}, false, 0, {save}},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        host.neverSaved = c.neverSaved;
        CStateInfo state = doc.state;
        state.m_flags = c.flags;
        int answer = 0;
        EXPECT_TRUE(saver.SaveAfterScan(state, answer));
        EXPECT_EQ(answer, 6);
        EXPECT_EQ(host.calls, c.calls);
    }
    conflict.ok = false;
    CStateInfo state = doc.state;
    state.m_flags = {0, 1, 0, 0};
    int answer = 0;
    EXPECT_TRUE(saver.SaveAfterScan(state, answer));
    EXPECT_EQ(conflict.shown.size(), 1u);
}

// The conflict dialog's choices, without its window.
class SaveSetupAsModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        fields.existingName = "Bench";
        fields.newName = "Bench.1";
        fields.user = "ann";
        fields.description = std::string(120, 'd');
        fields.lastModified = "03/05/26 14:07:09";
        model.Init();
    }
    SaveSetupAsFields fields;
    std::vector<std::string> lookedUp;
    ScriptedPrompter prompter;
    SaveSetupAsModel model{fields,
                           [this](const std::string& name) -> std::int16_t {
                               lookedUp.push_back(name);
                               return name == "Taken" ? 1 : name == "Broken" ? 0 : 2;
                           },
                           prompter};
};

TEST_F(SaveSetupAsModelTest, ChoicesSwitchTheNameEdit) {
    EXPECT_TRUE(model.CreateNew());
    EXPECT_EQ(model.NameText(), "Bench.1");
    EXPECT_TRUE(model.NameEnabled());
    EXPECT_EQ(model.GetFocus(), SaveSetupAsModel::Focus::Name);
    EXPECT_FALSE(model.NameChanged());
    EXPECT_EQ(model.DescriptionText().size(), 100u);

    model.SelectOverwrite();
    EXPECT_EQ(model.NameText(), "Bench");
    EXPECT_FALSE(model.NameEnabled());
    EXPECT_EQ(model.GetFocus(), SaveSetupAsModel::Focus::Ok);
    model.SelectCreateNew();
    EXPECT_EQ(model.NameText(), "Bench.1");
    EXPECT_TRUE(model.NameEnabled());

    model.EditName("");
    EXPECT_FALSE(model.OkEnabled());
    EXPECT_FALSE(model.Accept());
    model.EditName(std::string(50, 'x'));
    EXPECT_EQ(model.NameText().size(), 35u);
    EXPECT_TRUE(model.OkEnabled());
}

TEST_F(SaveSetupAsModelTest, OkChecksOnlyANewTypedName) {
    model.EditName("Taken");
    EXPECT_FALSE(model.Accept());
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{SaveSetupAsModel::kNameInUse});
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Warning);
    EXPECT_EQ(model.GetFocus(), SaveSetupAsModel::Focus::Name);

    for (const char* accepted : {"Bench", "Bench.1", "Broken", "Free"}) {
        lookedUp.clear();
        model.EditName(accepted);
        EXPECT_TRUE(model.Accept()) << accepted;
        EXPECT_EQ(fields.name, accepted);
        EXPECT_EQ(lookedUp.size(), std::string(accepted).rfind("Bench", 0) == 0 ? 0u : 1u)
            << accepted;
    }
    EXPECT_EQ(fields.createNew, 1);

    model.SelectOverwrite();
    EXPECT_TRUE(model.Accept());
    EXPECT_EQ(fields.createNew, 0);
    EXPECT_EQ(fields.name, "Bench");
    EXPECT_EQ(fields.user, "ann");
}

} // namespace
} // namespace tvane::test
