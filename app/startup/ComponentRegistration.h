#pragma once
#include <string>
#include <vector>

#include "scan/ComUtilities.h"

// Self-registration of the communications control and the instrument driver,
// the "-r" path of start-up.

// True when one of the arguments (the program name excluded) is "-r" or "/r" in
// either letter case. Only a whole argument counts, so a path that merely
// contains "-r" starts the program normally.
bool IsRegisterCommand(const std::vector<std::string>& arguments);

// Results of RegisterServerFile.
enum RegisterResult {
    kRegisterOk = 0,
    kRegisterOleFailed = 2, // kept for callers; loading a library needs no initialisation here
    kRegisterLoadFailed = 3,
    kRegisterNoEntry = 4,
    kRegisterCallFailed = 5,
};

// Loads the library at path and calls its DllRegisterServer. Every failure is
// reported in a message box; success is reported only when quiet is false.
int RegisterServerFile(const std::string& path, bool quiet);

// Registers the library files named in Tvane.ini ([Drivers] Comm and Instrument,
// each section's DllName) from [Path] Install, by default programDirectory. The
// control is registered first; when it fails the driver is not touched. A
// missing entry is reported and throws tvane::UserException.
bool RegisterComponents(const std::string& programDirectory);

// Shows string id formatted with the two texts, with the information icon when
// information is set, else the exclamation icon.
void ShowRegisterMessage(unsigned id, const std::string& first, const std::string& second,
                         bool information);
