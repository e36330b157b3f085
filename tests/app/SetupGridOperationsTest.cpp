#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/SetupGridOperations.h"
#include "database/CDynaDatabase.h"
#include "database/DatabaseSetupLookup.h"
#include "database/SeedDatabase.h"
#include "scan/CCompChnl.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "setup/IChannelDetailsSheet.h"
#include "tests/app/LoggerDocFixture.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

// The sheet as a script: what OK leaves in the copy, or Cancel.
class FakeDetailsSheet final : public IChannelDetailsSheet {
public:
    bool ok = true;
    std::function<void(CFXSetup&, CCompChnl*, RowResult&)> edit;
    std::function<void(CCompChnl&)> define;
    std::vector<std::string> captions;
    bool EditRow(const std::string& caption, const CFXSetup&, int, CFXSetup& copy,
                 CCompChnl* computed, RowResult& monitor) override {
        captions.push_back(caption);
        if (ok && edit)
            edit(copy, computed, monitor);
        return ok;
    }
    bool NewComputedChannel(const std::string& caption, CCompChnl& computed) override {
        captions.push_back(caption);
        if (ok && define)
            define(computed);
        return ok;
    }
};

// Grid rows of the fixture: slot 1 a 20-channel multiplexer with two current
// channels (101-122), slot 2 a 16-channel one (201-216), slot 3 the
// multifunction module (301-305), then computed channels 900 (101 + 102) and
// 901 (900 x 2).
int Row(int channel) {
    if (channel >= 900)
        return 45 + channel - 900;
    if (channel >= 300)
        return 40 + channel - 301;
    if (channel >= 200)
        return 24 + channel - 201;
    return 2 + channel - 101;
}

class SetupGridOperationsTest : public LoggerDocTest {
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
        app.state.m_modules = {"KXQT7101", "KXQT7102", "KXQT7107"};
        MakeDocument();
        lookup = std::make_unique<DatabaseSetupLookup>(database.get());
        CFXSetupArray& setup = *doc->GetSetup();
        setup.SetSize(45);
        int index = 0;
        const auto add = [&](const char* module, int slot, int count) {
            for (int c = 1; c <= count; ++c) {
                auto* row = new CFXSetup;
                row->Name = module;
                row->Channel = static_cast<std::uint32_t>(slot * 100 + c);
                ASSERT_TRUE(row->SetFromCardData(*lookup)) << module << c;
                row->ComputeFlagWord();
                row->SetAlarmDefaults();
                row->SetScalingDefaults();
                setup.SetSetup(index++, row);
            }
        };
        add("KXQT7101", 1, 22);
        add("KXQT7102", 2, 16);
        add("KXQT7107", 3, 5);
        for (int i = 0; i < 2; ++i) {
            auto* row = new CFXSetup;
            row->Name = row->Function = "Computed";
            row->Channel = static_cast<std::uint32_t>(900 + i);
            row->ChannelMode = 1;
            row->Gain = "1.0";
            row->Offset = "0.0";
            row->Alarms = "Off";
            row->AlarmActions = "4;;;;;";
            row->CellFlags = 0x777;
            setup.SetSetup(index, row);
            auto channel = std::make_unique<CCompChnl>();
            channel->Channel = 900 + i;
            channel->Group = index++;
            channel->Arg1.Channel = i == 0 ? 101 : 900;
            channel->Arg2.Channel = i == 0 ? 102 : 0;
            channel->Operation = i == 0 ? CCompChnl::kSum : CCompChnl::kProduct;
            doc->GetComputedChannels()->SetAt(i, std::move(channel));
        }
        // Slot 1 scans two channels.
        At(101).ChannelMode = At(102).ChannelMode = 1;
        doc->CountActiveChannelsPerSlot();
        doc->SetSetupLoaded(1);
        doc->SetSetupInInstrument(1);
        ops().SetChannelDetailsSheet(&sheet);
    }

    SetupGridOperations& ops() { return doc->GetSetupGridOperations(); }
    CFXSetup& At(int channel) { return *doc->GetSetup()->GetSetup(Row(channel) - 2); }
    std::string Cell(int channel, int col) {
        std::string text;
        EXPECT_TRUE(ops().GetSetupCellText(Row(channel), col, text));
        return text;
    }
    void Store(int channel, int col, const std::string& text) {
        ops().StoreSetupCellValue(Row(channel), col, text);
    }
    // A function chosen in its cell: stored, then its defaults and pairing.
    int ChangeFunction(int channel, const std::string& function) {
        Store(channel, 3, function);
        int partner = 0;
        EXPECT_TRUE(ops().ApplyRowChange(Row(channel), partner));
        return partner;
    }
    static GridRange Cells(int first, int last, int left, int right) {
        return GridRange::Cells(Row(first), left, Row(last), right);
    }
    static GridRange Rows(int first, int last) { return GridRange::Rows(Row(first), Row(last)); }
    bool Paste(const GridRange& range) {
        GridRange partners = range;
        partners.top = partners.bottom = 0;
        return ops().PasteSelection(range, partners);
    }
    std::vector<std::string> Messages() { return prompter.Texts(); }
    void ResetRecord() {
        doc->SetSetupInInstrument(1);
        app.state.m_flags = {0, 0, 0, 0};
        doc->GetEditedRows().clear();
        prompter.asked.clear();
    }

    std::unique_ptr<DatabaseSetupLookup> lookup;
    FakeDetailsSheet sheet;
};

