#pragma once
#include <string>

#include "platform/core/StringTable.h"

namespace tvane::driver {

// The driver's texts by id: error messages (1000-1040), words, keyword tables
// (2003-2060) and the SCPI command templates (3000-3226, named in ScpiTemplates.h),
// exactly as the instrument and the main program expect them.
const StringTable& DriverStrings();

// One table text, without following "!" chains; empty when the id is missing.
std::string DriverText(unsigned id);

// Loads id; a text that begins with "!" is appended without it and the next id
// follows, until a text without "!" ends the chain. The result is cut at 255
// characters, the size of the loader's result buffer.
std::string LoadDriverString(unsigned id);

// An upper-case copy, for comparing instrument answers with the keyword texts.
std::string Upper(std::string s);

} // namespace tvane::driver
