// The data grid: rows filled from the newest readings, the update rate, the
// reload's batches, printing by pages, copying the stored readings, and its
// stored form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "graphics/CGraphView.h"
#include "graphics/GraphFactory.h"
#include "graphics/displays/datagrid/CGridFrame.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/core/Services.h"
#include "platform/grid/GridCore.h"
#include "platform/ui/Prompter.h"
#include "scan/CDisplayRecord.h"
#include "scan/CRunRecord.h"
#include "shared/DocumentHints.h"
#include "tests/graphics/GraphFakes.h"
#include "tests/graphics/GraphicsTestSupport.h"
#include "tests/graphics/displays/datagrid/DataGridFakes.h"

namespace {

using namespace graphicstest;

class DataGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc.channels = {GridChannel(101, "Oven"), GridChannel(102, "Room"),
                        GridChannel(103, "Line", "ADC")};
    }
    // A data grid on the page showing 101 (by itself) and 102 in its first rows.
    CGridFrame& MakeGrid() {
        auto frame = std::make_unique<CGridFrame>();
        EXPECT_TRUE(frame->CreateFrame(&view));
        frame->SetChannelAt(1, &doc.channels[1]);
        frames.push_back(std::move(frame));
        return *frames.back();
    }
    void Readings() { frames.back()->OnViewHint(HINT_NEW_READINGS, {}); }
    CDataGrid& grid() { return *frames.back()->GetGrid(); }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard{tvane::SetPrompter, &prompter};
    FakeDataGridWindows windows;
    FakeViewWindow window;
    ReadingsDocument doc;
    CGraphView view{&window, &doc};
    std::vector<std::unique_ptr<CGridFrame>> frames;
};

TEST_F(DataGridTest, ANewGridShowsTheFirstChannelInItsFirstOfTwentyRows) {
    EXPECT_EQ(graphfactory::FrameClassOf(32808), "CGridFrame");
    CGridFrame frame;
    EXPECT_EQ(frame.m_rect, (GRect{10, 10, 345, 210}));
    ASSERT_TRUE(frame.CreateFrame(&view));
    CDataGrid& g = *frame.GetGrid();
    EXPECT_EQ(g.RowCount(), 20);
    EXPECT_EQ(doc.askedMask, 0x603u);
    EXPECT_EQ(g.Text(0, 1), "Channel");
    EXPECT_EQ(g.Text(0, 2), "Reading");
    EXPECT_EQ(g.Text(0, 3), "Time");
    EXPECT_EQ(g.Text(1, 1), "<101>Oven");
    EXPECT_EQ(g.Text(2, 1), "<None>");
    EXPECT_EQ(g.Text(20, 1), "<None>");
    EXPECT_EQ(g.CellStyle(1, 0)->interior, CDataGrid::kSilver);
    EXPECT_EQ(g.ColWidth(0), 25);
    EXPECT_EQ(g.ColWidth(3), 75);
    EXPECT_EQ(frame.GetHelpId(2), 11200);
    EXPECT_EQ(frame.GetHelpId(7), 11000);
    ASSERT_NE(windows.last, nullptr);
    EXPECT_EQ(windows.last->rect, frame.GetDataRect());
    // The channel list: "<None>", then the setup's channels.
    EXPECT_EQ(g.ChoiceTexts(),
              (std::vector<std::string>{"<None>", "<101>Oven", "<102>Room", "<103>Line"}));
}

