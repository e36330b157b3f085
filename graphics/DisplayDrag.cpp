#include "graphics/DisplayDrag.h"

#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphFrame.h"
#include "graphics/CGraphView.h"
#include "platform/archive/CArchive.h"
#include "platform/controls/DragDrop.h"

namespace displaydrag {

bool Accepts(const CGraphView& view, long long first, long long second) {
    return first == kDisplay && second != view.GetDragId();
}

bool Drop(CGraphView& view) {
    CDisplayToClipboard dropped;
    if (!tvane::LoadDragObject(dropped))
        return false;
    std::unique_ptr<CGraphFrame> frame = dropped.Take();
    if (!frame)
        return false;
    const GRect rect = frame->m_rect;
    return view.AddFrame(frame.release(), rect);
}

} // namespace displaydrag
