#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/CDynaDatabase.h"
#include "database/CRSCardData.h"
#include "database/CRSCards.h"
#include "database/CRSFunction.h"
#include "database/CRSRange.h"
#include "database/CRSResolution.h"
#include "database/DatabaseMeasurementLookup.h"
#include "database/DatabaseSetupLookup.h"
#include "database/SeedDatabase.h"
#include "scan/CFXSetup.h"
#include "tests/database/OdbcTestSupport.h"

namespace tvane::test {
namespace {

struct Card {
    std::string name;
    int channels;
};
struct Channel {
    std::string model;
    int id, type;
    std::string function, range, resolution, units;
};
struct Function {
    int id, type;
    std::string name;
    int rangeType;
    std::string defaultRange;
    int resolutionType;
    std::string defaultResolution, defaultUnits;
    int advType;
    std::string advDefault;
    double minRange, maxRange;
};

// The lookup tables of a new workspace, read once through the recordsets.
class SeedContentTest : public OdbcTest {
protected:
    void SetUp() override {
        OdbcTest::SetUp();
        if (HasFatalFailure())
            return;
        std::filesystem::create_directories(home.Data());
        const auto path = home.Data() / "tvane.mdb";
        CreateSeedDatabase(path);
        ASSERT_TRUE(db.Open({}, false, true, "ODBC;Driver=SQLite3;Database=" + path.string()));

        CRSCards cards(&db);
        ASSERT_EQ(cards.OpenAll(RS_READONLY), RS_ROWS);
        for (; !cards.IsEOF(); cards.MoveRecord(RS_MOVE_NEXT))
            this->cards.push_back({cards.m_Name, cards.m_Channels});
        CRSCardData data(&db);
        ASSERT_EQ(data.OpenAll(RS_READONLY), RS_ROWS);
        for (; !data.IsEOF(); data.MoveRecord(RS_MOVE_NEXT))
            channels.push_back({data.m_Name, data.m_ChannelId, data.m_FunctionType, data.m_Function,
                                data.m_Range, data.m_Resolution, data.m_Units});
        CRSFunction functions(&db);
        ASSERT_EQ(functions.OpenAll(RS_READONLY), RS_ROWS);
        for (; !functions.IsEOF(); functions.MoveRecord(RS_MOVE_NEXT))
            this->functions.push_back({functions.m_Id, functions.m_Type, functions.m_Name,
                                       functions.m_RangeType, functions.m_DefaultRange,
                                       functions.m_ResolutionType, functions.m_DefaultResolution,
                                       functions.m_DefaultUnits, functions.m_AdvSettingsType,
                                       functions.m_DefaultAdvSettings, functions.m_MinRange,
                                       functions.m_MaxRange});
    }

    std::vector<std::string> FunctionList(int type) const {
        std::vector<std::string> names;
        for (const auto& f : functions)
            if (f.type == type)
                names.push_back(f.name);
        return names;
    }
    const Function* FindFunction(int type, const std::string& name) const {
        for (const auto& f : functions)
            if (f.type == type && f.name == name)
                return &f;
        return nullptr;
    }
    std::vector<std::string> RangeList(int type) {
        CRSRange set(&db);
        std::vector<std::string> names;
        if (set.OpenGivenType(type, RS_READONLY) == RS_ROWS)
            for (; !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
                names.push_back(set.m_Name);
        return names;
    }
    std::vector<std::string> ResolutionList(int type) {
        CRSResolution set(&db);
        std::vector<std::string> names;
        if (set.OpenGivenType(type, RS_READONLY) == RS_ROWS)
            for (; !set.IsEOF(); set.MoveRecord(RS_MOVE_NEXT))
                names.push_back(set.m_Name);
        return names;
    }
    static bool Contains(const std::vector<std::string>& list, const std::string& text) {
        return std::find(list.begin(), list.end(), text) != list.end();
    }

    CDynaDatabase db;
    std::vector<Card> cards;
    std::vector<Channel> channels;
    std::vector<Function> functions;
};

const std::vector<std::string> kTemperatures = {
    "Temp (type B)",  "Temp (type E)", "Temp (type J)", "Temp (type K)",   "Temp (type N)",
    "Temp (type R)",  "Temp (type S)", "Temp (type T)", "Temp 2.2K Therm", "Temp 5K Therm",
    "Temp 10K Therm", "Temp 2w RTD",   "Temp 4w RTD"};

TEST_F(SeedContentTest, ModulesAndTheirChannelRowsAgree) {
    std::vector<std::string> names;
    for (const auto& c : cards)
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"KXQT7101", "KXQT7102", "KXQT7103", "KXQT7104",
                                               "KXQT7105", "KXQT7106", "KXQT7107", "KXQT7108"}));
    const std::map<std::string, int> driverChannels = {
        {"KXQT7101", 22}, {"KXQT7102", 16}, {"KXQT7103", 20}, {"KXQT7104", 32},
        {"KXQT7105", 8},  {"KXQT7106", 8},  {"KXQT7107", 5},  {"KXQT7108", 40}};

