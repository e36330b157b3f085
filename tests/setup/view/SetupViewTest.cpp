#include <gtest/gtest.h>

#include <filesystem>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPdfWriter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "platform/core/Services.h"
#include "platform/gridview/GridCheckBoxControl.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "setup/ISetupOptionsSheet.h"
#include "setup/SetupGridController.h"
#include "setup/SetupGridDefs.h"
#include "setup/view/CFXComboBox.h"
#include "setup/view/CFXComboBox4.h"
#include "setup/view/CNumericEditControl.h"
#include "setup/view/CSetupView.h"
#include "tests/setup/FakeSetupOperations.h"
#include "tests/support/QtTestSupport.h"

using namespace setupgrid;

namespace {

using WithApp = tvane::test::WithTestApp;

struct CancelledSheet : ISetupOptionsSheet {
    bool Run(int page, Options&) override {
        pages.push_back(page);
        return false;
    }
    std::vector<int> pages;
};

// A setup of a 20-channel module in slot 1 (channel 103 paired with 113, a
// digital channel) and a few channels of slot 2, shown in the setup view with
// the program's message delivery.
class SetupViewTest : public WithApp, public ::testing::Test {
protected:
    SetupViewTest()
        : prompterGuard(tvane::SetPrompter, &prompter),
          schedulerGuard(tvane::SetMessageScheduler, &scheduler), view(ops, sheet) {
        for (int ch = 101; ch <= 112; ++ch)
            ops.AddRow(ch, ch == 104 ? "4w ohms" : "DC volts");
        ops.rows[2].flags = 0xFFFFFFFF; // the disabled half of a pair
        ops.rows[2].cells[1] = "0";
        ops.AddRow(113, "Digital Read 8bit", 0x0A7E); // alarm test "Equal": High open
        ops.rows.back().cells[11] = "Equal";
        ops.rows.back().cells[12] = "XXXXXXXX";
        for (int ch = 201; ch <= 204; ++ch)
            ops.AddRow(ch, "AC volts", 0x0100);
        ops.AddRow(900, "Computed", 0x407);
        ops.lastRows = {14, 18, 0};
        ops.monitor = 102;
        view.resize(760, 380);
        view.InitialUpdate(false);
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
        Deliver();
        ops.calls.clear();
    }
    ~SetupViewTest() override { Deliver(); }

