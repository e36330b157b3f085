// Slider displays on a graphics page of the main window on the simulated
// instrument: made from the Graphics menu, driven by keys, the mouse and the
// value box, each write reaching the analog output through the document and
// the driver; edited in their sheet, printed, copied, dragged, saved and
// opened again.
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/slider/CSliderFrame.h"
#include "graphics/displays/slider/SliderWindow.h"
#include "graphics/displays/text/CTextBoxWnd.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/GraphClipboard.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/ui/MessageBus.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CChannelArray.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/records/CChannelConfig.h"
#include "tests/app/frame/DragToPage.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kSliderCommand = 32884;

// The simulated instrument's link: what the driver sends lands in its
// transcript.
struct SimulatedLink {
    SimulatedLink() { script->On("*IDN?", "ORVANTA,QT7100,0,1.2"); }
    int Count(const std::string& prefix) const {
        return static_cast<int>(
            std::count_if(script->transcript.begin(), script->transcript.end(),
                          [&](const std::string& line) { return line.rfind(prefix, 0) == 0; }));
    }
    std::shared_ptr<comm::ScriptedTransport::Script> script =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator creator{0, [s = script](std::int32_t type) {
                                             return std::make_unique<comm::ScriptedTransport>(s,
                                                                                              type);
                                         }};
};

// The events the document logs for each output the driver wrote.
struct WriteLog final : IView {
    EventLogView events;
    void OnUpdate(IView* sender, long hint, const HintObject& object) override {
        events.OnUpdate(sender, hint, object);
    }
    int Count(const std::string& prefix) const {
        const auto& texts = events.texts;
        return static_cast<int>(
            std::count_if(texts.begin(), texts.end(),
                          [&](const std::string& t) { return t.rfind(prefix, 0) == 0; }));
    }
};

std::vector<std::vector<std::uint8_t>> SliderArchives(CGraphView& view) {
    std::vector<std::vector<std::uint8_t>> archives;
    for (CGraphFrame* f : *view.GetFrameList())
        archives.push_back(CGraphView::StoreFrame(*f));
    std::sort(archives.begin(), archives.end());
    return archives;
}

class SliderRun : public ::testing::Test {
protected:
    void SetUp() override {
        whole.Start();
        if (HasFatalFailure())
            return;
        // A KXQT7107 whose 204 and 205 are analog outputs.
        CStateInfo setup = whole.program.state;
        setup.m_setupName = "Outputs";
        setup.m_modules = {"KXQT7101", "KXQT7107"};
        ASSERT_TRUE(Doc().CreateNewSetup(setup, 0, false));
        whole.program.state = setup;
        for (std::int32_t i = 0; i < Doc().GetSetup()->GetSize(); ++i) {
            CFXSetup* row = Doc().GetSetupRow(i);
            if (row && (row->Channel == 204 || row->Channel == 205))
                row->Function = "DAC Write Volt";
        }
        CChannelConfig config;
        ASSERT_TRUE(Doc().GetSetupRow(0)->FillChannelConfig(config));
        ASSERT_TRUE(whole.program.Binding().DownloadChannelConfig(&config));
        whole.program.ScanEverySecond(Doc());
        if (HasFatalFailure())
            return;
        page = whole.wiring->Graphics()->Page(0);
        ASSERT_NE(page, nullptr);
        whole.frame.Pages()->setCurrentWidget(page);
        whole.frame.UpdateToolbars();
        WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
            dialog.DontShow()->setChecked(true);
            dialog.StartButton()->click();
        });
        whole.frame.Action(cmd::kStartScan)->trigger();
        ASSERT_EQ(Doc().IsScanning(), 1);
        Doc().AddView(&link);
    }
    void TearDown() override {
        if (whole.wiring)
            Doc().RemoveView(&link);
        if (whole.wiring && Doc().IsScanning()) {
            WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& d) { d.reject(); });
            whole.frame.Action(cmd::kStopScan)->trigger();
        }
    }
    CLoggerDoc& Doc() { return whole.Doc(); }
    CSliderFrame* Make(const GRect& at) {
        whole.frame.OnCmdMsg(kSliderCommand);
        auto* made = dynamic_cast<CSliderFrame*>(page->Model().GetSelected());
        if (made)
            made->GetWindow()->MoveWindow(at, true);
        Deliver();
        return made;
    }
    // Requests travel from the display to its page and the document as
    // posted messages; none is left waiting.
    void Deliver() {
        for (int hop = 0; hop < 3; ++hop)
            QCoreApplication::processEvents();
        EXPECT_EQ(MessageBus::PendingCount(), 0u);
    }
    double Queried(std::int32_t channel) {
        CReadingInfo query;
        query.m_channel = channel;
        query.m_request = CReadingInfo::kRequestQuery;
        query.m_value = -99.0;
        EXPECT_TRUE(Doc().DoInstrumentAction(query, false));
        return query.m_value;
    }
    static SliderWindow* WindowOf(CSliderFrame& slider) {
        return dynamic_cast<SliderWindow*>(slider.GetSlider()->GetWindow());
    }
    static CTextBoxWnd* BoxOf(CSliderFrame& slider) {
        return dynamic_cast<CTextBoxWnd*>(slider.GetValueBox()->GetWindow());
    }
    static std::string BoxText(CSliderFrame& slider) { return slider.GetValueBox()->GetText(); }
    void Type(CSliderFrame& slider, const QString& text) {
        CTextBoxWnd* box = BoxOf(slider);
        box->setPlainText(text);
        QTest::keyClick(box, Qt::Key_Return);
        Deliver();
    }

    SimulatedLink sim; // before the program connects
    WriteLog link;
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    WholeProgram whole;
    CGraphViewWnd* page = nullptr;
};

