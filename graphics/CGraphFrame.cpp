#include "graphics/CGraphFrame.h"

#include <algorithm>

#include "graphics/CGraphView.h"
#include "graphics/GraphMessages.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "platform/archive/CArchive.h"
#include "platform/controls/DragDrop.h"
#include "scan/CChannelArray.h"
#include "scan/CReadingInfo.h"
#include "scan/CRunRecord.h"
#include "shared/CGraphException.h"
#include "shared/DocumentHints.h"

IMPLEMENT_SERIAL(CGraphTextStyle, tvane::CObject, 0)
IMPLEMENT_SERIAL(CGraphFrame, tvane::CObject, 0)

std::uint32_t CGraphFrame::s_frameCounter = 0;

namespace {

constexpr int kPreferenceShowAll = 10006;
constexpr int kBorderWidth = 1; // SM_CXBORDER

} // namespace

void Draw3dRect(IGraphDC& dc, const GRect& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
    const int right = r.right - 1;
    const int bottom = r.bottom - 1;
    dc.Line({r.left, r.top}, {right, r.top}, topLeft);
    dc.Line({r.left, r.top}, {r.left, bottom}, topLeft);
    dc.Line({right, r.top}, {right, bottom + 1}, bottomRight);
    dc.Line({r.left, bottom}, {right, bottom}, bottomRight);
}

namespace {

[[noreturn]] void Reject(const char* what) {
    throw tvane::CArchiveException(tvane::CArchiveException::generic, what);
}

} // namespace

void CGraphTextStyle::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_face << m_points;
        return;
    }
    std::string face;
    std::int32_t points = 0;
    ar >> face >> points;
    if (points < 1 || points > kMaxFontPoints)
        Reject("text style point size out of range");
    m_face = std::move(face);
    m_points = points;
}

LOGFONT CGraphTextStyle::MakeLogFont(int dpi) const {
    LOGFONT lf;
    lf.lfHeight = -MulDiv(m_points, dpi, 72);
    lf.lfWeight = 400;
    lf.SetFaceName(m_face);
    return lf;
}

CGraphFrame::CGraphFrame()
    : m_colors{RGB(0, 255, 255),   RGB(0, 255, 0),     RGB(255, 255, 0),   RGB(0, 128, 128),
               RGB(255, 255, 255), RGB(192, 192, 192), RGB(166, 202, 240), RGB(255, 0, 0)} {
    m_defaultRect = m_rect;
}

CGraphFrame::~CGraphFrame() {
    m_receivesHints = 0;
    m_window.reset();
    if (m_channels)
        m_channels->DeleteAll();
}

// --- Geometry -----------------------------------------------------------------

GRect CGraphFrame::GetDataRect() const {
    const GRect client =
        m_window ? m_window->GetClientRect() : GRect{0, 0, m_rect.Width(), m_rect.Height()};
    return graphgeo::DataRect(client, m_inset, m_titleHeight);
}

GRect CGraphFrame::GetRestingDataRect() const {
    const GRect client = m_window ? m_window->GetRestingClientRect()
                                  : GRect{0, 0, m_rect.Width(), m_rect.Height()};
    return graphgeo::DataRect(client, m_inset, m_titleHeight);
}

GRect CGraphFrame::GetFrameRect() const {
    return m_window ? m_window->GetWindowRect() : m_rect;
}

GRect CGraphFrame::GetTitleBand() const {
    const GRect client =
        m_window ? m_window->GetClientRect() : GRect{0, 0, m_rect.Width(), m_rect.Height()};
    return graphgeo::TitleBand(client, m_titleHeight);
}

GPoint CGraphFrame::GetMinTrackSize() const {
    const int width = m_window ? m_window->TextWidth(m_title) : 0;
    return graphgeo::MinTrackSize(m_minWidth, m_minHeight, width, m_titleHeight);
}

// --- Creation -----------------------------------------------------------------

