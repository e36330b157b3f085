#include "platform/tapi/TapiConstants.h"
#include "platform/tapi/TapiDiagnostics.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tvane::tapi {
namespace {

// Collects what the diagnostics write.
class DebugOutput {
public:
    DebugOutput() {
        m_previous = SetDebugSink([this](const std::string& text) { lines.push_back(text); });
    }
    ~DebugOutput() { SetDebugSink(std::move(m_previous)); }
    std::vector<std::string> lines;

private:
    DebugSink m_previous;
};

TEST(TapiDiagnostics, LineErrorsAreNamedAndUnknownCodesSaySo) {
    const struct {
        std::int32_t code;
        const char* name;
    } cases[] = {
        {LINEERR_ALLOCATED, "LINEERR_ALLOCATED"},
        {LINEERR_OPERATIONUNAVAIL, "LINEERR_OPERATIONUNAVAIL"},
        {LINEERR_NOMULTIPLEINSTANCE, "LINEERR_NOMULTIPLEINSTANCE"},
        {LineErr(0x04), ""}, // a code the standard leaves out
        {LineErr(87), "Unknown TAPI line error code: 0x80000057"},
        {static_cast<std::int32_t>(0xFFFFFFFFu), "Unknown TAPI line error code: 0xffffffff"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLineError(c.code), c.name) << c.code;

    char buffer[10];
    EXPECT_EQ(FormatLineError(LINEERR_ALLOCATED, buffer, sizeof buffer), 9u);
    EXPECT_STREQ(buffer, "LINEERR_A");
    EXPECT_EQ(FormatLineError(LINEERR_ALLOCATED, buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
}

TEST(TapiDiagnostics, DebugLinesCarryTheirPrefixFileAndLine) {
    DebugOutput out;
    OutputDebugLineError(LINEERR_NODEVICE, "lineInitialize: ", "Modem.cpp", 42);
    OutputDebugLineError(LINEERR_NODEVICE, nullptr);
    OutputDebugLastError(ENOENT, "open: ", "Port.cpp", 7);
    OutputDebugLastError(EACCES, nullptr);
    OutputDebugPrintf("Dialing %s", "5550100");
    OutputDebugPrintf("Tapi initialized.\n");
    OutputDebugPrintf("%d%%", 5);
    const std::vector<std::string> expected{
        "lineInitialize: Tapi Line Error: \"LINEERR_NODEVICE\" in File \"Modem.cpp\", Line 42\r\n",
        "Tapi Line Error: \"LINEERR_NODEVICE\"\r\n",
        std::string("open: GetLastError returned: \"") + std::strerror(ENOENT) +
            "\" in File \"Port.cpp\", Line 7\r\n",
        std::string("GetLastError returned: \"") + std::strerror(EACCES) + "\"\r\n",
        "Dialing 5550100\r\n",
        "Tapi initialized.\n",
        "5%\r\n",
    };
    EXPECT_EQ(out.lines, expected);
}

TEST(TapiDiagnostics, FlagsNameTheirBitsAndCountTheRest) {
    constexpr const char* names[] = {"Unknown THING", "", "THING_B", "THING_C"};
    const struct {
        std::uint32_t flags;
        const char* text;
    } cases[] = {
        {0, "Unknown THING"},
        {0x2, "THING_B"},
        {0x6, "THING_B, THING_C"},
        {0x1, "Unknown flags '0x1'"}, // bit 0 has no name
        {0x16, "THING_B, THING_C, Unknown flags '0x10'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFlags(c.flags, names), c.text) << c.flags;
}

TEST(TapiDiagnostics, CallbackLinesDescribeEachMessage) {
    const struct {
        std::uint32_t message, device;
        std::uintptr_t p1, p2, p3;
        const char* text;
    } cases[] = {
        {LINE_CALLSTATE, 0x12, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NODIALTONE, 0,
         "lineCallback: LINE_CALLSTATE; dwDevice: '0x12'; LINECALLSTATE_DISCONNECTED; "
         "LINEDISCONNECTMODE_NODIALTONE"},
        {LINE_CALLSTATE, 1, LINECALLSTATE_BUSY, LINEBUSYMODE_STATION, LINECALLPRIVILEGE_OWNER,
         "lineCallback: LINE_CALLSTATE; dwDevice: '0x1'; LINECALLSTATE_BUSY; "
         "LINEBUSYMODE_STATION; LINECALLPRIVILEGE_OWNER"},
        {LINE_CALLSTATE, 1, LINECALLSTATE_CONFERENCED, 0x77, 0,
         "lineCallback: LINE_CALLSTATE; dwDevice: '0x1'; LINECALLSTATE_CONFERENCED: Parent "
         "conference call handle: 0x77"},
        {LINE_REPLY, 0, 5, 0, 0,
         "lineCallback: LINE_REPLY; dwDevice: '0x0'; Request ID: 0x5; "
         "Successful reply!"},
        {LINE_REPLY, 0, 6, 0x80000048u, 0,
         "lineCallback: LINE_REPLY; dwDevice: '0x0'; Request ID: 0x6; UnSuccessful reply; "
         "LINEERR_OPERATIONFAILED"},
        {LINE_LINEDEVSTATE, 3, LINEDEVSTATE_RINGING, 1, 2,
         "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x3'; LINEDEVSTATE_RINGING; Ring Mode: "
         "0x1, Ring Count: 2"},
        {LINE_LINEDEVSTATE, 3, LINEDEVSTATE_REINIT, LINE_CREATE, 4,
         "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x3'; LINEDEVSTATE_REINIT; ReInit reason: "
         "LINE_CREATE, New Line Device ID '0x4'"},
        {LINE_LINEDEVSTATE, 3, LINEDEVSTATE_REINIT, LINE_LINEDEVSTATE, LINEDEVSTATE_OUTOFSERVICE,
         "lineCallback: LINE_LINEDEVSTATE; dwDevice: '0x3'; LINEDEVSTATE_REINIT; ReInit reason: "
         "LINE_LINEDEVSTATE, LINEDEVSTATE_OUTOFSERVICE"},
        {LINE_ADDRESSSTATE, 3, 0, 0x4, 0,
         "lineCallback: LINE_ADDRESSSTATE; dwDevice: '0x3'; Address ID: 0x0, Address State: "
         "LINEADDRESSSTATE_INUSEZERO"},
        {LINE_MONITORTONE, 3, 9, 0, 0,
         "lineCallback: LINE_MONITORTONE; dwDevice: '0x3'; AppSpecific tone '9'"},
        {LINE_MONITORDIGITS, 3, '7', 0x2, 0,
         "lineCallback: LINE_MONITORDIGITS; dwDevice: '0x3'; LINEDIGITMODE_DTMF, Received: '7'"},
        {LINE_CREATE, 0, 2, 0, 0,
         "lineCallback: LINE_CREATE; dwDevice: '0x0'; New Line Device "
         "ID '0x2'"},
        {LINE_CLOSE, 9, 1, 2, 3, "lineCallback: LINE_CLOSE; dwDevice: '0x9'; "},
        {PHONE_STATE, 9, 1, 2, 3,
         "lineCallback: PHONE_STATE; dwDevice: '0x9'; dwParam1: 0x1 , dwParam2: 0x2 , "
         "dwParam3: 0x3"},
        {40, 9, 1, 2, 3,
         "lineCallback: Unknown dwMsg: '0x28', dwDevice: '0x9', dwCallbackInstance: '0x5', "
         "dwParam1: '0x1', dwParam2: '0x2', dwParam3: '0x3'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatLineCallback(c.message, c.device, 5, c.p1, c.p2, c.p3),
                  std::string(c.text) + "\r\n");
    DebugOutput out;
    OutputDebugLineCallback(LINE_CREATE, 0, 0, 1, 0, 0);
    EXPECT_EQ(out.lines,
              std::vector<std::string>{
                  "lineCallback: LINE_CREATE; dwDevice: '0x0'; New Line Device ID '0x1'\r\n"});
}

} // namespace
} // namespace tvane::tapi
