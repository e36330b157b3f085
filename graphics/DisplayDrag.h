#pragma once
#include <cstdint>

class CGraphFrame;
class CGraphView;

// A display dragged from its page to another: the drag's first value says a
// display travels, the second names the page it comes from. The drag file
// holds a CDisplayToClipboard: the same bytes as the display's clipboard entry.
namespace displaydrag {

constexpr std::uint32_t kDisplay = 0x50534944; // "DISP"

// A page takes a display from any other page.
bool Accepts(const CGraphView& view, long long first, long long second);
// The display of the drag file at its own place on view; false when the file
// does not read or the display cannot be made.
bool Drop(CGraphView& view);

} // namespace displaydrag
