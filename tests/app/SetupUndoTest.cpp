#include "app/CFXUndo.h"
#include "scan/CFXSetup.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Document : IUndoDocument {
    void FormatResolution(CFXSetup& row) override { formatted.push_back(row.Channel); }
    std::vector<std::uint32_t> formatted;
};

CSetupRange Range(int type, int top, int left, int bottom, int right) {
    CSetupRange r;
    r.type = type;
    r.top = top;
    r.left = left;
    r.bottom = bottom;
    r.right = right;
    return r;
}

std::unique_ptr<CFXSetup> Row(std::uint32_t channel, const std::string& tag) {
    auto row = std::make_unique<CFXSetup>();
    row->Name = "KXQT7101";
    row->Channel = channel;
    row->ChannelName = tag + "name";
    row->ChannelMode = 1;
    row->Function = tag + "fn";
    row->Range = tag + "range";
    row->Resolution = tag + "res";
    row->Scaling = 1;
    row->Gain = tag + "gain";
    row->Offset = tag + "offset";
    row->Units = tag + "units";
    row->Alarms = "High/Low";
    row->AlarmHi = tag + "hi";
    row->AlarmLo = tag + "lo";
    row->AlarmEvent = tag + "event";
    row->Comment = tag + "comment";
    row->FunctionType = 1;
    row->AdvSettingsType = 7;
    row->AdvSettings = tag + "adv";
    row->AlarmActions = tag + "actions";
    row->ActionValue = tag + "value";
    row->CellFlags = 0x5;
    return row;
}

TEST(SetupUndo, RangesAreNormalisedAndMarkedValid) {
    struct Case {
        CSetupRange in;
        int type;
    };
    const Case cases[] = {
        {Range(7, 1, 0, 3, 0), CSetupRange::kRows},   {Range(7, 1, 2, 3, 4), CSetupRange::kCells},
        {Range(-1, 1, 0, 3, 5), CSetupRange::kCells}, {Range(2, 1, 0, 3, 0), CSetupRange::kColumns},
        {Range(3, 1, 2, 3, 4), CSetupRange::kTable},
    };
    CFXUndo undo;
    CSetupRange out;
    EXPECT_FALSE(undo.NormalizeCopyRange(out));
    for (const Case& c : cases) {
        undo.SetCopyRange(c.in);
        ASSERT_TRUE(undo.NormalizeCopyRange(out));
        EXPECT_EQ(out.type, c.type);
        EXPECT_TRUE(out.valid);
        EXPECT_EQ(out.left, c.in.left);
        EXPECT_EQ(out.bottom, c.in.bottom);
    }
}

TEST(SetupUndo, CompatibleWhenColumnsMatchAndRowsFit) {
    CFXUndo undo;
    std::int32_t differ = -1;
    EXPECT_FALSE(undo.IsCompatibleCopy(Range(0, 0, 2, 0, 4), differ));

    undo.SetCopyRange(Range(0, 5, 2, 5, 4)); // one row
    EXPECT_TRUE(undo.IsCompatibleCopy(Range(0, 10, 2, 19, 4), differ));
    EXPECT_EQ(differ, 1);
    EXPECT_TRUE(undo.IsCompatibleCopy(Range(0, 10, 2, 10, 4), differ));
    EXPECT_EQ(differ, 0);
    EXPECT_FALSE(undo.IsCompatibleCopy(Range(0, 10, 2, 10, 5), differ));

    undo.SetUndoRange(Range(0, 5, 2, 6, 4)); // two rows
    EXPECT_FALSE(undo.IsCompatibleUndo(Range(0, 10, 2, 12, 4), differ));
    EXPECT_EQ(differ, 1);
    EXPECT_TRUE(undo.IsCompatibleUndo(Range(0, 0, 2, 1, 4), differ));
    EXPECT_EQ(differ, 0);
}

TEST(SetupUndo, BuffersHoldItemsUntilCleared) {
    CFXUndo undo;
    EXPECT_EQ(undo.HasUndoItems(), 0);
    EXPECT_FALSE(undo.SaveUndoBuffer(2)) << "no buffer before Create";
    ASSERT_TRUE(undo.Create());
    EXPECT_EQ(undo.HasUndoItems(), 0);
    ASSERT_TRUE(undo.SaveUndoBuffer(2));
    undo.SetUndoItem(0, Row(101, "a"));
    undo.SetUndoItem(1, Row(102, "b"));
    undo.SetUndoItem(1, Row(103, "c")); // replaces, and the old row is freed
    EXPECT_NE(undo.HasUndoItems(), 0);
    EXPECT_EQ(undo.GetUndoItem(1)->Channel, 103u);

    ASSERT_TRUE(undo.SaveCopyBuffer(2));
    undo.CopyUndoToCopy();
    ASSERT_NE(undo.GetCopyItem(0), nullptr);
    EXPECT_NE(undo.GetCopyItem(0), undo.GetUndoItem(0)) << "a copy of its own";
    EXPECT_EQ(undo.GetCopyItem(1)->ChannelName, "cname");

    undo.Clear();
    EXPECT_EQ(undo.HasUndoItems(), 0);
    EXPECT_EQ(undo.HasCopyItems(), 0);
    EXPECT_EQ(undo.GetUndoItem(0), nullptr);

    ASSERT_TRUE(undo.SaveCopyBuffer(1));
    undo.SetCopyItem(0, Row(101, "a"));
    EXPECT_FALSE(undo.SaveCopyBuffer(0)) << "a failed save drops the buffer";
    EXPECT_EQ(undo.HasCopyItems(), 0);
    undo.SetCopyItem(0, Row(101, "a")); // nowhere to go: freed, not kept
    EXPECT_EQ(undo.GetCopyItem(0), nullptr);
    ASSERT_TRUE(undo.Create());
    EXPECT_TRUE(undo.SaveCopyBuffer(1));
}

