#include "scan/CFXSetup.h"

#include "platform/archive/CArchive.h"
#include "platform/core/Format.h"
#include "scan/CChannelArray.h"
#include "scan/ChannelCodes.h"
#include "scan/ISetupLookup.h"
#include "scan/ScanTexts.h"
#include "scan/SettingText.h"
#include "scan/records/CChannelConfig.h"

#include <cstdlib>
#include <strings.h>

IMPLEMENT_SERIAL(CFXSetup, tvane::CObject, 0)

namespace {

bool EqualNoCase(const std::string& a, const char* b) {
    return strcasecmp(a.c_str(), b) == 0;
}

const char* const kSettingKeywords[kAdvancedSettingCount] = {
    " InputR", " Integ", " LF",      " Temp",    " T/CChk",  " RTD", " R0",
    " Aper",   " OComp", " ChDelay", " RefJunc", " RefTemp", " Edge"};

} // namespace

void CFXSetup::Serialize(tvane::CArchive& ar) {
    tvane::CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar << Name << Channel << ChannelName << ChannelMode << Function << Range << Resolution
           << Scaling << Gain << Offset << Units << Alarms << AlarmHi << AlarmLo << AlarmEvent
           << Comment << FunctionType << AdvSettingsType << AdvSettings << AlarmActions
           << ActionValue << CellFlags;
    } else {
        ar >> Name >> Channel >> ChannelName >> ChannelMode >> Function >> Range >> Resolution >>
            Scaling >> Gain >> Offset >> Units >> Alarms >> AlarmHi >> AlarmLo >> AlarmEvent >>
            Comment >> FunctionType >> AdvSettingsType >> AdvSettings >> AlarmActions >>
            ActionValue >> CellFlags;
    }
}

bool CFXSetup::SetFromCardData() {
    ISetupLookup* lookup = SetupLookup();
    return lookup != nullptr && SetFromCardData(*lookup);
}

bool CFXSetup::SetFromCardData(ISetupLookup& lookup) {
    std::int64_t channel = Channel;
    while (channel > 100)
        channel -= 100;
    CardDataRow card;
    if (lookup.OpenGivenCardChannel(Name, static_cast<std::int32_t>(channel), card) !=
        ISetupLookup::kRows)
        return false;
    ChannelName = card.ChannelName;
    ChannelMode = card.ChannelMode;
    Function = card.Function;
    Range = card.Range;
    Resolution = card.Resolution;
    Scaling = card.Scaling;
    Gain = card.Gain;
    Offset = card.Offset;
    Units = card.Units;
    Alarms = card.Alarms;
    AlarmHi = card.AlarmHi;
    AlarmLo = card.AlarmLo;
    AlarmEvent = card.AlarmEvent;
    Comment = card.Comment;
    FunctionType = card.FunctionType;

    FunctionRow function;
    bool opened = lookup.OpenFunctions() == ISetupLookup::kRows;
    if (opened && lookup.FindFunction(Function, function)) {
        AdvSettingsType = function.AdvSettingsType;
        AdvSettings = function.DefaultAdvSettings;
    } else {
        AdvSettingsType = 0;
        AdvSettings.clear();
    }
    return opened;
}

void CFXSetup::SetCellFlags() {
    std::uint32_t flags = 0;
    if (IsComputed()) {
        flags = 0x407;
    } else {
        switch (FunctionType) {
        case kKindNone:
            flags = kCellAll;
            break;
        case kKindDigital:
            flags = 0x806;
            if (Function == scantext::kDigitalWrite)
                flags |= 0x3780;
            break;
        case kKindFixed:
            flags = 0x6;
            break;
        case kKindPairable:
            if (Function == scantext::kFourWireOhms || Function == scantext::kFourWireRtd) {
                flags = kCellAll;
                break;
            }
            [[fallthrough]];
        default:
            if (Range.empty())
                flags |= kCellRange;
            if (Resolution.empty())
                flags |= kCellResolution;
            break;
        }
        if (flags != kCellAll && EqualNoCase(Name, "KXQT7107"))
            flags |= 0x78;
    }
    if (flags != kCellAll) {
        if (Scaling == 0)
            flags |= 0x70;
        if (EqualNoCase(Alarms, "Off"))
            flags |= 0x1700;
        else if (EqualNoCase(Alarms, "High Only") || EqualNoCase(Alarms, "Equal") ||
                 EqualNoCase(Alarms, "Not Equal"))
            flags |= 0x200;
        else if (EqualNoCase(Alarms, "Low Only"))
            flags |= 0x100;
    }
    CellFlags = flags;
}

