// The document's stored-data reload and its Data Browser: a window of scans of
// the current dataset around a time is read back in chunks that fit the
// reading buffer, and every chunk goes to the views as new readings.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/CScanEngine.h"
#include "app/IScanHost.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "scan/CFXSetupArray.h"
#include "scan/CRunRecord.h"

namespace {

// Puts the views' hint target back however the refresh ends.
class HintTargetGuard {
public:
    HintTargetGuard(IView*& target, IView* view) : m_target(target) { m_target = view; }
    ~HintTargetGuard() { m_target = nullptr; }
    HintTargetGuard(const HintTargetGuard&) = delete;
    HintTargetGuard& operator=(const HintTargetGuard&) = delete;

private:
    IView*& m_target;
};

} // namespace

// --- The command ----------------------------------------------------------------

void CLoggerDoc::OnDataBrowser() {
    if (!m_dataBrowser) {
        CreateDataBrowser();
    } else {
        m_browserState = 0;
        CloseDataBrowser();
    }
}

bool CLoggerDoc::IsDataBrowserEnabled() const {
    return !IsScanning() && GetDataset() && GetDataset()->IsOpen() &&
           GetDataset()->GetReadingCount() > 0;
}

void CLoggerDoc::CreateDataBrowser() {
    if (m_services.scanHost != nullptr)
        m_services.scanHost->ActivateGraphView();
    CloseDataBrowser();
    if (!GetDataset() || !GetDataset()->IsOpen() || GetDataset()->GetReadingCount() <= 0)
        return;
    UpdateScanStatus(false);
    if (m_services.dataBrowser != nullptr)
        m_dataBrowser = m_services.dataBrowser->CreateDataBrowser(*this);
}

void CLoggerDoc::CloseDataBrowser() {
    // The window's own close may reach here again through DataBrowserClosed.
    std::unique_ptr<IDataBrowser> browser = std::move(m_dataBrowser);
    browser.reset();
}

void CLoggerDoc::DataBrowserClosed() {
    m_browserState = 0;
    CloseDataBrowser();
}

// --- Where the views stand ------------------------------------------------------

void CLoggerDoc::RefreshDataBrowser(IView* view) {
    HintTargetGuard guard(m_hintTarget, view);
    UpdateDataBrowserRange();
}

long CLoggerDoc::UpdateDataBrowserRange() {
    if (!GetDataset() || !GetDataset()->IsOpen())
        return -1;
    double time = 0.0;
    if (!m_hasReadings) {
        // A run's data: the newest reading, with the header brought up to date
        // so that its range covers it.
        m_rangeUpdate = true;
        try {
            GetDataset()->WriteHeader();
            time = GetDataset()->GetLastReadingTime();
        } catch (...) {
            m_rangeUpdate = false;
            throw;
        }
        m_rangeUpdate = false;
    } else {
        time = GetDataset()->GetBrowsePosition();
    }
    return SetBrowseTime(time);
}

long CLoggerDoc::SetBrowseTime(double& time) {
    if (!GetDataset() || !GetDataset()->IsOpen())
        return -1;
    const double first = GetDataset()->GetFirstTime();
    const double last = std::max(first, GetDataset()->GetLastTime());
    time = std::clamp(time, first, last);
    if (GetDataset()->GetReadingCount() <= 0)
        return -1;
    const std::uint32_t position = GetDataset()->FindReadingPosition(time - first, true);
    if (position == CDataset::kNotFound)
        return -1;
    const std::int32_t channels = std::max<std::int32_t>(GetDataset()->GetChannelCount(), 1);
    std::int32_t scan = 0;
    ReadingRecord record;
    const auto index = static_cast<std::int32_t>(position / CDataset::kReadingSize);
    if (GetDataset()->ReadReadings(&record, 1, index) == 1)
        scan = static_cast<std::int32_t>(record.ScanNumber) - 1;
    else
        scan = static_cast<std::int32_t>(position / (channels * CDataset::kReadingSize));
    const std::int32_t scans = GetDataset()->GetScanCount();
    // The scan found is kept within the dataset's scans, and the reload works
    // on that same scan.
    scan = std::clamp(scan, 0, std::max(scans - 1, 0));
    GetDataset()->SetBrowseScan(scan);
    BrowseToTime(scan, time);
    return GetDataset()->GetBrowseScan();
}

