// Switch banks on a graphics page of the main window on the simulated
// instrument: made from the Graphics menu, edited in their sheet, flipped
// with the mouse; each flip reaches the instrument through the document and
// the bank shows the state the document answers.
#include <algorithm>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
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
#include "graphics/displays/indicator/GaugeWnd.h"
#include "graphics/displays/switches/CSwitchFrame.h"
#include "graphics/pages/CGraphSheet.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Services.h"
#include "platform/ui/Help.h"
#include "platform/ui/MessageBus.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/records/CChannelConfig.h"
#include "tests/app/frame/OutputsProgram.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WhenShown.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

constexpr unsigned kSwitchBankCommand = 32851;

// A press in the middle of a switch of the bank's window.
void ClickSwitch(CSwitchFrame& bank, std::size_t block, std::size_t element) {
    ClickToggle(*bank.GetSwitchWnd(), block, element);
}

std::vector<int> SwitchStates(const CSwitchFrame& bank) {
    return ToggleStates(*bank.GetSwitchWnd());
}

TEST(SwitchBankRun, BanksFromTheGraphicsMenuWriteRelaysAndAnOutputPort) {
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    WholeProgram whole;
    CGraphViewWnd* page = nullptr;
    StartOutputsPage(whole, page);
    if (!page)
        return;
    CLoggerDoc& doc = whole.Doc();

    // Graphics, Switch Bank twice: the first relay comes by itself; the
    // second bank shows the output port byte.
    auto* relays = MakeFromMenu<CSwitchFrame>(whole, *page, kSwitchBankCommand);
    ASSERT_NE(relays, nullptr);
    auto* port = MakeFromMenu<CSwitchFrame>(whole, *page, kSwitchBankCommand);
    ASSERT_NE(port, nullptr);
    ASSERT_NE(port, relays);
    port->GetWindow()->MoveWindow({180, 10, 520, 150}, true);
    port->SetByteDisplay(true);
    QCoreApplication::processEvents();
    QTest::qWait(60);
    ASSERT_EQ(port->GetSwitchWnd()->Blocks().Blocks().GetAt(0)->m_channel, 302);
    EXPECT_EQ(relays->GetSwitchWnd()->Blocks().Blocks().GetAt(0)->m_channel, 211);
    // The new bank shows the port as the document holds it (never written:
    // every bit set), so that a flip keeps the other bits; then it is cleared.
    EXPECT_EQ(SwitchStates(*port), std::vector<int>(8, 1));
    CReadingInfo clear;
    clear.m_channel = 302;
    clear.m_request = CReadingInfo::kRequestWrite;
    clear.m_value = 0.0;
    ASSERT_TRUE(doc.DoInstrumentAction(clear, false));
    EXPECT_EQ(SwitchStates(*port), std::vector<int>(8, 0));

    // The banks write during a run too.
    whole.frame.UpdateToolbars();
    WhenShown<CScanStatusDialog>([](CScanStatusDialog& dialog) {
        dialog.DontShow()->setChecked(true);
        dialog.StartButton()->click();
    });
    whole.frame.Action(cmd::kStartScan)->trigger();
    ASSERT_EQ(doc.IsScanning(), 1);
    whole.Poll();

    // A relay closed with the mouse.
    ASSERT_EQ(Queried(doc, 211), 0.0);
    ClickSwitch(*relays, 0, 0);
    EXPECT_EQ(Queried(doc, 211), 1.0);
    EXPECT_EQ(SwitchStates(*relays), (std::vector<int>{1}));

    // Bits 0 and 7 of the port: each flip writes the whole byte once.
    ClickSwitch(*port, 0, 7);
    ClickSwitch(*port, 0, 0);
    EXPECT_EQ(Queried(doc, 302), 129.0);
    EXPECT_EQ(SwitchStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 1}));
    ClickSwitch(*port, 0, 7);
    EXPECT_EQ(Queried(doc, 302), 128.0);
    EXPECT_EQ(SwitchStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0}));

    // The bank shows what the instrument answers, not what it last asked for:
    // a write made elsewhere reaches its switches.
    CReadingInfo write;
    write.m_channel = 302;
    write.m_request = CReadingInfo::kRequestWrite;
    write.m_value = 5.0;
    ASSERT_TRUE(doc.DoInstrumentAction(write, false));
    EXPECT_EQ(SwitchStates(*port), (std::vector<int>{0, 0, 0, 0, 0, 1, 0, 1}));
    ClickSwitch(*port, 0, 0);
    EXPECT_EQ(Queried(doc, 302), 133.0);
    EXPECT_EQ(SwitchStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 1, 0, 1}));

    // The sheet's two pages, each with its help.
    int shown = 0;
    RecordingHelp help;
    ScopedService<IHelp> helpGuard(SetHelp, &help);
    WhenShown<CGraphSheet>(
        [](CGraphSheet& sheet) {
            for (int i = 0; i < 2; ++i) {
                EXPECT_TRUE(sheet.SetActivePage(i));
                sheet.HelpButton()->click();
            }
            sheet.reject();
        },
        &shown);
    page->Model().SelectFrame(port);
    for (QAction* action : page->ContextMenu()->actions())
        if (action->data().toUInt() == CGraphViewWnd::kProperties)
            action->trigger();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(help.shown, (std::vector<unsigned>{11108, 11208}));

    // Readings of the run leave the switches as they are.
    whole.Poll();
    EXPECT_EQ(SwitchStates(*port), (std::vector<int>{1, 0, 0, 0, 0, 1, 0, 1}));
    QCoreApplication::processEvents();
    QTest::qWait(60);
    EXPECT_TRUE(SaveArtifact(whole.frame, "switch_bank_run.png"));
    WhenShown<CSaveScanDataDialog>([](CSaveScanDataDialog& dialog) { dialog.reject(); });
    whole.frame.Action(cmd::kStopScan)->trigger();
}

} // namespace
} // namespace tvane::test
