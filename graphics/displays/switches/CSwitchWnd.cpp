#include "graphics/displays/switches/CSwitchWnd.h"

#include "graphics/CGraphFrame.h"
#include "graphics/DisplayFamily.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/switches/SwitchTexts.h"
#include "graphics/displays/switches/ToggleRules.h"
#include "platform/archive/CArchive.h"
#include "scan/CChannelInfo.h"
#include "shared/CGraphException.h"

IMPLEMENT_SERIAL(CSwitchWnd, tvane::CObject, 0)

namespace {

[[noreturn]] void CreateFailed(int line) {
    throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                          CSwitchWnd::kSourceModule, line, {});
}

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080;

// The switch's further rectangles: where its focus frame and its lever were drawn.
constexpr int kFocusRect = 0;
constexpr int kLeverRect = 1;

} // namespace

CSwitchWnd::CSwitchWnd()
    : m_offText(SwitchTexts().Load(switchtext::kOff)),
      m_onText(SwitchTexts().Load(switchtext::kOn)),
      m_blocks([] { return std::make_unique<CSwitch>(); }, 8) {
    m_levers[0].CreateBrush(kYellow, CMfxBrush::kSolid);
    m_levers[1].CreateBrush(kYellow, CMfxBrush::kSolid);
    m_slotBrush.CreateBrush(kRed, CMfxBrush::kSolid);
    m_plateBrush.CreateBrush(kGrey, CMfxBrush::kSolid);
}

CSwitchWnd::~CSwitchWnd() = default;

bool CSwitchWnd::Create(CGraphFrame& frame, const GRect& rect, const LOGFONT& font,
                        int blockSlots) {
    m_frame = &frame;
    IGaugeWindows* maker = displays::Windows<IGaugeWindows>::Get();
    if (frame.GetWindow() && maker)
        m_window = maker->CreateGaugeWindow(*frame.GetWindow(), *this, rect);
    if (!m_window)
        CreateFailed(__LINE__);
    SetBlockCount(blockSlots);
    m_font = std::make_unique<CMfxFont>();
    m_font->SetColor(0xFFFFFF);
    if (!m_font->SetLogFont(font))
        CreateFailed(__LINE__);
    return true;
}

bool CSwitchWnd::Recreate(CGraphFrame& frame, const GRect& rect) {
    m_frame = &frame;
    IGaugeWindows* maker = displays::Windows<IGaugeWindows>::Get();
    if (frame.GetWindow() && maker)
        m_window = maker->CreateGaugeWindow(*frame.GetWindow(), *this, rect);
    if (!m_window)
        CreateFailed(__LINE__);
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

void CSwitchWnd::DestroyWindow() {
    if (m_frame)
        m_frame->DropRequests(this);
    m_window.reset();
}

// --- Blocks and requests ---------------------------------------------------------------

void CSwitchWnd::AddBlock(int index, const CChannelInfo& channel) {
    if (index >= 0)
        m_blocks.AddBlock(static_cast<std::size_t>(index), channel, m_display == kByteDisplay);
}

bool CSwitchWnd::RemoveBlock(int index) {
    if (index >= 0)
        m_blocks.RemoveBlock(static_cast<std::size_t>(index));
    return true;
}

bool CSwitchWnd::SetChannelAt(int index, const CChannelInfo& channel) {
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

bool CSwitchWnd::IsOn(std::uint32_t value, std::uint32_t mask) const {
    return m_display == kByteDisplay ? IndicatorBlocks::AllBitsSet(value, mask)
                                     : togglerules::AnyBitSet(value, mask);
}

void CSwitchWnd::ToggleSwitch(CSwitch& sw, bool update) {
    sw.Toggle();
    if (m_window) {
        const GRect lever = sw.m_rects[kLeverRect];
        m_window->Invalidate(&lever, false);
        if (update)
            m_window->Update();
    }
    CIndicatorArray* block = m_blocks.Blocks().GetAt(m_blocks.CurrentBlock());
    if (!block)
        return;
    // Clearing takes the switch's bits away; flipping them with a mask of
    // several bits would set those that were clear.
    block->m_value =
        togglerules::ValueAfterToggle(block->m_value, sw.GetBitMask(), sw.GetState() == 1);
    m_request.m_channel = sw.GetChannel();
    m_request.m_value = static_cast<double>(block->m_value);
    m_request.m_request = CReadingInfo::kRequestWrite;
    if (m_frame)
        m_frame->PostRequest(this, m_request);
}

bool CSwitchWnd::OnActionResult(const CReadingInfo& record) {
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
            const GRect lever = static_cast<const CSwitch*>(element)->m_rects[kLeverRect];
            m_window->Invalidate(&lever, false);
        }
        m_window->Update();
    }
    return true;
}

// --- Mouse and keys --------------------------------------------------------------------

void CSwitchWnd::InvalidateFocus() {
    if (!m_window)
        return;
    if (const auto* sw = dynamic_cast<const CSwitch*>(m_blocks.GetCurrent())) {
        const GRect focus = sw->m_rects[kFocusRect];
        m_window->Invalidate(&focus, false);
    }
}