TEST_F(DataGridTest, RowsShowNoReadingOverloadsAlarmColoursAndTimes) {
    CGridFrame& frame = MakeGrid();
    frame.SetChannelAt(2, &doc.channels[2]);
    frame.OnViewHint(HINT_SCAN_STATE, {});
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(grid().Text(row, 2), "No Reading") << row;
        EXPECT_EQ(grid().Text(row, 3), "") << row;
        EXPECT_EQ(grid().CellStyle(row, 0)->interior, CDataGrid::kSilver) << row;
    }
    doc.Add(1, 101, 9.9e37, 1000.0, 2);
    doc.Add(1, 102, -9.9e37, 1000.0, 1);
    doc.Add(1, 103, 1.5, 1000.0, 0);
    Readings();
    EXPECT_EQ(grid().Text(1, 2), "OVLD VDC ");
    EXPECT_EQ(grid().Text(2, 2), "OVLD VDC ");
    EXPECT_EQ(grid().Text(3, 2), datagrid::ReadingText(1.5, "ADC") + " ");
    EXPECT_NE(grid().Text(3, 2).find("1.5"), std::string::npos);
    EXPECT_EQ(grid().Text(1, 3), "time");
    EXPECT_EQ(grid().CellStyle(1, 0)->interior, 0x0000FFu); // high: red
    EXPECT_EQ(grid().CellStyle(2, 0)->interior, 0xFF0000u); // low: blue
    EXPECT_EQ(grid().CellStyle(3, 0)->interior, CDataGrid::kSilver);
    EXPECT_EQ(grid().CellStyle(4, 2)->Value(), ""); // a free row stays empty

    // A new alarm colour waits for the next refresh; the background comes at once.
    GRAPHITEMPROPS high;
    high.mask = GRAPHITEMPROPS::kColor;
    high.color = 0x00FF00;
    EXPECT_TRUE(frame.SetAppearanceItem(CDataGrid::kHighItem, high, true));
    EXPECT_EQ(grid().CellStyle(1, 0)->interior, 0x0000FFu);
    GRAPHITEMPROPS back = high;
    back.color = 0x123456;
    EXPECT_TRUE(frame.SetAppearanceItem(CDataGrid::kBackgroundItem, back, true));
    EXPECT_EQ(grid().CellStyle(2, 3)->interior, 0x123456u);
    Readings();
    EXPECT_EQ(grid().CellStyle(1, 0)->interior, 0x00FF00u);
    EXPECT_EQ(grid().CellStyle(2, 0)->interior, 0xFF0000u);
    GRAPHITEMPROPS named;
    named.mask = GRAPHITEMPROPS::kName | GRAPHITEMPROPS::kColor;
    EXPECT_TRUE(frame.GetAppearanceItem(CDataGrid::kLowItem, named));
    EXPECT_EQ(named.itemName, "Low Alarm Limit");
    EXPECT_FALSE(frame.GetAppearanceItem(9, named));

    // The cells the grid's window reads are the grid's own, resolved once.
    tvane::GridCore core;
    grid().Attach(core);
    EXPECT_EQ(core.FindResolvedStyle(1, 2), grid().CellStyle(1, 2));
    EXPECT_EQ(core.GetCellText(1, 1), "<101>Oven");
    EXPECT_EQ(core.GetRowCount(), 20);
    grid().Detach();
}

TEST_F(DataGridTest, TheChannelListOfARow) {
    CGridFrame& frame = MakeGrid();
    doc.Add(1, 102, 2.0, 1000.0);
    Readings();
    const int resends = doc.resends;
    // The entry the cell shows already sends nothing.
    grid().ChoiceEnded(2, 2);
    EXPECT_EQ(doc.resends, resends);
    // Another channel: the row takes it, and the page resends the readings.
    grid().ChoiceEnded(2, 3);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(1)->Number, 103);
    EXPECT_EQ(grid().Text(2, 1), "<103>Line");
    EXPECT_EQ(doc.resends, resends + 1);
    // "<None>" frees the row.
    doc.Add(1, 103, 3.0, 1000.0, 2);
    Readings();
    grid().ChoiceEnded(2, 0);
    EXPECT_EQ(frame.GetChannelArray()->GetAt(1), nullptr);
    EXPECT_EQ(grid().GetRows().GetAt(1), nullptr);
    EXPECT_EQ(grid().Text(2, 1), "<None>");
    EXPECT_EQ(grid().Text(2, 2), "");
    EXPECT_EQ(grid().Text(2, 3), "");
    EXPECT_EQ(grid().CellStyle(2, 0)->interior, CDataGrid::kSilver);
}

