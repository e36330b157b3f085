#include "comm/SetupPageModel.h"

#include "comm/CommStrings.h"
#include "comm/DialogOwner.h"
#include "comm/ITransportSettings.h"
#include "comm/InterfaceTypes.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/core/Services.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <optional>

namespace tvane::comm {
namespace {

using Lines = std::vector<std::string>;
constexpr const char* kLine = "OrvantaQT7100\tgpib0,9\tORVANTA QT7100 Data Logger";

// The Wenx and RS-232 interfaces are scripted; the other real ones are absent.
class SetupPageTest : public ::tvane::test::TempHomeTest {
protected:
    std::shared_ptr<ScriptedTransport::Script> wenx = std::make_shared<ScriptedTransport::Script>();
    std::shared_ptr<ScriptedTransport::Script> serial =
        std::make_shared<ScriptedTransport::Script>();
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};
    ScopedTransportCreator wenxCreator{
        kTypeWenx, [this](int32_t) { return std::make_unique<ScriptedTransport>(wenx, 4); }};
    ScopedTransportCreator rs232Creator{
        kTypeRs232, [this](int32_t) { return std::make_unique<ScriptedTransport>(serial, 3); }};
    std::optional<ScopedTransportCreator> absent[3] = {};

    void SetUp() override {
        absent[0].emplace(kTypeGpib32, TransportCreator{});
        absent[1].emplace(kTypeModem, TransportCreator{});
        absent[2].emplace(kTypeWenxLan, TransportCreator{});
    }
    static ICommSetupSheet::Request Request(int32_t type, int32_t flag = 0) {
        ICommSetupSheet::Request r;
        r.type = type;
        r.pattern = "*";
        r.flag = flag;
        r.current = nullptr;
        r.status = LoadResString(IDS_CLICK_SEARCH);
        return r;
    }
    static Lines Names(const CSetupPageModel& page) {
        Lines out;
        for (const auto& e : page.Entries())
            out.push_back(e.name);
        return out;
    }
};

TEST_F(SetupPageTest, OffersTheInterfacesThatStartAndSimulatedOnlyWhenAsked) {
    CSetupPageModel plain(Request(-1));
    EXPECT_FALSE(plain.Open());
    EXPECT_EQ(Names(plain), (Lines{TypeToDisplayName(kTypeWenx), TypeToDisplayName(kTypeRs232)}));
    EXPECT_EQ(plain.SelectedType(), kTypeWenx);
    EXPECT_EQ(plain.Lines(), Lines{LoadResString(IDS_CLICK_SEARCH)});
    EXPECT_FALSE(plain.CanAccept());

    serial->initializes = false; // a port library that does not start is not offered
    CSetupPageModel withSim(Request(kTypeRs232, 1));
    EXPECT_FALSE(withSim.Open()); // RS-232 is not there: Wenx is chosen, no search
    EXPECT_EQ(withSim.SelectedType(), kTypeWenx);
    EXPECT_EQ(Names(withSim).back(), TypeToDisplayName(kTypeSimulated));
    EXPECT_EQ(withSim.Entries().size(), 2u);
}

TEST_F(SetupPageTest, ASearchShowsWhatItFoundAndOneInstrumentIsSelectedAtOnce) {
    CSetupPageModel page(Request(kTypeWenx));
    page.Open();
    EXPECT_FALSE(page.Search(false, nullptr)); // nothing found
    EXPECT_EQ(page.Lines(), Lines{LoadResString(IDS_NO_DEVICES)});
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_FALSE(page.CanAccept());
    page.SelectLine(0); // the message line is no selection
    EXPECT_FALSE(page.CanAccept());

    wenx->searchLines = {kLine};
    EXPECT_TRUE(page.Search(false, nullptr));
    EXPECT_EQ(page.SelectedLine(), 0);
    EXPECT_TRUE(page.CanAccept());
    EXPECT_EQ(page.Details(), "ORVANTA QT7100 Data Logger");

    // Away to RS-232 and back: the lines are kept and the only one selected again.
    page.SelectInterface(1);
    EXPECT_FALSE(page.CanAccept());
    page.SelectInterface(0);
    EXPECT_TRUE(page.CanAccept());

    ICommSetupSheet::Result result;
    ASSERT_TRUE(page.Accept(result));
    EXPECT_TRUE(result.selected);
    EXPECT_EQ(result.type, kTypeWenx);
    EXPECT_EQ(result.line, kLine);
    EXPECT_EQ(result.model, "OrvantaQT7100");
    EXPECT_EQ(result.address, "gpib0,9");
    ASSERT_NE(result.transport, nullptr);
    EXPECT_TRUE(result.transport->PageMode());
}

TEST_F(SetupPageTest, FailuresAreShownOnlyWhenAsked) {
    CSetupPageModel page(Request(kTypeWenx));
    page.Open();
    wenx->searchLines = {kLine};
    wenx->searchResult = false;
    EXPECT_FALSE(page.Search(true, nullptr));
    EXPECT_EQ(page.Lines(), Lines{LoadResString(IDS_CLICK_SEARCH)}); // left as it was
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text.rfind("Error ", 0), 0u);
    EXPECT_EQ(prompter.asked[0].caption, "Communication Setup");
    EXPECT_EQ(prompter.asked[0].icon, MsgIcon::Warning);

