#include "scan/ChannelCodes.h"

#include "platform/core/Format.h"
#include "scan/ValueFormat.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

bool EqualNoCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

bool ContainsNoCase(const std::string& text, const char* part) {
    return strcasestr(text.c_str(), part) != nullptr;
}

// Functions by code; an empty entry has no text of its own.
const char* const kFunctionTexts[] = {"DC volts",
                                      "AC volts",
                                      "2w ohms",
                                      "4w ohms",
                                      "Frequency",
                                      "Period",
                                      "",
                                      "DC current",
                                      "AC current",
                                      "Digital Read 8bit",
                                      "Digital Write 8bit",
                                      "Totalize",
                                      "Totalize (Reset)",
                                      "DAC Write Volt"};

const char* const kTemperatureTexts[] = {
    "Temp (type B)",  "Temp (type E)", "Temp (type J)", "Temp (type K)",   "Temp (type R)",
    "Temp (type S)",  "Temp (type T)", "Temp (type N)", "Temp 2.2K Therm", "Temp 5K Therm",
    "Temp 10K Therm", "Temp 2w RTD",   "Temp 4w RTD"};

const char* const kAlarmTests[] = {"Low Only", "High Only", "High/Low", "Equal", "Not Equal"};
const char* const kAlarmOutputs[] = {"Alarm1", "Alarm2", "Alarm3", "Alarm4"};
const char* const kModules[] = {"KXQT7101", "KXQT7102", "KXQT7103", "KXQT7104",
                                "KXQT7105", "KXQT7106", "KXQT7107", "KXQT7108"};

} // namespace

int AlarmTestCode(const std::string& text) {
    for (int i = 0; i < 5; ++i)
        if (EqualNoCase(text, kAlarmTests[i]))
            return i + 1;
    return 0;
}

int AlarmOutputCode(const std::string& text) {
    for (int i = 0; i < 4; ++i)
        if (EqualNoCase(text, kAlarmOutputs[i]))
            return i;
    return 4;
}

int FunctionCode(const std::string& text) {
    if (ContainsNoCase(text, "Temp"))
        return kFnTemperature;
    for (int i = 0; i < 14; ++i)
        if (i != kFnTemperature && EqualNoCase(text, kFunctionTexts[i]))
            return i;
    return kFnUnknown;
}

std::string FunctionText(int code, int temperatureSubType) {
    if (code == kFnTemperature)
        return TemperatureText(temperatureSubType);
    if (code >= 0 && code < 14)
        return kFunctionTexts[code];
    return {};
}

int TemperatureCode(const std::string& text) {
    for (int i = 0; i < 13; ++i)
        if (EqualNoCase(text, kTemperatureTexts[i]))
            return i;
    return 13;
}

std::string TemperatureText(int subType) {
    if (subType >= 0 && subType < 13)
        return kTemperatureTexts[subType];
    return {};
}

double ReadingValue(const std::string& text, int functionCode) {
    double value = std::atof(text.c_str());
    if (functionCode == kFnDigitalRead || functionCode == kFnDigitalWrite) {
        // Out-of-range texts cannot be represented as an integer; they read as 0.
        if (!std::isfinite(value) || std::fabs(value) >= 9.0e18)
            return 0.0;
        return static_cast<double>(static_cast<long long>(value) & 0xFF);
    }
    return value;
}

void RangeLimits(const std::string& rangeText, int functionCode, double& minimum, double& maximum) {
    minimum = 0.0;
    maximum = 0.0;
    if (functionCode == kFnTemperature)
        return;
    if (functionCode == kFnDigitalRead || functionCode == kFnDigitalWrite) {
        maximum = 255.0;
        return;
    }
    if (rangeText == "Auto")
        return;
    bool symmetric = false;
    std::size_t i = 0;
    for (; i < rangeText.size(); ++i) {
        char c = rangeText[i];
        if (c >= '1' && c <= '9')
            break;
        if (c == '/')
            symmetric = true;
    }
    if (i < rangeText.size())
        maximum = std::atof(rangeText.c_str() + i);
    if (rangeText.find('m') != std::string::npos)
        maximum *= 0.001;
    else if (rangeText.find('K') != std::string::npos)
        maximum *= 1000.0;
    else if (rangeText.find('M') != std::string::npos)
        maximum *= 1000000.0;
    if (symmetric)
        minimum = -maximum;
}

void RangeLimitTexts(const std::string& rangeText, int functionCode, std::string& minimum,
                     std::string& maximum) {
    if (rangeText == "Auto") {
        minimum = "Auto";
        maximum = "Auto";
        return;
    }
    double lo = 0.0, hi = 0.0;
    RangeLimits(rangeText, functionCode, lo, hi);
    minimum = tvane::Format("%G", lo);
    maximum = tvane::Format("%G", hi);
}

std::string FormatRangeValue(const std::string& valueText, int functionCode) {
    if (EqualNoCase(valueText, "Auto"))
        return "Auto";
    std::string result;
    const char* unit;
    switch (functionCode) {
    case kFnDcVolts:
        result = "+/- ";
        unit = "V";
        break;
    case kFnAcVolts:
    case kFnFrequency:
    case kFnPeriod:
        unit = "V";
        break;
    case kFn2wOhms:
    case kFn4wOhms:
        unit = " ";
        break;
    case kFnDcCurrent:
    case kFnAcCurrent:
        unit = "A";
        break;
    default:
        return {};
    }
    double value = std::atof(valueText.c_str());
    char prefix = SplitEngineeringValue(&value);
    if (prefix != ' ')
        result += tvane::Format("%.*lf %c%s", 0, value, prefix, unit);
    else
        result += tvane::Format("%.*lf %s", 0, value, unit);
    return result;
}

std::uint16_t ModuleCode(const std::string& moduleText) {
    for (std::uint16_t i = 0; i < 8; ++i)
        if (moduleText == kModules[i])
            return i;
    return 8;
}
