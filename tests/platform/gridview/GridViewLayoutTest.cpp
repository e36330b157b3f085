#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "platform/core/Services.h"
#include "platform/gridview/GridCheckBoxControl.h"
#include "platform/gridview/GridComboControl.h"
#include "platform/gridview/GridEditControl.h"
#include "platform/gridview/GridHeaderView.h"
#include "platform/gridview/GridView.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"

namespace tvane {
namespace {

constexpr int kCombo = 700;
constexpr int kCheck = 701;
constexpr int kNumber = 702;

// Refuses a text that is not a whole number when the cell is left.
class NumberControl final : public GridEditControl {
public:
    using GridEditControl::GridEditControl;
    bool OnValidate() override {
        if (!GetControlText().empty() &&
            GetControlText().find_first_not_of("0123456789") == std::string::npos)
            return true;
        Grid().SetWarningText("Please enter a number");
        return false;
    }

protected:
    bool AcceptsText(const QString& text) const override { return !text.contains(' '); }
};

// Twelve columns under two header rows with group headers, the first two data
// columns frozen; the owner keeps the values.
class GridViewLayoutTest : public tvane::test::WithTestApp, public ::testing::Test {
protected:
    GridViewLayoutTest() : guard(SetPrompter, &prompter) {
        GridCore& core = view.Core();
        core.SetHeaderRowCount(2);
        core.SetColCount(12);
        core.SetRowCountSource([this] { return rows; });
        core.SetCellTextSource([this](int row, int col, std::string& text) {
            auto it = values.find({row, col});
            text = it != values.end() ? it->second
                                      : "r" + std::to_string(row) + "c" + std::to_string(col);
            return true;
        });
        core.SetStoreHook([this](int row, int col, const std::string& value) {
            values[{row, col}] = value;
            stored.push_back(value);
            return true;
        });
        core.SetHeaderText(0, 0, "Channel");
        core.SetCoveredCells(GridRange::Cells(0, 0, 0, 2));
        core.SetHeaderText(0, 3, "Measurement");
        core.SetCoveredCells(GridRange::Cells(0, 3, 0, 6));
        core.SetHeaderText(0, 7, "Limits");
        core.SetCoveredCells(GridRange::Cells(0, 7, 0, 11));
        core.SetHeaderText(0, 12, "Comment");
        core.SetCoveredCells(GridRange::Cells(0, 12, 1, 12));
        const char* headers[] = {"ID",       "Scan", "Name", "Function", "Range",  "Resolution",
                                 "Advanced", "Test", "High", "Low",      "Output", "Actions"};
        for (int col = 0; col < 12; ++col) {
            core.SetHeaderText(1, col, headers[col]);
            core.SetColWidth(col, col == 0 ? 40 : 70);
        }
        core.SetColWidth(12, 120);
        core.ColHeaderStyle().interior = Rgb(192, 192, 192);
        core.SetRowHeight(0, 1, 20);
        core.SetDefaultRowHeight(22);
        core.RegisterControl(kCombo, std::make_unique<GridComboControl>(view, false));
        core.RegisterControl(kCheck, std::make_unique<GridCheckBoxControl>(view));
        core.RegisterControl(kNumber, std::make_unique<NumberControl>(view));
        GridStyle style;
        style.control = kCheck;
        style.hAlign = GridHAlign::Center;
        core.SetColStyle(1, style);
        style = {};
        style.control = gridcontrol::kEdit;
        core.SetColStyle(2, style);
        style.control = kCombo;
        style.choiceList = "Off\nHigh/Low\nHigh Only\nLow Only\n";
        core.SetColStyle(7, style);
        style = {};
        style.control = kNumber;
        core.SetColStyle(8, style);
        for (int row = 2; row < 2 + rows; ++row)
            values[{row, 1}] = row % 2 ? "1" : "0";
        GridStyle grey;
        grey.interior = Rgb(240, 240, 240);
        grey.readOnly = true;
        core.SetStyleRange(GridRange::Cells(4, 3, 4, 11), grey);
        core.SetFrozenCols(2);
        view.resize(560, 260);
        view.ResetGrid();
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QRect CellRect(int row, int col, QWidget*& viewport) const {
        QRect rect;
        viewport = view.CellViewport(row, col, rect);
        return rect;
    }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QWidget* viewport = nullptr;
        const QRect rect = CellRect(row, col, viewport);
        ASSERT_NE(viewport, nullptr);
        QTest::mouseClick(viewport, button, {}, rect.center());
    }
    std::pair<int, int> Current() const {
        int row = 0, col = 0;
        view.Core().GetCurrentCell(row, col);
        return {row, col};
    }

    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard;
    int rows = 12;
    std::map<std::pair<int, int>, std::string> values;
    std::vector<std::string> stored;
    GridView view;
};

TEST_F(GridViewLayoutTest, FrozenColumnsStayWhileTheRestScrollsUnderThem) {
    QTableView* frozen = view.FrozenPart();
    ASSERT_NE(frozen, nullptr);
    ASSERT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->width(), 40 + 70 + 70);
    EXPECT_TRUE(frozen->isColumnHidden(3));
    EXPECT_FALSE(frozen->isColumnHidden(2));
    // Two header rows of 20 pixels above the cells, in both parts.
    EXPECT_EQ(view.horizontalHeader()->height(), 40);
    EXPECT_EQ(frozen->horizontalHeader()->height(), 40);
    EXPECT_EQ(view.rowHeight(0), 22);