    // Rows of a model stand together, in ascending channel order, one per channel.
    std::set<std::string> seen;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const auto& row = channels[i];
        if (i == 0 || channels[i - 1].model != row.model) {
            EXPECT_TRUE(seen.insert(row.model).second) << row.model << " is split";
        } else {
            EXPECT_LT(channels[i - 1].id, row.id) << row.model;
        }
        // Channel numbers slot * 100 + id stay within what the reading parser takes.
        EXPECT_GE(row.id, 1);
        EXPECT_LE(row.id, 48);
    }
    for (const auto& card : cards) {
        const auto count = std::count_if(channels.begin(), channels.end(),
                                         [&](const Channel& c) { return c.model == card.name; });
        EXPECT_EQ(card.channels, count) << card.name;
        EXPECT_EQ(card.channels, driverChannels.at(card.name)) << card.name;
    }
}

TEST_F(SeedContentTest, PairedChannelsLineUpBySetupIndex) {
    // The four-wire partner is the row 10 (QT7101) or 8 (QT7102) further on.
    for (const auto& [model, offset] :
         std::map<std::string, int>{{"KXQT7101", 10}, {"KXQT7102", 8}}) {
        std::vector<Channel> rows;
        for (const auto& c : channels)
            if (c.model == model)
                rows.push_back(c);
        for (int i = 0; i < offset; ++i) {
            EXPECT_EQ(rows[i].id + offset, rows[i + offset].id) << model;
            EXPECT_EQ(rows[i].type, 1) << model << " " << rows[i].id;
            EXPECT_EQ(rows[i + offset].type, 5) << model << " " << rows[i + offset].id;
        }
    }
}

TEST_F(SeedContentTest, FunctionsArePresentUnderEveryTypeThatUsesThem) {
    std::vector<std::string> measured = {"DC volts", "AC volts",  "2w ohms",
                                         "4w ohms",  "Frequency", "Period"};
    measured.insert(measured.end(), kTemperatures.begin(), kTemperatures.end());
    for (int type : {1, 5})
        for (const auto& name : measured)
            EXPECT_NE(FindFunction(type, name), nullptr) << type << " " << name;
    EXPECT_EQ(FunctionList(3), (std::vector<std::string>{"DC current", "AC current"}));
    EXPECT_EQ(FunctionList(2),
              (std::vector<std::string>{"Digital Read 8bit", "Digital Write 8bit"}));
    EXPECT_EQ(FunctionList(4), (std::vector<std::string>{"Totalize", "Totalize (Reset)"}));
    EXPECT_EQ(FunctionList(0), (std::vector<std::string>{"DAC Write Volt"}));

    // Every channel's own function is offered for its type.
    for (const auto& c : channels) {
        if (!c.function.empty()) {
            EXPECT_NE(FindFunction(c.type, c.function), nullptr) << c.model << " " << c.id;
        }
    }

    // Only temperature functions mention "temp", in any case.
    for (const auto& f : functions) {
        std::string lower = f.name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::tolower(ch)); });
        EXPECT_EQ(lower.find("temp") != std::string::npos, Contains(kTemperatures, f.name))
            << f.name;
    }
}

