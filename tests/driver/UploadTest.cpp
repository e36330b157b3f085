#include <functional>

#include "DriverFixture.h"
#include "driver/ModuleTable.h"

namespace tvane::driver::test {
namespace {

using Answers = std::vector<std::pair<std::string, std::string>>;
using Options = std::vector<CChannelSetting>;

class Upload : public DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        link.On("ROUT:SCAN?", "#210(@101,104)");
        ASSERT_TRUE(drv->ConfigureUpload());
        link.answers.clear();
        link.transcript.clear();
    }
    CChannelConfig Run(int channel, const char* module, const Answers& answers, bool ok = true) {
        link.answers.clear();
        for (const auto& [command, answer] : answers)
            link.On(command, answer);
        std::int32_t result = -1;
        CChannelConfig* c =
            drv->UploadChannelConfig(static_cast<std::int16_t>(channel), module, &result);
        EXPECT_EQ(result, ok ? 1 : 0);
        EXPECT_EQ(c, drv->StoredConfig(static_cast<std::int16_t>(channel)));
        return *c;
    }
};

// What every measuring channel of the multiplexer modules is asked after its
// function settings: scaling, limits and delay.
Answers UploadTail(int ch, bool delayAuto = false) {
    return {{Format("CALC:SCAL:STAT? (@%d)", ch), "0"},
            {Format("CALC:SCAL:GAIN? (@%d)", ch), "+1.00000000E+00"},
            {Format("CALC:SCAL:OFFS? (@%d)", ch), "+0.00000000E+00"},
            {Format("CALC:LIM:LOW? (@%d)", ch), "-1.00000000E+00"},
            {Format("CALC:LIM:UPP? (@%d)", ch), "+2.50000000E+00"},
            {Format("CALC:LIM:LOW:STAT? (@%d)", ch), "1"},
            {Format("CALC:LIM:UPP:STAT? (@%d)", ch), "1"},
            {Format("ROUT:CHAN:DEL:AUTO? (@%d)", ch), delayAuto ? "1" : "0"},
            {Format("ROUT:CHAN:DEL? (@%d)", ch), "+2.50000000E-01"}};
}

Answers Join(Answers a, const Answers& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Upload, DcVoltsInTheScanWithEveryQueryInOrder) {
    Answers answers = Join({{"SENS:FUNC? (@104)", "\"VOLT\""},
                            {"CALC:SCAL:UNIT? (@104)", "\"VDC\""},
                            {"SENS:VOLT:DC:RANG:AUTO? (@104)", "0"},
                            {"SENS:VOLT:DC:RANG? (@104)", "+1.00000000E+01"},
                            {"SENS:VOLT:DC:NPLC? (@104)", "+1.00000000E+00"},
                            {"INP:IMP:AUTO? (@104)", "1"}},
                           UploadTail(104));
    CChannelConfig c = Run(104, "ORVANTA,QT7101,0,1.0", answers);
    std::vector<std::string> asked;
    for (const auto& [command, answer] : answers)
        asked.push_back(command);
    EXPECT_EQ(link.Sent(), asked);
    EXPECT_EQ(c.InScanList, 1);
    EXPECT_EQ(c.ModuleType, 0);
    EXPECT_EQ(c.Channel, 104);
    EXPECT_EQ(c.Function, 0);
    EXPECT_EQ(c.Unit, "VDC");
    EXPECT_EQ(c.Range, "+1.00000000E+01");
    EXPECT_EQ(c.IntegrationCode, 3);
    EXPECT_EQ(c.Resolution, "1");
    EXPECT_EQ(c.Gain, "1");
    EXPECT_EQ(c.Offset, "0");
    EXPECT_EQ(c.LowLimit, "-1");
    EXPECT_EQ(c.HighLimit, "2.5");
    EXPECT_EQ(c.AlarmMode, 3);
    EXPECT_EQ(c.Options, (Options{{2, "1"}, {1, "ON"}, {512, "0.25"}}));
    EXPECT_EQ(drv->LowestConfigured(), 104);
}