TEST_F(DataGridTest, TheUpdateRateShowsEveryThirdBatchOfALiveScan) {
    CGridFrame& frame = MakeGrid();
    frame.SetUpdateRate(3);
    std::vector<std::string> shown;
    for (int scan = 1; scan <= 7; ++scan) {
        doc.byChannel.clear();
        doc.Add(scan, 101, scan, 1000.0 * scan);
        Readings();
        shown.push_back(grid().Text(1, 2));
    }
    const std::string none;
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_NE(shown[2], shown[1]);
    EXPECT_EQ(shown[3], shown[2]);
    EXPECT_EQ(shown[4], shown[2]);
    EXPECT_NE(shown[5], shown[4]);
    EXPECT_EQ(shown[6], shown[5]);
    EXPECT_EQ(shown[5], datagrid::ReadingText(6, "VDC") + " ");
    // Stored readings are shown at once.
    doc.readings = 10;
    doc.byChannel.clear();
    doc.Add(8, 101, 8.0, 8000.0);
    Readings();
    EXPECT_EQ(grid().Text(1, 2), datagrid::ReadingText(8, "VDC") + " ");
}

TEST_F(DataGridTest, AReloadShowsItsLastBatchAndClearsRowsOfOtherScans) {
    MakeGrid();
    doc.readings = 100;
    doc.Add(5, 101, 1.0, 5000.0);
    doc.Add(4, 102, 2.0, 4000.0);
    CDisplayRecord batch;
    batch.m_first = 1;
    batch.m_second = 3;
    batch.m_third = 5;
    EXPECT_EQ(grid().Text(1, 2), "No Reading");
    EXPECT_EQ(frames.back()->OnViewHint(HINT_NEW_READINGS, &batch), 0);
    EXPECT_EQ(grid().Text(1, 2), "No Reading");
    batch.m_first = 3;
    frames.back()->OnViewHint(HINT_NEW_READINGS, &batch);
    EXPECT_EQ(grid().Text(1, 2), datagrid::ReadingText(1.0, "VDC") + " ");
    EXPECT_EQ(grid().Text(2, 2), "No Reading");
    // The document's own reload: the scan shown is the newest of the rows'.
    CRunRecord reload;
    reload.m_kind = CRunRecord::kReloadStart;
    doc.byChannel.clear();
    doc.Add(7, 101, 3.0, 7000.0);
    doc.Add(7, 102, 4.0, 7000.0);
    frames.back()->OnViewHint(HINT_NEW_READINGS, &reload);
    EXPECT_EQ(grid().Text(2, 2), datagrid::ReadingText(4.0, "VDC") + " ");
    doc.byChannel.erase(102);
    frames.back()->OnViewHint(HINT_NEW_READINGS, &reload);
    EXPECT_EQ(grid().Text(2, 2), "No Reading");
}

TEST_F(DataGridTest, PrintingTheSelectionByPagesWithTheHeaderOnEach) {
    CGridFrame& frame = MakeGrid();
    // Sheets that hold 5, 10, 19 and 20 rows under the header and the footer room.
    const auto sheet = [](int rows) {
        return GRect{0, 0, 600, CGridFrame::kPrintTop + 44 + 22 * (rows + 1)};
    };
    struct Case {
        int rowsPerPage;
        int pages;
    };
    for (const Case c : {Case{5, 4}, Case{10, 2}, Case{19, 2}, Case{20, 1}}) {
        EXPECT_EQ(frame.BeginSelectionPrint(sheet(c.rowsPerPage)), c.pages) << c.rowsPerPage;
        EXPECT_EQ(frame.GetRowsPerPage(), c.rowsPerPage);
    }
    // Through the page: each sheet draws the next rows, the header above them.
    ASSERT_TRUE(view.CreateDisplay(32808));
    ASSERT_NE(dynamic_cast<CGridFrame*>(view.GetSelected()), nullptr);
    RecordingDC dc;
    windows.drawn.clear();
    int sheets = 1;
    view.PrintPage(dc, true, sheet(10), [&] { ++sheets; });
    EXPECT_EQ(sheets, 2);
    ASSERT_EQ(windows.drawn.size(), 2u);
    EXPECT_EQ(windows.drawn[0].first, 1);
    EXPECT_EQ(windows.drawn[1].first, 11);
    EXPECT_EQ(windows.drawn[1].rect.Height(), 11 * 22);
    // Without a way to another sheet the selection stays on one.
    view.PrintPage(dc, true, sheet(10));
    EXPECT_EQ(windows.drawn.size(), 3u);
}