TEST_F(SeedContentTest, ANameCarriesTheSameSettingsUnderEveryType) {
    std::map<std::string, const Function*> first;
    std::set<int> ids;
    for (const auto& f : functions) {
        EXPECT_TRUE(ids.insert(f.id).second) << "Id " << f.id << " repeats";
        auto [it, added] = first.emplace(f.name, &f);
        if (added)
            continue;
        const Function& g = *it->second;
        EXPECT_EQ(f.rangeType, g.rangeType) << f.name;
        EXPECT_EQ(f.resolutionType, g.resolutionType) << f.name;
        EXPECT_EQ(f.defaultRange, g.defaultRange) << f.name;
        EXPECT_EQ(f.defaultResolution, g.defaultResolution) << f.name;
        EXPECT_EQ(f.defaultUnits, g.defaultUnits) << f.name;
        EXPECT_EQ(f.advType, g.advType) << f.name;
        EXPECT_EQ(f.advDefault, g.advDefault) << f.name;
        EXPECT_EQ(f.minRange, g.minRange) << f.name;
        EXPECT_EQ(f.maxRange, g.maxRange) << f.name;
    }
}

TEST_F(SeedContentTest, AdvancedDefaultsFillOnlyTheFieldsTheirBitsAllow) {
    const std::map<std::string, std::string> integration = {
        {"4.5 digits", "0.02"}, {"5.5 digits", "1"}, {"6.5 digits", "10"}};
    const std::set<std::string> units = {"",    "VDC", "VAC", "OHM", "ADC", "AAC", "HZ",
                                         "SEC", "C",   "F",   "K",   "DB",  "WAT"};
    for (const auto& f : functions) {
        ASSERT_EQ(std::count(f.advDefault.begin(), f.advDefault.end(), ';'), 13) << f.name;
        std::vector<std::string> fields;
        std::string field;
        for (char c : f.advDefault) {
            if (c == ';') {
                fields.push_back(field);
                field.clear();
            } else {
                field += c;
            }
        }
        for (int n = 0; n < 13; ++n) {
            if (!fields[n].empty()) {
                EXPECT_TRUE(f.advType & (1 << n)) << f.name << " field " << n + 1;
            }
        }
        if (f.advType & 0x2) {
            EXPECT_EQ(fields[1], integration.at(f.defaultResolution)) << f.name;
        }
        EXPECT_TRUE(units.count(f.defaultUnits)) << f.name;
        EXPECT_LT(f.minRange, f.maxRange) << f.name;
    }
    // What the instrument commands need of each function.
    auto adv = [&](const char* name) { return FindFunction(1, name)->advType; };
    for (const char* name : {"DC volts", "2w ohms", "4w ohms", "Temp (type K)", "Temp 2w RTD"})
        EXPECT_TRUE(adv(name) & 0x2) << name;
    EXPECT_TRUE(adv("4w ohms") & 0x100);
    for (const char* name : {"Frequency", "Period"})
        EXPECT_TRUE(adv(name) & 0x4) << name;
    EXPECT_TRUE(FindFunction(3, "AC current")->advType & 0x4);
    for (const auto& name : kTemperatures)
        EXPECT_TRUE(adv(name.c_str()) & 0x8) << name;
    EXPECT_EQ(adv("Temp (type N)") & 0x10, 0x10);
    EXPECT_EQ(adv("Temp 4w RTD") & 0x60, 0x60);
}

