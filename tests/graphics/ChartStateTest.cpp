#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "GraphicsTestSupport.h"
#include "graphics/CXrtGraph.h"
#include "graphics/ChartStateFiles.h"
#include "graphics/ChartStateRecord.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/Chart.h"
#include "platform/chart/ChartIds.h"
#include "platform/core/Exception.h"
#include "platform/core/Services.h"
#include "tests/support/TempHome.h"

namespace {

using namespace graphicstest;
using tvane::chart::Chart;
using tvane::chart::ChartStyle;
namespace prop = tvane::chart::prop;
namespace fs = std::filesystem;

// Offsets of the record's fixed part.
constexpr std::size_t kInvertedAt = 4 * 4; // the fifth DWORD of the 0x100 group
constexpr std::size_t kTopMarginAt = 328;  // the last of the twelve 16-bit values
constexpr std::size_t kBackgroundAt = 332; // the first LONG
constexpr std::size_t kChartTypeAt = 376;  // the first of the 0x4000 group
constexpr std::size_t kTextsAt = 460;
constexpr std::size_t kFixedWords = 105 * 4 + 11 * 4 + 18 * 8;
constexpr std::size_t kFontBytes = 4 + 5 * 4 + 8 + 1 + 5; // colour, LOGFONT, "Arial"
constexpr std::size_t kStyleBytes = 36;

Bytes Record(const Chart& chart) {
    return Store([&](tvane::CArchive& ar) { WriteChartStateRecord(ar, chart); });
}

TEST(ChartStateRecordTest, TheRecordsLayoutAndCounts) {
    Chart chart;
    chart.SetValues({{prop::kInverted, 1},
                     {prop::kTopMargin, static_cast<std::int32_t>(0xFFFF8000u)},
                     {prop::kBackground, 0x00123456},
                     {prop::kChartType, 2},
                     {prop::kXAxisTitle, std::string("X")},
                     {prop::kYAxisTitle, std::string(300, 'y')},
                     {prop::kDataStyles, std::vector<ChartStyle>(2)}});
    const Bytes bytes = Record(chart);
    EXPECT_EQ(U32At(bytes, kInvertedAt), 1u);
    EXPECT_EQ(U32At(bytes, kTopMarginAt), 0xFFFF8000u);
    EXPECT_EQ(U32At(bytes, kBackgroundAt), 0x00123456u);
    EXPECT_EQ(U32At(bytes, kChartTypeAt), 2u);
    EXPECT_EQ(bytes[kTextsAt], 1);
    EXPECT_EQ(bytes[kTextsAt + 1], 'X');
    // Past 254 characters the length escapes to 0xFF and 16 bits.
    EXPECT_EQ(bytes[kTextsAt + 2], 0xFF);
    EXPECT_EQ(bytes[kTextsAt + 3], 300 % 256);
    EXPECT_EQ(bytes[kTextsAt + 4], 300 / 256);
    const std::size_t texts = 2 + 3 + 300;
    EXPECT_EQ(bytes.size(), kFixedWords + texts + 4 * kFontBytes + (4 + 2) * kStyleBytes);
    const std::size_t countAt = kTextsAt + texts + 4 * kFontBytes + 4 * kStyleBytes;
    EXPECT_EQ(U32At(bytes, countAt), 2u);

    // Without styles: a count of 0 and no records.
    chart.SetValue(prop::kDataStyles, std::vector<ChartStyle>{});
    const Bytes empty = Record(chart);
    EXPECT_EQ(empty.size(), kFixedWords + texts + 4 * kFontBytes + 4 * kStyleBytes);
    EXPECT_EQ(U32At(empty, countAt), 0u);
}

TEST(ChartStateRecordTest, ReadingBackGivesTheSameChartAndSignExtendsSixteenBitValues) {
    Chart original;
    ChartStyle style;
    style.color = 0x0000FF;
    style.reserved1 = 77;
    tvane::chart::ChartFont font;
    font.height = -15;
    font.face = "Courier New";
    original.SetValues({{prop::kTopMargin, static_cast<std::int32_t>(0xFFFF8000u)},
                        {prop::kXAxisMax, 42.5},
                        {prop::kYGridSpacing, 0.25},
                        {prop::kXGridAuto, 1},
                        {prop::kAxisFont, font},
                        {prop::kYGridStyle, style},
                        {prop::kDataStyles, std::vector<ChartStyle>{style, ChartStyle{}}},
                        {0x4A01, 9},
                        {0xE2B, 3}});
    const Bytes bytes = Record(original);
    Chart restored;
    Load(bytes, [&](tvane::CArchive& ar) { ReadChartStateRecord(ar, restored); });
    EXPECT_EQ(restored.GetInt(prop::kTopMargin), -32768);
    EXPECT_EQ(Record(restored), bytes);
    EXPECT_EQ(restored.GetFont(prop::kAxisFont), font);
    // What the chart computed for itself stays computed: the bottom margin still
    // follows the window.
    EXPECT_EQ(restored.GetInt(prop::kBottomMarginAuto), 1);
    const int before = restored.GetInt(prop::kBottomMargin);
    restored.SetText(prop::kXAxisTitle, "Time");
    EXPECT_GT(restored.GetInt(prop::kBottomMargin), before);
}

TEST(ChartStateRecordTest, ATruncatedRecordIsRejected) {
    Bytes bytes = Record(Chart());
    bytes.resize(bytes.size() - 1);
    Chart chart;
    EXPECT_THROW(Load(bytes, [&](tvane::CArchive& ar) { ReadChartStateRecord(ar, chart); }),
                 tvane::CArchiveException);
}

// A created chart stored with the document and loaded into a new one.
class ChartStateFileTest : public ::testing::Test {
protected:
    ChartStateFileTest() {
        graph.Create(parent, {0, 0, 300, 200});
        graph.GetChart()->SetInt(prop::kBackground, 0x0000FF);
    }
    Bytes Save(CXrtGraph& g) {
        return Store([&](tvane::CArchive& ar) { g.Serialize(ar); });
    }
    static fs::path StateFile(long number) {
        return ChartStateFolder() / (std::to_string(number) + ".xrt");
    }