TEST_F(Upload, FunctionFamiliesIntoChannelRecords) {
    // Not in the uploaded scan list (a plain text search).
    CChannelConfig ac = Run(105, "KXQT7102",
                            Join({{"SENS:FUNC? (@105)", "\"VOLT:AC\""},
                                  {"CALC:SCAL:UNIT? (@105)", "\"#AC\""},
                                  {"SENS:VOLT:AC:RANG:AUTO? (@105)", "1"},
                                  {"SENS:VOLT:AC:BAND? (@105)", "+2.00000000E+01"}},
                                 UploadTail(105, true)));
    EXPECT_EQ(ac.InScanList, 0);
    EXPECT_EQ(ac.ModuleType, 1);
    EXPECT_EQ(ac.Function, 1);
    EXPECT_EQ(ac.Unit, "AC");
    EXPECT_EQ(ac.Range, "Auto");
    EXPECT_EQ(ac.Options, (Options{{4, "20"}, {512, "AUTO"}}));

    // An NPLC that is none of the steps falls back to the aperture.
    CChannelConfig res = Run(106, "QT7101",
                             Join({{"SENS:FUNC? (@106)", "\"FRES\""},
                                   {"CALC:SCAL:UNIT? (@106)", "\"OHM\""},
                                   {"SENS:FRES:RANG:AUTO? (@106)", "1"},
                                   {"SENS:FRES:NPLC? (@106)", "+5.00000000E-01"},
                                   {"SENS:FRES:APER? (@106)", "+1.00000000E-02"},
                                   {"SENS:FRES:OCOM? (@106)", "0"}},
                                  UploadTail(106)));
    EXPECT_EQ(res.Function, 3);
    EXPECT_EQ(res.IntegrationCode, 0);
    EXPECT_EQ(res.Resolution, "0.01");
    EXPECT_EQ(res.Options, (Options{{2, "0.01"}, {256, "OFF"}, {512, "0.25"}}));

    CChannelConfig freq = Run(107, "QT7108",
                              Join({{"SENS:FUNC? (@107)", "\"FREQ\""},
                                    {"CALC:SCAL:UNIT? (@107)", "\"HZ\""},
                                    {"SENS:FREQ:VOLT:RANGE:AUTO? (@107)", "0"},
                                    {"SENS:FREQ:VOLT:RANG? (@107)", "+1.00000000E+00"},
                                    {"SENS:FREQ:APER? (@107)", "+1.00000000E-02"},
                                    {"SENS:FREQ:RANG:LOWER? (@107)", "0"}},
                                   UploadTail(107)));
    EXPECT_EQ(freq.Function, 4);
    EXPECT_EQ(freq.IntegrationCode, 1);
    EXPECT_EQ(freq.Range, "+1.00000000E+00");
    EXPECT_EQ(freq.Options, (Options{{4, "20"}, {512, "0.25"}}));

    CChannelConfig dci = Run(108, "QT7101",
                             Join({{"SENS:FUNC? (@108)", "\"CURR\""},
                                   {"CALC:SCAL:UNIT? (@108)", "\"ADC\""},
                                   {"SENS:CURR:DC:RANG:AUTO? (@108)", "1"},
                                   {"SENS:CURR:DC:NPLC? (@108)", "+2.00000000E+02"}},
                                  UploadTail(108)));
    EXPECT_EQ(dci.Function, 7);
    EXPECT_EQ(dci.IntegrationCode, 8);
    EXPECT_EQ(dci.Resolution, "200");
}

