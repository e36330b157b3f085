// Push buttons on a graphics page of the main window on the simulated
// instrument: made from the Graphics menu, edited in their sheet, pressed
// with the mouse; each press reaches the instrument through the document and
// the driver, and the buttons show the state the document answers.
#include <filesystem>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/CSaveScanDataDialog.h"
#include "app/frame/CScanStatusDialog.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/FrameCommands.h"
#include "app/frame/GraphicsWiring.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/pushbutton/CPushButtonFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "graphics/view/QtGraphDC.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "tests/app/frame/OutputsProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kPushButtonCommand = 32883;

std::vector<int> ButtonStates(const CPushButtonFrame& display) {
    return ToggleStates(*display.GetButtonWnd());
}

TEST(PushButtonRun, ButtonsFromTheGraphicsMenuWriteARelayAndAnOutputBit) {
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    SimulatedTranscript driver;
    WholeProgram whole;
    CGraphViewWnd* page = nullptr;
    StartOutputsPage(whole, page);
    if (!page)
        return;
    CLoggerDoc& doc = whole.Doc();

    // Graphics, Push Button twice: the first relay comes by itself; the
    // second shows the bits of the output port.
    auto* relay = MakeFromMenu<CPushButtonFrame>(whole, *page, kPushButtonCommand);
    ASSERT_NE(relay, nullptr);
    auto* port = MakeFromMenu<CPushButtonFrame>(whole, *page, kPushButtonCommand);
    ASSERT_NE(port, nullptr);
    ASSERT_NE(port, relay);
    port->GetWindow()->MoveWindow({180, 10, 520, 130}, true);
    port->SetByteDisplay(true);
    QCoreApplication::processEvents();
    ASSERT_EQ(port->GetButtonWnd()->Blocks().Blocks().GetAt(0)->m_channel, 302);
    EXPECT_EQ(relay->GetButtonWnd()->Blocks().Blocks().GetAt(0)->m_channel, 211);
    CReadingInfo clear;
    clear.m_channel = 302;
    clear.m_request = CReadingInfo::kRequestWrite;
    clear.m_value = 0.0;
    ASSERT_TRUE(doc.DoInstrumentAction(clear, false));
    QTest::qWait(60);

    // A relay closed with the mouse: the driver sends the close.
    ClickToggle(*relay->GetButtonWnd(), 0, 0);
    EXPECT_TRUE(driver.Sent("ROUT:CLOS (@211)"));
    EXPECT_EQ(Queried(doc, 211), 1.0);
    EXPECT_EQ(ButtonStates(*relay), (std::vector<int>{1}));

    // Bit 3 of the port: the whole byte is written once.
    const std::size_t sent = driver.sent->size();
    ClickToggle(*port->GetButtonWnd(), 0, 4);
    EXPECT_EQ(driver.sent->size(), sent + 1);
    EXPECT_TRUE(driver.Sent("SOUR:DIG:DATA 8,(@302)"));
    EXPECT_EQ(Queried(doc, 302), 8.0);
    EXPECT_EQ(ButtonStates(*port), (std::vector<int>{0, 0, 0, 0, 1, 0, 0, 0}));
    ClickToggle(*port->GetButtonWnd(), 0, 0);
    EXPECT_TRUE(driver.Sent("SOUR:DIG:DATA 136,(@302)"));

    // The buttons show what the instrument answers, not what they last asked
    // for: a write made elsewhere reaches them.
    CReadingInfo write = clear;
    write.m_value = 0x81;
    ASSERT_TRUE(doc.DoInstrumentAction(write, false));
    EXPECT_EQ(ButtonStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));

    // The keys: Right moves from "7" to "6", Up presses it, Down releases it.
    auto* keys = dynamic_cast<GaugeWnd*>(port->GetButtonWnd()->GetWindow());
    ASSERT_NE(keys, nullptr);
    const auto press = [keys](Qt::Key key) {
        QTest::keyClick(keys, key);
        for (int hop = 0; hop < 3; ++hop)
            QCoreApplication::processEvents();
    };
    press(Qt::Key_Right);
    press(Qt::Key_Up);
    EXPECT_TRUE(driver.Sent("SOUR:DIG:DATA 193,(@302)"));
    EXPECT_EQ(ButtonStates(*port), (std::vector<int>{1, 1, 0, 0, 0, 0, 0, 1}));
    press(Qt::Key_Up); // already down
    press(Qt::Key_Down);
    EXPECT_EQ(Queried(doc, 302), 129.0);
    EXPECT_EQ(ButtonStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));

    // The sheet's two pages, each with its help.
    int shown = 0;
    RecordingHelp help;
    ScopedService<IHelp> helpGuard(SetHelp, &help);
    WhenShown<CGraphSheet>(
        [](CGraphSheet& sheet) {
            ASSERT_EQ(sheet.PageCount(), 2);
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(sheet.SetActivePage(i));
                sheet.HelpButton()->click();
            }
            sheet.reject();
        },
        &shown);
    page->Model().SelectFrame(port);
    ASSERT_TRUE(page->RunCommand(CGraphViewWnd::kProperties));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11109, 11209}));

    // A run's readings leave the buttons as they are.
    whole.frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    whole.frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 1);
    whole.Poll();
    EXPECT_EQ(ButtonStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));
    page->Model().DeselectAll();
    QCoreApplication::processEvents();
    QTest::qWait(60);
    EXPECT_TRUE(SaveArtifact(whole.frame, "push_button_run.png"));
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
    whole.frame.Action(cmd::kStopScan)->trigger();

    // The page prints, and each display draws itself into a printed picture.
    const auto pdf = ArtifactPath("push_button_run.pdf");
    ASSERT_TRUE(whole.wiring->Graphics()->PrintCurrentPageToPdf(
        QString::fromStdString(pdf.string()), false));
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
    QImage printed(540, 150, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        QtGraphDC dc(painter);
        // Each at its place on the page, as the page prints it.
        for (CGraphFrame* display : std::initializer_list<CGraphFrame*>{relay, port}) {
            const GRect at = display->GetFrameRect();
            dc.Save();
            dc.Offset(at.left, at.top);
            EXPECT_TRUE(display->DrawFrame(dc, nullptr));
            dc.Restore();
        }
    }
    EXPECT_TRUE(SaveArtifact(printed, "push_button_run_print.png"));
}

} // namespace
} // namespace tvane::test
