#include "graphics/displays/datalight/CDataLEDWnd.h"

#include "graphics/CGraphFrame.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/indicator/IndicatorTexts.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelInfo.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CDataLEDWnd, tvane::CObject, 0)

namespace {

constexpr int kItemOn = 8;
constexpr int kItemOff = 9;

} // namespace

CDataLEDWnd::CDataLEDWnd()
    : m_blocks([] { return std::make_unique<CDataLight>(); }, 4),
      m_button(std::make_unique<CPushButton>()) {
    m_brushes[0].CreateBrush(kOffColor, CMfxBrush::kSolid);
    m_brushes[1].CreateBrush(kOnColor, CMfxBrush::kSolid);
    m_button->SetState(0);
}

CDataLEDWnd::~CDataLEDWnd() = default;

bool CDataLEDWnd::Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font,
                         int blockSlots) {
    m_frame = &frame;
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    SetBlockCount(blockSlots);
    m_button = std::make_unique<CPushButton>();
    m_button->SetState(0);
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(0xFFFFFF);
    if (!m_font->SetLogFont(font))
        gauge::CreateFailed(kSourceModule, __LINE__);
    for (CMfxBrush& brush : m_brushes)
        if (!brush.Recreate())
            gauge::CreateFailed(kSourceModule, __LINE__);
    return true;
}

bool CDataLEDWnd::Recreate(CGraphFrame& frame, const GRect& rect) {
    m_frame = &frame;
    m_window = gauge::MakeWindow(frame, *this, rect, kSourceModule, __LINE__);
    if (!m_font || !m_font->CreateFont() || !m_brushes[1].Recreate() || !m_brushes[0].Recreate())
        return false;
    PostRequests(CReadingInfo::kRequestQuery);
    return true;
}

void CDataLEDWnd::DestroyWindow() {
    m_window.reset();
}

void CDataLEDWnd::AddBlock(int index, const CChannelInfo& channel) {
    if (index >= 0)
        m_blocks.AddBlock(static_cast<std::size_t>(index), channel, m_display == kByteDisplay);
}

bool CDataLEDWnd::RemoveBlock(int index) {
    if (index >= 0)
        m_blocks.RemoveBlock(static_cast<std::size_t>(index));
    return true;
}

bool CDataLEDWnd::ChangeChannel(int index, const CChannelInfo& channel) {
    if (index < 0)
        return false;
    const auto slot = static_cast<std::size_t>(index);
    m_blocks.ReplaceBlock(slot, channel, m_display == kByteDisplay);
    m_blocks.FillRequest(slot, channel.Number, CReadingInfo::kRequestQuery, m_request);
    if (m_frame)
        m_frame->PostRequest(this, m_request);
    return true;
}

bool CDataLEDWnd::ApplyReading(const CReadingInfo* record) {
    if (record)
        m_request = *record;
    const std::vector<CIndicator*> changed =
        m_blocks.ApplyRecord(record, IndicatorBlocks::AllBitsSet);
    if (m_window && !changed.empty()) {
        for (const CIndicator* lamp : changed) {
            const GRect r = lamp->GetRect();
            m_window->Invalidate(&r, false);
        }
        m_window->Update();
    }
    return true;
}

void CDataLEDWnd::PostRequests(std::int32_t kind) {
    std::vector<CReadingInfo> requests = m_blocks.Requests(kind);
    if (requests.empty())
        return;
    // The channel page also offers switch channels in the bit display; the
    // document acts on those by closing or opening them, so their lamps ask
    // for the last known state instead of reading.
    std::size_t r = 0;
    const CIndicatorBlockArray& blocks = m_blocks.Blocks();
    for (std::size_t i = 0; i < blocks.GetSize(); ++i) {
        const CIndicatorArray* block = blocks.GetAt(i);
        if (!block)
            continue;
        if (kind == CReadingInfo::kRequestRead && block->m_kind != kDigitalRead &&
            block->m_kind != kDigitalReadBit)
            requests[r].m_request = CReadingInfo::kRequestQuery;
        ++r;
    }
    m_request = requests.back();
    if (m_frame)
        m_frame->PostRequests(this, std::move(requests));
}

// --- Drawing ---------------------------------------------------------------------------

bool CDataLEDWnd::ButtonShown() const {
    return m_mode == kImmediate && m_blocks.ElementCount() > 0;
}

