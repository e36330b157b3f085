#include <limits>

#include "tests/database/DatasetTestSupport.h"

using namespace dataset_test;

namespace {

class DatasetReadingsTest : public DatasetFileTest {};

TEST_F(DatasetReadingsTest, HeaderBytes) {
    {
        CDataset dataset;
        CreateDataset(dataset, "Z6101010.100", 3);
        Append(dataset, MakeScans(4, 3, 7, 250.0));
        dataset.SetBrowsePosition(1300.0);
        dataset.SetBrowseScan(2);
        dataset.SetFirstTick(111.5);
        dataset.SetLastTick(3250.25);
        dataset.SetRunValue(-2);
        CDatasetEvent ev(CDatasetEvent::Stop, 104, 400.0, "end");
        dataset.AppendEvent(ev);
        ev.m_time = 900.0;
        dataset.AppendEvent(ev);
    }
    store.Close();
    const auto h = StreamBytes(path, {"Z6101010.100", "Header"});
    ASSERT_EQ(h.size(), 76u);
    EXPECT_EQ(At<std::int32_t>(h, 0), 12);
    EXPECT_EQ(At<std::int16_t>(h, 4), 3);
    EXPECT_EQ(At<std::uint32_t>(h, 6), 1'700'000'000u);
    EXPECT_EQ(At<double>(h, 10), 250.0);
    EXPECT_EQ(At<double>(h, 18), 3251.0);
    EXPECT_EQ(At<double>(h, 26), 1300.0);
    EXPECT_EQ(At<std::int32_t>(h, 34), 2);
    EXPECT_EQ(At<double>(h, 38), 111.5);
    EXPECT_EQ(At<double>(h, 46), 3250.25);
    EXPECT_EQ(At<std::int32_t>(h, 54), 2);
    EXPECT_EQ(At<double>(h, 58), 400.0);
    EXPECT_EQ(At<double>(h, 66), 900.0);
    EXPECT_EQ(At<std::int16_t>(h, 74), -2);

    const auto readings = StreamBytes(path, {"Z6101010.100", "Readings"});
    ASSERT_EQ(readings.size(), 12u * 26u);
    EXPECT_EQ(At<std::int32_t>(readings, 26 * 5), 8);       // scan number
    EXPECT_EQ(At<std::int16_t>(readings, 26 * 5 + 4), 103); // channel
    EXPECT_EQ(At<double>(readings, 26 * 5 + 7), 1251.0);    // time

    // and the values come back on open
    ASSERT_TRUE(store.Open(path, kOpenMode));
    CDataset dataset;
    ASSERT_TRUE(dataset.Open(&store, "z6101010.100"));
    EXPECT_EQ(dataset.GetReadingCount(), 12);
    EXPECT_EQ(dataset.GetChannelCount(), 3);
    EXPECT_EQ(dataset.GetStartTime().GetTime(), 1'700'000'000);
    EXPECT_EQ(dataset.GetBrowseScan(), 2);
    EXPECT_EQ(dataset.GetFirstTick(), 111.5);
    EXPECT_EQ(dataset.GetLastTick(), 3250.25);
    EXPECT_EQ(dataset.GetRunValue(), -2);
    EXPECT_EQ(dataset.GetEventCount(), 2);
    EXPECT_EQ(dataset.GetFirstEventTime(), 400.0);
    EXPECT_EQ(dataset.GetLastEventTime(), 900.0);
    EXPECT_EQ(dataset.GetScanCount(), 4);
    EXPECT_DOUBLE_EQ(dataset.GetScanInterval(), (3251.0 - 250.0) / 4.0);
    dataset.Close();
    DatasetDirEntry entry;
    ASSERT_TRUE(store.FindDataset("Z6101010.100", &entry));
    EXPECT_EQ(entry.GetKey(), "Z6101010.100") << "the listed key keeps its spelling";
}

// A run's readings in batches around the buffer's size, read back by index and by scan.
TEST_F(DatasetReadingsTest, BatchesAroundTheBufferSizeComeBackByIndexAndByScan) {
    const int channels = 4;
    const auto all = MakeScans(700, channels); // 2800 records; the buffer holds 630
    {
        CDataset dataset;
        CreateDataset(dataset, "Z1", channels);
        const int batches[] = {1, 4, 100, 629, 631, 1, 1200};
        std::size_t at = 0;
        for (int n : batches) {
            ASSERT_TRUE(dataset.AppendReadings(all.data() + at, static_cast<std::int16_t>(n)));
            at += n;
        }
        while (at < all.size()) {
            const std::size_t n = std::min<std::size_t>(37, all.size() - at);
            ASSERT_TRUE(dataset.AppendReadings(all.data() + at, static_cast<std::int16_t>(n)));
            at += n;
        }
        ASSERT_TRUE(dataset.FlushReadings());
        dataset.Close();
    }
    store.Close();
    ASSERT_TRUE(store.Open(path, kOpenMode));
    CDataset dataset;
    ASSERT_TRUE(dataset.Open(&store, "Z1"));
    EXPECT_EQ(dataset.GetReadingCount(), 2800);
    EXPECT_EQ(dataset.GetScanCount(), 700);

    std::vector<ReadingRecord> back(all.size() + 10);
    ASSERT_EQ(dataset.ReadReadings(back.data(), static_cast<std::int16_t>(back.size()), 0), 2800);
    for (std::size_t i = 0; i < all.size(); ++i)
        ASSERT_TRUE(SameRecord(back[i], all[i])) << "record " << i;
    ASSERT_EQ(dataset.ReadReadings(back.data(), 10, 2795), 5);
    EXPECT_TRUE(SameRecord(back[0], all[2795]));

    // by scan: from a guess anywhere in the run
    const std::int32_t scanBytes = channels * 26;
    for (std::int32_t scan : {1, 2, 350, 700}) {
        for (std::int32_t guess : {26, (scan - 1) * scanBytes + 52, 2800 * 26}) {
            EXPECT_EQ(dataset.FindScanPosition(scan, guess), (scan - 1) * scanBytes)
                << "scan " << scan << " guess " << guess;
        }
    }
    EXPECT_EQ(dataset.FindScanPosition(701, 100 * scanBytes), 2800 * 26);
    std::int32_t first = -1, count = -1;
    dataset.GetScanWindow(300, 10, 299 * scanBytes, &first, &count);
    EXPECT_EQ(first, 289 * channels); // scans 290 .. 300
    EXPECT_EQ(count, 11 * channels);
}

TEST_F(DatasetReadingsTest, ScanCountTakesTheCeilingAndTheScanNumbers) {
    struct Case {
        int firstScan;
        int scanStep;
        int expected;
    };
    // 10 readings of 3 channels: 4 scans by the ceiling; numbers 5 .. 9 make 5.
    for (const Case c : {Case{1, 0, 4}, Case{5, 1, 5}}) {
        CDataset dataset;
        const std::string key = "Z" + std::to_string(c.firstScan);
        CreateDataset(dataset, key, 3);
        auto records = MakeScans(4, 3, c.firstScan);
        records.resize(10);
        if (c.scanStep)
            for (int i = 0; i < 10; ++i)
                records[i].ScanNumber = c.firstScan + std::min(i, 4);
        Append(dataset, records);
        dataset.WriteHeader();
        EXPECT_EQ(dataset.GetScanCount(), c.expected) << key;
        DatasetDirEntry entry;
        ASSERT_TRUE(store.FindDataset(key, &entry));
        EXPECT_EQ(+entry.ScanCount, c.expected);
    }
}

TEST_F(DatasetReadingsTest, HeaderWriteClampsTheBrowsePositionAndSetsTheInterval) {
    struct Case {
        int scans;
        double browse;
        double expectBrowse;
        double expectInterval;
    };
    // Readings span 1000 .. 9000 ms in the first two.
    const Case cases[] = {
        {9, 500.0, 1000.0, 8000.0 / 9.0},
        {9, 9500.0, 9000.0, 8000.0 / 9.0},
        {9, 4000.0, 4000.0, 8000.0 / 9.0},
        {1, 0.0, 1000.0, 1000.0}, // one scan: the interval is the first reading time
        {0, 700.0, 0.0, 0.0},     // no readings: all zero
    };
    int n = 0;
    for (const Case& c : cases) {
        CDataset dataset;
        CreateDataset(dataset, "Z" + std::to_string(n++), 1);
        if (c.scans)
            Append(dataset, MakeScans(c.scans, 1, 1, 1000.0));
        dataset.SetBrowsePosition(c.browse);
        dataset.WriteHeader();
        EXPECT_EQ(dataset.GetBrowsePosition(), c.expectBrowse) << n;
        EXPECT_DOUBLE_EQ(dataset.GetScanInterval(), c.expectInterval) << n;
        if (!c.scans) {
            EXPECT_EQ(dataset.GetFirstTime(), 0.0);
            EXPECT_EQ(dataset.GetLastTime(), 0.0);
        }
    }
}

TEST_F(DatasetReadingsTest, ABatchThatDoesNotFitFlushesTheBufferFirst) {
    CDataset dataset;
    CreateDataset(dataset, "Z1", 1, 100 * 26);
    const auto records = MakeScans(150, 1);
    Append(dataset, {records.begin(), records.begin() + 50});
    // 50 records free: the 100 go behind the 50 already held
    Append(dataset, {records.begin() + 50, records.end()});
    std::vector<ReadingRecord> back(150);
    ASSERT_EQ(dataset.ReadReadings(back.data(), 150, 0), 150);
    for (int i = 0; i < 150; ++i)
        ASSERT_TRUE(SameRecord(back[i], records[i])) << i;

    // A smaller buffer keeps what the old one held; none at all writes at once.
    Append(dataset, MakeScans(3, 1, 151, 150000.0));
    ASSERT_TRUE(dataset.SetWriteBuffer(25));
    Append(dataset, MakeScans(2, 1, 154, 153000.0));
    EXPECT_EQ(dataset.GetLastReadingTime(), 154000.0);
    EXPECT_EQ(dataset.GetReadingCount(), 155);
}

TEST_F(DatasetReadingsTest, ABatchBeyondTheRoomLeftIsRefusedWhole) {
    for (const std::uint16_t bufferBytes : {std::uint16_t{0}, std::uint16_t{100 * 26}}) {
        SCOPED_TRACE(bufferBytes);
        CDataset dataset;
        CreateDataset(dataset, bufferBytes == 0 ? "Z1" : "Z2", 1, bufferBytes);
        dataset.SetReadingLimit(10 * 26 + 25);
        const auto records = MakeScans(12, 1);
        ASSERT_TRUE(dataset.AppendReadings(records.data(), 8));
        // Three do not fit in the two places left: none is stored.
        EXPECT_FALSE(dataset.AppendReadings(records.data() + 8, 3));
        EXPECT_EQ(dataset.GetReadingRoom(), 2);
        EXPECT_TRUE(dataset.AppendReadings(records.data() + 8, 2));
        EXPECT_FALSE(dataset.AppendReadings(records.data() + 10, 1));
        ASSERT_TRUE(dataset.FlushReadings());
        EXPECT_EQ(dataset.GetLastReadingTime(), +records[9].Time);
        EXPECT_EQ(dataset.GetReadingCount(), 10);
    }
}

TEST_F(DatasetReadingsTest, ReadsAfterAReadStillAppendAtTheEnd) {
    CDataset dataset;
    CreateDataset(dataset, "Z1", 2);
    Append(dataset, MakeScans(10, 2));
    dataset.FlushReadings();
    ReadingRecord one;
    ASSERT_EQ(dataset.ReadReadings(&one, 1, 3), 1);
    Append(dataset, MakeScans(10, 2, 11, 10000.0));
    dataset.FlushReadings();
    std::vector<ReadingRecord> back(40);
    ASSERT_EQ(dataset.ReadReadings(back.data(), 40, 0), 40);
    EXPECT_EQ(+back[3].ScanNumber, 2);
    EXPECT_EQ(+back[39].ScanNumber, 20);
}

TEST_F(DatasetReadingsTest, FindReadingPositionByTime) {
    CDataset dataset;
    CreateDataset(dataset, "Z1", 2);
    Append(dataset, MakeScans(3, 2)); // scans at 0, 1000, 2000 ms
    dataset.WriteHeader();
    const std::uint32_t scanBytes = 2 * 26;
    struct Case {
        double offset;
        bool atOrBefore;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {1500.0, true, scanBytes},
        {1500.0, false, 2 * scanBytes},
        {1000.0, true, scanBytes},
        {1000.0, false, scanBytes},
        {0.0, true, 0},
        {0.0, false, 0},
        {999.0, true, 0},
        {999.0, false, scanBytes},
        {2000.5, true, 2 * scanBytes},
        {2000.0, false, 2 * scanBytes},
        {2001.0, true, CDataset::kNotFound}, // beyond the last reading
    };
    for (const Case& c : cases)
        EXPECT_EQ(dataset.FindReadingPosition(c.offset, c.atOrBefore), c.expected)
            << c.offset << (c.atOrBefore ? " at or before" : " at or after");

    // a longer run, where the estimate and the jump by the mean interval matter
    CDataset longRun;
    CreateDataset(longRun, "Z2", 3);
    auto records = MakeScans(1000, 3, 1, 0.0, 100.0);
    for (std::size_t i = 300; i < records.size(); ++i)
        records[i].Time += 5000.0; // a pause after scan 100
    Append(longRun, records);
    longRun.WriteHeader();
    const std::uint32_t bytes3 = 3 * 26;
    EXPECT_EQ(longRun.FindReadingPosition(9900.0, true), 99 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(9900.0, false), 99 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(12000.0, true), 99 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(12000.0, false), 100 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(50050.0, true), 450 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(50050.0, false), 451 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(0.25, false), 1 * bytes3);
    EXPECT_EQ(longRun.FindReadingPosition(104900.0, true), 999 * bytes3);
}

// A run whose interval changed (1 s, then 10 ms): the mean interval is far from
// either, and every time still finds its scan.
TEST_F(DatasetReadingsTest, FindReadingPositionAcrossAChangedInterval) {
    CDataset dataset;
    CreateDataset(dataset, "Z1", 2);
    auto records = MakeScans(500, 2, 1, 0.0, 1000.0);
    const auto fast = MakeScans(20000, 2, 501, 500000.0, 10.0);
    records.insert(records.end(), fast.begin(), fast.end());
    for (std::size_t at = 0; at < records.size(); at += 1000)
        Append(dataset, {records.begin() + static_cast<std::ptrdiff_t>(at),
                         records.begin() +
                             static_cast<std::ptrdiff_t>(std::min(at + 1000, records.size()))});
    dataset.WriteHeader();
    const std::uint32_t scanBytes = 2 * 26;
    // The reference: the scans' first times, searched one by one.
    const auto expected = [&](double offset, bool atOrBefore) {
        const std::size_t scans = records.size() / 2;
        std::size_t at = 0;
        while (at + 1 < scans && records[at * 2].Time < offset)
            ++at;
        if (atOrBefore && records[at * 2].Time > offset && at > 0)
            --at;
        return static_cast<std::uint32_t>(at * scanBytes);
    };
    for (const double offset : {0.0, 999.0, 1000.0, 250500.0, 499000.0, 499999.0, 500000.0,
                                500005.0, 600000.0, 600001.0, 699990.0, 699990.25}) {
        for (const bool atOrBefore : {true, false}) {
            EXPECT_EQ(dataset.FindReadingPosition(offset, atOrBefore), expected(offset, atOrBefore))
                << offset << (atOrBefore ? " at or before" : " at or after");
        }
    }
}

TEST_F(DatasetReadingsTest, FindReadingPositionStaysInTheStreamWhateverTheTimesHold) {
    // Times read back from a damaged or hostile file: huge, out of order, not finite.
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<double> times; // one per scan
        double offset;
    };
    const Case cases[] = {
        {"a huge time inside the run", {0, 1, 2, 3, 1e300, 5}, 3.5},
        {"a huge time inside the run, searched near it", {0, 1, 2, 3, 1e300, 5}, 4.9},
        {"a huge last time", {0, 1000, 2000, 1e300}, 1500.0},
        {"a huge negative first time", {-1e300, 1000, 2000}, 1e300},
        {"times that run backwards", {1e300, 5, 0}, -1e300},
        {"an infinite last time", {0, 1000, inf}, 1500.0},
        {"a NaN time", {0, nan, 2000}, 1500.0},
        {"a NaN offset", {0, 1000, 2000}, nan},
        {"an infinite offset", {0, 1000, 2000}, -inf},
    };
    int n = 0;
    for (const Case& c : cases) {
        CDataset dataset;
        CreateDataset(dataset, "Z" + std::to_string(++n), 2);
        auto records = MakeScans(static_cast<int>(c.times.size()), 2);
        for (std::size_t i = 0; i < records.size(); ++i)
            records[i].Time = c.times[i / 2];
        Append(dataset, records);
        dataset.WriteHeader();
        const std::uint32_t streamBytes = static_cast<std::uint32_t>(records.size() * 26);
        for (bool atOrBefore : {true, false}) {
            const std::uint32_t at = dataset.FindReadingPosition(c.offset, atOrBefore);
            if (at != CDataset::kNotFound) {
                EXPECT_LT(at, streamBytes) << c.what;
                EXPECT_EQ(at % (2 * 26), 0u) << c.what;
            }
        }
        dataset.Close();
    }
}

TEST_F(DatasetReadingsTest, APartialLastScanCountsAndIsFound) {
    CDataset dataset;
    CreateDataset(dataset, "Z1", 3);
    auto records = MakeScans(4, 3);
    records.resize(11); // the run stopped inside scan 4
    Append(dataset, records);
    dataset.WriteHeader();
    EXPECT_EQ(dataset.GetScanCount(), 4);
    EXPECT_EQ(dataset.FindReadingPosition(3000.0, true), 9u * 26u);
    std::int32_t first = -1, count = -1;
    dataset.GetScanWindow(4, 1, 9 * 26, &first, &count);
    EXPECT_EQ(first, 6);
    EXPECT_EQ(count, 5);
}

} // namespace
