#include "DriverFixture.h"

namespace tvane::driver::test {
namespace {

using Sent = std::vector<std::string>;
using Transcript = ScriptedLink::Transcript;

class Sequence : public DriverTest {};

TEST_F(Sequence, MeasurementSequenceTranscript) {
    ASSERT_TRUE(drv->DownloadChannelConfig(Channel(0, 102, 18)) == false); // unknown function
    link.transcript.clear();
    drv->ClearScanList();
    CChannelConfig a = Channel(0, 101, 0), b = Channel(0, 102, 0), off = Channel(0, 103, 0, false);
    for (auto* c : {&a, &b, &off})
        ASSERT_TRUE(drv->DownloadChannelConfig(*c));
    link.transcript.clear();

    link.On("STAT:OPER:COND?", "+16");
    link.On("DATA:POIN?", "+2");
    const std::string block = Block(Reading(1, 1, 101, 0) + "," + Reading(2, 1, 102, 0));
    link.On("R? 2", block);
    ASSERT_TRUE(drv->InitInstrument());
    ASSERT_TRUE(drv->SetReadingFormat(true, true, true, true, false));
    ASSERT_TRUE(drv->SetScanCount(10));
    ASSERT_TRUE(drv->SetScanInterval(0.5));
    ASSERT_TRUE(drv->SetTriggerSource("imm"));
    ASSERT_TRUE(drv->StartMeasurement());
    ASSERT_TRUE(drv->InitMeasurement(2));
    ReadingRecord records[2];
    std::int32_t count = 0;
    ASSERT_TRUE(drv->GetReadings(records, 2, &count));
    EXPECT_EQ(count, 2);
    bool scanning = false;
    ASSERT_TRUE(drv->IsInstrumentScanning(&scanning));
    EXPECT_TRUE(scanning);
    std::int32_t points = 0;
    ASSERT_TRUE(drv->GetReadingsCount(&points));
    EXPECT_EQ(points, 2);
    ASSERT_TRUE(drv->StopMeasurement());

    EXPECT_EQ(link.transcript, (Transcript{
                                   {"*CLS", ""},
                                   {"*ESE 1", ""},
                                   {"*SRE 48", ""},
                                   {"ROUT:SCAN (@101,102,)", ""},
                                   {"FORM:READ:ALAR 1", ""},
                                   {"FORM:READ:CHAN 1", ""},
                                   {"FORM:READ:TIME 1", ""},
                                   {"FORM:READ:TIME:TYPE REL", ""},
                                   {"FORM:READ:UNIT 0", ""},
                                   {"TRIG:COUN 10", ""},
                                   {"TRIG:TIMER 0.500000", ""},
                                   {"TRIG:SOUR IMM", ""},
                                   {"INIT", ""},
                                   {"R? 2", block},
                                   {"STAT:OPER:COND?", "+16"},
                                   {"DATA:POIN?", "+2"},
                                   {"ABORT", ""},
                               }));
    EXPECT_EQ(drv->LowestConfigured(), 101);
    EXPECT_EQ(drv->HighestConfigured(), 102);
    EXPECT_EQ(drv->ChannelArray(), (std::vector<std::int16_t>{101, 102, 103}));
}

TEST_F(Sequence, TriggerSourcesAndCounts) {
    EXPECT_FALSE(drv->SetTriggerSource("SOFT"));
    std::string text;
    std::int32_t code = 0;
    EXPECT_TRUE(drv->GetLastError(text, code));
    EXPECT_EQ(code, 1004);
    EXPECT_EQ(text, "Invalid trigger source specified\n.Allowable values BUS,IMM,EXT,orTIM.");
    EXPECT_TRUE(drv->SetTriggerSource("alarm2"));

    link.On("TRIG:COUN?", "+9.90000000E+37");
    EXPECT_TRUE(drv->SetScanCount(0));
    std::int32_t count = 0;
    EXPECT_TRUE(drv->GetScanCount(&count));
    EXPECT_EQ(count, -1);
    link.On("TRIG:COUN?", "+1.20000000E+01");
    EXPECT_TRUE(drv->GetScanCount(&count));
    EXPECT_EQ(count, 12);
    EXPECT_EQ(link.Sent(), (Sent{"TRIG:SOUR ALARM2", "TRIG:COUN INF", "TRIG:COUN?", "TRIG:COUN?"}));
}

TEST_F(Sequence, ScanningStateFromTheStatusAnswer) {
    struct Case {
        const char* answer;
        bool scanning;
    } cases[] = {{"+16", true}, {"+0", false}, {"+272", true}, {"+256", false}, {"+1234567", true}};
    for (const Case& c : cases) {
        link.On("STAT:OPER:COND?", c.answer);
        bool scanning = !c.scanning;
        EXPECT_TRUE(drv->IsInstrumentScanning(&scanning)) << c.answer;
        EXPECT_EQ(scanning, c.scanning) << c.answer;
    }
    link.answers.erase("STAT:OPER:COND?");
    bool scanning = false;
    EXPECT_FALSE(drv->IsInstrumentScanning(&scanning));
    EXPECT_TRUE(scanning);
}

TEST_F(Sequence, ErrorStateAndLastErrorPrecedence) {
    std::string text;
    std::int32_t code = -1;
    // A driver error without a control error: the driver's, cleared by the call.
    drv->SetError(1005);
    EXPECT_TRUE(drv->GetLastError(text, code));
    EXPECT_EQ(code, 1005);
    EXPECT_EQ(text, "Size specified exceeds limit of 8400 bytes. ");
    EXPECT_TRUE(drv->GetLastError(text, code));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(text, "No Error");

    // The control's error wins; the driver's is cleared all the same.
    drv->SetError(1007);
    link.commError = 1052;
    link.commErrorText = "time-out";
    EXPECT_TRUE(drv->GetLastError(text, code));
    EXPECT_EQ(code, 1052);
    EXPECT_EQ(text, "time-out");
    link.commError = 0;
    drv->GetLastError(text, code);
    EXPECT_EQ(code, 0);

    drv->SetError(1016, "Error occurred downloading channel 101");
    EXPECT_EQ(drv->ErrorText(), "Error occurred downloading channel 101");
    drv->SetError(1000);
    EXPECT_EQ(drv->ErrorCode(), 0);
    EXPECT_EQ(drv->ErrorText(), "No Error");
}

TEST_F(Sequence, InstrumentErrorAndScanList) {
    link.On("SYST:ERR?", "-113,\"Undefined header\"");
    std::int16_t code = 0;
    bool has = false;
    EXPECT_EQ(drv->GetInstrumentError(&code, &has), "Undefined header");
    EXPECT_EQ(code, -113);
    EXPECT_TRUE(has);
    link.On("SYST:ERR?", "+0,\"No error\"");
    EXPECT_EQ(drv->GetInstrumentError(&code, &has), "No error");
    EXPECT_EQ(code, 0);
    // The data is taken by its declared length, bounded by what came.
    link.On("ROUT:SCAN?", "#210(@101,104)");
    EXPECT_EQ(drv->GetScanList(), "(@101,104)");
    link.On("ROUT:SCAN?", "#3999(@101)");
    EXPECT_EQ(drv->GetScanList(), "(@101)");
    link.On("OUTP:ALAR2:SOUR?", "(@101)");
    EXPECT_EQ(drv->GetAlarmList(2), "(@101)");
}

TEST_F(Sequence, LogFileRespectsItsSettings) {
    DriverSettings s;
    s.logErrors = 1;
    s.logFile = "run.log";
    MakeDriver(s);
    link.Queue("X");
    link.Queue("Y12345678901234567890123456789012345678901234567890");
    drv->InitMeasurement(1);
    ReadingRecord r[1];
    std::int32_t n = 0;
    drv->GetReadings(r, 1, &n);
    drv->InitMeasurement(1);
    drv->GetReadings(r, 1, &n);
    std::string log = tvane::test::ReadFile(home.Data() / "run.log");
    EXPECT_EQ(log.rfind("Kxqt7100 Instrument Driver Log File\nThe current date and time are: ", 0),
              0u);
    EXPECT_NE(log.find("-------- CKXQT7100::GetReadings function start -------\n\n"),
              std::string::npos);
    EXPECT_NE(log.find("Invalid header in detected.  Definite block missing '#' character.\nY123"),
              std::string::npos);

    drv->WriteLog(std::string(98, 'a'));
    drv->WriteLog(std::string(99, 'b'));
    log = tvane::test::ReadFile(home.Data() / "run.log");
    EXPECT_NE(log.find(std::string(98, 'a') + "\n"), std::string::npos);
    EXPECT_EQ(log.find('b' + std::string(98, 'b')), std::string::npos);
    s.logErrors = 0;
    MakeDriver(s);
    drv->WriteLog("quiet");
    EXPECT_EQ(tvane::test::ReadFile(home.Data() / "run.log").find("quiet"), std::string::npos);
}

} // namespace
} // namespace tvane::driver::test
