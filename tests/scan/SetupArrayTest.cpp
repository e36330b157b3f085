#include "ArchiveHelpers.h"
#include "scan/CFXSetupArray.h"

#include <gtest/gtest.h>

using scantest::Bytes;

namespace {

CFXSetup* Row(const char* module, std::uint32_t channel, std::int32_t mode) {
    auto* row = new CFXSetup;
    row->Name = module;
    row->Channel = channel;
    row->ChannelMode = mode;
    return row;
}

// An owning array of three rows.
struct ThreeRows : ::testing::Test {
    CFXSetupArray rows;
    void SetUp() override {
        ASSERT_TRUE(rows.SetSize(3));
        rows.SetSetup(0, Row("KXQT7101", 101, 1));
        rows.SetSetup(1, Row("KXQT7107", 104, 1));
        rows.SetSetup(2, Row("Computed", 901, 1));
    }
    void TearDown() override { rows.RemoveAll(); }
};

TEST(CFXSetupArray, SizingSetsTheOwnsRowsFlag) {
    CFXSetupArray a;
    EXPECT_EQ(a.OwnsRows(), 0);
    EXPECT_FALSE(a.SetSize(0));
    EXPECT_FALSE(a.Append(-1));
    EXPECT_FALSE(a.ResetSlots(0));
    EXPECT_EQ(a.OwnsRows(), 0);
    EXPECT_TRUE(a.Append(2));
    EXPECT_EQ(a.GetSize(), 2);
    EXPECT_EQ(a.OwnsRows(), 1);
    EXPECT_EQ(a.GetSetup(1), nullptr);
    EXPECT_EQ(a.GetSetup(2), nullptr);
    EXPECT_EQ(a.GetSetup(-1), nullptr);
    a.SetSetup(4, Row("KXQT7101", 105, 0)); // grows the array
    EXPECT_EQ(a.GetSize(), 5);
    a.RemoveAll();
    EXPECT_EQ(a.OwnsRows(), 0);
    EXPECT_TRUE(a.IsEmpty());
}

TEST(CFXSetupArray, BorrowedRowsSurviveRemoveAll) {
    CFXSetup row;
    CFXSetupArray borrowed;
    borrowed.SetSetup(0, &row);
    EXPECT_EQ(borrowed.OwnsRows(), 0);
    borrowed.RemoveAll(); // must not delete the stack row
    EXPECT_TRUE(borrowed.IsEmpty());

    borrowed.SetSize(1);
    borrowed.SetSetup(0, &row);
    borrowed.SetOwnsRows(0);
    borrowed.RemoveAll();
    EXPECT_TRUE(borrowed.IsEmpty());
}

TEST_F(ThreeRows, ResetSlotsOfZeroLeavesTheArray) {
    EXPECT_FALSE(rows.ResetSlots(0));
    EXPECT_EQ(rows.GetSize(), 3);
    EXPECT_NE(rows.GetSetup(2), nullptr);
    EXPECT_TRUE(rows.ResetSlots(2)); // deletes the owned rows (LSan would see a leak)
    EXPECT_EQ(rows.GetSize(), 2);
    EXPECT_EQ(rows.GetSetup(0), nullptr);
    EXPECT_EQ(rows.OwnsRows(), 1);
}

TEST_F(ThreeRows, DeleteAtLeavesAGapUntilCompact) {
    CFXSetup* last = rows.GetSetup(2);
    EXPECT_TRUE(rows.DeleteAt(1));
    EXPECT_EQ(rows.GetSetup(1), nullptr);
    EXPECT_FALSE(rows.DeleteAt(1));
    EXPECT_FALSE(rows.DeleteAt(7));
    rows.Compact();
    EXPECT_EQ(rows.GetSize(), 2);
    EXPECT_EQ(rows.GetSetup(1), last);
}

TEST_F(ThreeRows, ScanCapableRowsAndTheLastActiveChannel) {
    EXPECT_EQ(rows.CountScanCapable(), 1);
    // The computed row and the 7107's channel 104 are on, but not scan-capable.
    EXPECT_EQ(rows.GetLastActiveChannel(), 101u);
    rows.GetSetup(0)->ChannelMode = 0;
    EXPECT_EQ(rows.GetLastActiveChannel(), 0u);

    rows.GetSetup(0)->ChannelMode = 1;
    rows.TurnOffChannels(false);
    EXPECT_EQ(rows.GetSetup(0)->ChannelMode, 0);
    EXPECT_EQ(rows.GetSetup(2)->ChannelMode, 1);
    rows.TurnOffChannels(true);
    EXPECT_EQ(rows.GetSetup(2)->ChannelMode, 0);
}

TEST(CFXSetupArrayArchive, EmptyArrayIsSixZeroBytes) {
    CFXSetupArray a;
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { a.Serialize(ar); });
    EXPECT_EQ(bytes, Bytes(6, 0));
}

TEST_F(ThreeRows, RoundTripWithClassTagsAndNullSlots) {
    rows.Append(1); // a null slot at the end
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { rows.Serialize(ar); });
    ASSERT_GE(bytes.size(), 2u + 14u);
    EXPECT_EQ(bytes[0], 4);
    EXPECT_EQ(bytes[1], 0);
    const Bytes firstTag = {0xFF, 0xFF, 0, 0, 8, 0, 'C', 'F', 'X', 'S', 'e', 't', 'u', 'p'};
    EXPECT_EQ(Bytes(bytes.begin() + 2, bytes.begin() + 16), firstTag);
    // ... null slot, then the 32-bit flag 1.
    const Bytes tail = {0, 0, 1, 0, 0, 0};
    EXPECT_EQ(Bytes(bytes.end() - 6, bytes.end()), tail);

    CFXSetupArray loaded;
    scantest::Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ASSERT_EQ(loaded.GetSize(), 4);
    EXPECT_EQ(loaded.OwnsRows(), 1);
    EXPECT_EQ(loaded.GetSetup(1)->Name, "KXQT7107");
    EXPECT_EQ(loaded.GetSetup(2)->Channel, 901u);
    EXPECT_EQ(loaded.GetSetup(3), nullptr);
    loaded.RemoveAll();
}

TEST(CFXSetupArrayArchive, LoadedRowsAreOwnedWhateverTheStoredFlag) {
    CFXSetup row;
    CFXSetupArray borrowed;
    borrowed.SetSetup(0, &row);
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { borrowed.Serialize(ar); });
    EXPECT_EQ(Bytes(bytes.end() - 4, bytes.end()), Bytes(4, 0));
    borrowed.RemoveAll();

    CFXSetupArray loaded;
    scantest::Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.OwnsRows(), 1);
    loaded.RemoveAll(); // frees the loaded row
}

TEST(CFXSetupArrayArchive, CorruptDataThrowsAndKeepsWhatWasRead) {
    CFXSetupArray a;
    a.SetSize(2);
    a.SetSetup(0, Row("KXQT7101", 101, 1));
    a.SetSetup(1, Row("KXQT7101", 102, 1));
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { a.Serialize(ar); });
    a.RemoveAll();

    Bytes truncated(bytes.begin(), bytes.end() - 10);
    CFXSetupArray loaded;
    EXPECT_THROW(scantest::Load(truncated, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_EQ(loaded.OwnsRows(), 1);
    loaded.RemoveAll();

    Bytes forged = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}; // a count with no rows behind it
    EXPECT_THROW(scantest::Load(forged, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    loaded.RemoveAll();
}

} // namespace
