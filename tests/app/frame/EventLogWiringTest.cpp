#include <gtest/gtest.h>

#include "app/eventlog/CEventFrame.h"
#include "app/eventlog/CEventView.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "database/CDatasetEvent.h"
#include "database/CStateInfo.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/QtTestSupport.h"
#include "tests/support/TempHome.h"

namespace tvane::test {
namespace {

using EventLogWiring = TempHomeTest;

TEST_F(EventLogWiring, TheProgramsDocumentFillsTheEventLogWhileItLives) {
    TestApp();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> guard(SetPrompter, &prompter);
    CStateInfo state;
    state.m_dataDir = home.Data().string();
    CMainFrame frame;
    frame.CreateEventLog(false); // as at start-up, before the document
    CEventFrame* log = frame.EventFrame();
    ASSERT_NE(log, nullptr);
    EXPECT_FALSE(log->isVisible());
    {
        DocumentWiring wiring(state, nullptr, &frame);
        CLoggerDoc& doc = wiring.Document();
        EXPECT_EQ(log->View()->GetDocument(), &doc);
        EXPECT_NE(doc.GetServices().eventEditDialog, nullptr);
        // Asking for an event shows the log even when it cannot be found.
        doc.ShowEventInLog(CDatasetEvent(CDatasetEvent::Start, -1, 0.0));
        EXPECT_TRUE(log->isVisible());
        EXPECT_EQ(prompter.Texts(), std::vector<std::string>{"Event not found in event log"});
        frame.ToggleEventLog();
        EXPECT_FALSE(log->isVisible());
    }
    EXPECT_EQ(log->View()->GetDocument(), nullptr);
}

} // namespace
} // namespace tvane::test
