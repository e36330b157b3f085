// The stored-data reload of the document and its Data Browser command: the
// window of scans read back in chunks that fit the reading buffer, the browse
// time clamped into the run, the events the views ask for, the command's rule
// and the browser's life beside the run.
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "app/IDataBrowser.h"
#include "scan/CRunRecord.h"
#include "tests/app/ComputedSumRow.h"
#include "tests/app/ScanEngineFixture.h"

namespace tvane::test {
namespace {

class FakeBrowser final : public IDataBrowser {
public:
    explicit FakeBrowser(int& destroyed) : m_destroyed(destroyed) {}
    ~FakeBrowser() override { ++m_destroyed; }
    void Show(bool show) override { shown = show; }
    bool shown = true;

private:
    int& m_destroyed;
};

class FakeBrowserFactory final : public IDataBrowserFactory {
public:
    int created = 0;
    int destroyed = 0;
    std::unique_ptr<IDataBrowser> CreateDataBrowser(CLoggerDoc&) override {
        ++created;
        return std::make_unique<FakeBrowser>(destroyed);
    }
};

// One reload as a view sees it: the hints in order, per new-readings hint the
// scans of channel 101 it found in the store, and the events it was sent.
struct ReloadLog {
    std::vector<long> hints;
    std::vector<std::vector<std::int32_t>> chunks;
    std::vector<double> events;
    std::vector<CRunRecord> ranges;
    std::vector<std::int16_t> computed; // readings of channel 901 per chunk
};

// A reading's time by value (the record is packed).
double TimeOf(std::int32_t scan) {
    return static_cast<double>(Reading(scan, 101, 0).Time);
}

class DataBrowserTest : public ScanEngineTest {
protected:
    void SetUp() override {
        ScanEngineTest::SetUp();
        services.dataBrowser = &factory;
        Wire();
        view.onUpdate = [this](long hint, const HintObject& object) {
            log.hints.push_back(hint);
            if (hint == HINT_DATASET_LOADED) {
                doc->RaiseFrameCounter(scansWanted);
                doc->AddViewFlags(eventMask);
            } else if (hint == HINT_NEW_READINGS) {
                std::vector<ReadingRecord*> list;
                doc->GetChannelReadings(101, list);
                std::vector<std::int32_t> scans;
                for (const ReadingRecord* r : list)
                    scans.push_back(static_cast<std::int32_t>(r->ScanNumber));
                log.chunks.push_back(scans);
                std::vector<ReadingRecord*> sums;
                log.computed.push_back(doc->GetChannelReadings(901, sums));
            } else if (hint == HINT_DATASET_UPDATE) {
                if (auto* list = object.As<std::vector<CDatasetEvent>>())
                    for (const CDatasetEvent& e : *list)
                        log.events.push_back(e.m_time);
            } else if (hint == HINT_EVENT) {
                if (auto* run = object.As<CRunRecord>())
                    log.ranges.push_back(*run);
            }
        };
    }
    // A dataset of channels 101.. (count of them), scans 1..scans, one a second.
    void MakeDataset(std::int16_t channels, std::int32_t scans) {
        CDataset& dataset = *doc->GetDataset();
        dataset.Close();
        ASSERT_TRUE(dataset.Create(CTime(1700000000), channels, doc->GetDatasetStore(), "Browse",
                                   CDataset::kDefaultBufferBytes));
        std::vector<ReadingRecord> records;
        for (std::int32_t scan = 1; scan <= scans; ++scan)
            for (std::int16_t ch = 0; ch < channels; ++ch)
                records.push_back(Reading(scan, static_cast<std::int16_t>(101 + ch), scan));
        for (std::size_t i = 0; i < records.size(); i += 1000)
            ASSERT_TRUE(dataset.AppendReadings(
                records.data() + i,
                static_cast<std::int16_t>(std::min<std::size_t>(1000, records.size() - i))));
        dataset.WriteHeader();
    }
    static std::vector<std::int32_t> Range(std::int32_t first, std::int32_t last) {
        std::vector<std::int32_t> scans;
        for (std::int32_t s = first; s <= last; ++s)
            scans.push_back(s);
        return scans;
    }

