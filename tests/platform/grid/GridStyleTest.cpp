#include <gtest/gtest.h>

#include <string>

#include "platform/grid/GridCore.h"

namespace tvane {
namespace {

// A grid laid out like a spreadsheet with two header rows: group headers in row
// 0, column headers in row 1, data rows from 2.
class GridLayoutTest : public ::testing::Test {
protected:
    GridLayoutTest() {
        grid.SetHeaderRowCount(2);
        grid.SetColCount(6);
        grid.SetRowCountSource([this] { return rows; });
        grid.SetCellTextSource([](int row, int col, std::string& text) {
            text = "r" + std::to_string(row) + "c" + std::to_string(col);
            return true;
        });
        grid.SetHeaderText(0, 0, "Channel");
        grid.SetCoveredCells(GridRange::Cells(0, 0, 0, 2));
        grid.SetHeaderText(0, 3, "Measurement");
        grid.SetCoveredCells(GridRange::Cells(0, 3, 0, 5));
        grid.SetHeaderText(0, 6, "Comment");
        grid.SetCoveredCells(GridRange::Cells(0, 6, 1, 6));
        grid.SetHeaderText(1, "Name");
    }

    GridCore grid;
    int rows = 4;
};

TEST_F(GridLayoutTest, HeaderRowsComeFirstAndCoveredCellsSpanThem) {
    EXPECT_EQ(grid.GetFirstDataRow(), 2);
    EXPECT_EQ(grid.GetLastRow(), 5);
    EXPECT_FALSE(grid.IsDataRow(1));
    EXPECT_TRUE(grid.IsDataRow(5));
    EXPECT_FALSE(grid.IsDataRow(6));
    EXPECT_EQ(grid.GetCellText(1, 1), "Name");
    EXPECT_EQ(grid.GetCellText(2, 0), "1"); // the row header counts data rows
    EXPECT_EQ(grid.GetCellText(5, 3), "r5c3");
    EXPECT_EQ(grid.GetCellText(6, 3), "");

    GridRange span;
    ASSERT_TRUE(grid.GetCoveredRange(0, 4, span));
    EXPECT_EQ(span, GridRange::Cells(0, 3, 0, 5));
    EXPECT_EQ(grid.GetCellText(span.top, span.left), "Measurement");
    ASSERT_TRUE(grid.GetCoveredRange(1, 6, span)); // both header rows of the last column
    EXPECT_EQ(span, GridRange::Cells(0, 6, 1, 6));
    EXPECT_FALSE(grid.GetCoveredRange(1, 4, span));
    EXPECT_FALSE(grid.GetCoveredRange(2, 0, span));

    // No data row, no current cell; the search starts at the first data row.
    grid.SetCurrentCell(1, 2);
    EXPECT_FALSE(grid.HasCurrentCell());
    EXPECT_EQ(grid.FindNext({"r2c", false, true}), 2);
}

TEST_F(GridLayoutTest, StylesAreLaidOverOneAnotherAndTheHookHasTheLastWord) {
    grid.StandardStyle().interior = Rgb(255, 255, 255);
    grid.StandardStyle().maxLength = 20;
    grid.ColHeaderStyle().interior = Rgb(192, 192, 192);
    grid.RowHeaderStyle().hAlign = GridHAlign::Left;
    GridStyle column;
    column.control = 511;
    column.choiceList = "Off\nOn\n";
    grid.SetColStyle(3, column);
    GridStyle grey;
    grey.interior = Rgb(240, 240, 240);
    EXPECT_TRUE(grid.SetStyleRange(GridRange::Cells(3, 3, 3, 3), grey));
    grid.SetStyleHook([](int row, int col, GridStyle& style) {
        if (row == 4 && col == 3)
            style.value = "from the owner";
    });

    const GridStyle cell = grid.GetStyle(3, 3);
    EXPECT_EQ(cell.ControlId(), 511); // the column's control stays
    EXPECT_EQ(cell.interior, Rgb(240, 240, 240));
    EXPECT_EQ(cell.maxLength, 20);
    EXPECT_EQ(grid.GetStyle(2, 3).interior, Rgb(255, 255, 255));
    EXPECT_EQ(grid.GetStyle(1, 3).interior, Rgb(192, 192, 192)); // header rows
    EXPECT_EQ(grid.GetStyle(1, 3).ControlId(), gridcontrol::kStatic);
    EXPECT_EQ(grid.GetStyle(2, 0).hAlign, GridHAlign::Left);
    EXPECT_FALSE(grid.GetStyle(2, 1).hAlign.has_value());
    EXPECT_EQ(grid.GetCellText(4, 3), "from the owner");
    EXPECT_EQ(SplitChoiceList(*cell.choiceList), (std::vector<std::string>{"Off", "On"}));
    EXPECT_EQ(SplitChoiceList("a\n\nb"), (std::vector<std::string>{"a", ""}));

    grid.ClearStyleRange(GridRange::Rows(3, 3));
    EXPECT_EQ(grid.GetStyle(3, 3).interior, Rgb(255, 255, 255));
}

TEST_F(GridLayoutTest, ReadOnlyCellsRefuseChangesWhileProtected) {
    std::vector<std::string> stored;
    grid.SetStoreHook([&](int row, int col, const std::string& value) {
        stored.push_back(std::to_string(row) + "," + std::to_string(col) + "=" + value);
        return value != "refused";
    });
    GridStyle locked;
    locked.readOnly = true;
    ASSERT_TRUE(grid.SetStyleRange(GridRange::Cells(2, 1, 2, 1), locked));
    GridStyle white;
    white.interior = Rgb(255, 255, 255);
    EXPECT_FALSE(grid.SetStyleRange(GridRange::Cells(2, 1, 2, 1), white));
    EXPECT_FALSE(grid.GetStyle(2, 1).interior.has_value());
    EXPECT_FALSE(grid.SetValueRange(GridRange::Cells(2, 1, 2, 1), "x"));

    EXPECT_TRUE(grid.SetLockReadOnly(false)); // returns the old setting
    GridStyle open = white;
    open.readOnly = false;
    EXPECT_TRUE(grid.SetStyleRange(GridRange::Cells(2, 1, 2, 1), open));
    grid.SetLockReadOnly(true);
    EXPECT_TRUE(grid.SetValueRange(GridRange::Cells(2, 1, 3, 1), "y"));
    EXPECT_FALSE(grid.SetValueRange(GridRange::Cells(4, 2, 4, 2), "refused"));
    EXPECT_EQ(stored, (std::vector<std::string>{"2,1=y", "3,1=y", "4,2=refused"}));
    // The owner keeps what it takes; the grid shows what the owner gives.
    EXPECT_EQ(grid.GetCellText(2, 1), "r2c1");

    EXPECT_FALSE(grid.IsCellEditable(2, 2)); // no control
    GridStyle edit;
    edit.control = gridcontrol::kEdit;
    grid.SetColStyle(2, edit);
    EXPECT_FALSE(grid.IsCellEditable(2, 2)); // the control is not registered
}

TEST_F(GridLayoutTest, LayoutChangesAreToldAndKeptInTheParameterObject) {
    int changes = 0;
    grid.SetLayoutChanged([&] { ++changes; });
    grid.SetColWidth(2, 120);
    grid.HideCols(4, 5);
    grid.HideRows(3, 4);
    grid.HideRows(4, 9, false);
    grid.SetFrozenCols(2);
    grid.SetZoom(1000);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(grid.GetColWidth(2), 120);
    EXPECT_EQ(grid.GetColWidth(3), GridCore::kDefaultColWidth);
    EXPECT_TRUE(grid.IsColHidden(5));
    EXPECT_FALSE(grid.IsColHidden(3));
    EXPECT_TRUE(grid.IsRowHidden(3));
    EXPECT_FALSE(grid.IsRowHidden(4));
    EXPECT_EQ(grid.GetZoom(), CGridParam::kMaxZoom);

    CGridParam param = grid.GetParam();
    EXPECT_EQ(param.frozenCols, 2);
    EXPECT_EQ(param.hiddenCols, (std::set<int>{4, 5}));
    GridCore other;
    param.zoom = 5;
    other.SetParam(param);
    EXPECT_EQ(other.GetZoom(), CGridParam::kMinZoom);
    EXPECT_EQ(other.GetColWidth(2), 120);
    EXPECT_TRUE(other.IsRowHidden(3));
}

} // namespace
} // namespace tvane
