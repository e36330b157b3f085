#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The rules of the channel sheet's Alarm Limits page without its window: the
// limit mode of a function and its tests, the alarm action list read and
// written, which controls a test enables, and the checks made when the page is
// left.
namespace alarmlimits {

enum LimitMode { kAnalog = 0, kDigitalRead = 1, kDigitalWrite = 2, kTotalizer = 3 };
LimitMode LimitModeOf(const std::string& function);
// The tests offered in a mode, in list order (none for a digital write).
std::vector<std::string> TestItems(LimitMode mode);

// The six actions of an alarm action list and the texts of their lists.
struct Actions {
    bool stopScan = false;
    bool beep = false;
    bool logEvent = false;
    bool closeChannel = false;
    bool openChannel = false;
    bool bitPattern = false;
    std::string closeText;
    std::string openText;
    std::string pattern;
    std::string port;
};
// Reads a stored list; a missing or empty first field is no action.
Actions ParseActions(const std::string& list);

// The list the actions make, or the refusal: the title is sheettext::kAlarmTitle.
struct BuiltList {
    std::string list;
    std::string error;
};
BuiltList BuildActions(const Actions& actions);

// What the selected test enables; none when no test is selected.
struct Enabling {
    bool high = false;
    bool low = false;
    bool actions = false;
};
std::optional<Enabling> EnablingFor(const std::string& test);

// Which actions the setup allows: close and open each need a channel to act
// on, the bit pattern a digital port.
struct Availability {
    bool close = false;
    bool open = false;
    bool digital = false;
};

// The enabled state of every action control for a test, an availability and
// the actions now ticked. An action without channels stays disabled, but its
// stored tick and text are kept and written back.
struct ActionControls {
    bool stopBeepLogDefaults = false; // the three boxes and Set Defaults
    bool hardwareAlarm = false;
    bool closeBox = false;
    bool closeList = false;
    bool openBox = false;
    bool openList = false;
    bool patternBox = false;
    bool patternControls = false; // edit, port list and its label
};
ActionControls ActionControlsFor(bool actionsEnabled, const Availability& available,
                                 const Actions& actions, bool hardwareAlarmWas);

// The limit check when both limit edits are in use: a low limit above the
// high one is refused; equal limits ask for confirmation.
enum class LimitCheck { Pass, LowAboveHigh, Equal };
LimitCheck CheckLimits(const std::string& high, const std::string& low);

// The alarm fields of a row as the page leaves them.
struct AlarmFields {
    std::string test;
    std::string high;
    std::string low;
    std::string output;
    std::string actions;
};
// An empty test clears the limits and the output and gives the default action
// list (none for a row whose alarm test is locked, flag 0x80).
AlarmFields ClearedAlarm(std::uint32_t flags);

} // namespace alarmlimits