void CFXSetup::SetAlarmDefaults() {
    if (CellFlags & kCellAlarmTest) {
        Alarms.clear();
        AlarmHi.clear();
        AlarmLo.clear();
        AlarmEvent.clear();
        AlarmActions = scantext::kNoActions;
    } else if (!EqualNoCase(Alarms, scantext::kAlarmOff)) {
        if (AlarmEvent.empty())
            AlarmEvent = scantext::kAlarm1;
        if (AlarmActions.empty())
            AlarmActions = scantext::kJournalActions;
    }
}

void CFXSetup::SetScalingDefaults() {
    if (Scaling != 0)
        return;
    if (CellFlags & kCellScale) {
        Gain.clear();
        Offset.clear();
        Units.clear();
    } else {
        Gain = "1.0";
        Offset = "0.0";
    }
}

void CFXSetup::SetFunctionDefaults() {
    SetCellFlags();
    SetScalingDefaults();
    SetAlarmDefaults();
}

bool CFXSetup::IsComputed() const {
    return Name == scantext::kComputed;
}

bool CFXSetup::IsScanCapable() const {
    if (Name == "KXQT7101" || Name == "KXQT7102" || Name == "KXQT7108")
        return true;
    return Name == "KXQT7107" && Channel % 100 < 4;
}

void CFXSetup::SetAlarmTest(std::int16_t code) {
    switch (code) {
    case 1:
        Alarms = "Low Only";
        break;
    case 2:
        Alarms = "High Only";
        break;
    case 3:
        Alarms = "High/Low";
        break;
    case 4:
        Alarms = "Equal";
        break;
    case 5:
        Alarms = "Not Equal";
        break;
    default:
        Alarms = "Off";
        break;
    }
}

void CFXSetup::SetAlarmOutput(const std::string& channelText, const std::string& list1,
                              const std::string& list2, const std::string& list3,
                              const std::string& list4) {
    const std::string* lists[] = {&list1, &list2, &list3, &list4};
    for (int i = 0; i < 4; ++i) {
        if (!lists[i]->empty() && lists[i]->find(channelText) != std::string::npos) {
            AlarmEvent = tvane::Format("Alarm%d", i + 1);
            return;
        }
    }
    AlarmEvent.clear();
}

bool CFXSetup::SetAdvancedValue(std::uint32_t settingBit, const std::string& value) {
    int position = SettingPosition(settingBit);
    if (position < 0)
        return false;
    SetSettingField(position, AdvSettings, value);
    return true;
}

void CFXSetup::SetIntegration(int code, const std::string& valueText) {
    static const struct {
        const char* resolution;
        const char* integration;
    } kCodes[] = {{"4.5 digits", "0.02"}, {"5.5 digits", "0.2"}, {"5.5 digits", "1"},
                  {"6.5 digits", "2"},    {"6.5 digits", "10"},  {"6.5 digits", "20"},
                  {"6.5 digits", "100"},  {"6.5 digits", "200"}};
    if (code == 9)
        return;
    if (code >= 1 && code <= 8) {
        Resolution = kCodes[code - 1].resolution;
        SetSettingField(2, AdvSettings, kCodes[code - 1].integration);
        return;
    }
    double aperture = std::atof(valueText.c_str());
    SetSettingField(2, AdvSettings, scantext::kCustom);
    if (aperture < 0.0033333)
        Resolution = "4.5 digits";
    else if (aperture >= 0.003333 && aperture < 0.033333)
        Resolution = "5.5 digits";
    else
        Resolution = "6.5 digits";
    SetSettingField(8, AdvSettings, valueText);
}

