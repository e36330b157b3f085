#include "ArchiveHelpers.h"
#include "platform/core/Services.h"
#include "scan/CChannelArray.h"
#include "scan/CFXSetup.h"
#include "scan/ChannelCodes.h"
#include "scan/FakeSetupLookup.h"
#include "scan/SettingText.h"
#include "scan/records/CChannelConfig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using scantest::Bytes;

namespace {

CFXSetup FilledRow() {
    CFXSetup row;
    row.Name = "KXQT7101";
    row.Channel = 105;
    row.ChannelName = "Oven";
    row.ChannelMode = 1;
    row.Function = "Temp (type K)";
    row.Range = "";
    row.Resolution = "5.5 digits";
    row.Scaling = 1;
    row.Gain = "2.5";
    row.Offset = "-1";
    row.Units = "degC";
    row.Alarms = "High/Low";
    row.AlarmHi = "250";
    row.AlarmLo = "-20";
    row.AlarmEvent = "Alarm2";
    row.Comment = std::string(300, 'c'); // a long text takes the 16-bit length form
    row.FunctionType = 1;
    row.AdvSettingsType = 0x0A;
    row.AdvSettings = ";1;;C;";
    row.AlarmActions = "4;;;;;";
    row.ActionValue = "1.000000e+00";
    row.CellFlags = 0x1234;
    return row;
}

void ExpectSameRow(const CFXSetup& a, const CFXSetup& b) {
    EXPECT_EQ(a.Name, b.Name);
    EXPECT_EQ(a.Channel, b.Channel);
    EXPECT_EQ(a.ChannelName, b.ChannelName);
    EXPECT_EQ(a.ChannelMode, b.ChannelMode);
    EXPECT_EQ(a.Function, b.Function);
    EXPECT_EQ(a.Range, b.Range);
    EXPECT_EQ(a.Resolution, b.Resolution);
    EXPECT_EQ(a.Scaling, b.Scaling);
    EXPECT_EQ(a.Gain, b.Gain);
    EXPECT_EQ(a.Offset, b.Offset);
    EXPECT_EQ(a.Units, b.Units);
    EXPECT_EQ(a.Alarms, b.Alarms);
    EXPECT_EQ(a.AlarmHi, b.AlarmHi);
    EXPECT_EQ(a.AlarmLo, b.AlarmLo);
    EXPECT_EQ(a.AlarmEvent, b.AlarmEvent);
    EXPECT_EQ(a.Comment, b.Comment);
    EXPECT_EQ(a.FunctionType, b.FunctionType);
    EXPECT_EQ(a.AdvSettingsType, b.AdvSettingsType);
    EXPECT_EQ(a.AdvSettings, b.AdvSettings);
    EXPECT_EQ(a.AlarmActions, b.AlarmActions);
    EXPECT_EQ(a.ActionValue, b.ActionValue);
    EXPECT_EQ(a.CellFlags, b.CellFlags);
}

TEST(CFXSetupArchive, DefaultRowIsFortyZeroBytes) {
    CFXSetup row;
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { row.Serialize(ar); });
    EXPECT_EQ(bytes, Bytes(40, 0));
}

TEST(CFXSetupArchive, FilledRowRoundTripsInFieldOrder) {
    CFXSetup row = FilledRow();
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { row.Serialize(ar); });
    // Field order: the module text first, then the 32-bit channel number.
    ASSERT_GE(bytes.size(), 13u);
    EXPECT_EQ(bytes[0], 8);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 9), "KXQT7101");
    EXPECT_EQ(bytes[9], 105);
    EXPECT_EQ(bytes[10], 0);

    CFXSetup loaded;
    scantest::Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); });
    ExpectSameRow(loaded, row);

    // As an object with its class tag, the way the setup array stores it.
    Bytes tagged = scantest::Store([&](tvane::CArchive& ar) { ar.WriteObject(&row); });
    const Bytes head = {0xFF, 0xFF, 0, 0, 8, 0, 'C', 'F', 'X', 'S', 'e', 't', 'u', 'p'};
    ASSERT_GT(tagged.size(), head.size());
    EXPECT_EQ(Bytes(tagged.begin(), tagged.begin() + head.size()), head);
    std::unique_ptr<CFXSetup> read;
    scantest::Load(tagged, [&](tvane::CArchive& ar) { read = ar.ReadOwnedObject<CFXSetup>(); });
    ASSERT_TRUE(read);
    ExpectSameRow(*read, row);
}

