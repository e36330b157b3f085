#include "graphics/CGraphFrameList.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "graphics/CGraphFrame.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CGraphFrameList, tvane::CObject, 0)

CGraphFrame* CGraphFrameList::GetAt(std::size_t index) const {
    if (index >= m_frames.size())
        return nullptr;
    return *std::next(m_frames.begin(), static_cast<long>(index));
}

long CGraphFrameList::Find(const CGraphFrame* frame) const {
    long i = 0;
    for (const CGraphFrame* f : m_frames) {
        if (f == frame)
            return i;
        ++i;
    }
    return -1;
}

CGraphFrame* CGraphFrameList::GetNext(const CGraphFrame* frame) const {
    auto it = std::find(m_frames.begin(), m_frames.end(), frame);
    if (it == m_frames.end() || ++it == m_frames.end())
        return nullptr;
    return *it;
}

bool CGraphFrameList::ReplaceAt(CGraphFrame* old, CGraphFrame* frame) {
    m_frames.remove(frame);
    auto it = std::find(m_frames.begin(), m_frames.end(), old);
    if (it == m_frames.end())
        return false;
    *it = frame;
    return true;
}

void CGraphFrameList::MoveToTail(CGraphFrame* frame) {
    auto it = std::find(m_frames.begin(), m_frames.end(), frame);
    if (it != m_frames.end())
        m_frames.splice(m_frames.end(), m_frames, it);
}

bool CGraphFrameList::Detach(CGraphFrame* frame) {
    auto it = std::find(m_frames.begin(), m_frames.end(), frame);
    if (it == m_frames.end())
        return false;
    m_frames.erase(it);
    return true;
}

void CGraphFrameList::RemoveFrame(CGraphFrame* frame) {
    if (Detach(frame))
        delete frame;
}

void CGraphFrameList::RemoveAllFrames() {
    while (!m_frames.empty()) {
        CGraphFrame* frame = m_frames.front();
        m_frames.pop_front();
        delete frame;
    }
}

bool CGraphFrameList::RecreateFrames(CGraphView* parent) {
    for (CGraphFrame* frame : m_frames)
        if (!frame->RecreateFrame(parent, 5))
            return false;
    return true;
}

CGraphFrame* CGraphFrameList::FindByWindow(const void* window) const {
    if (window == nullptr)
        return nullptr;
    for (CGraphFrame* frame : m_frames)
        if (frame->GetWindow() == window)
            return frame;
    return nullptr;
}

void CGraphFrameList::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<std::uint32_t>(m_frames.size()));
        for (const CGraphFrame* frame : m_frames)
            ar.WriteObject(frame);
        return;
    }
    RemoveAllFrames();
    const std::uint32_t count = ar.ReadCount();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::unique_ptr<CGraphFrame> frame = ar.ReadOwnedObject<CGraphFrame>();
        if (frame)
            m_frames.push_back(frame.release());
    }
}
