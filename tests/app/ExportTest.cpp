// The text export of readings, events and the setup listing: layouts, options,
// the locale format, chunking with computed channels, files and the clipboard.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/IExportServices.h"
#include "platform/core/Format.h"
#include "platform/core/FrameworkExceptions.h"
#include "platform/core/LocaleFormats.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/InstrumentFixture.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

class FakeClipboard final : public IClipboard {
public:
    bool opens = true;
    std::string text;
    std::vector<bool> emptied;
    bool SetText(const std::string& t, bool emptyFirst) override {
        emptied.push_back(emptyFirst);
        if (opens)
            text = t;
        return opens;
    }
};

class FakeExportDialog final : public IExportDataDialog {
public:
    bool ok = true;
    int runs = 0;
    std::function<void(CReadingQuery&)> edit;
    bool Run(CLoggerDoc&, CReadingQuery& query) override {
        ++runs;
        if (edit)
            edit(query);
        return ok;
    }
};

class FakeDiskSpace final : public IDiskSpaceCheck {
public:
    double free = 1e12;
    double asked = 0;
    bool HasFreeSpace(double bytes, const std::string&) override {
        asked = bytes;
        return bytes <= free;
    }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text ends without CR LF";
    return lines;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A dataset of channels 101..103 (units VDC on 101) with readings added scan by
// scan; every reading's value is scan + channel / 1000.
class ExportTest : public ScanEngineTest {
protected:
    void SetUp() override {
        ScanEngineTest::SetUp();
        services.clipboard = &clipboard;
        services.instrumentUi = &ui;
        Wire();
        doc->CountActiveChannelsPerSlot();
        doc->GetSetupRow(0)->Units = "VDC";
        doc->GetSetupRow(0)->ChannelName = "Inlet";
    }
    void TearDown() override {
        services.instrumentUi = nullptr;
        Wire();
        ScanEngineTest::TearDown();
    }
    static double ValueOf(std::int32_t scan, std::int16_t channel) {
        return scan + channel / 1000.0;
    }
    // Scans first..last of the channels, leaving out the (scan, channel) pairs
    // in missing; alarmed pairs get the high alarm state.
    void AddScans(std::int32_t first, std::int32_t last,
                  std::vector<std::int16_t> channels = {101, 102, 103},
                  std::vector<std::pair<std::int32_t, std::int16_t>> missing = {},
                  std::vector<std::pair<std::int32_t, std::int16_t>> alarmed = {}) {
        std::vector<ReadingRecord> records;
        for (std::int32_t scan = first; scan <= last; ++scan)
            for (std::int16_t ch : channels) {
                const auto key = std::make_pair(scan, ch);
                if (std::find(missing.begin(), missing.end(), key) != missing.end())
                    continue;
                const bool alarm = std::find(alarmed.begin(), alarmed.end(), key) != alarmed.end();
                records.push_back(Reading(scan, ch, ValueOf(scan, ch), alarm ? 2 : 0));
            }
        for (std::size_t i = 0; i < records.size(); i += 1000)
            ASSERT_TRUE(doc->GetDataset()->AppendReadings(
                records.data() + i,
                static_cast<std::int16_t>(std::min<std::size_t>(1000, records.size() - i))));
        doc->GetDataset()->WriteHeader();
    }
    CReadingQuery Query(std::int16_t layout,
                        std::vector<std::uint32_t> selected = {101, 102, 103}) {
        CReadingQuery q;
        q.m_layout = layout;
        q.m_timeStamp = 0;
        q.m_seconds = 0;
        q.m_units = 0;
        q.m_selectedNumbers = selected;
        doc->GetExport().GetScanChannelList(q.m_channelNumbers);
        q.m_startTime = doc->GetDataset()->GetFirstTime();
        q.m_endTime = doc->GetDataset()->GetLastTime();
        q.m_fileName = (home.Data() / "out.csv").string();
        q.m_previousFileName = (home.Data() / "previous.csv").string();
        return q;
    }
    std::vector<std::string> Export(CReadingQuery& q, bool expected = true) {
        EXPECT_EQ(doc->GetExport().ExportReadings(q, true, 669), expected);
        return Lines(ReadFile(q.m_fileName));
    }
    std::string Stamp(std::int32_t scan) {
        return "\"" + doc->FormatReadingTime(scan * 1000.0 + 0.75) + "\"";
    }