void CGraphFrame::MakeWindow(CGraphView* parent) {
    m_parent = parent;
    IGraphViewWindow* page = parent ? parent->GetWindow() : nullptr;
    m_window =
        page ? page->CreateFrameWindow(*this, m_rect, static_cast<int>(s_frameCounter)) : nullptr;
    if (!m_window)
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              kSourceModule, __LINE__, {});
}

bool CGraphFrame::CreateFrame(CGraphView* parent) {
    IGraphDocument* doc = parent ? parent->GetDocument() : nullptr;
    if (doc) {
        m_timeStampFormat = doc->GetFormat(IGraphDocument::kDateTimeMs);
        m_dateTimeFormat = doc->GetFormat(IGraphDocument::kDateTime);
        m_dateFormat = doc->GetFormat(IGraphDocument::kDate);
        m_timeFormat = doc->GetFormat(IGraphDocument::kTime);
        m_timeMsFormat = doc->GetFormat(IGraphDocument::kTimeMs);
    }
    ++s_frameCounter;
    const int dpiX = parent && parent->GetWindow() ? parent->GetWindow()->DpiX() : 96;
    graphgeo::ApplyDpiOnCreate(dpiX, m_rect, m_minWidth, m_minHeight);
    MakeWindow(parent);
    m_textStyle = std::make_unique<CGraphTextStyle>("Arial", 9);
    const int dpiY = parent && parent->GetWindow() ? parent->GetWindow()->DpiY() : 96;
    if (!m_font.SetLogFont(m_textStyle->MakeLogFont(dpiY)))
        return false;
    if (m_followPreference && doc)
        m_showAllChannels = doc->GetPreference(kPreferenceShowAll) ? 1 : 0;
    m_hasRegionList = true;
    m_regions.clear();
    m_channels = std::make_unique<CChannelArray>();
    ResetChannelSlots();
    if (parent)
        std::copy(std::begin(parent->m_timeValues), std::end(parent->m_timeValues),
                  std::begin(m_timeValues));
    return true;
}

bool CGraphFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    ++s_frameCounter;
    const int dpiX = parent && parent->GetWindow() ? parent->GetWindow()->DpiX() : 96;
    graphgeo::ApplyDpiOnRecreate(dpiX, m_defaultRect, m_defaultMinWidth, m_defaultMinHeight, m_rect,
                                 m_minWidth, m_minHeight);
    MakeWindow(parent);
    if (!m_font.IsCreated())
        m_font.CreateFont();
    if (!m_channels)
        m_channels = std::make_unique<CChannelArray>();
    m_window->Show(showCommand != 0);
    m_hasRegionList = true;
    m_regions.clear();
    return m_hasRegionList;
}

void CGraphFrame::DestroyWindow() {
    m_window.reset();
}

void CGraphFrame::Redraw(bool erase) {
    if (m_window)
        m_window->Redraw(erase);
}

// --- Hints --------------------------------------------------------------------

long CGraphFrame::OnViewHint(long hint, const HintObject& object) {
    if (!m_receivesHints)
        return 0;
    switch (hint) {
    case HINT_CHANNEL_EDIT:
        return UpdateChannelInfos(object.As<CChannelArray>());
    case HINT_NEW_READINGS:
        return OnNewReadings(object);
    case HINT_READING:
        return object.IsNull() ? 0 : OnReading(object);
    case HINT_EVENT:
        if (const CRunRecord* run = object.As<CRunRecord>(); run && run->m_kind == 3) {
            m_timeValues[0] = run->m_time;
            m_timeValues[1] = run->m_time2;
            m_timeValues[2] = run->m_time3;
        }
        return OnEventHint(object);
    case HINT_DATASET_LOADED:
        OnRetainHint();
        OnViewFlagsHint();
        return OnEventHint(object);
    case HINT_ACTION_RESULT:
        return OnActionResult(object.As<CReadingInfo>());
    case HINT_DATASET_UPDATE:
        return OnDatasetUpdate(object);
    case HINT_SETUP_CHANGED:
        if (m_followPreference)
            if (IGraphDocument* doc = GetDocument())
                m_showAllChannels = doc->GetPreference(kPreferenceShowAll) ? 1 : 0;
        RefreshChannels();
        return 0;
    case HINT_SCAN_STATE:
        OnScanState();
        return 0;
    case HINT_EVENTS_CHANGED:
        return OnEventsChanged(object);
    default:
        return 0;
    }
}