TEST_F(SliderRun, SlidersWriteTheAnalogOutputAndShowWhatTheInstrumentHolds) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    CSliderFrame* slider = Make({10, 10, 72, 180});
    ASSERT_NE(slider, nullptr);
    ASSERT_NE(WindowOf(*slider), nullptr);
    EXPECT_FALSE(slider->GetTitle().empty());
    ASSERT_EQ(slider->GetChannelArray()->GetAt(0)->Number, 204);
    // The query answers what the output holds: nothing written yet.
    EXPECT_EQ(slider->GetValue(), 0.0);
    EXPECT_EQ(BoxText(*slider), "0.000");

    // Home sets the upper limit; its release writes once.
    SliderWindow* wnd = WindowOf(*slider);
    wnd->setFocus();
    QTest::keyPress(wnd, Qt::Key_Home);
    QTest::keyRelease(wnd, Qt::Key_Home);
    Deliver();
    EXPECT_EQ(link.Count("DAC Write: "), 1);
    EXPECT_EQ(sim.Count("> SOUR:VOLT 12.000000,(@204)"), 1);
    EXPECT_EQ(Queried(204), 12.0);
    EXPECT_EQ(BoxText(*slider), "12.000");

    // A typed number with blanks round it is written; the same number again
    // writes nothing; one out of range is refused with its message.
    Type(*slider, QStringLiteral("  -3.5\t"));
    EXPECT_EQ(Queried(204), -3.5);
    EXPECT_EQ(BoxText(*slider), "-3.500");
    EXPECT_EQ(link.Count("DAC Write: "), 2);
    EXPECT_EQ(sim.Count("> SOUR:VOLT -3.500000,(@204)"), 1);
    Type(*slider, QStringLiteral("-3.5"));
    EXPECT_EQ(link.Count("DAC Write: "), 2);
    Type(*slider, QStringLiteral("20"));
    EXPECT_EQ(link.Count("DAC Write: "), 2);
    ASSERT_FALSE(prompter.Texts().empty());
    EXPECT_EQ(prompter.Texts().back(), "Please enter digit within range -12.000 - 12.000");
    EXPECT_EQ(Queried(204), -3.5);
    // Tab takes the box as Enter does, and is not typed into it.
    BoxOf(*slider)->setPlainText(QStringLiteral("-3"));
    QTest::keyClick(BoxOf(*slider), Qt::Key_Tab);
    Deliver();
    EXPECT_EQ(sim.Count("> SOUR:VOLT -3.000000,(@204)"), 1);
    EXPECT_EQ(BoxText(*slider), "-3.000");

    // Dragging the thumb to the top writes once, at the release.
    QApplication::processEvents();
    const GRect thumb = slider->GetSlider()->Model().Thumb();
    const QPoint on((thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2);
    QTest::mousePress(wnd, Qt::LeftButton, {}, on);
    QTest::mouseMove(wnd, QPoint(on.x(), 0));
    QTest::mouseMove(wnd, QPoint(on.x(), -40));
    EXPECT_EQ(link.Count("DAC Write: "), 3);
    QTest::mouseRelease(wnd, Qt::LeftButton, {}, QPoint(on.x(), -40));
    Deliver();
    EXPECT_EQ(link.Count("DAC Write: "), 4);
    EXPECT_EQ(Queried(204), 12.0);

    // A write made elsewhere reaches the slider: it shows the instrument's
    // state.
    CReadingInfo write;
    write.m_channel = 204;
    write.m_request = CReadingInfo::kRequestWrite;
    write.m_value = 2.25;
    ASSERT_TRUE(Doc().DoInstrumentAction(write, false));
    EXPECT_EQ(slider->GetValue(), 2.25);
    EXPECT_EQ(BoxText(*slider), "2.250");

    // A horizontal one beside it.
    CSliderFrame* across = Make({90, 10, 315, 75});
    ASSERT_NE(across, nullptr);
    page->Model().DeselectAll();
    across->SetOrientation(SliderModel::kHorizontal);
    // The frame takes the horizontal size (and its window its border).
    EXPECT_EQ(across->m_minWidth, 225);
    EXPECT_EQ(across->m_minHeight, 65);
    EXPECT_GT(across->GetFrameRect().Width(), across->GetFrameRect().Height());
    QApplication::processEvents();
    QTest::qWait(60);
    EXPECT_TRUE(SaveArtifact(*page, "slider_run.png"));

    // The sheet's three pages, each with its help; OK writes nothing new.
    RecordingHelp help;
    ScopedService<IHelp> helpGuard(SetHelp, &help);
    int shown = 0;
    WhenShown<CGraphSheet>(
        [](CGraphSheet& sheet) {
            ASSERT_EQ(sheet.PageCount(), 3);
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(sheet.SetActivePage(i));
                sheet.HelpButton()->click();
            }
            sheet.reject();
        },
        &shown);
    page->Model().SelectFrame(slider);
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11110, 11210, 11310}));
    // The write of 2.25 made elsewhere, and nothing more.
    EXPECT_EQ(link.Count("DAC Write: "), 5);
    EXPECT_EQ(sim.Count("> SOUR:VOLT"), 5);
}