TEST_F(SetupGridOperationsTest, CellTextsAndStoresFollowTheirColumns) {
    EXPECT_EQ(Cell(101, 0), "101");
    EXPECT_EQ(Cell(101, 1), "1");
    EXPECT_EQ(Cell(101, 3), "DC volts");
    EXPECT_EQ(Cell(101, 6), "Default");
    EXPECT_EQ(Cell(101, 15), ""); // no alarm test, no actions
    EXPECT_EQ(Cell(304, 6), "");  // a module output: the whole row is locked
    EXPECT_EQ(Cell(301, 6), "");  // digital ports have no measurement settings

    struct Case {
        int col;
        const char* stored;
        const char* shown;
    };
    const Case cases[] = {
        {1, "0", "0"},
        {1, "yes", "1"},
        {2, "Inlet", "Inlet"},
        {4, "+/- 1 V", "+/- 1 V"},
        {5, "4.5 digits", "4.5 digits"},
        {7, "1", "1"},
        {7, "", "0"},
        {8, "2.5", "2.5"},
        {9, "-1", "-1"},
        {10, "(NONE)", ""},
        {10, "VDC", "VDC"},
        {12, "5", "5"},
        {13, "-5", "-5"},
        {14, "(none)", ""},
        {14, "Alarm3", "Alarm3"},
        {16, "north wall", "north wall"},
        {6, "Advanced", "Default"},
        {15, "Advanced", ""},
    };
    for (const Case& c : cases) {
        Store(102, c.col, c.stored);
        EXPECT_EQ(Cell(102, c.col), c.shown) << c.col << " " << c.stored;
    }
    // The resolution brings its integration time; a changed setting reads so.
    EXPECT_EQ(At(102).AdvSettings, "OFF;0.02;;;;;;;;AUTO;;;;");
    At(102).AdvSettings = "ON;1;;;;;;;;AUTO;;;;";
    EXPECT_EQ(Cell(102, 6), "Advanced");
    At(102).AlarmActions = "1;;;;;";
    At(102).CellFlags = 0;
    EXPECT_EQ(Cell(102, 15), "Advanced");
    // An alarm test brings the hardware alarm and actions it needs.
    At(103).AlarmEvent.clear();
    Store(103, 11, "High/Low");
    EXPECT_EQ(At(103).AlarmEvent, "Alarm1");
    ops().RecomputeRowFlags(Row(103));
    EXPECT_EQ(Cell(103, 15), "Default");

    std::string text = "kept";
    EXPECT_FALSE(ops().GetSetupCellText(Row(901) + 1, 0, text));
    EXPECT_FALSE(ops().GetSetupCellText(Row(101), 17, text));
    EXPECT_EQ(text, "kept");
    ops().StoreSetupCellValue(Row(901) + 1, 2, "nowhere"); // past the end: ignored
    ops().StoreSetupCellValue(Row(101), 17, "nowhere");
}