TEST_F(DataGridTest, CopyingTakesTheStoredReadingsOfTheShownScan) {
    CGridFrame& frame = MakeGrid();
    EXPECT_EQ(frame.CopyDisplayedData(), "");
    doc.readings = 50;
    doc.Add(3, 101, 1.0, 3000.0);
    doc.Add(3, 102, 2.0, 3000.0);
    Readings();
    EXPECT_EQ(frame.CopyDisplayedData(), "exported");
    ASSERT_EQ(doc.queries.size(), 1u);
    const CReadingQuery& q = doc.queries[0];
    EXPECT_EQ(q.m_startTime, 3000.0);
    EXPECT_EQ(q.m_endTime, 3000.0);
    EXPECT_EQ(q.m_selectedNumbers, (std::vector<std::uint32_t>{101, 102}));
    EXPECT_EQ(q.m_channelNumbers, (std::vector<std::uint32_t>{101, 102}));
    EXPECT_EQ(q.m_destination, CReadingQuery::kToClipboard);
    EXPECT_EQ(q.m_separator, '\t');
    EXPECT_EQ(q.m_alarmFlag, 1);
}

TEST_F(DataGridTest, TheFrameSnapsToWholeRows) {
    CGridFrame& frame = MakeGrid();
    const GRect data = frame.GetDataRect();
    GRect r = frame.GetWindow()->GetWindowRect();
    r.bottom += 7 * 22 + 11 - data.Height();
    frame.GetWindow()->MoveWindow(r, true);
    frame.OnSize();
    EXPECT_EQ(frame.GetDataRect().Height(), 7 * 22);
}

TEST_F(DataGridTest, TwoGridsStoreAndLoadByteForByte) {
    MakeGrid();
    CGridFrame& second = MakeGrid();
    second.SetChannelAt(5, &doc.channels[2]);
    doc.Add(2, 101, 1.25, 2000.0, 1);
    doc.Add(2, 103, 7.0, 2000.0, 2);
    for (auto& f : frames)
        f->OnViewHint(HINT_NEW_READINGS, {});
    second.SetUpdateRate(4);
    const Bytes bytes = Store([&](tvane::CArchive& ar) {
        for (auto& f : frames)
            ar.WriteObject(f.get());
    });
    std::vector<std::unique_ptr<CGridFrame>> loaded;
    Load(bytes, [&](tvane::CArchive& ar) {
        for (int i = 0; i < 2; ++i)
            loaded.push_back(ar.ReadOwnedObject<CGridFrame>());
    });
    ASSERT_EQ(loaded.size(), 2u);
    for (auto& f : loaded)
        ASSERT_TRUE(f && f->RecreateFrame(&view, 1));
    EXPECT_EQ(loaded[1]->GetGrid()->Text(6, 1), "<103>Line");
    EXPECT_EQ(loaded[1]->GetGrid()->Text(6, 2), grid().Text(6, 2));
    EXPECT_EQ(loaded[1]->GetGrid()->CellStyle(6, 0)->interior, 0x0000FFu);
    EXPECT_EQ(loaded[1]->GetUpdateRate(), 4);
    const Bytes again = Store([&](tvane::CArchive& ar) {
        for (auto& f : loaded)
            ar.WriteObject(f.get());
    });
    EXPECT_EQ(again, bytes);
    // A loaded row keeps its reading's text as it was shown.
    loaded[0]->OnViewHint(HINT_SCAN_STATE, {});
    doc.byChannel.clear();
    loaded[0]->OnViewHint(HINT_NEW_READINGS, {});
    EXPECT_EQ(loaded[0]->GetGrid()->Text(1, 2), "No Reading");
}

// A new grid's reading and time columns are fitted to the texts its channels
// and the document's time format give; a loaded grid keeps its stored widths
// until a channel is chosen in it.
TEST_F(DataGridTest, NewGridsFitTheirTextColumnsAndLoadedOnesKeepTheirWidths) {
    MakeGrid();
    FakeGridWindow& made = *windows.last;
    auto fittedTo = [](FakeGridWindow& window, int col, const std::string& text) {
        const auto& texts = window.fitted[col];
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_TRUE(fittedTo(made, CDataGrid::kReadingCol, "OVLD VDC "));
    EXPECT_TRUE(fittedTo(made, CDataGrid::kReadingCol, "No Reading"));
    EXPECT_TRUE(fittedTo(made, CDataGrid::kTimeCol, "time"));
    EXPECT_FALSE(fittedTo(made, CDataGrid::kReadingCol, "OVLD ADC "));
    frames.back()->SetChannelAt(4, &doc.channels[2]);
    EXPECT_TRUE(fittedTo(made, CDataGrid::kReadingCol, "OVLD ADC "));

    const Bytes bytes = Store([&](tvane::CArchive& ar) { ar.WriteObject(frames.back().get()); });
    std::unique_ptr<CGridFrame> loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded = ar.ReadOwnedObject<CGridFrame>(); });
    ASSERT_TRUE(loaded && loaded->RecreateFrame(&view, 1));
    EXPECT_TRUE(windows.last->fitted.empty());
}

