#pragma once
#include "platform/archive/CObject.h"

#include <cstdint>
#include <string>

class CChannelConfig;
class CChannelInfo;
class CChannelArray;
class ISetupLookup;

// One channel row of the scan setup. Every setting is held as the text the
// setup grid shows; numbers are derived from the texts when they are needed.
class CFXSetup : public tvane::CObject {
    DECLARE_SERIAL(CFXSetup)
public:
    // Cell flags: a set bit makes that grid column read-only for the row.
    enum CellFlag : std::uint32_t {
        kCellFunction = 0x1,
        kCellRange = 0x2,
        kCellResolution = 0x4,
        kCellScale = 0x8,
        kCellGain = 0x10,
        kCellOffset = 0x20,
        kCellUnits = 0x40,
        kCellAlarmTest = 0x80,
        kCellAlarmHigh = 0x100,
        kCellAlarmLow = 0x200,
        kCellHardwareAlarm = 0x400,
        kCellAdvanced = 0x800,
        kCellAlarmActions = 0x1000,
        kCellScan = 0x2000,
        kCellAll = 0xFFFFFFFF, // the whole row is disabled
    };

    // Kinds of FunctionType.
    enum Kind : std::uint32_t {
        kKindNone = 0, // not a measurement channel
        kKindMeasurement = 1,
        kKindDigital = 2,
        kKindMeasurement3 = 3,
        kKindFixed = 4,    // fixed range and resolution
        kKindPairable = 5, // may be taken over by a four-wire measurement
    };

    CFXSetup() = default;
    CFXSetup(const CFXSetup& other) = default;
    CFXSetup& operator=(const CFXSetup& other) = default;
    ~CFXSetup() override = default;

    void Serialize(tvane::CArchive& ar) override;

    // Fills the row from the lookup tables for the module text and channel
    // number already set. False when a table cannot be opened or the module has
    // no such channel (the row is then unchanged).
    bool SetFromCardData();
    bool SetFromCardData(ISetupLookup& lookup);

    void SetCellFlags();
    // The setup editor's name for SetCellFlags.
    void ComputeFlagWord() { SetCellFlags(); }
    void SetAlarmDefaults();
    void SetScalingDefaults();
    // The defaults that depend on the function: cell flags, then scaling and
    // alarm defaults (the order the upload uses).
    void SetFunctionDefaults();

    bool IsMeasurement() const { return FunctionType != kKindNone; }
    bool IsComputed() const;
    bool IsType5WithAllFlags() const {
        return FunctionType == kKindPairable && CellFlags == kCellAll;
    }
    bool IsScanCapable() const;

    void SetAlarmTest(std::int16_t code);
    // The first non-empty alarm list (1..4) that holds the channel text names the
    // row's hardware alarm output; none leaves it empty.
    void SetAlarmOutput(const std::string& channelText, const std::string& list1,
                        const std::string& list2, const std::string& list3,
                        const std::string& list4);
    bool SetAdvancedValue(std::uint32_t settingBit, const std::string& value);
    // Applies an integration read back from the instrument (code 1..8 or an
    // aperture in seconds; 9 changes nothing).
    void SetIntegration(int code, const std::string& valueText);

    void FillChannelInfo(CChannelInfo* info, std::int32_t value) const;
    // False for a computed row, which has no instrument configuration.
    bool FillChannelConfig(CChannelConfig& config) const;
    // Eight display channels, one per bit of a digital channel.
    void AddBitChannels(CChannelArray& channels, std::uint32_t kind) const;

    static std::string GetConfigText(const std::string& advancedText,
                                     std::uint32_t advSettingsType);
    std::string GetConfigText() const { return GetConfigText(AdvSettings, AdvSettingsType); }
    static std::string GetAlarmActionText(const std::string& actions);
    std::string GetAlarmActionText() const { return GetAlarmActionText(AlarmActions); }

    // Fields in storage order.
    std::string Name; // module model, or "Computed"
    std::uint32_t Channel = 0;
    std::string ChannelName;
    std::int32_t ChannelMode = 0; // non-zero: scanned
    std::string Function;
    std::string Range;
    std::string Resolution;
    std::int32_t Scaling = 0;
    std::string Gain;
    std::string Offset;
    std::string Units;
    std::string Alarms;
    std::string AlarmHi;
    std::string AlarmLo;
    std::string AlarmEvent;
    std::string Comment;
    std::uint32_t FunctionType = 0;
    std::uint32_t AdvSettingsType = 0;
    std::string AdvSettings;
    std::string AlarmActions;
    std::string ActionValue;
    std::uint32_t CellFlags = 0;
};
