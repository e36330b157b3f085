#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTest>

#include "app/eventlog/CEventBarButton.h"
#include "app/eventlog/CEventDialogBar.h"
#include "app/eventlog/CEventEditDialog.h"
#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "database/CDatasetEvent.h"
#include "platform/gridview/GridFindDialog.h"
#include "platform/ui/Help.h"
#include "tests/app/ScanEngineFixture.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// The event log window over a document with an open dataset, shown and
// active; the Add Event dialog is worked by the test's exec.
class EventLogWindowTest : public ScanEngineTest {
protected:
    void SetUp() override {
        TestApp();
        ScanEngineTest::SetUp();
        // Channels of a measuring module, so the dialog lists them.
        for (std::uint32_t ch : {101u, 102u, 103u})
            doc->FindSetupRow(ch)->Name = "KXQT7101";
        services.eventEditDialog = &editDialog;
        Wire();
        frame = std::make_unique<CEventFrame>();
        frame->resize(494, 218);
        frame->SetDocument(doc.get());
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        View()->setFocus();
    }
    void TearDown() override {
        frame.reset();
        services.eventEditDialog = nullptr;
        Wire();
        ScanEngineTest::TearDown();
    }

    CEventView* View() const { return frame->View(); }
    QWidget* Focus() const { return frame->focusWidget(); }
    CEventBarButton* Button(unsigned id) const { return frame->Bar()->Button(id); }
    // Delivers the posted focus-change and copy messages.
    static void Pump() { QCoreApplication::sendPostedEvents(); }
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(target, key, modifiers);
        Pump();
    }

    void Store(std::uint32_t type, std::int32_t channel, double time, const std::string& text) {
        CDatasetEvent event(type, channel, time, text);
        doc->AddEvent(event);
        View()->Redraw();
    }
    // Six events "e1".."e6", each one second after the one before.
    void StoreSix() {
        for (int i = 1; i <= 6; ++i)
            Store(CDatasetEvent::Start, 100 + i, i * 1000.0, "e" + std::to_string(i));
    }
    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (std::int32_t i = 0; i < doc->GetEventCount(); ++i) {
            CDatasetEvent event;
            doc->GetEvent(i, event);
            texts.push_back(event.m_text);
        }
        return texts;
    }
    std::string Cell(int row, int col) { return View()->Core().GetCellText(row, col); }
    // Prints go to a PDF file in the test's home.
    std::filesystem::path PrintToPdf() {
        const auto path = home.Data() / "events.pdf";
        View()->SetPrinterSetup([path](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(QString::fromStdString(path.string()));
            return true;
        });
        return path;
    }

    // Chooses a channel entry by its start, sets the description and presses OK.
    EventEditDialogRunner editDialog{
        nullptr, [this](CEventEditDialog& dialog) {
            seenCaption = dialog.windowTitle().toStdString();
            seenChannel = dialog.Channel()->currentText().toStdString();
            seenType = dialog.EntryType()->text().toStdString();
            seenTime = dialog.DateTime()->text().toStdString();
            if (!pickChannel.empty())
                dialog.Channel()->setCurrentIndex(dialog.Channel()->findText(
                    QString::fromStdString(pickChannel), Qt::MatchStartsWith));
            if (!newText.empty())
                dialog.Description()->setPlainText(QString::fromStdString(newText));
            if (!answerOk)
                return int(QDialog::Rejected);
            dialog.accept();
            return dialog.result();
        }};
    std::string seenCaption, seenChannel, seenType, seenTime, pickChannel, newText;
    bool answerOk = true;
    std::unique_ptr<CEventFrame> frame;
};

