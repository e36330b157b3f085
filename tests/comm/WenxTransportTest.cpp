#include "comm/CCommCtrl.h"
#include "comm/CWenxInterface.h"
#include "comm/CommStrings.h"
#include "comm/IWenxSettingsDialog.h"
#include "comm/TransportFactory.h"
#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"
#include "platform/core/Services.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace tvane::comm {
namespace {

constexpr const char* kWenxIdentity = "ORVANTA,QT7100,0,1.2\n";
constexpr const char* kModel = "OrvantaQT7100";

// An SCPI instrument on a raw socket of 127.0.0.1: every line it receives is
// recorded, and a line with a scripted reply is answered with it, byte for byte.
class InstrumentServer {
public:
    InstrumentServer() {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(m_listen, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(m_listen, 8) != 0 ||
            ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
            ::pipe(m_stop) != 0)
            throw std::runtime_error("instrument server");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~InstrumentServer() {
        const char stop = 0;
        (void)!::write(m_stop[1], &stop, 1);
        m_thread.join();
        for (int fd : {m_listen, m_stop[0], m_stop[1]})
            ::close(fd);
    }
    InstrumentServer(const InstrumentServer&) = delete;
    InstrumentServer& operator=(const InstrumentServer&) = delete;

    int Port() const { return m_port; }
    void On(const std::string& line, const std::string& reply) {
        std::lock_guard lock(m_mutex);
        m_replies[line] = reply;
    }
    std::vector<std::string> Received() {
        std::lock_guard lock(m_mutex);
        return m_received;
    }
    std::size_t Replies() {
        std::lock_guard lock(m_mutex);
        return m_replyCount;
    }
    // Blocks until the server has sent count replies in all.
    void WaitForReplies(std::size_t count) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_replyCount >= count; });
    }

private:
    void Run() {
        std::map<int, std::string> clients; // socket and its unfinished line
        for (;;) {
            std::vector<pollfd> fds{{m_stop[0], POLLIN, 0}, {m_listen, POLLIN, 0}};
            for (const auto& [fd, line] : clients)
                fds.push_back({fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0)
                continue;
            if (fds[0].revents)
                break;
            if (fds[1].revents) {
                const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
                if (fd >= 0)
                    clients[fd];
            }
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents)
                    continue;
                char chunk[512];
                const ssize_t n = ::recv(fds[i].fd, chunk, sizeof chunk, 0);
                if (n <= 0) {
                    ::close(fds[i].fd);
                    clients.erase(fds[i].fd);
                    continue;
                }
                std::string& pending = clients[fds[i].fd];
                pending.append(chunk, static_cast<std::size_t>(n));
                for (auto end = pending.find('\n'); end != std::string::npos;
                     end = pending.find('\n')) {
                    Answer(fds[i].fd, pending.substr(0, end));
                    pending.erase(0, end + 1);
                }
            }
        }
        for (const auto& [fd, line] : clients)
            ::close(fd);
    }
    void Answer(int fd, const std::string& line) {
        std::lock_guard lock(m_mutex);
        m_received.push_back(line);
        auto it = m_replies.find(line);
        if (it == m_replies.end())
            return;
        (void)!::send(fd, it->second.data(), it->second.size(), MSG_NOSIGNAL);
        ++m_replyCount;
        m_changed.notify_all();
    }

    int m_listen = -1;
    int m_stop[2] = {-1, -1};
    int m_port = 0;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<std::string, std::string> m_replies;
    std::vector<std::string> m_received;
    std::size_t m_replyCount = 0;
    std::thread m_thread;
};

// A port on which nothing listens.
int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), size);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

// The transport's pauses run on a clock that moves only while it waits.
class AdvancingPump final : public IMessagePump {
public:
    explicit AdvancingPump(FakeClock& clock) : m_clock(clock) {}
    void Pump() override { m_clock.Advance(1); }

private:
    FakeClock& m_clock;
};

class ScriptedSettingsDialog final : public IWenxSettingsDialog {
public:
    bool Run(Settings& settings, WindowHandle) override {
        shown = settings;
        settings = answer;
        return accept;
    }
    Settings shown;
    Settings answer;
    bool accept = true;
};