    static void Deliver() { QCoreApplication::processEvents(); }
    void Click(int row, int col, Qt::MouseButton button = Qt::LeftButton) {
        QRect rect;
        QWidget* viewport = view.CellViewport(row, col, rect);
        ASSERT_NE(viewport, nullptr) << row << "," << col;
        QTest::mouseClick(viewport, button, {}, rect.center());
    }
    std::pair<int, int> Current() const {
        int row = 0, col = 0;
        view.Core().GetCurrentCell(row, col);
        return {row, col};
    }
    template <class T> T* Control(int id) {
        return static_cast<T*>(view.Core().GetRegisteredControl(id));
    }

    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> prompterGuard;
    tvane::QtMessageScheduler scheduler;
    tvane::ScopedService<tvane::IMessageScheduler> schedulerGuard;
    FakeSetupOperations ops;
    CancelledSheet sheet;
    CSetupView view;
};

TEST_F(SetupViewTest, PictureOfTheSetupGrid) {
    ops.recorded = true;
    view.Controller().OnOutOfSync(0, false);
    view.Controller().PostOutOfSync(5, true);
    view.Controller().PostOutOfSync(3, true);
    Deliver();
    view.SetCurrentCell(6, kColTest);
    Deliver();
    QApplication::processEvents();
    ASSERT_TRUE(tvane::test::SaveArtifact(view, "setup_grid.png"));
    // Scrolled to the right, the ID, Scan and Name columns stay.
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    QApplication::processEvents();
    ASSERT_TRUE(tvane::test::SaveArtifact(view, "setup_grid_scrolled.png"));
    // As wide as the three columns: their set widths, or what their headers need.
    EXPECT_EQ(view.FrozenPart()->width(),
              view.columnWidth(kColId) + view.columnWidth(kColScan) + view.columnWidth(kColName));
    EXPECT_GE(view.FrozenPart()->width(), 40 + 32 + 120);
    EXPECT_EQ(view.Core().GetStyle(3, kColId).interior, kIdMonitorOutOfSync);
    EXPECT_EQ(view.Core().GetStyle(5, kColId).interior, kIdOutOfSync);
}

TEST_F(SetupViewTest, AChosenFunctionIsPostedAndHandledAfterTheListsOwnNotification) {
    Click(2, kColFunction);
    EXPECT_EQ(Current(), std::pair(2, int(kColFunction)));
    auto* list = Control<CFXComboBox>(kCtrlDropDown);
    EXPECT_TRUE(list->Items().empty()); // filled when the posted message arrives
    Deliver();
    EXPECT_EQ(list->Items(),
              (std::vector<std::string>{"DC volts", "AC volts", "2w ohms", "4w ohms"}));
    EXPECT_EQ(list->CurrentIndex(), 0);

    // The same entry in another case: nothing.
    list->ComboBox()->setItemText(0, "dc VOLTS");
    emit list->ComboBox()->activated(0);
    Deliver();
    EXPECT_TRUE(ops.calls.empty());
    EXPECT_FALSE(list->IsModified());

    ops.partnerOf[2] = 12;
    emit list->ComboBox()->activated(3);
    EXPECT_TRUE(ops.calls.empty()); // posted: nothing yet
    Deliver();
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Store 2,3=4w ohms", "ApplyRowChange 2"}));
    EXPECT_EQ(view.Core().GetStyle(12, kColFunction).interior, kDisabledCell);
}

TEST_F(SetupViewTest, CheckBoxesAndTheChannelMenu) {
    ops.recomputed[5] = 0x2000;
    Click(5, kColScan);
    EXPECT_TRUE(ops.calls.empty());
    Deliver();
    EXPECT_EQ(ops.calls, (std::vector<std::string>{"Store 5,1=0", "RecomputeRowFlags 5"}));
    EXPECT_TRUE(view.Core().GetStyle(5, kColScan).IsReadOnly());

    // A right click on an edit opens the "Channel" menu at once (sent).
    std::vector<int> menus;
    QObject::connect(&view, &CSetupView::popupMenuRequested, [&](int id) { menus.push_back(id); });
    Click(4, kColComment);
    auto* comment =
        static_cast<tvane::GridEditControl*>(view.Core().GetRegisteredControl(kCtrlComment));
    ASSERT_TRUE(comment->IsActive());
    QTest::mouseClick(comment->LineEdit(), Qt::RightButton);
    EXPECT_EQ(menus, std::vector<int>{200});
    Click(6, kColName, Qt::RightButton);
    Click(6, kColId, Qt::RightButton);
    EXPECT_EQ(menus, (std::vector<int>{200, 151, 200}));
    EXPECT_EQ(Current(), std::pair(6, 0)); // the clicked cell became current first
}

TEST_F(SetupViewTest, NumericCellsFilterTypingAndCheckWhenLeft) {
    view.setFocus();
    Click(2, kColGain);
    auto* numeric = Control<CNumericEditControl>(kCtrlNumeric);
    ASSERT_TRUE(numeric->IsActive());
    QLineEdit* edit = numeric->LineEdit();
    QTest::keyClicks(edit, "-e1x-");
    EXPECT_EQ(edit->text(), "-1"); // no exponent after a sign, no letter, no sign after a digit
    QTest::keyClicks(edit, "e");
    EXPECT_EQ(edit->text(), "-1e"); // may stand while typed, not when left
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(Current(), std::pair(2, int(kColGain)));
    EXPECT_EQ(
        prompter.Texts(),
        std::vector<std::string>{"Invalid value. Please enter a number between -1e+15 and 1e+15"});
    edit->clear();
    QTest::keyClicks(edit, "1e-5");
    EXPECT_EQ(edit->text(), "1e-5");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(Current(), std::pair(2, int(kColOffset)));
    EXPECT_EQ(ops.calls, std::vector<std::string>{"Store 2,8=1e-5"});

    // The High cell of the digital row takes an 8-position pattern typed over.
    Click(14, kColHigh);
    ASSERT_EQ(numeric->Mode(), NumericMode::BitPattern);
    edit->setCursorPosition(0);
    QTest::keyClicks(edit, "1x0");
    EXPECT_EQ(edit->text(), "1X0XXXXX");
    edit->setCursorPosition(8);
    QTest::keyClicks(edit, "1");
    EXPECT_EQ(edit->text(), "1X0XXXXX"); // no ninth character
    edit->setText("10X1");
    numeric->SetCurrentText("10X1");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(prompter.Texts().back(),
              "Invalid value. Please enter an 8 digit bit pattern using 1,0 or X");
}

TEST_F(SetupViewTest, UnitsLabelsAndTabAcrossTheRow) {
    Click(7, kColLabel);
    auto* units = Control<CFXComboBox4>(kCtrlUnitsCombo);
    ASSERT_TRUE(units->IsActive());
    QLineEdit* edit = units->ComboBox()->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, "_5mV_2");
    EXPECT_EQ(edit->text(), "mV_2");
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_EQ(Current(), std::pair(7, int(kColTest)));
    EXPECT_EQ(ops.calls, std::vector<std::string>{"Store 7,10=mV_2"});
    view.setFocus();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(&view, Qt::Key_Tab);
    EXPECT_EQ(Current(), std::pair(8, 1)); // past the comment to the next row
}

} // namespace

namespace {

TEST_F(SetupViewTest, DoubleClicksAndTheDeleteKeyReachTheCommands) {
    QRect rect;
    QWidget* viewport = view.CellViewport(5, kColHigh, rect);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, rect.center());
    ASSERT_FALSE(ops.calls.empty());
    EXPECT_EQ(ops.calls.back(), "Properties cells 5,12-5,12 page 3");
    QTest::mouseDClick(view.horizontalHeader()->viewport(), Qt::LeftButton, {},
                       QPoint(view.horizontalHeader()->sectionViewportPosition(kColRange) + 5, 5));
    EXPECT_EQ(sheet.pages, std::vector<int>{0});

    view.ScrollToCell(19, kColId);
    Click(19, kColId); // the computed channel's whole row
    EXPECT_EQ(view.Core().GetSelection(), tvane::GridRangeList{tvane::GridRange::Rows(19, 19)});
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Delete);
    EXPECT_EQ(ops.calls.back(), "Delete rows 19,0-19,0");
    EXPECT_EQ(view.Core().GetLastRow(), 18);
}

} // namespace

namespace {

TEST_F(SetupViewTest, PrintingUnfreezesTheColumnsAndCtrlAddsNoRange) {
    QTemporaryDir dir;
    QPdfWriter writer(dir.filePath("setup.pdf"));
    writer.setResolution(96);
    EXPECT_GT(view.PrintSetupTo(writer), 1);
    EXPECT_EQ(view.Core().GetFrozenCols(), 2);
    EXPECT_NE(view.FrozenPart(), nullptr);

    Click(3, kColName);
    QRect rect;
    QWidget* viewport = view.CellViewport(6, kColRange, rect);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::ControlModifier, rect.center());
    EXPECT_EQ(Current(), std::pair(3, int(kColName)));
    EXPECT_EQ(view.Core().GetSelection().size(), 1u);
}

} // namespace