void CGraphFrame::OnRetainHint() {
    if (IGraphDocument* doc = GetDocument())
        doc->RaiseFrameCounter(static_cast<std::uint32_t>(m_retainCount));
}

void CGraphFrame::OnViewFlagsHint() {
    if (IGraphDocument* doc = GetDocument())
        doc->AddViewFlags(m_viewFlagMask);
}

// --- Channels -------------------------------------------------------------------

bool CGraphFrame::UpdateChannelInfos(const CChannelArray* edited) {
    if (!edited || !m_channels)
        return true;
    for (std::size_t e = 0; e < edited->GetSize(); ++e) {
        const CChannelInfo* info = edited->GetAt(e);
        if (!info)
            continue;
        for (std::size_t s = 0; s < m_channels->GetSize(); ++s) {
            CChannelInfo* slot = m_channels->GetAt(s);
            if (slot && slot->Number == info->Number) {
                *slot = *info;
                OnChannelChanged(static_cast<int>(s), info);
            }
        }
    }
    return true;
}

void CGraphFrame::RefreshChannels() {
    if (!m_channels)
        return;
    CChannelArray available;
    GetAvailableChannels(available);
    for (std::size_t s = 0; s < m_channels->GetSize(); ++s) {
        CChannelInfo* slot = m_channels->GetAt(s);
        if (!slot)
            continue;
        const CChannelInfo* found = nullptr;
        for (std::size_t a = 0; a < available.GetSize() && !found; ++a)
            if (available.GetAt(a) && available.GetAt(a)->Number == slot->Number)
                found = available.GetAt(a);
        if (found)
            *slot = *found;
        else
            RemoveChannelAt(static_cast<int>(s));
    }
    available.DeleteAll();
}

void CGraphFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if (!m_channels || index < 0 || !info)
        return;
    const auto i = static_cast<std::size_t>(index);
    if (CChannelInfo* slot = m_channels->GetAt(i))
        *slot = *info;
    else
        m_channels->SetAtGrow(i, new CChannelInfo(*info));
}

void CGraphFrame::RemoveChannelAt(int index) {
    if (!m_channels || index < 0)
        return;
    const auto i = static_cast<std::size_t>(index);
    if (CChannelInfo* slot = m_channels->GetAt(i)) {
        m_channels->SetAtGrow(i, nullptr);
        delete slot;
    }
}

void CGraphFrame::GetAvailableChannels(CChannelArray& out) {
    if (IGraphDocument* doc = GetDocument())
        doc->FillChannelInfoArray(out, m_kindMask, m_showAllChannels == 0);
}

void CGraphFrame::ResetChannelSlots() {
    if (!m_channels)
        return;
    m_channels->RemoveAll();
    m_channels->SetSize(static_cast<std::size_t>(std::max(0, m_channelCapacity)));
}

bool CGraphFrame::GetDefaultChannel(CChannelInfo& out) {
    CChannelArray available;
    GetAvailableChannels(available);
    bool found = false;
    if (available.GetSize() > 0 && available.GetAt(0)) {
        out = *available.GetAt(0);
        found = true;
    }
    available.DeleteAll();
    return found;
}

// --- Appearance ------------------------------------------------------------------

bool CGraphFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    std::uint32_t handled = 0;
    if (item == GRAPHITEMPROPS::kCaption) {
        handled = GRAPHITEMPROPS::kLabelName | GRAPHITEMPROPS::kLabelText;
        if (props.mask & GRAPHITEMPROPS::kLabelName)
            props.labelName = GraphicsTexts().Load(231);
        if (props.mask & GRAPHITEMPROPS::kLabelText)
            props.labelText = m_title;
    }
    return (props.mask & ~handled) == 0;
}

