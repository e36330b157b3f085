#include "graphics/displays/datagrid/CGridFrame.h"

#include <algorithm>

#include "graphics/CGraphView.h"
#include "graphics/DisplayFamily.h"
#include "graphics/IGraphDC.h"
#include "graphics/IGraphDocument.h"
#include "graphics/displays/gridbase/GridPages.h"
#include "platform/archive/CArchive.h"
#include "platform/archive/CArchiveException.h"
#include "scan/CChannelArray.h"
#include "scan/CDisplayRecord.h"
#include "scan/CReadingQuery.h"
#include "scan/CRunRecord.h"
#include "shared/CGraphException.h"
#include "shared/DocumentHints.h"

IMPLEMENT_SERIAL(CGridFrame, CGraphFrame, 0)

namespace {
// Graphics > Data Grid.
const displays::FrameRegistration<CGridFrame> kGridFrame{32808};

// Room kept at a printed page's foot for its page number.
constexpr int kFooterRoom = 2 * CDataGrid::kRowPixels;
} // namespace

CGridFrame::CGridFrame() {
    m_rect = {10, 10, 345, 194};
    m_rect.bottom += m_titleHeight;
    m_defaultRect = m_rect;
    // Computed channels too.
    m_kindMask = 0x603;
    m_channelCapacity = kSlots;
    // No hints until the grid exists.
    m_receivesHints = 0;
}

CGridFrame::~CGridFrame() {
    m_receivesHints = 0;
    m_gridWindow.reset();
}

int CGridFrame::GetHelpId(int page) const {
    return (page >= 0 && page <= 3) ? 11000 + 100 * page : 11000;
}

void CGridFrame::GridChanged() {
    if (m_gridWindow)
        m_gridWindow->Redraw();
}

bool CGridFrame::MakeGridWindow() {
    IDataGridWindows* maker = displays::Windows<IDataGridWindows>::Get();
    if (!maker || !m_window || !m_grid)
        return false;
    m_gridWindow.reset();
    m_gridWindow = maker->CreateGridWindow(*m_window, *m_grid, RegionToRect(*m_region));
    if (!m_gridWindow)
        throw CGraphException(CGraphException::CreateFailed, CMfxException::Warning, nullptr,
                              "Datagrid", __LINE__, "");
    m_region->SetWnd(m_gridWindow.get());
    m_grid->SetChanged([this] { GridChanged(); });
    return true;
}

bool CGridFrame::CreateFrame(CGraphView* parent) {
    if (!CGraphFrame::CreateFrame(parent))
        return false;
    m_grid = std::make_unique<CDataGrid>();
    m_grid->SetParent(this);
    m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    // A grid without a channel list still makes a display.
    m_grid->Create(m_channelCapacity);
    MakeGridWindow();
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    CChannelInfo first;
    if (GetDefaultChannel(first))
        SetChannelAt(0, &first);
    else
        FitTextColumns();
    return true;
}

bool CGridFrame::RecreateFrame(CGraphView* parent, int showCommand) {
    if (!CGraphFrame::RecreateFrame(parent, showCommand))
        return false;
    if (!m_grid) {
        m_grid = std::make_unique<CDataGrid>();
        m_grid->Create(m_channelCapacity);
    }
    m_grid->SetParent(this);
    if (!m_region)
        m_region = std::make_unique<CRegion>(nullptr, 0.0, 0.0, 1.0, 1.0);
    m_grid->Recreate();
    MakeGridWindow();
    if (!AddRegion(m_region.get()))
        return false;
    m_receivesHints = 1;
    OnViewHint(HINT_SETUP_CHANGED, {});
    if (m_channels)
        for (std::size_t i = 0; i < m_channels->GetSize(); ++i)
            if (const CChannelInfo* channel = m_channels->GetAt(i))
                OnChannelChanged(static_cast<int>(i), channel);
    return true;
}

bool CGridFrame::EditProperties() {
    const graphfactory::SheetInfo* sheet = graphfactory::FindSheet(kDataGrid);
    return EditGraphProperties(*this, sheet->pages, sheet->captionId);
}

void CGridFrame::Redraw(bool) {
    GridChanged();
}

long CGridFrame::OnViewHint(long hint, const HintObject& object) {
    long result = CGraphFrame::OnViewHint(hint, object);
    if (m_receivesHints && m_grid && (hint == HINT_CHANNEL_EDIT || hint == HINT_SETUP_CHANGED))
        result |= m_grid->RequestChannelList() ? 1 : 0;
    return result;
}

bool CGridFrame::OnChannelChanged(int index, const CChannelInfo* channel) {
    return m_grid ? m_grid->ShowChannel(index, channel) : true;
}