    FakeClipboard clipboard;
    FakeInstrumentUi ui;
};

TEST_F(ExportTest, RowsLayoutWritesOneLinePerReadingAndKeepsMissingOnesAsChannelOnly) {
    AddScans(1, 5, {101, 102, 103}, {{5, 102}});
    CReadingQuery q = Query(CReadingQuery::kRows);
    q.m_timeStamp = q.m_seconds = q.m_units = q.m_alarmFlag = 1;
    const auto lines = Export(q);
    ASSERT_EQ(lines.size(), 1u + 15u);
    EXPECT_EQ(lines[0], "Time stamp,Seconds,Channel ID,Value,Units,Alarm");
    EXPECT_EQ(lines[1], Stamp(1) + ",1.001,101,+1.101000E+00,VDC,0");
    EXPECT_EQ(lines[2], Stamp(1) + ",1.001,102,+1.102000E+00,,0");
    EXPECT_EQ(lines[14], ",,102");
    EXPECT_EQ(lines[15], Stamp(5) + ",5.001,103,+5.103000E+00,,0");
    EXPECT_EQ(ui.progress.back(), "pos 100");
}

TEST_F(ExportTest, ColumnsLayoutHeadersAndMissingCellsKeepTheColumnsAligned) {
    AddScans(1, 3, {101, 102, 103}, {{2, 101}, {3, 101}, {3, 102}});
    struct Case {
        bool timeStamp, units, alarm;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {false,
         false,
         false,
         {"101(Value),102(Value)", "+1.101000E+00,+1.102000E+00", ",+2.102000E+00", ","}},
        {true,
         true,
         false,
         {"101(Time stamp),101(VDC),102(Time stamp),102(Value)",
          Stamp(1) + ",+1.101000E+00," + Stamp(1) + ",+1.102000E+00",
          ",," + Stamp(2) + ",+2.102000E+00", ",,,"}},
        {false,
         false,
         true,
         {"101(Value),101(Alarm),102(Value),102(Alarm)", "+1.101000E+00,0,+1.102000E+00,0",
          ",,+2.102000E+00,0", ",,,"}},
    };
    for (const Case& c : cases) {
        CReadingQuery q = Query(CReadingQuery::kColumns, {101, 102});
        q.m_timeStamp = c.timeStamp;
        q.m_units = c.units;
        q.m_alarmFlag = c.alarm;
        EXPECT_EQ(Export(q), c.expected) << c.timeStamp << c.units << c.alarm;
    }
}

TEST_F(ExportTest, AlarmedOnlyDropsQuietScansInColumnsAndBlanksReadingsInRows) {
    AddScans(1, 3, {101, 102, 103}, {}, {{1, 102}, {3, 101}});
    CReadingQuery columns = Query(CReadingQuery::kColumns, {101, 102});
    columns.m_alarmedOnly = 1;
    EXPECT_EQ(Export(columns), (std::vector<std::string>{"101(Value),102(Value)", ",+1.102000E+00",
                                                         "+3.101000E+00,"}));

    CReadingQuery rows = Query(CReadingQuery::kRows, {101, 102});
    rows.m_alarmedOnly = rows.m_seconds = rows.m_timeStamp = 1;
    const auto lines = Export(rows);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], ",,101");
    EXPECT_EQ(lines[2], Stamp(1) + ",1.001,102,+1.102000E+00");
    EXPECT_EQ(lines[3], ",,101");
    EXPECT_EQ(lines[4], ",,102");
    EXPECT_EQ(lines[6], ",,102");
}

