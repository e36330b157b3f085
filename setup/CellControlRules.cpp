#include "setup/CellControlRules.h"

#include "platform/core/CaseInsensitive.h"
#include "setup/SetupGridDefs.h"
#include "setup/SetupMessages.h"
#include "setup/SetupTexts.h"

namespace setupgrid {

namespace {

bool IsLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z');
}

} // namespace

bool UnitsLabelAccepts(char32_t c, bool fieldEmpty, int caret) {
    if (c == U'\b')
        return true;
    if (fieldEmpty || caret == 0)
        return IsLetter(c);
    return IsLetter(c) || (c >= U'0' && c <= U'9') || c == U'_';
}

std::optional<tvane::MessageId> ComboChangeMessage(int col, const std::string& stored,
                                                   const std::string& chosen) {
    if (tvane::EqualsNoCase(stored, chosen))
        return std::nullopt;
    switch (col) {
    case kColFunction:
        return setupmsg::FuncChanged();
    case kColResolution:
        return setupmsg::ResChanged();
    case kColRange:
    case kColTest:
        return setupmsg::SettingChanged();
    default:
        return std::nullopt;
    }
}

const char* AlarmTestList(const std::string& function) {
    if (function == setuptext::kDigitalRead)
        return setuptext::kDigitalTestList;
    if (function == setuptext::kTotalize || function == setuptext::kTotalizeReset)
        return setuptext::kCountTestList;
    return setuptext::kAlarmTestList;
}

} // namespace setupgrid