    // The sheet offers an interface that a later attempt cannot make.
    page.SelectInterface(1);
    SetTransportCreator(kTypeRs232, {});
    ICommSetupSheet::Result result;
    EXPECT_FALSE(page.Accept(result)); // the page stays open
    EXPECT_EQ(prompter.asked.back().text, "Interface not implemented");
}

TEST_F(SetupPageTest, SimulatedSearchesAtOnceAndTheControlsIdentityStartsSelected) {
    CSetupPageModel sim(Request(kTypeSimulated, 1));
    ASSERT_TRUE(sim.Open());
    ASSERT_TRUE(sim.Search(false, nullptr));
    ASSERT_EQ(sim.Lines().size(), 1u);
    EXPECT_TRUE(sim.CanAccept());

    ICommSetupSheet::Request again = Request(kTypeWenx);
    again.status = kLine;
    CSetupPageModel page(again);
    EXPECT_FALSE(page.Open());
    EXPECT_TRUE(page.CanAccept());
    page.Cancel();
}

TEST_F(SetupPageTest, AModemDialsAndHangsUpFromThePage) {
    auto script = std::make_shared<ScriptedTransport::Script>();
    ScriptedTransport* made = nullptr;
    absent[1].reset();
    ScopedTransportCreator modem{kTypeModem, [&](int32_t) {
                                     auto t = std::make_unique<ScriptedTransport>(script, 6);
                                     t->SetAddress("Phone number: 5550100");
                                     made = t.get();
                                     return t;
                                 }};
    script->searchLines = {"Phone number: 5550100"};
    CSetupPageModel page(Request(kTypeModem));
    ASSERT_TRUE(page.Open()); // the modem searches at once
    ASSERT_TRUE(page.Search(false, nullptr));
    EXPECT_EQ(page.Button(), CSetupPageModel::LineButton::Connect);
    EXPECT_FALSE(page.CanAccept()); // no call yet

    EXPECT_TRUE(page.ConnectOrHangUp(nullptr));
    EXPECT_EQ(page.Button(), CSetupPageModel::LineButton::HangUp);
    made->SetAddress("Connected at 9600");
    EXPECT_TRUE(page.ConnectOrHangUp(nullptr)); // the call is up: hang up
    EXPECT_EQ(script->transcript.back(), "[close]");
    EXPECT_EQ(page.Button(), CSetupPageModel::LineButton::Connect);
    EXPECT_EQ(page.Lines(), Lines{"Connected at 9600"});
    EXPECT_TRUE(page.CanAccept());

    // A search while the call is up shows the call itself.
    script->searchLines.clear();
    ASSERT_TRUE(page.Search(false, nullptr));
    EXPECT_EQ(page.Lines(), Lines{"Connected at 9600"});
    EXPECT_EQ(page.Button(), CSetupPageModel::LineButton::HangUp);
}

// A gateway transport with a settings dialog that notes the window it would go over.
class SettingsTransport final : public CCommInterface, public ITransportSettings {
public:
    explicit SettingsTransport(std::vector<WindowHandle>& owners)
        : CCommInterface(kTypeWenx), m_owners(owners) {}
    bool Open(const char*) override { return true; }
    bool Close() override { return true; }
    bool Send(const char*) override { return true; }
    bool Read(char*, int32_t, int32_t& count) override {
        count = 0;
        return false;
    }
    int16_t IsMsgAvailable() override { return 0; }
    bool EditSettings() override {
        m_owners.push_back(DialogOwner());
        return true;
    }

private:
    std::vector<WindowHandle>& m_owners;
};

TEST_F(SetupPageTest, ChangeSettingsRunsTheTransportsOwnDialogOverThePage) {
    std::vector<WindowHandle> owners;
    SettingsTransport* made = nullptr;
    ScopedTransportCreator gateway{kTypeWenx, [&](int32_t) {
                                       auto t = std::make_unique<SettingsTransport>(owners);
                                       made = t.get();
                                       return t;
                                   }};
    int pageWindow = 0;
    CSetupPageModel page(Request(kTypeWenx));
    page.Open();
    EXPECT_TRUE(page.ChangeSettings(&pageWindow));
    ASSERT_NE(made, nullptr);
    // Outside the page's action its window is not handed on: the page may be gone.
    made->EditSettings();
    EXPECT_EQ(owners, (std::vector<WindowHandle>{&pageWindow, nullptr}));
    EXPECT_TRUE(made->IsKind(kKindWenx));
    EXPECT_FALSE(made->IsKind(kKindRs232));

    // A transport without a dialog of its own says so.
    CSetupPageModel serialPage(Request(kTypeRs232));
    serialPage.Open();
    EXPECT_FALSE(serialPage.ChangeSettings(&pageWindow));
    EXPECT_EQ(prompter.Texts().back(), "Interface settings not applicable to this interface");
}

} // namespace
} // namespace tvane::comm
