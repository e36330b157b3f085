#include <functional>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/widgets/QtPrompter.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

QApplication& App() {
    return TestApp();
}

// Runs act on the message box once it is up.
void OnBox(std::function<void(QMessageBox&)> act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        act(*box);
    });
}

TEST(QtPrompter, ButtonsCaptionsLineBreaksAndHelp) {
    App();
    QtPrompter prompter("Kelbrin");
    RecordingHelp help;
    ScopedService<IHelp> helpService(SetHelp, &help);

    QString text, title;
    OnBox([&](QMessageBox& box) {
        text = box.text();
        title = box.windowTitle();
        // Help shows its context and leaves the box open.
        box.button(QMessageBox::Help)->click();
        ASSERT_TRUE(box.isVisible());
        box.button(QMessageBox::No)->click();
    });
    MessageRequest request;
    request.text = "One\r\nTwo";
    request.buttons = MsgButtons::YesNo;
    request.helpId = 13199;
    EXPECT_EQ(prompter.Ask(request), MsgAnswer::No);
    EXPECT_EQ(text, "One\nTwo");
    EXPECT_EQ(title, "Kelbrin");
    EXPECT_EQ(help.shown, std::vector<unsigned>{13199});

    // Escape gives the box's cancelling answer; a named caption wins.
    const struct {
        MsgButtons buttons;
        MsgAnswer escape;
    } cases[] = {{MsgButtons::Ok, MsgAnswer::Ok},
                 {MsgButtons::YesNo, MsgAnswer::No},
                 {MsgButtons::YesNoCancel, MsgAnswer::Cancel},
                 {MsgButtons::RetryCancel, MsgAnswer::Cancel}};
    for (const auto& c : cases) {
        OnBox([&](QMessageBox& box) {
            title = box.windowTitle();
            box.reject();
        });
        request = {};
        request.caption = "Tvane";
        request.buttons = c.buttons;
        EXPECT_EQ(prompter.Ask(request), c.escape) << int(c.buttons);
        EXPECT_EQ(title, "Tvane");
    }
}

// A box is not owned by the window that was active when it came up: that window
// may go away while the box is up (the splash, on its own timer).
TEST(QtPrompter, ABoxOutlivesTheWindowThatWasActive) {
    App();
    QtPrompter prompter("Tvane");
    auto* splash = new QWidget(nullptr, Qt::SplashScreen);
    splash->show();
    QApplication::setActiveWindow(splash);
    ASSERT_EQ(QApplication::activeWindow(), splash);
    OnBox([&](QMessageBox& box) {
        EXPECT_EQ(box.parentWidget(), nullptr);
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
        delete splash;
        QApplication::processEvents();
        ASSERT_TRUE(box.isVisible());
        box.button(QMessageBox::Ok)->click();
    });
    MessageRequest request;
    request.text = "Unable to open database.";
    EXPECT_EQ(prompter.Ask(request), MsgAnswer::Ok);
}

} // namespace
} // namespace tvane::test
