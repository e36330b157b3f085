// Displays stored with the setup through the main window on the simulated
// instrument: two strip charts and a text display on one page and a strip
// chart on a second come back from Save, Close and Open each with its own
// settings and in its stacking order, a second save writes the same bytes, and
// the copies that Edit Copy and Paste and a drag to the other page make are
// the displays they came from. The setup keeps a short run, so that it opens
// with the run's readings and its charts show the times of the run.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/CLoggerDoc.h"
#include "app/RecentSetupList.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/COpenSetupDialog.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CSaveSetupDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FileCommandWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "database/CStateInfo.h"
#include "graphics/CGraphView.h"
#include "graphics/CRangeInfo.h"
#include "graphics/displays/strip/COverlayCtrlPanel.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/strip/CXrtOverlayPlot.h"
#include "graphics/displays/text/CTextBox.h"
#include "graphics/displays/text/CTextFrame.h"
#include "graphics/view/CGraphFrameWnd.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/controls/DragDrop.h"
#include "platform/core/Services.h"
#include "platform/storage/Storage.h"
#include "platform/ui/Prompter.h"
#include "scan/CChannelArray.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

constexpr unsigned kStoredStripChart = 700;
constexpr unsigned kStoredText = 32817;
const std::filesystem::path kStoredBin = std::filesystem::path(TVANE_BINARY_DIR) / "bin";

// One display as the user sees it: its kind, channels, time per division and
// legend rows, or its text, and where it is.
std::string DescribeDisplay(CGraphFrame& display) {
    std::string text;
    if (auto* chart = dynamic_cast<CXrtOverlayFrame*>(&display)) {
        text = "chart";
        for (int slot = 0; slot < 8; ++slot)
            if (const auto& range = chart->GetRange(slot))
                text += " " + std::to_string(range->channel.number);
        text += " div " + std::to_string(chart->GetPlot()->GetTimeRange().scale) + " rows " +
                std::to_string(chart->GetLegendRows());
    } else if (auto* box = dynamic_cast<CTextFrame*>(&display)) {
        text = "text '" + box->GetTextBox()->GetText() + "'";
    } else {
        text = "other";
    }
    const GRect r = display.GetFrameRect();
    return text + " at " + std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.Width()) + "x" + std::to_string(r.Height());
}

// The displays of a page from the top of the stacking order down.
std::vector<CGraphFrame*> StackedDisplays(CGraphViewWnd& page) {
    std::vector<CGraphFrame*> displays;
    for (const IGraphFrameWindow* window : page.WindowsTopDown())
        if (CGraphFrame* display = page.Model().GetFrameList()->FindByWindow(window))
            displays.push_back(display);
    return displays;
}

struct PageState {
    std::vector<std::string> displays;
    std::vector<std::vector<std::uint8_t>> archives;
    bool operator==(const PageState&) const = default;
};

PageState StateOf(CGraphViewWnd& page) {
    PageState state;
    for (CGraphFrame* display : StackedDisplays(page)) {
        state.displays.push_back(DescribeDisplay(*display));
        state.archives.push_back(CGraphView::StoreFrame(*display));
    }
    return state;
}

// Where two archives part, with the bytes around it, for a readable failure.
std::string Difference(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::size_t k = 0;
    while (k < a.size() && k < b.size() && a[k] == b[k])
        ++k;
    if (k == a.size() && k == b.size())
        return "same";
    std::string text = "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) +
                       ", first difference at " + std::to_string(k) + ":";
    for (const auto* bytes : {&a, &b}) {
        text += "\n ";
        for (std::size_t j = k > 16 ? k - 16 : 0; j < std::min(bytes->size(), k + 16); ++j) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02x", (*bytes)[j]);
            text += (j == k ? "|" : " ") + std::string(hex);
        }
    }
    return text;
}

void ExpectSamePage(const PageState& now, const PageState& before) {
    EXPECT_EQ(now.displays, before.displays);
    ASSERT_EQ(now.archives.size(), before.archives.size());
    for (std::size_t i = 0; i < now.archives.size(); ++i)
        EXPECT_TRUE(now.archives[i] == before.archives[i])
            << before.displays[i] << ": " << Difference(now.archives[i], before.archives[i]);
}

std::vector<std::uint8_t> StoredContents(const std::string& path) {
    Storage root = StgOpenStorage(path, STGM_READ | STGM_SHARE_DENY_WRITE);
    Stream stream = root.OpenStream("Contents", STGM_READ | STGM_SHARE_EXCLUSIVE);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stream.Size()));
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    return bytes;
}

class StoredDisplaysTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The drag file lies in a runtime folder of the test's own.
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        m_hadRuntime = runtime != nullptr;
        if (runtime)
            m_oldRuntime = runtime;
        std::filesystem::permissions(m_tmp.Path(), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", m_tmp.Path().c_str(), 1);
        whole.Start({QSize(1000, 760),
                     {{CAppPreferences::kStartScanningWindow, "N"},
                      {CAppPreferences::kDataBrowserWindow, "N"}}});
        if (HasFatalFailure())
            return;
        files = std::make_unique<FileCommandWiring>(
            wiring->Document(), wiring->Operations().Workspace().Workspace(), frame, recent,
            preferences, kStoredBin.string());
        frame.UpdateToolbars();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    }
    void TearDown() override {
        files.reset();
        wiring.reset();
        if (m_hadRuntime)
            setenv("XDG_RUNTIME_DIR", m_oldRuntime.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    CLoggerDoc& doc() { return wiring->Document(); }
    CGraphViewWnd* Page(int index) { return wiring->Graphics()->Page(index); }
    void Trigger(unsigned id) {
        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(id)->isEnabled()) << id;
        frame.Action(id)->trigger();
    }
    // A command of the Graphics menu.
    void Graphics(unsigned id) {
        ASSERT_TRUE(frame.IsCommandEnabled(id)) << id;
        ASSERT_TRUE(frame.OnCmdMsg(id)) << id;
    }
    // A setup of channels 101 to 103 with one empty graphics page.
    void MakeSetup() {
        program.MakeSetup(doc(), 3);
        ASSERT_FALSE(HasFatalFailure());
        program.ScanEverySecond(doc());
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_NE(Page(0), nullptr);
        ShowPage(Page(0));
        while (Page(0)->Model().GetSelected() != nullptr)
            Page(0)->Model().DeleteSelected(false);
        ASSERT_EQ(Page(0)->Model().GetFrameCount(), 0);
    }
    // Five scans, kept as the setup's run when the scan ends.
    void RunAndKeepAScan() {
        frame.UpdateToolbars();
        ASSERT_TRUE(frame.Action(cmd::kStartScan)->isEnabled());
        frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(doc().IsScanning(), 1)
            << (prompter.asked.empty() ? std::string() : prompter.asked.back().text);
        for (int poll = 0; poll < 5; ++poll) {
            program.clock.Advance(1000);
            frame.OnTimer(CMainFrame::kScanTimer);
        }
        WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.OkButton()->click(); });
        frame.Action(cmd::kStopScan)->trigger();
        ASSERT_EQ(doc().IsScanning(), 0);
        ASSERT_FALSE(program.state.m_datasetName.empty());
        QApplication::processEvents();
    }
    // File Save; the stored archive.
    std::vector<std::uint8_t> Save() {
        // The first save names the setup, and keeps the run's name.
        WhenShown<CSaveSetupDialog>(
            [](CSaveSetupDialog& d) {
                if (d.windowTitle().contains("Setup"))
                    d.NameEdit()->setText("Stored displays");
                d.OkButton()->click();
            },
            nullptr, true);
        Trigger(cmd::kFileSave);
        EXPECT_FALSE(program.state.IsBusy());
        return StoredContents(program.state.m_setupFile);
    }
    // Close, then Open of the setup with its run.
    void CloseAndOpen() {
        const std::string setup = program.state.m_setupName;
        const std::string run = program.state.m_datasetName;
        prompter = {};
        Trigger(cmd::kFileClose);
        EXPECT_TRUE(prompter.asked.empty()) << "nothing was left to save";
        program.clock.Advance(1000);
        WhenShown<COpenSetupDialog>([=](COpenSetupDialog& d) {
            d.SelectNode(setup, run);
            QApplication::processEvents();
            d.OpenButton()->click();
        });
        Trigger(cmd::kFileOpen);
        ASSERT_EQ(program.state.m_setupName, setup);
        ASSERT_EQ(program.state.m_datasetName, run);
        ASSERT_TRUE(doc().HasReadings());
        QApplication::processEvents();
    }
    void ShowPage(CGraphViewWnd* page) {
        frame.Pages()->setCurrentWidget(page);
        QApplication::processEvents();
    }
    // An entry of the page's context menu.
    static void PageCommand(CGraphViewWnd& page, unsigned id) {
        EXPECT_TRUE(page.IsCommandEnabled(id)) << id;
        for (QAction* action : page.actions())
            if (action->data().toUInt() == id) {
                action->trigger();
                return;
            }
        ADD_FAILURE() << "no entry " << id;
    }
    void ClickBackground(CGraphViewWnd* page) {
        ShowPage(page);
        QTest::mouseClick(page, Qt::LeftButton, {},
                          QPoint(page->width() - 60, page->height() - 60));
        QApplication::processEvents();
        ASSERT_EQ(page->Model().GetSelected(), nullptr);
    }
    // A new strip chart on the shown page showing the channels, with the time
    // per division stepped and the legend dragged to rows.
    CXrtOverlayFrame* SetUpChart(CXrtOverlayFrame* chart, const std::vector<int>& channels,
                                 int timeSteps, int rows) {
        EXPECT_NE(chart, nullptr);
        if (!chart)
            return nullptr;
        CChannelArray available;
        chart->GetAvailableChannels(available);
        for (std::size_t slot = 0; slot < channels.size(); ++slot)
            for (std::size_t i = 0; i < available.GetSize(); ++i)
                if (const CChannelInfo* info = available.GetAt(i);
                    info && info->Number == channels[slot])
                    chart->SetChannelAt(static_cast<int>(slot), info);
        available.DeleteAll();
        for (int i = 0; i < std::abs(timeSteps); ++i)
            chart->GetPanel()->Spin(timeSteps > 0 ? COverlayCtrlPanel::kSpinUp
                                                  : COverlayCtrlPanel::kSpinDown);
        const int rowHeight = chart->GetLegend()->RowHeight();
        const GRect legend = chart->GetLegendWindow()->GetRectInFrame();
        chart->DropLegendEdge(legend.bottom - chart->GetLegend()->HeaderHeight() -
                              rows * rowHeight);
        EXPECT_EQ(chart->GetLegendRows(), rows);
        return chart;
    }

    // Save, Close and Open bring every display of both pages back with its own
    // settings, place and stacking; from then on a save and an open change
    // nothing: the same archive of every display, the same bytes of the whole
    // setup. (The first save after a run differs only in what opening the run
    // sets: the scans the document keeps for its charts and their time base.)
    void ExpectTheSetupSurvivesSaveAndOpen() {
        // Nothing selected, as after an Open: a selected display's client
        // area is smaller by its sizing border, and a chart stores its size.
        ClickBackground(Page(1));
        ClickBackground(Page(0));
        const PageState firstBefore = StateOf(*Page(0));
        const PageState secondBefore = StateOf(*Page(1));
        Save();
        CloseAndOpen();
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(frame.GraphicsPageCount(), 2);
        ShowPage(Page(1));
        ShowPage(Page(0));
        const PageState firstOpened = StateOf(*Page(0));
        const PageState secondOpened = StateOf(*Page(1));
        EXPECT_EQ(firstOpened.displays, firstBefore.displays);
        EXPECT_EQ(secondOpened.displays, secondBefore.displays);

        const std::vector<std::uint8_t> saved = Save();
        CloseAndOpen();
        ASSERT_FALSE(HasFatalFailure());
        ShowPage(Page(1));
        ShowPage(Page(0));
        ExpectSamePage(StateOf(*Page(0)), firstOpened);
        ExpectSamePage(StateOf(*Page(1)), secondOpened);
        const std::vector<std::uint8_t> again = Save();
        EXPECT_TRUE(again == saved) << "a second save: " << Difference(again, saved);
    }

    TempHome m_tmp;
    bool m_hadRuntime = false;
    std::string m_oldRuntime;
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