TEST_F(ExportTest, LocaleFormatUsesTheListSeparatorAndDecimalSymbolWithoutSwitchingTheCLocale) {
    LocaleFormats formats;
    formats.listSeparator = ";";
    formats.decimalSeparator = ",";
    FixedLocaleFormats locale(formats);
    ScopedService<ILocaleFormats> service(SetLocale, &locale);
    AddScans(1, 1);
    CReadingQuery q = Query(CReadingQuery::kColumns, {101, 102});
    q.m_seconds = 1;
    q.m_outputFormat = CReadingQuery::kLocale;
    q.m_separator = ';';
    q.m_useLocale = 1;
    EXPECT_EQ(Export(q),
              (std::vector<std::string>{"101(Seconds);101(Value);102(Seconds);102(Value)",
                                        "1,001;+1,101000E+00;1,001;+1,102000E+00"}));
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    EXPECT_STREQ(text, "1.5");
}

TEST_F(ExportTest, ChunksOfWholeScansCarryComputedChannelsAcrossMissingReadings) {
    AddComputedSum(*doc);
    // Enough scans for several chunks; readings missing near the chunk ends.
    AddScans(1, 2000, {101, 102, 103}, {{630, 103}, {631, 101}, {1260, 102}, {1890, 103}});
    CReadingQuery q = Query(CReadingQuery::kColumns, {101, 102, 103, 901});
    doc->GetExport().GetScanChannelList(q.m_channelNumbers);
    q.m_seconds = 1;
    const auto lines = Export(q);
    ASSERT_EQ(lines.size(), 2001u);
    for (std::int32_t scan = 1; scan <= 2000; ++scan) {
        const std::string& line = lines[static_cast<std::size_t>(scan)];
        const std::string seconds = Format("%0.3lf", scan + 0.00075);
        ASSERT_EQ(line.rfind(scan == 631 ? "," : seconds, 0), 0u) << line;
        if (scan == 630 || scan == 631 || scan == 1260 || scan == 1890)
            continue; // a missing operand or last channel leaves the sum out or stale
        // 901 = 101 + 102, written as the last column.
        const std::string sum = Format("%+E", ValueOf(scan, 101) + ValueOf(scan, 102));
        ASSERT_EQ(line.substr(line.size() - sum.size()), sum) << line;
    }
}

TEST_F(ExportTest, SpansOutsideTheReadingsAndMissingReadingsExportNothing) {
    CReadingQuery q = Query(CReadingQuery::kRows);
    EXPECT_FALSE(doc->GetExport().ExportReadings(q, true, 669)); // no readings at all
    EXPECT_FALSE(std::filesystem::exists(q.m_fileName));

    AddScans(1, 3);
    q.m_startTime = doc->GetDataset()->GetLastTime() + 5000.0;
    q.m_endTime = q.m_startTime;
    EXPECT_TRUE(doc->GetExport().ExportReadings(q, true, 669));
    EXPECT_EQ(ReadFile(q.m_fileName), "");
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(ExportTest, AFileThatCannotBeCreatedRevertsTheNameAndIsReportedByTheCommand) {
    AddScans(1, 3);
    CReadingQuery q = Query(CReadingQuery::kRows);
    q.m_fileName = (home.Data() / "missing" / "out.csv").string();
    EXPECT_THROW(doc->GetExport().ExportReadings(q, true, 669), FileException);
    EXPECT_EQ(q.m_fileName, q.m_previousFileName);

    FakeExportDialog dialog;
    dialog.edit = [&](CReadingQuery& request) {
        request.m_fileName = (home.Data() / "missing" / "out.csv").string();
        request.m_previousFileName = "kept.csv";
    };
    services.exportDialog = &dialog;
    Wire();
    doc->OnExportData();
    EXPECT_EQ(doc->GetExportRequest().m_fileName, "kept.csv");
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].text.find("out.csv"), std::string::npos);
}

TEST_F(ExportTest, CancelStopsTheExportKeepingTheLinesWritten) {
    AddScans(1, 50);
    ui.cancelAfter = 3;
    CReadingQuery q = Query(CReadingQuery::kColumns);
    const auto lines = Export(q, false);
    EXPECT_LT(lines.size(), 51u);
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(prompter.Texts(),
              std::vector<std::string>{"User cancelled action before all data was exported"});
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Error);
    EXPECT_NE(std::find(ui.progress.begin(), ui.progress.end(), "Processing 2 of 50 scans"),
              ui.progress.end());
}