// --- The reload ------------------------------------------------------------------

double CLoggerDoc::BrowseToTime(std::int32_t& scanIndex, double time) {
    if (!GetDataset() || !GetDataset()->IsOpen())
        return time;
    CDataset& dataset = *GetDataset();
    const double firstTime = dataset.GetFirstTime();
    const double lastTime = std::max(firstTime, dataset.GetLastTime());
    const bool toWindowEnd = time == -1.0;
    if (!toWindowEnd)
        time = std::clamp(time, firstTime, lastTime);
    if (dataset.GetReadingCount() <= 0)
        return time;

    const std::int32_t channels = dataset.GetChannelCount();
    if (channels <= 0)
        return time;
    scanIndex = std::max<std::int32_t>(scanIndex, 0);
    dataset.SetBrowseScan(scanIndex);
    // Computed channels are evaluated at the reading that completes a scan.
    m_engine->SetLastScanChannel(GetMaxChannelInFirstScan());
    const std::int64_t position =
        std::int64_t{channels} * scanIndex * static_cast<std::int64_t>(CDataset::kReadingSize);

    // The views say how many scans and which events they want.
    CRunRecord record;
    record.m_kind = CRunRecord::kReloadStart;
    m_frameCounter = 0;
    m_viewFlags = 0;
    UpdateAllViews(nullptr, HINT_DATASET_LOADED, &record);

    std::int32_t first = 0, count = 0;
    dataset.GetScanWindow(scanIndex + 1, static_cast<std::int32_t>(m_frameCounter),
                          static_cast<std::int32_t>(std::min<std::int64_t>(position, INT32_MAX)),
                          &first, &count);
    ReadingRecord windowFirst, windowLast;
    const bool haveFirst = count > 0 && dataset.ReadReadings(&windowFirst, 1, first) == 1;
    const bool haveLast = count > 0 && dataset.ReadReadings(&windowLast, 1, first + count - 1) == 1;
    if (toWindowEnd)
        time = haveLast ? std::min(static_cast<double>(windowLast.Time), lastTime) : firstTime;

    record.m_kind = CRunRecord::kReloadStart;
    record.m_time = firstTime;
    record.m_time2 = time;
    record.m_time3 = haveFirst ? static_cast<double>(windowFirst.Time) : firstTime;
    record.m_startTime = dataset.GetStartTime();
    UpdateAllViews(nullptr, HINT_EVENT, &record);
    dataset.SetBrowsePosition(time);

    // Chunks of whole scans that leave room for the computed channels' readings.
    ReadingRecord* buffer = m_engine->GetReadingBuffer();
    const std::int32_t capacity = m_engine->GetReadingBufferCapacity();
    const std::int32_t cap = std::max(capacity / channels * channels, 1);
    const std::int32_t extra = std::max(CountActiveChannels(true) - channels, 0);
    const auto chunkSize = [&](std::int32_t wanted) {
        std::int32_t n = std::min(cap, wanted);
        if (extra > 0 && n + extra * n / channels > cap)
            n = std::max(n / (extra + channels) * channels, std::min(channels, n));
        return n;
    };

    DeleteLatestReadings();
    std::int32_t n = chunkSize(count);
    std::int32_t got =
        n > 0 ? dataset.ReadReadings(buffer, static_cast<std::int16_t>(n), first) : 0;
    if (got < n)
        count -= n - got;
    std::int32_t done = 0;
    bool firstChunk = true;
    while (got > 0 && done < count) {
        m_engine->DeleteReadingLists();
        m_engine->SetReadingBufferCount(static_cast<std::int16_t>(got));
        for (std::int32_t i = 0; i < got; ++i) {
            m_engine->AddReadingToStore(&buffer[i]);
            m_engine->SetBatchCount(static_cast<std::int16_t>(m_engine->GetBatchCount() + 1));
            m_engine->StoreReading(buffer[i]);
        }
        UpdateAllViews(nullptr, HINT_NEW_READINGS, &record);

        const bool lastChunk = done + got >= count;
        if (m_viewFlags != 0) {
            const double from =
                firstChunk ? dataset.GetFirstEventTime() : static_cast<double>(buffer[0].Time);
            const double to = lastChunk ? time : static_cast<double>(buffer[got - 1].Time);
            std::vector<std::unique_ptr<CDatasetEvent>> found;
            if (dataset.GetUserEvents(from, to, m_viewFlags, found) > 0 && !found.empty()) {
                std::vector<CDatasetEvent> events;
                events.reserve(found.size());
                for (const auto& event : found)
                    events.push_back(*event);
                UpdateAllViews(nullptr, HINT_DATASET_UPDATE, &events);
            }
        }
        firstChunk = false;
        done += got;
        if (done >= count)
            break;
        n = chunkSize(count - done);
        got = dataset.ReadReadings(buffer, static_cast<std::int16_t>(n), first + done);
        if (got < n)
            count -= n - got;
    }

    record.m_kind = CRunRecord::kReloadEnd;
    UpdateAllViews(nullptr, HINT_EVENT, &record);
    return time;
}

