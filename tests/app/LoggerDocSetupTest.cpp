#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "database/CDataset.h"
#include "database/CDatasetStore.h"
#include "database/CDynaDatabase.h"
#include "database/SeedDatabase.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "tests/app/LoggerDocFixture.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

struct RowSpec {
    const char* module;
    std::uint32_t channel;
    std::int32_t scanned;
    const char* function = "DC volts";
    const char* range = "Auto";
};

void SetRows(CLoggerDoc& d, std::initializer_list<RowSpec> specs) {
    CFXSetupArray& setup = *d.GetSetup();
    setup.RemoveAll();
    setup.SetSize(static_cast<std::int32_t>(specs.size()));
    std::int32_t i = 0;
    for (const RowSpec& spec : specs) {
        auto* row = new CFXSetup;
        row->Name = spec.module;
        row->Channel = spec.channel;
        row->ChannelMode = spec.scanned;
        row->Function = spec.function;
        row->Range = spec.range;
        row->FunctionType = 1;
        setup.SetSetup(i++, row);
    }
    d.CountActiveChannelsPerSlot();
}

std::vector<std::int32_t> Numbers(const CChannelArray& array) {
    std::vector<std::int32_t> numbers;
    for (std::size_t i = 0; i < array.GetSize(); ++i)
        numbers.push_back(array[i]->Number);
    return numbers;
}

// A document over the seed workspace database.
class LoggerDocSetupTest : public LoggerDocTest {
protected:
    void SetUp() override {
        InstallWorkspaceDriver(home);
        const auto path = home.Data() / "tvane.mdb";
        CreateSeedDatabase(path);
        auto database = std::make_shared<CDynaDatabase>();
        ASSERT_TRUE(
            database->Open({}, false, true, "ODBC;Driver=SQLite3;Database=" + path.string() + ";"))
            << database->LastError();
        app.state.m_pDatabase = database;
        MakeDocument();
    }
};

TEST_F(LoggerDocSetupTest, FunctionTableAndModuleCardsComeFromTheDatabase) {
    // An auto-ranged channel's range limits are its function's; a row with its
    // function's default settings keeps the default resolution.
    const auto limits = [this](const char* function) {
        CFXSetup row;
        row.Function = function;
        row.Range = "Auto";
        CChannelInfo info;
        doc->FillChannelInfo(row, &info, 1);
        return std::pair{info.RangeMin, info.RangeMax};
    };
    EXPECT_EQ(limits("DC volts"), (std::pair{-10.0, 10.0}));
    EXPECT_EQ(limits("Period").second, 1.0);
    CFXSetup row;
    row.Function = "DC volts";
    row.AdvSettingsType = 515;
    row.AdvSettings = "OFF;1;;;;;;;;AUTO;;;;";
    EXPECT_TRUE(doc->GetResolutionFormat(row));
    row.AdvSettings = "OFF;1;;;;;;;;MAN;;;;";
    row.Resolution = "none of the table";
    EXPECT_FALSE(doc->GetResolutionFormat(row));

    struct Case {
        std::array<std::string, 3> modules;
        std::int32_t channels;
    } cases[] = {
        {{"KXQT7101", "KXQT7107", "KXQT7108"}, 22 + 5 + 40},
        {{"KXQT7102", "(None)", ""}, 16},
        {{"(None)", "Unknown", ""}, 0},
    };
    for (const Case& c : cases) {
        app.state.m_modules = c.modules;
        EXPECT_EQ(doc->LoadModuleCards(app.state), c.channels) << c.modules[0];
    }
    CStateInfo closed = app.state;
    closed.m_pDatabase.reset();
    EXPECT_EQ(doc->LoadModuleCards(closed), 0);
}

