#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "graphics/CXrtGraphData.h"
#include "platform/archive/CArchiveException.h"
#include "platform/chart/ChartData.h"

namespace {

using namespace graphicstest;
constexpr double kHole = 9.9e37;

// A general set of capacity 10 whose three series hold 3, 7 and 0 points.
std::unique_ptr<CXrtGraphData> GeneralSet() {
    auto set = std::make_unique<CXrtGraphData>(2, 3, 10);
    for (int s = 0; s < 2; ++s) {
        const int count = s == 0 ? 3 : 7;
        for (int i = 0; i < count; ++i)
            set->GetData()->Append(s, 100.0 * s + i, 0.5 * i);
    }
    return set;
}

TEST(CXrtGraphDataTest, AGeneralSetStoresItsLargestCountAndEverySeriesPoints) {
    auto set = GeneralSet();
    ByteWriter expected;
    expected.U32(10).U32(2).U32(3).U32(7).F64(kHole);
    for (int s = 0; s < 3; ++s) {
        const int count = s == 0 ? 3 : s == 1 ? 7 : 0;
        expected.U32(count);
        for (int i = 0; i < count; ++i)
            expected.F64(100.0 * s + i).F64(0.5 * i);
    }
    const Bytes bytes = Store([&](tvane::CArchive& ar) { set->Serialize(ar); });
    EXPECT_EQ(bytes, expected.bytes);

    CXrtGraphData loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetKind(), 2);
    EXPECT_EQ(loaded.GetCapacity(), 10);
    EXPECT_EQ(loaded.GetSeriesPointCount(0), 3);
    EXPECT_EQ(loaded.GetSeriesPointCount(1), 7);
    EXPECT_EQ(loaded.GetSeriesPointCount(2), 0);
    EXPECT_EQ(loaded.GetSeriesX(1, 6), 106.0);
    EXPECT_EQ(loaded.GetSeriesY(1, 6), 3.0);
}

TEST(CXrtGraphDataTest, AnArraySetStoresItsPointsPointByPoint) {
    CXrtGraphData set(1, 2, 4);
    for (int i = 0; i < 3; ++i) {
        set.GetData()->SetX(0, i, i);
        set.GetData()->SetY(0, i, 10.0 + i);
        set.GetData()->SetY(1, i, 20.0 + i);
    }
    set.SetPointCount(3);
    set.SetHoleValue(-1.0);
    ByteWriter expected;
    expected.U32(4).U32(1).U32(2).U32(3).F64(-1.0);
    for (int i = 0; i < 3; ++i)
        expected.F64(i).F64(10.0 + i).F64(20.0 + i);
    const Bytes bytes = Store([&](tvane::CArchive& ar) { set.Serialize(ar); });
    EXPECT_EQ(bytes, expected.bytes);

    CXrtGraphData loaded;
    Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    EXPECT_EQ(loaded.GetPointCount(), 3);
    EXPECT_EQ(loaded.GetY(1, 2), 22.0);
    EXPECT_EQ(loaded.GetData()->Hole(), -1.0);
}