TEST_F(ExportTest, ClipboardTakesTheTextOrReportsThatItIsHeld) {
    AddScans(1, 2);
    CReadingQuery q = Query(CReadingQuery::kColumns, {101});
    q.m_destination = CReadingQuery::kToClipboard;
    EXPECT_TRUE(doc->GetExport().ExportReadings(q, false, 269));
    EXPECT_EQ(clipboard.text, "101(Value)\r\n+1.101000E+00\r\n+2.101000E+00\r\n");
    EXPECT_EQ(clipboard.emptied, std::vector<bool>{false});
    EXPECT_EQ(ui.progress.front(), "Copying Data");

    clipboard.opens = false;
    EXPECT_FALSE(doc->GetExport().ExportReadings(q, true, 269));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "Unsuccessful copy to the clipboard - Clipboard already opened");
    EXPECT_EQ(prompter.asked[0].helpId, 13198u);
}

TEST_F(ExportTest, TooLittleDiskSpaceStopsBeforeWriting) {
    AddScans(1, 10);
    FakeDiskSpace disk;
    disk.free = 100;
    services.diskSpaceCheck = &disk;
    Wire();
    CReadingQuery q = Query(CReadingQuery::kColumns);
    EXPECT_FALSE(doc->GetExport().ExportReadings(q, true, 669));
    EXPECT_GT(disk.asked, 1000.0 + 10 * 3 * 14);
    EXPECT_EQ(ReadFile(q.m_fileName), "");
}

TEST_F(ExportTest, EventsGoToAFileInBatchesAndTheClipboardTakesTheFirstBatch) {
    for (int i = 0; i < 30002; ++i) {
        CDatasetEvent event(CDatasetEvent::User, i == 0 ? -1 : 101, 1000.0 + i,
                            i == 0 ? "first" : "x");
        doc->GetDataset()->AppendEvent(event);
    }
    CReadingQuery q = Query(CReadingQuery::kRows);
    q.m_eventStartTime = -1.0;
    q.m_eventEndTime = 1e9;
    EXPECT_TRUE(doc->GetExport().ExportEvents(q));
    const auto lines = Lines(ReadFile(q.m_fileName));
    ASSERT_EQ(lines.size(), 30003u);
    EXPECT_EQ(lines[0], "Date/Time,EventType,ChannelID,Description");
    EXPECT_EQ(lines[1], doc->FormatReadingTime(1000.0) + ",User,-1,first");
    EXPECT_EQ(lines[30002], doc->FormatReadingTime(31001.0) + ",User,101,x");

    q.m_destination = CReadingQuery::kToClipboard;
    EXPECT_TRUE(doc->GetExport().ExportEvents(q));
    EXPECT_EQ(Lines(clipboard.text).size(), 30002u);
    EXPECT_EQ(clipboard.emptied.back(), true);

    // A span inside the events: both ends inclusive, nothing past the end.
    q.m_destination = CReadingQuery::kToFile;
    q.m_eventStartTime = 1002.0;
    q.m_eventEndTime = 1004.5;
    EXPECT_TRUE(doc->GetExport().ExportEvents(q));
    const auto span = Lines(ReadFile(q.m_fileName));
    ASSERT_EQ(span.size(), 4u);
    EXPECT_EQ(span[1].substr(0, doc->FormatReadingTime(1002.0).size()),
              doc->FormatReadingTime(1002.0));
    EXPECT_EQ(span[3].substr(0, doc->FormatReadingTime(1004.0).size()),
              doc->FormatReadingTime(1004.0));
}

