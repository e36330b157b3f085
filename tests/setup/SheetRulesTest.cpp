// The rules of the channel, scan settings sheets' pages, without windows.
#include <gtest/gtest.h>

#include "scan/CCompChnl.h"
#include "scan/CFXScan.h"
#include "setup/AlarmLimitRules.h"
#include "setup/ComputedChannelRules.h"
#include "setup/MeasurementRules.h"
#include "setup/ScanSettingsRules.h"
#include "setup/SheetTexts.h"

namespace {

using measurement::AdvancedValues;

// --- Advanced settings -----------------------------------------------------------

TEST(AdvancedSettings, TextPerMaskHoldsOnlyTheMasksFields) {
    struct Case {
        std::uint32_t mask;
        AdvancedValues values;
        const char* text;
    };
    AdvancedValues highAuto;
    highAuto.inputResistance = 1;
    highAuto.delayMode = "AUTO";
    highAuto.delaySeconds = 12.5; // an automatic delay writes no number
    AdvancedValues timed;
    timed.delayMode = "Time";
    timed.delaySeconds = 2.5;
    timed.offsetCompensation = 1;
    AdvancedValues thermocouple;
    thermocouple.units = 1;
    thermocouple.thermocoupleCheck = true;
    thermocouple.referenceJunction = 1;
    thermocouple.referenceTemperature = 25.5;
    AdvancedValues custom;
    custom.integration = "Custom";
    custom.customIntegration = 0.5;
    AdvancedValues rtd;
    rtd.rtd = 1;
    AdvancedValues edge;
    edge.edge = 1;
    edge.lowFrequency = 0;
    edge.aperture = 0;
    const Case cases[] = {
        {0, {}, ";;;;;;;;;;;;;"},
        {0x0001 | 0x0200, highAuto, "ON;;;;;;;;;AUTO;;;;"},
        {0x0100 | 0x0200, timed, ";;;;;;;;ON;2.500000;;;;"},
        {0x0008 | 0x0010 | 0x0400 | 0x0800, thermocouple, ";;;F;ON;;;;;;FIX;25.5;;"},
        {0x0002, custom, ";Custom;;;;;;0.5;;;;;;"},
        {0x0020 | 0x0040, rtd, ";;;;;91;49;;;;;;;"},
        {0x0004 | 0x0080 | 0x1000, edge, ";;3;;;;;0.01;;;;;NEG;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(measurement::StoreAdvanced(c.mask, c.values).text, c.text) << c.mask;
}

TEST(AdvancedSettings, ReadsBackWhatItWrites) {
    const std::uint32_t mask = 0x1FFF & ~0x0080u; // every group, custom integration in field 8
    const std::string text = "ON;Custom;200;K;ON;91;100;0.002;ON;1.250000;EXT;-5;NEG;";
    const AdvancedValues v = measurement::LoadAdvanced(mask, text, 0.0);
    EXPECT_EQ(v.inputResistance, 1);
    EXPECT_DOUBLE_EQ(v.customIntegration, 0.002);
    EXPECT_EQ(v.lowFrequency, 2);
    EXPECT_EQ(v.units, 2);
    EXPECT_EQ(v.referenceJunction, 2);
    EXPECT_EQ(v.delayMode, "Time");
    EXPECT_EQ(measurement::StoreAdvanced(mask, v).text, text);
}

TEST(AdvancedSettings, DefaultsForMissingAndEmptyFields) {
    // A short text reads its missing fields as empty: automatic delay with the
    // function's default, 20 Hz, C, 0.1 aperture, Internal junction, Rise.
    const AdvancedValues v = measurement::LoadAdvanced(0x1FFF, "OFF;", 3.0);
    EXPECT_EQ(v.inputResistance, 0);
    EXPECT_EQ(v.delayMode, "AUTO");
    EXPECT_DOUBLE_EQ(v.delaySeconds, 3.0);
    EXPECT_EQ(v.lowFrequency, 1);
    EXPECT_EQ(v.units, 0);
    EXPECT_EQ(v.aperture, 1);
    EXPECT_EQ(v.referenceJunction, 0);
    EXPECT_EQ(v.edge, 0);
    // An empty integration is written as 1 and asks for the 5.5 digit resolution.
    const auto stored = measurement::StoreAdvanced(0x0002 | 0x0008, v);
    EXPECT_EQ(stored.text, ";1;;C;;;;;;;;;;");
    EXPECT_TRUE(stored.integrationDefaulted);
    EXPECT_EQ(stored.units, "C");
}

TEST(AdvancedSettings, LimitsOfApertureR0DelayAndTemperature) {
    struct Case {
        std::uint32_t mask;
        const char* integration;
        double custom;
        const char* r0;
        const char* delayMode;
        double delay;
        const char* message;
    };
    const Case cases[] = {
        {0x0002, "Custom", 0.0004, "", "", 0, ""},
        {0x0002, "Custom", 4.0, "", "", 0, ""},
        {0x0002, "Custom", 0.00039, "", "", 0, sheettext::kBadAperture},
        {0x0002, "Custom", 4.01, "", "", 0, sheettext::kBadAperture},
        {0x0002, "10", 99.0, "", "", 0, ""}, // only the custom value is checked
        {0x0060, "", 0, "49.0", "", 0, ""},
        {0x0060, "", 0, "2100", "", 0, ""},
        {0x0060, "", 0, "48.9", "", 0, sheettext::kBadR0},
        {0x0060, "", 0, "", "", 0, sheettext::kBadR0}, // empty reads as 0
        {0x0040, "", 0, "", "", 0, ""},                // alone it is written as 49
        {0x0200, "", 0, "", "Time", 60.0, ""},
        {0x0200, "", 0, "", "Time", 60.5, sheettext::kBadDelay},
        {0x0200, "", 0, "", "Time", -1.0, sheettext::kBadDelay},
        {0x0200, "", 0, "", "AUTO", 99.0, ""},
    };
    for (const Case& c : cases) {
        AdvancedValues v;
        v.integration = c.integration;
        v.customIntegration = c.custom;
        v.r0 = c.r0;
        v.delayMode = c.delayMode;
        v.delaySeconds = c.delay;
        EXPECT_EQ(measurement::CheckAdvanced(c.mask, v), c.message)
            << c.mask << " " << c.custom << " " << c.r0 << " " << c.delay;
    }
    AdvancedValues fixed;
    fixed.referenceJunction = 1;
    fixed.referenceTemperature = 80.5;
    EXPECT_EQ(measurement::CheckAdvanced(0x0C00, fixed), sheettext::kBadTemperature);
    fixed.referenceJunction = 0; // the temperature only counts for Fixed
    EXPECT_EQ(measurement::CheckAdvanced(0x0C00, fixed), "");
}

TEST(AdvancedSettings, IntegrationAndResolutionFollowEachOther) {
    EXPECT_EQ(measurement::IntegrationForResolution(0), "10");
    EXPECT_EQ(measurement::IntegrationForResolution(1), "1");
    EXPECT_EQ(measurement::IntegrationForResolution(2), "0.02");
    EXPECT_EQ(measurement::IntegrationForResolution(-1), "1");
    const std::pair<const char*, int> table[] = {
        {"0.02", 2}, {"0.2", 1}, {"1", 1},   {"2", 0},      {"10", 0},
        {"20", 0},   {"100", 0}, {"200", 0}, {"Custom", 0}, {"", 1},
    };
    for (const auto& [integration, index] : table)
        EXPECT_EQ(measurement::ResolutionForIntegration(integration), index) << integration;
}

TEST(AdvancedSettings, ThermocoupleStandsBesideTheGroupBeforeIt) {
    const auto places = measurement::PlaceGroups(0x0008 | 0x0010 | 0x0200);
    ASSERT_EQ(places.size(), 3u);
    EXPECT_EQ(places[0].group, measurement::kGroupUnits);
    EXPECT_EQ(places[1].group, measurement::kGroupThermocouple);
    EXPECT_EQ(places[1].row, 0);
    EXPECT_TRUE(places[1].besidePrevious);
    EXPECT_EQ(places[2].row, 1);
    // Alone it takes the first row.
    const auto alone = measurement::PlaceGroups(0x0010);
    ASSERT_EQ(alone.size(), 1u);
    EXPECT_FALSE(alone[0].besidePrevious);
    EXPECT_TRUE(measurement::PlaceGroups(0).empty());
}

// --- Alarm limits --------------------------------------------------------------

TEST(AlarmLimits, TestsPerFunction) {
    using alarmlimits::TestItems;
    EXPECT_EQ(TestItems(alarmlimits::LimitModeOf("DC volts")),
              (std::vector<std::string>{"Off", "High/Low", "High Only", "Low Only"}));
    EXPECT_EQ(TestItems(alarmlimits::LimitModeOf("Digital Read 8bit")),
              (std::vector<std::string>{"Off", "Equal", "Not Equal"}));
    EXPECT_TRUE(TestItems(alarmlimits::LimitModeOf("Digital Write 8bit")).empty());
    EXPECT_EQ(TestItems(alarmlimits::LimitModeOf("Totalize (Reset)")),
              (std::vector<std::string>{"Off", "High Only"}));
}

TEST(AlarmLimits, ActionListsPerAction) {
    struct Case {
        alarmlimits::Actions actions;
        const char* list;
        const char* error;
    };
    alarmlimits::Actions none;
    alarmlimits::Actions log;
    log.logEvent = true;
    alarmlimits::Actions stopClose;
    stopClose.stopScan = true;
    stopClose.closeChannel = true;
    stopClose.closeText = "T";
    alarmlimits::Actions all = stopClose;
    all.beep = all.logEvent = all.openChannel = all.bitPattern = true;
    all.openText = "<302>out";
    all.pattern = "1X0X1X0X";
    all.port = "<501>port";
    alarmlimits::Actions noClose;
    noClose.closeChannel = true;
    alarmlimits::Actions noOpen;
    noOpen.openChannel = true;
    alarmlimits::Actions noPattern;
    noPattern.bitPattern = true;
    noPattern.port = "P";
    alarmlimits::Actions noPort;
    noPort.bitPattern = true;
    noPort.pattern = "11111111";
    const Case cases[] = {
        {none, ";;;;;", ""},
        {log, "4;;;;;", ""},
        {stopClose, "9;T;;;;", ""},
        {all, "63;T;<302>out;1X0X1X0X;<501>port;", ""},
        {noClose, "", sheettext::kNoCloseChannel},
        {noOpen, "", sheettext::kNoOpenChannel},
        {noPattern, "", sheettext::kNoBitPattern},
        {noPort, "", sheettext::kNoPort},
    };
    for (const Case& c : cases) {
        const auto built = alarmlimits::BuildActions(c.actions);
        EXPECT_EQ(built.list, c.list);
        EXPECT_EQ(built.error, c.error);
        if (built.error.empty()) {
            // And the list reads back as the same actions.
            EXPECT_EQ(alarmlimits::BuildActions(alarmlimits::ParseActions(built.list)).list,
                      c.list);
        }
    }
    const auto empty = alarmlimits::ParseActions("");
    EXPECT_FALSE(empty.stopScan || empty.logEvent || empty.closeChannel);
}

TEST(AlarmLimits, EnablingPerTest) {
    struct Case {
        const char* test;
        bool high, low, actions;
    };
    const Case cases[] = {
        {"High/Low", true, true, true},  {"High Only", true, false, true},
        {"Equal", true, false, true},    {"Not Equal", true, false, true},
        {"Low Only", false, true, true}, {"Off", false, false, false},
    };
    for (const Case& c : cases) {
        const auto e = alarmlimits::EnablingFor(c.test);
        ASSERT_TRUE(e) << c.test;
        EXPECT_EQ(e->high, c.high) << c.test;
        EXPECT_EQ(e->low, c.low) << c.test;
        EXPECT_EQ(e->actions, c.actions) << c.test;
    }
    EXPECT_FALSE(alarmlimits::EnablingFor(""));
}

TEST(AlarmLimits, CloseAndOpenAvailabilityAreApart) {
    // Only exclusive switches: something to close, nothing to open. The close
    // action stays usable; the stored open action is kept but disabled.
    alarmlimits::Actions stored = alarmlimits::ParseActions("28;<301>a;<302>b;;;");
    const alarmlimits::Availability available{true, false, false};
    const auto c = alarmlimits::ActionControlsFor(true, available, stored, true);
    EXPECT_TRUE(c.closeBox);
    EXPECT_TRUE(c.closeList);
    EXPECT_FALSE(c.openBox);
    EXPECT_FALSE(c.openList);
    EXPECT_FALSE(c.patternBox);
    EXPECT_EQ(alarmlimits::BuildActions(stored).list, "28;<301>a;<302>b;;;");
    const auto off = alarmlimits::ActionControlsFor(false, available, stored, true);
    EXPECT_FALSE(off.closeBox || off.stopBeepLogDefaults || off.hardwareAlarm);
}

TEST(AlarmLimits, LimitChecksAndClearedAlarm) {
    EXPECT_EQ(alarmlimits::CheckLimits("5", "7"), alarmlimits::LimitCheck::LowAboveHigh);
    EXPECT_EQ(alarmlimits::CheckLimits("5.0", "5"), alarmlimits::LimitCheck::Equal);
    EXPECT_EQ(alarmlimits::CheckLimits("5", "-1e3"), alarmlimits::LimitCheck::Pass);
    EXPECT_EQ(alarmlimits::ClearedAlarm(0x80).actions, ";;;;;");
    EXPECT_EQ(alarmlimits::ClearedAlarm(0).actions, "4;;;;;");
}

// --- Computed channels ---------------------------------------------------------

TEST(ComputedChannel, CategoriesAndCodes) {
    const auto& categories = computed::Categories();
    ASSERT_EQ(categories.size(), 3u);
    EXPECT_EQ(categories[0].functions.size(), 6u);
    EXPECT_EQ(categories[1].functions.size(), 3u);
    EXPECT_EQ(categories[2].functions.size(), 3u);
    EXPECT_STREQ(computed::FunctionOf(4)->name, "Square Root");
    EXPECT_EQ(computed::FunctionOf(4)->arguments, 1);
    EXPECT_STREQ(computed::FunctionOf(11)->name, "dBm");
    EXPECT_STREQ(computed::FunctionOf(22)->name, "Quarter Bridge");
    EXPECT_EQ(computed::FunctionOf(6), nullptr);
    EXPECT_EQ(computed::FunctionOf(30), nullptr);
    EXPECT_EQ(computed::ChannelOfItem("<301>Flow"), 301);
}

TEST(ComputedChannel, ArgumentChecks) {
    using computed::Argument;
    const Argument ch101{computed::kChannel, "<101>In", ""};
    const Argument ch301{computed::kChannel, "<301>Out", ""};
    const Argument noItem{computed::kChannel, "", ""};
    const Argument zero{computed::kConstant, "", "0"};
    const Argument minus{computed::kConstant, "", "-4"};
    const Argument empty{computed::kConstant, "", ""};
    const Argument self{computed::kChannel, "<901>Me", ""};
    struct Case {
        int category, function;
        Argument a1, a2;
        long own;
        std::int32_t recordNumber;
        const char* message;
    };
    const Case cases[] = {
        {0, 0, ch101, ch301, 0, 0, ""},
        {0, 0, ch101, noItem, 0, 0, "Argument 2 is empty or invalid"},
        {0, 0, noItem, ch101, 0, 0, "Argument 1 is empty or invalid"},
        {0, 0, zero, zero, 0, 0, "Both arguments can not be constants"},
        {0, 3, ch101, zero, 0, 0, "Argument 2 can not be 0"},
        {0, 1, ch101, zero, 0, 0, ""},
        {1, 0, ch101, zero, 0, 0, "Argument 2 can not be 0"},
        {2, 1, ch101, zero, 0, 0, "Argument 2 can not be 0"},
        {0, 4, minus, noItem, 0, 0, "Argument 1 can not be negative"},
        {0, 5, minus, noItem, 0, 0, ""}, // one argument: the second is not looked at
        {0, 0, empty, ch101, 0, 0, "Argument 1's value is invalid"},
        {0, 0, ch101, self, 901, 901, "Argument 2 can not be itself"},
        {0, 0, ch101, ch301, 10, 10, "Argument(s) ChannelId's can not be greater than <10>"},
    };
    for (const Case& c : cases) {
        CCompChnl record;
        record.Channel = c.recordNumber;
        const auto refusal = computed::Apply(c.category, c.function, c.a1, c.a2, c.own, record);
        EXPECT_EQ(refusal.message, c.message) << c.category << "/" << c.function;
        EXPECT_EQ(record.Operation, c.category * 10 + c.function);
    }
    CCompChnl record;
    ASSERT_FALSE(computed::Apply(0, 5, ch101, ch301, 0, record));
    EXPECT_EQ(record.Arg1.Channel, 101);
    EXPECT_EQ(record.Arg2.Channel, CCompChnlArg::kNone);
    ASSERT_FALSE(computed::Apply(1, 1, ch101, Argument{computed::kConstant, "", "600"}, 0, record));
    EXPECT_EQ(record.Arg2.Channel, CCompChnlArg::kConstant);
    EXPECT_DOUBLE_EQ(record.Arg2.Value, 600.0);
    record.GaugeFactor = 0.0;
    EXPECT_EQ(computed::Apply(0, 0, ch101, ch301, 0, record).message, "Gage Factor can not be 0");
    record.RefExcitation = 0.0;
    EXPECT_EQ(computed::Apply(0, 0, ch101, ch301, 0, record).message,
              "Supply Voltage can not be 0");
}

// --- Scan settings -------------------------------------------------------------

TEST(ScanSettings, IntervalSplitAndJoin) {
    struct Case {
        double seconds;
        int counter, minutes, secs, ms;
        double back;
    };
    const Case cases[] = {
        {0.0, 0, 0, 0, 0, 0.0},
        {10.0, 0, 0, 10, 0, 10.0},
        {2.5, 0, 0, 2, 500, 2.5},
        {1.001, 0, 0, 1, 1, 1.001},
        {86400 + 3600 + 60 + 1.5, 25, 1, 1, 500, 90061.5},
        {359999.999, 99, 59, 59, 999, 359999.999},
        {400000.0, 99, 59, 59, 999, 359999.999}, // cut to 99:59:59.999
    };
    for (const Case& c : cases) {
        const auto p = scansettings::SplitInterval(c.seconds);
        EXPECT_EQ(p.hourCounter, c.counter) << c.seconds;
        EXPECT_EQ(p.minutes, c.minutes) << c.seconds;
        EXPECT_EQ(p.seconds, c.secs) << c.seconds;
        EXPECT_EQ(p.milliseconds, c.ms) << c.seconds;
        EXPECT_DOUBLE_EQ(
            scansettings::JoinInterval(p.hourCounter, p.minutes, p.seconds, p.milliseconds), c.back)
            << c.seconds;
    }
    EXPECT_EQ(scansettings::SplitInterval(90061.5).days, 1);
    EXPECT_EQ(scansettings::SplitInterval(90061.5).hours, 1);
}

TEST(ScanSettings, CountAndAlarmShown) {
    const std::pair<int, int> counts[] = {{0, 1}, {-3, 1}, {1, 1}, {50000, 50000}, {50001, 1}};
    for (const auto& [stored, shown] : counts)
        EXPECT_EQ(scansettings::ShownCount(stored), shown) << stored;
    EXPECT_EQ(scansettings::ShownAlarm(0), -1);
    EXPECT_EQ(scansettings::ShownAlarm(1), 0);
    EXPECT_EQ(scansettings::ShownAlarm(4), 3);
    EXPECT_EQ(scansettings::ShownAlarm(5), -1);
}

TEST(ScanSettings, TimesShownAndChecked) {
    const tvane::CTime now(1700000000);
    EXPECT_EQ(scansettings::ShownStartTime(tvane::CTime(1000), now), now + 60);
    EXPECT_EQ(scansettings::ShownStartTime(now + 3600, now), now + 3600);
    EXPECT_EQ(scansettings::ShownStopTime(tvane::CTime(1000), now + 60), now + 360);

    scansettings::PageValues v;
    v.startMode = CFXScan::kStartTimed;
    v.startTime = now;
    EXPECT_EQ(scansettings::CheckTimes(v, now), sheettext::kStartBeforeNow);
    v.startTime = now + 1;
    EXPECT_EQ(scansettings::CheckTimes(v, now), "");
    v.stopMode = CFXScan::kStopTimed;
    v.stopTime = now;
    EXPECT_EQ(scansettings::CheckTimes(v, now), sheettext::kStopBeforeNow);
    v.stopTime = now + 1; // equal to the start passes
    EXPECT_EQ(scansettings::CheckTimes(v, now), "");
    v.startTime = now + 2;
    EXPECT_EQ(scansettings::CheckTimes(v, now), sheettext::kStopBeforeStart);
    v.startMode = CFXScan::kStartImmediately; // a past start time is not looked at
    v.startTime = now - 100;
    EXPECT_EQ(scansettings::CheckTimes(v, now), "");
}

TEST(ScanSettings, WriteBack) {
    CFXScan scan;
    scan.m_scanCount = 77;
    scan.m_stopTimeText = "kept";
    scansettings::PageValues v;
    v.startMode = CFXScan::kStartOnAlarm;
    v.alarmSelection = -1; // no alarm chosen: the first
    v.stopMode = CFXScan::kStopByUser;
    v.seconds = 2;
    v.milliseconds = 500;
    scansettings::Write(v, false, scan);
    EXPECT_EQ(scan.m_alarmStartChannel, 1);
    EXPECT_EQ(scan.m_scanCount, 77);
    EXPECT_EQ(scan.m_stopTimeText, "kept");
    EXPECT_DOUBLE_EQ(scan.m_scanInterval, 2.5);

    v.startMode = CFXScan::kStartImmediately;
    v.stopMode = CFXScan::kStopAfterCount;
    for (const auto& [typed, stored] : {std::pair{10, 10}, {0, 1}, {50001, 50000}}) {
        v.count = typed;
        scansettings::Write(v, false, scan);
        EXPECT_EQ(scan.m_scanCount, stored);
        EXPECT_EQ(scan.m_stopTimeText, "");
        EXPECT_EQ(scan.m_alarmStartChannel, -1);
    }

    // While scanning only the two flags change.
    v.leaveScanning = true;
    v.count = 5;
    scansettings::Write(v, true, scan);
    EXPECT_EQ(scan.m_leaveScanning, 1);
    EXPECT_EQ(scan.m_scanCount, 50000);
}

} // namespace