TEST_F(SetupGridOperationsTest, EditsOfInstrumentSettingsLeaveTheInstrumentOutOfStep) {
    ResetRecord();
    Store(103, 2, "Inlet");
    Store(103, 16, "note");
    EXPECT_EQ(doc->IsSetupInInstrument(), 1) << "names and comments stay in the PC";
    EXPECT_EQ(app.state.m_flags[0], 1);
    EXPECT_EQ(app.state.m_flags[1], 0);
    EXPECT_EQ(doc->GetEditedRows(), std::vector<std::uint32_t>{2});

    Store(900, 8, "3"); // computed channels are not downloaded
    EXPECT_EQ(doc->IsSetupInInstrument(), 1);
    Store(104, 4, "+/- 1 V");
    EXPECT_EQ(doc->IsSetupInInstrument(), 0);
    EXPECT_EQ(app.state.m_flags[1], 1);
    EXPECT_EQ(doc->GetEditedRows(), (std::vector<std::uint32_t>{2, 43, 3}));

    // One more scanned channel in an active slot is an edit of its row; a slot
    // switched on as a whole changes the setup's shape.
    RecordingView view;
    doc->AddView(&view);
    ResetRecord();
    Store(105, 1, "1");
    EXPECT_EQ(doc->GetEditedRows(), std::vector<std::uint32_t>{4});
    doc->NotifySetupChanged();
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_CHANNEL_EDIT});
    view.updates.clear();
    Store(201, 1, "1");
    EXPECT_TRUE(doc->GetEditedRows().empty());
    doc->NotifySetupChanged();
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_SETUP_CHANGED});
    doc->RemoveView(&view);
}

TEST_F(SetupGridOperationsTest, CopyAndPasteShapes) {
    // One row onto five fills them all.
    Store(103, 2, "Source");
    ChangeFunction(103, "AC volts");
    ASSERT_TRUE(ops().CopySelection(Rows(103, 103)));
    EXPECT_EQ(ops().GetCopyBufferCount(), 1);
    ResetRecord();
    ASSERT_TRUE(Paste(Rows(104, 108)));
    for (int channel = 104; channel <= 108; ++channel) {
        EXPECT_EQ(At(channel).Function, "AC volts") << channel;
        EXPECT_EQ(At(channel).ChannelName, "Source") << channel;
        EXPECT_EQ(At(channel).Channel, static_cast<std::uint32_t>(channel));
    }
    EXPECT_EQ(doc->IsSetupInInstrument(), 0);
    EXPECT_EQ(app.state.m_flags[1], 1);
    EXPECT_EQ(doc->GetEditedRows().size(), 5u);

    // Three rows onto two, or columns moved sideways, do not fit.
    ASSERT_TRUE(ops().CopySelection(Rows(101, 103)));
    EXPECT_FALSE(Paste(Rows(104, 105)));
    ASSERT_TRUE(ops().CopySelection(Cells(101, 101, 2, 4)));
    EXPECT_FALSE(Paste(Cells(102, 102, 3, 5)));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Invalid or incompatible selection",
                                                    "Invalid or incompatible selection"}));

    // ID cells alone carry whole rows.
    ASSERT_TRUE(ops().CopySelection(Cells(103, 103, 0, 0)));
    ASSERT_TRUE(Paste(Cells(110, 110, 0, 0)));
    EXPECT_EQ(At(110).Function, "AC volts");
    EXPECT_EQ(At(110).ChannelName, "Source");

    // A name or a comment stays in the PC.
    ResetRecord();
    ASSERT_TRUE(ops().CopySelection(Cells(103, 103, 2, 2)));
    ASSERT_TRUE(Paste(Cells(111, 112, 2, 2)));
    EXPECT_EQ(At(112).ChannelName, "Source");
    EXPECT_EQ(doc->IsSetupInInstrument(), 1);
    EXPECT_EQ(app.state.m_flags, (std::array<std::int32_t, 4>{0, 0, 0, 0}));

    // Rows of two modules are not one copy; nothing to paste is said so.
    EXPECT_FALSE(ops().CopySelection(Rows(122, 201)));
    doc->GetUndo()->Clear();
    EXPECT_FALSE(Paste(Rows(104, 104)));
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Copy selection can only be from a single card type",
                                        "Invalid copy buffer"}));
    EXPECT_FALSE(ops().CopySelection(GridRange::Rows(5, 4)));
}

