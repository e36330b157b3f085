#include "graphics/displays/slider/CSliderFrame.h"

#include <cstdio>

#include "graphics/DisplayFamily.h"
#include "graphics/GraphFactory.h"
#include "graphics/IGraphDC.h"
#include "graphics/displays/indicator/GaugeParts.h"
#include "graphics/displays/slider/SliderRules.h"
#include "platform/archive/CArchive.h"
#include "platform/ui/Prompter.h"
#include "scan/CChannelArray.h"
#include "scan/CChannelInfo.h"

IMPLEMENT_SERIAL(CSliderFrame, CGraphFrame, 0)

namespace {
// Graphics > Slider Control.
const displays::FrameRegistration<CSliderFrame> kSliderFrame{32884};

constexpr double kNewValue = 5.0;
constexpr std::uint32_t kBoxText = 0xFFFFFF;
constexpr std::int32_t kNoChannel = 2000;

// A loaded frame is laid out again without being resized.
bool g_recreating = false;
} // namespace

CSliderFrame::CSliderFrame() {
    const sliderrules::Layout& layout = sliderrules::LayoutFor(SliderModel::kVertical);
    m_rect = {20, 20, 20 + layout.size.x, 20 + layout.size.y};
    m_defaultRect = m_rect;
    m_minWidth = layout.size.x;
    m_minHeight = layout.size.y;
    m_defaultMinWidth = m_minWidth;
    m_defaultMinHeight = m_minHeight;
    m_backColor = CSliderWnd::kDefaultBack;
    m_fillBackground = 1;
    m_kindMask = kAnalogOutputs;
    m_followPreference = 0;
    // No hints or answers until the slider and the box exist.
    m_receivesHints = 0;
}

CSliderFrame::~CSliderFrame() {
    m_receivesHints = 0;
    DropRequests(this);
    if (m_slider)
        m_slider->DestroyWindow();
    if (m_box)
        m_box->DestroyWindow();
}

int CSliderFrame::GetHelpId(int page) const {
    return page >= 0 && page <= 3 ? 11010 + 100 * page : 11010;
}

// --- Creation ------------------------------------------------------------------------------

bool CSliderFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    m_slider = std::make_unique<CSliderWnd>();
    m_box = std::make_unique<CTextBox>();
    m_sliderRegion = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 0.0, 0.0);
    m_boxRegion = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 0.0, 0.0);
    const LOGFONT font = GetFrameLogFont();
    if (!m_slider->Create(*m_window, *this, RegionToRect(*m_sliderRegion), font, 0))
        gauge::CreateFailed(kSourceModule, __LINE__);
    m_slider->SetRange(sliderrules::kMinLimit, sliderrules::kMaxLimit);
    m_slider->SetValue(kNewValue, true, false);
    m_slider->SetResolution(sliderrules::kMinResolution);
    m_box->m_backColor = m_backColor;
    m_box->m_textColor = kBoxText;
    m_box->m_outline = 1;
    m_box->m_acceptTabEnter = 0;
    m_box->Create(*m_window, RegionToRect(*m_boxRegion), font);
    m_box->SetKeys(this);
    m_sliderRegion->SetWnd(m_slider->GetWindow());
    m_boxRegion->SetWnd(m_box->GetWindow());
    if (!AddRegion(m_sliderRegion.get()) || !AddRegion(m_boxRegion.get()))
        gauge::CreateFailed(kSourceModule, __LINE__);
    RefreshValueText();
    ApplyOrientation(m_slider->GetOrientation(), true);
    m_receivesHints = 1;
    CChannelInfo channel;
    if (GetDefaultChannel(channel))
        SetChannelAt(0, &channel);
    else
        ShowValueBox(false);
    return true;
}

bool CSliderFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    g_recreating = true;
    struct Reset {
        ~Reset() { g_recreating = false; }
    } reset;
    if (!CGraphFrame::RecreateFrame(parent, showCommand) || !m_slider || !m_box ||
        !m_sliderRegion || !m_boxRegion)
        return false;
    if (!m_slider->Recreate(*m_window, *this, RegionToRect(*m_sliderRegion)))
        return false;
    m_box->Recreate(*m_window, RegionToRect(*m_boxRegion));
    m_box->SetKeys(this);
    m_sliderRegion->SetWnd(m_slider->GetWindow());
    m_boxRegion->SetWnd(m_box->GetWindow());
    if (!AddRegion(m_sliderRegion.get()) || !AddRegion(m_boxRegion.get()))
        return false;
    ApplyOrientation(m_slider->GetOrientation(), false);
    ShowValueBox(HasChannel());
    m_receivesHints = 1;
    PostQuery();
    return true;
}

void CSliderFrame::DestroyWindow() {
    // The children's windows live inside the frame's: they go first.
    if (m_slider)
        m_slider->DestroyWindow();
    if (m_box)
        m_box->DestroyWindow();
    CGraphFrame::DestroyWindow();
}

