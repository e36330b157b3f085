#pragma once
#include <memory>

#include "platform/archive/CObject.h"

class CGraphFrame;

// The carrier of one display through the clipboard and the drag file: the
// display written with its class tag and its own part, nothing of the
// carrier's own. Loading reads one display and keeps it for its taker.
class CDisplayToClipboard : public tvane::CObject {
    DECLARE_SERIAL(CDisplayToClipboard)
public:
    explicit CDisplayToClipboard(const CGraphFrame* frame = nullptr);
    ~CDisplayToClipboard() override;
    CDisplayToClipboard(const CDisplayToClipboard&) = delete;
    CDisplayToClipboard& operator=(const CDisplayToClipboard&) = delete;

    void Serialize(tvane::CArchive& ar) override;
    // The display read by the last load; null before one.
    std::unique_ptr<CGraphFrame> Take();

private:
    const CGraphFrame* m_frame;
    std::unique_ptr<CGraphFrame> m_loaded;
};