TEST_F(LoggerDocSetupTest, CountsAndKinds) {
    CLoggerDoc& d = *doc;
    SetRows(d, {{"KXQT7101", 101, 1},
                {"KXQT7101", 102, 2},
                {"KXQT7102", 201, 0},
                {"KXQT7103", 301, 0},
                {"KXQT7104", 401, 1},
                {"KXQT7101", 103, 1},
                {"Computed", 901, 1}});
    // Mode 2 is not counted; counting stops at the first row past slot 3.
    EXPECT_EQ(StoredSlotCounts(d), (std::vector<std::int32_t>{1, 0, 0}));
    EXPECT_EQ(d.CountActiveChannels(true), 5);
    EXPECT_EQ(d.CountActiveChannels(false), 4);

    struct KindCase {
        const char* module;
        std::uint32_t channel;
        const char* function;
        std::uint32_t kind;
    } kinds[] = {
        {"KXQT7101", 105, "DC volts", 0x1},
        {"KXQT7102", 205, "DC volts", 0x100},
        {"KXQT7108", 310, "DC volts", 0x100},
        {"KXQT7103", 301, "", 0x10},
        {"KXQT7104", 301, "", 0x80},
        {"KXQT7105", 301, "", 0x40},
        {"KXQT7106", 301, "", 0x40},
        {"Computed", 901, "", 0x200},
        {"KXQT7107", 301, "Digital Read 8bit", 0x400},
        {"KXQT7107", 301, "Digital Write 8bit", 0x800},
        {"KXQT7107", 303, "Totalize", 0x2},
        {"KXQT7107", 303, "Totalize (Reset)", 0x2},
        {"KXQT7107", 304, "DAC Write Volt", 0x20},
        {"KXQT7107", 304, "DC volts", 0},
        {"Other", 101, "", 0},
    };
    for (const KindCase& k : kinds) {
        CFXSetup row;
        row.Name = k.module;
        row.Channel = k.channel;
        row.Function = k.function;
        EXPECT_EQ(d.GetModuleKind(row), k.kind) << k.module << " " << k.function;
    }

    SetRows(d, {{"Computed", 901, 1}, {"KXQT7101", 101, 0}});
    EXPECT_EQ(d.CountActiveChannels(false), 0);
    EXPECT_EQ(d.CountActiveChannels(true), 1);
}

TEST_F(LoggerDocSetupTest, ChannelRecordsForTheDisplays) {
    CLoggerDoc& d = *doc;
    SetRows(d, {{"KXQT7101", 101, 1, "DC volts", "Auto"},
                {"KXQT7101", 102, 0, "DC volts", ""},
                {"KXQT7101", 103, 1, "No such function", "Auto"},
                {"KXQT7107", 301, 0, "Digital Read 8bit", ""},
                {"KXQT7107", 302, 1, "Digital Write 8bit", ""},
                {"KXQT7103", 201, 0, "", ""}});

    // Auto range: the limits of the function table, or the record's own.
    CChannelInfo info;
    d.FillChannelInfo(*d.GetSetupRow(0), &info, 1);
    EXPECT_EQ(info.RangeMin, -10.0);
    EXPECT_EQ(info.RangeMax, 10.0);
    EXPECT_EQ(info.Number, 101);
    CChannelInfo unknown;
    unknown.RangeMin = -3.0;
    unknown.RangeMax = 4.0;
    d.FillChannelInfo(*d.GetSetupRow(2), &unknown, 1);
    EXPECT_EQ(unknown.RangeMin, -3.0);
    EXPECT_EQ(unknown.RangeMax, 4.0);

    struct Case {
        std::uint32_t mask;
        bool activeOnly;
        std::vector<std::int32_t> numbers;
    } cases[] = {
        {0x1, false, {101, 102, 103}},
        {0x1, true, {101, 103}},
        // The digital read row and its eight bits; not scanned, so skipped when active only.
        {0x400, false, {301, 301, 301, 301, 301, 301, 301, 301, 301}},
        {0x400, true, {}},
        // Digital write rows are never left out for not being scanned.
        {0x800, true, {302, 302, 302, 302, 302, 302, 302, 302, 302}},
        {0x10, true, {201}},
    };
    for (const Case& c : cases) {
        CChannelArray out;
        EXPECT_TRUE(d.FillChannelInfoArray(&out, c.mask, c.activeOnly));
        EXPECT_EQ(Numbers(out), c.numbers) << c.mask << " " << c.activeOnly;
        if (c.mask == 0x400 && !c.activeOnly) {
            EXPECT_EQ(out[0]->Kind, 0x400);
            EXPECT_EQ(out[1]->Name, "Bit 0");
            EXPECT_EQ(out[1]->Kind, 4);
            EXPECT_EQ(out[8]->BitMask, 128u);
        }
        out.DeleteAll();
    }

    // A pairable row taken over completely is no display channel.
    d.GetSetupRow(0)->FunctionType = CFXSetup::kKindPairable;
    d.GetSetupRow(0)->CellFlags = CFXSetup::kCellAll;
    CChannelArray out;
    d.FillChannelInfoArray(&out, 0x1, false);
    EXPECT_EQ(Numbers(out), (std::vector<std::int32_t>{102, 103}));
    out.DeleteAll();
}

