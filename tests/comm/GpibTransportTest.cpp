#include "comm/CCommCtrl.h"
#include "comm/CGpibInterface.h"
#include "comm/CommStrings.h"
#include "comm/IGpibSettingsDialog.h"
#include "comm/TransportFactory.h"
#include "platform/com/Activation.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace tvane::comm {
namespace {

constexpr const char* kIdentity = "ORVANTA,QT7100,0,1.2\n";
constexpr const char* kIdentityLine = "OrvantaQT7100\tib0,9\tORVANTA,QT7100,0,1.2";

std::string FakePath(const char* name) {
    return std::string(TVANE_BINARY_DIR) + "/bin/" + name + ".so";
}

// The test's handle on a fake board library: the same file the transport loads, so
// both see one bus.
class FakeBus {
public:
    explicit FakeBus(const std::string& path) : m_library(path) {
        reset = Bind<void (*)(int)>("gpibfake_reset");
        reply = Bind<void (*)(int, int, const char*, const char*)>("gpibfake_reply");
        chunk = Bind<void (*)(int)>("gpibfake_chunk");
        log = Bind<const char* (*)()>("gpibfake_log");
        clearLog = Bind<void (*)()>("gpibfake_clear_log");
        openHandles = Bind<int (*)()>("gpibfake_open_handles");
        timeout = Bind<int (*)(int)>("gpibfake_timeout");
    }
    // One board with the instrument at address 9.
    void Standard() {
        reset(1);
        reply(0, 9, "*IDN?", kIdentity);
        reply(0, 9, "MEAS:VOLT? (@101)", "+1.23450000E+00\n");
    }

    void (*reset)(int) = nullptr;
    void (*reply)(int, int, const char*, const char*) = nullptr;
    void (*chunk)(int) = nullptr;
    const char* (*log)() = nullptr;
    void (*clearLog)() = nullptr;
    int (*openHandles)() = nullptr;
    int (*timeout)(int) = nullptr;

private:
    template <typename F> F Bind(const char* name) {
        void* symbol = m_library.Symbol(name);
        if (!symbol)
            throw std::runtime_error("fake board library: " + m_library.ErrorText());
        return reinterpret_cast<F>(symbol);
    }
    DynamicLibrary m_library;
};

class ScriptedGpibDialog final : public IGpibSettingsDialog {
public:
    bool Run(std::vector<Controller>& controllers, WindowHandle) override {
        shown = controllers;
        for (Controller& c : controllers)
            c.exclude = exclude;
        return accept;
    }
    std::vector<Controller> shown;
    int32_t exclude = 0;
    bool accept = true;
};

class GpibTest : public ::tvane::test::TempHomeTest {
protected:
    FakeBus bus{FakePath("gpibfake")};
    ScriptedPrompter prompter;
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};

    void SetUp() override {
        UseLibrary(FakePath("gpibfake"));
        bus.Standard();
    }
    static void UseLibrary(const std::string& path) {
        WritePrivateProfileString(CGpibInterface::kLibrarySection, CGpibInterface::kLibraryKey,
                                  path, CGpibInterface::kConfigFile);
    }
    static std::pair<int32_t, std::string> LastError(CCommInterface& t) {
        std::string text;
        int32_t code = 0;
        t.GetLastError(text, code);
        return {code, text};
    }
};