bool CSliderFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kSlider);
    if (!EditGraphProperties(*this, sheet->pages, sheet->captionId))
        return false;
    Write();
    LayoutRegions();
    return true;
}

// --- Channel -------------------------------------------------------------------------------

bool CSliderFrame::HasChannel() const {
    const CChannelInfo* channel = m_channels ? m_channels->GetAt(0) : nullptr;
    return channel && channel->Number != kNoChannel;
}

void CSliderFrame::SetChannelAt(int index, const CChannelInfo* channel) {
    CGraphFrame::SetChannelAt(index, channel);
    if (channel)
        OnChannelChanged(index, channel);
}

bool CSliderFrame::OnChannelChanged(int, const CChannelInfo* channel) {
    if (!channel)
        return false;
    std::string title = channel->Name;
    if (title.empty())
        title = channel->Label;
    if (title.empty()) {
        char number[32];
        std::snprintf(number, sizeof number, "%ld", static_cast<long>(channel->Number));
        title = number;
    }
    CGraphFrame::SetChannelAt(0, channel);
    SetTitle(title);
    PostQuery();
    ShowValueBox(true);
    if (m_slider)
        m_slider->Redraw();
    return true;
}

void CSliderFrame::RemoveChannelAt(int index) {
    CGraphFrame::RemoveChannelAt(index);
    if (m_slider)
        m_slider->Redraw();
}

void CSliderFrame::PostQuery() {
    if (!HasChannel())
        return;
    m_request.m_channel = m_channels->GetAt(0)->Number;
    m_request.m_request = CReadingInfo::kRequestQuery;
    PostRequest(this, m_request);
}

void CSliderFrame::Write() {
    if (!HasChannel() || !m_slider)
        return;
    m_request.m_channel = m_channels->GetAt(0)->Number;
    m_request.m_request = CReadingInfo::kRequestWrite;
    const double value = m_slider->GetValue();
    if (value == m_request.m_value)
        return;
    m_request.m_value = value;
    PostRequest(this, m_request);
}

bool CSliderFrame::OnActionResult(const CReadingInfo* record) {
    if (!m_receivesHints || !record || !m_slider || !HasChannel() ||
        m_channels->GetAt(0)->Number != record->m_channel)
        return false;
    m_slider->SetValue(record->m_value, true, false);
    RefreshValueText();
    return true;
}

// --- Slider and value box ------------------------------------------------------------------

void CSliderFrame::OnSliderScroll(int code) {
    if (code == SliderModel::kEnd)
        Write();
}

void CSliderFrame::OnSliderTab() {
    if (m_box && m_box->GetWindow())
        m_box->GetWindow()->SetFocus();
}

void CSliderFrame::OnSliderEnter() {
    Write();
}

bool CSliderFrame::OnBoxKey(int key) {
    if (key != '\t' && key != '\r')
        return false;
    if (!TakeValueBox()) {
        if (m_box && m_box->GetWindow())
            m_box->GetWindow()->SetFocus();
        return true;
    }
    if (key == '\t' && m_slider && m_slider->GetWindow())
        m_slider->GetWindow()->SetFocus();
    Write();
    return true;
}

bool CSliderFrame::TakeValueBox() {
    if (!m_box || !m_slider)
        return false;
    const sliderrules::BoxValue taken =
        sliderrules::TakeValueBox(m_box->GetText(), m_slider->GetLower(), m_slider->GetUpper());
    if (!taken.value) {
        if (m_box->GetWindow())
            m_box->GetWindow()->SelectAll();
        tvane::ShowMessage(taken.message);
        return false;
    }
    m_slider->SetValue(*taken.value, true, false);
    return true;
}

void CSliderFrame::RefreshValueText() {
    if (!m_slider || !m_box)
        return;
    const std::string text =
        sliderrules::ValueText(m_slider->GetValue(), m_slider->GetResolution());
    m_valueText = text;
    if (m_box->GetText() != text)
        m_box->SetText(text);
}

void CSliderFrame::ShowValueBox(bool show) {
    if (m_box && m_box->GetWindow())
        m_box->GetWindow()->Show(show);
}

void CSliderFrame::OnSelected() {
    if (m_box && m_box->GetWindow())
        m_box->GetWindow()->SetFocus();
    else
        CGraphFrame::OnSelected();
}

// --- What the Advanced page edits -------------------------------------------------------

void CSliderFrame::GetLimits(double& lower, double& upper) const {
    lower = m_slider ? m_slider->GetLower() : sliderrules::kMinLimit;
    upper = m_slider ? m_slider->GetUpper() : sliderrules::kMaxLimit;
}

void CSliderFrame::SetLimits(double lower, double upper) {
    if (!m_slider)
        return;
    m_slider->SetRange(lower, upper);
    m_slider->OnSize();
}

double CSliderFrame::GetValue() const {
    return m_slider ? m_slider->GetValue() : 0.0;
}