void CSwitchWnd::OnMouse(Mouse event, GPoint point) {
    if (event != Mouse::LeftDown && event != Mouse::LeftDouble)
        return;
    if (!m_blocks.GetCurrent())
        return;
    const auto* previous = dynamic_cast<const CSwitch*>(m_blocks.GetCurrent());
    const GRect oldFocus = previous ? previous->m_rects[kFocusRect] : GRect{};
    CIndicator* hit = m_blocks.HitTest(point);
    if (!hit)
        return;
    if (m_window)
        m_window->Invalidate(&oldFocus, false);
    InvalidateFocus();
    ToggleSwitch(static_cast<CSwitch&>(*hit), true);
}

bool CSwitchWnd::OnKey(int key, bool shift) {
    InvalidateFocus();
    const togglerules::KeyAction action = togglerules::OnKey(m_blocks, key, shift);
    if (action == togglerules::KeyAction::None)
        return false;
    if (action == togglerules::KeyAction::Toggle) {
        if (auto* sw = dynamic_cast<CSwitch*>(m_blocks.GetCurrent()))
            ToggleSwitch(*sw, true);
        return true;
    }
    InvalidateFocus();
    if (m_window)
        m_window->Update();
    return true;
}

// --- Drawing ---------------------------------------------------------------------------

void CSwitchWnd::DrawSwitch(IGraphDC& dc, const GRect& body, CSwitch& sw) const {
    const int w = body.Width();
    const int h = body.Height();
    const GPoint c{static_cast<int>(body.left + 0.5 * w), static_cast<int>(body.top + 0.5 * h)};
    const int dx = static_cast<int>(0.2 * w);
    const int dy = static_cast<int>(0.4 * h);
    FillSolidRect(dc, body, m_plateBrush.GetColor());
    Draw3dBorder(dc, body, true);
    const GRect slot{c.x - dx, c.y - dy, c.x + dx, c.y + dy};
    sw.m_rects[kLeverRect] = slot;
    FillSolidRect(dc, slot, m_slotBrush.GetColor());
    Draw3dBorder(dc, slot, false);
    const bool on = sw.GetState() == 1;
    const GRect lever =
        on ? GRect{c.x - dx, c.y - dy, c.x + dx, c.y} : GRect{c.x - dx, c.y, c.x + dx, c.y + dy};
    FillSolidRect(dc, lever, m_levers[on ? 1 : 0].GetColor());
    // The lever's ridges: bands 5 pixels high from its top.
    for (int top = lever.top; top < lever.bottom; top += 5)
        Draw3dBorder(dc, {lever.left, top, lever.right, std::min(top + 5, lever.bottom)}, true);
    Draw3dBorder(dc, lever, true);
}

bool CSwitchWnd::Draw(IGraphDC& dc, const GRect& rect) {
    dc.Save();
    dc.FillRect(rect, m_backColor);
    CIndicatorBlockArray& blocks = m_blocks.Blocks();
    if (blocks.GetSize() == 0) {
        dc.Restore();
        return true;
    }
    if (m_font)
        dc.SetFont(m_font->GetLogFont());
    const std::uint32_t textColor = m_font ? m_font->GetColor() : 0xFFFFFF;
    if (m_blocks.BlockCount() == 0) {
        indicatordraw::DrawCentredText(dc, rect, SwitchTexts().Load(switchtext::kNoConnection),
                                       textColor);
        dc.Restore();
        return true;
    }
    const int th = dc.TextHeight();
    const BlockRowLayout layout = LayoutBlockRow(rect, th, m_blocks.ElementCounts(), {});
    if (layout.blocks.empty() || layout.blocks[0].elements.empty()) {
        dc.Restore();
        return true;
    }
    // The legend stands in the first column, one cell before the first switch.
    const GRect legend = layout.blocks[0].elements[0].box.Offset(-layout.cellWidth, 0);
    const int centre = (legend.left + legend.right) / 2;
    dc.Text({centre - dc.TextWidth(m_onText) / 2, legend.top - th / 2}, m_onText, textColor,
            nullptr);
    dc.Text({centre - dc.TextWidth(m_offText) / 2, legend.bottom - th / 2}, m_offText, textColor,
            nullptr);

    std::optional<GRect> focus;
    std::size_t b = 0;
    for (std::size_t slot = 0; slot < blocks.GetSize(); ++slot) {
        CIndicatorArray* block = blocks.GetAt(slot);
        if (!block || b >= layout.blocks.size())
            continue;
        const BlockRowLayout::Block& place = layout.blocks[b++];
        for (std::size_t e = 0; e < block->GetSize() && e < place.elements.size(); ++e) {
            auto* sw = dynamic_cast<CSwitch*>(block->GetAt(e));
            if (!sw)
                continue;
            const GRect& body = place.elements[e].box;
            sw->SetRect(body);
            if (layout.labelsShown)
                indicatordraw::DrawCentredText(dc, place.elements[e].label, sw->GetLabel(),
                                               textColor);
            DrawSwitch(dc, body, *sw);
            sw->m_rects[kFocusRect] = body.Deflated(-3);
            if (slot == m_blocks.CurrentBlock() && e == m_blocks.CurrentElement())
                focus = sw->m_rects[kFocusRect];
        }
        const std::string& caption = indicatordraw::ChooseCaption(
            dc, block->m_caption, block->m_shortCaption, place.caption.Width());
        indicatordraw::DrawCentredText(dc, place.caption, caption, textColor);
    }
    if (focus)
        Draw3dBorderOpaque(dc, *focus, true);
    dc.Restore();
    return true;
}

