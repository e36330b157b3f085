#include "comm/CSimInterface.h"
#include "comm/InterfaceTypes.h"
#include "comm/ScriptedTransport.h"
#include "comm/TransportFactory.h"
#include "platform/profile/Profile.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tvane::comm {
namespace {

using ::tvane::test::TempHomeTest;

TEST(InterfaceTypes, NameToTypeTakesTheFirstWordFound) {
    const struct {
        const char* name;
        int type;
    } cases[] = {{"wenxlan", 5},   {"my wenxlan gateway", 5},
                 {"wenx", 4},      {"WENX", 4},
                 {"GPIB", 2},      {"gpib0", 2},
                 {"RS232", 3},     {"RS-232", -1},
                 {"Simulated", 0}, {"MODEM", 6},
                 {"", -1},         {"any", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(NameToType(c.name), c.type) << c.name;
}

TEST(InterfaceTypes, NamesAndDisplayNames) {
    EXPECT_EQ(TypeToName(0), "SIMULATED");
    EXPECT_EQ(TypeToName(1), "UNKNOWN");
    EXPECT_EQ(TypeToName(4), "WENX");
    EXPECT_EQ(TypeToName(5), "WENXLAN");
    EXPECT_EQ(TypeToName(7), "UNKNOWN");
    EXPECT_EQ(TypeToName(-1), "UNKNOWN");
    EXPECT_EQ(TypeToDisplayName(-1), "Simulated");
    EXPECT_EQ(TypeToDisplayName(5), "LAN/GPIB Gateway");
    EXPECT_EQ(TypeToDisplayName(1), "");
}

class TransportTest : public TempHomeTest {};

TEST_F(TransportTest, MakingATransportWritesConnectSpeedAndReadsTheIdentityQuery) {
    WritePrivateProfileString("Settings", "DefIDString", std::string(30, 'Q'), "linkwell.ini");
    const std::unique_ptr<CCommInterface> made = CreateTransportByType(kTypeSimulated);
    ASSERT_NE(made, nullptr);
    CCommInterface& sim = *made;
    EXPECT_EQ(GetPrivateProfileString("Settings", "ConnectSpeed", "", "linkwell.ini"), "115200");
    EXPECT_EQ(sim.IdentityQuery(), std::string(24, 'Q'));
    EXPECT_EQ(sim.GetCommTimeout(), 3000);
    EXPECT_EQ(sim.GetPollTimeout(), 10);
    EXPECT_EQ(sim.GetLanTimeout(), 15000);
    int32_t code = -5;
    EXPECT_EQ(sim.GetErrorCode(code), "No Error");
    EXPECT_EQ(code, 0);
}

TEST_F(TransportTest, ParseIdentity) {
    CSimInterface sim; // only for the base parser
    const struct {
        const char* reply;
        bool ok;
        const char* model; // the rewritten reply
        const char* description;
    } cases[] = {
        {"ORVANTA,QT7100,123,1.0", true, "OrvantaQT7100", "ORVANTA,QT7100,123,1.0"},
        {"BRANNOCK,QT5500,1,2", true, "KXQT5500", "BRANNOCK,QT5500,1,2"},
        {"ACME,K2000,1,2", true, "K2000", "ACME,K2000,1,2"},
        {"KEY,M100,1,2", true, "KEY", "KEY,M100,1,2"},
        {"NOCOMMA", false, "NOCOMMA", "Invalid"},
        {"ACME,M100,1,2", false, "ACME,M100,1,2", "ACME,M100,1,2"},
        {"?ACME,M100,1,2", false, "?ACME,M100,1,2", "Unknown device"},
        {"orvanta,QT7100,1,2", false, "orvanta,QT7100,1,2", "orvanta,QT7100,1,2"},
    };
    for (const auto& c : cases) {
        std::string reply = c.reply, description;
        EXPECT_EQ(sim.CCommInterface::ParseIdentity(reply, description), c.ok) << c.reply;
        EXPECT_EQ(reply, c.model) << c.reply;
        EXPECT_EQ(description, c.description) << c.reply;
    }
}

TEST_F(TransportTest, MatchesFilter) {
    CSimInterface sim;
    const struct {
        const char* text;
        const char* pattern;
        bool match;
    } cases[] = {
        {"anything", nullptr, true},
        {"anything", "*", true},
        {"x\tsimulated", "QT9", true},
        {"OrvantaQT7100\tGPIB0,9\tORVANTA,QT7100,1,2", "KXQT7100", true},
        {"OrvantaQT5500\tGPIB0,9\tORVANTA,QT5500,1,2", "KXQT7100", false},
        {"GPIB0,9", "2*", false},
        {"GPIB0,9", "9*", true},
        {"GPIB0,12", "1*", false},
        {"GPIB0,9", "X*", true}, // no digits: any text with a comma
        {"GPIB0", "X*", false},
        {"OrvantaQT7100", "QT5500, QT7100", true},                      // second token
        {"OrvantaQT7500", "11,12,13,14,15,16,17,18,19,20,7500", false}, // 10 tokens count
    };
    for (const auto& c : cases)
        EXPECT_EQ(sim.CCommInterface::MatchesFilter(c.text, c.pattern), c.match)
            << c.text << " / " << (c.pattern ? c.pattern : "(null)");
}

TEST_F(TransportTest, SimulatedTransportAnswersWithoutAnyDevice) {
    CSimInterface sim;
    EXPECT_TRUE(sim.IsKind(1));
    EXPECT_FALSE(sim.HasKind(5));
    EXPECT_TRUE(sim.Initialize());
    EXPECT_FALSE(sim.IsOpen());
    EXPECT_TRUE(sim.Open(std::string(250, 'a').c_str()));
    EXPECT_TRUE(sim.IsOpen());
    EXPECT_EQ(sim.GetAddress(), std::string(199, 'a'));
    EXPECT_TRUE(sim.Send("*RST"));

    // The read succeeds with one byte counted and leaves an empty text, never the
    // caller's stale bytes.
    char buffer[16];
    std::memset(buffer, 'z', sizeof buffer);
    int32_t count = 0;
    EXPECT_TRUE(sim.Read(buffer, sizeof buffer, count));
    EXPECT_EQ(count, 1);
    EXPECT_STREQ(buffer, "");

    std::string line;
    ASSERT_TRUE(sim.FormatSearchLine(line));
    EXPECT_EQ(line, "Simulated\t" + std::string(199, 'a') + "\tSimulated");

    std::vector<std::string> results;
    EXPECT_FALSE(sim.Search(results, nullptr, 0));
    EXPECT_TRUE(sim.Search(results, "X1,Y2", 0));
    EXPECT_EQ(results, (std::vector<std::string>{"Orvanta1\tSimulated\tThis device is simulated",
                                                 "Orvanta2\tSimulated\tThis device is simulated"}));
    EXPECT_EQ(sim.IsMsgAvailable(), 1);
    EXPECT_TRUE(sim.Close());
    EXPECT_TRUE(sim.IsOpen()); // the simulated close leaves the flag
}

TEST_F(TransportTest, FormatSearchLineCutsAFullBufferReply) {
    auto script = std::make_shared<ScriptedTransport::Script>();
    script->On("*IDN?", {ScriptedTransport::Step::Raw("ORVANTA,QT7100," + std::string(200, '9'))});
    ScriptedTransport t(script);
    ASSERT_TRUE(t.Open("GPIB0,9"));
    std::string line;
    ASSERT_TRUE(t.FormatSearchLine(line));
    const std::string reply = "ORVANTA,QT7100," + std::string(184, '9'); // 199 characters
    EXPECT_EQ(line, "OrvantaQT7100\tGPIB0,9\t" + reply);
}

TEST_F(TransportTest, FormatSearchLineFailsOnSilenceAndOnAnUnknownDevice) {
    auto script = std::make_shared<ScriptedTransport::Script>();
    ScriptedTransport t(script);
    std::string line = "old";
    EXPECT_FALSE(t.FormatSearchLine(line)); // time-out
    EXPECT_EQ(line, "");
    script->On("*IDN?", "ACME,M100,1,2");
    EXPECT_FALSE(t.FormatSearchLine(line));
    EXPECT_EQ(line, "");
}

TEST(TerminateAnswer, AlwaysLeavesATerminatedTextWithinTheBuffer) {
    const struct {
        const char* bytes;
        int32_t size;
        int32_t count;
        const char* text;
        int32_t countAfter;
    } cases[] = {
        {"ABC\n", 8, 4, "ABC", 4}, {"ABC\r\n", 8, 5, "ABC", 5}, {"ABC", 8, 3, "ABC", 3},
        {"ABCD", 4, 4, "ABC", 4},  {"ABC\n", 4, 4, "ABC", 4},   {"", 4, 0, "", 0},
        {"ABCD", 4, 9, "ABC", 4},  {"AB", 4, -3, "", 0},
    };
    for (const auto& c : cases) {
        char buffer[16];
        std::memset(buffer, 'z', sizeof buffer);
        std::memcpy(buffer, c.bytes, std::strlen(c.bytes));
        int32_t count = c.count;
        CCommInterface::TerminateAnswer(buffer, c.size, count);
        EXPECT_STREQ(buffer, c.text) << c.bytes;
        EXPECT_EQ(count, c.countAfter) << c.bytes;
        EXPECT_EQ(buffer[c.size], 'z') << c.bytes; // nothing written past the size
    }
}

TEST_F(TransportTest, FactoryMakesTheSimulatedTransportAndTakesReplacements) {
    auto sim = CreateTransport("Simulated");
    ASSERT_TRUE(sim);
    EXPECT_TRUE(sim->IsType(0));
    EXPECT_FALSE(CreateTransport("bogus"));
    EXPECT_FALSE(CreateTransportByType(7));
    {
        auto script = std::make_shared<ScriptedTransport::Script>();
        ScopedTransportCreator scripted(4, [script](int32_t type) {
            return std::make_unique<ScriptedTransport>(script, type);
        });
        auto t = CreateTransport("wenx");
        ASSERT_TRUE(t);
        EXPECT_TRUE(t->IsType(4));
        ScopedTransportCreator failing(
            3, [](int32_t) -> std::unique_ptr<CCommInterface> { throw std::bad_alloc(); });
        EXPECT_FALSE(CreateTransportByType(3));
    }
    // Leaving the scope puts the type's own transport back.
    auto restored = CreateTransportByType(4);
    ASSERT_TRUE(restored);
    EXPECT_TRUE(restored->IsKind(kKindWenx));
    EXPECT_FALSE(CreateTransportByType(7));
}

} // namespace
} // namespace tvane::comm
