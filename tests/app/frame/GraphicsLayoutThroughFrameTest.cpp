// The graphics pages' layout and the setup's life through the main window on
// the simulated instrument: New and Close start over with one page, a change
// of the layout alone asks "Save changes", and a save keeps it.
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/RecentSetupList.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CNewSetupDialog.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "database/CStateInfo.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/text/CTextFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kLayoutTextCommand = 32817;
const std::filesystem::path kLayoutBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";

class GraphicsLayoutTest : public ::testing::Test {
protected:
    GraphicsLayoutTest() {
        whole.Start({QSize(900, 650), {}});
        if (HasFatalFailure())
            return;
        files = std::make_unique<FileCommandWiring>(
            wiring->Document(), wiring->Operations().Workspace().Workspace(), frame, recent,
            preferences, kLayoutBin.string());
        frame.UpdateToolbars();
    }
    ~GraphicsLayoutTest() override {
        files.reset();
        wiring.reset();
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    GraphicsWiring& graphics() { return *wiring->Graphics(); }
    void Trigger(unsigned id) {
        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(id)->isEnabled()) << id;
        frame.Action(id)->trigger();
    }
    // File New with the dialog's name.
    void NewSetup(const QString& name) {
        int shown = 0;
        WhenShown<CNewSetupDialog>(
            [name](CNewSetupDialog& d) {
                d.NameEdit()->setText(name);
                d.SlotList(0)->setCurrentIndex(1);
                d.OkButton()->click();
            },
            &shown);
        Trigger(cmd::kFileNew);
        ASSERT_EQ(shown, 1);
        ASSERT_EQ(doc().IsSetupLoaded(), 1);
    }

    // Saves the open setup (naming it the first time) and checks that nothing
    // is left to save.
    void Save() {
        WhenShown<CSaveSetupDialog>([](CSaveSetupDialog& d) { d.OkButton()->click(); });
        Trigger(cmd::kFileSave);
        EXPECT_FALSE(program.state.IsBusy());
    }
    void Open(const std::string& setup) {
        program.clock.Advance(1000);
        WhenShown<COpenSetupDialog>([=](COpenSetupDialog& d) {
            d.SelectNode(setup);
            d.OpenButton()->click();
        });
        Trigger(cmd::kFileOpen);
        ASSERT_EQ(program.state.m_setupName, setup);
    }
    // A drag of a display's body by (dx, dy).
    static void Drag(CGraphFrame& display, QPoint by) {
        auto* window = dynamic_cast<CGraphFrameWnd*>(display.GetWindow());
        ASSERT_NE(window, nullptr);
        QWidget* client = window->Client();
        const QPoint at(client->width() / 2, client->height() - 3);
        QTest::mousePress(client, Qt::LeftButton, {}, at);
        QMouseEvent move(QEvent::MouseMove, at + by, client->mapToGlobal(at + by), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(client, &move);
        QTest::mouseRelease(client, Qt::LeftButton, {}, at + by);
    }

    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard{SetPrompter, &prompter};
    WholeProgram whole;
    SimulatedProgram& program = whole.program;
    CMainFrame& frame = whole.frame;
    CAppPreferences& preferences = whole.preferences;
    std::unique_ptr<DocumentWiring>& wiring = whole.wiring;
    RecentSetupList recent;
    std::unique_ptr<FileCommandWiring> files;
};

TEST_F(GraphicsLayoutTest, NewAndCloseStartOverWithOneGraphicsPage) {
    ASSERT_FALSE(HasFatalFailure());
    NewSetup("First");
    // A second page with a text display, the first page renamed.
    Trigger(cmd::kNewGraphicsPage);
    ASSERT_EQ(frame.GraphicsPageCount(), 2);
    CGraphViewWnd* second = graphics().CurrentPage();
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(second->RunCommand(kLayoutTextCommand));
    ASSERT_TRUE(graphics().Page(0)->Model().SetTabName("Pumps"));
    ASSERT_EQ(graphics().Page(0)->Model().GetFrameCount(), 1);

    prompter.Script({MsgAnswer::No});
    NewSetup("Second");
    EXPECT_EQ(frame.GraphicsPageCount(), 1);
    CGraphViewWnd* page = graphics().Page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame.Pages()->tabText(1), "Graphics Setup 1");
    ASSERT_EQ(page->Model().GetFrameCount(), 1);
    EXPECT_NE(dynamic_cast<CXrtOverlayFrame*>(page->Model().GetFrameList()->GetHead()), nullptr);
    EXPECT_EQ(page->Model().GetBackColor(), CGraphView::kDefaultBackColor);

