#pragma once
#include <cstdint>
#include <string>

// Conversions between the texts a setup row holds and the codes the instrument
// driver and the displays work with.

// "Low Only" 1, "High Only" 2, "High/Low" 3, "Equal" 4, "Not Equal" 5, else 0.
int AlarmTestCode(const std::string& text);
// "Alarm1" .. "Alarm4" -> 0 .. 3, else 4 (no output).
int AlarmOutputCode(const std::string& text);
// Measurement function text -> code 0..13, any temperature text 6, else 18.
int FunctionCode(const std::string& text);
// The inverse of FunctionCode; code 6 takes its text from the temperature sub-type.
std::string FunctionText(int code, int temperatureSubType = 13);
// Temperature function text -> sub-type 0..12, else 13.
int TemperatureCode(const std::string& text);
std::string TemperatureText(int subType);
// A reading's value from its text; digital ports keep the low 8 bits.
double ReadingValue(const std::string& text, int functionCode);
// Minimum and maximum of a range text ("+/- 100 mV" -> -0.1, 0.1).
void RangeLimits(const std::string& rangeText, int functionCode, double& minimum, double& maximum);
// The two limits as texts for the driver: "Auto" for autorange, else "%G".
void RangeLimitTexts(const std::string& rangeText, int functionCode, std::string& minimum,
                     std::string& maximum);
// A range value read from the instrument as the row's range text ("+/- 100 mV").
std::string FormatRangeValue(const std::string& valueText, int functionCode);
// "KXQT7101" .. "KXQT7108" -> 0 .. 7, else 8.
std::uint16_t ModuleCode(const std::string& moduleText);

// Function codes.
enum FunctionCodes : int {
    kFnDcVolts = 0,
    kFnAcVolts = 1,
    kFn2wOhms = 2,
    kFn4wOhms = 3,
    kFnFrequency = 4,
    kFnPeriod = 5,
    kFnTemperature = 6,
    kFnDcCurrent = 7,
    kFnAcCurrent = 8,
    kFnDigitalRead = 9,
    kFnDigitalWrite = 10,
    kFnTotalize = 11,
    kFnTotalizeReset = 12,
    kFnDacWrite = 13,
    kFnUnknown = 18,
};