// A GPIB controller "gpib0" with the instrument at bus address 9 and nothing
// listening at 12, and a LAN gateway unit "lan".
class WenxTest : public ::tvane::test::TempHomeTest {
protected:
    InstrumentServer server;
    FakeClock clock;
    AdvancingPump pump{clock};
    ScriptedPrompter prompter;
    ScopedService<IClock> clockGuard{SetClock, &clock};
    ScopedService<IMessagePump> pumpGuard{SetMessagePump, &pump};
    ScopedService<IPrompter> prompterGuard{SetPrompter, &prompter};

    void SetUp() override {
        server.On("*IDN?", kWenxIdentity);
        server.On("MEAS:VOLT? (@101)", "+1.23450000E+00\n");
        Library("gpib0", "Type", "GPIB");
        Library("gpib0", "Device9", Endpoint());
        Library("gpib0", "Device12", "127.0.0.1:" + std::to_string(ClosedPort()));
        Library("lan", "Type", "LAN");
    }

    std::string Endpoint() const { return "127.0.0.1:" + std::to_string(server.Port()); }
    std::string LanAddress(int bus) const {
        return "lan[" + Endpoint() + "]:gpib," + std::to_string(bus);
    }
    static void Library(const std::string& section, const std::string& key,
                        const std::string& value) {
        WritePrivateProfileString(section, key, value, "wenx32.ini");
    }
    static void Linkwell(const std::string& section, const std::string& key,
                         const std::string& value) {
        WritePrivateProfileString(section, key, value, "linkwell.ini");
    }
    static std::pair<int32_t, std::string> LastError(CCommInterface& t) {
        std::string text;
        int32_t code = 0;
        t.GetLastError(text, code);
        return {code, text};
    }
};

TEST_F(WenxTest, ControlOpensQueriesAndClosesInBothForms) {
    const struct {
        const char* name;
        std::string address;
        bool lan;
        int16_t exclusive; // keeps the library session open between operations
    } cases[] = {{"WENX", "gpib0,9", false, 0},
                 {"WENXLAN", LanAddress(9), true, 0},
                 {"WENX", "gpib0,9", false, 1}};
    for (const auto& c : cases) {
        CCommCtrl ctrl;
        ASSERT_TRUE(ctrl.OpenInterface(c.name, c.address, c.exclusive)) << c.name;
        auto* transport = dynamic_cast<CWenxInterface*>(ctrl.Transport());
        ASSERT_NE(transport, nullptr);
        EXPECT_EQ(transport->IsLan(), c.lan);
        EXPECT_EQ(transport->GetExclusive(), c.exclusive);
        if (c.lan) {
            ASSERT_TRUE(ctrl.PutLanTimeout(300));
            int32_t ms = 0;
            ASSERT_TRUE(ctrl.GetLanTimeout(ms));
            EXPECT_EQ(ms, 300);
        }
        EXPECT_EQ(ctrl.IdentityLine(),
                  std::string(kModel) + "\t" + c.address + "\tORVANTA,QT7100,0,1.2");
        EXPECT_EQ(ctrl.SendQuery("MEAS:VOLT? (@101)"), "+1.23450000E+00");

        // The serial poll tells whether an answer waits.
        EXPECT_EQ(ctrl.IsMsgAvailable(), 0);
        const std::size_t replies = server.Replies();
        ASSERT_TRUE(ctrl.SendMsg("*IDN?"));
        server.WaitForReplies(replies + 1);
        EXPECT_EQ(ctrl.IsMsgAvailable(), 1);
        EXPECT_EQ(ctrl.RecvMsg(), "ORVANTA,QT7100,0,1.2");
        EXPECT_EQ(ctrl.IsMsgAvailable(), 0);

        EXPECT_TRUE(ctrl.GoToLocal());
        EXPECT_TRUE(ctrl.Close());
        EXPECT_FALSE(ctrl.IsValidInterface());
    }
    const std::vector<std::string> once{"*IDN?", "MEAS:VOLT? (@101)", "*IDN?"};
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i)
        expected.insert(expected.end(), once.begin(), once.end());
    EXPECT_EQ(server.Received(), expected);
}

