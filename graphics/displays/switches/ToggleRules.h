#pragma once
#include <cstdint>

class IndicatorBlocks;
class CIndicator;

// What the switch bank and the push buttons share: a toggle writes the
// channel's whole value with the element's bits set or cleared, and the
// keyboard moves among the elements and turns them on and off.
namespace togglerules {

// Qt's key codes of the keys the displays take.
inline constexpr int kKeyTab = 0x01000001;
inline constexpr int kKeyBacktab = 0x01000002;
inline constexpr int kKeyLeft = 0x01000012;
inline constexpr int kKeyUp = 0x01000013;
inline constexpr int kKeyRight = 0x01000014;
inline constexpr int kKeyDown = 0x01000015;

// The channel's value with mask's bits set (on) or cleared (off).
inline std::uint32_t ValueAfterToggle(std::uint32_t value, std::uint32_t mask, bool on) {
    return on ? value | mask : value & ~mask;
}

// In the bit display an element is on when any bit of its mask is set; in the
// byte display (one bit each) when all are.
inline bool AnyBitSet(std::uint32_t value, std::uint32_t mask) {
    return (value & mask) != 0;
}

// What a key asks of the display.
enum class KeyAction { None, Moved, Toggle };
// Left and Right (Tab as Right, Shift+Tab as Left) move the current element,
// round the slots; Up asks to toggle an element that is off, Down one that is
// on. Nothing while there are no elements.
KeyAction OnKey(IndicatorBlocks& blocks, int key, bool shift);

} // namespace togglerules