    FakeBrowserFactory factory;
    ReloadLog log;
    std::uint32_t scansWanted = 10;
    std::uint32_t eventMask = 0;
};

TEST_F(DataBrowserTest, AWindowLargerThanTheBufferLoadsInChunksOfWholeScans) {
    // 100 scans of 30 channels against 2520 records: 84 scans, then 16.
    MakeDataset(30, 100);
    scansWanted = 100;
    std::int32_t scan = 99;
    const double time = doc->BrowseToTime(scan, -1.0);

    EXPECT_DOUBLE_EQ(time, TimeOf(100));
    EXPECT_EQ(log.hints, (std::vector<long>{HINT_DATASET_LOADED, HINT_EVENT, HINT_NEW_READINGS,
                                            HINT_NEW_READINGS, HINT_EVENT}));
    ASSERT_EQ(log.chunks.size(), 2u);
    EXPECT_EQ(log.chunks[0], Range(1, 84));
    EXPECT_EQ(log.chunks[1], Range(85, 100));
    // The range record: the run's first reading, where the window ends and
    // where it starts; the reload's start and end.
    ASSERT_EQ(log.ranges.size(), 2u);
    EXPECT_EQ(log.ranges[0].m_kind, CRunRecord::kReloadStart);
    EXPECT_DOUBLE_EQ(log.ranges[0].m_time, doc->GetDataset()->GetFirstTime());
    EXPECT_DOUBLE_EQ(log.ranges[0].m_time2, time);
    EXPECT_DOUBLE_EQ(log.ranges[0].m_time3, TimeOf(1));
    EXPECT_EQ(log.ranges[1].m_kind, CRunRecord::kReloadEnd);
    EXPECT_DOUBLE_EQ(doc->GetDataset()->GetBrowsePosition(), time);
    EXPECT_EQ(doc->GetDataset()->GetBrowseScan(), 99);
}

TEST_F(DataBrowserTest, ComputedChannelsShrinkTheChunksAndJoinTheStore) {
    // Three measured channels and 901 = 101 + 102: a scan needs four records.
    AddComputedSum(*doc);
    MakeDataset(3, 1000);
    scansWanted = 1000;
    std::int32_t scan = 999;
    doc->BrowseToTime(scan, -1.0);
    ASSERT_EQ(log.chunks.size(), 2u);
    EXPECT_EQ(log.chunks[0], Range(1, 630)); // 2520 / 4 scans
    EXPECT_EQ(log.chunks[1], Range(631, 1000));
    EXPECT_EQ(log.computed, (std::vector<std::int16_t>{630, 370}));
}

TEST_F(DataBrowserTest, TheBrowseTimeIsClampedIntoTheRunAndFindsItsScan) {
    MakeDataset(3, 50);
    struct Case {
        double time;
        std::int32_t scan;
        double shown; // where the views then stand
    };
    const double first = TimeOf(1);
    const double last = TimeOf(50);
    for (const Case& c :
         {Case{-5000.0, 0, first}, Case{first, 0, first}, Case{TimeOf(20), 19, TimeOf(20)},
          Case{TimeOf(20) + 500.0, 19, TimeOf(20) + 500.0}, Case{last, 49, last},
          Case{last + 1e6, 49, last}}) {
        log = {};
        double time = c.time;
        EXPECT_EQ(doc->SetBrowseTime(time), c.scan) << c.time;
        EXPECT_DOUBLE_EQ(time, c.shown) << c.time;
        EXPECT_DOUBLE_EQ(doc->GetBrowsePosition(), c.shown) << c.time;
        ASSERT_FALSE(log.chunks.empty()) << c.time;
        // The window ends at the scan found.
        EXPECT_EQ(log.chunks.back().back(), c.scan + 1) << c.time;
    }
}

TEST_F(DataBrowserTest, ADatasetWithoutReadingsLoadsNothing) {
    double time = 1234.0;
    EXPECT_EQ(doc->SetBrowseTime(time), -1);
    std::int32_t scan = 0;
    doc->BrowseToTime(scan, 5.0);
    EXPECT_TRUE(log.hints.empty());
    EXPECT_FALSE(doc->IsDataBrowserEnabled());
    doc->OnDataBrowser();
    EXPECT_EQ(factory.created, 0);
}

TEST_F(DataBrowserTest, EventsAreReadOnlyWhenAViewAsksForThem) {
    MakeDataset(3, 30);
    for (double t : {2500.0, 12500.0, 29500.0}) {
        CDatasetEvent event(CDatasetEvent::User, 0, t, "note");
        doc->GetDataset()->AppendEvent(event);
    }
    scansWanted = 30;
    std::int32_t scan = 19;
    doc->BrowseToTime(scan, -1.0);
    EXPECT_TRUE(log.events.empty());
    EXPECT_EQ(std::count(log.hints.begin(), log.hints.end(), HINT_DATASET_UPDATE), 0);

    // Asked for: the user events up to the browse time.
    log = {};
    eventMask = CDatasetEvent::User;
    scan = 19;
    doc->BrowseToTime(scan, -1.0);
    EXPECT_EQ(log.events, (std::vector<double>{2500.0, 12500.0}));
}

TEST_F(DataBrowserTest, ARefreshReachesOnlyTheViewThatAskedForIt) {
    MakeDataset(3, 20);
    doc->UpdateHasReadings();
    doc->SetBrowsePosition(TimeOf(5));
    RecordingView other;
    doc->AddView(&other);
    doc->RefreshDataBrowser(&view);
    EXPECT_TRUE(other.updates.empty());
    ASSERT_FALSE(log.chunks.empty());
    EXPECT_EQ(log.chunks.back().back(), 5);
    // Afterwards every view hears the document again.
    doc->UpdateAllViews(nullptr, HINT_SCAN_STATE);
    EXPECT_EQ(other.Hints(), (std::vector<long>{HINT_SCAN_STATE}));
    doc->RemoveView(&other);

    // While the shown data are a run's, the refresh goes to the newest reading.
    doc->ClearHasReadings();
    log = {};
    doc->RefreshDataBrowser(&view);
    EXPECT_EQ(log.chunks.back().back(), 20);
}

TEST_F(DataBrowserTest, TheCommandOpensAndClosesTheBrowserAndIsOffWhileScanning) {
    MakeDataset(3, 20);
    EXPECT_TRUE(doc->IsDataBrowserEnabled());
    EXPECT_FALSE(doc->IsDataBrowserOpen());
    doc->OnDataBrowser();
    EXPECT_EQ(factory.created, 1);
    EXPECT_TRUE(doc->IsDataBrowserOpen());
    doc->OnDataBrowser();
    EXPECT_FALSE(doc->IsDataBrowserOpen());
    EXPECT_EQ(factory.destroyed, 1);

    // Its own window closing makes the document forget it.
    doc->OnDataBrowser();
    doc->DataBrowserClosed();
    EXPECT_FALSE(doc->IsDataBrowserOpen());
    EXPECT_EQ(factory.destroyed, 2);

    // A run takes it down and disables the command.
    doc->OnDataBrowser();
    doc->GetScanEngine().BeginRun();
    EXPECT_FALSE(doc->IsDataBrowserEnabled());
    doc->GetScanEngine().HaltRun();
    doc->OnStartScan();
    EXPECT_FALSE(doc->IsDataBrowserOpen());
    EXPECT_FALSE(doc->HasReadings());
}

} // namespace
} // namespace tvane::test