TEST(CFXSetupArchive, TruncatedRowThrows) {
    CFXSetup row = FilledRow();
    Bytes bytes = scantest::Store([&](tvane::CArchive& ar) { row.Serialize(ar); });
    bytes.resize(bytes.size() - 3);
    CFXSetup loaded;
    EXPECT_THROW(scantest::Load(bytes, [&](tvane::CArchive& ar) { loaded.Serialize(ar); }),
                 tvane::CArchiveException);
}

struct FlagCase {
    const char* name;
    const char* module;
    std::uint32_t kind;
    const char* function;
    const char* range;
    const char* resolution;
    std::int32_t scaling;
    const char* alarms;
    std::uint32_t expected;
};

TEST(CFXSetup, SetCellFlags) {
    const FlagCase cases[] = {
        {"scaled, range, resolution, alarm off", "KXQT7101", 1, "DC volts", "10 V", "5.5 digits", 1,
         "Off", 0x1700},
        {"scaled high/low", "KXQT7101", 1, "DC volts", "10 V", "5.5 digits", 1, "High/Low", 0},
        {"no range, no resolution, unscaled", "KXQT7101", 3, "DC volts", "", "", 0, "", 0x76},
        {"unknown kind is a measurement", "KXQT7108", 9, "DC volts", "", "x", 1, "low only", 0x102},
        {"not a measurement", "KXQT7101", 0, "", "", "", 0, "Off", 0xFFFFFFFF},
        {"digital read", "KXQT7103", 2, "Digital Read 8bit", "", "", 1, "Equal", 0xA06},
        {"digital write", "KXQT7103", 2, "Digital Write 8bit", "", "", 1, "High/Low", 0x3F86},
        {"digital write, case differs", "KXQT7103", 2, "digital write 8bit", "", "", 1, "High/Low",
         0x806},
        {"fixed", "KXQT7104", 4, "Totalize", "1", "1", 1, "Not Equal", 0x206},
        {"4w RTD taken over", "KXQT7101", 5, "Temp 4w RTD", "", "", 0, "Off", 0xFFFFFFFF},
        {"4w ohms taken over", "KXQT7101", 5, "4w ohms", "1", "1", 1, "", 0xFFFFFFFF},
        {"pairable, other function", "KXQT7101", 5, "DC volts", "1", "", 1, "High Only", 0x204},
        {"module 7107", "KXQT7107", 1, "DC volts", "1", "1", 1, "High/Low", 0x78},
        {"module 7107 lower case", "kxqt7107", 1, "DC volts", "1", "1", 0, "Off", 0x1778},
        {"module 7107 fully disabled", "KXQT7107", 0, "", "", "", 0, "", 0xFFFFFFFF},
        {"computed", "Computed", 1, "DC volts", "", "", 1, "Low Only", 0x507},
        {"computed unscaled", "Computed", 0, "", "", "", 0, "Off", 0x1777},
    };
    for (const auto& c : cases) {
        CFXSetup row;
        row.Name = c.module;
        row.FunctionType = c.kind;
        row.Function = c.function;
        row.Range = c.range;
        row.Resolution = c.resolution;
        row.Scaling = c.scaling;
        row.Alarms = c.alarms;
        row.CellFlags = 0x5555;
        row.SetCellFlags();
        EXPECT_EQ(row.CellFlags, c.expected) << c.name;
    }
}