TEST_F(SetupGridOperationsTest, PastesOntoRowsThatCannotTakeThemAreRefused) {
    ChangeFunction(104, "AC volts");
    struct Case {
        int from;
        int to;
        int left, right;
        std::uint32_t targetFlags; // 0xFFFF keeps the row's own
        const char* message;
    };
    const Case cases[] = {
        {101, 301, 0, 0, 0xFFFF, "Function incompatible with channel or incompatible card types"},
        {101, 301, 3, 3, 0xFFFF, "Function incompatible with channel"},
        {101, 304, 1, 1, 0xFFFF, "Channel is disabled (non-measurement or paired)"},
        {101, 104, 4, 4, 0xFFFF, "Incompatible range types"},
        {101, 104, 5, 5, 0xFFFF, "Incompatible resolution types"},
        {101, 104, 6, 6, 0xFFFF, "Function incompatible with channel"},
        {301, 302, 6, 7, 0xFFFF, "Scale mode is disabled"},
        {101, 102, 6, 8, 0xFFFF, "Scale gain is disabled"},
        {101, 102, 6, 9, 0x20, "Scale offset is disabled"},
        {101, 102, 6, 10, 0x40, "Scale units are disabled"},
        {101, 102, 6, 11, 0x80, "Alarm mode is disabled"},
        {101, 102, 6, 12, 0x100, "Alarm hi limit is disabled"},
        {101, 102, 6, 13, 0x200, "Alarm low limit is disabled"},
        {101, 102, 6, 14, 0x400, "H/W alarm is disabled"},
        {101, 301, 7, 10, 0xFFFF, "Incompatible scaling types"},
        {101, 301, 11, 15, 0xFFFF, "Incompatible alarm types"},
        {101, 102, 11, 14, 0x80, "Incompatible alarm types"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompter.asked.clear();
        const CFXSetup before = At(c.to);
        if (c.targetFlags != 0xFFFF)
            At(c.to).CellFlags = c.targetFlags;
        ASSERT_TRUE(ops().CopySelection(Cells(c.from, c.from, c.left, c.right)));
        EXPECT_FALSE(Paste(Cells(c.to, c.to, c.left, c.right)));
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        At(c.to).CellFlags = before.CellFlags;
        EXPECT_EQ(At(c.to).Function, before.Function);
    }
    // Lower and upper channels of a multiplexer take each other's functions.
    ASSERT_TRUE(ops().CopySelection(Rows(101, 101)));
    EXPECT_TRUE(Paste(Rows(115, 115)));
    ASSERT_TRUE(ops().CopySelection(Cells(101, 101, 7, 10)));
    EXPECT_TRUE(Paste(Cells(102, 102, 7, 10)));
}

TEST_F(SetupGridOperationsTest, UndoSwapsTheRowsOfTheLastPasteOrUndo) {
    Store(103, 2, "Source");
    Store(103, 4, "+/- 10 V");
    ASSERT_TRUE(ops().CopySelection(Cells(103, 103, 2, 4)));
    ASSERT_TRUE(Paste(Cells(104, 104, 2, 4)));
    EXPECT_EQ(At(104).Range, "+/- 10 V");

    ResetRecord();
    GridRange range, partners;
    ASSERT_TRUE(ops().UndoSetupEdit(range, partners));
    EXPECT_EQ(range, Cells(104, 104, 2, 4));
    EXPECT_EQ(At(104).ChannelName, "");
    EXPECT_EQ(At(104).Range, "Auto");
    // What the instrument holds changed back too.
    EXPECT_EQ(doc->IsSetupInInstrument(), 0);
    EXPECT_EQ(app.state.m_flags[1], 1);

    ASSERT_TRUE(ops().UndoSetupEdit(range, partners));
    EXPECT_EQ(At(104).Range, "+/- 10 V");
    // The copy buffer now holds what the undo restored.
    ASSERT_TRUE(Paste(Cells(105, 105, 2, 4)));
    EXPECT_EQ(At(105).Range, "+/- 10 V");
    EXPECT_EQ(At(105).ChannelName, "Source");

    // Names alone leave the instrument in step.
    ASSERT_TRUE(ops().CopySelection(Cells(103, 103, 2, 2)));
    ASSERT_TRUE(Paste(Cells(106, 106, 2, 2)));
    ResetRecord();
    ASSERT_TRUE(ops().UndoSetupEdit(range, partners));
    EXPECT_EQ(At(106).ChannelName, "");
    EXPECT_EQ(doc->IsSetupInInstrument(), 1);

    doc->GetUndo()->Clear();
    EXPECT_FALSE(ops().UndoSetupEdit(range, partners));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Invalid undo buffer"});
}

TEST_F(SetupGridOperationsTest, FourWireFunctionsPairChannelsOnBothMultiplexers) {
    // A lower channel takes its upper partner.
    EXPECT_EQ(ChangeFunction(103, "4w ohms"), Row(113));
    EXPECT_EQ(At(103).Range, "Auto");
    EXPECT_EQ(At(103).Units, "OHM");
    EXPECT_EQ(At(113).Function, "4w ohms");
    EXPECT_EQ(At(113).CellFlags, CFXSetup::kCellAll);
    EXPECT_EQ(At(113).ChannelMode, 0);
    EXPECT_EQ(At(113).AlarmHi, "");
    EXPECT_EQ(Cell(113, 6), "");
    EXPECT_TRUE(ops().IsType5RowAt(Row(113)));
    const auto& edited = doc->GetEditedRows();
    EXPECT_NE(std::find(edited.begin(), edited.end(), Row(113) - 2u), edited.end());
    // Back to another function: the partner is its own channel again.
    EXPECT_EQ(ChangeFunction(103, "DC volts"), Row(113));
    EXPECT_EQ(At(113).Function, "DC volts");
    EXPECT_EQ(At(113).Range, "Auto");
    EXPECT_NE(At(113).CellFlags, CFXSetup::kCellAll);

    // An upper channel gives the function to its lower partner, with defaults.
    At(104).Range = "10 K ";
    EXPECT_EQ(ChangeFunction(114, "Temp 4w RTD"), Row(104));
    EXPECT_EQ(At(104).Function, "Temp 4w RTD");
    EXPECT_EQ(At(104).Range, "");
    EXPECT_EQ(At(104).Units, "C");
    EXPECT_EQ(At(114).CellFlags, CFXSetup::kCellAll);

    // The 16-channel module pairs at 8.
    EXPECT_EQ(ChangeFunction(205, "4w ohms"), Row(213));
    EXPECT_EQ(At(213).Function, "4w ohms");
    EXPECT_EQ(At(213).CellFlags, CFXSetup::kCellAll);
    // Channels past the pairs and other modules pair nothing.
    EXPECT_EQ(ChangeFunction(121, "AC current"), 0);
    EXPECT_EQ(SetupGridOperations::PartnerIndex(At(301), 38), 38);

    // A pasted four-wire function pairs; its undo gives the partner back.
    ASSERT_TRUE(ops().CopySelection(Cells(205, 205, 3, 3)));
    GridRange partners = Cells(206, 206, 3, 3);
    partners.top = partners.bottom = 0;
    ASSERT_TRUE(ops().PasteSelection(Cells(206, 206, 3, 3), partners));
    EXPECT_EQ(partners.top, Row(214));
    EXPECT_EQ(partners.bottom, Row(214));
    EXPECT_EQ(At(214).CellFlags, CFXSetup::kCellAll);
    GridRange range;
    partners = {};
    ASSERT_TRUE(ops().UndoSetupEdit(range, partners));
    EXPECT_EQ(At(206).Function, "DC volts");
    EXPECT_EQ(At(214).Function, "DC volts");
    EXPECT_EQ(partners.top, Row(214));
    EXPECT_NE(At(214).CellFlags, CFXSetup::kCellAll);
}

TEST_F(SetupGridOperationsTest, RestoreDefaultsRefillsRowsAndLeavesTheInstrumentOutOfStep) {
    ChangeFunction(103, "4w ohms");
    Store(102, 2, "kept?");
    ResetRecord();
    GridRange partners;
    ASSERT_TRUE(ops().ResetSelectionDefaults(Rows(102, 103), partners));
    EXPECT_EQ(At(103).Function, "DC volts");
    EXPECT_EQ(At(102).ChannelName, "");
    EXPECT_EQ(At(113).Function, "DC volts");
    EXPECT_EQ(partners.top, Row(113));
    EXPECT_EQ(doc->IsSetupInInstrument(), 0);
    EXPECT_EQ(app.state.m_flags[1], 1);

    // Nothing changed: still in step. Computed rows are skipped.
    ResetRecord();
    ASSERT_TRUE(ops().ResetSelectionDefaults(Rows(104, 105), partners));
    At(900).Gain = "7";
    ASSERT_TRUE(ops().ResetSelectionDefaults(Rows(900, 900), partners));
    EXPECT_EQ(At(900).Gain, "7");
    EXPECT_EQ(doc->IsSetupInInstrument(), 1);
}

TEST_F(SetupGridOperationsTest, ComputedChannelsAreDeletedUnlessAnotherReadsThem) {
    EXPECT_TRUE(ops().CanDeleteSelection(Rows(900, 901)));
    EXPECT_FALSE(ops().CanDeleteSelection(Rows(305, 900)));
    EXPECT_TRUE(ops().SelectionHasComputedRow(Rows(305, 900)));

    EXPECT_FALSE(ops().DeleteComputedChannels(Rows(900, 900)));
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Channel <900> can not be deleted because Channel <901> depends on "
                              "it.\r\nYou must first delete Channel <901>."});
    EXPECT_EQ(ops().GetSetupCount(), 45);

    // All of them: asked first.
    prompter.asked.clear();
    prompter.Script({MsgAnswer::No});
    EXPECT_FALSE(ops().DeleteComputedChannels(Rows(900, 901)));
    EXPECT_EQ(Messages(), std::vector<std::string>{
                              "Are you sure you want to delete all the computed channels?"});
    EXPECT_EQ(ops().GetSetupCount(), 45);

    // Two of three at once: the third keeps its row, as do pending edits.
    CFXSetupArray& setup = *doc->GetSetup();
    setup.Append(1);
    auto* row = new CFXSetup(At(901));
    row->Channel = 902;
    setup.SetSetup(45, row);
    auto third = std::make_unique<CCompChnl>();
    third->Channel = 902;
    third->Group = 45;
    third->Arg1.Channel = 101;
    doc->GetComputedChannels()->SetAt(2, std::move(third));
    ASSERT_TRUE(ops().CopySelection(Rows(101, 101)));
    doc->GetEditedRows() = {3, 43, 45};
    prompter.asked.clear();
    RecordingView view;
    doc->AddView(&view);
    ASSERT_TRUE(ops().DeleteComputedChannels(Rows(900, 901)));
    doc->RemoveView(&view);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(ops().GetSetupCount(), 44);
    ASSERT_EQ(doc->GetComputedChannels()->GetSize(), 1);
    EXPECT_EQ(doc->GetComputedChannels()->GetAt(0)->Channel, 902);
    EXPECT_EQ(doc->GetComputedChannels()->GetAt(0)->Group, 43);
    EXPECT_EQ(setup.GetSetup(43)->Channel, 902u);
    EXPECT_EQ(doc->GetEditedRows(), (std::vector<std::uint32_t>{3, 43}));
    EXPECT_EQ(view.Hints(), std::vector<long>{HINT_SETUP_CHANGED});
    EXPECT_EQ(ops().GetCopyBufferCount(), 0);
    EXPECT_EQ(app.state.m_flags[0], 1);
    EXPECT_FALSE(ops().DeleteComputedChannels(Rows(101, 101))) << "only computed rows";
}