TEST_F(GpibTest, ControlOpensQueriesAndClosesUnderBothLibraryNamings) {
    const struct {
        const char* library;
        int16_t exclusive;
        int chunk; // bytes the library hands out per read
    } cases[] = {{"gpibfake", 0, 1024}, {"gpibfake_ni", 1, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        FakeBus fake(FakePath(c.library));
        fake.Standard();
        fake.chunk(c.chunk);
        UseLibrary(FakePath(c.library));

        CCommCtrl ctrl;
        ASSERT_TRUE(ctrl.OpenInterface("GPIB", "ib0,9", c.exclusive));
        auto* transport = dynamic_cast<CGpibInterface*>(ctrl.Transport());
        ASSERT_NE(transport, nullptr);
        EXPECT_EQ(transport->Board(), 0);
        EXPECT_EQ(transport->PrimaryAddress(), 9);
        EXPECT_EQ(ctrl.IdentityLine(), kIdentityLine);
        EXPECT_EQ(ctrl.SendQuery("MEAS:VOLT? (@101)"), "+1.23450000E+00");
        EXPECT_EQ(transport->LastCommand(), "MEAS:VOLT? (@101)");

        // The serial poll tells whether an answer waits.
        EXPECT_EQ(ctrl.IsMsgAvailable(), 0);
        ASSERT_TRUE(ctrl.SendMsg("*IDN?"));
        EXPECT_EQ(ctrl.IsMsgAvailable(), 1);
        EXPECT_EQ(ctrl.RecvMsg(), "ORVANTA,QT7100,0,1.2");
        EXPECT_EQ(ctrl.IsMsgAvailable(), 0);

        fake.clearLog();
        EXPECT_TRUE(ctrl.Close());
        EXPECT_FALSE(ctrl.IsValidInterface());
        // The device goes local before the board goes offline; the control then drops
        // the transport, which gives the device handle back.
        EXPECT_STREQ(fake.log(), "local 0 9;ibonl 0 0;ibonl 32 0");
    }
}

TEST_F(GpibTest, FactoryMakesTheTransportAndNamesItsLibrary) {
    auto t = CreateTransportByType(2);
    auto* gpib = dynamic_cast<CGpibInterface*>(t.get());
    ASSERT_NE(gpib, nullptr);
    EXPECT_TRUE(gpib->IsKind(kKindGpib32) && gpib->HasKind(kKindGpib32));
    EXPECT_FALSE(gpib->IsKind(kKindWenx));
    EXPECT_FALSE(gpib->IsLibraryLoaded()); // only Initialize loads it
    EXPECT_EQ(gpib->LibraryName(), FakePath("gpibfake"));
    EXPECT_EQ(gpib->GetCommTimeout(), 3000);
    EXPECT_EQ(gpib->GetPollTimeout(), 10);
    UseLibrary("");
    EXPECT_EQ(gpib->LibraryName(), "libgpib.so.0");
    EXPECT_EQ(CGpibInterface("other.so").LibraryName(), "other.so");
}

TEST_F(GpibTest, OpenRefusesBadAddressesAndAbsentBoards) {
    bus.reset(1);
    for (const char* address : {"ib0,0", "ib0,31", "ib0", "ib,5", "", "ib1,9", "ib0,-3"}) {
        CGpibInterface t;
        EXPECT_FALSE(t.Open(address)) << address;
        EXPECT_FALSE(t.IsOpen());
        EXPECT_EQ(LastError(t).first, IDS_BAD_ADDRESS) << address;
    }
    // An address text is read to its twentieth character.
    CGpibInterface t;
    EXPECT_TRUE(t.SetAddress("ib0,12              99"));
    EXPECT_EQ(t.PrimaryAddress(), 12);
    EXPECT_EQ(t.GetAddress(), "ib0,12              ");
}

TEST_F(GpibTest, ReadEndsAtTheLineFeedTheFullBufferOrTheTimeOut) {
    bus.reply(0, 9, "LONG?", "ABCDEFGHIJ\n");
    bus.reply(0, 9, "PART?", "NOEND");
    bus.reply(0, 9, "CRLF?", "OK\r\n");
    bus.chunk(3);
    const struct {
        const char* query;
        int32_t size;
        bool ok;
        int32_t count;
        const char* text;
        int32_t error;
    } cases[] = {
        {"MEAS:VOLT? (@101)", 100, true, 16, "+1.23450000E+00", 0},
        {"CRLF?", 100, true, 4, "OK", 0},
        // A full buffer without the line feed is no answer.
        {"LONG?", 8, false, 0, "", 0},
        // What came before the time-out is kept.
        {"PART?", 100, false, 5, "NOEND", CGpibInterface::kLibraryErrorBase + 6},
    };
    CGpibInterface t;
    ASSERT_TRUE(t.Open("ib0,9"));
    for (const auto& c : cases) {
        ASSERT_TRUE(t.Send(c.query));
        std::string buffer(static_cast<std::size_t>(c.size), 'x');
        int32_t count = -1;
        EXPECT_EQ(t.Read(buffer.data(), c.size, count), c.ok) << c.query;
        EXPECT_EQ(count, c.count) << c.query;
        EXPECT_STREQ(buffer.c_str(), c.text) << c.query;
        const auto [code, text] = LastError(t);
        EXPECT_EQ(code, c.error) << c.query;
        if (c.error) {
            EXPECT_EQ(text, "GPIB interface timeout occured");
        }
        t.Clear(); // drops what the full buffer left
    }
}

TEST_F(GpibTest, AnUnansweredQueryTimesOutAndTheLinkStaysUsable) {
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("GPIB", "ib0,9", 0));
    ASSERT_TRUE(ctrl.PutCommTimeout(50));
    int32_t ms = 0;
    ASSERT_TRUE(ctrl.GetCommTimeout(ms));
    EXPECT_EQ(ms, 100); // the library's next step up
    EXPECT_EQ(ctrl.SendQuery("SILENT?"), std::nullopt);
    std::string text;
    int32_t code = 0;
    ASSERT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, CGpibInterface::kLibraryErrorBase + 6);
    EXPECT_EQ(text, "GPIB interface timeout occured");
    EXPECT_EQ(ctrl.SendQuery("*IDN?"), "ORVANTA,QT7100,0,1.2");
    // The device handle waits with the time-out set before it was made.
    EXPECT_EQ(bus.timeout(32), 9);
}

