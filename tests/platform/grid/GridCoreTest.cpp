#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/grid/GridCore.h"

namespace tvane {
namespace {

// A grid over rows of four texts, "r<row>c<col>" unless given.
class GridCoreTest : public ::testing::Test {
protected:
    GridCoreTest() {
        grid.SetColCount(4);
        grid.SetRowCountSource([this] { return static_cast<int>(rows.size()); });
        grid.SetCellTextSource([this](int row, int col, std::string& text) {
            if (row == failingRow)
                return false;
            text = rows[row - 1][col - 1];
            return true;
        });
        for (int r = 1; r <= 5; ++r) {
            std::vector<std::string> row;
            for (int c = 1; c <= 4; ++c)
                row.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
            rows.push_back(row);
        }
    }
    GridCellText Cell() const {
        return [this](int row, int col, std::string& text) {
            text = grid.GetCellText(row, col);
            return true;
        };
    }

    GridCore grid;
    std::vector<std::vector<std::string>> rows;
    int failingRow = -1;
};

TEST_F(GridCoreTest, CellsAskTheOwnerAndHeadersHaveDefaults) {
    grid.SetHeaderText(2, "Channel");
    failingRow = 4;
    EXPECT_EQ(grid.GetCellText(2, 3), "r2c3");
    EXPECT_EQ(grid.GetCellText(0, 2), "Channel");
    EXPECT_EQ(grid.GetCellText(0, 1), "");
    EXPECT_EQ(grid.GetCellText(3, 0), "3");
    EXPECT_EQ(grid.GetCellText(4, 1), ""); // a failed read
    EXPECT_EQ(grid.GetCellText(6, 1), ""); // past the last row
    EXPECT_EQ(grid.GetColWidth(1), GridCore::kDefaultColWidth);
    grid.SetColWidth(1, 90);
    EXPECT_EQ(grid.GetColWidth(1), 90);
}

TEST_F(GridCoreTest, CopyTextJoinsCellsWithTabsAndRowsWithOneLineEnd) {
    const struct {
        const char* name;
        GridRangeList ranges;
        std::string text;
    } cases[] = {
        {"whole rows", {GridRange::Rows(2, 3)}, "r2c1\tr2c2\tr2c3\tr2c4\r\nr3c1\tr3c2\tr3c3\tr3c4"},
        {"a block", {GridRange::Cells(1, 2, 2, 3)}, "r1c2\tr1c3\r\nr2c2\tr2c3"},
        {"two ranges",
         {GridRange::Cells(5, 4, 5, 4), GridRange::Cells(1, 1, 1, 1)},
         "r5c4\r\nr1c1"},
        {"with the header row", {GridRange::Cells(0, 0, 1, 1)}, "\t\r\n1\tr1c1"},
        {"nothing", {}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildCopyText(c.ranges, 4, Cell()), c.text) << c.name;
}

// Removes the steps from a list of row numbers and returns what is left.
std::vector<int> Remove(int count, const GridRangeList& ranges) {
    std::vector<int> list;
    for (int i = 1; i <= count; ++i)
        list.push_back(i);
    for (auto [index, n] : RowRemovalSteps(ranges))
        for (int k = 0; k < n; ++k)
            list.erase(list.begin() + index);
    return list;
}

TEST(GridRowRemoval, StepsShiftByTheRowsRemovedBefore) {
    EXPECT_EQ(RowRemovalSteps({GridRange::Rows(2, 3), GridRange::Rows(6, 6)}),
              (std::vector<std::pair<int, int>>{{1, 2}, {3, 1}}));
    const struct {
        const char* name;
        GridRangeList ranges;
        std::vector<int> left;
    } cases[] = {
        {"two ranges", {GridRange::Rows(2, 3), GridRange::Rows(6, 7)}, {1, 4, 5, 8}},
        {"out of order", {GridRange::Rows(6, 7), GridRange::Cells(2, 3, 2, 4)}, {1, 3, 4, 5, 8}},
        {"overlapping", {GridRange::Rows(2, 4), GridRange::Cells(3, 1, 5, 2)}, {1, 6, 7, 8}},
        {"contained", {GridRange::Rows(2, 6), GridRange::Cells(3, 1, 4, 4)}, {1, 7, 8}},
        {"the header row", {GridRange::Cells(0, 1, 1, 1)}, {2, 3, 4, 5, 6, 7, 8}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Remove(8, c.ranges), c.left) << c.name;
}

TEST_F(GridCoreTest, FindNextSearchesFromTheCurrentRowWithoutWrapping) {
    rows[1][3] = "Alarm high";
    rows[3][1] = "ALARM low";
    GridCore::FindOptions find{"alarm", false, true};
    EXPECT_EQ(grid.FindNext(find), 2); // no current cell: from the first row
    grid.SetCurrentCell(2, 1);
    EXPECT_EQ(grid.FindNext(find), 4);
    grid.SetCurrentCell(4, 1);
    EXPECT_EQ(grid.FindNext(find), -1);
    find.down = false;
    EXPECT_EQ(grid.FindNext(find), 2);
    find.matchCase = true;
    find.text = "ALARM";
    grid.SetCurrentCell(5, 1);
    EXPECT_EQ(grid.FindNext(find), 4);
    find.text = "Alarm";
    EXPECT_EQ(grid.FindNext(find), 2);
    find.text.clear();
    EXPECT_EQ(grid.FindNext(find), -1);
}

TEST_F(GridCoreTest, CurrentCellReportsTheCellItLeft) {
    std::vector<std::pair<int, int>> left;
    grid.SetCurrentCellChanged([&](int row, int col) { left.emplace_back(row, col); });
    int row = -1, col = -1;
    EXPECT_FALSE(grid.GetCurrentCell(row, col));
    grid.SetCurrentCell(3, 2);
    grid.SetCurrentCell(3, 2); // no move, no report
    grid.SetCurrentCell(0, 4); // row 0: none
    EXPECT_TRUE(!grid.HasCurrentCell() && grid.GetCurrentCell(row, col) == false);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(left, (std::vector<std::pair<int, int>>{{0, 0}, {3, 2}}));
}

} // namespace
} // namespace tvane