TEST_F(Upload, Temperatures) {
    CChannelConfig tc = Run(110, "QT7101",
                            Join({{"SENS:FUNC? (@110)", "\"TEMP\""},
                                  {"CALC:SCAL:UNIT? (@110)", "\"C\""},
                                  {"SENS:TEMP:TRAN:TYPE? (@110)", "TC"},
                                  {"SENS:TEMP:TRAN:TC:TYPE? (@110)", "k"},
                                  {"SENS:TEMP:NPLC? (@110)", "+2.00000000E-02"},
                                  {"UNIT:TEMP?  (@110)", "C"},
                                  {"SENS:TEMP:TRAN:TC:CHEC? (@110)", "1"},
                                  {"SENS:TEMP:TRAN:TC:RJUN:TYPE? (@110)", "FIX"},
                                  {"SENS:TEMP:TRAN:TC:RJUN? (@110)", "+2.35000000E+01"}},
                                 UploadTail(110)));
    EXPECT_EQ(tc.Function, 6);
    EXPECT_EQ(tc.SubType, 3);
    EXPECT_EQ(tc.Range, "");
    EXPECT_EQ(tc.RangeLow, "");
    EXPECT_EQ(tc.IntegrationCode, 1);
    EXPECT_EQ(
        tc.Options,
        (Options{{2, "0.02"}, {8, "C"}, {16, "ON"}, {1024, "FIX"}, {2048, "23.5"}, {512, "0.25"}}));

    CChannelConfig rtd = Run(111, "QT7101",
                             Join({{"SENS:FUNC? (@111)", "\"TEMP\""},
                                   {"CALC:SCAL:UNIT? (@111)", "\"C\""},
                                   {"SENS:TEMP:TRAN:TYPE? (@111)", "FRTD"},
                                   {"SENS:TEMP:NPLC? (@111)", "+1.00000000E+01"},
                                   {"UNIT:TEMP?  (@111)", "F"},
                                   {"SENS:TEMP:TRAN:FRTD:TYPE?  (@111)", "+85"},
                                   {"SENS:TEMP:TRAN:FRTD:RES? (@111)", "+1.00000000E+02"}},
                                  UploadTail(111)));
    EXPECT_EQ(rtd.SubType, 12);
    EXPECT_EQ(rtd.Options, (Options{{2, "10"}, {8, "F"}, {32, "85"}, {64, "100"}, {512, "0.25"}}));

    CChannelConfig ther = Run(112, "QT7101",
                              Join({{"SENS:FUNC? (@112)", "\"TEMP\""},
                                    {"CALC:SCAL:UNIT? (@112)", "\"C\""},
                                    {"SENS:TEMP:TRAN:TYPE? (@112)", "THER"},
                                    {"SENS:TEMP:TRAN:THER:TYPE? (@112)", "10000"},
                                    {"SENS:TEMP:NPLC? (@112)", "+1.00000000E+00"},
                                    {"UNIT:TEMP?  (@112)", "K"}},
                                   UploadTail(112)));
    EXPECT_EQ(ther.SubType, 10);

    // An unknown transducer ends the chain: error 1015, the record as far as read.
    CChannelConfig bad = Run(113, "QT7101",
                             {{"SENS:FUNC? (@113)", "\"TEMP\""},
                              {"CALC:SCAL:UNIT? (@113)", "\"C\""},
                              {"SENS:TEMP:TRAN:TYPE? (@113)", "XYZ"}},
                             false);
    EXPECT_EQ(bad.SubType, 13);
    EXPECT_EQ(drv->ErrorCode(), 1015);
    EXPECT_EQ(drv->ErrorText(), "Error occurred uploading channel 113");
}

TEST_F(Upload, MultifunctionAndSwitchModules) {
    CChannelConfig dig = Run(301, "QT7107",
                             {{"SENS:FUNC? (@301)", "\"DIG\""},
                              {"SOUR:DIG:STATE? (@301)", "0"},
                              {"CALC:SCAL:UNIT? (@301)", "\"\""},
                              {"CALC:COMP:STAT? (@301)", "1"},
                              {"CALC:COMP:TYPE? (@301)", "EQU"},
                              {"CALC:COMP:DATA? (@301)", "129"},
                              {"CALC:COMP:MASK? (@301)", "175"}});
    EXPECT_EQ(dig.Function, 9);
    EXPECT_EQ(dig.AlarmMode, 4);
    EXPECT_EQ(dig.HighLimit, "1X0X0001");
    EXPECT_EQ(dig.LowLimit, "");
    EXPECT_EQ(dig.Range, "");

    CChannelConfig out = Run(302, "QT7107",
                             {{"SENS:FUNC? (@302)", "\"DIG\""},
                              {"SOUR:DIG:STATE? (@302)", "1"},
                              {"CALC:SCAL:UNIT? (@302)", "\"\""}});
    EXPECT_EQ(out.Function, 10);

    CChannelConfig tot = Run(303, "QT7107",
                             {{"SENS:FUNC? (@303)", "\"TOT\""},
                              {"SENS:TOT:TYPE? (@303)", "rres"},
                              {"CALC:SCAL:UNIT? (@303)", "\"\""},
                              {"CALC:LIM:UPP? (@303)", "+5.00000000E+02"},
                              {"CALC:LIM:UPP:STAT? (@303)", "1"},
                              {"SENS:TOT:SLOP? (@303)", "NEG"}});
    EXPECT_EQ(tot.Function, 12);
    EXPECT_EQ(tot.HighLimit, "500");
    EXPECT_EQ(tot.AlarmMode, 2);
    EXPECT_EQ(tot.Options, (Options{{4096, "NEG"}}));

    // Channels that measure nothing are known from their module alone.
    link.transcript.clear();
    EXPECT_EQ(Run(304, "QT7107", {}).Function, 13);
    EXPECT_EQ(Run(201, "QT7103", {}).Function, 14);
    EXPECT_EQ(Run(202, "QT7106", {}).Function, 17);
    EXPECT_TRUE(link.transcript.empty());
    Run(203, "none", {}, false);
}