TEST_F(StoredDisplaysTest, EveryDisplayComesBackWithItsOwnSettingsAndTheSameBytes) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSetup();
    ASSERT_FALSE(HasFatalFailure());
    CGraphViewWnd* first = Page(0);
    // Two strip charts and a text display on the first page.
    Graphics(kStoredStripChart);
    auto* chartA =
        SetUpChart(dynamic_cast<CXrtOverlayFrame*>(first->Model().GetSelected()), {101}, 1, 3);
    ASSERT_NE(chartA, nullptr);
    Graphics(kStoredStripChart);
    ASSERT_NE(SetUpChart(dynamic_cast<CXrtOverlayFrame*>(first->Model().GetSelected()), {102, 103},
                         -3, 5),
              nullptr);
    Graphics(kStoredText);
    auto* text = dynamic_cast<CTextFrame*>(first->Model().GetSelected());
    ASSERT_NE(text, nullptr);
    text->GetTextBox()->SetText("Boiler room");
    // The first chart on top of the others.
    first->Model().SelectFrame(chartA);
    // A strip chart on a second page.
    Trigger(cmd::kNewGraphicsPage);
    CGraphViewWnd* second = Page(1);
    ASSERT_NE(second, nullptr);
    ShowPage(second);
    Graphics(kStoredStripChart);
    ASSERT_NE(
        SetUpChart(dynamic_cast<CXrtOverlayFrame*>(second->Model().GetSelected()), {103}, 2, 1),
        nullptr);
    RunAndKeepAScan();
    ASSERT_FALSE(HasFatalFailure());
    const PageState made = StateOf(*first);
    ASSERT_EQ(made.displays.size(), 3u);
    EXPECT_EQ(made.displays[0].substr(0, 10), "chart 101 ") << "the first chart is on top";

    ExpectTheSetupSurvivesSaveAndOpen();

    EXPECT_TRUE(SaveArtifact(frame, "stored_displays_reopened.png"));
}

