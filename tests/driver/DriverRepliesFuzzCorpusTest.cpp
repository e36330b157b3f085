#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DriverFixture.h"
#include "tests/driver/DriverRepliesFuzzBody.h"
#include "tests/support/FuzzCorpus.h"

namespace tvane::driver::test {
namespace {

const std::filesystem::path kCorpus = std::filesystem::path(TVANE_TEST_DATA) / "fuzz-replies";

TEST(DriverRepliesFuzzCorpus, EverySeedAndEveryFaultFoundRunsCleanly) {
    tvane::test::TempHome home;
    EXPECT_GE(tvane::test::RunFuzzCorpus(kCorpus, ExerciseDriverReplies), 5);
}

// A plausible instrument: reading blocks in turn for every "R?", a table for the
// rest; what it does not know it does not answer.
class SeedInstrument {
public:
    std::map<std::string, std::string> answers;
    std::deque<std::string> blocks;

    std::optional<std::string> operator()(const std::string& command) {
        if (command.rfind("R? ", 0) == 0) {
            if (blocks.empty())
                return std::nullopt;
            std::string block = blocks.front();
            blocks.pop_front();
            return block;
        }
        const auto it = answers.find(command);
        if (it == answers.end())
            return std::nullopt;
        return it->second;
    }
};

void WriteSeed(const std::string& name, std::uint8_t format, SeedInstrument instrument) {
    tvane::test::WriteFile(kCorpus / name, RecordDriverReplies(format, std::ref(instrument)));
}

const std::string kAlarm = "+1.23450000E+01,VDC,2026,12,10,13,45,30.250,101,2,1";

SeedInstrument Plausible() {
    SeedInstrument i;
    std::string three;
    for (int n = 0; n < 3; ++n)
        three += (n ? "," : "") + Reading(1.5 * n, 1 + n, 101 + n, n % 3);
    i.blocks = {Block(three), Block(Reading(7, 4, 101, 0) + "," + Reading(8, 4, 102, 2)), "#10",
                Block(Reading(9, 5, 101, 1)), "+1.00000000E+00       1.5001012"};
    i.answers = {
        {"ROUT:SCAN?", "#214(@101,102,301)"},
        {"SENS:FUNC? (@101)", "\"VOLT\""},
        {"CALC:SCAL:UNIT? (@101)", "\"VDC\""},
        {"SENS:VOLT:DC:RANG:AUTO? (@101)", "0"},
        {"SENS:VOLT:DC:RANG? (@101)", "+1.00000000E+01"},
        {"SENS:VOLT:DC:NPLC? (@101)", "+1.00000000E+00"},
        {"INP:IMP:AUTO? (@101)", "1"},
        {"CALC:SCAL:STAT? (@101)", "0"},
        {"CALC:SCAL:GAIN? (@101)", "+1.00000000E+00"},
        {"CALC:SCAL:OFFS? (@101)", "+0.00000000E+00"},
        {"CALC:LIM:LOW? (@101)", "-1.00000000E+00"},
        {"CALC:LIM:UPP? (@101)", "+2.50000000E+00"},
        {"CALC:LIM:LOW:STAT? (@101)", "1"},
        {"CALC:LIM:UPP:STAT? (@101)", "1"},
        {"ROUT:CHAN:DEL:AUTO? (@101)", "0"},
        {"ROUT:CHAN:DEL? (@101)", "+2.50000000E-01"},
        {"SENS:FUNC? (@301)", "\"DIG\""},
        {"SENS:FUNC? (@201)", "\"TEMP\""},
        {"STAT:ALAR:COND?", "+16"},
        {"SYST:ALAR?", kAlarm},
        {"SYST:DATE?", "2026,12,10"},
        {"SYST:TIME?", "13,45,30.5"},
        {"SYST:TIME:SCAN?", "13,45,31.25"},
        {"TRIG:COUN?", "+1.20000000E+01"},
        {"TRIG:TIMER?", "+1.00000000E+00"},
        {"DATA:POIN?", "5"},
        {"SENS:DIG:DATA? (@301)", "+1.70000000E+02"},
        {"SOUR:DIG:DATA? (@302)", "85"},
        {"SYST:ERR?", "+0,\"No error\""},
        {"ROUT:MON?", "#16(@101)"},
        {"STAT:OPER:COND?", "+16"},
        {"*ESR?", "+32"},
        {"MEM:NST?", "+3"},
        {"MEM:STAT:NAME? 1", "\"FIRST\""},
        {"MEM:STAT:VAL? 1", "1"},
        {"MEM:STAT:NAME? 2", "\"TWO\""},
        {"MEM:STAT:VAL? 2", "0"},
        {"*IDN?", "ORVANTA,QT7100,0,2.1-1.0-1.0"},
        {"SYST:CTYP? 100", "ORVANTA,QT7101,0,1.0"},
        {"SYST:CTYP? 200", "ORVANTA,QT7104,0,1.0"},
        {"OUTP:ALAR1:SOUR?", "#210(@101,102)"},
        {"SENS:TOT:DATA? (@303);", "+4.00000000E+01"},
        {"SOUR:VOLT? (@304)", "+2.50000000E+00"},
        {"ROUT:MON:DATA?", "+1.23400000E+00"},
        {"CALC:COMP:DATA? (@301)", "170"},
        {"CALC:COMP:MASK? (@301)", "255"},
        {"SOUR:DIG:STAT? (@301)", "1"},
        {"INST:DMM?", "1"},
        {"TRIG:SOUR?", "TIM"},
        {"OUTP:ALAR:MODE?", "TRAC"},
        {"OUTP:ALAR:SLOPE?", "NEG"},
        {"ROUT:OPEN? (@101)", "0"},
    };
    return i;
}

// Writes the seeds again (run with --gtest_also_run_disabled_tests).
TEST(DriverRepliesFuzzSeeds, DISABLED_WriteSeeds) {
    WriteSeed("run.txt", 0x0F, Plausible());
    SeedInstrument units = Plausible();
    units.blocks = {Block(Format("%+15.8E,VDC,%12.3f,101", 1.5, 2.0))};
    WriteSeed("with-units-no-alarms.txt", 0x1E, units);
    WriteSeed("dead-link.txt", 0x0F, SeedInstrument());

    // Inputs that found faults: numbers that do not fit, and a block longer than
    // the buffer.
    SeedInstrument numbers = Plausible();
    std::string far = kAlarm;
    far.replace(20, 4, "-2147483648");
    numbers.answers["SYST:ALAR?"] = far;
    numbers.answers["SYST:TIME:SCAN?"] = "1,2,1e20";
    numbers.answers["SYST:DATE?"] = "1e20,1,1";
    numbers.answers["TRIG:COUN?"] = "2147483648";
    numbers.answers["SENS:DIG:DATA? (@301)"] = "nan";
    numbers.answers["SOUR:DIG:DATA? (@302)"] = "2147483648";
    numbers.answers["SYST:ERR?"] = "99999,\"x\"";
    numbers.answers["ROUT:MON?"] = "70000";
    WriteSeed("fault-numbers-out-of-range.txt", 0x0F, numbers);
    SeedInstrument seconds = Plausible();
    std::string late = kAlarm;
    late.replace(37, 6, "1.0e20");
    seconds.answers["SYST:ALAR?"] = late;
    seconds.answers["TRIG:COUN?"] = "1e20";
    seconds.answers["SENS:DIG:DATA? (@301)"] = "1e20";
    WriteSeed("fault-alarm-seconds-1e20.txt", 0x0F, seconds);
    SeedInstrument longBlock = Plausible();
    std::string text;
    for (int n = 0; text.size() < 10000; ++n)
        text += (n ? "," : "") + Reading(n, 1 + n, 101 + n % 3, 0);
    longBlock.blocks = {Block(text), Block(text)};
    WriteSeed("fault-block-longer-than-the-buffer.txt", 0x0F, longBlock);
}

} // namespace
} // namespace tvane::driver::test