    const QImage before = view.grab().toImage();
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    const QImage after = view.grab().toImage();
    // The frozen part did not move; the scrolling part did.
    const QRect frozenArea = frozen->geometry();
    EXPECT_EQ(before.copy(frozenArea), after.copy(frozenArea));
    EXPECT_NE(before.copy(frozenArea.right() + 5, 50, 100, 100),
              after.copy(frozenArea.right() + 5, 50, 100, 100));

    // A cell that would sit under the frozen part is scrolled out again.
    view.SetCurrentCell(3, 3);
    view.ScrollToCell(3, 3);
    QWidget* viewport = nullptr;
    EXPECT_GE(CellRect(3, 3, viewport).left(), frozen->width());
    EXPECT_EQ(viewport, view.viewport());
    QRect frozenCell;
    EXPECT_EQ(view.CellViewport(3, 1, frozenCell), frozen->viewport());

    // A covered header is one cell: its colour runs through the column edges.
    int row = -1, col = -1;
    view.horizontalScrollBar()->setValue(0);
    EXPECT_TRUE(view.HitTestWindow(QPoint(frozenArea.right() + 30, 5), row, col));
    EXPECT_EQ(std::pair(row, col), std::pair(0, 3));
    EXPECT_TRUE(view.HitTestWindow(QPoint(20, 30), row, col));
    EXPECT_EQ(std::pair(row, col), std::pair(1, 0));
}

TEST_F(GridViewLayoutTest, PictureOfTheGridWithFrozenColumnsAndCoveredHeaders) {
    view.resize(640, 300);
    view.SetCurrentCell(3, 7);
    view.horizontalScrollBar()->setValue(90);
    QApplication::processEvents();
    const QPixmap shot = view.grab();
    ASSERT_TRUE(tvane::test::SaveArtifact(shot.toImage(), "grid_frozen_columns.png"));

    // The group header's colour is unbroken across the edge between two of
    // its columns, while the column header row below is divided there.
    const QImage image = shot.toImage();
    QWidget* viewport = nullptr;
    const QRect range = CellRect(2, 6, viewport);
    const QPoint edge = viewport->mapTo(&view, range.topLeft());
    const QColor grey(192, 192, 192);
    EXPECT_EQ(image.pixelColor(edge.x() - 1, 10), grey);
    EXPECT_NE(image.pixelColor(edge.x() - 1, 30), grey);
    // A read-only cell shows its own interior.
    const QRect locked = CellRect(4, 5, viewport);
    EXPECT_EQ(image.pixelColor(viewport->mapTo(&view, locked.topLeft() + QPoint(3, 3))),
              QColor(240, 240, 240));
}

TEST_F(GridViewLayoutTest, TypingEditsTheCellAndLeavingStoresOrStays) {
    view.setFocus();
    view.SetCurrentCell(2, 8);
    QTest::keyClicks(&view, "1");
    auto* edit = static_cast<NumberControl*>(view.Core().GetRegisteredControl(kNumber));
    ASSERT_TRUE(edit->IsActive());
    QTest::keyClicks(edit->LineEdit(), "2a");
    EXPECT_EQ(edit->LineEdit()->text(), "12a");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Space); // the filter drops it
    EXPECT_EQ(edit->GetControlText(), "12a");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Down);
    EXPECT_EQ(Current(), std::pair(2, 8)); // refused: the cell stays
    ASSERT_EQ(prompter.Texts(), std::vector<std::string>{"Please enter a number"});
    EXPECT_TRUE(stored.empty());
    QTest::keyClick(edit->LineEdit(), Qt::Key_Backspace);
    QTest::keyClick(edit->LineEdit(), Qt::Key_Down);
    EXPECT_EQ(Current(), std::pair(3, 8));
    EXPECT_EQ(stored, std::vector<std::string>{"12"});
    EXPECT_FALSE(edit->IsActive());

    // Escape drops an edit; a click elsewhere is refused like a key.
    QTest::keyClicks(&view, "x");
    QTest::keyClick(edit->LineEdit(), Qt::Key_Escape);
    EXPECT_EQ(edit->GetControlText(), "r3c8");
    QTest::keyClicks(&view, "y");
    Click(5, 2);
    EXPECT_EQ(Current(), std::pair(3, 8));
    EXPECT_EQ(prompter.asked.size(), 2u);
    EXPECT_FALSE(view.CommitCurrentCell());
    EXPECT_EQ(prompter.asked.size(), 3u);
}