TEST_F(WenxTest, FactoryMakesTheTransportInItsTwoForms) {
    for (int32_t type : {1, 4, 5}) {
        auto t = CreateTransportByType(type);
        auto* wenx = dynamic_cast<CWenxInterface*>(t.get());
        ASSERT_NE(wenx, nullptr) << type;
        EXPECT_EQ(wenx->IsLan(), type == 5);
        EXPECT_TRUE(wenx->IsKind(kKindWenx) && wenx->HasKind(kKindWenx));
        EXPECT_FALSE(wenx->IsKind(kKindRs232));
        EXPECT_FALSE(wenx->IsLibraryLoaded()); // only Initialize loads it
    }
}

TEST_F(WenxTest, OpenFailsOnAnAddressWithoutAnInstrument) {
    for (const char* address : {"gpib0,12", "gpib0,4", "gpib7,9", "lan,9"}) {
        CWenxInterface t(0);
        EXPECT_FALSE(t.Open(address)) << address;
        EXPECT_FALSE(t.IsOpen());
        EXPECT_EQ(LastError(t).second, LoadResString(IDS_BAD_ADDRESS)) << address;
    }
}

TEST_F(WenxTest, ReadEndsAtTheLineFeedTheFullBufferOrTheTimeOut) {
    server.On("LONG?", "ABCDEFGHIJ\n");
    server.On("PART?", "NOEND");
    const struct {
        const char* query;
        int32_t size;
        bool ok;
        int32_t count;
        const char* text;
    } cases[] = {
        {"MEAS:VOLT? (@101)", 100, true, 16, "+1.23450000E+00"},
        // A full buffer gives up its last byte to the terminator.
        {"LONG?", 8, true, 8, "ABCDEFG"},
        {"PART?", 100, false, 5, "NOEND"},
    };
    CWenxInterface t(0);
    ASSERT_TRUE(t.Open("gpib0,9"));
    ASSERT_TRUE(t.SetCommTimeout(100));
    for (const auto& c : cases) {
        ASSERT_TRUE(t.Send(c.query));
        std::string buffer(static_cast<std::size_t>(c.size), 'x');
        int32_t count = -1;
        EXPECT_EQ(t.Read(buffer.data(), c.size, count), c.ok) << c.query;
        EXPECT_EQ(count, c.count) << c.query;
        EXPECT_STREQ(buffer.c_str(), c.text) << c.query;
        t.Clear(); // drops what the full buffer left
    }
}

TEST_F(WenxTest, AnUnansweredQueryTimesOutWithTheLibrarysError) {
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("WENX", "gpib0,9", 0));
    ASSERT_TRUE(ctrl.PutCommTimeout(50));
    int32_t ms = 0;
    ASSERT_TRUE(ctrl.GetCommTimeout(ms));
    EXPECT_EQ(ms, 50);
    EXPECT_EQ(ctrl.SendQuery("SILENT?"), std::nullopt);
    std::string text;
    int32_t code = 0;
    ASSERT_TRUE(ctrl.GetCommError(text, code));
    EXPECT_EQ(code, kWenxErrorTimeout);
    EXPECT_EQ(text, "Timeout occurred");
    // The link still works afterwards.
    EXPECT_EQ(ctrl.SendQuery("*IDN?"), "ORVANTA,QT7100,0,1.2");
}

