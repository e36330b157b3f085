#include "graphics/displays/text/CTextFrame.h"

#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CTextFrame, CGraphFrame, 0)

namespace {
// Graphics > Text.
const displays::FrameRegistration<CTextFrame> kTextFrame{32817};
} // namespace

CTextFrame::CTextFrame() {
    m_rect = {10, 10, 190, 50};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    // No hints or answers until the text box exists.
    m_receivesHints = 0;
}

CTextFrame::~CTextFrame() {
    m_receivesHints = 0;
    if (m_textBox)
        m_textBox->DestroyWindow();
}

int CTextFrame::GetHelpId(int page) const {
    return (page >= 0 && page <= 3) ? 11006 + 100 * page : 11006;
}

bool CTextFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    const LOGFONT font = GetFrameLogFont();
    m_textBox = std::make_unique<CTextBox>();
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    const GRect rect = RegionToRect(*m_region);
    if (!m_textBox->Create(*m_window, rect, font))
        return false;
    m_region->SetWnd(m_textBox->GetWindow());
    const bool added = AddRegion(m_region.get());
    m_receivesHints = 1;
    return added;
}

bool CTextFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CGraphFrame::RecreateFrame(parent, showCommand))
        return false;
    if (!m_textBox)
        m_textBox = std::make_unique<CTextBox>();
    if (!m_region)
        m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    const GRect rect = RegionToRect(*m_region);
    m_textBox->Recreate(*m_window, rect);
    m_region->SetWnd(m_textBox->GetWindow());
    const bool added = AddRegion(m_region.get());
    m_receivesHints = 1;
    return added;
}

bool CTextFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kText);
    return EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

bool CTextFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool box = m_textBox && m_textBox->GetAppearanceItem(item, props);
    return base || box;
}

bool CTextFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool box = m_textBox && m_textBox->SetAppearanceItem(item, props, repaint);
    return base || box;
}

bool CTextFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    bool drawn = false;
    if (m_textBox) {
        GRect box = m_region ? RegionToRect(*m_region) : GetDataRect();
        if (ITextBoxWindow* w = m_textBox->GetWindow())
            box = w->GetRectInFrame();
        drawn = m_textBox->Draw(dc, &box);
    }
    return base || drawn;
}

void CTextFrame::DestroyWindow() {
    // The box's window lives inside the frame's: it goes first.
    if (m_textBox)
        m_textBox->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

int CTextFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CTextFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_textBox.get());
        ar.WriteObject(m_region.get());
        return;
    }
    if (m_textBox)
        m_textBox->DestroyWindow();
    m_textBox = ar.ReadOwnedObject<CTextBox>();
    m_region = ar.ReadOwnedObject<CRegion>();
}