TEST_F(SetupGridOperationsTest, AddComputedChannelAppendsItsRowFromTheSheet) {
    sheet.define = [](CCompChnl& c) {
        c.Arg1.Channel = 101;
        c.Arg2.Channel = 0;
        c.Arg2.Value = 4.0;
        c.Operation = CCompChnl::kRatio;
    };
    ASSERT_TRUE(ops().CopySelection(Rows(101, 101)));
    ResetRecord();
    ASSERT_TRUE(ops().AddComputedChannel(902));
    EXPECT_EQ(sheet.captions.back(), "Add Computed Channel");
    ASSERT_EQ(ops().GetSetupCount(), 46);
    const CFXSetup& row = *doc->GetSetup()->GetSetup(45);
    EXPECT_EQ(row.Name, "Computed");
    EXPECT_EQ(row.Channel, 902u);
    EXPECT_EQ(row.ChannelMode, 1);
    EXPECT_EQ(row.Gain, "1.0");
    EXPECT_EQ(row.Offset, "0.0");
    EXPECT_EQ(row.Alarms, "Off");
    EXPECT_EQ(row.AlarmActions, "4;;;;;");
    EXPECT_EQ(row.CellFlags, 0x777u);
    const CCompChnl* channel = doc->GetComputedChannels()->FindChannel(902);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->Group, 45);
    EXPECT_EQ(channel->Operation, CCompChnl::kRatio);
    EXPECT_EQ(channel->Arg2.Value, 4.0);
    EXPECT_EQ(doc->IsSetupInInstrument(), 1);
    EXPECT_EQ(app.state.m_flags[0], 1);
    EXPECT_EQ(app.state.m_flags[1], 0);
    EXPECT_EQ(doc->GetEditedRows(), std::vector<std::uint32_t>{45});
    EXPECT_EQ(ops().GetCopyBufferCount(), 0);

    sheet.ok = false;
    EXPECT_FALSE(ops().AddComputedChannel(903));
    EXPECT_EQ(ops().GetSetupCount(), 46);
}

