#pragma once
#include "platform/core/StringTable.h"

// The XY display's texts by string id.
const tvane::StringTable& XYTexts();