TEST_F(SeedContentTest, RangesAndResolutionsHaveTheUploadedFormsFinestFirst) {
    EXPECT_EQ(RangeList(1), (std::vector<std::string>{"Auto", "+/- 100 mV", "+/- 1 V", "+/- 10 V",
                                                      "+/- 100 V", "+/- 300 V"}));
    EXPECT_EQ(RangeList(2),
              (std::vector<std::string>{"Auto", "100 mV", "1 V", "10 V", "100 V", "300 V"}));
    EXPECT_EQ(RangeList(3), (std::vector<std::string>{"Auto", "100  ", "1 K ", "10 K ", "100 K ",
                                                      "1 M ", "10 M ", "100 M "}));
    EXPECT_EQ(RangeList(4), (std::vector<std::string>{"Auto", "10 mA", "100 mA", "1 A"}));
    EXPECT_EQ(ResolutionList(1),
              (std::vector<std::string>{"6.5 digits", "5.5 digits", "4.5 digits"}));

    // Each default is an item of its own list, or empty with no list at all.
    for (const auto& f : functions) {
        const auto ranges = RangeList(f.rangeType);
        const auto resolutions = ResolutionList(f.resolutionType);
        EXPECT_TRUE(f.defaultRange.empty() ? ranges.empty() : Contains(ranges, f.defaultRange))
            << f.name;
        EXPECT_TRUE(f.defaultResolution.empty() ? resolutions.empty()
                                                : Contains(resolutions, f.defaultResolution))
            << f.name;
    }
}

TEST_F(SeedContentTest, NewSetupRowsFromEveryModuleMatchTheTables) {
    DatabaseSetupLookup lookup(&db);
    for (const auto& c : channels) {
        CFXSetup row;
        row.Name = c.model;
        row.Channel = static_cast<std::uint32_t>(c.id + 200);
        ASSERT_TRUE(row.SetFromCardData(lookup)) << c.model << " " << c.id;
        row.SetFunctionDefaults();
        const std::string where = c.model + " " + std::to_string(c.id);
        EXPECT_EQ(row.FunctionType, static_cast<std::uint32_t>(c.type)) << where;
        if (c.type == 0) {
            EXPECT_EQ(row.CellFlags, CFXSetup::kCellAll) << where;
            continue;
        }
        const Function* f = FindFunction(c.type, row.Function);
        ASSERT_NE(f, nullptr) << where;
        EXPECT_EQ(row.AdvSettingsType, static_cast<std::uint32_t>(f->advType)) << where;
        EXPECT_EQ(row.AdvSettings, f->advDefault) << where;
        EXPECT_EQ(row.Range, f->defaultRange) << where;
        EXPECT_EQ(row.Resolution, f->defaultResolution) << where;
        // A column is locked exactly when its list offers nothing to choose.
        EXPECT_EQ((row.CellFlags & CFXSetup::kCellRange) != 0, RangeList(f->rangeType).empty())
            << where;
        EXPECT_EQ((row.CellFlags & CFXSetup::kCellResolution) != 0,
                  ResolutionList(f->resolutionType).empty())
            << where;
        EXPECT_FALSE(row.Alarms.empty()) << where;
    }
}

TEST_F(SeedContentTest, MeasurementListsOfTheChannelSheet) {
    DatabaseMeasurementLookup lookup(&db);
    std::vector<std::string> names;
    ASSERT_EQ(lookup.Functions(1, names), IMeasurementLookup::kRows);
    EXPECT_EQ(names.front(), "DC volts");
    EXPECT_TRUE(Contains(names, "4w ohms"));
    MeasurementFunction f;
    ASSERT_EQ(lookup.FindFunction(1, "4w ohms", f), IMeasurementLookup::kRows);
    EXPECT_EQ(f.RangeType, 3);
    EXPECT_EQ(f.DefaultResolution, "5.5 digits");
    EXPECT_EQ(f.AdvSettingsType, 770u);
    EXPECT_EQ(f.DefaultAdvSettings, ";1;;;;;;;OFF;AUTO;;;;");
    EXPECT_EQ(lookup.FindFunction(1, "no such function", f), IMeasurementLookup::kEmpty);
    ASSERT_EQ(lookup.Ranges(3, names), IMeasurementLookup::kRows);
    EXPECT_EQ(names, RangeList(3));
    ASSERT_EQ(lookup.Resolutions(1, names), IMeasurementLookup::kRows);
    EXPECT_EQ(names.front(), "6.5 digits");
    // A closed database fails, which the sheet reports.
    db.Close();
    EXPECT_EQ(lookup.Functions(1, names), IMeasurementLookup::kFailed);
}

} // namespace
} // namespace tvane::test