bool CGraphFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool) {
    std::uint32_t handled = 0;
    if (item == GRAPHITEMPROPS::kCaption) {
        handled = GRAPHITEMPROPS::kLabelText;
        if (props.mask & GRAPHITEMPROPS::kLabelText)
            SetTitle(props.labelText);
    } else if (item == GRAPHITEMPROPS::kChannelColor) {
        // The colour goes to its slot, but the display's own answer decides.
        if (props.mask & GRAPHITEMPROPS::kColor)
            SetColorSlot(props.channelIndex, props.color);
    }
    return (props.mask & ~handled) == 0;
}

// --- Title and selection --------------------------------------------------------

void CGraphFrame::SetTitle(const std::string& title) {
    m_title = title;
    if (m_window)
        m_window->InvalidateRect(GetTitleBand());
}

bool CGraphFrame::SetSelected(bool selected) {
    if ((m_selected != 0) == selected)
        return false;
    m_selected = selected ? 1 : 0;
    if (m_window)
        m_window->SetSelectedLook(selected);
    if (selected)
        OnSelected();
    if (m_window)
        m_window->InvalidateRect(GetTitleBand());
    return true;
}

void CGraphFrame::OnSelected() {
    if (m_window)
        m_window->SetFocus();
}

// --- Regions -----------------------------------------------------------------------

bool CGraphFrame::AddRegion(CRegion* region) {
    if (!m_hasRegionList || !region)
        return false;
    m_regions.push_back(region);
    return true;
}

bool CGraphFrame::LayoutRegions() {
    if (!m_hasRegionList)
        return true;
    for (CRegion* region : m_regions)
        if (IRegionWindow* window = region->GetWnd())
            window->MoveWindow(RegionToRect(*region), true);
    return true;
}

void CGraphFrame::OnSize(bool changed) {
    if (changed)
        MarkLayoutChanged(true);
    LayoutRegions();
}

void CGraphFrame::OnMove() {
    MarkLayoutChanged(true);
}

// --- Document ----------------------------------------------------------------------

IGraphDocument* CGraphFrame::GetDocument() const {
    return m_parent ? m_parent->GetDocument() : nullptr;
}

bool CGraphFrame::GetDocumentHasReadings() const {
    IGraphDocument* doc = GetDocument();
    return doc && doc->HasReadings();
}

double CGraphFrame::GetStartTick() const {
    IGraphDocument* doc = GetDocument();
    return doc ? doc->GetStartTick() : 0.0;
}

std::int32_t CGraphFrame::GetDatasetCode() const {
    IGraphDocument* doc = GetDocument();
    return 1 + (doc ? doc->GetTerminationCode() : 0);
}

std::int16_t CGraphFrame::GetChannelReadings(std::int32_t channel,
                                             std::vector<ReadingRecord*>& out) const {
    // The document adds to what the list holds: a list reused for one channel
    // after another would show the first channel's newest reading for each.
    out.clear();
    IGraphDocument* doc = GetDocument();
    return doc ? doc->GetChannelReadings(channel, out) : std::int16_t{0};
}

std::string CGraphFrame::FormatScanTime(double time) const {
    IGraphDocument* doc = GetDocument();
    return doc ? doc->FormatReadingTime(time) : std::string{};
}

void CGraphFrame::MarkLayoutChanged(bool changed) {
    CGraphView::SetLayoutChanged(changed);
}

void CGraphFrame::RequestRefresh() {
    if (m_parent)
        m_parent->RefreshFrame(*this);
}

// --- Mouse and messages -------------------------------------------------------------

void CGraphFrame::OnLButtonDown() {
    if (m_parent)
        tvane::MessageBus::Post(*m_parent, {graphmsg::ObjectSelect(), 0, 0, {}, this});
}

