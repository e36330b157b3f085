#include "graphics/CGraphView.h"

#include <algorithm>
#include <exception>
#include <new>

#include "database/CDatasetEvent.h"
#include "graphics/CDisplayToClipboard.h"
#include "graphics/CGraphFrame.h"
#include "graphics/DisplayDrag.h"
#include "graphics/GraphFactory.h"
#include "graphics/GraphMessages.h"
#include "graphics/GraphicsTexts.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "graphics/IGraphFrameWindow.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/MemoryStream.h"
#include "platform/controls/DragDrop.h"
#include "platform/core/Exception.h"
#include "platform/ui/Prompter.h"
#include "scan/CReadingInfo.h"
#include "shared/CMfxException.h"
#include "shared/DocumentHints.h"
#include "shared/ExceptionReport.h"

bool CGraphView::s_layoutChanged = false;
std::function<void()> CGraphView::s_layoutSink;
int CGraphView::s_hintDepth = 0;

namespace {

constexpr int kPreferenceConfirmDelete = 10005;

// A selected display's sizing border takes from its client area, and so from
// the charts and panes it lays out in it. It is stored laid out as it lies
// unselected, so that selecting a display never changes what it stores.
class RestingLook {
public:
    explicit RestingLook(const CGraphFrame* frame)
        : m_window(frame && frame->IsSelected() ? frame->GetWindow() : nullptr) {
        if (m_window)
            m_window->SetSelectedLook(false);
    }
    ~RestingLook() {
        if (m_window)
            m_window->SetSelectedLook(true);
    }
    RestingLook(const RestingLook&) = delete;
    RestingLook& operator=(const RestingLook&) = delete;

private:
    IGraphFrameWindow* m_window;
};

// Reports what a display's creation threw, as the page does for every display
// it makes or pastes.
void ReportCreationFailure(const std::exception& e) {
    if (const auto* mfx = dynamic_cast<const CMfxException*>(&e)) {
        mfx->ShowReport();
        return;
    }
    ShowMfxErrorMessage(e, {}, -1);
}

class WaitGuard {
public:
    explicit WaitGuard(IGraphViewWindow* window) : m_window(window) {
        if (m_window)
            m_window->BeginWait();
    }
    ~WaitGuard() {
        if (m_window)
            m_window->EndWait();
    }

private:
    IGraphViewWindow* m_window;
};

} // namespace

CGraphView::CGraphView(IGraphViewWindow* window, IGraphDocument* document)
    : m_window(window), m_doc(document), m_frames(std::make_unique<CGraphFrameList>()) {
    static std::uint32_t pages = 0;
    m_dragId = ++pages;
}

CGraphView::~CGraphView() {
    m_selected = nullptr;
    m_refreshTarget = nullptr;
    if (m_frames)
        for (CGraphFrame* frame : *m_frames)
            frame->DestroyWindow();
    m_frames.reset();
}

void CGraphView::SetLayoutChanged(bool changed) {
    s_layoutChanged = changed;
    // What a display does with the document's data (a chart's time window
    // following the readings) is no change the user made to the setup.
    if (changed && s_layoutSink && s_hintDepth == 0)
        s_layoutSink();
}

void CGraphView::SetLayoutChangeSink(std::function<void()> sink) {
    s_layoutSink = std::move(sink);
}

// --- Hints ----------------------------------------------------------------------

void CGraphView::OnUpdate(IView*, long hint, const HintObject& object) {
    switch (hint) {
    case HINT_CHANNEL_EDIT:
    case HINT_NEW_READINGS:
    case HINT_READING:
    case HINT_EVENT:
    case HINT_DATASET_LOADED:
    case HINT_ACTION_RESULT:
    case HINT_DATASET_UPDATE:
    case HINT_SETUP_CHANGED:
    case HINT_SCAN_STATE:
    case HINT_EVENTS_CHANGED:
        ForwardHint(hint, object);
        break;
    default:
        break;
    }
}