void CGridFrame::SetChannelAt(int index, const CChannelInfo* info) {
    if (index < 0 || index >= m_channelCapacity || !info)
        return;
    CGraphFrame::SetChannelAt(index, info);
    if (m_grid)
        m_grid->AssignRow(index);
    OnChannelChanged(index, info);
    FitTextColumns();
    // The channel's newest reading comes with the page's resend.
    RequestRefresh();
    MarkLayoutChanged(true);
}

void CGridFrame::RemoveChannelAt(int index) {
    if (index < 0 || index >= m_channelCapacity)
        return;
    CGraphFrame::RemoveChannelAt(index);
    if (m_grid)
        m_grid->ClearRow(index);
    OnChannelChanged(index, nullptr);
    MarkLayoutChanged(true);
}

void CGridFrame::FitTextColumns() {
    if (!m_gridWindow)
        return;
    std::vector<std::string> readings;
    if (m_channels)
        for (std::size_t i = 0; i < m_channels->GetSize(); ++i)
            if (const CChannelInfo* channel = m_channels->GetAt(i)) {
                const auto samples = datagrid::ReadingSamples(channel->Units);
                readings.insert(readings.end(), samples.begin(), samples.end());
            }
    if (readings.empty())
        readings = datagrid::ReadingSamples("");
    m_gridWindow->FitColumn(CDataGrid::kReadingCol, readings);
    m_gridWindow->FitColumn(CDataGrid::kTimeCol, datagrid::TimeSamples([this](double time) {
                                return FormatScanTime(time);
                            }));
}

bool CGridFrame::OnChannelRequest(std::vector<CChannelInfo>& channels) {
    CChannelArray available;
    GetAvailableChannels(available);
    for (std::size_t i = 0; i < available.GetSize(); ++i)
        if (const CChannelInfo* c = available.GetAt(i))
            channels.push_back(*c);
    available.DeleteAll();
    return true;
}

void CGridFrame::OnSetChannel(int slot, const CChannelInfo& channel) {
    SetChannelAt(slot, &channel);
}

bool CGridFrame::GetAppearanceItem(int item, GRAPHITEMPROPS& props) {
    const bool base = CGraphFrame::GetAppearanceItem(item, props);
    const bool grid = m_grid && m_grid->GetAppearanceItem(item, props);
    return base || grid;
}

bool CGridFrame::SetAppearanceItem(int item, const GRAPHITEMPROPS& props, bool repaint) {
    const bool base = CGraphFrame::SetAppearanceItem(item, props, repaint);
    const bool grid = m_grid && m_grid->SetAppearanceItem(item, props, repaint);
    return base || grid;
}

bool CGridFrame::OnNewReadings(const HintObject& object) {
    if (!m_grid || !m_channels)
        return true;
    // Of a reload in batches only the last is shown.
    const CDisplayRecord* batch = object.As<CDisplayRecord>();
    if (batch && batch->m_first < batch->m_second)
        return false;
    const bool stored = GetDocumentHasReadings();
    const bool reload = batch || object.Is<CRunRecord>();
    CGridDataArray& rows = m_grid->GetRows();
    std::vector<ReadingRecord*> readings;
    // The scan a reload shows: the batch's, else the newest of the rows'.
    std::int32_t browsed = batch ? batch->m_third : 0;
    if (reload && !batch)
        for (std::size_t i = 0; i < m_channels->GetSize(); ++i)
            if (const CChannelInfo* channel = m_channels->GetAt(i)) {
                readings.clear();
                GetChannelReadings(channel->Number, readings);
                if (!readings.empty()) {
                    const std::int32_t scan = readings.back()->ScanNumber;
                    browsed = std::max(browsed, scan);
                }
            }
    bool gated = false;
    for (std::size_t i = 0; i < m_channels->GetSize(); ++i) {
        const CChannelInfo* channel = m_channels->GetAt(i);
        CGridData* row = rows.GetAt(i);
        if (!channel || !row)
            continue;
        readings.clear();
        GetChannelReadings(channel->Number, readings);
        if (readings.empty()) {
            if (stored)
                row->Reset();
            continue;
        }
        const ReadingRecord newest = *readings.back();
        if (reload && stored && newest.ScanNumber != browsed) {
            row->Reset();
            continue;
        }
        if (!stored && !gated) {
            gated = true;
            if (!datagrid::PassUpdateRate(m_pendingScans, m_updateRate,
                                          static_cast<int>(readings.size())))
                return true;
        }
        datagrid::FillRow(*row, newest, channel->Units, FormatScanTime(newest.Time));
        m_shownTime = std::max(m_shownTime, static_cast<double>(newest.Time));
    }
    m_grid->RefreshRows();
    m_pendingScans = 0;
    return true;
}

void CGridFrame::OnScanState() {
    if (!m_grid || !m_channels)
        return;
    for (std::size_t i = 0; i < m_channels->GetSize(); ++i)
        if (m_channels->GetAt(i))
            if (CGridData* row = m_grid->GetRows().GetAt(i))
                row->SetReading(datagridtext::kNoReading);
    m_shownTime = -1.0;
    m_grid->RefreshRows();
}