TEST_F(GridViewLayoutTest, ListsAndCheckBoxesEditThroughTheSameProtocol) {
    auto* combo = static_cast<GridComboControl*>(view.Core().GetRegisteredControl(kCombo));
    values[{2, 7}] = "high o";
    Click(2, 7);
    EXPECT_EQ(combo->Items(),
              (std::vector<std::string>{"Off", "High/Low", "High Only", "Low Only"}));
    EXPECT_EQ(combo->CurrentIndex(), 2); // the first item that begins with the text
    ASSERT_TRUE(combo->IsActive());
    combo->ComboBox()->setCurrentIndex(3);
    emit combo->ComboBox()->activated(3);
    EXPECT_TRUE(combo->IsModified());
    EXPECT_EQ(combo->GetControlText(), "Low Only");
    EXPECT_TRUE(view.CommitCurrentCell());
    EXPECT_EQ(stored, std::vector<std::string>{"Low Only"});
    values[{2, 7}] = "";
    combo->Init(2, 7);
    EXPECT_EQ(combo->CurrentIndex(), -1);

    // A read-only cell cannot be activated.
    Click(4, 7);
    EXPECT_FALSE(combo->IsActive());

    auto* check = static_cast<GridCheckBoxControl*>(view.Core().GetRegisteredControl(kCheck));
    Click(3, 1); // in the frozen part
    EXPECT_EQ(check->GetControlText(), "0");
    EXPECT_TRUE(check->IsModified());
    Click(4, 1); // stores the cell left and turns this one over
    EXPECT_EQ(stored, (std::vector<std::string>{"Low Only", "0"}));
    EXPECT_EQ(check->GetControlText(), "1");
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_EQ(check->GetControlText(), "0");
}

TEST_F(GridViewLayoutTest, HiddenRowsAndColumnsAndZoomFollowTheCore) {
    GridCore& core = view.Core();
    core.HideCols(4, 5);
    core.HideRows(3, 3);
    EXPECT_TRUE(view.isColumnHidden(4));
    EXPECT_TRUE(view.isRowHidden(1));
    EXPECT_TRUE(view.FrozenPart()->isRowHidden(1));
    core.HideRows(3, 3, false);
    EXPECT_FALSE(view.isRowHidden(1));

    view.LockUpdate(true);
    core.SetZoom(150);
    EXPECT_EQ(view.columnWidth(3), 70); // waits while locked
    view.LockUpdate(false);
    EXPECT_EQ(view.columnWidth(3), 105);
    EXPECT_EQ(view.rowHeight(0), 33);
    EXPECT_EQ(view.horizontalHeader()->height(), 60);
    EXPECT_EQ(view.FrozenPart()->width(), (40 + 70 + 70) * 3 / 2);

    core.SetFrozenCols(0);
    EXPECT_EQ(view.FrozenPart(), nullptr);
}

TEST_F(GridViewLayoutTest, PrintingCutsColumnsIntoPagesWithTheFrozenOnes) {
    QTemporaryDir dir;
    const auto pages = [&](bool fit, int frozen) {
        view.Core().SetFrozenCols(frozen);
        view.SetPrintFitToWidth(fit);
        QPdfWriter writer(dir.filePath("grid.pdf"));
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QPageSize::A5));
        return view.PrintTo(writer);
    };
    const int fit = pages(true, 2);
    const int plain = pages(false, 0);
    const int withFrozen = pages(false, 2);
    EXPECT_EQ(fit, 1);
    EXPECT_GT(plain, 1);
    EXPECT_GE(withFrozen, plain); // the frozen columns take room on each page
}

} // namespace
} // namespace tvane