TEST(CFXSetup, AlarmAndScalingDefaults) {
    CFXSetup off;
    off.Alarms = "oFF";
    off.SetAlarmDefaults();
    EXPECT_EQ(off.AlarmEvent, "");
    EXPECT_EQ(off.AlarmActions, "");

    CFXSetup on;
    on.Alarms = "High/Low";
    on.SetAlarmDefaults();
    EXPECT_EQ(on.AlarmEvent, "Alarm1");
    EXPECT_EQ(on.AlarmActions, "4;;;;;");
    on.AlarmEvent = "Alarm3";
    on.AlarmActions = "1;;;;;";
    on.SetAlarmDefaults();
    EXPECT_EQ(on.AlarmEvent, "Alarm3");
    EXPECT_EQ(on.AlarmActions, "1;;;;;");

    CFXSetup disabled = FilledRow();
    disabled.CellFlags = CFXSetup::kCellAlarmTest;
    disabled.SetAlarmDefaults();
    EXPECT_EQ(disabled.Alarms + disabled.AlarmHi + disabled.AlarmLo + disabled.AlarmEvent, "");
    EXPECT_EQ(disabled.AlarmActions, ";;;;;");

    CFXSetup scaled = FilledRow(); // scaling on: untouched
    scaled.SetScalingDefaults();
    EXPECT_EQ(scaled.Gain, "2.5");
    scaled.Scaling = 0;
    scaled.CellFlags = 0;
    scaled.SetScalingDefaults();
    EXPECT_EQ(scaled.Gain, "1.0");
    EXPECT_EQ(scaled.Offset, "0.0");
    EXPECT_EQ(scaled.Units, "degC");
    scaled.CellFlags = CFXSetup::kCellScale;
    scaled.SetScalingDefaults();
    EXPECT_EQ(scaled.Gain + scaled.Offset + scaled.Units, "");
}

TEST(CFXSetup, IsScanCapableByModuleAndChannel) {
    const struct {
        const char* module;
        std::uint32_t channel;
        bool capable;
    } cases[] = {
        {"KXQT7101", 120, true},  {"KXQT7102", 201, true},  {"KXQT7108", 340, true},
        {"KXQT7107", 103, true},  {"KXQT7107", 104, false}, {"KXQT7107", 300, true},
        {"kxqt7101", 101, false}, {"KXQT7103", 101, false}, {"Computed", 901, false},
        {"", 101, false},
    };
    for (const auto& c : cases) {
        CFXSetup row;
        row.Name = c.module;
        row.Channel = c.channel;
        EXPECT_EQ(row.IsScanCapable(), c.capable) << c.module << " " << c.channel;
    }
}

TEST(ChannelCodes, FunctionCodeAndText) {
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"DC volts", 0},
        {"ac VOLTS", 1},
        {"2w ohms", 2},
        {"4W OHMS", 3},
        {"Frequency", 4},
        {"period", 5},
        {"Temp (type K)", 6},
        {"temp 10K Therm", 6},
        {"My Temperature", 6},
        {"DC current", 7},
        {"AC current", 8},
        {"Digital Read 8bit", 9},
        {"Digital Write 8bit", 10},
        {"Totalize", 11},
        {"Totalize (Reset)", 12},
        {"DAC Write Volt", 13},
        {"", 18},
        {"DC volts ", 18},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FunctionCode(c.text), c.code) << c.text;
    for (int code = 0; code <= 13; ++code) {
        if (code == 6)
            continue;
        EXPECT_EQ(FunctionCode(FunctionText(code)), code);
    }
    EXPECT_EQ(FunctionText(6, 3), "Temp (type K)");
    EXPECT_EQ(FunctionText(6, 12), "Temp 4w RTD");
    EXPECT_EQ(FunctionText(6, 13), "");
    EXPECT_EQ(FunctionText(18), "");
    EXPECT_EQ(FunctionText(-1), "");
    for (int sub = 0; sub <= 12; ++sub)
        EXPECT_EQ(TemperatureCode(TemperatureText(sub)), sub);
    EXPECT_EQ(TemperatureCode("TEMP (TYPE n)"), 7);
    EXPECT_EQ(TemperatureCode("Temp"), 13);

    EXPECT_EQ(AlarmTestCode("high/low"), 3);
    EXPECT_EQ(AlarmTestCode("Not Equal"), 5);
    EXPECT_EQ(AlarmTestCode("Off"), 0);
    EXPECT_EQ(AlarmOutputCode("alarm4"), 3);
    EXPECT_EQ(AlarmOutputCode(""), 4);
    EXPECT_EQ(ModuleCode("KXQT7108"), 7);
    EXPECT_EQ(ModuleCode("kxqt7108"), 8);
    EXPECT_EQ(ReadingValue("300.7", 9), 44.0); // low 8 bits of 300
    EXPECT_EQ(ReadingValue("1e300", 10), 0.0);
    EXPECT_EQ(ReadingValue("300.7", 0), 300.7);
}

