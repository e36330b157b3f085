// The event log's side of the document: where new events go, the event count
// in the status bar with the cap on alarm events, the grid's read cache, the
// Add Event command and the jump from a display to an event.
#include <cstdint>
#include <string>

#include "app/CLoggerDoc.h"
#include "app/IEventEditDialog.h"
#include "app/ILoggerApp.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"

namespace {

constexpr const char* kEventsFormat = "Events %ld";                    // 1070
constexpr const char* kTooManyAlarms = "Too many alarms to log...";    // 4050
constexpr const char* kEventNotFound = "Event not found in event log"; // 13199
constexpr unsigned kEventNotFoundHelp = 13199;

struct TypeText {
    std::uint32_t type;
    const char* text;
};
// In the order texts are matched back to types.
constexpr TypeText kTypeTexts[] = {
    {CDatasetEvent::Stop, "Stop"},                        // 1051
    {CDatasetEvent::Start, "Start"},                      // 1052
    {CDatasetEvent::User, "User"},                        // 1053
    {CDatasetEvent::LowLimit, "Low Limit"},               // 1054
    {CDatasetEvent::HighLimit, "High Limit"},             // 1055
    {CDatasetEvent::InputOperation, "Input Operation"},   // 1102
    {CDatasetEvent::OutputOperation, "Output Operation"}, // 1103
    {CDatasetEvent::InstrumentError, "Instrument Error"}, // 1056
    {CDatasetEvent::Download, "Download"},                // 1058
    {CDatasetEvent::Upload, "Upload"},                    // 1057
};

} // namespace

bool CLoggerDoc::s_eventLogFullReported = false;

std::int32_t CLoggerDoc::GetEventCount() const {
    return GetDataset() ? GetDataset()->GetEventCount() : 0;
}

std::string CLoggerDoc::GetEventTypeText(std::uint32_t type) {
    for (const TypeText& entry : kTypeTexts)
        if (entry.type == type)
            return entry.text;
    return {};
}

void CLoggerDoc::GetEventTypeFromText(const std::string& text, std::int32_t& type) {
    for (const TypeText& entry : kTypeTexts) {
        if (text == entry.text) {
            type = static_cast<std::int32_t>(entry.type);
            return;
        }
    }
    type = -1;
}

bool CLoggerDoc::GetEventCellText(std::int32_t index, int column, std::string& text) {
    if (column < 0 || column > 3 || !GetDataset() || !m_eventRecord)
        return false;
    if (index != m_eventIndex) {
        m_eventRecord->m_text.clear();
        m_eventIndex = -1;
        if (!GetDataset()->IsOpen() || !GetDataset()->GetEvent(index, *m_eventRecord))
            return false;
        m_eventIndex = index;
    }
    switch (column) {
    case 0:
        text = GetEventTypeText(m_eventRecord->m_type);
        break;
    case 1:
        text = tvane::Format("%ld", static_cast<long>(m_eventRecord->m_channel));
        break;
    case 2:
        text = FormatReadingTime(m_eventRecord->m_time);
        if (text.size() > 80)
            text.resize(80);
        break;
    default:
        text = m_eventRecord->m_text;
        break;
    }
    return true;
}

void CLoggerDoc::AddEvent(CDatasetEvent& event) {
    if (!GetDataset() || !GetDataset()->IsOpen())
        return;
    m_eventIndex = -1;
    if (event.m_type == CDatasetEvent::User && event.m_time >= 0.0) {
        // A user's note goes where its time puts it, after events of the same time
        // and before those logged outside the run.
        const std::int32_t i = GetDataset()->FindEventIndex(event.m_time, true);
        if (i != -1) {
            const std::int32_t count = GetDataset()->GetRunEventCount();
            std::int32_t position = i + 1;
            if (count <= position)
                position = count;
            // The search lands on the first event after the time when none has it.
            if (i < count) {
                CDatasetEvent found;
                if (GetDataset()->GetEvent(i, found) && found.m_time > event.m_time)
                    position = i;
            }
            GetDataset()->InsertEvent(position, event);
            return;
        }
    }
    GetDataset()->AppendEvent(event);
}

bool CLoggerDoc::IsEventLogFull() const {
    return GetEventCount() >= m_eventLogLimit;
}

void CLoggerDoc::LogEvent() {
    IDocumentFrame* frame = m_app.GetMainFrame();
    if (!IsEventLogFull()) {
        s_eventLogFullReported = false;
        if (frame != nullptr)
            frame->SetPaneText(3, tvane::Format(kEventsFormat, static_cast<long>(GetEventCount())));
        return;
    }
    if (s_eventLogFullReported)
        return;
    s_eventLogFullReported = true;
    if (frame != nullptr)
        frame->SetPaneText(3,
                           tvane::Format(kEventsFormat, static_cast<long>(m_eventLogLimit)) + "+");
    tvane::Prompter().Beep(tvane::MsgIcon::Question);
    CDatasetEvent warning(0, 0, 0.0, kTooManyAlarms);
    AddEvent(warning);
}

bool CLoggerDoc::GetEvent(std::int32_t index, CDatasetEvent& event) {
    return GetDataset() && GetDataset()->IsOpen() && GetDataset()->GetEvent(index, event);
}

bool CLoggerDoc::SetEvent(std::int32_t index, const CDatasetEvent& event) {
    m_eventIndex = -1;
    return GetDataset() && GetDataset()->IsOpen() && GetDataset()->SetEvent(index, event);
}

bool CLoggerDoc::DeleteEvent(std::int32_t index) {
    m_eventIndex = -1;
    if (!GetDataset() || !GetDataset()->IsOpen())
        return false;
    CDatasetEvent deleted;
    GetDataset()->GetEvent(index, deleted);
    const bool result = GetDataset()->DeleteEvent(index);
    UpdateAllViews(nullptr, HINT_EVENTS_CHANGED, &deleted);
    return result;
}

double CLoggerDoc::GetRunTimeOffset() const {
    return GetDataset() ? GetDataset()->GetFirstTick() : 0.0;
}

void CLoggerDoc::AddUserEvent() {
    if (m_services.eventEditDialog == nullptr)
        return;
    CEventEditFields fields;
    fields.addMode = true;
    fields.type = CDatasetEvent::User;
    fields.typeText = GetEventTypeText(CDatasetEvent::User);
    fields.channel = 0;
    fields.description = FormatNow();
    // After a run the note belongs to the stored run, at its start.
    const bool afterRun = !IsScanning() && GetDataset() && GetDataset()->GetReadingCount() > 0;
    fields.time = afterRun ? GetRunTimeOffset() : GetElapsedRunTime();
    if (!m_services.eventEditDialog->Run(*this, fields))
        return;
    CDatasetEvent event(fields.type, fields.channel, fields.time, fields.description);
    UpdateAllViews(nullptr, HINT_READING, &event);
}

void CLoggerDoc::ShowEventInLog(const CDatasetEvent& criteria) {
    if (IDocumentFrame* frame = m_app.GetMainFrame())
        frame->ShowEventLog();
    CDatasetEvent found;
    std::int32_t index = -1;
    if (GetDataset() && GetDataset()->IsOpen())
        index = GetDataset()->FindEvent(criteria, found);
    if (index >= 0) {
        UpdateAllViews(nullptr, HINT_SHOW_EVENT, &index);
        return;
    }
    tvane::ShowMessage(kEventNotFound, tvane::MsgButtons::Ok, tvane::MsgIcon::None,
                       kEventNotFoundHelp);
}