TEST_F(SetupGridOperationsTest, ChannelPropertiesMergeTheEditedCopy) {
    doc->ConfigureMonitorChannel(102);
    ASSERT_EQ(doc->GetMonitorChannel(), 102);
    sheet.edit = [](CFXSetup& copy, CCompChnl*, IChannelDetailsSheet::RowResult& result) {
        EXPECT_TRUE(result.monitor);
        copy.ChannelName = "Flow";
        copy.Function = "4w ohms";
        copy.Range = "1 K ";
        copy.AlarmActions = "1;;;;;";
        copy.Comment = "pump";
        result.monitor = false;
    };
    int partner = 0;
    ResetRecord();
    ASSERT_TRUE(ops().ShowChannelProperties(Rows(102, 102), 1, partner));
    EXPECT_EQ(sheet.captions.back(), "Channel Properties - <102> ");
    EXPECT_EQ(At(102).ChannelName, "Flow");
    EXPECT_EQ(At(102).Range, "1 K ");
    EXPECT_EQ(At(102).Comment, "pump");
    EXPECT_EQ(At(102).AlarmActions, "1;;;;;");
    EXPECT_EQ(partner, Row(112));
    EXPECT_EQ(At(112).CellFlags, CFXSetup::kCellAll);
    EXPECT_EQ(doc->GetMonitorChannel(), 0);
    EXPECT_EQ(doc->IsSetupInInstrument(), 0);

    // A computed channel's definition comes back from the sheet.
    sheet.edit = [](CFXSetup&, CCompChnl* computed, IChannelDetailsSheet::RowResult&) {
        ASSERT_NE(computed, nullptr);
        EXPECT_EQ(computed->Arg1.Channel, 101);
        computed->Operation = CCompChnl::kDifference;
    };
    ASSERT_TRUE(ops().ShowChannelProperties(Rows(900, 900), 0, partner));
    EXPECT_EQ(doc->GetComputedChannels()->FindChannel(900)->Operation, CCompChnl::kDifference);

    sheet.ok = false;
    EXPECT_FALSE(ops().ShowChannelProperties(Rows(101, 101), 0, partner));
}