    FakeDiskCheck disk;
    tvane::ScopedService<IDiskSpaceCheck> diskGuard{SetChartDiskSpaceCheck, &disk};
    FakeChartParent parent;
    CXrtGraph graph;
};

TEST_F(ChartStateFileTest, StoringWritesTheFlagAndTheStateAndLeavesNoFile) {
    const long before = ChartStateCounter();
    const Bytes bytes = Save(graph);
    EXPECT_EQ(ChartStateCounter(), before + 1);
    EXPECT_FALSE(fs::exists(StateFile(before + 1)));
    EXPECT_EQ(disk.asked, 3000.0);
    ASSERT_GT(bytes.size(), 8u);
    EXPECT_EQ(U32At(bytes, 0), 1u); // no readings
    EXPECT_EQ(U32At(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.end()), Record(*graph.GetChart()));

    parent.hasReadings = true;
    EXPECT_EQ(U32At(Save(graph), 0), 0u);
    EXPECT_EQ(ChartStateCounter(), before + 2); // a second save, a second name
}

TEST_F(ChartStateFileTest, ALoadedStateIsParkedUntilTheWindowExistsThenDeleted) {
    const Bytes bytes = Save(graph);
    CXrtGraph loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    const fs::path parked = loaded.GetStateFileName();
    EXPECT_EQ(parked, StateFile(ChartStateCounter()));
    EXPECT_TRUE(fs::exists(parked));
    EXPECT_EQ(loaded.GetNoReadingsFlag(), 1);

    loaded.RestoreChartState(parent, {0, 0, 300, 200});
    EXPECT_FALSE(fs::exists(parked));
    EXPECT_TRUE(loaded.GetStateFileName().empty());
    EXPECT_EQ(loaded.GetChart()->GetInt(prop::kBackground), 0x0000FF);
}

TEST_F(ChartStateFileTest, AParkedStateGoesWithAChartThatIsNeverShown) {
    const Bytes bytes = Save(graph);
    fs::path parked;
    {
        CXrtGraph loaded;
        Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
        parked = loaded.GetStateFileName();
        ASSERT_TRUE(fs::exists(parked));
        // Saved again before it was shown, it keeps its state.
        EXPECT_EQ(Save(loaded), bytes);
        EXPECT_TRUE(fs::exists(parked));
    }
    EXPECT_FALSE(fs::exists(parked));
}

TEST_F(ChartStateFileTest, AStateOfLengthZeroLoadsAsDefaults) {
    const Bytes bytes = ByteWriter().U32(0).U32(0).bytes;
    CXrtGraph loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_TRUE(loaded.GetStateFileName().empty());
    EXPECT_EQ(loaded.GetNoReadingsFlag(), 0);
    loaded.RestoreChartState(parent, {0, 0, 300, 200});
    EXPECT_EQ(loaded.GetChart()->GetInt(prop::kBackground), 0xFFFFFF);
}

TEST_F(ChartStateFileTest, BrokenStatesFailTheirLoadOrRestore) {
    CXrtGraph loaded;
    EXPECT_THROW(Load(ByteWriter().U32(1).U32(0xFFFFFFFF).bytes,
                      [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_THROW(Load(ByteWriter().U32(1).U32(100).U32(0).bytes,
                      [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_TRUE(loaded.GetStateFileName().empty());

    // A record that ends early is found at load, and nothing stays parked.
    EXPECT_THROW(Load(ByteWriter().U32(1).U32(4).U32(0).bytes,
                      [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_TRUE(loaded.GetStateFileName().empty());
    EXPECT_FALSE(fs::exists(StateFile(ChartStateCounter())));
    EXPECT_TRUE(fs::is_empty(ChartStateFolder()));
    // So are label decimals that no label has.
    graph.GetChart()->SetInt(prop::kYPrecision, CXrtGraph::kMaxDecimals + 1);
    const Bytes manyDecimals = Save(graph);
    EXPECT_THROW(Load(manyDecimals, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
    EXPECT_FALSE(fs::exists(StateFile(ChartStateCounter())));

    // A parked state damaged before the window comes fails the restore,
    // which removes it.
    graph.GetChart()->SetInt(prop::kYPrecision, 2);
    Load(Save(graph), [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    const fs::path parked = loaded.GetStateFileName();
    fs::resize_file(parked, 4);
    EXPECT_THROW(loaded.RestoreChartState(parent, {0, 0, 10, 10}), tvane::CArchiveException);
    EXPECT_FALSE(fs::exists(parked));

    // So does one that goes bad as a whole record of zeros.
    Load(Save(graph), [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    const fs::path zeroed = loaded.GetStateFileName();
    ASSERT_TRUE(fs::exists(zeroed));
    tvane::test::WriteFile(zeroed, std::string(4, '\0'));
    EXPECT_THROW(loaded.RestoreChartState(parent, {0, 0, 10, 10}), tvane::CArchiveException);
    EXPECT_FALSE(fs::exists(zeroed));
    EXPECT_TRUE(fs::is_empty(ChartStateFolder()));
}

// A temporary folder cleaned away while the program runs is made again:
// Save and Open go on working.
TEST_F(ChartStateFileTest, AStateFolderRemovedUnderTheProgramIsMadeAgain) {
    const fs::path gone = ChartStateFolder();
    fs::remove_all(gone);
    const Bytes bytes = Save(graph);
    EXPECT_TRUE(fs::is_directory(ChartStateFolder()));
    CXrtGraph loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    loaded.RestoreChartState(parent, {0, 0, 300, 200});
    EXPECT_EQ(loaded.GetChart()->GetInt(prop::kBackground), 0x0000FF);
}

TEST_F(ChartStateFileTest, TooLittleDiskSpaceStopsTheSave) {
    disk.enough = false;
    EXPECT_THROW(Save(graph), tvane::UserException);
    EXPECT_TRUE(fs::is_empty(ChartStateFolder()));
}

} // namespace