bool CDataLEDWnd::Draw(IGraphDC& dc, const GRect& rect) {
    dc.Save();
    GRect r = rect;
    dc.FillRect(r, m_backColor);
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    if (ButtonShown())
        r.left = indicatordraw::DrawReadButton(dc, r, *m_button).right;
    CIndicatorBlockArray& blocks = m_blocks.Blocks();
    const std::uint32_t textColor = m_font ? m_font->GetColor() : 0xFFFFFF;
    if (blocks.GetSize() > 0 && m_blocks.BlockCount() == 0)
        indicatordraw::DrawCentredText(dc, r, IndicatorTexts().Load(indicatortext::kNoConnection),
                                       textColor);
    if (blocks.GetSize() > 0 && m_blocks.BlockCount() > 0) {
        const BlockRowLayout layout =
            LayoutBlockRow(r, dc.TextHeight(), m_blocks.ElementCounts(), {.extraCells = 2});
        std::size_t b = 0;
        for (std::size_t slot = 0; slot < blocks.GetSize(); ++slot) {
            CIndicatorArray* block = blocks.GetAt(slot);
            if (!block || b >= layout.blocks.size())
                continue;
            const BlockRowLayout::Block& place = layout.blocks[b++];
            for (std::size_t e = 0; e < block->GetSize() && e < place.elements.size(); ++e) {
                CIndicator* lamp = block->GetAt(e);
                if (!lamp)
                    continue;
                const GRect& box = place.elements[e].box;
                lamp->SetRect(box);
                if (layout.labelsShown)
                    indicatordraw::DrawCentredText(dc, place.elements[e].label, lamp->GetLabel(),
                                                   textColor);
                const int state = lamp->GetState() == 1 ? 1 : 0;
                dc.Ellipse(box, m_brushes[state].GetColor(), m_backColor);
                indicatordraw::DrawLampBevel(dc, box);
            }
            const std::string& caption = indicatordraw::ChooseCaption(
                dc, block->m_caption, block->m_shortCaption, place.caption.Width());
            indicatordraw::DrawCentredText(dc, place.caption, caption, textColor);
        }
    }
    dc.Restore();
    return true;
}

void CDataLEDWnd::Paint(IGraphDC& dc, const GRect& client) {
    Draw(dc, client);
}

// --- The Read button -------------------------------------------------------------------

void CDataLEDWnd::ApplyOutcome(const ReadButtonTracker::Outcome& out) {
    if (!m_window)
        return;
    if (out.capture)
        m_window->SetCapture();
    if (out.repaint) {
        const GRect r = m_button->GetRect();
        m_window->Invalidate(&r, true);
        m_window->Update();
    }
    if (out.read)
        PostRequests(CReadingInfo::kRequestRead);
    if (out.release)
        m_window->ReleaseCapture();
}

void CDataLEDWnd::OnMouse(Mouse event, GPoint point) {
    if (m_mode != kImmediate || !m_window)
        return;
    ApplyOutcome(
        ReadButtonTracker(*m_button).Follow(event, point, ButtonShown(), *m_window, m_frame));
}

// --- Appearance ------------------------------------------------------------------------

bool CDataLEDWnd::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::GetBackTextItem(item, props, m_backColor, m_font.get(), true, supported)) {
    } else if (item == kItemOn || item == kItemOff) {
        supported = P::kName | P::kColor;
        const int state = item == kItemOn ? 1 : 0;
        if (props.mask & P::kName)
            props.itemName =
                IndicatorTexts().Load(state ? indicatortext::kOn : indicatortext::kOff);
        if (props.mask & P::kColor)
            props.color = m_brushes[state].GetColor();
    }
    return (props.mask & supported) == props.mask;
}

bool CDataLEDWnd::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (gauge::SetBackTextItem(item, props, m_backColor, m_font.get(), true, supported)) {
    } else if (item == kItemOn || item == kItemOff) {
        supported = P::kColor;
        if (props.mask & P::kColor)
            m_brushes[item == kItemOn ? 1 : 0].CreateBrush(props.color, CMfxBrush::kSolid);
    }
    if (redraw && m_window) {
        m_window->Invalidate(nullptr, true);
        m_window->Update();
    }
    return (props.mask & supported) == props.mask;
}

// --- Archive ---------------------------------------------------------------------------

void CDataLEDWnd::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_backColor;
        ar.WriteObject(m_font.get());
        m_blocks.Serialize(ar);
        ar << m_display << m_mode;
        ar.WriteObject(m_button.get());
        ar << m_brushes[0].GetColor() << m_brushes[1].GetColor();
        return;
    }
    ar >> m_backColor;
    m_font = ar.ReadOwnedObject<CMfxFont>();
    m_blocks.Serialize(ar);
    ar >> m_display >> m_mode;
    m_button = ar.ReadOwnedObject<CPushButton>();
    std::uint32_t off = 0, on = 0;
    ar >> off >> on;
    if (!m_font || !m_button)
        gauge::Reject("data light font or Read button missing");
    if (m_display != kBitDisplay && m_display != kByteDisplay)
        gauge::Reject("data light display mode out of range");
    if (m_mode != kImmediate && m_mode != kScan)
        gauge::Reject("data light acquisition mode out of range");
    m_brushes[0].CreateBrush(off, CMfxBrush::kSolid);
    m_brushes[1].CreateBrush(on, CMfxBrush::kSolid);
}

void CDataLEDWnd::CheckLoaded(int slots) {
    m_blocks.CheckLoaded(static_cast<std::size_t>(std::max(slots, 0)),
                         m_display == kByteDisplay ? 8 : 1, RUNTIME_CLASS(CDataLight), 2);
}
