#include "setup/MeasurementRules.h"

#include <cstdlib>

#include "platform/core/Format.h"
#include "setup/SheetTexts.h"

namespace measurement {
namespace {

bool ReadNumber(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    return end != begin;
}

double NumberOr(const std::string& text, double fallback) {
    double value = 0.0;
    return ReadNumber(text, value) ? value : fallback;
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

const char* Choice(int index, std::initializer_list<const char*> words) {
    if (index < 0 || index >= static_cast<int>(words.size()))
        return "";
    return *(words.begin() + index);
}

} // namespace

std::string Field(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 1; i <= n; ++i) {
        const std::size_t end = text.find(';', start);
        if (end == std::string::npos)
            return {};
        if (i == n)
            return text.substr(start, end - start);
        start = end + 1;
    }
    return {};
}

AdvancedValues LoadAdvanced(std::uint32_t mask, const std::string& text, double defaultDelay,
                            AdvancedValues v) {
    if (mask & 0x0001)
        v.inputResistance = Field(text, 1) == "ON" ? 1 : 0;
    if (mask & 0x0002) {
        v.integration = Field(text, 2);
        if (v.integration == kCustom)
            v.customIntegration = NumberOr(Field(text, 8), 0.0);
    }
    if (mask & 0x0004) {
        const std::string f = Field(text, 3);
        v.lowFrequency = f == "3" ? 0 : f == "200" ? 2 : 1;
    }
    if (mask & 0x0008) {
        const std::string f = Field(text, 4);
        v.units = f == "F" ? 1 : f == "K" ? 2 : 0;
    }
    if (mask & 0x0010)
        v.thermocoupleCheck = Field(text, 5) == "ON";
    if (mask & 0x0400) {
        const std::string f = Upper(Field(text, 11));
        v.referenceJunction = f == "FIX" ? 1 : f == "EXT" ? 2 : 0;
    }
    if (mask & 0x0800)
        v.referenceTemperature = NumberOr(Field(text, 12), 0.0);
    if (mask & 0x0020)
        v.rtd = Field(text, 6) == "91" ? 1 : 0;
    if (mask & 0x0040)
        v.r0 = Field(text, 7);
    if (mask & 0x0080) {
        const std::string f = Field(text, 8);
        v.aperture = f == "0.01" ? 0 : f == "1" ? 2 : 1;
    }
    if (mask & 0x0100)
        v.offsetCompensation = Field(text, 9) == "ON" ? 1 : 0;
    if (mask & 0x0200) {
        const std::string f = Field(text, 10);
        if (f.empty() || f == kDelayAuto) {
            v.delayMode = kDelayAuto;
            v.delaySeconds = defaultDelay;
        } else {
            v.delayMode = kDelayTime;
            v.delaySeconds = NumberOr(f, 0.0);
        }
    }
    if (mask & 0x1000)
        v.edge = Field(text, 13) == "NEG" ? 1 : 0;
    return v;
}

StoredAdvanced StoreAdvanced(std::uint32_t mask, const AdvancedValues& v) {
    StoredAdvanced out;
    std::string fields[14];
    if (mask & 0x0001)
        fields[1] = v.inputResistance == 1 ? "ON" : "OFF";
    if (mask & 0x0002) {
        fields[2] = v.integration;
        if (fields[2].empty()) {
            fields[2] = "1";
            out.integrationDefaulted = true;
        }
    }
    if (mask & 0x0004)
        fields[3] = Choice(v.lowFrequency, {"3", "20", "200"});
    if (mask & 0x0008) {
        fields[4] = Choice(v.units, {"C", "F", "K"});
        out.units = fields[4];
    }
    if (mask & 0x0010)
        fields[5] = v.thermocoupleCheck ? "ON" : "OFF";
    if (mask & 0x0020)
        fields[6] = Choice(v.rtd, {"85", "91"});
    if (mask & 0x0040)
        fields[7] = v.r0.empty() ? "49" : v.r0;
    if (mask & 0x0080)
        fields[8] = Choice(v.aperture, {"0.01", "0.1", "1"});
    else if ((mask & 0x0002) && v.integration == kCustom)
        fields[8] = tvane::Format("%g", v.customIntegration);
    if (mask & 0x0100)
        fields[9] = v.offsetCompensation == 1 ? "ON" : "OFF";
    if (mask & 0x0200)
        fields[10] = v.delayMode == kDelayTime ? tvane::Format("%lf", v.delaySeconds) : kDelayAuto;
    if (mask & 0x0400)
        fields[11] = Choice(v.referenceJunction, {"INT", "FIX", "EXT"});
    if (mask & 0x0800)
        fields[12] = tvane::Format("%g", v.referenceTemperature);
    if (mask & 0x1000)
        fields[13] = v.edge == 1 ? "NEG" : "POS";
    for (int i = 1; i <= 13; ++i)
        out.text += fields[i] + ";";
    return out;
}

std::string CheckAdvanced(std::uint32_t mask, const AdvancedValues& v) {
    if ((mask & 0x0002) && v.integration == kCustom &&
        (v.customIntegration < 0.0004 || v.customIntegration > 4.0))
        return sheettext::kBadAperture;
    if ((mask & 0x0020) && (mask & 0x0040)) {
        // An R0 that is no number reads as 0.
        const double r0 = NumberOr(v.r0, 0.0);
        if (r0 < 49.0 || r0 > 2100.0)
            return sheettext::kBadR0;
    }
    if ((mask & 0x0200) && v.delayMode == kDelayTime &&
        (v.delaySeconds < 0.0 || v.delaySeconds > 60.0))
        return sheettext::kBadDelay;
    if ((mask & 0x0400) && v.referenceJunction == 1 &&
        (v.referenceTemperature < -20.0 || v.referenceTemperature > 80.0))
        return sheettext::kBadTemperature;
    return {};
}

std::string IntegrationForResolution(int resolutionIndex) {
    if (resolutionIndex == 0)
        return "10";
    if (resolutionIndex == 2)
        return "0.02";
    return "1";
}

int ResolutionForIntegration(const std::string& integration) {
    if (integration == "0.02")
        return 2;
    if (integration == "0.2" || integration == "1")
        return 1;
    for (const char* coarse : {"2", "10", "20", "100", "200", kCustom})
        if (integration == coarse)
            return 0;
    return 1;
}

std::vector<GroupPlace> PlaceGroups(std::uint32_t mask) {
    struct Bits {
        Group group;
        std::uint32_t bits;
    };
    static constexpr Bits kOrder[] = {
        {kGroupInputResistance, 0x0001},
        {kGroupIntegration, 0x0002},
        {kGroupLowFrequency, 0x0004},
        {kGroupUnits, 0x0008},
        {kGroupThermocouple, 0x0010},
        {kGroupReferenceJunction, 0x0C00},
        {kGroupRtd, 0x0060},
        {kGroupAperture, 0x0080},
        {kGroupOffsetCompensation, 0x0100},
        {kGroupDelay, 0x0200},
        {kGroupEdge, 0x1000},
    };
    std::vector<GroupPlace> places;
    int row = 0;
    for (const Bits& entry : kOrder) {
        if ((mask & entry.bits) == 0)
            continue;
        // The thermocouple check stands beside the group before it; alone it
        // takes a row of its own.
        if (entry.group == kGroupThermocouple && !places.empty()) {
            places.push_back({entry.group, places.back().row, true});
            continue;
        }
        places.push_back({entry.group, row++, false});
    }
    return places;
}

} // namespace measurement
