#include "graphics/GraphDocument.h"

#include "app/CLoggerDoc.h"
#include "app/CScanEngine.h"
#include "database/CDataset.h"
#include "database/DataSource.h"
#include "platform/profile/Profile.h"

bool GraphDocument::HasReadings() const {
    return GetReadingCount() > 0;
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
    // What the document would send every view after a batch, to this one alone.
    target.OnUpdate(nullptr, HINT_NEW_READINGS, {});
}

bool GraphDocument::GetPreference(int id) const {
    return tvane::GetPrivateProfileString("PREFERENCES", std::to_string(id), "Y", kProfileFile) ==
           "Y";
}