TEST_F(GpibTest, WritingToAnEmptyAddressReportsNoListeners) {
    CGpibInterface t;
    ASSERT_TRUE(t.Open("ib0,12")); // the board answers, not the device
    EXPECT_FALSE(t.Send("*IDN?"));
    EXPECT_EQ(LastError(t), std::make_pair(CGpibInterface::kLibraryErrorBase + 2,
                                           std::string("Write function detected no Listeners")));
    EXPECT_EQ(t.IsMsgAvailable(), 0);
    EXPECT_EQ(LastError(t).second, "GPIB interface timeout occured");

    CCommCtrl ctrl;
    EXPECT_FALSE(ctrl.OpenInterface("GPIB", "ib0,12", 0));
}

TEST_F(GpibTest, TimeOutCodesAreTheLibrarysSteps) {
    const struct {
        int32_t ms;
        int32_t code;
        int32_t back;
    } cases[] = {{-5, 0, -1},
                 {0, 3, 0},
                 {1, 5, 1},
                 {2, 6, 3},
                 {11, 8, 30},
                 {1000, 11, 1000},
                 {1001, 12, 3000},
                 {30001, 15, 100000},
                 {100001, 16, 300000},
                 {400000, 17, 1000000}};
    for (const auto& c : cases) {
        EXPECT_EQ(CGpibInterface::TimeoutCode(c.ms), c.code) << c.ms;
        EXPECT_EQ(CGpibInterface::TimeoutMs(c.code), c.back) << c.ms;
    }
    EXPECT_EQ(CGpibInterface::TimeoutMs(18), 1000);
    EXPECT_STREQ(CGpibInterface::ErrorText(0), "System error");
    EXPECT_STREQ(CGpibInterface::ErrorText(9), "No Error string available");
}

TEST_F(GpibTest, SearchFindsTheInstrumentsAmongTheListeners) {
    bus.reset(2);
    bus.reply(0, 9, "*IDN?", kIdentity);
    bus.reply(0, 14, "*IDN?", "BRANNOCK,7200,0,1.0\n");
    bus.reply(1, 3, "*IDN?", "ORVANTA,QT7100,0,2.0\n");
    CGpibInterface t;
    ASSERT_TRUE(t.Initialize());
    EXPECT_EQ(t.Controllers(), (std::vector<std::string>{"ib0", "ib1"}));

    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_EQ(lines, (std::vector<std::string>{kIdentityLine, "KX7200\tib0,14\tBRANNOCK,7200,0,1.0",
                                               "OrvantaQT7100\tib1,3\tORVANTA,QT7100,0,2.0"}));
    // Each probe leaves the address it used, so one device handle at most stays.
    EXPECT_LE(bus.openHandles(), 1);

    lines.clear();
    EXPECT_TRUE(t.Search(lines, "KX7200", 0));
    EXPECT_EQ(lines, std::vector<std::string>{"KX7200\tib0,14\tBRANNOCK,7200,0,1.0"});

    // The open-any search of the control finds it as well.
    {
        CCommCtrl ctrl;
        ASSERT_TRUE(ctrl.OpenInterface("any", "KX7200", 0));
        EXPECT_EQ(ctrl.ControllerName(), "ib0");
        EXPECT_EQ(ctrl.Address(), 14);
    }

    // Addresses whose bit is clear are left out, and a per-address query is used.
    WritePrivateProfileString("ib0", "Exclude", std::to_string(0x7FFFFFFF & ~(1 << 14)),
                              LinkwellIni());
    WritePrivateProfileString("ib1", "IDString3", "ID?", LinkwellIni());
    bus.reply(1, 3, "ID?", "ORVANTA,QT7100,0,3.0\n");
    lines.clear();
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_EQ(lines, (std::vector<std::string>{kIdentityLine,
                                               "OrvantaQT7100\tib1,3\tORVANTA,QT7100,0,3.0"}));
}

