// Writes that the instrument does not take, through the main window: a switch
// bank and push buttons on an instrument on the bus whose link fails the write
// in each of the ways it can. The driver's error is shown, and the display
// goes back to the state the instrument holds, not the one the user asked for.
#include <algorithm>
#include <string>
#include <vector>

#include <QApplication>
#include <gtest/gtest.h>

#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "app/frame/GraphicsWiring.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/pushbutton/CPushButtonFrame.h"
#include "graphics/displays/switches/CSwitchFrame.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "platform/widgets/QtMessageScheduler.h"
#include "scan/CommSettings.h"
#include "tests/app/frame/OutputsProgram.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/app/frame/WholeProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {
namespace {

// An instrument on the bus with relays in slot 200 and a digital port in 300.
struct OutputsOnTheBus {
    std::shared_ptr<comm::ScriptedTransport::Script> script =
        std::make_shared<comm::ScriptedTransport::Script>();
    comm::ScopedTransportCreator creator{4, [s = script](std::int32_t type) {
                                             return std::make_unique<comm::ScriptedTransport>(s,
                                                                                              type);
                                         }};
    OutputsOnTheBus() {
        script->On("*IDN?", "ORVANTA,QT7100,0,1.2");
        script->On("SYST:CTYP? 100", "ORVANTA,QT7101,0,1.0");
        script->On("SYST:CTYP? 200", "ORVANTA,QT7105,0,1.0");
        script->On("SYST:CTYP? 300", "ORVANTA,QT7107,0,1.0");
        script->On("STAT:OPER:COND?", "+0");
        script->On("*ESR?", "+0");
        script->On("SYST:ERR?", "+0,\"No error\"");
    }
};

TEST(OutputFailuresRun, AFailedWriteShowsTheDriversErrorAndTheInstrumentsState) {
    QtMessageScheduler scheduler;
    ScopedService<IMessageScheduler> schedulerService{SetMessageScheduler, &scheduler};
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    OutputsOnTheBus bus;
    WholeProgram whole;
    whole.Start();
    if (::testing::Test::HasFatalFailure())
        return;
    MakeOutputsSetup(whole);
    if (::testing::Test::HasFatalFailure())
        return;
    CLoggerDoc& doc = whole.Doc();
    EventLogView events;
    doc.AddView(&events);
    CommSettings settings;
    settings.InterfaceName = "WENX";
    settings.ControllerName = "GPIB0";
    settings.Address = 9;
    whole.program.Binding().Close();
    ASSERT_TRUE(whole.program.Binding().Connect(&settings, 1));
    doc.SetSetupInInstrument(true);

    CGraphViewWnd* page = whole.wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    whole.frame.Pages()->setCurrentWidget(page);
    whole.frame.OnCmdMsg(32851);
    auto* bank = dynamic_cast<CSwitchFrame*>(page->Model().GetSelected());
    whole.frame.OnCmdMsg(32883);
    auto* buttons = dynamic_cast<CPushButtonFrame*>(page->Model().GetSelected());
    ASSERT_TRUE(bank && buttons);
    buttons->GetWindow()->MoveWindow({180, 10, 520, 130}, true);
    buttons->SetByteDisplay(true);
    CReadingInfo start;
    start.m_channel = 302;
    start.m_request = CReadingInfo::kRequestWrite;
    start.m_value = 0x11;
    ASSERT_TRUE(doc.DoInstrumentAction(start, false));
    QApplication::processEvents();
    QTest::qWait(60);
    const std::vector<int> portBefore{0, 0, 0, 1, 0, 0, 0, 1};
    ASSERT_EQ(ToggleStates(*buttons->GetButtonWnd()), portBefore);
    ASSERT_EQ(ToggleStates(*bank->GetSwitchWnd()), (std::vector<int>{0}));

    struct Mode {
        const char* name;
        std::int32_t code;
        std::string text;
    };
    const Mode modes[] = {
        {"time-out", 1051,
         "Unable to transmit data over the RS-232 port - ensure device is on-line."},
        {"error reply", 1037, "Unable to open communication session with device."},
        {"link lost", 1064, "The modem lost the connection to the instrument."},
    };
    struct Display {
        const CToggleBankWnd* wnd;
        std::size_t element;
        std::string command;
        std::int32_t channel;
        double kept;
        std::vector<int> states;
    };
    const Display displays[] = {
        {bank->GetSwitchWnd(), 0, "ROUT:CLOS (@211)", 211, 0.0, {0}},
        {buttons->GetButtonWnd(), 2, "SOUR:DIG:DATA 49,(@302)", 302, 0x11, portBefore},
    };
    for (const Mode& mode : modes) {
        for (const Display& d : displays) {
            SCOPED_TRACE(std::string(mode.name) + " " + d.command);
            bus.script->sendFailures[d.command] = {mode.code, mode.text};
            prompter.asked.clear();
            events.texts.clear();
            ClickToggle(*d.wnd, 0, d.element);
            QApplication::processEvents();
            EXPECT_TRUE(std::count(bus.script->sent.begin(), bus.script->sent.end(), d.command));
            ASSERT_FALSE(prompter.Texts().empty());
            EXPECT_EQ(prompter.Texts().back(),
                      "Error occurred performing an immediate control operation.");
            // The driver's error (code, text) in the event log, after its time.
            const std::string driverError = std::to_string(mode.code) + "," + mode.text;
            EXPECT_TRUE(std::any_of(
                events.texts.begin(), events.texts.end(),
                [&](const std::string& text) { return text.ends_with("  " + driverError); }))
                << ::testing::PrintToString(events.texts);
            EXPECT_EQ(Queried(doc, d.channel), d.kept);
            EXPECT_EQ(ToggleStates(*d.wnd), d.states);
            bus.script->sendFailures.clear();
            bus.script->sent.clear();
        }
    }
    QTest::qWait(60);
    EXPECT_TRUE(SaveArtifact(whole.frame, "output_failures_run.png"));
    doc.RemoveView(&events);
}

} // namespace
} // namespace tvane::test