TEST(ChannelCodes, RangeLimits) {
    const struct {
        const char* text;
        int function;
        double minimum, maximum;
    } cases[] = {
        {"+/- 100 mV", 0, -0.1, 0.1}, {"10 V", 1, 0.0, 10.0},      {"Auto", 0, 0.0, 0.0},
        {"auto", 0, 0.0, 0.0}, // only the exact word is autorange; no digit gives 0
        {"100 K ", 2, 0.0, 100000.0}, {"1 M ", 3, 0.0, 1000000.0}, {"+/- 300 V", 0, -300.0, 300.0},
        {"10 mA", 7, 0.0, 0.01},      {"100 V", 6, 0.0, 0.0}, // temperature has no range
        {"10 V", 9, 0.0, 255.0},                              // digital ports span a byte
        {"", 10, 0.0, 255.0},         {"0.5 V", 0, 0.0, 5.0}, // the scan starts at the first digit
                                                              // 1-9
    };
    for (const auto& c : cases) {
        double lo = 99, hi = 99;
        RangeLimits(c.text, c.function, lo, hi);
        EXPECT_DOUBLE_EQ(lo, c.minimum) << c.text;
        EXPECT_DOUBLE_EQ(hi, c.maximum) << c.text;
    }
    std::string lo, hi;
    RangeLimitTexts("Auto", 0, lo, hi);
    EXPECT_EQ(lo + "," + hi, "Auto,Auto");
    RangeLimitTexts("+/- 100 mV", 0, lo, hi);
    EXPECT_EQ(lo + "," + hi, "-0.1,0.1");
}

TEST(ChannelCodes, FormatRangeValue) {
    const struct {
        const char* value;
        int function;
        const char* text;
    } cases[] = {
        {"AUTO", 0, "Auto"},   {"0.1", 0, "+/- 100 mV"},
        {"10", 0, "+/- 10 V"}, {"300", 1, "300 V"},
        {"1E+5", 2, "100 K "}, {"1E6", 3, "1 M "},
        {"3", 4, "3 V"},       {"0.01", 7, "10 mA"},
        {"1", 8, "1 A"},       {"100", 6, ""},
        {"1", 13, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatRangeValue(c.value, c.function), c.text) << c.value;
        if (*c.text != '\0' && std::string(c.text) != "Auto") {
            // The texts made here read back to the value.
            double lo = 0, hi = 0;
            RangeLimits(c.text, c.function, lo, hi);
            EXPECT_DOUBLE_EQ(hi, std::atof(c.value)) << c.text;
        }
    }
}