TEST_F(GpibTest, AMissingLibraryOrEntryPointLeavesTheTransportUnusable) {
    const struct {
        std::string library;
        int32_t code;
    } cases[] = {{"/nonexistent/libgpib.so.0", IDS_NO_GPIB_DLL},
                 {FakePath("gpibfake_partial"), IDS_NO_DLL_FUNCTIONS}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        UseLibrary(c.library);
        CGpibInterface t;
        EXPECT_FALSE(t.Initialize());
        EXPECT_FALSE(t.IsLibraryLoaded());
        EXPECT_EQ(LastError(t).first, c.code);
        EXPECT_FALSE(t.Send("*IDN?"));
        EXPECT_EQ(LastError(t), std::make_pair(int32_t{IDS_GPIB_NOT_LOADED},
                                               std::string("Gpib library not loaded")));
        EXPECT_FALSE(t.Close());
        EXPECT_EQ(t.IsMsgAvailable(), 0);
        EXPECT_TRUE(t.GoToLocal());

        CCommCtrl ctrl;
        EXPECT_FALSE(ctrl.OpenInterface("GPIB", "ib0,9", 0));
        std::string text;
        int32_t code = 0;
        ASSERT_TRUE(ctrl.GetCommError(text, code));
        EXPECT_EQ(code, IDS_BAD_ADDRESS);
    }
}

TEST_F(GpibTest, WithoutBoardsTheLibraryLoadsButNothingIsReached) {
    bus.reset(0);
    CGpibInterface t;
    EXPECT_TRUE(t.Initialize());  // the library binds
    EXPECT_FALSE(t.Initialize()); // but no board goes online
    EXPECT_EQ(LastError(t).first, IDS_NO_GPIB_DLL);
    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(t.EditSettings());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "National Instruments NI-488.2 driver software detected but no controllers have "
              "been configured.\n\nUse the \"GPIB wibcfg\" application to add a controller.");
}

TEST_F(GpibTest, SettingsDialogEditsEachBoardsSearchMask) {
    bus.reset(2);
    CGpibInterface t;
    ASSERT_TRUE(t.Initialize());
    EXPECT_FALSE(t.EditSettings()); // no dialog installed
    EXPECT_EQ(prompter.asked.back().text, LoadResString(IDS_WENX_DIALOG_NOT_AVAILABLE));

    ScriptedGpibDialog dialog;
    SetGpibSettingsDialog(&dialog);
    dialog.exclude = 6;
    dialog.accept = false;
    EXPECT_FALSE(t.EditSettings());
    ASSERT_EQ(dialog.shown.size(), 2u);
    EXPECT_EQ(dialog.shown[1].name, "ib1");
    EXPECT_EQ(dialog.shown[1].exclude, 0x7FFFFFFF);
    EXPECT_EQ(GetPrivateProfileString("ib1", "Exclude", "", LinkwellIni()), "");

    dialog.accept = true;
    EXPECT_TRUE(t.EditSettings());
    SetGpibSettingsDialog(nullptr);
    EXPECT_EQ(GetPrivateProfileString("ib0", "Exclude", "", LinkwellIni()), "6");
    EXPECT_EQ(GetPrivateProfileString("ib1", "Exclude", "", LinkwellIni()), "6");
}

} // namespace
} // namespace tvane::comm
