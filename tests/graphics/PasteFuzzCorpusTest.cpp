#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "GraphFakes.h"
#include "GraphicsTestSupport.h"
#include "PasteFuzzBody.h"
#include "graphics/CGraphView.h"
#include "graphics/displays/strip/CXrtOverlayFrame.h"
#include "graphics/displays/text/CTextFrame.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/graphics/displays/strip/StripFakes.h"
#include "tests/graphics/displays/text/TextFakes.h"
#include "tests/support/FuzzCorpus.h"
#include "tests/support/TempHome.h"

namespace {

using namespace graphicstest;

const std::filesystem::path kPasteCorpus = std::filesystem::path(TVANE_TEST_DATA) / "fuzz-paste";

// The drag file in a runtime folder of the test's own.
class PasteFuzzCorpus : public ::testing::Test {
protected:
    PasteFuzzCorpus() {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        m_had = runtime != nullptr;
        if (runtime)
            m_old = runtime;
        std::filesystem::permissions(m_home.Path(), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", m_home.Path().c_str(), 1);
    }
    ~PasteFuzzCorpus() override {
        if (m_had)
            setenv("XDG_RUNTIME_DIR", m_old.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }
    tvane::test::TempHome m_home;
    bool m_had = false;
    std::string m_old;
};

TEST_F(PasteFuzzCorpus, EverySeedAndEveryFaultFoundPastesOrIsRefusedCleanly) {
    EXPECT_GE(tvane::test::RunFuzzCorpus(kPasteCorpus, ExercisePaste), 5);
}

// Writes the seeds again (run with --gtest_also_run_disabled_tests): a text
// display, a strip chart with two channels, and the payloads that refer back
// into a text display's own archive in place of its text box (a released
// object: the frame's font; a display that is not a text box).
TEST_F(PasteFuzzCorpus, DISABLED_WriteSeeds) {
    tvane::ScriptedPrompter prompter;
    tvane::ScopedService<tvane::IPrompter> quiet{tvane::SetPrompter, &prompter};
    FakeStripWindows windows;
    displays::Windows<IStripChartWindows>::Scoped install{&windows};
    FakeTextWindows textWindows;
    FakeViewWindow window;
    window.client = {0, 0, 800, 600};
    FakeGraphDocument doc;
    for (int n : {101, 102}) {
        CChannelInfo c;
        c.Number = n;
        c.Label = "<" + std::to_string(n) + ">";
        doc.channels.push_back(c);
    }
    CGraphView view{&window, &doc};
    view.OnInitialUpdate(false);
    const auto write = [](const std::string& name, const Bytes& bytes) {
        tvane::test::WriteFile(kPasteCorpus / name, std::string(bytes.begin(), bytes.end()));
    };
    ASSERT_TRUE(view.CreateDisplay(32817));
    auto* text = static_cast<CTextFrame*>(view.GetSelected());
    text->GetTextBox()->SetText("Boiler room");
    const Bytes textBytes = CGraphView::StoreFrame(*text);
    write("text-display.arc", textBytes);
    ASSERT_TRUE(view.CreateDisplay(700));
    auto* chart = static_cast<CXrtOverlayFrame*>(view.GetSelected());
    chart->OnSetChannel(1, CXrtOverlayFrame::ToOverlay(doc.channels[1]));
    write("strip-chart.arc", CGraphView::StoreFrame(*chart));

    const std::string name = "CTextBox";
    const auto at = std::search(textBytes.begin(), textBytes.end(), name.begin(), name.end());
    ASSERT_NE(at, textBytes.end());
    const Bytes head(textBytes.begin(), at - 6);
    const auto refer = [&](std::uint16_t index) {
        Bytes payload = head;
        payload.push_back(static_cast<std::uint8_t>(index));
        payload.push_back(static_cast<std::uint8_t>(index >> 8));
        return payload;
    };
    // The display's own class and object, then the objects of its base part.
    for (std::uint16_t index = 2; index < 12; ++index)
        write("text-box-refers-to-" + std::to_string(index) + ".arc", refer(index));
}

} // namespace