TEST(CFXSetup, SetFromCardDataFoldsTheChannelIntoTheModule) {
    FakeSetupLookup lookup;
    CardDataRow card;
    card.ChannelName = "Ch 5";
    card.ChannelMode = 1;
    card.Function = "DC volts";
    card.Range = "Auto";
    card.Resolution = "5.5 digits";
    card.Gain = "1.0";
    card.Offset = "0.0";
    card.Alarms = "Off";
    card.FunctionType = 1;
    lookup.cards[{"KXQT7101", 5}] = card;
    lookup.functions = {{"AC volts", 4, "x;y;z;"}, {"DC volts", 0x82, "10M;1;;;;;;0.1;"}};

    CFXSetup row;
    row.Name = "KXQT7101";
    row.Channel = 305;
    EXPECT_TRUE(row.SetFromCardData(lookup));
    ASSERT_EQ(lookup.asked.size(), 1u);
    EXPECT_EQ(lookup.asked[0].second, 5);
    EXPECT_EQ(row.Channel, 305u);
    EXPECT_EQ(row.ChannelName, "Ch 5");
    EXPECT_EQ(row.Resolution, "5.5 digits");
    EXPECT_EQ(row.FunctionType, 1u);
    EXPECT_EQ(row.AdvSettingsType, 0x82u);
    EXPECT_EQ(row.AdvSettings, "10M;1;;;;;;0.1;");

    // Channel 100 of a slot stays 100.
    row.Channel = 200;
    row.SetFromCardData(lookup);
    EXPECT_EQ(lookup.asked.back().second, 100);

    // Missing function row: no advanced settings.
    lookup.cards[{"KXQT7101", 6}] = card;
    lookup.cards[{"KXQT7101", 6}].Function = "Frequency";
    row.Channel = 106;
    EXPECT_TRUE(row.SetFromCardData(lookup));
    EXPECT_EQ(row.Function, "Frequency");
    EXPECT_EQ(row.AdvSettingsType, 0u);
    EXPECT_EQ(row.AdvSettings, "");

    // Missing CardData row: false, the row unchanged.
    CFXSetup before = row;
    row.Channel = 107;
    EXPECT_FALSE(row.SetFromCardData(lookup));
    EXPECT_EQ(row.Function, before.Function);
    EXPECT_EQ(row.ChannelName, before.ChannelName);

    // The function table cannot be opened: false.
    lookup.functionsOpen = false;
    row.Channel = 105;
    EXPECT_FALSE(row.SetFromCardData(lookup));

    // Without arguments the row uses the installed lookup, and fails without one.
    EXPECT_FALSE(row.SetFromCardData());
    lookup.functionsOpen = true;
    tvane::ScopedService<ISetupLookup> installed(SetSetupLookup, &lookup);
    EXPECT_TRUE(row.SetFromCardData());
}