TEST_F(ExportTest, SetupListingHasAHeaderAndEveryRow) {
    CReadingQuery q = Query(CReadingQuery::kRows);
    q.m_separator = '\t';
    EXPECT_TRUE(doc->GetExport().ExportSetupListing(q));
    const auto lines = Lines(ReadFile(q.m_fileName));
    ASSERT_EQ(lines.size(), 1u + 3u); // the empty fourth row slot has no row
    EXPECT_EQ(
        lines[0],
        "ChannelID\tInScan\tChannelName\tFunction\tRange\tResolution\tScaling\tGain\tOffset\tLabel"
        "\t"
        "Alarms\tHighLimit\tLowLimit\tH//WAlarm\tComment\tCardType\tAdvSettings\tAlrmAdvSettings");
    EXPECT_EQ(lines[1].substr(0, 15), "101\tYes\tInlet\t\t");
    EXPECT_EQ(std::count(lines[1].begin(), lines[1].end(), '\t'), 17);
}

TEST_F(ExportTest, ChannelListIsTheFirstScanSortedThenComputedRows) {
    AddComputedSum(*doc);
    AddScans(1, 2, {102, 101, 301});
    std::vector<std::uint32_t> numbers;
    doc->GetExport().GetScanChannelList(numbers);
    EXPECT_EQ(numbers, (std::vector<std::uint32_t>{101, 102, 301, 901}));
    std::vector<std::string> labels;
    doc->GetExport().GetScanChannelList(labels);
    EXPECT_EQ(labels, (std::vector<std::string>{"<101> Inlet", "<102>", "<301>", "<901>"}));

    std::vector<std::uint32_t> list{101, 301};
    for (std::uint32_t ch : {201u, 101u, 901u, 100u})
        CTextExport::InsertChannelSorted(ch, list);
    EXPECT_EQ(list, (std::vector<std::uint32_t>{100, 101, 201, 301, 901}));
}

TEST_F(ExportTest, ExportDataCommandRefreshesTheRequestAndExportsAfterOk) {
    AddScans(1, 4);
    CReadingQuery& q = doc->GetExportRequest();
    q.m_selectedNumbers = {777};
    EXPECT_TRUE(doc->IsExportDataEnabled());
    doc->OnExportData(); // no dialog: the request is refreshed only
    EXPECT_EQ(q.m_startTime, doc->GetDataset()->GetFirstTime());
    EXPECT_EQ(q.m_endTime, doc->GetDataset()->GetLastTime());
    EXPECT_EQ(q.m_selectedNumbers, (std::vector<std::uint32_t>{101, 102, 103}));
    EXPECT_EQ(q.m_selectedLabels.front(), "<101> Inlet");

    FakeExportDialog dialog;
    services.exportDialog = &dialog;
    Wire();
    const std::string file = q.m_fileName;
    doc->GetExport().SetSkipDialog(true);
    doc->OnExportData();
    EXPECT_EQ(dialog.runs, 0);
    doc->GetExport().SetSkipDialog(false);
    doc->OnExportData();
    EXPECT_EQ(dialog.runs, 1);
    EXPECT_EQ(Lines(ReadFile(file)).size(), 5u);
    EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Export successful to " + file});
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Information);
    EXPECT_NE(q.m_fileName, file);
    EXPECT_EQ(q.m_fileName.substr(q.m_fileName.size() - 4), ".csv");

    doc->GetScanEngine().BeginRun();
    EXPECT_FALSE(doc->IsExportDataEnabled());
}

TEST_F(ExportTest, ExportAfterScanRefreshesTheRequestWithoutTheDialogAndShowsFailures) {
    AddScans(1, 3);
    FakeExportDialog dialog;
    services.exportDialog = &dialog;
    Wire();
    CReadingQuery& q = doc->GetExportRequest();
    q.m_selectedNumbers.clear();
    EXPECT_TRUE(doc->ExportReadingsAfterScan());
    EXPECT_EQ(dialog.runs, 0);
    EXPECT_FALSE(doc->GetExport().SkipsDialog());
    const auto lines = Lines(ReadFile(q.m_fileName));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].substr(0, 30), "101(Time stamp),101(Seconds),1");

    q.m_fileName = (home.Data() / "missing" / "run.csv").string();
    EXPECT_FALSE(doc->ExportReadingsAfterScan());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].text.find("run.csv"), std::string::npos);
}

} // namespace
} // namespace tvane::test