TEST_F(StoredDisplaysTest, CopiesByPasteAndByDragAreTheDisplaysTheyCameFrom) {
    ASSERT_FALSE(HasFatalFailure());
    MakeSetup();
    ASSERT_FALSE(HasFatalFailure());
    CGraphViewWnd* first = Page(0);
    Graphics(kStoredStripChart);
    ASSERT_NE(
        SetUpChart(dynamic_cast<CXrtOverlayFrame*>(first->Model().GetSelected()), {101, 102}, 2, 4),
        nullptr);
    Graphics(kStoredStripChart);
    ASSERT_NE(
        SetUpChart(dynamic_cast<CXrtOverlayFrame*>(first->Model().GetSelected()), {103}, -1, 2),
        nullptr);
    Graphics(kStoredText);
    auto* text = dynamic_cast<CTextFrame*>(first->Model().GetSelected());
    ASSERT_NE(text, nullptr);
    text->GetTextBox()->SetText("Pump house");
    Trigger(cmd::kNewGraphicsPage);
    CGraphViewWnd* second = Page(1);
    ASSERT_NE(second, nullptr);

    // Edit Copy of each display of the first page, Edit Paste on the second,
    // the copy put where the original is.
    const std::vector<CGraphFrame*> originals = StackedDisplays(*first);
    ASSERT_EQ(originals.size(), 3u);
    for (CGraphFrame* original : originals) {
        ShowPage(first);
        first->Model().SelectFrame(original);
        PageCommand(*first, CGraphViewWnd::kEditCopy);
        ASSERT_TRUE(second->IsCommandEnabled(CGraphViewWnd::kEditPaste))
            << DescribeDisplay(*original) << ": "
            << (QApplication::clipboard()->mimeData()
                    ? QApplication::clipboard()->mimeData()->formats().join(",").toStdString()
                    : std::string("none"))
            << " " << (prompter.asked.empty() ? std::string() : prompter.asked.back().text);
        ShowPage(second);
        const int before = second->Model().GetFrameCount();
        QTimer::singleShot(20, [second] {
            QTest::mouseMove(second, QPoint(300, 200));
            QTest::mouseClick(second, Qt::LeftButton, {}, QPoint(300, 200));
        });
        PageCommand(*second, CGraphViewWnd::kEditPaste);
        ASSERT_EQ(second->Model().GetFrameCount(), before + 1);
        CGraphFrame* pasted = second->Model().GetSelected();
        ASSERT_NE(pasted, nullptr);
        ASSERT_NE(pasted, original);
        second->Model().DeselectAll();
        pasted->GetWindow()->MoveWindow(original->GetFrameRect(), true);
        const auto copy = CGraphView::StoreFrame(*pasted);
        ClickBackground(first);
        EXPECT_EQ(DescribeDisplay(*pasted), DescribeDisplay(*original));
        const auto source = CGraphView::StoreFrame(*original);
        EXPECT_TRUE(copy == source) << Difference(copy, source);
    }

    // The text display (brought to the top) dragged with Ctrl on its title
    // band onto the second page's tab.
    ShowPage(first);
    first->Model().SelectFrame(text);
    auto* window = dynamic_cast<CGraphFrameWnd*>(text->GetWindow());
    ASSERT_NE(window, nullptr);
    const QPoint title = window->Client()->mapTo(&frame, QPoint(20, text->GetTitleHeight() / 2));
    QTabBar* tabs = frame.Pages()->tabBar();
    const QPoint tab = tabs->mapTo(&frame, tabs->tabRect(frame.Pages()->indexOf(second)).center());
    QWindow* w = frame.windowHandle();
    QTest::mousePress(w, Qt::LeftButton, Qt::ControlModifier, title);
    QTest::mouseMove(w, first->mapTo(&frame, QPoint(400, 400)));
    QTest::mouseMove(w, tab);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::ControlModifier, tab);
    ASSERT_EQ(second->Model().GetFrameCount(), 4);
    EXPECT_FALSE(std::filesystem::exists(GetDragFileName())) << "the drag file goes with the drag";
    CGraphFrame* dropped = second->Model().GetFrameList()->GetTail();
    ASSERT_NE(dropped, nullptr);
    ClickBackground(second);
    ClickBackground(first);
    EXPECT_EQ(DescribeDisplay(*dropped), DescribeDisplay(*text));
    const auto copy = CGraphView::StoreFrame(*dropped);
    const auto source = CGraphView::StoreFrame(*text);
    EXPECT_TRUE(copy == source) << Difference(copy, source);

    // All of it survives a run, Save and Open.
    RunAndKeepAScan();
    ASSERT_FALSE(HasFatalFailure());
    ExpectTheSetupSurvivesSaveAndOpen();
}

} // namespace
} // namespace tvane::test
