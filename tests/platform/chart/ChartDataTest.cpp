#include <gtest/gtest.h>

#include <vector>

#include "platform/chart/ChartData.h"

namespace tvane::chart {
namespace {

std::vector<double> Xs(const ChartData& data, int series) {
    std::vector<double> xs;
    data.ForEachRun(series, 0, data.Count(series),
                    [&](const double* x, const double*, int n) { xs.insert(xs.end(), x, x + n); });
    return xs;
}

TEST(ChartDataTest, OnlyKindsOneAndTwoOfSaneSizesAreMade) {
    EXPECT_NE(ChartData::Make(1, 3, 10), nullptr);
    EXPECT_NE(ChartData::Make(2, 0, 0), nullptr);
    EXPECT_EQ(ChartData::Make(0, 1, 10), nullptr);
    EXPECT_EQ(ChartData::Make(3, 1, 10), nullptr);
    EXPECT_EQ(ChartData::Make(2, -1, 10), nullptr);
    EXPECT_EQ(ChartData::Make(2, 1, -1), nullptr);
    EXPECT_EQ(ChartData::Make(2, 65536, 65536), nullptr); // more than any document needs
}

TEST(ChartDataTest, CountsStayWithinTheCapacityAndOutsideIndexesReadHoles) {
    auto data = ChartData::Make(2, 2, 4);
    data->SetCount(0, 9);
    data->SetCount(1, -3);
    EXPECT_EQ(data->Count(0), 4);
    EXPECT_EQ(data->Count(1), 0);
    EXPECT_EQ(data->LargestCount(), 4);
    data->SetPoint(0, 4, 1.0, 1.0); // beyond the capacity: ignored
    EXPECT_EQ(data->X(0, 4), ChartData::kDefaultHole);
    EXPECT_EQ(data->Y(2, 0), ChartData::kDefaultHole);
}

TEST(ChartDataTest, ArrayDataSharesItsXAndItsCount) {
    auto data = ChartData::Make(1, 2, 3);
    data->SetX(1, 2, 7.0);
    data->SetY(1, 2, 8.0);
    data->SetCount(0, 3);
    EXPECT_EQ(data->X(0, 2), 7.0);
    EXPECT_EQ(data->Y(0, 2), 0.0);
    EXPECT_EQ(data->Y(1, 2), 8.0);
    EXPECT_EQ(data->Count(1), 3);
    EXPECT_FALSE(data->ShiftPoints(0, 0, 1, 1));
}

TEST(ChartDataTest, ShiftingToTheFrontDropsTheOldestPointsWithoutMovingThem) {
    auto data = ChartData::Make(2, 1, 5);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(data->Append(0, i, 10.0 * i));
    EXPECT_FALSE(data->Append(0, 5, 50));
    ASSERT_TRUE(data->ShiftPoints(0, 0, 2, 3));
    data->SetCount(0, 3);
    EXPECT_EQ(Xs(*data, 0), (std::vector<double>{2, 3, 4}));
    ASSERT_TRUE(data->Append(0, 5, 50));
    ASSERT_TRUE(data->Append(0, 6, 60));
    EXPECT_EQ(Xs(*data, 0), (std::vector<double>{2, 3, 4, 5, 6})); // across the ring's end
    EXPECT_EQ(data->Y(0, 4), 60.0);
}

TEST(ChartDataTest, ShiftingElsewhereMovesLikeMemmove) {
    auto data = ChartData::Make(2, 1, 6);
    for (int i = 0; i < 6; ++i)
        data->Append(0, i, i);
    ASSERT_TRUE(data->ShiftPoints(0, 2, 0, 3)); // overlapping, forwards
    EXPECT_EQ(Xs(*data, 0), (std::vector<double>{0, 1, 0, 1, 2, 5}));
    ASSERT_TRUE(data->ShiftPoints(0, 1, 3, 3)); // overlapping, backwards
    EXPECT_EQ(Xs(*data, 0), (std::vector<double>{0, 1, 2, 5, 2, 5}));
    EXPECT_FALSE(data->ShiftPoints(0, 0, 4, 3)); // past the capacity
    EXPECT_FALSE(data->ShiftPoints(1, 0, 1, 1));
}

TEST(ChartDataTest, EveryWriteChangesTheVersion) {
    auto data = ChartData::Make(2, 1, 2);
    auto v = data->Version();
    data->SetY(0, 0, 1.0);
    EXPECT_NE(data->Version(), v);
    v = data->Version();
    data->SetCount(0, 1);
    EXPECT_NE(data->Version(), v);
}

} // namespace
} // namespace tvane::chart