void CSwitchWnd::Paint(IGraphDC& dc, const GRect& client) {
    Draw(dc, client);
}

// --- Appearance ------------------------------------------------------------------------

bool CSwitchWnd::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (item == P::kBackground) {
        supported = P::kName | P::kColor;
        if (props.mask & P::kName)
            props.itemName = GraphicsTexts().Load(203);
        if (props.mask & P::kColor)
            props.color = m_backColor;
    } else if (item == P::kText) {
        supported = P::kName | P::kColor | P::kFont;
        if (props.mask & P::kName)
            props.itemName = GraphicsTexts().Load(205);
        if (m_font && (props.mask & P::kColor))
            props.color = m_font->GetColor();
        if (m_font && (props.mask & P::kFont))
            props.font = m_font->GetLogFont();
    } else if (item == kItemPlate) {
        supported = P::kName | P::kColor;
        if (props.mask & P::kName)
            props.itemName = SwitchTexts().Load(switchtext::kSwitchplate);
        if (props.mask & P::kColor)
            props.color = m_plateBrush.GetColor();
    } else if (item == kItemOn || item == kItemOff) {
        supported = P::kName | P::kColor | P::kLabelName | P::kLabelText;
        const bool on = item == kItemOn;
        const std::string name =
            SwitchTexts().Load(on ? switchtext::kOnLabel : switchtext::kOffLabel);
        if (props.mask & P::kName)
            props.itemName = name;
        if (props.mask & P::kLabelName)
            props.labelName = name;
        if (props.mask & P::kLabelText)
            props.labelText = on ? m_onText : m_offText;
        if (props.mask & P::kColor)
            props.color = m_levers[on ? 1 : 0].GetColor();
    }
    return (props.mask & supported) == props.mask;
}

bool CSwitchWnd::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (item == P::kBackground) {
        supported = P::kColor;
        if (props.mask & P::kColor)
            m_backColor = props.color;
    } else if (item == P::kText) {
        supported = P::kColor | P::kFont;
        if (m_font && (props.mask & P::kColor))
            m_font->SetColor(props.color);
        if (m_font && (props.mask & P::kFont))
            m_font->SetLogFont(props.font);
    } else if (item == kItemPlate) {
        supported = P::kColor;
        if (props.mask & P::kColor)
            m_plateBrush.CreateBrush(props.color, CMfxBrush::kSolid);
    } else if (item == kItemOn || item == kItemOff) {
        supported = P::kColor | P::kLabelText;
        const bool on = item == kItemOn;
        if (props.mask & P::kColor)
            m_levers[on ? 1 : 0].CreateBrush(props.color, CMfxBrush::kSolid);
        if (props.mask & P::kLabelText)
            (on ? m_onText : m_offText) = props.labelText;
    }
    if (redraw && m_window) {
        m_window->Invalidate(nullptr, true);
        m_window->Update();
    }
    return (props.mask & supported) == props.mask;
}

// --- Archive ---------------------------------------------------------------------------

void CSwitchWnd::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_backColor;
        ar.WriteObject(m_font.get());
        ar << m_offText << m_onText;
        m_blocks.Serialize(ar);
        ar << m_display;
        m_slotBrush.Serialize(ar);
        m_plateBrush.Serialize(ar);
        ar << m_levers[0].GetColor() << m_levers[1].GetColor();
        return;
    }
    ar >> m_backColor;
    m_font = ar.ReadOwnedObject<CMfxFont>();
    ar >> m_offText >> m_onText;
    m_blocks.Serialize(ar);
    ar >> m_display;
    m_slotBrush.Serialize(ar);
    m_plateBrush.Serialize(ar);
    std::uint32_t off = 0, on = 0;
    ar >> off >> on;
    if (!m_font)
        Reject("switch bank font missing");
    if (m_display != kBitDisplay && m_display != kByteDisplay)
        Reject("switch bank display mode out of range");
    m_levers[0].CreateBrush(off, CMfxBrush::kSolid);
    m_levers[1].CreateBrush(on, CMfxBrush::kSolid);
}

void CSwitchWnd::CheckLoaded(int slots) {
    m_blocks.CheckLoaded(static_cast<std::size_t>(std::max(slots, 0)),
                         m_display == kByteDisplay ? 8 : 1, RUNTIME_CLASS(CSwitch), 2);
}