TEST(ModuleTable, ModelsNamesAndChannels) {
    struct Case {
        const char* text;
        int type;
        const char* name;
        int channels;
    } cases[] = {{"KXQT7108", 7, "KXQT7108", 40},
                 {"ORVANTA,QT7101,0,1.0", 0, "KXQT7101", 22},
                 {"QT7104", 3, "KXQT7104", 32},
                 {"QT7107", 6, "KXQT7107", 5},
                 {"0,0,0,0", 8, "(None)", 0}};
    for (const Case& c : cases) {
        const ModuleInfo& m = ParseModuleType(c.text);
        EXPECT_EQ(m.type, c.type) << c.text;
        EXPECT_STREQ(m.displayName, c.name);
        EXPECT_EQ(m.channels, c.channels);
    }
    EXPECT_EQ(ModuleTable().size(), 8u);
}

class Operations : public DriverTest {};

TEST_F(Operations, AlarmQueueEntriesAndMalformedAnswers) {
    const std::string entry = "+1.23450000E+01,VDC,2026,12,10,13,45,30.250,101,2,1";
    link.On("SYST:ALAR?", entry);
    AlarmQueueEntry e;
    EXPECT_EQ(drv->GetAlarmInQue(e), "VDC");
    EXPECT_TRUE(e.got);
    EXPECT_DOUBLE_EQ(e.value, 12.345);
    LocalTime t;
    t.year = 2026, t.month = 12, t.day = 10, t.hour = 13, t.minute = 45, t.second = 30;
    EXPECT_EQ(e.time, static_cast<std::int32_t>(FromLocalTime(t)));
    EXPECT_EQ(e.millisecond, 250);
    EXPECT_EQ(e.channel, 101);
    EXPECT_EQ(e.limit, 2);
    EXPECT_EQ(e.output, 1);

    struct Case {
        const char* name;
        std::string answer;
        int error;
    } cases[] = {{"empty queue", "+0.0000000E+00,0", 0},
                 {"nothing", "", 0},
                 {"short", "+1.23450000E+01,VDC,2026", 1008},
                 {"one character short", entry.substr(0, 50), 1008}};
    for (const Case& c : cases) {
        link.On("SYST:ALAR?", c.answer);
        drv->ClearError();
        EXPECT_EQ(drv->GetAlarmInQue(e), "") << c.name;
        EXPECT_FALSE(e.got) << c.name;
        EXPECT_EQ(e.channel, 0) << c.name;
        EXPECT_EQ(drv->ErrorCode(), c.error) << c.name;
    }
    // A failed query.
    link.answers.erase("SYST:ALAR?");
    EXPECT_EQ(drv->GetAlarmInQue(e), "");
}

TEST_F(Operations, InstrumentClockFallsBackToTheComputer) {
    clock.SetNow(FromLocalTime(LocalTime{2025, 3, 4, 5, 6, 7, 0, 0}));
    InstrumentClock c;
    // No answer: the computer's time, and success.
    EXPECT_TRUE(drv->GetInstrumentTime(c));
    EXPECT_EQ(c.year, 2025);
    EXPECT_EQ(c.month, 3);
    EXPECT_EQ(c.day, 4);
    EXPECT_EQ(c.hour, 5);
    EXPECT_EQ(c.second, 7);
    EXPECT_EQ(c.millisecond, 0);
    // A missing field fails with the driver's error.
    link.On("SYST:DATE?", "2026,12");
    link.On("SYST:TIME?", "1,2,3");
    EXPECT_FALSE(drv->GetInstrumentTime(c));
    EXPECT_EQ(drv->ErrorCode(), 1008);
    link.On("SYST:TIME:SCAN?", "14,5");
    EXPECT_FALSE(drv->GetScanTime(c));
    link.On("SYST:DATE?", "2026,12,10");
    link.On("SYST:TIME?", "23,59,59.999");
    EXPECT_TRUE(drv->GetInstrumentTime(c));
    EXPECT_EQ(c.year, 2026);
    EXPECT_EQ(c.hour, 23);
    EXPECT_EQ(c.second, 59);
    EXPECT_EQ(c.millisecond, 999);
}