void CSliderFrame::SetValue(double value) {
    if (!m_slider)
        return;
    m_slider->SetValue(value, true, false);
    RefreshValueText();
    if (m_box && m_box->GetWindow())
        m_box->GetWindow()->Redraw();
}

double CSliderFrame::GetResolution() const {
    return m_slider ? m_slider->GetResolution() : sliderrules::kMinResolution;
}

void CSliderFrame::SetResolution(double resolution) {
    if (m_slider)
        m_slider->SetResolution(resolution);
}

std::int32_t CSliderFrame::GetOrientation() const {
    return m_slider ? m_slider->GetOrientation() : SliderModel::kVertical;
}

void CSliderFrame::SetOrientation(std::int32_t orientation) {
    ApplyOrientation(orientation, !g_recreating);
}

void CSliderFrame::ApplyOrientation(std::int32_t orientation, bool resize) {
    if (!m_slider || !m_sliderRegion || !m_boxRegion)
        return;
    m_slider->SetOrientation(orientation);
    const sliderrules::Layout& layout = sliderrules::LayoutFor(orientation);
    m_boxRegion->SetRegion(layout.box[0], layout.box[1], layout.box[2], layout.box[3]);
    m_sliderRegion->SetRegion(layout.slider[0], layout.slider[1], layout.slider[2],
                              layout.slider[3]);
    m_minWidth = layout.size.x;
    m_minHeight = layout.size.y;
    if (m_window)
        m_window->MinTrackSizeChanged();
    if (resize && m_window) {
        const GRect at = m_window->GetWindowRect();
        m_rect = {at.left, at.top, at.left + layout.size.x, at.top + layout.size.y};
        m_window->MoveWindow(m_rect, true);
    }
    LayoutRegions();
    if (m_window)
        m_window->Redraw(true);
    m_slider->OnSize();
}

// --- Appearance, drawing, archive -------------------------------------------------------

bool CSliderFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    bool own = false;
    if (item == GRAPHITEMPROPS::kBackground) {
        std::uint32_t supported = 0;
        std::uint32_t back = m_backColor;
        gauge::GetBackTextItem(item, props, back, nullptr, false, supported);
        own = (props.mask & ~supported) == 0;
    }
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool slider = m_slider && m_slider->GetAppearanceItem(item, props);
    const bool box = m_box && m_box->GetAppearanceItem(item, props);
    return own || base || slider || box;
}

bool CSliderFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    if (item == GRAPHITEMPROPS::kBackground && (props.mask & GRAPHITEMPROPS::kColor))
        m_backColor = props.color;
    const bool slider = m_slider && m_slider->SetAppearanceItem(item, props, repaint);
    const bool box = m_box && m_box->SetAppearanceItem(item, props, repaint);
    if (repaint && m_window)
        m_window->Redraw(true);
    return base || slider || box;
}

bool CSliderFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    bool drawn = CGraphFrame::DrawFrame(dc, rect);
    if (m_slider) {
        const GRect at = m_slider->GetWindow() ? m_slider->GetWindow()->GetRectInFrame()
                                               : RegionToRect(*m_sliderRegion);
        drawn = m_slider->Draw(dc, at) || drawn;
    }
    if (m_box && m_box->GetWindow() && HasChannel()) {
        GRect at = m_box->GetWindow()->GetRectInFrame();
        drawn = m_box->Draw(dc, &at) || drawn;
    }
    return drawn;
}

int CSliderFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

void CSliderFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_sliderRegion.get());
        ar.WriteObject(m_boxRegion.get());
        // The slider's geometry is stored as the display lies unselected, so
        // that selecting it does not change what it stores.
        const GRect track = m_slider ? m_slider->Model().Track() : GRect{};
        if (m_slider && m_slider->GetWindow() && m_sliderRegion) {
            const GRect at = m_sliderRegion->ToRect(GetRestingDataRect());
            m_slider->LayOutFor({0, 0, at.Width(), at.Height()});
        }
        ar.WriteObject(m_slider.get());
        if (m_slider)
            m_slider->SetTrack(track);
        ar.WriteObject(m_box.get());
        return;
    }
    if (m_slider)
        m_slider->DestroyWindow();
    if (m_box)
        m_box->DestroyWindow();
    m_sliderRegion = ar.ReadOwnedObject<CRegion>();
    m_boxRegion = ar.ReadOwnedObject<CRegion>();
    m_slider = ar.ReadOwnedObject<CSliderWnd>();
    m_box = ar.ReadOwnedObject<CTextBox>();
    if (!m_sliderRegion || !m_boxRegion || !m_slider || !m_box)
        gauge::Reject("slider part missing");
    // The window is made at the loaded orientation's minimum size, not the
    // new display's.
    const sliderrules::Layout& layout = sliderrules::LayoutFor(m_slider->GetOrientation());
    m_minWidth = layout.size.x;
    m_minHeight = layout.size.y;
}
