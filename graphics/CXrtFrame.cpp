#include "graphics/CXrtFrame.h"

#include "graphics/CXrtGraphData.h"
#include "platform/archive/CArchive.h"
#include "platform/core/Exception.h"
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
