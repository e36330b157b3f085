#include "graphics/displays/switches/ToggleBank.h"

#include <optional>

#include "graphics/CGraphFrame.h"
#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/switches/ToggleRules.h"
#include "scan/CChannelInfo.h"

CToggleBankWnd::CToggleBankWnd(IndicatorBlocks::ElementMaker elementMaker)
    : m_blocks(std::move(elementMaker), 8) {}

CToggleBankWnd::~CToggleBankWnd() = default;

void CToggleBankWnd::MakeWindow(CGraphFrame& frame, const GRect& rect) {
    m_frame = &frame;
    IGaugeWindows* maker = displays::Windows<IGaugeWindows>::Get();
    if (frame.GetWindow() && maker)
        m_window = maker->CreateGaugeWindow(*frame.GetWindow(), *this, rect);
    if (!m_window)
        gauge::CreateFailed(Module(), __LINE__);
}

bool CToggleBankWnd::Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font,
                            int blockSlots) {
    MakeWindow(frame, rect);
    SetBlockCount(blockSlots);
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(0xFFFFFF);
    if (!m_font->SetLogFont(font))
        gauge::CreateFailed(Module(), __LINE__);
    return true;
}

bool CToggleBankWnd::Recreate(CGraphFrame& frame, const GRect& rect) {
    MakeWindow(frame, rect);
    if (!m_font || !m_font->CreateFont())
        return false;
    // Each block asks for its channel's state with its own record.
    std::vector<CReadingInfo> requests = m_blocks.Requests(CReadingInfo::kRequestQuery);
    if (!requests.empty()) {
        m_request = requests.back();
        frame.PostRequests(this, std::move(requests));
    }
    return true;
}

void CToggleBankWnd::DestroyWindow() {
    if (m_frame)
        m_frame->DropRequests(this);
    m_window.reset();
}

// --- Blocks and requests ---------------------------------------------------------------

void CToggleBankWnd::AddBlock(int index, const CChannelInfo& channel) {
    if (index >= 0)
        m_blocks.AddBlock(static_cast<std::size_t>(index), channel, m_display == kByteDisplay);
}

bool CToggleBankWnd::RemoveBlock(int index) {
    if (index >= 0)
        m_blocks.RemoveBlock(static_cast<std::size_t>(index));
    return true;
}

bool CToggleBankWnd::SetChannelAt(int index, const CChannelInfo& channel) {
    if (index < 0)
        return false;
    m_blocks.ReplaceBlock(static_cast<std::size_t>(index), channel, m_display == kByteDisplay);
    const CIndicatorArray* block = m_blocks.Blocks().GetAt(static_cast<std::size_t>(index));
    m_request.m_channel = channel.Number;
    m_request.m_value = block ? static_cast<double>(block->m_value) : 0.0;
    m_request.m_request = CReadingInfo::kRequestQuery;
    if (m_frame)
        m_frame->PostRequest(this, m_request);
    return true;
}

bool CToggleBankWnd::IsOn(std::uint32_t value, std::uint32_t mask) const {
    return m_display == kByteDisplay ? IndicatorBlocks::AllBitsSet(value, mask)
                                     : togglerules::AnyBitSet(value, mask);
}

void CToggleBankWnd::Toggle(CIndicator& element, bool update) {
    Flip(element);
    if (m_window) {
        const GRect shown = StateRect(element);
        m_window->Invalidate(&shown, false);
        if (update)
            m_window->Update();
    }
    CIndicatorArray* block = m_blocks.Blocks().GetAt(m_blocks.CurrentBlock());
    if (!block)
        return;
    // Clearing takes the element's bits away; flipping them with a mask of
    // several bits would set those that were clear.
    block->m_value = togglerules::ValueAfterToggle(block->m_value, element.GetBitMask(),
                                                   element.GetState() == 1);
    m_request.m_channel = element.GetChannel();
    m_request.m_value = static_cast<double>(block->m_value);
    m_request.m_request = CReadingInfo::kRequestWrite;
    if (m_frame)
        m_frame->PostRequest(this, m_request);
}

bool CToggleBankWnd::OnActionResult(const CReadingInfo& record) {
    m_request = record;
    std::vector<CIndicator*> changed;
    CIndicatorBlockArray& blocks = m_blocks.Blocks();
    for (std::size_t i = 0; i < blocks.GetSize(); ++i) {
        CIndicatorArray* block = blocks.GetAt(i);
        if (!block || block->m_channel != record.m_channel)
            continue;
        block->m_value = IndicatorBlocks::ValueBits(record.m_value);
        IndicatorBlocks::ApplyValue(*block, block->m_value,
                                    m_display == kByteDisplay ? IndicatorBlocks::AllBitsSet
                                                              : togglerules::AnyBitSet,
                                    &changed);
    }
    if (m_window) {
        for (const CIndicator* element : changed) {
            const GRect shown = StateRect(*element);
            m_window->Invalidate(&shown, false);
        }
        m_window->Update();
    }
    return true;
}

