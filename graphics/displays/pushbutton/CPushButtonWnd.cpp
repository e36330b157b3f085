#include "graphics/displays/pushbutton/CPushButtonWnd.h"

#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/BlockRow.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/indicator/IndicatorDraw.h"
#include "graphics/displays/switches/SwitchTexts.h"
#include "platform/archive/CArchive.h"

IMPLEMENT_SERIAL(CPushButtonWnd, tvane::CObject, 0)

namespace {

constexpr std::uint32_t kLightGrey = 0xC0C0C0;
constexpr std::uint32_t kGrey = 0x808080;

// The row starts half a cell in; there is no legend column.
constexpr BlockRowStyle kButtonRow{1, 1, 0.75};

} // namespace

CPushButtonWnd::CPushButtonWnd() : CToggleBankWnd([] { return std::make_unique<CPushButton>(); }) {
    m_brushes[0].CreateBrush(kLightGrey, CMfxBrush::kSolid);
    m_brushes[1].CreateBrush(kGrey, CMfxBrush::kSolid);
}

CPushButtonWnd::~CPushButtonWnd() = default;

void CPushButtonWnd::Flip(CIndicator& element) {
    static_cast<CPushButton&>(element).Toggle();
}

GRect CPushButtonWnd::StateRect(const CIndicator& element) const {
    return element.GetRect();
}

GRect CPushButtonWnd::FocusRect(const CIndicator& element) const {
    return static_cast<const CPushButton&>(element).m_rect2;
}

const tvane::CRuntimeClass* CPushButtonWnd::ElementClass() const {
    return RUNTIME_CLASS(CPushButton);
}

// --- Drawing ---------------------------------------------------------------------------

void CPushButtonWnd::DrawElement(IGraphDC& dc, const GRect& box, CIndicator& element) {
    auto& button = static_cast<CPushButton&>(element);
    button.m_rect2 = box.Deflated(-3);
    const bool down = button.GetState() == 1;
    FillSolidRect(dc, box, m_brushes[down ? 1 : 0].GetColor());
    Draw3dBorder(dc, box, !down);
}

bool CPushButtonWnd::Draw(IGraphDC& dc, const GRect& rect) {
    dc.Save();
    if (!BeginDraw(dc, rect, SwitchTexts().Load(switchtext::kNoConnection))) {
        dc.Restore();
        return true;
    }
    DrawBlocks(dc, LayoutBlockRow(rect, dc.TextHeight(), m_blocks.ElementCounts(), kButtonRow));
    dc.Restore();
    return true;
}

void CPushButtonWnd::Paint(IGraphDC& dc, const GRect& client) {
    Draw(dc, client);
}

// --- Appearance ------------------------------------------------------------------------

bool CPushButtonWnd::GetAppearanceItem(int item, GRAPHITEMPROPS& props) const {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (!GetBackTextItem(item, props, supported) &&
        (item == kItemButtonUp || item == kItemButtonDown)) {
        supported = P::kName | P::kColor;
        const bool down = item == kItemButtonDown;
        if (props.mask & P::kName)
            props.itemName =
                SwitchTexts().Load(down ? switchtext::kButtonDown : switchtext::kButtonUp);
        if (props.mask & P::kColor)
            props.color = m_brushes[down ? 1 : 0].GetColor();
    }
    return (props.mask & supported) == props.mask;
}

bool CPushButtonWnd::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool redraw) {
    using P = GRAPHITEMPROPS;
    std::uint32_t supported = 0;
    if (!SetBackTextItem(item, props, supported) &&
        (item == kItemButtonUp || item == kItemButtonDown)) {
        supported = P::kColor;
        if (props.mask & P::kColor)
            m_brushes[item == kItemButtonDown ? 1 : 0].CreateBrush(props.color, CMfxBrush::kSolid);
    }
    RedrawIf(redraw);
    return (props.mask & supported) == props.mask;
}

// --- Archive ---------------------------------------------------------------------------

void CPushButtonWnd::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_backColor;
        ar.WriteObject(m_font.get());
        m_blocks.Serialize(ar);
        ar << m_display << m_brushes[0].GetColor() << m_brushes[1].GetColor();
        return;
    }
    ar >> m_backColor;
    m_font = ar.ReadOwnedObject<CMfxFont>();
    m_blocks.Serialize(ar);
    std::uint32_t up = 0, down = 0;
    ar >> m_display >> up >> down;
    if (!m_font)
        gauge::Reject("push button font missing");
    if (m_display != kBitDisplay && m_display != kByteDisplay)
        gauge::Reject("push button display mode out of range");
    m_brushes[0].CreateBrush(up, CMfxBrush::kSolid);
    m_brushes[1].CreateBrush(down, CMfxBrush::kSolid);
}
