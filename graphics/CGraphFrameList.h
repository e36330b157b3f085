#pragma once
#include <list>

#include "platform/archive/CObject.h"

class CGraphFrame;
class CGraphView;

// The displays of one graphics page, in the page's order. The list owns them:
// removing a display deletes it. Stored as the class library's object list: a
// count, then each display with its class tag.
class CGraphFrameList : public tvane::CObject {
    DECLARE_SERIAL(CGraphFrameList)
public:
    CGraphFrameList() = default;
    ~CGraphFrameList() override { RemoveAllFrames(); }
    CGraphFrameList(const CGraphFrameList&) = delete;
    CGraphFrameList& operator=(const CGraphFrameList&) = delete;

    using iterator = std::list<CGraphFrame*>::iterator;
    using const_iterator = std::list<CGraphFrame*>::const_iterator;
    iterator begin() { return m_frames.begin(); }
    iterator end() { return m_frames.end(); }
    const_iterator begin() const { return m_frames.begin(); }
    const_iterator end() const { return m_frames.end(); }
    std::size_t GetCount() const { return m_frames.size(); }
    bool IsEmpty() const { return m_frames.empty(); }
    CGraphFrame* GetHead() const { return m_frames.empty() ? nullptr : m_frames.front(); }
    CGraphFrame* GetTail() const { return m_frames.empty() ? nullptr : m_frames.back(); }
    CGraphFrame* GetAt(std::size_t index) const;
    // -1 when not in the list.
    long Find(const CGraphFrame* frame) const;
    // The display after frame; null after the last.
    CGraphFrame* GetNext(const CGraphFrame* frame) const;

    void AddTail(CGraphFrame* frame) { m_frames.push_back(frame); }
    // Puts frame at the list position of old (which leaves the list, not deleted).
    bool ReplaceAt(CGraphFrame* old, CGraphFrame* frame);
    void MoveToTail(CGraphFrame* frame);
    // Takes a display out without deleting it.
    bool Detach(CGraphFrame* frame);
    // Removes and deletes; nothing happens when the display is not listed. The
    // caller destroys the window first.
    void RemoveFrame(CGraphFrame* frame);
    void RemoveAllFrames();
    // RecreateFrame on each display from the head; false at the first failure.
    bool RecreateFrames(CGraphView* parent);
    // The display whose window is window, or null.
    CGraphFrame* FindByWindow(const void* window) const;

    void Serialize(tvane::CArchive& ar) override;

private:
    std::list<CGraphFrame*> m_frames;
};
