#include "graphics/CDisplayToClipboard.h"

#include "graphics/CGraphFrame.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CDisplayToClipboard, tvane::CObject, 0)

CDisplayToClipboard::CDisplayToClipboard(const CGraphFrame* frame) : m_frame(frame) {}

CDisplayToClipboard::~CDisplayToClipboard() = default;

void CDisplayToClipboard::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring())
        ar.WriteObject(m_frame);
    else
        m_loaded = ar.ReadOwnedObject<CGraphFrame>();
}

std::unique_ptr<CGraphFrame> CDisplayToClipboard::Take() {
    return std::move(m_loaded);
}