TEST_F(EventLogWindowTest, RowsAreReadFromTheDocument) {
    Store(0, 0, 1500.0, "untyped");
    Store(CDatasetEvent::Download, 102, 2500.0, "loaded");
    ASSERT_EQ(View()->model()->rowCount(), 2);
    for (int row = 1; row <= 2; ++row)
        for (int col = 1; col <= 4; ++col) {
            std::string expected;
            ASSERT_TRUE(doc->GetEventCellText(row - 1, col - 1, expected));
            EXPECT_EQ(Cell(row, col), expected) << row << "," << col;
            EXPECT_EQ(View()->model()->index(row - 1, col).data().toString().toStdString(),
                      expected);
        }
    EXPECT_EQ(Cell(1, 1), ""); // type 0 has no text
    EXPECT_EQ(Cell(2, 2), "102");
    EXPECT_EQ(Cell(2, 0), "2");
    const int widths[] = {40, 90, 70};
    for (int col = 0; col < 3; ++col)
        EXPECT_EQ(View()->columnWidth(col), widths[col]);
    // The date and time: the set width at least, and as much as its texts need.
    EXPECT_GE(View()->columnWidth(3), 125);
    const int margin =
        View()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, View()) + 1;
    for (int row = 1; row <= 2; ++row)
        EXPECT_LE(QFontMetrics(View()->CellFont(View()->Core().GetStyle(row, 3)))
                          .horizontalAdvance(QString::fromStdString(Cell(row, 3))) +
                      2 * margin,
                  View()->columnWidth(3))
            << Cell(row, 3);
    EXPECT_GE(View()->columnWidth(4), 110);
    // The description takes the room the window has to spare.
    frame->resize(900, 300);
    QCoreApplication::processEvents();
    EXPECT_GT(View()->columnWidth(4), 300);
}

TEST_F(EventLogWindowTest, TabMovesBetweenTheTableAndTheBar) {
    StoreSix();
    View()->SetCurrentCell(1, 1);
    Key(View(), Qt::Key_Tab);
    EXPECT_EQ(Focus(), Button(CEventView::kAdd));
    Key(Button(CEventView::kAdd), Qt::Key_Tab);
    EXPECT_EQ(Focus(), Button(CEventView::kEdit));
    Key(Button(CEventView::kEdit), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), Button(CEventView::kAdd));
    Key(Button(CEventView::kAdd), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), View());
    Key(View(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focus(), Button(CEventView::kClose));
    Key(Button(CEventView::kClose), Qt::Key_Tab);
    EXPECT_EQ(Focus(), View());

    // Disabled buttons are passed over.
    View()->SetCurrentCell(0, 0);
    frame->UpdateCommands();
    Button(CEventView::kAdd)->setFocus();
    Key(Button(CEventView::kAdd), Qt::Key_Tab);
    EXPECT_EQ(Focus(), Button(CEventView::kPrint));
}

TEST_F(EventLogWindowTest, AltKeysRunTheBarsCommands) {
    StoreSix();
    View()->SetCurrentCell(2, 1);
    View()->SelectRange(GridRange::Rows(2, 2));
    prompter.Script({MsgAnswer::No});
    Key(View(), Qt::Key_D, Qt::AltModifier);
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "Are you sure you want to delete selected event(s)?");
    EXPECT_EQ(prompter.asked[0].caption, "Delete Event(s)");
    EXPECT_EQ(prompter.asked[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Question);
    EXPECT_EQ(doc->GetEventCount(), 6);
    // The command gives the focus back to the table.
    EXPECT_EQ(Focus(), View());

    const auto pdf = PrintToPdf();
    Key(View(), Qt::Key_P, Qt::AltModifier);
    EXPECT_FALSE(std::filesystem::exists(pdf));
    EXPECT_EQ(Focus(), Button(CEventView::kAdd));
    View()->setFocus();
    Key(View(), Qt::Key_Q, Qt::AltModifier);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    std::ifstream file(pdf, std::ios::binary);
    std::string head(4, '\0');
    file.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");
    EXPECT_EQ(Focus(), View());

    Key(View(), Qt::Key_Escape);
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(EventLogWindowTest, CopyingWholeRowsGivesTabbedLinesJoinedByOneLineEnd) {
    StoreSix();
    View()->SetCurrentCell(2, 1);
    Key(View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(prompter.Texts().back(), "Nothing selected for operation");
    EXPECT_EQ(prompter.asked.back().icon, MsgIcon::Warning);

    View()->SelectRange(GridRange::Rows(2, 3));
    Key(View(), Qt::Key_C, Qt::ControlModifier);
    std::string expected;
    for (int row = 2; row <= 3; ++row) {
        if (row == 3)
            expected += "\r\n";
        for (int col = 1; col <= 4; ++col)
            expected += (col > 1 ? "\t" : "") + Cell(row, col);
    }
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), expected);
    EXPECT_EQ(prompter.Texts().back(),
              "The selected data has been successfully copied to the clipboard.");
}

