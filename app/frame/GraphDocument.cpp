#include "app/frame/GraphDocument.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/CLoggerDoc.h"
#include "app/CScanEngine.h"
#include "app/CTextExport.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "database/DataSource.h"
#include "platform/profile/Profile.h"
#include "scan/CFXScan.h"
#include "scan/CReadingQuery.h"

bool GraphDocument::HasReadings() const {
    // The shown data are a stored run's, not the readings of a run going on.
    return m_doc.HasReadings();
}

std::int64_t GraphDocument::GetReadingCount() const {
    const CDataset* dataset = m_doc.GetDataset();
    return dataset ? dataset->GetReadingCount() : 0;
}

bool GraphDocument::IsScanning() const {
    return m_doc.IsScanning() != 0;
}

void GraphDocument::FillChannelInfoArray(CChannelArray& out, std::uint32_t kindMask,
                                         bool activeOnly) const {
    m_doc.FillChannelInfoArray(&out, kindMask, activeOnly);
}

std::int16_t GraphDocument::GetChannelReadings(std::int32_t channel,
                                               std::vector<ReadingRecord*>& out) const {
    return m_doc.GetChannelReadings(channel, out);
}

std::string GraphDocument::GetFormat(Format format) const {
    switch (format) {
    case kDateTimeMs:
        return m_doc.GetDateTimeMsFormat();
    case kDateTime:
        return m_doc.GetDateTimeFormat();
    case kDate:
        return m_doc.GetDateFormat();
    case kTime:
        return m_doc.GetTimeFormat();
    case kTimeMs:
        return m_doc.GetTimeMsFormat();
    }
    return {};
}

std::string GraphDocument::FormatReadingTime(double time) {
    if (time == CLoggerDoc::kBeforeScan)
        return "Before Scan";
    if (time == CLoggerDoc::kAfterScan)
        return "After Scan";
    return m_doc.FormatReadingTime(time);
}

double GraphDocument::GetStartTick() const {
    return m_doc.GetStartTick();
}

std::int32_t GraphDocument::GetTerminationCode() const {
    return m_doc.GetScanEngine().GetTerminationCode();
}

void GraphDocument::RaiseFrameCounter(std::uint32_t value) {
    m_doc.RaiseFrameCounter(value);
}

void GraphDocument::AddViewFlags(std::uint32_t bits) {
    m_doc.AddViewFlags(bits);
}

bool GraphDocument::DoInstrumentAction(CReadingInfo& request, bool ask) {
    return m_doc.DoInstrumentAction(request, ask);
}

void GraphDocument::ResendData(IView& target) {
    // The stored readings around the browse time, or the newest of a run, to
    // this view alone.
    m_doc.RefreshDataBrowser(&target);
}

bool GraphDocument::GetPreference(int id) const {
    return tvane::GetPrivateProfileString("PREFERENCES", std::to_string(id), "Y", kProfileFile) ==
           "Y";
}

void GraphDocument::ShowEventInLog(const CDatasetEvent& event) {
    m_doc.ShowEventInLog(event);
}

double GraphDocument::GetRunStartTime() const {
    const CDataset* dataset = m_doc.GetDataset();
    return dataset ? dataset->GetFirstTime() : 0.0;
}

double GraphDocument::GetRunEndTime() const {
    const CDataset* dataset = m_doc.GetDataset();
    return dataset ? dataset->GetLastTime() : 0.0;
}

double GraphDocument::GetRunTime() const {
    // The time between scans.
    const CFXScan* scan = m_doc.GetScan();
    return scan ? scan->m_scanInterval * 1000.0 : 0.0;
}

void GraphDocument::GetScanChannelList(std::vector<std::string>& labels,
                                       std::vector<std::uint32_t>& numbers) const {
    m_doc.GetExport().GetScanChannelList(labels);
    m_doc.GetExport().GetScanChannelList(numbers);
}

std::string GraphDocument::ExportReadingsText(const CReadingQuery& query) {
    // The export writes a file; its text goes to the clipboard with the display.
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() /
        ("tvane-copy-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".txt");
    CReadingQuery copy = query;
    copy.m_destination = CReadingQuery::kToFile;
    copy.m_fileName = file.string();
    std::string text;
    if (m_doc.GetExport().ExportReadings(copy, false, 269)) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        text = out.str();
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    return text;
}
