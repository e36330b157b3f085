// The date and time edit's window: fields chosen by keys and clicks, steps by
// keys and the spin button, digits rolled in, and the change told once a key
// is let go.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "app/timeedit/CDateTimeEditWnd.h"
#include "platform/widgets/CQmxSpinButton.h"
#include "tests/support/QtTestSupport.h"

namespace {

// An interval edit "%i:%M:%S.%l" in a small window, showing 00:00:10.000.
using WithApp = tvane::test::WithTestApp;

struct IntervalEdit : WithApp {
    IntervalEdit() {
        auto* layout = new QVBoxLayout(&window);
        edit = new CDateTimeEditWnd(&window);
        layout->addWidget(edit);
        window.show();
        edit->Attach(true);
        edit->SetFormat("%i:%M:%S.%l");
        const tvane::CTime base(1997, 1, 1, 0, 0, 10);
        edit->SetTime(base, 0);
        edit->SetRange(base - 10, 0, base - 10 + 359999, 999);
        edit->setFocus();
        QApplication::processEvents();
    }
    QWidget window;
    CDateTimeEditWnd* edit;
};

TEST(DateTimeEditWnd, KeysStepAndTypeIntoTheCurrentField) {
    IntervalEdit w;
    CDateTimeEditWnd& edit = *w.edit;
    EXPECT_EQ(edit.text(), "00:00:10.000");
    EXPECT_EQ(edit.GetFieldCount(), 5);
    // Attach makes the last field (the last two millisecond digits) current.
    EXPECT_EQ(edit.GetCurrentField(), 4);
    EXPECT_EQ(edit.selectedText(), "00");
    QSignalSpy changed(&edit, &CDateTimeEditWnd::timeEditChanged);
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(edit.text(), "00:00:10.001");
    EXPECT_EQ(changed.count(), 1);
    // Left twice: the seconds; a digit rolls in from the right.
    QTest::keyClick(&edit, Qt::Key_Left);
    QTest::keyClick(&edit, Qt::Key_Left);
    EXPECT_EQ(edit.selectedText(), "10");
    QTest::keyClick(&edit, Qt::Key_5);
    EXPECT_EQ(edit.text(), "00:00:05.001");
    EXPECT_EQ(changed.count(), 2);
    // Other characters never reach the box.
    QTest::keyClicks(&edit, "ab:");
    EXPECT_EQ(edit.text(), "00:00:05.001");
    // The hour counter goes past a day.
    edit.SetCurrentField(0);
    QTest::keyClick(&edit, Qt::Key_2);
    QTest::keyClick(&edit, Qt::Key_5);
    EXPECT_EQ(edit.text(), "25:00:05.001");
    EXPECT_EQ(edit.GetHourCounter(), 25);
    // Down at the earliest time changes nothing and tells nothing.
    edit.SetCurrentField(0);
    for (int i = 0; i < 30; ++i)
        QTest::keyClick(&edit, Qt::Key_Down);
    EXPECT_EQ(edit.text(), "00:00:05.001");
}

// Select All, then a whole time typed over it; a click ends the entry.
TEST(DateTimeEditWnd, SelectAllTakesAWholeTypedTime) {
    IntervalEdit w;
    CDateTimeEditWnd& edit = *w.edit;
    QSignalSpy changed(&edit, &CDateTimeEditWnd::timeEditChanged);
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit.selectedText(), "00:00:10.000");
    QTest::keyClicks(&edit, "00:00:01.000");
    EXPECT_EQ(edit.text(), "00:00:01.000");
    EXPECT_EQ(edit.GetTime(), tvane::CTime(1997, 1, 1, 0, 0, 1));
    EXPECT_GE(changed.count(), 1);
    EXPECT_FALSE(edit.IsEntering()) << "the last field filled";

    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, "2:");
    EXPECT_EQ(edit.text(), "02:00:01.000");
    QTest::keyClick(&edit, Qt::Key_Right);
    EXPECT_FALSE(edit.IsEntering());
    QTest::keyClick(&edit, Qt::Key_3); // rolls into the seconds again
    EXPECT_EQ(edit.text(), "02:00:13.000");
}

TEST(DateTimeEditWnd, ClicksChooseFieldsAndTheSpinButtonSteps) {
    IntervalEdit w;
    CDateTimeEditWnd& edit = *w.edit;
    ASSERT_NE(edit.SpinButton(), nullptr);
    // A click at the left end chooses the hour counter.
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(3, edit.height() / 2));
    EXPECT_EQ(edit.GetCurrentField(), 0);
    EXPECT_EQ(edit.selectedText(), "00");
    tvane::SpinNotification up;
    up.delta = 1;
    tvane::Message message;
    message.id = tvane::CQmxSpinButton::UpDownSpinMessage();
    message.data = &up;
    EXPECT_EQ(edit.OnMessage(message), 1);
    EXPECT_EQ(edit.text(), "01:00:10.000");
    // Tab moves on through the fields and leaves at the last one.
    edit.SetCurrentField(3);
    QTest::keyClick(&edit, Qt::Key_Tab);
    EXPECT_EQ(edit.GetCurrentField(), 4);
}

} // namespace