TEST(CFXSetup, FillChannelConfigFromARow) {
    CFXSetup row;
    row.Name = "KXQT7102";
    row.Channel = 210;
    row.ChannelMode = 0x10001; // low 16 bits count
    row.Function = "Temp (type J)";
    row.Range = "Auto";
    row.Resolution = "5.5 digits";
    row.Scaling = 1;
    row.Gain = "2";
    row.Offset = "3";
    row.Units = "F";
    row.Alarms = "Low Only";
    row.AlarmHi = "100";
    row.AlarmLo = "-5";
    row.AlarmEvent = "Alarm3";
    row.AdvSettingsType = 0x0A;
    row.AdvSettings = ";0.2;;F;";

    CChannelConfig config;
    ASSERT_TRUE(row.FillChannelConfig(config));
    EXPECT_EQ(config.ModuleType, 1);
    EXPECT_EQ(config.Channel, 210);
    EXPECT_EQ(config.InScanList, 1);
    EXPECT_EQ(config.Function, 6);
    EXPECT_EQ(config.SubType, 2);
    EXPECT_EQ(config.RangeLow, "Auto");
    EXPECT_EQ(config.Range, "Auto");
    EXPECT_EQ(config.Resolution, "0.2"); // the integration setting wins
    EXPECT_EQ(config.IntegrationCode, 9);
    EXPECT_EQ(config.ScalingOn, 1);
    EXPECT_EQ(config.Gain + config.Offset + config.Unit, "23F");
    EXPECT_EQ(config.AlarmMode, 1);
    EXPECT_EQ(config.LowLimit, "-5");
    EXPECT_EQ(config.HighLimit, "100");
    EXPECT_EQ(config.AlarmOutput, 2);
    const std::vector<CChannelSetting> settings = {{0x2, "0.2"}, {0x8, "F"}};
    EXPECT_EQ(config.Options, settings);

    // "Custom" resolution: the aperture field becomes the resolution.
    CFXSetup custom;
    custom.Name = "KXQT7101";
    custom.Channel = 101;
    custom.Function = "DC volts";
    custom.Range = "+/- 10 V";
    custom.Resolution = "Custom";
    custom.AdvSettingsType = 0x80;
    custom.AdvSettings = ";Custom;;;;;;0.005;";
    CChannelConfig c2;
    ASSERT_TRUE(custom.FillChannelConfig(c2));
    EXPECT_EQ(c2.SubType, 13);
    EXPECT_EQ(c2.RangeLow, "-10");
    EXPECT_EQ(c2.Range, "10");
    EXPECT_EQ(c2.Resolution, "0.005");
    EXPECT_EQ(c2.IntegrationCode, 0);
    EXPECT_EQ(c2.AlarmOutput, 4);

    CFXSetup computed;
    computed.Name = "Computed";
    CChannelConfig untouched;
    EXPECT_FALSE(computed.FillChannelConfig(untouched));
    EXPECT_EQ(untouched.Function, 18);
}

TEST(CFXSetup, SetIntegrationCodesAndApertureThresholds) {
    const struct {
        int code;
        const char* value;
        const char* resolution;
        const char* field2;
        const char* field8;
    } cases[] = {
        {1, "x", "4.5 digits", "0.02", "a"},
        {2, "x", "5.5 digits", "0.2", "a"},
        {3, "x", "5.5 digits", "1", "a"},
        {4, "x", "6.5 digits", "2", "a"},
        {5, "x", "6.5 digits", "10", "a"},
        {6, "x", "6.5 digits", "20", "a"},
        {7, "x", "6.5 digits", "100", "a"},
        {8, "x", "6.5 digits", "200", "a"},
        {9, "x", "old", "i", "a"},
        {0, "0.001", "4.5 digits", "Custom", "0.001"},
        {0, "0.00333325", "4.5 digits", "Custom", "0.00333325"},
        {0, "0.0033333", "5.5 digits", "Custom", "0.0033333"},
        {0, "0.0333329", "5.5 digits", "Custom", "0.0333329"},
        {0, "0.033333", "6.5 digits", "Custom", "0.033333"},
        {12, "1", "6.5 digits", "Custom", "1"},
    };
    for (const auto& c : cases) {
        CFXSetup row;
        row.Resolution = "old";
        row.AdvSettings = "r;i;;;;;;a;";
        row.SetIntegration(c.code, c.value);
        EXPECT_EQ(row.Resolution, c.resolution) << c.code << " " << c.value;
        EXPECT_EQ(GetSettingField(2, row.AdvSettings), c.field2) << c.code;
        EXPECT_EQ(GetSettingField(8, row.AdvSettings), c.field8) << c.code;
        EXPECT_EQ(GetSettingField(1, row.AdvSettings), "r");
    }
}

