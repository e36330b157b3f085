#include <gtest/gtest.h>

#include <vector>

#include "graphics/CXrtGraphData.h"
#include "graphics/displays/xy/XYPairing.h"
#include "platform/chart/ChartData.h"
#include "scan/records/ReadingRecord.h"

namespace {

constexpr double kFill = 9.9e37;

// Readings of one channel for the given scans, valued scan x factor.
struct Batch {
    Batch(std::vector<int> scans, double factor) {
        for (int s : scans) {
            ReadingRecord r;
            r.ScanNumber = s;
            r.Value = s * factor;
            records.push_back(r);
        }
        for (ReadingRecord& r : records)
            pointers.push_back(&r);
    }
    std::vector<ReadingRecord> records;
    std::vector<ReadingRecord*> pointers;
};

std::vector<int> Scans(int first, int last) {
    std::vector<int> s;
    for (int i = first; i <= last; ++i)
        s.push_back(i);
    return s;
}

class XYPairingTest : public ::testing::Test {
protected:
    explicit XYPairingTest(int capacity = 100)
        : buffer(tvane::chart::ChartData::kGeneral, 2, capacity) {
        pairing.SetBuffer(&buffer);
    }
    // Adds one batch; what the hand-overs took is kept.
    void Add(const Batch& x, const Batch& y) {
        pairing.Add(x.pointers, y.pointers, [this] { HandOver(); });
    }
    void HandOver() {
        ++handOvers;
        const auto& d = *buffer.GetData();
        EXPECT_LE(d.Count(0), d.Capacity());
        for (int i = 0; i < pairing.Pending(); ++i)
            handed.push_back({d.Y(0, i), d.Y(1, i)});
        pairing.EmptyBuffer();
    }
    std::vector<std::pair<double, double>> Entries() const {
        std::vector<std::pair<double, double>> e;
        const auto& d = *buffer.GetData();
        for (int i = 0; i < pairing.Pending(); ++i)
            e.push_back({d.Y(0, i), d.Y(1, i)});
        return e;
    }

    CXrtGraphData buffer;
    XYPairing pairing;
    int handOvers = 0;
    std::vector<std::pair<double, double>> handed;
};

TEST_F(XYPairingTest, ReadingsPairByScanWithFillersWhereAChannelHasNone) {
    // Y starts two scans after X: two fillers opposite X's first readings.
    Add(Batch({1, 2, 3, 4, 5}, 1.0), Batch({3, 4, 5}, 10.0));
    using P = std::pair<double, double>;
    EXPECT_EQ(Entries(), (std::vector<P>{{1, kFill}, {2, kFill}, {3, 30}, {4, 40}, {5, 50}}));
    const auto& d = *buffer.GetData();
    EXPECT_EQ(d.X(0, 0), 0.0);
    EXPECT_EQ(d.X(1, 0), kFill); // a filler's position too
    // X starting later is the same the other way round, and a gap in the
    // middle is filled where it is.
    pairing.Clear();
    Add(Batch({8, 10}, 1.0), Batch({7, 8, 9, 10}, 10.0));
    EXPECT_EQ(Entries(), (std::vector<P>{{kFill, 70}, {8, 80}, {kFill, 90}, {10, 100}}));
}

TEST_F(XYPairingTest, AScanSplitBetweenTwoPollsStillMakesOnePair) {
    // The first poll ends after X's reading of scan 2.
    Add(Batch({1, 2}, 1.0), Batch({1}, 10.0));
    using P = std::pair<double, double>;
    EXPECT_EQ(Entries(), (std::vector<P>{{1, 10}}));
    EXPECT_EQ(pairing.WaitingX(), 1u);
    HandOver();
    Add(Batch({3}, 1.0), Batch({2, 3}, 10.0));
    EXPECT_EQ(Entries(), (std::vector<P>{{2, 20}, {3, 30}}));
    EXPECT_EQ(pairing.WaitingX() + pairing.WaitingY(), 0u);
    // A channel that reports nothing pairs nothing: its partner's readings wait.
    Add(Batch({4, 5}, 1.0), Batch({}, 10.0));
    EXPECT_EQ(pairing.Pending(), 2);
    EXPECT_EQ(pairing.WaitingX(), 2u);
}

TEST_F(XYPairingTest, ABatchLargerThanTheBufferKeepsItsNewestReadings) {
    Add(Batch(Scans(1, 150), 1.0), Batch(Scans(1, 150), 2.0));
    EXPECT_EQ(handOvers, 0);
    ASSERT_EQ(pairing.Pending(), 100);
    EXPECT_EQ(Entries().front(), (std::pair<double, double>{51, 102}));
    EXPECT_EQ(Entries().back(), (std::pair<double, double>{150, 300}));
    // 80 readings are all taken.
    pairing.Clear();
    Add(Batch(Scans(1, 80), 1.0), Batch(Scans(1, 80), 2.0));
    EXPECT_EQ(pairing.Pending(), 80);
}

TEST_F(XYPairingTest, FillersNeverPushTheBufferPastItsCapacity) {
    // Three fillers and 100 pairs make 103 entries: the first 100 go to the
    // plot before the last three are added, and nothing is lost.
    Add(Batch(Scans(1, 100), 1.0), Batch(Scans(4, 100), 1.0));
    Add(Batch(Scans(101, 103), 1.0), Batch(Scans(101, 103), 1.0));
    EXPECT_EQ(handOvers, 1);
    EXPECT_EQ(handed.size(), 100u);
    EXPECT_EQ(pairing.Pending(), 3);
    EXPECT_EQ(buffer.GetData()->Count(1), 3);
    EXPECT_EQ(handed[2], (std::pair<double, double>{3, kFill}));
    EXPECT_EQ(handed[3], (std::pair<double, double>{4, 4}));
}

} // namespace