// --- Mouse and keys --------------------------------------------------------------------

void CToggleBankWnd::InvalidateFocus() {
    if (!m_window)
        return;
    if (const CIndicator* current = m_blocks.GetCurrent()) {
        const GRect focus = FocusRect(*current);
        m_window->Invalidate(&focus, false);
    }
}

void CToggleBankWnd::OnMouse(Mouse event, GPoint point) {
    if (event != Mouse::LeftDown && event != Mouse::LeftDouble)
        return;
    const CIndicator* previous = m_blocks.GetCurrent();
    if (!previous)
        return;
    const GRect oldFocus = FocusRect(*previous);
    CIndicator* hit = m_blocks.HitTest(point);
    if (!hit)
        return;
    if (m_window)
        m_window->Invalidate(&oldFocus, false);
    InvalidateFocus();
    Toggle(*hit, true);
}

bool CToggleBankWnd::OnKey(int key, bool shift) {
    InvalidateFocus();
    const togglerules::KeyAction action = togglerules::OnKey(m_blocks, key, shift);
    if (action == togglerules::KeyAction::None)
        return false;
    if (action == togglerules::KeyAction::Toggle) {
        if (CIndicator* current = m_blocks.GetCurrent())
            Toggle(*current, true);
        return true;
    }
    InvalidateFocus();
    if (m_window)
        m_window->Update();
    return true;
}

// --- Drawing and appearance ------------------------------------------------------------

bool CToggleBankWnd::BeginDraw(IGraphDC& dc, const GRect& rect, const std::string& noConnection) {
    dc.FillRect(rect, m_backColor);
    if (m_blocks.Blocks().GetSize() == 0)
        return false;
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    if (m_blocks.BlockCount() == 0) {
        indicatordraw::DrawCentredText(dc, rect, noConnection, TextColor());
        return false;
    }
    return true;
}

void CToggleBankWnd::DrawBlocks(IGraphDC& dc, const BlockRowLayout& layout) {
    const std::uint32_t textColor = TextColor();
    std::optional<GRect> focus;
    CIndicatorBlockArray& blocks = m_blocks.Blocks();
    std::size_t b = 0;
    for (std::size_t slot = 0; slot < blocks.GetSize(); ++slot) {
        CIndicatorArray* block = blocks.GetAt(slot);
        if (!block || b >= layout.blocks.size())
            continue;
        const BlockRowLayout::Block& place = layout.blocks[b++];
        for (std::size_t e = 0; e < block->GetSize() && e < place.elements.size(); ++e) {
            CIndicator* element = block->GetAt(e);
            if (!element || !element->IsKindOf(ElementClass()))
                continue;
            const GRect& box = place.elements[e].box;
            element->SetRect(box);
            if (layout.labelsShown)
                indicatordraw::DrawCentredText(dc, place.elements[e].label, element->GetLabel(),
                                               textColor);
            DrawElement(dc, box, *element);
            if (slot == m_blocks.CurrentBlock() && e == m_blocks.CurrentElement())
                focus = FocusRect(*element);
        }
        const std::string& caption = indicatordraw::ChooseCaption(
            dc, block->m_caption, block->m_shortCaption, place.caption.Width());
        indicatordraw::DrawCentredText(dc, place.caption, caption, textColor);
    }
    if (focus)
        Draw3dBorderOpaque(dc, *focus, true);
}

bool CToggleBankWnd::GetBackTextItem(int item, GRAPHITEMPROPS& props,
                                     std::uint32_t& supported) const {
    return gauge::GetBackTextItem(item, props, m_backColor, m_font.get(), true, supported);
}

bool CToggleBankWnd::SetBackTextItem(int item, const GRAPHITEMPROPS& props,
                                     std::uint32_t& supported) {
    return gauge::SetBackTextItem(item, props, m_backColor, m_font.get(), true, supported);
}

void CToggleBankWnd::RedrawIf(bool redraw) {
    if (redraw && m_window) {
        m_window->Invalidate(nullptr, true);
        m_window->Update();
    }
}

void CToggleBankWnd::CheckLoaded(int slots) {
    m_blocks.CheckLoaded(static_cast<std::size_t>(std::max(slots, 0)),
                         m_display == kByteDisplay ? 8 : 1, ElementClass(), 2);
}
