#pragma once
#include <cstddef>
#include <cstdint>

namespace graphicstest {

// Takes the bytes as a display on the clipboard (Edit Paste) and as the drag
// file of a display dragged from another page. A display that arrives is
// copied and pasted again: its archive must come back as it was. Refusals are
// expected; a crash, a hang, a leak or a copy that differs is the fault.
void ExercisePaste(const std::uint8_t* data, std::size_t size);

} // namespace graphicstest