void CLoggerDoc::LoadStoredReadings() {
    if (!GetDataset() || !GetDataset()->IsOpen())
        return;
    const std::int32_t scans = GetDataset()->GetScanCount();
    std::int32_t scan = std::clamp(GetDataset()->GetBrowseScan(), 0, std::max(scans - 1, 0));
    BrowseToTime(scan, -1.0);
}

void CLoggerDoc::UpdateHasReadings() {
    m_hasReadings = GetDataset() && GetDataset()->IsOpen() && GetDataset()->GetReadingCount() != 0;
}

std::int16_t CLoggerDoc::GetMaxChannelInFirstScan() {
    if (!GetDataset() || !GetDataset()->IsOpen() || GetDataset()->GetReadingCount() <= 0) {
        const std::uint32_t last = m_setup ? m_setup->GetLastActiveChannel() : 0;
        return static_cast<std::int16_t>(last);
    }
    const std::int16_t channels =
        std::min<std::int16_t>(std::max<std::int16_t>(GetDataset()->GetChannelCount(), 0),
                               CScanEngine::kReadingBufferCapacity);
    ReadingRecord* buffer = m_engine->GetReadingBuffer();
    const std::int16_t read = channels > 0 ? GetDataset()->ReadReadings(buffer, channels, 0) : 0;
    std::int16_t highest = 0;
    for (std::int16_t i = 0; i < read; ++i)
        highest = std::max(highest, static_cast<std::int16_t>(buffer[i].Channel));
    return highest;
}

// --- The dataset's times for the browser ---------------------------------------------

double CLoggerDoc::GetRunStartTime() const {
    return GetDataset() ? GetDataset()->GetFirstTime() : 0.0;
}

double CLoggerDoc::GetRunEndTime() const {
    return GetDataset() ? GetDataset()->GetLastTime() : 0.0;
}

double CLoggerDoc::GetMeanScanInterval() const {
    return GetDataset() ? GetDataset()->GetScanInterval() : 0.0;
}

std::int32_t CLoggerDoc::GetDatasetScanCount() const {
    return GetDataset() && GetDataset()->IsOpen() ? GetDataset()->GetScanCount() : 0;
}

double CLoggerDoc::GetBrowsePosition() const {
    return GetDataset() ? GetDataset()->GetBrowsePosition() : 0.0;
}

void CLoggerDoc::SetBrowsePosition(double position) {
    if (GetDataset())
        GetDataset()->SetBrowsePosition(position);
}

std::int32_t CLoggerDoc::GetBrowseScan() const {
    return GetDataset() ? GetDataset()->GetBrowseScan() : 0;
}

void CLoggerDoc::SetBrowseScan(std::int32_t scan) {
    if (GetDataset())
        GetDataset()->SetBrowseScan(GetDatasetScanCount() > 0 ? scan : 0);
}

void CLoggerDoc::GetReadingDateTime(double time, tvane::CTime& out, int& milliseconds) const {
    // As FormatReadingTime shows it: whole seconds after the document's time.
    const double seconds = std::floor(time / 1000.0);
    milliseconds = static_cast<int>(time - seconds * 1000.0);
    out = m_engine->GetDocumentTime() + static_cast<std::int64_t>(seconds);
}

double CLoggerDoc::ToReadingTime(tvane::CTime time, int milliseconds) const {
    const double reading =
        static_cast<double>(time.GetTime() - m_engine->GetDocumentTime().GetTime()) * 1000.0 +
        milliseconds;
    const double first = GetRunStartTime();
    return std::clamp(reading, first, std::max(first, GetRunEndTime()));
}