TEST_F(WenxTest, SearchFindsTheOneInstrumentAmongTheAddresses) {
    CWenxInterface t(0);
    ASSERT_TRUE(t.Initialize());
    EXPECT_EQ(t.GpibControllers(), std::vector<std::string>{"gpib0"});
    EXPECT_EQ(t.LanControllers(), std::vector<std::string>{"lan"});
    uint32_t mask = 0;
    EXPECT_TRUE(t.GetListenerMask("gpib0", mask));
    EXPECT_EQ(mask, 1u << 9);

    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    ASSERT_EQ(lines,
              std::vector<std::string>{std::string(kModel) + "\tgpib0,9\tORVANTA,QT7100,0,1.2"});
    EXPECT_EQ(t.FoundAddress(9), "gpib0,9");
    EXPECT_EQ(t.FoundAddress(12), "");

    // The pattern filters the replies.
    lines.clear();
    EXPECT_TRUE(t.Search(lines, "KX7200", 0));
    EXPECT_TRUE(lines.empty());

    // The open-any search of the control finds it too.
    CCommCtrl ctrl;
    ASSERT_TRUE(ctrl.OpenInterface("any", "KXQT7100", 0));
    EXPECT_EQ(ctrl.ControllerName(), "gpib0");
    EXPECT_EQ(ctrl.Address(), 9);
    EXPECT_EQ(ctrl.SendQuery("MEAS:VOLT? (@101)"), "+1.23450000E+00");
}

TEST_F(WenxTest, ExcludedAddressesAreNeitherSearchedNorOpened) {
    Linkwell("gpib0", "Exclude", std::to_string(0x7FFFFFFF & ~(1 << 9)));
    CWenxInterface t(0);
    ASSERT_TRUE(t.Initialize());
    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(t.IsExcluded(9));
    EXPECT_FALSE(t.IsExcluded(8));

    // Open itself does not look at the exclusions, the operations do, and fail
    // without an error of their own.
    Linkwell("gpib0", "Exclude", "0");
    ASSERT_TRUE(t.Open("gpib0,9"));
    EXPECT_FALSE(t.Send("*IDN?"));
    EXPECT_EQ(LastError(t).first, 0);
    EXPECT_EQ(t.IsMsgAvailable(), -1);
}

TEST_F(WenxTest, LanSearchNeedsTheGatewayAddress) {
    Library("lan", "Device9", std::to_string(server.Port()));
    CWenxInterface t(1);
    ASSERT_TRUE(t.Initialize());
    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text,
              "You must change the hostname/IP address before searching for instruments.\n\n"
              "Select 'Change Settings' to make changes.");

    // An unreachable gateway is reported as such.
    const std::string closed = "127.0.0.1:" + std::to_string(ClosedPort());
    Linkwell("lan", "IPAddress", closed);
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, "Timeout trying to connect to LAN/GPIB Gateway at\n\n\tlan[" +
                                          closed +
                                          "]:gpib\n\nSelect 'Change Interface Settings' and "
                                          "change IP address.");
    EXPECT_EQ(LastError(t).first, IDS_NO_CONTROLLER_SESSION);

    Linkwell("lan", "IPAddress", Endpoint());
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_EQ(lines, std::vector<std::string>{std::string(kModel) + "\t" + LanAddress(9) +
                                              "\tORVANTA,QT7100,0,1.2"});
}

TEST_F(WenxTest, WithoutControllersSearchAndSettingsSaySo) {
    DeletePrivateProfileSection("gpib0", "wenx32.ini");
    DeletePrivateProfileSection("lan", "wenx32.ini");
    CWenxInterface t(0);
    EXPECT_TRUE(t.Initialize());  // the library binds
    EXPECT_FALSE(t.Initialize()); // but there is nothing to talk to
    EXPECT_EQ(LastError(t).first, IDS_NO_WENX_DLL);
    std::vector<std::string> lines;
    EXPECT_TRUE(t.Search(lines, nullptr, 0));
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(t.EditSettings());
    ASSERT_EQ(prompter.asked.size(), 2u);
    for (const auto& box : prompter.asked)
        EXPECT_EQ(box.text, LoadResString(IDS_NO_CONTROLLERS));
}