TEST(CFXSetup, ChannelInfoAndBitChannels) {
    CFXSetup row;
    row.Channel = 305;
    row.ChannelName = "Valves";
    row.ChannelMode = 1;
    row.Function = "DC volts";
    row.Range = "+/- 100 mV";
    row.Alarms = "equal";
    row.AlarmHi = "1.5";
    row.AlarmLo = "-2";
    row.Units = "mV";
    CChannelInfo info;
    row.FillChannelInfo(&info, 0x10);
    EXPECT_EQ(info.Number, 305);
    EXPECT_EQ(info.Label, "<305>");
    EXPECT_EQ(info.Name, "Valves");
    EXPECT_EQ(info.AlarmTest, 4);
    EXPECT_DOUBLE_EQ(info.HighLimit, 1.5);
    EXPECT_DOUBLE_EQ(info.LowLimit, -2.0);
    EXPECT_DOUBLE_EQ(info.RangeMin, -0.1);
    EXPECT_DOUBLE_EQ(info.RangeMax, 0.1);
    EXPECT_EQ(info.Units, "mV");
    EXPECT_EQ(info.Scanned, 1);
    EXPECT_EQ(info.Kind, 0x10);

    row.Range = "Auto"; // autorange leaves the record's range alone
    CChannelInfo keeps;
    row.FillChannelInfo(&keeps, 1);
    EXPECT_EQ(keeps.RangeMin, -1.0);
    EXPECT_EQ(keeps.RangeMax, 1.0);

    for (std::uint32_t kind : {0x400u, 0x800u, 0x2u}) {
        CChannelArray channels;
        row.AddBitChannels(channels, kind);
        ASSERT_EQ(channels.GetSize(), 8u);
        for (std::size_t i = 0; i < 8; ++i) {
            const CChannelInfo* bit = channels.GetAt(i);
            EXPECT_EQ(bit->Number, 305);
            EXPECT_EQ(bit->Label, "<305>");
            EXPECT_EQ(bit->Name, "Bit " + std::to_string(i));
            EXPECT_EQ(bit->BitMask, 1u << i);
            EXPECT_EQ(bit->Kind, kind == 0x400 ? 4 : kind == 0x800 ? 8 : 0);
        }
        EXPECT_EQ(channels.GetAt(7)->IsBitSet(0x80), kind != 0x2);
        channels.DeleteAll();
    }
}

} // namespace

namespace {

TEST(CFXSetup, AlarmTestAndOutputFromTheInstrument) {
    const struct {
        std::int16_t code;
        const char* text;
    } tests[] = {{1, "Low Only"},  {2, "High Only"}, {3, "High/Low"}, {4, "Equal"},
                 {5, "Not Equal"}, {0, "Off"},       {6, "Off"},      {-1, "Off"}};
    for (const auto& t : tests) {
        CFXSetup row;
        row.SetAlarmTest(t.code);
        EXPECT_EQ(row.Alarms, t.text) << t.code;
        EXPECT_EQ(AlarmTestCode(row.Alarms), t.code >= 1 && t.code <= 5 ? t.code : 0);
    }

    const struct {
        const char* channel;
        const char* lists[4];
        const char* output;
    } outputs[] = {
        {"105", {"101,105", "105", "", ""}, "Alarm1"},
        {"105", {"", "201,202", "105", "105"}, "Alarm3"},
        {"105", {"", "", "", "(@105)"}, "Alarm4"},
        {"105", {"101", "", "", ""}, ""},
    };
    for (const auto& o : outputs) {
        CFXSetup row;
        row.AlarmEvent = "Alarm2";
        row.SetAlarmOutput(o.channel, o.lists[0], o.lists[1], o.lists[2], o.lists[3]);
        EXPECT_EQ(row.AlarmEvent, o.output);
    }
}

TEST(CFXSetup, CopyTakesEveryField) {
    CFXSetup row = FilledRow();
    CFXSetup copy(row);
    ExpectSameRow(copy, row);
    EXPECT_TRUE(copy.IsKindOf(RUNTIME_CLASS(CFXSetup)));
    EXPECT_FALSE(copy.IsComputed());
    copy.Name = "Computed";
    EXPECT_TRUE(copy.IsComputed());
    EXPECT_FALSE(copy.IsScanCapable());
}

} // namespace