TEST_F(EventLogWindowTest, DeletingTwoRangesRemovesExactlyThoseEvents) {
    StoreSix();
    // Selected bottom range first: the deletion takes them top down.
    View()->SetCurrentCell(5, 1);
    View()->SelectRange(GridRange::Cells(5, 2, 6, 3));
    View()->SelectRange(GridRange::Rows(2, 3), true);
    prompter.Script({MsgAnswer::Yes});
    ASSERT_TRUE(frame->OnCommand(CEventView::kDelete));
    EXPECT_EQ(Texts(), (std::vector<std::string>{"e1", "e4"}));
    const std::vector<long> hints = view.Hints();
    EXPECT_EQ(std::count(hints.begin(), hints.end(), HINT_EVENTS_CHANGED), 4);
    EXPECT_EQ(View()->model()->rowCount(), 2);
    EXPECT_TRUE(View()->Core().GetSelection().empty());
    EXPECT_TRUE(View()->Core().HasCurrentCell());

    // Deleting every event leaves no current cell and the commands off.
    View()->SelectRange(GridRange::Rows(1, 2));
    prompter.Script({MsgAnswer::Yes});
    frame->OnCommand(CEventView::kDelete);
    EXPECT_EQ(doc->GetEventCount(), 0);
    EXPECT_FALSE(View()->Core().HasCurrentCell());
    EXPECT_FALSE(Button(CEventView::kDelete)->isEnabled());
    EXPECT_FALSE(Button(CEventView::kPrint)->isEnabled());
    EXPECT_TRUE(Button(CEventView::kAdd)->isEnabled());
}

TEST_F(EventLogWindowTest, EditingKeepsTypeAndTime) {
    Store(0, 0, 1500.0, "untyped");
    Store(CDatasetEvent::Start, 101, 2500.0, "started");
    View()->SetCurrentCell(1, 3);
    pickChannel = "<102>";
    newText = "checked";
    ASSERT_TRUE(View()->EditEvent());
    EXPECT_EQ(seenCaption, "Edit Event");
    EXPECT_EQ(seenChannel, ""); // "<0>" begins no entry
    EXPECT_EQ(seenType, "");
    CDatasetEvent event;
    ASSERT_TRUE(doc->GetEvent(0, event));
    EXPECT_EQ(event.m_type, 0u);
    EXPECT_EQ(event.m_time, 1500.0);
    EXPECT_EQ(event.m_channel, 102);
    EXPECT_EQ(event.m_text, "checked");
    EXPECT_EQ(Cell(1, 4), "checked");

    // The row's channel is selected in the list; Cancel changes nothing.
    View()->SetCurrentCell(2, 1);
    pickChannel.clear();
    answerOk = false;
    EXPECT_FALSE(View()->EditEvent());
    EXPECT_EQ(seenChannel.rfind("<101>", 0), 0u);
    EXPECT_EQ(seenType, "Start");
    EXPECT_EQ(seenTime, Cell(2, 3));
    ASSERT_TRUE(doc->GetEvent(1, event));
    EXPECT_EQ(event.m_text, "started");
}