    prompter.Script({MsgAnswer::No});
    Trigger(cmd::kFileClose);
    EXPECT_EQ(frame.GraphicsPageCount(), 1);
    ASSERT_NE(graphics().Page(0), nullptr);
    EXPECT_EQ(graphics().Page(0)->Model().GetFrameCount(), 0);
}

// Each change of the layout alone is a change of the setup: Close asks to
// save it. A saved layout (scroll positions, pages, names, places) comes back.
TEST_F(GraphicsLayoutTest, LayoutChangesAskToSaveAndASaveKeepsThem) {
    ASSERT_FALSE(HasFatalFailure());
    NewSetup("Layout");
    Save();
    frame.SelectPage(1);
    CGraphViewWnd* page = graphics().Page(0);
    ASSERT_NE(page, nullptr);
    QApplication::processEvents();
    EXPECT_FALSE(program.state.IsBusy()) << "showing the page changes nothing";
    CGraphFrame* chart = page->Model().GetFrameList()->GetHead();
    ASSERT_NE(chart, nullptr);

    const auto changes = std::vector<std::pair<const char*, std::function<void()>>>{
        {"move a display",
         [&] {
             Drag(*chart, {30, 20});
         }},
        {"size a display",
         [&] {
             const GRect r = chart->GetWindow()->GetWindowRect();
             chart->GetWindow()->MoveWindow({r.left, r.top, r.right + 40, r.bottom}, true);
         }},
        {"add a display", [&] { ASSERT_TRUE(frame.OnCmdMsg(kLayoutTextCommand)); }},
        {"delete a display",
         [&] {
             prompter.Script({MsgAnswer::Yes});
             ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kDelete));
         }},
        {"add a page", [&] { Trigger(cmd::kNewGraphicsPage); }},
        {"delete a page",
         [&] {
             prompter.Script({MsgAnswer::Yes});
             Trigger(cmd::kDeletePage);
         }},
        {"page properties", [&] { ASSERT_TRUE(page->Model().SetTabName("Boiler")); }},
        {"scroll the page",
         [&] {
             frame.SelectPage(1);
             page->ScrollBar(true)->triggerAction(QAbstractSlider::SliderPageStepAdd);
             page->ScrollBar(false)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
         }},
    };
    for (const auto& [what, change] : changes) {
        SCOPED_TRACE(what);
        ASSERT_FALSE(program.state.IsBusy());
        change();
        QApplication::processEvents();
        EXPECT_EQ(program.state.m_flags[2], 1);
        // Close asks; Cancel keeps the setup open.
        prompter = {};
        prompter.Script({MsgAnswer::Cancel});
        Trigger(cmd::kFileClose);
        ASSERT_EQ(prompter.asked.size(), 1u);
        EXPECT_EQ(prompter.asked[0].text, "Save changes to Layout");
        ASSERT_EQ(doc().IsSetupLoaded(), 1);
        Save();
    }
    const int vPos = page->ScrollBar(true)->value();
    const int hPos = page->ScrollBar(false)->value();
    EXPECT_EQ(vPos, page->Model().GetScrollPage(true));
    EXPECT_EQ(hPos, 1);
    const GRect place = chart->GetWindow()->GetWindowRect();

    // A page with scroll bars, into the build's artifacts.
    EXPECT_TRUE(SaveArtifact(frame, "graphics_page_scrolled.png"));

    // Nothing left to save: Close asks nothing; Open brings the layout back.
    prompter = {};
    Trigger(cmd::kFileClose);
    EXPECT_TRUE(prompter.asked.empty());
    Open("Layout");
    frame.SelectPage(1);
    QApplication::processEvents();
    page = graphics().Page(0);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(frame.GraphicsPageCount(), 1);
    EXPECT_EQ(frame.Pages()->tabText(1), "Boiler");
    EXPECT_EQ(page->ScrollBar(true)->value(), vPos);
    EXPECT_EQ(page->ScrollBar(false)->value(), hPos);
    ASSERT_EQ(page->Model().GetFrameCount(), 1);
    EXPECT_EQ(page->Model().GetFrameList()->GetHead()->GetWindow()->GetWindowRect(), place);
    EXPECT_FALSE(program.state.IsBusy()) << "opening and showing the page changes nothing";
    // Back to the top: the display is where it was before the page scrolled.
    page->ScrollBar(true)->triggerAction(QAbstractSlider::SliderToMinimum);
    page->ScrollBar(false)->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(page->Model().GetFrameList()->GetHead()->GetWindow()->GetWindowRect(),
              place.Offset(hPos, vPos));
    prompter = {};
    prompter.Script({MsgAnswer::No});
    Trigger(cmd::kFileClose);
    EXPECT_EQ(prompter.asked.size(), 1u);
}

} // namespace
} // namespace tvane::test