TEST_F(WenxTest, SettingsDialogKeepsTheMasksOfTheFirstFourControllersOnly) {
    for (const char* name : {"gpib1", "gpib2", "gpib3", "gpib4"})
        Library(name, "Type", "GPIB");
    WritePrivateProfileString("gpib4", "Exclude", "7", "linkwell.ini");
    CWenxInterface t(0);
    ASSERT_TRUE(t.Initialize());
    ScriptedSettingsDialog dialog;
    ScopedService<IWenxSettingsDialog> dialogGuard{SetWenxSettingsDialog, &dialog};
    dialog.accept = false;
    EXPECT_FALSE(t.EditSettings());
    ASSERT_EQ(dialog.shown.controllers.size(), 4u);
    ASSERT_EQ(dialog.shown.moreControllers.size(), 1u); // offered, not stored
    for (const auto& c : dialog.shown.controllers)
        EXPECT_NE(c.name, dialog.shown.moreControllers[0]);
}

TEST_F(WenxTest, SettingsDialogEditsTheExclusionsAndTheGateway) {
    CWenxInterface t(1);
    ASSERT_TRUE(t.Initialize());
    EXPECT_FALSE(t.EditSettings()); // no dialog installed
    EXPECT_EQ(prompter.asked.back().text, LoadResString(IDS_WENX_DIALOG_NOT_AVAILABLE));

    ScriptedSettingsDialog dialog;
    SetWenxSettingsDialog(&dialog);
    dialog.answer = {true, {{"lan", 5}}, "10.1.2.3", "hpib", {}};
    dialog.accept = false;
    EXPECT_FALSE(t.EditSettings());
    EXPECT_TRUE(dialog.shown.lan);
    ASSERT_EQ(dialog.shown.controllers.size(), 1u);
    EXPECT_EQ(dialog.shown.controllers[0].exclude, 0x7FFFFFFF);
    EXPECT_EQ(dialog.shown.ipAddress, "0.0.0.0");
    EXPECT_EQ(dialog.shown.gatewayName, "gpib");

    dialog.accept = true;
    EXPECT_TRUE(t.EditSettings());
    SetWenxSettingsDialog(nullptr);
    EXPECT_EQ(t.IpAddress(), "10.1.2.3");
    EXPECT_EQ(t.GatewayName(), "hpib");
    EXPECT_EQ(GetPrivateProfileString("lan", "Exclude", "", "linkwell.ini"), "5");
    EXPECT_EQ(GetPrivateProfileString("lan", "IPAddress", "", "linkwell.ini"), "10.1.2.3");
    EXPECT_EQ(GetPrivateProfileString("lan", "GatewayName", "", "linkwell.ini"), "hpib");
}

TEST_F(WenxTest, AMissingLibraryOrEntryPointLeavesTheTransportUnusable) {
    const struct {
        const char* library;
        int32_t code;
    } cases[] = {{"wenx_absent.so", IDS_NO_WENX_DLL}, {"wenx_partial.so", IDS_NO_DLL_FUNCTIONS}};
    for (const auto& c : cases) {
        CWenxInterface t(0, c.library);
        EXPECT_FALSE(t.Initialize()) << c.library;
        EXPECT_FALSE(t.IsLibraryLoaded());
        EXPECT_EQ(LastError(t).first, c.code) << c.library;
        EXPECT_FALSE(t.Transfer(0, 0, 0, 0));
        EXPECT_EQ(LastError(t).second, "Wenx library not loaded");
        EXPECT_FALSE(t.Send("*IDN?"));
        EXPECT_EQ(LastError(t).first, IDS_WENX_NOT_LOADED);

        ScopedTransportCreator creator(
            4, [&c](int32_t) { return std::make_unique<CWenxInterface>(0, c.library); });
        CCommCtrl ctrl;
        EXPECT_FALSE(ctrl.OpenInterface("WENX", "gpib0,9", 0));
        std::string text;
        int32_t code = 0;
        ASSERT_TRUE(ctrl.GetCommError(text, code));
        EXPECT_EQ(code, IDS_BAD_ADDRESS);
    }
    // The remote call alone may be missing.
    CWenxInterface t(0, "wenx_noremote.so");
    EXPECT_TRUE(t.Initialize());
    EXPECT_TRUE(t.IsLibraryLoaded());
    EXPECT_TRUE(t.GoToRemote());
}

} // namespace
} // namespace tvane::comm