void CGraphView::ForwardHint(long hint, const HintObject& object) {
    struct Depth {
        Depth() { ++s_hintDepth; }
        ~Depth() { --s_hintDepth; }
    } depth;
    if (m_refreshTarget) {
        m_refreshTarget->OnViewHint(hint, object);
        return;
    }
    if (!m_frames)
        return;
    // A display may go while it is told (its close button); work on a copy.
    const std::vector<CGraphFrame*> frames(m_frames->begin(), m_frames->end());
    for (CGraphFrame* frame : frames)
        if (m_frames->Find(frame) >= 0)
            frame->OnViewHint(hint, object);
}

void CGraphView::RefreshFrame(CGraphFrame& frame) {
    WaitGuard wait(m_window);
    m_refreshTarget = &frame;
    try {
        if (m_doc)
            m_doc->ResendData(*this);
    } catch (...) {
        m_refreshTarget = nullptr;
        throw;
    }
    m_refreshTarget = nullptr;
}

// --- Archive ----------------------------------------------------------------------

void CGraphView::BringListIntoStackingOrder() {
    if (!m_window || !m_frames || m_frames->GetCount() < 2)
        return;
    for (const IGraphFrameWindow* window : m_window->WindowsTopDown())
        if (CGraphFrame* frame = m_frames->FindByWindow(window))
            m_frames->MoveToTail(frame);
}

void CGraphView::Serialize(tvane::CArchive& ar) {
    if (ar.IsStoring()) {
        if (m_window)
            m_tabName = m_window->GetTabName();
        BringListIntoStackingOrder();
        const RestingLook resting(m_selected);
        ar << m_backColor << m_tabName << m_vScroll << m_hScroll;
        ar.WriteObject(m_frames.get());
        return;
    }
    ar >> m_backColor >> m_tabName >> m_vScroll >> m_hScroll;
    DeleteAllFrames();
    m_frames = ar.ReadOwnedObject<CGraphFrameList>();
    if (!m_frames)
        m_frames = std::make_unique<CGraphFrameList>();
}

bool CGraphView::OnInitialUpdate(bool loaded) {
    if (loaded) {
        if (!m_frames)
            m_frames = std::make_unique<CGraphFrameList>();
        bool ok = false;
        try {
            ok = m_frames->RecreateFrames(this);
        } catch (const std::exception& e) {
            ReportCreationFailure(e);
        }
        if (!ok) {
            tvane::ShowMessage("Unable to create graph view", tvane::MsgButtons::Ok,
                               tvane::MsgIcon::Error);
            return false;
        }
        // The list was stored topmost first; each window made since came on
        // top of the ones before it. The stacking is put back as it was.
        if (m_window) {
            std::vector<const IGraphFrameWindow*> windows;
            for (CGraphFrame* frame : *m_frames)
                if (frame->GetWindow())
                    windows.push_back(frame->GetWindow());
            m_window->StackTopDown(windows);
        }
        if (m_window)
            m_window->SetTabName(m_tabName);
    } else {
        DeleteAllFrames();
        m_selected = nullptr;
        m_refreshTarget = nullptr;
        m_vScroll = m_hScroll = 0;
        m_vRange = m_hRange = 100;
        m_vPage = m_hPage = 10;
        m_backColor = kDefaultBackColor;
        m_editingProperties = false;
        if (m_window)
            m_tabName = m_window->GetTabName();
        m_frames = std::make_unique<CGraphFrameList>();
    }
    SetUpScrollBars();
    if (m_window)
        m_window->Invalidate();
    return true;
}

// --- Scrolling ----------------------------------------------------------------------

void CGraphView::SetUpScrollBars() {
    if (!m_window)
        return;
    const GPoint screen = m_window->FullScreenClientSize();
    m_vRange = 2 * screen.y;
    m_hRange = 2 * screen.x;
    m_vPage = m_vRange / 10;
    m_hPage = m_hRange / 10;
    m_window->SetScrollInfo(true, m_vRange, m_vPage, m_vScroll);
    m_window->SetScrollInfo(false, m_hRange, m_hPage, m_hScroll);
}

bool CGraphView::OnScroll(bool vertical, graphgeo::ScrollCode code, int track) {
    std::int32_t& pos = vertical ? m_vScroll : m_hScroll;
    const int range = vertical ? m_vRange : m_hRange;
    const std::int32_t next =
        graphgeo::NextScrollPosition(pos, code, vertical ? m_vPage : m_hPage, range, track);
    if (next == pos)
        return false;
    const int delta = pos - next;
    pos = next;
    if (m_window) {
        m_window->ScrollContent(vertical ? 0 : delta, vertical ? delta : 0);
        m_window->SetScrollInfo(vertical, range, vertical ? m_vPage : m_hPage, pos);
    }
    return true;
}