// No value of any magnitude gives a longer reading text than the widest
// samples of its unit (a longer one would be cut in a fitted column).
TEST(DataGridRowsTest, ReadingSamplesAreTheLongestFormsOfTheirUnit) {
    for (const std::string unit : {"VDC", "degC", "", "Ohm"}) {
        std::size_t widest = 0;
        for (const std::string& sample : datagrid::ReadingSamples(unit))
            widest = std::max(widest, sample.size());
        for (int exponent = -36; exponent <= 36; ++exponent)
            for (double mantissa : {1.0, 1.23456789, 9.99999999})
                for (double sign : {1.0, -1.0}) {
                    const double value = sign * mantissa * std::pow(10.0, exponent);
                    EXPECT_LE(datagrid::ReadingText(value, unit).size() + 1, widest)
                        << unit << " " << value;
                }
    }
}

TEST(DataGridRowsTest, TextsAreCutAt79AndBadCountsRejectTheArchive) {
    CGridData row;
    row.SetReading(std::string(200, 'r'));
    row.SetTime(std::string(80, 't'));
    EXPECT_EQ(row.GetReading().size(), 79u);
    EXPECT_EQ(row.GetTime().size(), 79u);
    // A stored text longer than a row holds is cut on load.
    const Bytes longText = Store([](tvane::CArchive& ar) {
        ar << std::string(300, 'x') << std::string("V") << std::string("t") << std::int32_t{1};
    });
    CGridData loaded;
    Load(longText, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetReading(), std::string(79, 'x'));
    EXPECT_EQ(loaded.GetAlarm(), 1);

    struct Bad {
        const char* what;
        Bytes bytes;
    };
    const std::vector<Bad> bad = {
        {"alarm state", Store([](tvane::CArchive& ar) {
             ar << std::string("a") << std::string("b") << std::string("c") << std::int32_t{7};
         })},
        {"row count", Store([](tvane::CArchive& ar) { ar.WriteCount(100000); })},
    };
    for (const Bad& b : bad) {
        CGridData data;
        CGridDataArray rows;
        EXPECT_THROW(Load(b.bytes,
                          [&](tvane::CArchive& ar) {
                              if (std::string(b.what) == "alarm state")
                                  data.Serialize(ar);
                              else
                                  rows.Serialize(ar);
                          }),
                     tvane::CArchiveException)
            << b.what;
    }
}

TEST(DataGridRowsTest, AGridWhoseCountsDisagreeRejectsTheArchive) {
    CDataGrid grid;
    ASSERT_FALSE(grid.Create(4)); // no frame to list channels
    const Bytes good = Store([&](tvane::CArchive& ar) { grid.Serialize(ar); });
    {
        CDataGrid copy;
        Load(good, [&](tvane::CArchive& ar) { copy.Serialize(ar); });
        EXPECT_EQ(copy.RowCount(), 4);
    }
    // The row count follows the rows array.
    CGridDataArray four;
    four.SetSize(4);
    const std::size_t rowCountAt =
        Store([&](tvane::CArchive& ar) { ar.WriteObject(&four); }).size();
    for (const std::uint32_t count : {0u, 5u, 100000u}) {
        Bytes bad = good;
        for (int i = 0; i < 4; ++i)
            bad[rowCountAt + i] = static_cast<std::uint8_t>(count >> (8 * i));
        CDataGrid copy;
        EXPECT_THROW(Load(bad, [&](tvane::CArchive& ar) { copy.Serialize(ar); }),
                     tvane::CArchiveException)
            << count;
        EXPECT_EQ(copy.RowCount(), 1); // untouched
    }
}

} // namespace
