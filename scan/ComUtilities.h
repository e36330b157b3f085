#pragma once
#include <string>

#include "platform/com/Guid.h"
#include "platform/com/Unknown.h"

// The class registered under name, found the way the program always has: the
// first class key (in the registry's order) whose default value equals name,
// ignoring case; failing that, the ProgID key of that name. On success clsid and
// keyText (the CLSID in braces) are filled.
BOOL ProgIDToCLSID(const std::string& name, CLSID& clsid, std::string& keyText);

// Creates the class in process and asks for IUnknown; *unknown is null on failure.
void CreateComObject(REFCLSID clsid, IUnknown** unknown);

// The program's text of a string id in one shared buffer that each call
// overwrites; an empty text when the id has none.
const char* GetResourceString(unsigned id);

// The template with every "%1" replaced by first and every "%2" by second; any
// other '%' is kept as it stands. The result has whatever length it needs.
std::string FormatMessageArgs(const std::string& pattern, const std::string& first,
                              const std::string& second);