// --- Displays ------------------------------------------------------------------------

int CGraphView::GetFrameCount() const {
    return m_frames ? static_cast<int>(m_frames->GetCount()) : 0;
}

bool CGraphView::GetFrameAt(int index, CGraphFrame*& frame, std::string& title) const {
    if (!m_frames || index < 0)
        return false;
    frame = m_frames->GetAt(static_cast<std::size_t>(index));
    if (!frame)
        return false;
    title = frame->GetTitle();
    return true;
}

GRect CGraphView::PlaceNewFrame(const GRect& rect) const {
    std::vector<GPoint> corners;
    if (m_frames)
        for (const CGraphFrame* frame : *m_frames)
            if (frame->HasWindow()) {
                const GRect r = frame->GetFrameRect();
                corners.push_back({r.left, r.top});
            }
    const GRect client = m_window ? m_window->GetClientRect() : GRect{};
    return graphgeo::FramePlacer::Program().Place(rect, client, corners);
}

bool CGraphView::CreateDisplay(unsigned commandId) {
    WaitGuard wait(m_window);
    std::unique_ptr<CGraphFrame> frame;
    try {
        frame = CreateGraphFrame(commandId);
        if (!frame)
            return false; // the factory said why
        if (!frame->CreateFrame(this)) {
            tvane::ShowMessage(GraphicsTexts().Load(2001));
            return false;
        }
        const GRect rect = PlaceNewFrame(frame->m_rect);
        frame->m_rect = rect;
        frame->GetWindow()->MoveWindow(rect, true);
        frame->GetWindow()->Show(true);
        CGraphFrame* added = frame.release();
        if (!m_frames)
            m_frames = std::make_unique<CGraphFrameList>();
        m_frames->AddTail(added);
        SelectFrame(added);
        SetLayoutChanged(true);
        return true;
    } catch (const std::bad_alloc& e) {
        tvane::ShowMessage(std::string(e.what()).substr(0, 255));
    } catch (const tvane::UserException&) {
    } catch (const std::exception& e) {
        ReportCreationFailure(e);
    }
    return false;
}

bool CGraphView::AddFrame(CGraphFrame* frame, const GRect& rect) {
    std::unique_ptr<CGraphFrame> owned(frame);
    try {
        if (!frame->RecreateFrame(this, 0))
            return false;
        frame->m_rect = rect;
        frame->GetWindow()->MoveWindow(rect, false);
        frame->RequestRefresh();
        if (!m_frames)
            m_frames = std::make_unique<CGraphFrameList>();
        m_frames->AddTail(owned.release());
        frame->GetWindow()->Show(true);
        SelectFrame(frame);
        SetLayoutChanged(true);
        return true;
    } catch (const tvane::UserException&) {
    } catch (const std::exception& e) {
        ReportCreationFailure(e);
    }
    return false;
}

int CGraphView::SelectFrame(CGraphFrame* frame) {
    if (!frame || frame == m_selected || !m_frames)
        return 1;
    if (m_frames->Find(frame) < 0)
        return 1;
    if (m_selected)
        m_selected->SetSelected(false);
    m_selected = frame;
    m_selected->SetSelected(true);
    return 1;
}

void CGraphView::DeselectAll() {
    if (m_selected)
        m_selected->SetSelected(false);
    m_selected = nullptr;
}

void CGraphView::SelectNext() {
    if (!m_frames)
        return;
    if (!m_selected) {
        if (CGraphFrame* first = m_frames->GetHead())
            SelectFrame(first);
        return;
    }
    CGraphFrame* next = m_frames->GetNext(m_selected);
    DeselectAll();
    if (next)
        SelectFrame(next);
}

void CGraphView::OnBackgroundClick() {
    DeselectAll();
    if (m_window)
        m_window->SetFocusToPage();
}

