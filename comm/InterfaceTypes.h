#pragma once
#include <string>
#include <string_view>

namespace tvane::comm {

// Interface type numbers, shared with the driver and the main program.
enum InterfaceTypeNumber : int {
    kTypeSimulated = 0,
    kTypeWenxGpibDefault = 1, // what an unnamed interface opens: Wenx over GPIB
    kTypeGpib32 = 2,
    kTypeRs232 = 3,
    kTypeWenx = 4,
    kTypeWenxLan = 5,
    kTypeModem = 6,
};

// Upper-case name of a type ("SIMULATED", "WENX", ...); "UNKNOWN" for 1 and for
// numbers outside the table.
std::string TypeToName(int type);

// The name the setup page lists for a type; "Simulated" also for -1, empty for
// types without one.
std::string TypeToDisplayName(int type);

// The type a name stands for: the first of "WENXLAN", "WENX", "GPIB", "RS232",
// "SIMULATED", "MODEM" that the upper-cased name contains; -1 when none.
int NameToType(std::string_view name);

} // namespace tvane::comm
