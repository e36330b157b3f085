#include "graphics/CXrtFrame.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "graphics/CXrtGraphData.h"
#include "graphics/GraphFactory.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "platform/core/Exception.h"
#include "scan/CChannelArray.h"
#include "scan/CRunRecord.h"
#include "shared/ExceptionReport.h"

IMPLEMENT_DYNAMIC(CXrtFrame, CGraphFrame)

CXrtFrame::CXrtFrame() = default;

CXrtFrame::~CXrtFrame() = default;

bool CXrtFrame::CreateFrame(CGraphView* parent) {
    return CreateBaseFrame(parent);
}

bool CXrtFrame::RecreateFrame(CGraphView* parent, int id) {
    return RecreateBaseFrame(parent, id);
}

int CXrtFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

bool CXrtFrame::OnEventHint(const HintObject& object) {
    const CRunRecord* run = object.As<CRunRecord>();
    if (run && (run->m_kind == CRunRecord::kStart || run->m_kind == CRunRecord::kReloadStart))
        OnScanState();
    return true;
}

bool CXrtFrame::EditOwnSheet(int displayType) {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(displayType);
    return sheet && EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CXrtFrame::RejectLoad(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

bool CXrtFrame::TakeScans(int n) {
    // Saturated: a run of years must not overflow the count.
    const std::int64_t pending =
        std::clamp<std::int64_t>(std::int64_t{m_pendingScans} + std::max(n, 0), 0, INT32_MAX);
    m_pendingScans = static_cast<std::int32_t>(pending);
    if (!GetDocumentHasReadings() && pending < m_updateRate)
        return false;
    m_pendingScans = 0;
    return true;
}

bool CXrtFrame::HasOwnShape(std::int32_t channels, std::int32_t retain) const {
    return m_channelCapacity == channels && m_retainCount == retain && m_updateRate >= 1 &&
           m_updateRate <= 5000 &&
           (!m_channels || m_channels->GetSize() <= static_cast<std::size_t>(channels));
}

void CXrtFrame::SetReadingData(std::unique_ptr<CXrtGraphData> data) {
    m_pReadingData = std::move(data);
    m_hReadingData = nullptr;
}

void CXrtFrame::Serialize(tvane::CArchive& ar) {
    try {
        SerializeBaseFrame(ar);
        if (GetNoReadingsFlag())
            return;
        if (ar.IsStoring())
            ar.WriteObject(m_pReadingData.get());
        else
            m_pReadingData = ar.ReadOwnedObject<CXrtGraphData>();
    } catch (const tvane::UserException&) {
        throw; // the user has been told already
    } catch (const std::exception& e) {
        ShowMfxErrorMessage(e, kSourceFile, kSerializeLine);
        throw;
    }
}
