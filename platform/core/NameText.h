#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tvane {

// Whether text holds a control character (a byte below 0x20, or 0x7F). Names
// of setups and datasets never do: a NUL cuts them short where they are
// looked up, and a line break would split the ini line they are written on.
bool HasControlCharacter(std::string_view text);

// The longest start of the UTF-8 text that fits in limit bytes without ending
// inside a character.
std::string CutUtf8(std::string_view text, std::size_t limit);

} // namespace tvane
