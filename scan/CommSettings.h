#pragma once
#include <string>

#include "platform/com/Types.h"

// The interface settings of the instrument connection, as the binding opens
// the control with them and refreshes them from it.
class CommSettings {
public:
    std::string InstID = "UNKNOWN"; // after an open always the driver model text
    std::string InterfaceName;      // as the control spells it; "ANY" tries every type
    SHORT Address = 0;
    LONG InterfaceType = 0; // 0 simulated, 3 RS-232
    std::string ControllerName;
    LONG CommTimeout = 2000; // ms
    LONG PollTimeout = 20;
    LONG LanTimeout = 20000; // ms

    // The time-outs take no part: two records that differ only there name the same
    // connection.
    bool operator==(const CommSettings& other) const {
        return InstID == other.InstID && InterfaceName == other.InterfaceName &&
               ControllerName == other.ControllerName && Address == other.Address &&
               InterfaceType == other.InterfaceType;
    }
};
