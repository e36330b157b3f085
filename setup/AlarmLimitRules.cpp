#include "setup/AlarmLimitRules.h"

#include <cstdlib>

#include "setup/MeasurementRules.h"
#include "setup/SheetTexts.h"

namespace alarmlimits {

LimitMode LimitModeOf(const std::string& function) {
    if (function == "Digital Read 8bit")
        return kDigitalRead;
    if (function == "Digital Write 8bit")
        return kDigitalWrite;
    if (function == "Totalize" || function == "Totalize (Reset)")
        return kTotalizer;
    return kAnalog;
}

std::vector<std::string> TestItems(LimitMode mode) {
    switch (mode) {
    case kDigitalRead:
        return {"Off", "Equal", "Not Equal"};
    case kDigitalWrite:
        return {};
    case kTotalizer:
        return {"Off", "High Only"};
    case kAnalog:
        break;
    }
    return {"Off", "High/Low", "High Only", "Low Only"};
}

Actions ParseActions(const std::string& list) {
    Actions a;
    const int bits = std::atoi(measurement::Field(list, 1).c_str());
    a.stopScan = (bits & 0x1) != 0;
    a.beep = (bits & 0x2) != 0;
    a.logEvent = (bits & 0x4) != 0;
    a.closeChannel = (bits & 0x8) != 0;
    a.openChannel = (bits & 0x10) != 0;
    a.bitPattern = (bits & 0x20) != 0;
    a.closeText = measurement::Field(list, 2);
    a.openText = measurement::Field(list, 3);
    a.pattern = measurement::Field(list, 4);
    a.port = measurement::Field(list, 5);
    return a;
}

BuiltList BuildActions(const Actions& a) {
    const int bits = (a.stopScan ? 0x1 : 0) | (a.beep ? 0x2 : 0) | (a.logEvent ? 0x4 : 0) |
                     (a.closeChannel ? 0x8 : 0) | (a.openChannel ? 0x10 : 0) |
                     (a.bitPattern ? 0x20 : 0);
    if (bits == 0)
        return {sheettext::kNoActions, {}};
    std::string list = std::to_string(bits) + ";";
    if (a.closeChannel) {
        if (a.closeText.empty())
            return {{}, sheettext::kNoCloseChannel};
        list += a.closeText;
    }
    list += ";";
    if (a.openChannel) {
        if (a.openText.empty())
            return {{}, sheettext::kNoOpenChannel};
        list += a.openText;
    }
    list += ";";
    if (a.bitPattern) {
        if (a.pattern.empty())
            return {{}, sheettext::kNoBitPattern};
        if (a.port.empty())
            return {{}, sheettext::kNoPort};
        list += a.pattern + ";" + a.port + ";";
    } else {
        list += ";;";
    }
    return {list, {}};
}

std::optional<Enabling> EnablingFor(const std::string& test) {
    if (test == "High/Low")
        return Enabling{true, true, true};
    if (test == "High Only" || test == "Equal" || test == "Not Equal")
        return Enabling{true, false, true};
    if (test == "Low Only")
        return Enabling{false, true, true};
    if (test == "Off")
        return Enabling{false, false, false};
    return std::nullopt;
}

ActionControls ActionControlsFor(bool actionsEnabled, const Availability& available,
                                 const Actions& a, bool hardwareAlarmWas) {
    ActionControls c;
    if (!actionsEnabled)
        return c;
    c.stopBeepLogDefaults = true;
    c.hardwareAlarm = hardwareAlarmWas;
    c.closeBox = available.close;
    c.closeList = available.close && a.closeChannel;
    c.openBox = available.open;
    c.openList = available.open && a.openChannel;
    c.patternBox = available.digital;
    c.patternControls = available.digital && a.bitPattern;
    return c;
}

LimitCheck CheckLimits(const std::string& high, const std::string& low) {
    const double h = std::atof(high.c_str());
    const double l = std::atof(low.c_str());
    if (l > h)
        return LimitCheck::LowAboveHigh;
    if (l == h)
        return LimitCheck::Equal;
    return LimitCheck::Pass;
}

AlarmFields ClearedAlarm(std::uint32_t flags) {
    AlarmFields f;
    f.actions = (flags & 0x80) ? sheettext::kNoActions : sheettext::kDefaultActions;
    return f;
}

} // namespace alarmlimits
