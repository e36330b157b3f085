#include "graphics/displays/switches/ToggleRules.h"

#include "graphics/displays/indicator/IndicatorBlocks.h"

namespace togglerules {

KeyAction OnKey(IndicatorBlocks& blocks, int key, bool shift) {
    if (blocks.ElementCount() == 0)
        return KeyAction::None;
    if (key == kKeyTab || key == kKeyBacktab)
        key = shift || key == kKeyBacktab ? kKeyLeft : kKeyRight;
    const CIndicator* current = blocks.GetCurrent();
    switch (key) {
    case kKeyLeft:
    case kKeyRight:
        blocks.MoveCurrent(key == kKeyRight);
        return KeyAction::Moved;
    case kKeyUp:
        return current && current->GetState() != 1 ? KeyAction::Toggle : KeyAction::None;
    case kKeyDown:
        return current && current->GetState() == 1 ? KeyAction::Toggle : KeyAction::None;
    default:
        return KeyAction::None;
    }
}

} // namespace togglerules