TEST_F(EventLogWindowTest, AnAddedUserEventTakesItsPlaceInTimeAndTheCountRises) {
    Store(CDatasetEvent::Start, 0, 0.0, "early");
    Store(CDatasetEvent::Stop, 0, 1e9, "late");
    doc->LogEvent();
    EXPECT_EQ(app.frame.panes[3], "Events 2");
    // A note during the run, 5 s into it.
    doc->GetScanEngine().BeginRun();
    doc->GetScanEngine().StartRunClock(Clock().TickCount() - 5000);
    newText = "my note";
    Key(View(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(seenCaption, "Add Event");
    EXPECT_EQ(seenType, "User");
    EXPECT_EQ(seenChannel, "(none)");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"early", "my note", "late"}));
    EXPECT_EQ(app.frame.panes[3], "Events 3");
    EXPECT_EQ(View()->model()->rowCount(), 3);
    EXPECT_EQ(Cell(2, 1), "User");
    // A note outside a run follows every event of the run.
    doc->GetScanEngine().HaltRun();
    newText = "outside";
    Key(View(), Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(Texts(), (std::vector<std::string>{"early", "my note", "late", "outside"}));
}

TEST_F(EventLogWindowTest, ShowingAnEventMakesItsRowCurrent) {
    StoreSix();
    View()->SetCurrentCell(1, 2);
    CDatasetEvent criteria(CDatasetEvent::Start, 104, 0.0);
    doc->ShowEventInLog(criteria);
    EXPECT_EQ(app.frame.eventLogShown, 1);
    int row = 0, col = -1;
    ASSERT_TRUE(View()->Core().GetCurrentCell(row, col));
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 0);
    // Activation brings the current cell into the data columns.
    View()->ActivateView();
    View()->Core().GetCurrentCell(row, col);
    EXPECT_EQ(row, 4);
    EXPECT_EQ(col, 1);
}

TEST_F(EventLogWindowTest, LimitEventsAndNewDocumentsInTheHints) {
    StoreSix();
    View()->SetCurrentCell(3, 1);
    CDatasetEvent high(CDatasetEvent::HighLimit, 101, 9000.0, "high");
    doc->UpdateAllViews(nullptr, HINT_READING, &high);
    EXPECT_EQ(doc->GetEventCount(), 6);
    CDatasetEvent output(CDatasetEvent::OutputOperation, 101, 9000.0, "written");
    doc->UpdateAllViews(nullptr, HINT_READING, &output);
    EXPECT_EQ(Texts().back(), "written");
    EXPECT_EQ(View()->model()->rowCount(), 7);
    int row = 0, col = 0;
    EXPECT_TRUE(View()->Core().GetCurrentCell(row, col) && row == 3);
    doc->UpdateAllViews(nullptr, HINT_NEW_DOCUMENT);
    EXPECT_FALSE(View()->Core().HasCurrentCell());
}

TEST_F(EventLogWindowTest, FindMovesToTheNextMatchingRowAndClosesWithTheWindow) {
    StoreSix();
    Store(CDatasetEvent::User, 0, 7000.0, "Oven door opened");
    View()->SetCurrentCell(1, 4);
    ASSERT_TRUE(frame->OnCommand(CEventView::kFind));
    QPointer<GridFindDialog> find = frame->FindDialog();
    ASSERT_TRUE(find);
    EXPECT_EQ(find->FindText()->text(), "e1");
    find->FindText()->setText("OVEN");
    find->FindNextButton()->click();
    int row = 0, col = 0;
    View()->Core().GetCurrentCell(row, col);
    EXPECT_EQ(row, 7);
    find->MatchCase()->setChecked(true);
    find->Up()->setChecked(true);
    find->FindText()->setText("e");
    find->FindNextButton()->click();
    View()->Core().GetCurrentCell(row, col);
    EXPECT_EQ(row, 6);

    RecordingHelp help;
    ScopedService<IHelp> helpService(SetHelp, &help);
    Key(View(), Qt::Key_F1);
    EXPECT_EQ(help.shown, std::vector<unsigned>{142084});

    frame->close();
    EXPECT_FALSE(frame->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(find);
}

} // namespace
} // namespace tvane::test
