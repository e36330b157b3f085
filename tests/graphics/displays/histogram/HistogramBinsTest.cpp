// The histogram's binning and running statistics, without a frame.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/histogram/CHistogramStats.h"
#include "graphics/displays/histogram/HistogramBins.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"
#include "tests/graphics/GraphicsTestSupport.h"

namespace {

using graphicstest::Bytes;
using graphicstest::ByteWriter;
using graphicstest::Load;
using graphicstest::Store;

// Limits 0..100 in 10 bins over a table of their own.
class HistogramBinsTest : public ::testing::Test {
protected:
    HistogramBinsTest() {
        bins.SetTable(table.GetData());
        bins.Reset();
    }
    void Add(std::vector<double> values) {
        bins.AddReadings(values.data(), static_cast<int>(values.size()), stats);
    }

    CXrtGraphData table{tvane::chart::ChartData::kGeneral, 2, 10};
    HistogramBins bins;
    CHistogramStats stats;
};

TEST_F(HistogramBinsTest, TheLastBinTakesTheHighLimitAndAHairAboveIsOutOfRange) {
    struct Case {
        double value;
        int bin; // -1: not binned
    } cases[] = {
        {0.0, 0},
        {10.0, 1},
        {99.99, 9},
        {100.0, 9},
        // Above 100 only beyond the tenth decimal: in range, but its index is 10.
        {100.00000000001, -1},
        // Below 0 only beyond the tenth decimal: bin 0.
        {-0.00000000001, 0},
        {-0.5, -1},
        {100.5, -1},
        {9.9e37, -1},
        {std::nan(""), -1},
        {std::numeric_limits<double>::infinity(), -1},
    };
    for (const Case& c : cases) {
        bins.Reset();
        EXPECT_EQ(bins.Bin(c.value), c.bin >= 0) << c.value;
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(bins.Count(i), i == c.bin ? 1.0 : 0.0) << c.value << " bin " << i;
    }
    // The bins' centres.
    EXPECT_DOUBLE_EQ(bins.Centre(0), 5.0);
    EXPECT_DOUBLE_EQ(bins.Centre(9), 95.0);
}

TEST_F(HistogramBinsTest, PercentagesAreOfEveryReadingReceived) {
    Add({5.0, 15.0, 15.0, 150.0, 9.9e37});
    EXPECT_EQ(bins.m_total, 5);
    EXPECT_EQ(bins.m_outOfRange, 2);
    EXPECT_DOUBLE_EQ(bins.Percentage(0), 20.0);
    EXPECT_DOUBLE_EQ(bins.Percentage(1), 40.0);
    EXPECT_DOUBLE_EQ(bins.Percentage(2), 0.0);
    // The statistics take the binned readings; the others only as a count.
    EXPECT_EQ(stats.GetCount(), 3);
    EXPECT_EQ(stats.GetOutOfRange(), 2);
    // The extremes are of every reading but overloads, binned or not.
    EXPECT_EQ(bins.m_observedMin, 5.0);
    EXPECT_EQ(bins.m_observedMax, 150.0);

    bins.Reset();
    EXPECT_EQ(bins.m_total, 0);
    EXPECT_EQ(bins.Count(1), 0.0);
    EXPECT_EQ(bins.m_observedMin, 9.9e37);
    EXPECT_EQ(bins.m_observedMax, -9.9e37);
}

TEST_F(HistogramBinsTest, LimitsThatCoincideBinNothing) {
    bins.m_low = bins.m_high = 5.0;
    bins.Reset();
    EXPECT_EQ(bins.m_binWidth, 0.0);
    Add({5.0, 4.0});
    EXPECT_EQ(bins.m_outOfRange, 2);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(bins.Count(i), 0.0);
    EXPECT_EQ(stats.GetCount(), 0);
    EXPECT_EQ(bins.m_observedMin, 4.0);
}

TEST(HistogramStatsTest, RunningMeanAndSampleStandardDeviation) {
    CHistogramStats stats;
    stats.AddValue(5.0);
    EXPECT_EQ(stats.GetMean(), 5.0);
    EXPECT_EQ(stats.GetStdDev(), 0.0);
    stats.AddValue(7.0);
    EXPECT_DOUBLE_EQ(stats.GetMean(), 6.0);
    EXPECT_NEAR(stats.GetStdDev(), std::sqrt(2.0), 1e-12);
    EXPECT_EQ(stats.GetMinimum(), 5.0);
    EXPECT_EQ(stats.GetMaximum(), 7.0);
    stats.AddValue(6.0);
    EXPECT_DOUBLE_EQ(stats.GetStdDev(), 1.0);

    stats.SetOutOfRange(4);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { stats.Serialize(ar); });
    EXPECT_EQ(bytes.size(), 4 * 8 + 2 * 4 + 2 * 8u);
    CHistogramStats loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(loaded.GetOutOfRange(), 4);
    EXPECT_EQ(loaded.GetSumOfSquares(), 25.0 + 49.0 + 36.0);
    EXPECT_DOUBLE_EQ(loaded.GetStdDev(), 1.0);

    stats.Reset();
    EXPECT_EQ(stats.GetCount(), 0);
    EXPECT_EQ(stats.GetMinimum(), 9.9e37);
    EXPECT_EQ(stats.GetMaximum(), -9.9e37);
}

TEST(HistogramStatsTest, ANegativeCountRejectsTheArchive) {
    ByteWriter w;
    w.F64(0).F64(0).F64(0).F64(0).U32(0xFFFFFFFF).U32(0).F64(0).F64(0);
    CHistogramStats loaded;
    EXPECT_THROW(Load(w.bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
}

} // namespace
