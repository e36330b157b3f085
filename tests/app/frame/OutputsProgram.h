#pragma once
// The main window with a setup of output channels, and what the tests of the
// displays that write them (switch banks, push buttons) do alike.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "app/CLoggerDoc.h"
#include "app/frame/GraphicsWiring.h"
#include "comm/CSimInterface.h"
#include "comm/InterfaceTypes.h"
#include "comm/TransportFactory.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/indicator/GaugeWnd.h"
#include "graphics/displays/switches/ToggleBank.h"
#include "graphics/view/CGraphViewWnd.h"
#include "platform/ui/MessageBus.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/records/CChannelConfig.h"
#include "tests/app/frame/WholeProgram.h"

namespace tvane::test {

// Relays of a KXQT7105 from 211 and a KXQT7107 whose 302 is a digital output
// port, in the instrument.
inline void MakeOutputsSetup(WholeProgram& whole) {
    CStateInfo setup = whole.program.state;
    setup.m_setupName = "Outputs";
    setup.m_modules = {"KXQT7101", "KXQT7105", "KXQT7107"};
    CLoggerDoc& doc = whole.Doc();
    ASSERT_TRUE(doc.CreateNewSetup(setup, 0, false));
    whole.program.state = setup;
    for (std::int32_t i = 0; i < doc.GetSetup()->GetSize(); ++i) {
        CFXSetup* row = doc.GetSetupRow(i);
        if (row && row->Channel == 302)
            row->Function = "Digital Write 8bit";
    }
    CChannelConfig config;
    ASSERT_TRUE(doc.GetSetupRow(0)->FillChannelConfig(config));
    ASSERT_TRUE(whole.program.Binding().DownloadChannelConfig(&config));
    whole.program.ScanEverySecond(doc);
}

// The program started with the outputs setup and its first graphics page
// shown; page stays null after a failed assertion.
inline void StartOutputsPage(WholeProgram& whole, CGraphViewWnd*& page) {
    page = nullptr;
    whole.Start();
    if (::testing::Test::HasFatalFailure())
        return;
    MakeOutputsSetup(whole);
    if (::testing::Test::HasFatalFailure())
        return;
    page = whole.wiring->Graphics()->Page(0);
    ASSERT_NE(page, nullptr);
    whole.frame.Pages()->setCurrentWidget(page);
}

// The display a Graphics menu command makes: the page's new selection, null
// when it is not a Frame.
template <class Frame>
Frame* MakeFromMenu(WholeProgram& whole, CGraphViewWnd& page, unsigned command) {
    whole.frame.OnCmdMsg(command);
    return dynamic_cast<Frame*>(page.Model().GetSelected());
}

// A press in the middle of an element (switch, button) of a display's window.
inline void ClickToggle(const CToggleBankWnd& display, std::size_t block, std::size_t element) {
    auto* wnd = dynamic_cast<GaugeWnd*>(display.GetWindow());
    ASSERT_NE(wnd, nullptr);
    const CIndicator* target = display.Blocks().Blocks().GetIndicator(block, element);
    ASSERT_NE(target, nullptr);
    const GRect r = target->GetRect();
    QTest::mouseClick(wnd, Qt::LeftButton, {},
                      QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    // The request goes from the window to its frame, on to the page and the
    // document as posted messages, delivered from the event loop as in the
    // program; none is left waiting.
    for (int hop = 0; hop < 3; ++hop)
        QCoreApplication::processEvents();
    EXPECT_EQ(MessageBus::PendingCount(), 0u);
}

// The channel's state as the document answers a query, which holds what the
// instrument accepted.
inline double Queried(CLoggerDoc& doc, std::int32_t channel) {
    CReadingInfo query;
    query.m_channel = channel;
    query.m_request = CReadingInfo::kRequestQuery;
    query.m_value = -1.0;
    EXPECT_TRUE(doc.DoInstrumentAction(query, false));
    return query.m_value;
}

// The elements' states in slot and element order.
inline std::vector<int> ToggleStates(const CToggleBankWnd& display) {
    std::vector<int> states;
    const CIndicatorBlockArray& blocks = display.Blocks().Blocks();
    for (std::size_t b = 0; b < blocks.GetSize(); ++b)
        for (std::size_t e = 0; blocks.GetAt(b) && e < blocks.GetAt(b)->GetSize(); ++e)
            states.push_back(blocks.GetIndicator(b, e)->GetState());
    return states;
}

// The simulated link, recording every command the driver sends through it.
class RecordingSimInterface final : public comm::CSimInterface {
public:
    explicit RecordingSimInterface(std::shared_ptr<std::vector<std::string>> sent)
        : m_sent(std::move(sent)) {}
    bool Send(const char* command) override {
        m_sent->push_back(command ? command : "");
        return CSimInterface::Send(command);
    }

private:
    std::shared_ptr<std::vector<std::string>> m_sent;
};

// The simulated instrument's link replaced by one that records, so that the
// driver still simulates while every command it sends lands in the
// transcript. Made before the program starts.
struct SimulatedTranscript {
    std::shared_ptr<std::vector<std::string>> sent = std::make_shared<std::vector<std::string>>();
    comm::ScopedTransportCreator creator{comm::kTypeSimulated, [s = sent](std::int32_t) {
                                             return std::make_unique<RecordingSimInterface>(s);
                                         }};
    bool Sent(const std::string& command) const {
        return std::find(sent->begin(), sent->end(), command) != sent->end();
    }
};

} // namespace tvane::test