TEST_F(LoggerDocSetupTest, EditedChannelsReachTheViews) {
    CLoggerDoc& d = *doc;
    SetRows(d, {{"KXQT7101", 101, 1}, {"KXQT7101", 102, 1}, {"KXQT7101", 103, 1}});
    RecordingView view;
    std::vector<std::vector<std::int32_t>> edited;
    view.onUpdate = [&](long hint, const HintObject& object) {
        if (hint == HINT_CHANNEL_EDIT) {
            ASSERT_NE(object.As<CChannelArray>(), nullptr);
            edited.push_back(Numbers(*object.As<CChannelArray>()));
        }
    };
    d.AddView(&view);

    d.BroadcastChannelEdit(2, 1);
    // Rows past the end have nothing to tell.
    d.BroadcastChannelEdit(3, 2);
    EXPECT_EQ(edited, (std::vector<std::vector<std::int32_t>>{{102, 103}, {103}}));

    // Nothing pending: nothing sent.
    view.updates.clear();
    edited.clear();
    d.NotifySetupChanged();
    EXPECT_TRUE(view.updates.empty());

    // Pending rows one by one, in list order.
    d.GetEditedRows() = {2, 0};
    d.NotifySetupChanged();
    EXPECT_EQ(edited, (std::vector<std::vector<std::int32_t>>{{103}, {101}}));
    EXPECT_TRUE(d.GetEditedRows().empty());

    // A change flag makes it one setup change, and is spent by it: the next
    // edit is told row by row again.
    const auto setFlags = {&CLoggerDoc::SetPairingChanged, &CLoggerDoc::SetStructureChanged};
    for (auto setFlag : setFlags) {
        view.updates.clear();
        edited.clear();
        d.GetEditedRows() = {1};
        (d.*setFlag)();
        d.NotifySetupChanged();
        EXPECT_EQ(view.Hints(), std::vector<long>{HINT_SETUP_CHANGED});
        EXPECT_TRUE(d.GetEditedRows().empty());
        d.GetEditedRows() = {1};
        d.NotifySetupChanged();
        EXPECT_EQ(edited, (std::vector<std::vector<std::int32_t>>{{102}}));
    }
}

TEST_F(LoggerDocSetupTest, ResolutionAndIntegration) {
    CLoggerDoc& d = *doc;
    CFXSetup row;
    row.Function = "DC volts";
    row.AdvSettingsType = 515;
    row.AdvSettings = "OFF;1;;;;;;;;AUTO;;;;";
    row.Resolution = "6.5 digits";
    d.FormatResolution(row);
    EXPECT_EQ(row.AdvSettings, "OFF;10;;;;;;;;AUTO;;;;");
    EXPECT_TRUE(d.GetResolutionFormat(row));

    struct Case {
        const char* resolution;
        const char* integration;
    } cases[] = {{"4.5 digits", "0.02"}, {"5.5 digits", "1"}, {"Custom", "1"}};
    for (const Case& c : cases) {
        row.Resolution = c.resolution;
        d.FormatResolution(row);
        EXPECT_EQ(row.AdvSettings, std::string("OFF;") + c.integration + ";;;;;;;;AUTO;;;;");
    }
    // A fixed resolution or no advanced settings: untouched.
    row.Resolution = "4.5 digits";
    row.CellFlags = CFXSetup::kCellResolution;
    d.FormatResolution(row);
    EXPECT_EQ(row.AdvSettings, "OFF;1;;;;;;;;AUTO;;;;");
    row.CellFlags = 0;
    row.AdvSettingsType = 0;
    d.FormatResolution(row);
    EXPECT_EQ(row.AdvSettings, "OFF;1;;;;;;;;AUTO;;;;");
    EXPECT_TRUE(d.GetResolutionFormat(row));

    // Unknown function: never at its defaults unless there are no settings.
    row.AdvSettingsType = 515;
    row.Function = "No such function";
    EXPECT_FALSE(d.GetResolutionFormat(row));
    row.Function = "DC volts";
    row.Resolution = "Custom";
    row.AdvSettings = "OFF;7;;;;;;;;AUTO;;;;";
    EXPECT_FALSE(d.GetResolutionFormat(row));
}

