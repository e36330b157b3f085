#pragma once
#include <cstdint>
#include <memory>

#include "platform/archive/CObject.h"

class CGraphFrame;
class CGraphView;

// A display dragged from its page to another: the drag's first value says a
// display travels, the second names the page it comes from.
namespace displaydrag {

constexpr std::uint32_t kDisplay = 0x50534944; // "DISP"

// What the drag file holds: the display with its class tag, the same bytes as
// its entry on the clipboard.
class CDisplayDragObject : public tvane::CObject {
public:
    explicit CDisplayDragObject(const CGraphFrame* frame = nullptr) : m_frame(frame) {}
    ~CDisplayDragObject() override;
    void Serialize(tvane::CArchive& ar) override;
    std::unique_ptr<CGraphFrame> Take() { return std::move(m_loaded); }

private:
    const CGraphFrame* m_frame;
    std::unique_ptr<CGraphFrame> m_loaded;
};

// A page takes a display from any other page.
bool Accepts(const CGraphView& view, long long first, long long second);
// The display of the drag file at its own place on view; false when the file
// does not read or the display cannot be made.
bool Drop(CGraphView& view);

} // namespace displaydrag
