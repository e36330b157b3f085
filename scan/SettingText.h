#pragma once
#include "scan/records/CChannelSetting.h"

#include <cstdint>
#include <string>
#include <vector>

// The two positional lists a setup row keeps as text: the advanced settings
// (up to 13 fields) and the alarm actions (6 fields). Every field is followed by
// ";"; a last value without its ";" is not a field.

// Field n (1-based), or "" when the text has fewer than n separators.
std::string GetSettingField(int position, const std::string& text);
// Replaces field n; a text too short for the field is padded with ";" so that
// the value lands in its field and reads back.
void SetSettingField(int position, std::string& text, const std::string& value);
// The field position of a setting bit (0x1 -> 1 .. 0x1000 -> 13), -1 for
// anything that is not one of the thirteen single bits.
int SettingPosition(std::uint32_t settingBit);
// Appends one item per bit set in the settings type, in bit order.
void BuildSettingsList(const std::string& advancedText, std::uint32_t advSettingsType,
                       std::vector<CChannelSetting>& list);
// The integration setting (bit 0x2) of a settings list, "" when there is none.
std::string GetIntegrationText(std::uint32_t advSettingsType,
                               const std::vector<CChannelSetting>& list);

// Setting bits of the advanced settings type.
enum AdvancedSettingBits : std::uint32_t {
    kSetInputR = 0x1,
    kSetIntegration = 0x2,
    kSetLowFrequency = 0x4,
    kSetTemperatureUnit = 0x8,
    kSetThermocoupleCheck = 0x10,
    kSetRtd = 0x20,
    kSetR0 = 0x40,
    kSetAperture = 0x80,
    kSetOffsetCompensation = 0x100,
    kSetChannelDelay = 0x200,
    kSetReferenceJunction = 0x400,
    kSetReferenceTemperature = 0x800,
    kSetEdge = 0x1000,
};
inline constexpr int kAdvancedSettingCount = 13;

// Alarm action bits of field 1 of the alarm action list.
enum AlarmActionBits : int {
    kActionStopScan = 0x1,
    kActionBeep = 0x2,
    kActionJournal = 0x4,
    kActionCloseChannel = 0x8,
    kActionOpenChannel = 0x10,
    kActionBitPattern = 0x20,
};
