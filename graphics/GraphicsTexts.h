#pragma once
#include "platform/core/StringTable.h"

// The graphics displays' texts by string id.
const tvane::StringTable& GraphicsTexts();