TEST_F(SetupGridOperationsTest, ChoiceListsComeInTheOrderOfTheTables) {
    std::string list;
    ASSERT_TRUE(ops().FillFunctionList(Row(101), list));
    EXPECT_EQ(list.substr(0, 44), "DC volts\nAC volts\n2w ohms\n4w ohms\nFrequency\n");
    ASSERT_TRUE(ops().FillResolutionList(Row(101), list));
    EXPECT_EQ(list, "6.5 digits\n5.5 digits\n4.5 digits\n");
    ChangeFunction(101, "2w ohms");
    ASSERT_TRUE(ops().FillRangeList(Row(101), list));
    EXPECT_EQ(list, "Auto\n100  \n1 K \n10 K \n100 K \n1 M \n10 M \n100 M \n");
    ASSERT_TRUE(ops().FillFunctionList(Row(121), list));
    EXPECT_EQ(list, "DC current\nAC current\n");
    ASSERT_TRUE(ops().FillFunctionList(Row(301), list));
    EXPECT_EQ(list, "Digital Read 8bit\nDigital Write 8bit\n");

    list = "kept";
    EXPECT_FALSE(ops().FillRangeList(Row(301), list)) << "digital ports have no ranges";
    EXPECT_FALSE(ops().FillFunctionList(Row(901) + 1, list));
    At(102).Function.clear();
    EXPECT_FALSE(ops().FillResolutionList(Row(102), list));
    EXPECT_EQ(list, "kept");
}

