#pragma once
// The whole program on the simulated instrument, as the tests drive it through
// the main window: the application object, the program's pieces, the main
// window, the preferences and the document wired to them, and a setup that the
// instrument scans once a second.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QSize>
#include <gtest/gtest.h>

#include "app/CAppPreferences.h"
#include "app/frame/CMainFrame.h"
#include "app/frame/DocumentWiring.h"
#include "tests/app/frame/SimulatedProgram.h"
#include "tests/support/QtTestSupport.h"

namespace tvane::test {

class WholeProgram {
public:
    struct Options {
        // The main window is shown at this size before the document is wired;
        // none leaves it hidden and unsized.
        std::optional<QSize> shown = QSize(900, 700);
        // Preference values (id, value) set before the document is wired.
        std::vector<std::pair<std::int32_t, std::string>> preferences;
    };

    // Call first; end the test when HasFatalFailure() says so.
    void Start() { Start(Options{}); }
    void Start(const Options& options) {
        program.Start();
        if (::testing::Test::HasFatalFailure())
            return;
        if (options.shown) {
            frame.resize(*options.shown);
            frame.show();
        }
        preferences.Initialize();
        for (const auto& [id, value] : options.preferences)
            preferences.SetPrefValue(id, value);
        wiring = std::make_unique<DocumentWiring>(program.state, &program.connection, &frame,
                                                  &preferences);
    }
    // The new setup "Bench run" of count channels in the instrument, which it
    // and the document scan once a second, nothing left to save. End the test
    // when HasFatalFailure() says so.
    void ScanEverySecond(std::int32_t count) {
        program.MakeSetup(Doc(), count);
        if (::testing::Test::HasFatalFailure())
            return;
        program.ScanEverySecond(Doc());
    }
    CLoggerDoc& Doc() { return wiring->Document(); }
    // One poll of the window's scan timer, a second later.
    void Poll() {
        program.clock.Advance(1000);
        frame.OnTimer(CMainFrame::kScanTimer);
    }

    bool appMade = (TestApp(), true); // before any widget
    SimulatedProgram program;
    CMainFrame frame;
    CAppPreferences preferences;
    std::unique_ptr<DocumentWiring> wiring;
};

// Fixture form: the program is started in SetUp with the fixture's options.
class WholeProgramTest : public ::testing::Test, public WholeProgram {
protected:
    void SetUp() override { Start(options); }
    void TearDown() override { wiring.reset(); }

    Options options;
};

} // namespace tvane::test
