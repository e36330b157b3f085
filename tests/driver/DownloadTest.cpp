#include "DriverFixture.h"

namespace tvane::driver::test {
namespace {

using Sent = std::vector<std::string>;

class Download : public DriverTest {
protected:
    Sent Run(const CChannelConfig& c, bool expected = true) {
        link.transcript.clear();
        EXPECT_EQ(drv->DownloadChannelConfig(c), expected);
        return link.Sent();
    }
};

CChannelConfig With(CChannelConfig c, std::initializer_list<CChannelSetting> options) {
    for (const auto& o : options)
        c.Options.push_back(o);
    return c;
}

// The tail every measuring channel of the multiplexer modules gets.
Sent Tail(int ch, const char* unit = "", const char* delay = "ROUT:CHAN:DEL 0.0,(@%d)") {
    Sent s = {Format("CALC:SCAL:GAIN 1.0,(@%d)", ch),
              Format("CALC:SCAL:OFFS 0.0,(@%d)", ch),
              Format("CALC:SCAL:UNIT \"%s\",(@%d)", unit, ch),
              Format("CALC:SCAL:STAT 0,(@%d)", ch),
              Format("CALC:LIM:LOW:STAT 0,(@%d)", ch),
              Format("CALC:LIM:UPP:STAT 0,(@%d)", ch),
              Format("CALC:LIM:LOW 1.0E-35;:CALC:LIM:UPP 1.0E35,(@%d)", ch),
              Format("ROUT:CHAN:DEL:AUTO 0,(@%d)", ch)};
    if (delay)
        s.push_back(Format(delay, ch));
    return s;
}

Sent Join(Sent a, const Sent& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(Download, FunctionFamiliesByteForByte) {
    CChannelConfig dcv = Channel(0, 101, 0);
    dcv.Range = "10";
    dcv.IntegrationCode = 3;
    CChannelConfig dcvAperture = Channel(0, 102, 0);
    dcvAperture.IntegrationCode = 0;
    dcvAperture.Resolution = "0.001";
    CChannelConfig res = Channel(0, 103, 2);
    res.Range = "1000";
    CChannelConfig fres = Channel(1, 104, 3);
    CChannelConfig freq = Channel(7, 105, 4);
    freq.Range = "1";
    freq.Resolution = "4.5";
    CChannelConfig per = Channel(7, 106, 5);
    per.Resolution = "6.5";
    CChannelConfig dci = Channel(0, 121, 7);
    dci.IntegrationCode = 0;
    dci.Resolution = "0.1";
    CChannelConfig aci = Channel(0, 122, 8);
    CChannelConfig acv = Channel(0, 107, 1);
    acv.Range = "100";
    acv.Unit = "VOLTS";
    acv.ScalingOn = 1;
    acv.Gain = "2.5";
    acv.Offset = "-1";

    struct Case {
        const char* name;
        CChannelConfig config;
        Sent sent;
    } cases[] = {
        {"dc volts", With(dcv, {{1, "ON"}}),
         Join({"CONF:VOLT:DC 10,DEF,(@101)", "SENS:VOLT:DC:NPLC 1, (@101)",
               "INP:IMP:AUTO ON,(@101)"},
              Tail(101))},
        {"dc volts aperture", dcvAperture,
         Join({"CONF:VOLT:DC Auto,DEF,(@102)", "SENS:VOLT:DC:APER 0.001,(@102)"}, Tail(102))},
        {"ac volts scaled",
         With(acv, {{4, "20"}, {512, "auto"}}),
         {"CONF:VOLT:AC 100,DEF,(@107)", "SENS:VOLT:AC:BAND 20, (@107)",
          "CALC:SCAL:GAIN 2.5,(@107)", "CALC:SCAL:OFFS -1,(@107)", "CALC:SCAL:UNIT \"VOL\",(@107)",
          "CALC:SCAL:STAT 1,(@107)", "CALC:LIM:LOW:STAT 0,(@107)", "CALC:LIM:UPP:STAT 0,(@107)",
          "CALC:LIM:LOW 1.0E-35;:CALC:LIM:UPP 1.0E35,(@107)", "ROUT:CHAN:DEL:AUTO 1,(@107)"}},
        {"resistance", With(res, {{256, "OFF"}}),
         Join({"CONF:RES 1000,DEF,(@103)", "SENS:RES:NPLC 1,(@103)", "SENS:RES:OCOM OFF,(@103)"},
              Tail(103))},
        {"4-wire resistance", With(fres, {{256, "ON"}, {512, "0.25"}}),
         Join(
             {"CONF:FRES Auto,DEF,(@104)", "SENS:FRES:NPLC 1,(@104)", "SENS:FRES:OCOM ON,(@104)  "},
             Tail(104, "", "ROUT:CHAN:DEL 2.500000e-01,(@%d)"))},
        {"frequency", With(freq, {{4, "3"}}),
         Join({"CONF:FREQ AUTO,DEF,(@105)", "SENS:FREQ:VOLT:RANGE 1,(@105)",
               "SENS:FREQ:APER 0.01,(@105)", "SENS:FREQ:RANG:LOWER 3,(@105)"},
              Tail(105))},
        {"period", per, Join({"CONF:PER AUTO,DEF,(@106)", "SENS:PER:APER 1.0,(@106)"}, Tail(106))},
        {"dc current", dci,
         Join({"CONF:CURR:DC Auto,DEF,(@121)", "SENS:CURR:DC:APER 0.1,(@121)"}, Tail(121))},
        {"ac current", With(aci, {{4, "200"}}),
         Join({"CONF:CURR:AC Auto,DEF,(@122)", "SENS:CURR:AC:BAND 200, (@122)"}, Tail(122))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Run(c.config), c.sent);
    }
}

TEST_F(Download, Temperatures) {
    CChannelConfig ther = Channel(0, 110, 6);
    ther.SubType = 9;
    CChannelConfig rtd = With(Channel(0, 111, 6), {{32, "a=0.00385"}, {64, "100"}, {8, "C"}});
    rtd.SubType = 12;
    rtd.IntegrationCode = 0;
    rtd.Resolution = "0.02";
    CChannelConfig tc =
        With(Channel(0, 112, 6), {{16, "ON"}, {8, "F"}, {1024, "fix"}, {2048, "23.5"}});
    tc.SubType = 3;
    CChannelConfig tcExt = With(Channel(0, 113, 6), {{16, "OFF"}, {8, "K"}, {1024, "EXT"}});
    tcExt.SubType = 7;
    CChannelConfig tcInt = With(Channel(0, 114, 6), {{1024, "bogus"}});
    tcInt.SubType = 0;

    EXPECT_EQ(Run(ther), Join({"CONF:TEMP THER,5000,1,DEF, (@110)", "SENS:TEMP:NPLC 1, (@110)",
                               "UNIT:TEMP , (@110)"},
                              Tail(110)));
    EXPECT_EQ(Run(rtd),
              Join({"CONF:TEMP FRTD,85,1,DEF, (@111)", "SENS:TEMP:TRAN:FRTD:RES 100,(@111)",
                    "SENS:TEMP:APER 0.02, (@111)", "UNIT:TEMP C, (@111)"},
                   Tail(111)));
    EXPECT_EQ(Run(tc), Join({"CONF:TEMP TC,K,1,DEF, (@112)", "SENS:TEMP:TRAN:TC:CHEC ON,(@112)",
                             "SENS:TEMP:NPLC 1, (@112)", "UNIT:TEMP F, (@112)",
                             "SENS:TEMP:TRAN:TC:RJUN:TYPE FIX, (@112)",
                             "SENS:TEMP:TRAN:TC:RJUN 23.5, (@112)"},
                            Tail(112)));
    // The external reference is the last thermistor or RTD channel stored.
    EXPECT_EQ(Run(tcExt), Join({"CONF:TEMP TC,N,1,DEF, (@113)", "SENS:TEMP:TRAN:TC:CHEC OFF,(@113)",
                                "SENS:TEMP:NPLC 1, (@113)", "UNIT:TEMP K, (@113)",
                                "ROUT:SCAN (@111)", "SENS:TEMP:TRAN:TC:RJUN:TYPE EXT, (@113)"},
                               Tail(113)));
    EXPECT_EQ(Run(tcInt), Join({"CONF:TEMP TC,B,1,DEF, (@114)", "SENS:TEMP:TRAN:TC:CHEC ,(@114)",
                                "SENS:TEMP:NPLC 1, (@114)", "UNIT:TEMP , (@114)",
                                "SENS:TEMP:TRAN:TC:RJUN:TYPE INT, (@114)"},
                               Tail(114)));
}

TEST_F(Download, MultifunctionModuleGetsOnlyItsFunctionCommands) {
    CChannelConfig dig = Channel(6, 301, 9);
    dig.AlarmMode = 5;
    dig.AlarmOutput = 1;
    dig.HighLimit = "1X0X0001";
    EXPECT_EQ(Run(dig),
              (Sent{"CONF:DIG (@301)", "CALC:COMP:STAT 0,(@301)", "CALC:COMP:TYPE NEQ,(@301)",
                    "CALC:COMP:STAT 1,(@301)", "CALC:COMP:DATA 129,(@301)",
                    "CALC:COMP:MASK 175,(@301)", "OUTP:ALAR2:SOUR (@301)"}));
    CChannelConfig tot = With(Channel(6, 303, 12), {{4096, "NEG"}});
    tot.AlarmMode = 2;
    tot.HighLimit = "500";
    EXPECT_EQ(Run(tot),
              (Sent{"CONF:TOT RRES,(@303)", "CALC:LIM:UPP:STAT 0,(@303)", "CALC:LIM:UPP 500,(@303)",
                    "CALC:LIM:UPP:STAT 1,(@303)", "SENS:TOT:SLOP NEG"}));
}

TEST_F(Download, LimitsAndAlarmOutputs) {
    CChannelConfig c = Channel(0, 101, 0);
    c.AlarmMode = 3;
    c.AlarmOutput = 3;
    c.LowLimit = "-1";
    c.HighLimit = "1";
    Sent sent = Run(c);
    ASSERT_GE(sent.size(), 11u);
    EXPECT_EQ(Sent(sent.begin() + 6, sent.end()),
              (Sent{"CALC:LIM:LOW:STAT 0,(@101)", "CALC:LIM:UPP:STAT 0,(@101)",
                    "OUTP:ALAR4:SOUR (@101)", "CALC:LIM:LOW -1;:CALC:LIM:UPP 1,(@101)",
                    "CALC:LIM:LOW:STAT 1,(@101)", "CALC:LIM:UPP:STAT 1,(@101)",
                    "ROUT:CHAN:DEL:AUTO 0,(@101)", "ROUT:CHAN:DEL 0.0,(@101)"}));
    // A digital alarm mode on a measuring channel is refused after the limits.
    c.AlarmMode = 4;
    Run(c, false);
    EXPECT_EQ(link.Sent().back(), "CALC:LIM:LOW -1;:CALC:LIM:UPP 1,(@101)");
}

TEST_F(Download, CopiesAndFailures) {
    CChannelConfig c = With(Channel(0, 101, 0), {{1, "ON"}});
    Run(c);
    Run(c);
    EXPECT_EQ(drv->StoredConfigCount(), 1u);
    EXPECT_EQ(drv->StoredConfig(101)->Options.size(), 1u);
    // A digital output keeps no copy and sends nothing.
    EXPECT_EQ(Run(Channel(6, 101, 10)), Sent{});
    EXPECT_EQ(drv->StoredConfigCount(), 0u);

    // A failed function command: error 1016 with the channel; the copy stays.
    link.failSend.insert("CONF:VOLT:DC Auto,DEF,(@102)");
    Run(Channel(0, 102, 0), false);
    EXPECT_EQ(drv->ErrorCode(), 1016);
    EXPECT_EQ(drv->ErrorText(), "Error occurred downloading channel 102");
    EXPECT_NE(drv->StoredConfig(102), nullptr);
    drv->ClearError();
    // A failed scaling command fails without a driver error.
    link.failSend.insert("CALC:SCAL:STAT 0,(@103)");
    Run(Channel(0, 103, 0), false);
    EXPECT_EQ(drv->ErrorCode(), 0);

    drv->ClearScanList();
    EXPECT_EQ(drv->StoredConfigCount(), 0u);
}

class SimulatedDownload : public SimulatedDriverTest {};

TEST_F(SimulatedDownload, KeepsTheCopyAndSendsNothing) {
    EXPECT_TRUE(drv->DownloadChannelConfig(Channel(0, 101, 0)));
    EXPECT_TRUE(link.transcript.empty());
    EXPECT_NE(drv->StoredConfig(101), nullptr);
}

TEST(DigitalPattern, DataAndMask) {
    struct Case {
        const char* pattern;
        int data, mask;
    } cases[] = {
        {"1X0X0001", 129, 175}, {"11111111", 255, 255}, {"XXXXXXXX", 0, 0}, {"1", 1, 1}, {"", 0, 0},
        {"0110X", 12, 30}};
    for (const Case& c : cases) {
        int data = -1, mask = -1;
        CKXQT7100::ParseDigitalPattern(c.pattern, data, mask);
        EXPECT_EQ(data, c.data) << c.pattern;
        EXPECT_EQ(mask, c.mask) << c.pattern;
    }
    EXPECT_EQ(CKXQT7100::MakeDigitalPattern(0x81, 0xFF), "10000001");
    EXPECT_EQ(CKXQT7100::MakeDigitalPattern(0x81, 0x7E), "X000000X");
}

} // namespace
} // namespace tvane::driver::test