TEST_F(LoggerDocSetupTest, ScanSettingsMarkTheSetupChanged) {
    FakeSetupEditor editor;
    app.editor = &editor;
    editor.editedScan.m_scanCount = 9;
    struct Case {
        bool accept;
        std::int32_t scanning;
        std::int32_t flag;
    } cases[] = {{false, 0, 0}, {true, 1, 0}, {true, 0, 1}};
    for (const Case& c : cases) {
        app.state.m_flags = {};
        editor.acceptScanSettings = c.accept;
        if (c.scanning)
            doc->GetScanEngine().BeginRun();
        else
            doc->GetScanEngine().HaltRun();
        doc->DoScanSettings();
        EXPECT_EQ(app.state.m_flags[1], c.flag);
    }
    EXPECT_EQ(editor.scanSettingsShown, 3);
    EXPECT_EQ(doc->GetScan()->m_scanCount, 9);
}

TEST_F(LoggerDocSetupTest, CreateNewSetup) {
    CLoggerDoc& d = *doc;
    RecordingView view;
    d.AddView(&view);
    app.state.m_modules = {"KXQT7103", "KXQT7101", "(None)"};
    operations.rows = {{"KXQT7103", 101}, {"KXQT7101", 201}, {"KXQT7101", 202}};
    CDatasetStore store;
    ASSERT_TRUE(store.Create((home.Data() / "Y1.000").string(),
                             STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, true));
    int datasets = 0;
    operations.onSaveDataset = [&](CLoggerDoc& doc) {
        return doc.GetDataset()->Create(CTime(1700000000), 0, &store,
                                        "Data " + std::to_string(++datasets), 16384);
    };

    ASSERT_TRUE(d.CreateNewSetup(app.state, 0, false));
    EXPECT_EQ(d.GetHeaderValue(), 20u + 22u);
    EXPECT_EQ(d.GetSetup()->GetSize(), 42);
    // The first measured row is scanned; the switch module's row is not measured.
    EXPECT_EQ(d.GetSetupRow(0)->ChannelMode, 1); // FunctionType 1 in the fake's rows
    EXPECT_EQ(d.GetSetupRow(1)->ChannelMode, 0);
    EXPECT_EQ(StoredSlotCounts(d)[0], 1);
    EXPECT_TRUE(d.IsSetupLoaded());
    EXPECT_EQ(app.frame.panes[2], "KXQT7101");
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_NEW_SETUP});

    // From the instrument, taking over its run.
    d.GetDataset()->Close();
    operations.calls.clear();
    view.updates.clear();
    ASSERT_TRUE(d.CreateNewSetup(app.state, 1, true));
    EXPECT_EQ(operations.calls.back(), "StartScan resume");
    EXPECT_EQ(operations.calls[operations.calls.size() - 3], "UploadSetup");
    EXPECT_FALSE(d.GetScanEngine().IsResuming());

    // A failed upload fails the setup and starts nothing.
    d.GetDataset()->Close();
    operations.upload = false;
    operations.calls.clear();
    view.updates.clear();
    EXPECT_FALSE(d.CreateNewSetup(app.state, 1, true));
    EXPECT_TRUE(view.updates.empty());
    EXPECT_NE(operations.calls.back(), "StartScan resume");
    d.GetDataset()->Close();
}

} // namespace
} // namespace tvane::test