std::string CGridFrame::CopyDisplayedData() {
    IGraphDocument* doc = GetDocument();
    if (!doc || !GetDocumentHasReadings() || m_shownTime < 0.0 || !m_channels)
        return {};
    CReadingQuery query;
    // The scan the grid shows.
    query.m_startTime = m_shownTime;
    query.m_endTime = m_shownTime;
    doc->GetScanChannelList(query.m_channelLabels, query.m_channelNumbers);
    query.m_selectedNumbers.clear();
    for (std::size_t i = 0; i < m_channels->GetSize(); ++i)
        if (const CChannelInfo* c = m_channels->GetAt(i))
            query.m_selectedNumbers.push_back(static_cast<std::uint32_t>(c->Number));
    query.m_dataKind = CReadingQuery::kReadings;
    query.m_destination = CReadingQuery::kToClipboard;
    query.m_outputFormat = CReadingQuery::kTabDelimited;
    query.m_timeStamp = 1;
    query.m_seconds = 1;
    query.m_alarmFlag = 1;
    query.m_alarmedOnly = 0;
    query.m_separator = '\t';
    return doc->ExportReadingsText(query);
}

GRect CGridFrame::GridRect() const {
    if (m_gridWindow)
        return m_gridWindow->GetRectInFrame();
    return m_region ? RegionToRect(*m_region) : GetDataRect();
}

bool CGridFrame::DrawFrame(IGraphDC& dc, const GRect* rect) {
    const bool base = CGraphFrame::DrawFrame(dc, rect);
    IDataGridWindows* maker = displays::Windows<IDataGridWindows>::Get();
    if (!m_grid || !maker)
        return base;
    const int top = m_gridWindow ? m_gridWindow->GetTopRow() : 1;
    maker->DrawGrid(dc, *m_grid, GridRect(), top);
    return true;
}

int CGridFrame::Print(IGraphDC& dc) {
    DrawFrame(dc, nullptr);
    return 0;
}

int CGridFrame::BeginSelectionPrint(const GRect& sheet) {
    const int room = sheet.Height() - kPrintTop - kFooterRoom;
    m_rowsPerPage = gridpages::RowsPerPage(room, CDataGrid::kRowPixels, CDataGrid::kRowPixels);
    return gridpages::PageCount(m_grid ? m_grid->RowCount() : 1, m_rowsPerPage);
}

void CGridFrame::PrintSelectionPage(IGraphDC& dc, const GRect& sheet, int page) {
    IDataGridWindows* maker = displays::Windows<IDataGridWindows>::Get();
    if (!m_grid || !maker)
        return;
    // The page's rows under the header, as wide as the grid shows them.
    const int width = std::min(sheet.Width(), std::max(GridRect().Width(), 1));
    const GRect area{0, 0, width, (m_rowsPerPage + 1) * CDataGrid::kRowPixels};
    dc.Save();
    dc.Offset(0, kPrintTop);
    maker->DrawGrid(dc, *m_grid, area, gridpages::FirstRowOfPage(page, m_rowsPerPage));
    dc.Restore();
}

void CGridFrame::OnSize(bool changed) {
    // The grid holds whole rows: the frame's height snaps to them, measured
    // unselected so that selecting the grid does not shrink it.
    if (m_window && m_grid) {
        const GRect data = GetRestingDataRect();
        const int fit = m_grid->GetFittingHeight(data.Height());
        if (fit > 0 && fit != data.Height()) {
            GRect window = m_window->GetWindowRect();
            window.bottom -= data.Height() - fit;
            m_window->MoveWindow(window, true);
        }
    }
    CGraphFrame::OnSize(changed);
}

void CGridFrame::DestroyWindow() {
    // The grid's window lives inside the frame's: it goes first.
    if (m_grid)
        m_grid->SetChanged(nullptr);
    if (m_region)
        m_region->SetWnd(nullptr);
    m_gridWindow.reset();
    CGraphFrame::DestroyWindow();
}

void CGridFrame::Serialize(tvane::CArchive& ar) {
    CGraphFrame::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteObject(m_grid.get());
        ar.WriteObject(m_region.get());
        return;
    }
    // A damaged part rejects the whole document, as for every display.
    std::unique_ptr<CDataGrid> grid = ar.ReadOwnedObject<CDataGrid>();
    std::unique_ptr<CRegion> region = ar.ReadOwnedObject<CRegion>();
    if (!grid || !region || grid->RowCount() != m_channelCapacity)
        throw tvane::CArchiveException(tvane::CArchiveException::generic,
                                       "data grid rows do not match its channel slots");
    DestroyWindow();
    m_grid = std::move(grid);
    m_region = std::move(region);
}
