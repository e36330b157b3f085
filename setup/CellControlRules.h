#pragma once
#include <optional>
#include <string>

#include "platform/ui/MessageBus.h"

// Small rules of the setup grid's cell controls and lists.
namespace setupgrid {

// A character typed into the units label's edit field: Backspace always; a
// letter first (empty field or caret at 0); after that a letter, a digit or
// "_" (C locale).
bool UnitsLabelAccepts(char32_t c, bool fieldEmpty, int caret);

// What a drop-down list tells the view when the user chose an item: nothing
// when the choice equals the stored text (case ignored); otherwise by column,
// 3 FUNCCHANGED, 5 RESCHANGED, 4 and 11 SETTINGCHANGED, other columns nothing.
std::optional<tvane::MessageId> ComboChangeMessage(int col, const std::string& stored,
                                                   const std::string& chosen);

// The alarm tests a row's function allows (its Test list).
const char* AlarmTestList(const std::string& function);

} // namespace setupgrid