void CFXSetup::FillChannelInfo(CChannelInfo* info, std::int32_t value) const {
    if (info == nullptr)
        return;
    info->Number = static_cast<std::int32_t>(Channel);
    info->Label = tvane::Format(scantext::kChannelLabel, static_cast<long>(Channel));
    info->Name = ChannelName;
    info->HighLimit = std::atof(AlarmHi.c_str());
    info->LowLimit = std::atof(AlarmLo.c_str());
    info->AlarmTest = AlarmTestCode(Alarms);
    if (!Range.empty() && Range != scantext::kAuto)
        RangeLimits(Range, FunctionCode(Function), info->RangeMin, info->RangeMax);
    info->Units = Units;
    info->Scanned = ChannelMode;
    info->Kind = value;
}

bool CFXSetup::FillChannelConfig(CChannelConfig& config) const {
    if (IsComputed())
        return false;
    config.ModuleType = ModuleCode(Name);
    config.Channel = static_cast<std::int16_t>(Channel);
    config.InScanList = static_cast<std::int16_t>(ChannelMode);
    int function = FunctionCode(Function);
    config.Function = static_cast<std::uint16_t>(function);
    if (function == kFnTemperature)
        config.SubType = static_cast<std::uint16_t>(TemperatureCode(Function));
    RangeLimitTexts(Range, function, config.RangeLow, config.Range);
    config.ScalingOn = Scaling;
    config.Gain = Gain;
    config.Offset = Offset;
    config.Unit = Units;
    config.AlarmMode = static_cast<std::uint16_t>(AlarmTestCode(Alarms));
    config.LowLimit = AlarmLo;
    config.HighLimit = AlarmHi;
    config.AlarmOutput = static_cast<std::uint16_t>(AlarmOutputCode(AlarmEvent));
    BuildSettingsList(AdvSettings, AdvSettingsType, config.Options);
    std::string resolution = GetIntegrationText(AdvSettingsType, config.Options);
    if (resolution.empty())
        resolution = Resolution;
    if (resolution == scantext::kCustom) {
        resolution = GetSettingField(8, AdvSettings);
        config.IntegrationCode = CChannelConfig::kIntegrationAperture;
    }
    config.Resolution = resolution;
    return true;
}

void CFXSetup::AddBitChannels(CChannelArray& channels, std::uint32_t kind) const {
    std::uint32_t mask = 1;
    for (int i = 0; i < 8; ++i) {
        auto* info = new CChannelInfo;
        info->Number = static_cast<std::int32_t>(Channel);
        info->Label = tvane::Format(scantext::kChannelLabel, static_cast<long>(Channel));
        info->Name = tvane::Format(scantext::kBitName, i);
        info->BitMask = mask;
        if (kind == 0x400)
            info->Kind = 4;
        else if (kind == 0x800)
            info->Kind = 8;
        channels.Add(info);
        CChannelInfo::NextBitMask(mask);
    }
}

std::string CFXSetup::GetConfigText(const std::string& advancedText,
                                    std::uint32_t advSettingsType) {
    std::string text;
    if (advSettingsType == 0)
        return text;
    for (int n = 1; n <= kAdvancedSettingCount; ++n) {
        if (advSettingsType & (1u << (n - 1))) {
            text += kSettingKeywords[n - 1];
            text += '=';
            text += GetSettingField(n, advancedText);
        }
    }
    return text;
}

std::string CFXSetup::GetAlarmActionText(const std::string& actions) {
    int mask = std::atoi(GetSettingField(1, actions).c_str());
    std::string text;
    if (mask & kActionStopScan)
        text += "StopScan;";
    if (mask & kActionBeep)
        text += "Beep;";
    if (mask & kActionJournal)
        text += "Journal;";
    if (mask & kActionCloseChannel)
        text += "CloseChnl=" + GetSettingField(2, actions) + ";";
    if (mask & kActionOpenChannel)
        text += "OpenChnl=" + GetSettingField(3, actions) + ";";
    if (mask & kActionBitPattern) {
        text += "BitPattern=" + GetSettingField(4, actions) + ";";
        text += "ToDigitalPort=" + GetSettingField(5, actions) + ";";
    }
    return text;
}