TEST_F(Operations, NumbersThatDoNotFitAreMalformedReplies) {
    // Each reply names a number that is not finite or does not fit what it is
    // stored in: the call fails with the driver's malformed-reply error.
    std::string entry = "+1.23450000E+01,VDC,2026,12,10,13,45,30.250,101,2,1";
    std::string hugeSeconds = entry, hugeChannel = entry, farYear = entry;
    hugeSeconds.replace(37, 6, "1.0e20");
    hugeChannel.replace(44, 3, "99999");
    farYear.replace(20, 4, "-2147483648");
    std::int32_t scans = 0;
    std::int16_t value = 0, code = 0;
    bool has = false;
    InstrumentClock c;
    AlarmQueueEntry e;
    struct Case {
        const char* what;
        const char* command;
        std::string reply;
        std::function<bool()> call; // true when the call reported success
    } cases[] = {
        {"scan count 1e20", "TRIG:COUN?", "1e20", [&] { return drv->GetScanCount(&scans); }},
        {"scan count nan", "TRIG:COUN?", "nan", [&] { return drv->GetScanCount(&scans); }},
        {"scan count 2^31", "TRIG:COUN?", "2147483648", [&] { return drv->GetScanCount(&scans); }},
        {"digital read 1e20", "SENS:DIG:DATA? (@301)", "1e20",
         [&] { return drv->DigitalRead(301, &value); }},
        {"digital read nan", "SENS:DIG:DATA? (@301)", "nan",
         [&] { return drv->DigitalRead(301, &value); }},
        {"digital read 40000", "SENS:DIG:DATA? (@301)", "+4.0E+04",
         [&] { return drv->DigitalRead(301, &value); }},
        {"digital state 2^31", "SOUR:DIG:DATA? (@302)", "2147483648",
         [&] { return drv->DigitalReadState(302, &value); }},
        {"date 1e20", "SYST:DATE?", "1e20,1,1", [&] { return drv->GetInstrumentTime(c); }},
        {"scan time nan", "SYST:TIME:SCAN?", "nan,0,0", [&] { return drv->GetScanTime(c); }},
        {"seconds 1e20", "SYST:TIME:SCAN?", "1,2,1e20", [&] { return drv->GetScanTime(c); }},
        {"error code 99999", "SYST:ERR?", "99999,\"x\"",
         [&] {
             drv->GetInstrumentError(&code, &has);
             return has;
         }},
        {"alarm seconds 1e20", "SYST:ALAR?", hugeSeconds,
         [&] { return !drv->GetAlarmInQue(e).empty() || e.got; }},
        {"alarm channel 99999", "SYST:ALAR?", hugeChannel,
         [&] { return !drv->GetAlarmInQue(e).empty() || e.got; }},
        {"alarm year -2147483648", "SYST:ALAR?", farYear,
         [&] { return !drv->GetAlarmInQue(e).empty() || e.got; }},
    };
    link.On("SYST:TIME?", "1,2,3");
    for (const Case& k : cases) {
        link.On(k.command, k.reply);
        drv->ClearError();
        EXPECT_FALSE(k.call()) << k.what;
        EXPECT_EQ(drv->ErrorCode(), 1008) << k.what;
    }
    // The largest numbers that fit are still taken.
    link.On("TRIG:COUN?", "2147483647");
    EXPECT_TRUE(drv->GetScanCount(&scans));
    EXPECT_EQ(scans, 2147483647);
    link.On("SENS:DIG:DATA? (@301)", "-32768");
    EXPECT_TRUE(drv->DigitalRead(301, &value));
    EXPECT_EQ(value, -32768);
}

TEST_F(Operations, StoredStateBounds) {
    EXPECT_FALSE(drv->StoreInstState(6));
    EXPECT_FALSE(drv->RecallInstState(6));
    EXPECT_FALSE(drv->RenameInstState(6, "X"));
    EXPECT_TRUE(link.transcript.empty());
    EXPECT_TRUE(drv->StoreInstState(5));
    EXPECT_TRUE(drv->RecallInstState(0));
    EXPECT_EQ(link.Sent(), (std::vector<std::string>{"*SAV 5", "*RCL 0"}));

    // The settings sheet's lists: one stored state, used.
    link.On("MEM:NST?", "+2");
    link.On("MEM:STAT:NAME? 1", "\"RIG_A\"");
    link.On("MEM:STAT:VAL? 1", "1");
    drv->GetStateNames();
    EXPECT_EQ(drv->StateNames(), std::vector<std::string>{"RIG_A"});
    EXPECT_EQ(drv->RecallList(),
              (std::vector<std::string>{"RIG_A", "Last Power Down", "Factory Reset", "Preset"}));
    EXPECT_EQ(drv->StoredStates(), 1);
    EXPECT_FALSE(drv->StoreInstState(2));
    link.On("MEM:NST?", "+1");
    drv->GetStateNames();
    EXPECT_EQ(drv->RecallList(),
              (std::vector<std::string>{"Last Power Down", "Factory Reset", "Preset"}));
}

} // namespace
} // namespace tvane::driver::test
