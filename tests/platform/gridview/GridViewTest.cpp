#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include "platform/gridview/GridPrinter.h"
#include "platform/gridview/GridView.h"
#include "tests/support/QtTestSupport.h"

namespace tvane {
namespace {

// The application exists before any widget of a test.
struct WithApp : tvane::test::WithTestApp, ::testing::Test {};

// A grid of rows "r<row>c<col>" over three data columns.
class GridViewTest : public WithApp {
protected:
    GridViewTest() {
        GridCore& core = view.Core();
        core.SetColCount(3);
        core.SetRowCountSource([this] { return rows; });
        core.SetCellTextSource([](int row, int col, std::string& text) {
            text = "r" + std::to_string(row) + "c" + std::to_string(col);
            return true;
        });
        for (int col = 0; col <= 3; ++col)
            core.SetColWidth(col, 60);
        view.resize(400, 300);
        view.ResetGrid();
        view.show();
    }
    QPoint CellCentre(int row, int col) const {
        const QModelIndex index = view.model()->index(row - 1, col);
        return view.visualRect(index).center();
    }

    int rows = 5;
    GridView view;
};

TEST_F(GridViewTest, TheCurrentRowIsHighlightedAndTheCurrentCellFramed) {
    view.SetHighlightCurrentRow(true);
    view.SetCurrentCell(2, 2);
    const QImage image = view.viewport()->grab().toImage();
    const QColor highlight = view.palette().color(QPalette::Highlight);
    const QColor base = view.palette().color(QPalette::Base);
    EXPECT_EQ(image.pixelColor(CellCentre(2, 1) + QPoint(0, 5)), highlight);
    EXPECT_EQ(image.pixelColor(CellCentre(2, 3) + QPoint(0, 5)), highlight);
    EXPECT_EQ(image.pixelColor(CellCentre(2, 2) + QPoint(0, 5)), base);
    const QRect current = view.visualRect(view.model()->index(1, 2));
    EXPECT_EQ(image.pixelColor(current.left() + 1, current.center().y()), highlight);
    EXPECT_EQ(image.pixelColor(CellCentre(3, 1) + QPoint(0, 5)), base);
}

TEST_F(GridViewTest, RowsFollowTheCountAndKeepTheCurrentCell) {
    view.SetCurrentCell(4, 1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, CellCentre(2, 0));
    EXPECT_EQ(view.Core().GetSelection(), GridRangeList{GridRange::Rows(2, 2)});
    int row = 0, col = 0;
    ASSERT_TRUE(view.HitTest(CellCentre(3, 2), row, col));
    EXPECT_EQ(std::pair(row, col), std::pair(3, 2));

    view.SetCurrentCell(3, 1);
    rows = 8;
    view.Redraw();
    EXPECT_EQ(view.model()->rowCount(), 8);
    view.Core().GetCurrentCell(row, col);
    EXPECT_EQ(row, 3);
    rows = 2;
    view.Redraw();
    EXPECT_EQ(view.model()->rowCount(), 2);
    view.ResetGrid();
    EXPECT_FALSE(view.Core().HasCurrentCell());
    EXPECT_TRUE(view.Core().GetSelection().empty());
}

TEST_F(GridViewTest, PrintingPagesTheRows) {
    QTemporaryDir dir;
    const QString path = dir.filePath("grid.pdf");
    rows = 200;
    QPdfWriter writer(path);
    writer.setResolution(300);
    const int pages = PrintGrid(view.Core(), writer, view.font());
    EXPECT_GT(pages, 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(4) == "%PDF");
    rows = 0;
    EXPECT_FALSE(view.Print()); // nothing to print
}

} // namespace
} // namespace tvane