void CGraphFrame::OnRButtonDown(GPoint) {
    OnLButtonDown();
}

void CGraphFrame::OnCloseButton() {
    if (m_parent && m_parent->GetSelected() != this)
        m_parent->SelectFrame(this);
    if (m_parent)
        m_parent->DeleteSelected(true);
}

void CGraphFrame::PostRequest(const void* source, const CReadingInfo& request, long long mode) {
    m_requests.Post(*this, source, {request}, mode);
}

void CGraphFrame::PostRequests(const void* source, std::vector<CReadingInfo> requests,
                               long long mode) {
    if (!requests.empty())
        m_requests.Post(*this, source, std::move(requests), mode);
}

long CGraphFrame::OnMessage(const tvane::Message& message) {
    if (message.id == graphmsg::ObjectSelect()) {
        if (m_parent && !IsSelected())
            tvane::MessageBus::Post(*m_parent, {graphmsg::ObjectSelect(), 0, 0, {}, this});
        return 1;
    }
    if (message.id == graphmsg::SetChannel()) {
        MarkLayoutChanged(true);
        SetChannelAt(static_cast<int>(message.wParam),
                     static_cast<const CChannelInfo*>(message.data));
        return 1;
    }
    if (message.id == graphmsg::RemoveChannel()) {
        MarkLayoutChanged(true);
        RemoveChannelAt(static_cast<int>(message.wParam));
        return 1;
    }
    if (message.id == graphmsg::PositionEventLog())
        return m_parent ? tvane::MessageBus::Send(*m_parent, message) : 0;
    if (message.id == graphmsg::ChannelRequest()) {
        if (auto* out = const_cast<CChannelArray*>(static_cast<const CChannelArray*>(message.data)))
            GetAvailableChannels(*out);
        return 1;
    }
    // Drops are the page's business.
    if (message.id == tvane::dragmsg::QueryDrop() || message.id == tvane::dragmsg::DoDrop())
        return m_parent ? tvane::MessageBus::Send(*m_parent, message) : 0;
    if (message.id == graphmsg::AsyncEvent()) {
        const auto request = m_requests.Take(message.lParam);
        if (request && m_parent)
            m_parent->PostRequests(this, std::move(request->records), request->mode);
        return request ? 1 : 0;
    }
    return 0;
}

// --- Drawing ---------------------------------------------------------------------------

namespace {

void DrawTitleBand(IGraphDC& dc, const CGraphFrame& frame, const GRect& client) {
    const GRect band = graphgeo::TitleBand(client, frame.m_titleHeight);
    const bool selected = frame.IsSelected();
    dc.Rectangle(band, selected ? graphcolor::kActiveCaption : graphcolor::kInactiveCaption);
    dc.SetFont(frame.GetFrameLogFont());
    const GPoint pos = graphgeo::TitleTextPos(band, kBorderWidth, dc.TextHeight());
    dc.Text(pos, frame.GetTitle(),
            selected ? graphcolor::kCaptionText : graphcolor::kInactiveCaptionText, &band);
}

} // namespace

void CGraphFrame::Paint(IGraphDC& dc) {
    const GRect client =
        m_window ? m_window->GetClientRect() : GRect{0, 0, m_rect.Width(), m_rect.Height()};
    if (m_fillBackground)
        dc.FillRect(client.Deflated(-1), m_backColor);
    DrawTitleBand(dc, *this, client);
}