void CGraphView::RemoveFrame(CGraphFrame* frame) {
    if (!frame || !m_frames)
        return;
    if (frame == m_selected)
        m_selected = nullptr;
    if (frame == m_refreshTarget)
        m_refreshTarget = nullptr;
    frame->DestroyWindow();
    m_frames->RemoveFrame(frame);
    SetLayoutChanged(true);
}

void CGraphView::DeleteAllFrames() {
    m_selected = nullptr;
    m_refreshTarget = nullptr;
    if (!m_frames)
        return;
    for (CGraphFrame* frame : *m_frames)
        frame->DestroyWindow();
    m_frames.reset();
}

void CGraphView::DeleteSelected(bool ask) {
    if (!m_selected)
        return;
    if (ask && (!m_doc || m_doc->GetPreference(kPreferenceConfirmDelete)) &&
        tvane::ShowMessage(GraphicsTexts().Load(127), tvane::MsgButtons::YesNo,
                           tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
        return;
    CGraphFrame* frame = m_selected;
    RemoveFrame(frame);
    m_selected = nullptr;
}

unsigned CGraphView::GetHelpId() const {
    if (m_selected)
        return static_cast<unsigned>(m_selected->GetHelpId(0)) + 0x20000;
    return kHelpActivateGraphicsView;
}

// --- Properties --------------------------------------------------------------------------

std::vector<std::uint8_t> CGraphView::StoreFrame(const CGraphFrame& frame) {
    tvane::MemoryStream memory;
    {
        const RestingLook resting(&frame);
        tvane::CArchive ar(memory, tvane::CArchive::store);
        CDisplayToClipboard carrier(&frame);
        carrier.Serialize(ar);
    }
    return memory.Bytes();
}

std::unique_ptr<CGraphFrame> CGraphView::LoadFrame(const std::vector<std::uint8_t>& bytes) {
    // No display comes near the drag file's bound; more is not worth reading.
    if (bytes.size() > tvane::kMaxDragFileBytes)
        return nullptr;
    try {
        tvane::MemoryStream memory(bytes);
        tvane::CArchive ar(memory, tvane::CArchive::load);
        CDisplayToClipboard carrier;
        carrier.Serialize(ar);
        return carrier.Take();
    } catch (const tvane::UserException&) {
        return nullptr;
    } catch (const std::exception&) {
        return nullptr;
    }
}

bool CGraphView::EditSelectedProperties() {
    if (!m_selected)
        return EditPageProperties();
    struct EditFlag {
        bool& flag;
        explicit EditFlag(bool& f) : flag(f) { flag = true; }
        ~EditFlag() { flag = false; }
    } editing(m_editingProperties);

    CGraphFrame* original = m_selected;
    bool result = false;
    CGraphFrame* clone = nullptr;
    bool hidden = false;
    {
        WaitGuard wait(m_window);
        original->SetStateFlag(0);
        std::vector<std::uint8_t> bytes;
        try {
            bytes = StoreFrame(*original);
        } catch (const std::exception& e) {
            ReportCreationFailure(e);
        }
        if (original->HideDuringPropertiesEdit() && original->GetWindow()) {
            original->GetWindow()->Show(false);
            hidden = true;
        }
        // The clone is made from the original's own bytes: the user's
        // clipboard is left alone.
        std::unique_ptr<CGraphFrame> copy = bytes.empty() ? nullptr : LoadFrame(bytes);
        if (copy) {
            clone = copy.get();
            if (!AddFrame(copy.release(), original->m_rect))
                clone = nullptr;
        }
    }
    if (clone) {
        result = clone->EditProperties();
        if (!result) {
            RemoveFrame(clone);
            if (hidden && original->GetWindow())
                original->GetWindow()->Show(true);
            SelectFrame(original);
        } else {
            // The clone takes the original's place in the list.
            original->DestroyWindow();
            if (m_selected == original)
                m_selected = nullptr;
            m_frames->ReplaceAt(original, clone);
            delete original;
            original = nullptr;
            m_selected = nullptr;
            SelectFrame(clone);
        }
    } else {
        // The clone could not be made: the original is shown again as it was.
        if (hidden && original->GetWindow())
            original->GetWindow()->Show(true);
        tvane::ShowMessage(GraphicsTexts().Load(13184), tvane::MsgButtons::Ok, tvane::MsgIcon::None,
                           13184);
        SelectFrame(original);
    }
    if (m_selected) {
        m_selected->SetSelected(true);
        m_selected->SetStateFlag(1);
    }
    if (result)
        SetLayoutChanged(true);
    return result;
}

bool CGraphView::EditPageProperties() {
    if (!m_window)
        return true;
    m_tabName = m_window->GetTabName();
    std::uint32_t color = m_backColor;
    std::string name = m_tabName;
    if (m_window->RunPageProperties(color, name)) {
        SetBackColor(color);
        SetTabName(name);
    }
    return true;
}

bool CGraphView::SetTabName(const std::string& name) {
    if (name.empty())
        return false;
    if (m_window)
        m_window->SetTabName(name);
    m_tabName = name;
    SetLayoutChanged(true);
    return true;
}

void CGraphView::SetBackColor(std::uint32_t color) {
    m_backColor = color;
    if (m_window)
        m_window->Invalidate();
    SetLayoutChanged(true);
}

// --- Edit commands ---------------------------------------------------------------------------

bool CGraphView::OnEditCopy() {
    if (!m_selected)
        return false;
    WaitGuard wait(m_window);
    CGraphFrame* frame = m_selected;
    const std::uintptr_t focus = m_window ? m_window->SaveFocus() : 0;
    const bool scanning = m_doc && m_doc->IsScanning();
    // Whatever happens below, the display's state, the capture and the focus
    // are put back.
    struct Restore {
        CGraphView& view;
        CGraphFrame* frame;
        bool scanning;
        std::uintptr_t focus;
        ~Restore() {
            if (!scanning && view.m_frames && view.m_frames->Find(frame) >= 0)
                frame->SetStateFlag(1);
            if (view.m_window) {
                view.m_window->ReleaseCapture();
                view.m_window->RestoreFocus(focus);
            }
        }
    } restore{*this, frame, scanning, focus};
    if (!scanning)
        frame->SetStateFlag(0);

    std::vector<std::uint8_t> bytes;
    try {
        bytes = StoreFrame(*frame);
    } catch (const std::exception&) {
        bytes.clear();
    }
    std::string text;
    if (m_doc && m_doc->HasReadings() && m_doc->GetReadingCount() > 0)
        text = frame->CopyDisplayedData();
    if (bytes.empty())
        tvane::ShowMessage(GraphicsTexts().Load(13183), tvane::MsgButtons::Ok, tvane::MsgIcon::None,
                           13183);
    if (!m_clipboard || !m_clipboard->PutDisplay(bytes, text, frame)) {
        tvane::Prompter().Beep(tvane::MsgIcon::None);
        tvane::ShowMessage(GraphicsTexts().Load(900), tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
        return false;
    }
    return !bytes.empty();
}

void CGraphView::OnEditCut() {
    if (!m_selected)
        return;
    OnEditCopy();
    DeleteSelected(false);
}

bool CGraphView::Paste(bool track) {
    if (!m_clipboard || !m_clipboard->HasDisplay())
        return false;
    std::optional<std::vector<std::uint8_t>> bytes = m_clipboard->GetDisplay();
    std::unique_ptr<CGraphFrame> frame = bytes ? LoadFrame(*bytes) : nullptr;
    bool added = false;
    if (frame) {
        GRect rect = frame->m_rect;
        if (track && m_tracker) {
            std::optional<GRect> placed = m_tracker(rect);
            if (!placed)
                return false; // cancelled: nothing to report
            rect = *placed;
        }
        added = AddFrame(frame.release(), rect);
    }
    if (!added)
        tvane::ShowMessage(GraphicsTexts().Load(13184), tvane::MsgButtons::Ok, tvane::MsgIcon::None,
                           13184);
    return added;
}

// --- Printing ---------------------------------------------------------------------------------

void CGraphView::PrintPageFooter(IGraphDC& dc, const GRect& draw, int page, int pages) {
    dc.Save();
    dc.SetFont(LOGFONT{});
    const std::string text = "Page " + std::to_string(page) + "/" + std::to_string(pages);
    // Bottom-centre alignment: the text ends at y, centred on x.
    const GPoint at = graphgeo::FooterPos(draw, dc.TextHeight());
    dc.Text({at.x - dc.TextWidth(text) / 2, at.y - dc.TextHeight()}, text, 0, nullptr);
    dc.Restore();
}

void CGraphView::PrintPage(IGraphDC& dc, bool selectionOnly, const std::optional<GRect>& sheet,
                           const std::function<void()>& newPage) {
    const GRect draw = sheet ? *sheet : m_window ? m_window->GetClientRect() : GRect{};
    if (!m_frames)
        return;
    if (selectionOnly && m_selected) {
        m_selected->GridHookA();
        // Without a way to start another sheet everything goes on one.
        const int pages = newPage ? std::max(1, m_selected->BeginSelectionPrint(draw)) : 1;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                newPage();
            m_selected->PrintSelectionPage(dc, draw, page);
            PrintPageFooter(dc, draw, page, pages);
        }
        m_selected->EndSelectionPrint();
        m_selected->GridHookB();
        return;
    }
    for (CGraphFrame* frame : *m_frames) {
        frame->PreparePrinting();
        frame->GridHookA();
    }
    PrintPageFooter(dc, draw, 1, 1);
    std::vector<const IGraphFrameWindow*> top =
        m_window ? m_window->WindowsTopDown() : std::vector<const IGraphFrameWindow*>{};
    for (auto it = top.rbegin(); it != top.rend(); ++it) {
        CGraphFrame* frame = m_frames->FindByWindow(*it);
        if (!frame)
            continue;
        const GPoint origin = (*it)->ClientOrigin();
        dc.Save();
        dc.Offset(origin.x, origin.y);
        frame->Print(dc);
        dc.Restore();
    }
    for (CGraphFrame* frame : *m_frames)
        frame->GridHookB();
}

// --- Requests and messages ------------------------------------------------------------------

void CGraphView::PostRequests(const void* source, std::vector<CReadingInfo> requests,
                              long long mode) {
    m_requests.Post(*this, source, std::move(requests), mode);
}

long CGraphView::OnMessage(const tvane::Message& message) {
    if (message.id == graphmsg::ObjectSelect()) {
        auto* frame = static_cast<const CGraphFrame*>(message.data);
        if (m_frames && m_frames->Find(frame) >= 0)
            SelectFrame(const_cast<CGraphFrame*>(frame));
        return 1;
    }
    if (message.id == graphmsg::AsyncEvent()) {
        std::optional<DisplayRequestQueue::Request> request = m_requests.Take(message.lParam);
        if (!request)
            return 0;
        bool ask = request->mode == 0;
        for (CReadingInfo& record : request->records) {
            if (m_doc && !m_doc->DoInstrumentAction(record, ask) &&
                record.m_request == CReadingInfo::kRequestWrite) {
                // A write the instrument did not take is not answered, and the
                // display would go on showing what the user asked for: a query
                // answers every display of the channel with what it holds.
                CReadingInfo query = record;
                query.m_request = CReadingInfo::kRequestQuery;
                m_doc->DoInstrumentAction(query, false);
            }
            ask = false;
        }
        return 1;
    }
    if (message.id == graphmsg::PositionEventLog()) {
        if (m_doc && message.data)
            m_doc->ShowEventInLog(*static_cast<const CDatasetEvent*>(message.data));
        return 1;
    }
    if (message.id == graphmsg::CreateGraph()) {
        CreateDisplay(static_cast<unsigned>(message.wParam));
        return 1;
    }
    if (message.id == graphmsg::TabNameChange())
        return SetTabName(message.text) ? 1 : 0;
    // A display dragged here from another page.
    if (message.id == tvane::dragmsg::QueryDrop())
        return displaydrag::Accepts(*this, message.wParam, message.lParam) ? 1 : 0;
    if (message.id == tvane::dragmsg::DoDrop())
        return displaydrag::Accepts(*this, message.wParam, message.lParam) &&
                       displaydrag::Drop(*this)
                   ? 1
                   : 0;
    if (message.id == graphmsg::TabWndColorChange()) {
        if (message.data)
            SetBackColor(*static_cast<const std::uint32_t*>(message.data));
        return 1;
    }
    return 0;
}
