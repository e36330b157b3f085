// Switch banks and push buttons, two of each on a page of the main window on
// the simulated instrument: copied and pasted, dragged onto another page,
// saved with the setup and opened again, each storing the same bytes.
#include <algorithm>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/IGraphDocument.h"
#include "graphics/displays/pushbutton/CPushButtonFrame.h"
#include "graphics/displays/switches/CSwitchFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CChannelArray.h"
#include "tests/app/frame/DragToPage.h"
#include "tests/app/frame/OutputsProgram.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// The archives of a page's displays, sorted (the page's order follows its
// windows' stacking), none selected and each painted, since the elements'
// rectangles are stored as last painted.
std::vector<std::vector<std::uint8_t>> OutputPageArchives(CGraphView& view) {
    view.DeselectAll();
    QTest::qWait(60);
    std::vector<std::vector<std::uint8_t>> archives;
    for (CGraphFrame* f : *view.GetFrameList())
        archives.push_back(CGraphView::StoreFrame(*f));
    std::sort(archives.begin(), archives.end());
    return archives;
}

class OutputDisplaysStored : public WholeProgramTest {};

TEST_F(OutputDisplaysStored, TwoOfEachAreCopiedDraggedSavedAndOpenedByteForByte) {
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    MakeOutputsSetup(*this);
    if (HasFatalFailure())
        return;
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    CGraphViewWnd* page = wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    frame.Pages()->setCurrentWidget(page);
    std::vector<CGraphFrame*> made;
    int row = 0;
    for (unsigned command : {32851u, 32883u}) {
        for (int twin = 0; twin < 2; ++twin) {
            frame.OnCmdMsg(command);
            CGraphFrame* display = page->Model().GetSelected();
            ASSERT_NE(display, nullptr);
            display->GetWindow()->MoveWindow(
                {10 + 350 * twin, 10 + 150 * row, 340 + 350 * twin, 150 + 150 * row}, true);
            made.push_back(display);
        }
        ++row;
    }
    // The second of each shows the port's bits, a closed relay beside it.
    CChannelArray channels;
    made[0]->GetDocument()->FillChannelInfoArray(channels, 0x1D8, false);
    ASSERT_GE(channels.GetSize(), 2u);
    made[0]->SetChannelAt(3, channels.GetAt(1));
    made[1]->SetByteDisplay(true);
    made[3]->SetByteDisplay(true);
    made[2]->SetChannelAt(5, channels.GetAt(1));
    QTest::qWait(60);
    // Each shows the state of its channels; presses write them.
    ASSERT_EQ(ToggleStates(*dynamic_cast<CSwitchFrame&>(*made[1]).GetSwitchWnd()),
              std::vector<int>(8, 1));
    ClickToggle(*dynamic_cast<CPushButtonFrame&>(*made[3]).GetButtonWnd(), 0, 1);
    ClickToggle(*dynamic_cast<CSwitchFrame&>(*made[0]).GetSwitchWnd(), 3, 0);
    EXPECT_EQ(ToggleStates(*dynamic_cast<CSwitchFrame&>(*made[1]).GetSwitchWnd()),
              (std::vector<int>{1, 0, 1, 1, 1, 1, 1, 1}));

    // Copy puts each display's archive on the clipboard; the pasted one
    // stores the same bytes.
    for (CGraphFrame* original : {made[0], made[3]}) {
        // Selected, the display is painted again in its narrower client
        // area: the elements' rectangles are stored as last painted.
        page->Model().SelectFrame(original);
        QTest::qWait(60);
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditCopy));
        const QByteArray copied = QApplication::clipboard()->mimeData()->data(kGraphicMimeType);
        EXPECT_EQ(std::vector<std::uint8_t>(copied.begin(), copied.end()),
                  CGraphView::StoreFrame(*original));
        QTimer::singleShot(20, [page] {
            QTest::mouseMove(page, QPoint(700, 500));
            QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(700, 500));
        });
        ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditPaste));
        CGraphFrame* pasted = page->Model().GetSelected();
        ASSERT_NE(pasted, original);
        pasted->GetWindow()->MoveWindow(original->GetFrameRect(), true);
        EXPECT_EQ(CGraphView::StoreFrame(*pasted), CGraphView::StoreFrame(*original));
        page->Model().DeleteSelected(false);
    }
    page->Model().DeselectAll();
    QApplication::processEvents();
    QTest::qWait(60);
    ASSERT_TRUE(SaveArtifact(*page, "output_displays_twins.png"));

    // Dragged with Ctrl by its title onto a new page's tab: a copy arrives there.
    const auto before = OutputPageArchives(page->Model());
    ASSERT_EQ(before.size(), 4u);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.OnCmdMsg(cmd::kNewGraphicsPage);
    CGraphViewWnd* second = wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    CopyEveryDisplayByDrag(frame, *page, *second);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(OutputPageArchives(second->Model()), before);
    // Saved with the setup and read back: every display of both pages stores
    // what it stored, and shows the state the document answers.
    const std::string file = (program.home.Data() / "outputs.tvs").string();
    Doc().WriteDocumentFile(file);
    page->Model().DeleteAllFrames();
    second->Model().DeleteAllFrames();
    Doc().ReadDocumentFile(file);
    for (int index : {0, 1}) {
        CGraphViewWnd* reloaded = wiring->Graphics()->Page(index);
        ASSERT_NE(reloaded, nullptr) << index;
        frame.Pages()->setCurrentWidget(reloaded);
        QApplication::processEvents();
        EXPECT_EQ(OutputPageArchives(reloaded->Model()), before) << index;
    }
    QTest::qWait(60);
    ASSERT_TRUE(SaveArtifact(frame, "output_displays_reloaded.png"));
    EXPECT_TRUE(prompter.asked.empty());
}

} // namespace
} // namespace tvane::test
