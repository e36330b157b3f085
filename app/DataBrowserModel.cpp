#include "app/DataBrowserModel.h"

#include <algorithm>
#include <cmath>

#include "app/CLoggerDoc.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/ValueFormat.h"

// --- The document ---------------------------------------------------------------

double DocumentBrowseSource::GetRunStartTime() const {
    return m_doc.GetRunStartTime();
}
double DocumentBrowseSource::GetRunEndTime() const {
    return m_doc.GetRunEndTime();
}
double DocumentBrowseSource::GetMeanScanInterval() const {
    return m_doc.GetMeanScanInterval();
}
std::int32_t DocumentBrowseSource::GetScanCount() const {
    return m_doc.GetDatasetScanCount();
}
double DocumentBrowseSource::GetBrowsePosition() const {
    return m_doc.GetBrowsePosition();
}
void DocumentBrowseSource::SetBrowsePosition(double time) {
    m_doc.SetBrowsePosition(time);
}
std::int32_t DocumentBrowseSource::GetBrowseScan() const {
    return m_doc.GetBrowseScan();
}
void DocumentBrowseSource::SetBrowseScan(std::int32_t scan) {
    m_doc.SetBrowseScan(scan);
}
std::string DocumentBrowseSource::GetTimeFormat() const {
    return m_doc.GetDateTimeMsFormat();
}
std::string DocumentBrowseSource::FormatReadingTime(double time) {
    return m_doc.FormatReadingTime(time);
}
void DocumentBrowseSource::GetReadingDateTime(double time, tvane::CTime& out,
                                              int& milliseconds) const {
    m_doc.GetReadingDateTime(time, out, milliseconds);
}
double DocumentBrowseSource::ToReadingTime(tvane::CTime time, int milliseconds) const {
    return m_doc.ToReadingTime(time, milliseconds);
}
double DocumentBrowseSource::BrowseToScan(std::int32_t& scan) {
    return m_doc.BrowseToTime(scan, -1.0);
}
long DocumentBrowseSource::GoToTime(double& time) {
    return m_doc.SetBrowseTime(time);
}

// --- The browser ------------------------------------------------------------------

int DataBrowserModel::ScanToPosition(std::int32_t scan, std::int32_t scans) {
    if (scan == 0 || scans <= 1)
        return kMinimum;
    const double position = std::trunc(static_cast<double>(scan) / (scans - 1) * kMaximum);
    return std::max(static_cast<int>(position), kMinimum);
}

std::int32_t DataBrowserModel::PositionToScan(int position, std::int32_t scans) {
    if (position == kMinimum)
        return 0;
    const double scan = std::trunc(static_cast<double>(position) / kMaximum * (scans - 1) + 0.5);
    return std::max(static_cast<std::int32_t>(scan), 0);
}

void DataBrowserModel::Initialize() {
    m_first = m_doc.GetRunStartTime();
    m_last = std::max(m_first, m_doc.GetRunEndTime());
    m_current = m_doc.GetBrowsePosition();
    m_scanCount = m_doc.GetScanCount();
    m_firstText = m_doc.FormatReadingTime(m_first);
    m_lastText = m_doc.FormatReadingTime(m_last);
    FormatDuration(m_last - m_first, m_durationText, true);
    m_browseScan = m_doc.GetBrowseScan();
    m_position = ScanToPosition(m_browseScan, m_scanCount);
    m_increment.assign(1, '1');
    m_unit = 1;
}

std::string DataBrowserModel::GetCounterText() const {
    return tvane::Format(kCounter, static_cast<long>(m_browseScan + 1),
                         static_cast<long>(m_scanCount));
}

void DataBrowserModel::GetCurrentDateTime(tvane::CTime& time, int& milliseconds) const {
    m_doc.GetReadingDateTime(m_current, time, milliseconds);
}
void DataBrowserModel::GetFirstDateTime(tvane::CTime& time, int& milliseconds) const {
    m_doc.GetReadingDateTime(m_first, time, milliseconds);
}
void DataBrowserModel::GetLastDateTime(tvane::CTime& time, int& milliseconds) const {
    m_doc.GetReadingDateTime(m_last, time, milliseconds);
}

void DataBrowserModel::MoveTime(std::int32_t from, std::int32_t to) {
    if (from == to)
        return;
    m_current += static_cast<double>(to - from) * m_doc.GetMeanScanInterval();
    m_current = std::clamp(m_current, m_first, m_last);
}

bool DataBrowserModel::OnScroll(Scroll code, int thumb) {
    const std::int32_t n = m_scanCount;
    const std::int32_t last = std::max(n - 1, 0);
    switch (code) {
    case kEndScroll:
        // The readings follow only once the move is over.
        if (m_doc.GetBrowsePosition() != m_current) {
            m_doc.SetBrowseScan(m_browseScan);
            std::int32_t scan = m_browseScan;
            m_current = m_doc.BrowseToScan(scan);
            m_doc.SetBrowsePosition(m_current);
        }
        return true;
    case kThumbTrack:
    case kThumbPosition: {
        m_position = std::clamp(thumb, kMinimum, kMaximum);
        const std::int32_t scan = std::min(PositionToScan(m_position, n), last);
        MoveTime(m_browseScan, scan);
        m_browseScan = scan;
        return true;
    }
    default:
        break;
    }
    if (m_increment.empty()) {
        tvane::ShowMessage(kInvalidOffset, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return false;
    }
    const std::int32_t old = m_browseScan;
    std::int32_t scan = old;
    switch (code) {
    case kLineLeft:
        scan = std::max(old - 1, 0);
        break;
    case kLineRight:
        scan = std::min(old + 1, last);
        break;
    case kPageLeft: {
        const std::int32_t page = PositionToScan(10, n);
        scan = old - page > 0 ? old - page : 0;
        break;
    }
    case kPageRight: {
        const std::int32_t page = PositionToScan(10, n);
        scan = old + page < last ? old + page : last;
        break;
    }
    case kLeft:
        scan = 0;
        break;
    case kRight:
        scan = last;
        break;
    default:
        break;
    }
    m_position = ScanToPosition(scan, n);
    MoveTime(old, scan);
    m_browseScan = scan;
    return true;
}

void DataBrowserModel::OnTimeEdited(tvane::CTime time, int milliseconds) {
    m_current = m_doc.ToReadingTime(time, milliseconds);
    const double span = m_last - m_first;
    const int position =
        span > 0.0
            ? static_cast<int>(std::trunc((m_current - m_first) / span * (kMaximum - kMinimum)))
            : kMinimum;
    m_position = std::clamp(position, kMinimum, kMaximum);
    m_browseScan = PositionToScan(position, m_scanCount);
    m_doc.SetBrowsePosition(m_current);
    double at = m_current;
    const long scan = m_doc.GoToTime(at);
    if (scan >= 0)
        m_browseScan = static_cast<std::int32_t>(scan);
    m_doc.SetBrowseScan(m_browseScan);
    m_position = ScanToPosition(m_browseScan, m_scanCount);
}
