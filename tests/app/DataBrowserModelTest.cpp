// The Data Browser's rules: positions of the bar against scans, the steps and
// their edges, the time that follows a move, and the reload only at the end of
// a move or after a typed time.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/DataBrowserModel.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"

namespace tvane::test {
namespace {

// A run of scans one second apart from 1000 ms on; reading times are
// absolute seconds from 1700000000.
class FakeBrowseDocument final : public IBrowseDocument {
public:
    std::int32_t scans = 250;
    double position = 1000.0;
    std::int32_t browseScan = 0;
    std::vector<std::int32_t> reloadedScans;
    std::vector<double> reloadedTimes;

    double GetRunStartTime() const override { return 1000.0; }
    double GetRunEndTime() const override { return 1000.0 * scans; }
    double GetMeanScanInterval() const override { return 1000.0; }
    std::int32_t GetScanCount() const override { return scans; }
    double GetBrowsePosition() const override { return position; }
    void SetBrowsePosition(double time) override { position = time; }
    std::int32_t GetBrowseScan() const override { return browseScan; }
    void SetBrowseScan(std::int32_t scan) override { browseScan = scans > 0 ? scan : 0; }
    std::string GetTimeFormat() const override { return "%H:%M:%S"; }
    std::string FormatReadingTime(double time) override { return std::to_string(time); }
    void GetReadingDateTime(double time, CTime& out, int& ms) const override {
        out = CTime(1700000000 + static_cast<std::int64_t>(time / 1000.0));
        ms = static_cast<int>(time) % 1000;
    }
    double ToReadingTime(CTime time, int ms) const override {
        const double t = (time.GetTime() - 1700000000) * 1000.0 + ms;
        return std::clamp(t, GetRunStartTime(), GetRunEndTime());
    }
    double BrowseToScan(std::int32_t& scan) override {
        reloadedScans.push_back(scan);
        return 1000.0 * (scan + 1);
    }
    long GoToTime(double& time) override {
        reloadedTimes.push_back(time);
        browseScan = static_cast<std::int32_t>(time / 1000.0) - 1;
        return browseScan;
    }
};

class DataBrowserModelTest : public ::testing::Test {
protected:
    DataBrowserModelTest() : m_prompterService(SetPrompter, &prompter) {}
    FakeBrowseDocument doc;
    DataBrowserModel model{doc};
    ScriptedPrompter prompter;

private:
    ScopedService<IPrompter> m_prompterService;
};

TEST_F(DataBrowserModelTest, PositionsAndScansConvertWithinTheBar) {
    struct Case {
        std::int32_t scans, scan;
        int position;
    };
    for (const Case& c : {Case{250, 0, 1}, Case{250, 1, 1}, Case{250, 124, 49}, Case{250, 249, 100},
                          Case{2, 1, 100}, Case{1, 0, 1}})
        EXPECT_EQ(DataBrowserModel::ScanToPosition(c.scan, c.scans), c.position)
            << c.scans << " " << c.scan;
    struct Back {
        int position;
        std::int32_t scans, scan;
    };
    for (const Back& c : {Back{1, 250, 0}, Back{50, 250, 125}, Back{100, 250, 249},
                          Back{10, 250, 25}, Back{2, 1, 0}})
        EXPECT_EQ(DataBrowserModel::PositionToScan(c.position, c.scans), c.scan)
            << c.position << " " << c.scans;
}

TEST_F(DataBrowserModelTest, StepsMoveTheScanAndTheTimeWithinTheRun) {
    model.Initialize();
    EXPECT_EQ(model.GetCounterText(), "1 of 250");
    EXPECT_EQ(model.GetPosition(), 1);
    struct Step {
        DataBrowserModel::Scroll code;
        std::int32_t scan;
    };
    for (const Step& s :
         {Step{DataBrowserModel::kLineLeft, 0}, Step{DataBrowserModel::kLineRight, 1},
          Step{DataBrowserModel::kPageRight, 26}, Step{DataBrowserModel::kPageLeft, 1},
          Step{DataBrowserModel::kPageLeft, 0}, Step{DataBrowserModel::kRight, 249},
          Step{DataBrowserModel::kLineRight, 249}, Step{DataBrowserModel::kLeft, 0}}) {
        EXPECT_TRUE(model.OnScroll(s.code));
        EXPECT_EQ(model.GetBrowseScan(), s.scan) << s.code;
        EXPECT_DOUBLE_EQ(model.GetCurrentTime(), 1000.0 * (s.scan + 1)) << s.code;
        EXPECT_EQ(model.GetPosition(), DataBrowserModel::ScanToPosition(s.scan, 250));
    }
    // Nothing was reloaded by the steps themselves.
    EXPECT_TRUE(doc.reloadedScans.empty());
}

TEST_F(DataBrowserModelTest, AOneScanRunKeepsScanZeroAtPositionOne) {
    doc.scans = 1;
    model.Initialize();
    for (auto code : {DataBrowserModel::kLineRight, DataBrowserModel::kPageRight,
                      DataBrowserModel::kRight, DataBrowserModel::kLineLeft}) {
        model.OnScroll(code);
        EXPECT_EQ(model.GetBrowseScan(), 0);
        EXPECT_EQ(model.GetPosition(), 1);
    }
    model.OnScroll(DataBrowserModel::kThumbTrack, 100);
    EXPECT_EQ(model.GetBrowseScan(), 0);
}

TEST_F(DataBrowserModelTest, DraggingShowsTheTimeAtOnceAndReloadsWhenReleased) {
    model.Initialize();
    model.OnScroll(DataBrowserModel::kThumbTrack, 50);
    EXPECT_EQ(model.GetBrowseScan(), 125);
    EXPECT_DOUBLE_EQ(model.GetCurrentTime(), 126000.0);
    EXPECT_TRUE(doc.reloadedScans.empty());
    model.OnScroll(DataBrowserModel::kEndScroll);
    EXPECT_EQ(doc.reloadedScans, (std::vector<std::int32_t>{125}));
    EXPECT_EQ(doc.browseScan, 125);
    EXPECT_DOUBLE_EQ(doc.position, 126000.0);
    // Where the document already stands nothing is reloaded.
    model.OnScroll(DataBrowserModel::kEndScroll);
    EXPECT_EQ(doc.reloadedScans.size(), 1u);
}

TEST_F(DataBrowserModelTest, AnEmptyIncrementRefusesTheSteps) {
    model.Initialize();
    model.m_increment.clear();
    EXPECT_FALSE(model.OnScroll(DataBrowserModel::kLineRight));
    EXPECT_EQ(model.GetBrowseScan(), 0);
    EXPECT_EQ(prompter.Texts(), (std::vector<std::string>{"Invalid time offset"}));
    // The thumb still moves.
    EXPECT_TRUE(model.OnScroll(DataBrowserModel::kThumbTrack, 100));
    EXPECT_EQ(model.GetBrowseScan(), 249);
}

TEST_F(DataBrowserModelTest, ATypedTimeGoesThereClampedToTheRun) {
    model.Initialize();
    struct Case {
        std::int64_t seconds; // after 1700000000
        std::int32_t scan;
    };
    for (const Case& c : {Case{-100, 0}, Case{11, 10}, Case{100000, 249}}) {
        model.OnTimeEdited(CTime(1700000000 + c.seconds), 0);
        EXPECT_EQ(model.GetBrowseScan(), c.scan) << c.seconds;
        EXPECT_EQ(doc.browseScan, c.scan);
        EXPECT_EQ(model.GetPosition(), DataBrowserModel::ScanToPosition(c.scan, 250));
        EXPECT_DOUBLE_EQ(doc.position, model.GetCurrentTime());
    }
    EXPECT_EQ(doc.reloadedTimes, (std::vector<double>{1000.0, 11000.0, 250000.0}));
}

} // namespace
} // namespace tvane::test