bool CGraphFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    dc.Save();
    const GRect client =
        m_window ? m_window->GetClientRect() : GRect{0, 0, m_rect.Width(), m_rect.Height()};
    const GRect r = rect ? *rect : client;
    if (m_fillBackground)
        dc.Rectangle(r, m_backColor);
    const GRect b = client.Deflated(1);
    const int colors = dc.NumColors();
    if (colors == 1 || colors == 2) {
        dc.Polygon({{b.left, b.top}, {b.right, b.top}, {b.right, b.bottom}, {b.left, b.bottom}});
    } else if (IsSelected()) {
        Draw3dRect(dc, b, graphcolor::kWhite, graphcolor::kBlack);
        Draw3dRect(dc, b.Deflated(1), graphcolor::kSilver, graphcolor::kGrey);
    } else {
        Draw3dRect(dc, b, graphcolor::kBlack, graphcolor::kWhite);
        Draw3dRect(dc, b.Deflated(1), graphcolor::kGrey, graphcolor::kSilver);
    }
    DrawTitleBand(dc, *this, client);
    dc.Restore();
    return true;
}

// --- Archive ------------------------------------------------------------------------------

void CGraphFrame::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        ar << m_timeStampFormat << m_dateTimeFormat << m_dateFormat << m_timeFormat
           << m_timeMsFormat;
        // A selected display's window is where the display is (its sizing
        // border takes from the client area), so its rectangle and inset are
        // stored as they are: a store and a load give the same geometry.
        if (m_window)
            m_rect = m_window->GetWindowRect();
        const GRect r = m_rect;
        ar << r.left << r.top << r.right << r.bottom;
        ar << static_cast<std::int16_t>(m_border);
        ar << m_inset;
        ar << m_channelCapacity << m_retainCount << m_backColor
           << static_cast<std::int16_t>(m_lastSheetPage) << m_title;
        ar.WriteObject(m_channels.get());
        ar << m_updateRate;
        m_noReadings = GetDocumentHasReadings() ? 0 : 1;
        ar << m_noReadings << m_timeValues[1] << m_showAllChannels << m_kindMask;
        ar << m_timeValues[0] << m_timeValues[1] << m_timeValues[2];
        ar.WriteObject(m_textStyle.get());
        ar.WriteObject(&m_font);
        for (std::uint32_t color : m_colors)
            ar << color;
        if (m_noReadings == 0)
            ar << static_cast<std::int16_t>(m_pendingScans);
        return;
    }
    m_defaultRect = m_rect;
    m_defaultMinWidth = m_minWidth;
    m_defaultMinHeight = m_minHeight;
    ar >> m_timeStampFormat >> m_dateTimeFormat >> m_dateFormat >> m_timeFormat >> m_timeMsFormat;
    GRect rect;
    ar >> rect.left >> rect.top >> rect.right >> rect.bottom;
    if (!graphgeo::IsStorableRect(rect))
        Reject("display rectangle out of range");
    m_rect = rect;
    std::int16_t border = 0, lastPage = 0;
    ar >> border;
    m_border = border;
    ar >> m_inset >> m_channelCapacity >> m_retainCount >> m_backColor >> lastPage >> m_title;
    if (m_inset < 0 || m_inset > graphgeo::kMaxInset)
        Reject("display inset out of range");
    if (m_channelCapacity < 0 || m_channelCapacity > kMaxChannelCapacity)
        Reject("display channel capacity out of range");
    if (m_retainCount < 0 || m_retainCount > kMaxRetainCount)
        Reject("display scan count out of range");
    m_lastSheetPage = lastPage;
    if (m_channels)
        m_channels->DeleteAll();
    m_channels.reset();
    m_channels = ar.ReadOwnedObject<CChannelArray>();
    ar >> m_updateRate;
    double second = 0.0;
    ar >> m_noReadings >> second >> m_showAllChannels >> m_kindMask;
    ar >> m_timeValues[0] >> m_timeValues[1] >> m_timeValues[2];
    m_textStyle = ar.ReadOwnedObject<CGraphTextStyle>();
    std::unique_ptr<CMfxFont> font = ar.ReadOwnedObject<CMfxFont>();
    if (font) {
        CheckStoredFont(font->GetLogFont());
        m_font = *font;
    }
    for (std::uint32_t& color : m_colors)
        ar >> color;
    if (m_noReadings == 0) {
        std::int16_t pending = 0;
        ar >> pending;
        m_pendingScans = pending;
    }
}