TEST(CXrtGraphDataTest, MalformedArchivesAreRejected) {
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const std::vector<Case> cases{
        {"unknown kind", ByteWriter().U32(10).U32(3).U32(1).U32(0).F64(kHole).bytes},
        {"kind 0", ByteWriter().U32(10).U32(0).bytes},
        {"array count above capacity", ByteWriter().U32(2).U32(1).U32(1).U32(3).F64(kHole).bytes},
        {"series count above capacity",
         ByteWriter().U32(2).U32(2).U32(1).U32(3).F64(kHole).U32(3).bytes},
        {"absurd series count",
         ByteWriter().U32(1000).U32(2).U32(0x7FFFFFFF).U32(0).F64(kHole).bytes},
        {"absurd capacity", ByteWriter().U32(0xFFFFFFF0).U32(2).U32(1).U32(0).F64(kHole).bytes},
        {"more than memory allows",
         ByteWriter().U32(0x10000000).U32(2).U32(16).U32(0).F64(kHole).bytes},
        {"points missing",
         ByteWriter().U32(4).U32(2).U32(1).U32(2).F64(kHole).U32(2).F64(1.0).bytes},
    };
    for (const Case& c : cases) {
        CXrtGraphData loaded;
        EXPECT_THROW(Load(c.bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                     tvane::CArchiveException)
            << c.name;
        EXPECT_EQ(loaded.GetData(), nullptr) << c.name;
    }
}

TEST(CXrtGraphDataTest, ResetEmptiesGeneralSeriesWithHolesAndNumbersArrayPoints) {
    auto general = GeneralSet();
    general->Reset(0.25);
    EXPECT_EQ(general->GetSeriesPointCount(1), 0);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(general->GetSeriesX(1, i), kHole);
        EXPECT_EQ(general->GetSeriesY(1, i), 0.25);
    }
    general->ResetSeries(0);
    EXPECT_EQ(general->GetSeriesPointCount(0), 1);
    EXPECT_EQ(general->GetSeriesY(0, 0), kHole);

    CXrtGraphData array(1, 2, 3);
    array.Reset(7.0);
    EXPECT_EQ(array.GetX(2), 2.0);
    EXPECT_EQ(array.GetY(1, 2), 7.0);
}

TEST(CXrtGraphDataTest, OverflowOfAnySeries) {
    auto set = GeneralSet(); // counts 3, 7, 0 of 10
    EXPECT_FALSE(set->WouldOverflow(3, -1));
    EXPECT_TRUE(set->WouldOverflow(4, -1));
    EXPECT_FALSE(set->WouldOverflow(4, 0));
    EXPECT_TRUE(set->WouldOverflow(11, 2));
}

TEST(CXrtGraphDataTest, FindIndexFromEitherEnd) {
    CXrtGraphData set(2, 1, 8);
    for (double x : {1.0, 2.0, 4.0, 8.0})
        set.GetData()->Append(0, x, 0.0);
    struct Case {
        double x;
        bool fromEnd;
        bool found;
        int index;
    };
    for (const Case& c :
         {Case{3.0, false, true, 1}, Case{3.0, true, true, 1}, Case{8.0, false, true, 3},
          Case{9.0, true, true, 3}, Case{0.5, false, false, 0}, Case{0.5, true, false, 0},
          Case{2.0, false, true, 1}, Case{4.0, true, true, 2}}) {
        int index = -1;
        EXPECT_EQ(set.FindIndex(0, c.x, index, c.fromEnd), c.found) << c.x << c.fromEnd;
        EXPECT_EQ(index, c.index) << c.x << c.fromEnd;
    }
    CXrtGraphData empty(2, 1, 8);
    int index = -1;
    EXPECT_FALSE(empty.FindIndex(0, 1.0, index, false));
}

TEST(CXrtGraphDataTest, TheYRangeBetweenTwoTimesSkipsHoles) {
    CXrtGraphData set(2, 1, 8);
    for (auto [x, y] : {std::pair{1.0, 5.0}, {2.0, kHole}, {3.0, -2.0}, {4.0, 9.0}, {5.0, 50.0}})
        set.GetData()->Append(0, x, y);
    double span = 0, low = 0, high = 0;
    ASSERT_TRUE(set.GetYRange(0, span, low, high, 1.5, 4.0));
    EXPECT_EQ(low, -2.0);
    EXPECT_EQ(high, 9.0);
    EXPECT_EQ(span, 11.0);
    EXPECT_FALSE(set.GetYRange(0, span, low, high, 1.5, 2.5));

    CXrtGraphData one(2, 1, 2);
    one.GetData()->Append(0, 1.0, kHole);
    EXPECT_FALSE(one.GetYRange(0, span, low, high, 0.0, 9.0));
}

} // namespace