class PasteTest : public ::testing::Test {
protected:
    PasteTest() {
        undo.Create();
        undo.SaveCopyBuffer(2);
        undo.SetCopyItem(0, Row(101, "s0"));
        undo.SetCopyItem(1, Row(102, "s1"));
        target = Row(205, "t");
    }
    void Paste(int left, int right, bool single = false, int index = 1) {
        undo.SetCopyRange(Range(0, 1, left, 2, right));
        ASSERT_TRUE(undo.PasteItems(index, *target, single, scan, function));
    }
    Document document;
    CFXUndo undo{&document};
    std::unique_ptr<CFXSetup> target;
    std::int32_t scan = -1, function = -1;
};

TEST_F(PasteTest, WholeRowsTakeEverySettingButTheChannelItself) {
    Paste(0, 0);
    EXPECT_EQ(scan, 1);
    EXPECT_EQ(function, 1);
    EXPECT_EQ(target->ChannelName, "s1name");
    EXPECT_EQ(target->Gain, "s1gain");
    EXPECT_EQ(target->Name, "KXQT7101");
    EXPECT_EQ(target->FunctionType, 1u);
    EXPECT_EQ(target->Channel, 205u);
    EXPECT_EQ(target->ActionValue, "tvalue");
    EXPECT_EQ(target->AdvSettings, "s1adv");
    EXPECT_EQ(target->AlarmActions, "s1actions");
    EXPECT_EQ(target->CellFlags, 0x5u);
    EXPECT_TRUE(document.formatted.empty());
}

TEST_F(PasteTest, ColumnsTakeTheirFieldsAndSideEffects) {
    Paste(2, 2, true);
    EXPECT_EQ(target->ChannelName, "s0name") << "single source: slot 0";
    EXPECT_EQ(target->Function, "tfn");
    EXPECT_EQ(scan + function, 0);

    undo.GetCopyItem(1)->CellFlags = 0x807;
    Paste(3, 3);
    EXPECT_EQ(function, 1);
    EXPECT_EQ(scan, 0);
    EXPECT_EQ(target->Function, "s1fn");
    EXPECT_EQ(target->Range, "s1range");
    EXPECT_EQ(target->Resolution, "s1res");
    EXPECT_EQ(target->Units, "s1units");
    EXPECT_EQ(target->AdvSettings, "s1adv");
    EXPECT_EQ(target->CellFlags, 0x807u) << "the function's disabled cells come along";
    EXPECT_EQ(target->Gain, "tgain");

    Paste(1, 1);
    EXPECT_EQ(scan, 1);

    Paste(5, 5);
    EXPECT_EQ(document.formatted, std::vector<std::uint32_t>{205});

    // Scaling switched off with scale mode enabled: the gain and offset defaults.
    undo.GetCopyItem(1)->Scaling = 0;
    target->CellFlags = 0;
    Paste(7, 7);
    EXPECT_EQ(target->Scaling, 0);
    EXPECT_EQ(target->Gain, "1.0");
    EXPECT_EQ(target->Offset, "0.0");

    // A test that is not "Off" brings a hardware output and an action list.
    undo.GetCopyItem(1)->Alarms = "Low Only";
    target->AlarmEvent = "";
    target->AlarmActions = "";
    Paste(11, 11);
    EXPECT_EQ(target->Alarms, "Low Only");
    EXPECT_EQ(target->AlarmEvent, "Alarm1");
    EXPECT_EQ(target->AlarmActions, "4;;;;;");

    Paste(12, 16);
    EXPECT_EQ(target->AlarmHi, "s1hi");
    EXPECT_EQ(target->AlarmLo, "s1lo");
    EXPECT_EQ(target->AlarmEvent, "s1event");
    EXPECT_EQ(target->AlarmActions, "s1actions");
    EXPECT_EQ(target->Comment, "s1comment");
    EXPECT_EQ(target->Channel, 205u);
}

TEST_F(PasteTest, UndoRestoresColumnsWithoutDefaults) {
    undo.SaveUndoBuffer(1);
    auto before = Row(206, "u");
    before->Scaling = 0;
    before->Alarms = "Low Only";
    before->AlarmEvent = "";
    undo.SetUndoItem(0, std::move(before));

    undo.SetUndoRange(Range(0, 1, 0, 1, 11));
    ASSERT_TRUE(undo.UndoItems(0, *target, true));
    EXPECT_EQ(target->Channel, 206u) << "column 0 restores the channel number";
    EXPECT_EQ(target->Scaling, 0);
    EXPECT_EQ(target->Gain, "ugain") << "no scaling defaults";
    EXPECT_EQ(target->AlarmEvent, "tevent") << "column 14 lies outside the range";
    EXPECT_TRUE(document.formatted.empty());

    target = Row(205, "t");
    undo.SetUndoRange(Range(0, 1, 4, 1, 4)); // one column wide: the whole row
    ASSERT_TRUE(undo.UndoItems(0, *target, true));
    EXPECT_EQ(target->Channel, 205u);
    EXPECT_EQ(target->Comment, "ucomment");
    EXPECT_EQ(target->AlarmEvent, "");
    EXPECT_FALSE(undo.UndoItems(3, *target, false)) << "no such row";
}

} // namespace
