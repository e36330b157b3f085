#include "graphics/displays/switches/CSwitchWnd.h"

#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/switches/SwitchTexts.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CSwitchWnd, tvane::CObject, 0)

namespace {

constexpr std::uint32_t kYellow = 0x00FFFF;
constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGrey = 0x808080;

// The switch's further rectangles: where its focus frame and its lever were drawn.
constexpr int kFocusRect = 0;
constexpr int kLeverRect = 1;

} // namespace

CSwitchWnd::CSwitchWnd()
    : CToggleBankWnd([] { return std::make_unique<CSwitch>(); }),
      m_offText(SwitchTexts().Load(switchtext::kOff)),
      m_onText(SwitchTexts().Load(switchtext::kOn)) {
    m_levers[0].CreateBrush(kYellow, CMfxBrush::kSolid);
    m_levers[1].CreateBrush(kYellow, CMfxBrush::kSolid);
    m_slotBrush.CreateBrush(kRed, CMfxBrush::kSolid);
    m_plateBrush.CreateBrush(kGrey, CMfxBrush::kSolid);
}

CSwitchWnd::~CSwitchWnd() = default;

void CSwitchWnd::Flip(CIndicator& element) {
    static_cast<CSwitch&>(element).Toggle();
}

GRect CSwitchWnd::StateRect(const CIndicator& element) const {
    return static_cast<const CSwitch&>(element).m_rects[kLeverRect];
}

GRect CSwitchWnd::FocusRect(const CIndicator& element) const {
    return static_cast<const CSwitch&>(element).m_rects[kFocusRect];
}

const tvane::CRuntimeClass* CSwitchWnd::ElementClass() const {
    return RUNTIME_CLASS(CSwitch);
}

// --- Drawing ---------------------------------------------------------------------------

void CSwitchWnd::DrawElement(IGraphDC& dc, const GRect& body, CIndicator& element) {
    auto& sw = static_cast<CSwitch&>(element);
    sw.m_rects[kFocusRect] = body.Deflated(-3);
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
    if (!BeginDraw(dc, rect, SwitchTexts().Load(switchtext::kNoConnection))) {
        dc.Restore();
        return true;
    }
    const std::uint32_t textColor = TextColor();
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

    DrawBlocks(dc, layout);
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
    if (GetBackTextItem(item, props, supported))
        return (props.mask & supported) == props.mask;
    if (item == kItemPlate) {
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
    if (SetBackTextItem(item, props, supported)) {
        // background or text
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
    RedrawIf(redraw);
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
        gauge::Reject("switch bank font missing");
    if (m_display != kBitDisplay && m_display != kByteDisplay)
        gauge::Reject("switch bank display mode out of range");
    m_levers[0].CreateBrush(off, CMfxBrush::kSolid);
    m_levers[1].CreateBrush(on, CMfxBrush::kSolid);
}