TEST_F(SliderRun, TwoSlidersArePrintedCopiedDraggedSavedAndOpenedByteForByte) {
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard(SetPrompter, &prompter);
    CSliderFrame* upright = Make({10, 10, 72, 180});
    CSliderFrame* across = Make({90, 10, 315, 75});
    ASSERT_NE(upright, nullptr);
    ASSERT_NE(across, nullptr);
    across->SetOrientation(SliderModel::kHorizontal);
    across->SetLimits(-5.0, 8.0);
    across->SetResolution(0.5);
    Deliver();

    // Printed: the page to a file, each display into a picture.
    const auto pdf = ArtifactPath("slider_run.pdf");
    ASSERT_TRUE(whole.wiring->Graphics()->PrintCurrentPageToPdf(
        QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    QImage printed(340, 200, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        EXPECT_TRUE(upright->DrawFrame(dc, nullptr));
        dc.Offset(80, 0);
        EXPECT_TRUE(across->DrawFrame(dc, nullptr));
    }
    EXPECT_TRUE(SaveArtifact(printed, "slider_run_print.png"));

    // Copied and pasted: the same bytes.
    page->Model().SelectFrame(across);
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditCopy));
    const QByteArray copied = QApplication::clipboard()->mimeData()->data(kGraphicMimeType);
    EXPECT_EQ(std::vector<std::uint8_t>(copied.begin(), copied.end()),
              CGraphView::StoreFrame(*across));
    QTimer::singleShot(20, [this] {
        QTest::mouseMove(page, QPoint(600, 400));
        QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(600, 400));
    });
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kEditPaste));
    ASSERT_EQ(page->Model().GetFrameCount(), 3);
    CGraphFrame* pasted = page->Model().GetSelected();
    ASSERT_NE(pasted, across);
    pasted->GetWindow()->MoveWindow(across->GetFrameRect(), true);
    {
        const auto a = CGraphView::StoreFrame(*pasted), b = CGraphView::StoreFrame(*across);
        const auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
        EXPECT_EQ(a, b) << "first difference at " << (at.first - a.begin()) << " of " << a.size();
    }
    page->Model().DeleteSelected(false);
    Deliver();

    // Dragged with Ctrl by the title onto a new page's tab.
    const auto before = SliderArchives(page->Model());
    ASSERT_EQ(before.size(), 2u);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&whole.frame));
    whole.frame.OnCmdMsg(cmd::kNewGraphicsPage);
    CGraphViewWnd* second = whole.wiring->Graphics()->Page(1);
    ASSERT_NE(second, nullptr);
    CopyEveryDisplayByDrag(whole.frame, *page, *second);
    if (::testing::Test::HasFatalFailure())
        return;
    Deliver();
    EXPECT_EQ(SliderArchives(second->Model()), before);

    // Saved with the setup and opened again.
    const std::string file = (whole.program.home.Data() / "sliders.tvs").string();
    Doc().WriteDocumentFile(file);
    page->Model().DeleteAllFrames();
    second->Model().DeleteAllFrames();
    Doc().ReadDocumentFile(file);
    for (int index : {0, 1}) {
        CGraphViewWnd* reloaded = whole.wiring->Graphics()->Page(index);
        ASSERT_NE(reloaded, nullptr) << index;
        const auto after = SliderArchives(reloaded->Model());
        ASSERT_EQ(after.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            const auto at =
                std::mismatch(after[i].begin(), after[i].end(), before[i].begin(), before[i].end());
            const auto o = at.first - after[i].begin();
            EXPECT_TRUE(after[i] == before[i])
                << index << " differs at " << o << ": " << int(after[i][o]) << " "
                << int(after[i][o + 1]) << " vs " << int(before[i][o]) << " "
                << int(before[i][o + 1]);
        }
        whole.frame.Pages()->setCurrentWidget(reloaded);
        QApplication::processEvents();
    }
    Deliver();
    EXPECT_TRUE(SaveArtifact(whole.frame, "slider_reloaded.png"));
    EXPECT_TRUE(prompter.asked.empty());
}

} // namespace
} // namespace tvane::test