TEST_F(SetupGridOperationsTest, RowTestsAndNavigation) {
    EXPECT_TRUE(ops().IsActiveRow(Row(101)));
    EXPECT_FALSE(ops().IsActiveRow(Row(103)));
    EXPECT_TRUE(ops().IsMeasurementRow(Row(301)));
    EXPECT_FALSE(ops().IsMeasurementRow(Row(304)));
    EXPECT_EQ(ops().FindNearestActiveRow(Row(101)), Row(102));
    EXPECT_EQ(ops().FindNearestActiveRow(Row(103)), Row(900));
    EXPECT_EQ(ops().FindNearestActiveRow(Row(901)), Row(900));
    EXPECT_EQ(ops().FindNearestMeasurementRow(Row(304)), Row(303));
    EXPECT_EQ(ops().FindNearestActiveRow(Row(901) + 1), 0);
    for (int channel : {101, 102, 900, 901})
        At(channel).ChannelMode = 0;
    EXPECT_EQ(ops().FindNearestActiveRow(Row(901)), -1);
    int a = 0, b = 0, c = 0;
    ops().GetLastRowPerSlot(a, b, c);
    EXPECT_EQ(a, Row(122));
    EXPECT_EQ(b, Row(216));
    EXPECT_EQ(c, Row(305));
    EXPECT_TRUE(ops().CanChangeFunction(Row(101), "anything"));
    EXPECT_FALSE(ops().CanChangeFunction(Row(901) + 1, "DC volts"));
}

} // namespace
} // namespace tvane::test
