// The instrument's error reports, its alarm queue and the offline guard.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/InstrumentTexts.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "scan/CFXScan.h"
#include "shared/DocumentHints.h"

namespace {
// A broken instrument must not keep the error report or the alarm loop
// spinning: no queue is longer than this.
constexpr int kMaxQueuedEntries = 256;
// The driver's errors about a reading block it did receive: no "#", a reading
// refused for its time, channel or alarm, a block cut short, readings left over.
constexpr std::int32_t kReadingBlockErrors[] = {1032, 1036, 1037, 1038, 1040, 776, 777};
} // namespace

double CLoggerDoc::GetElapsedRunTime() {
    if (IsScanning())
        return static_cast<double>(tvane::Clock().TickCount()) - m_engine->GetPollTick();
    double& bound = (GetDataset() && GetDataset()->GetReadingCount() > 0) ? m_secondTimeBound
                                                                          : m_firstTimeBound;
    const double time = bound;
    bound -= 1.0;
    return time;
}

void CLoggerDoc::BroadcastEvent(CDatasetEvent& event) {
    if (GetDataset() && GetDataset()->IsOpen())
        UpdateAllViews(nullptr, HINT_READING, &event);
}

bool CLoggerDoc::IsInstrumentOffline() {
    if (m_services.instrument == nullptr)
        return true;
    try {
        if (m_services.instrument->GetInterfaceTypeValue() == 0)
            return true;
        return !m_services.instrument->IsValidInterface();
    } catch (const tvane::Exception&) {
        return true;
    }
}

void CLoggerDoc::PostInstrumentError(std::string text) {
    // Some driver texts end in the line break of their log line.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    const double time = GetElapsedRunTime();
    CDatasetEvent event(CDatasetEvent::InstrumentError, 0, time,
                        time < 0.0 ? FormatNow() + "  " + text : text);
    BroadcastEvent(event);
}

void CLoggerDoc::LogQueuedInstrumentErrors() {
    if (!m_services.instrument->IsInstrumentError())
        return;
    m_textList1.clear();
    m_textList2.clear();
    for (int i = 0; i < kMaxQueuedEntries; ++i) {
        std::int16_t code = 0;
        std::string text;
        if (!m_services.instrument->GetInstrumentError(code, text) || code == 0)
            break;
        m_textList1.push_back(tvane::Format("%d", code));
        m_textList2.push_back(text);
    }
    for (std::size_t i = 0; i < m_textList1.size(); ++i)
        PostInstrumentError(m_textList1[i] + "," + m_textList2[i]);
}

void CLoggerDoc::LogInstrumentError() {
    if (IsInstrumentOffline())
        return;
    try {
        LogQueuedInstrumentErrors();
        std::int32_t code = 0;
        std::string text;
        m_services.instrument->GetLastError(code, text);
        if (code != 0)
            PostInstrumentError(tvane::Format("%d,%s", code, text.c_str()));
    } catch (const tvane::Exception&) {
        // The report is the last resort of every failure path; it never raises.
    }
}

bool CLoggerDoc::LogReadingsFailure(bool report) {
    if (IsInstrumentOffline())
        return true;
    try {
        // The driver's last error says which: its own reading-block errors mean a
        // block came; anything else is the link's, where nothing came.
        std::int32_t code = 0;
        std::string text;
        m_services.instrument->GetLastError(code, text);
        const bool answered =
            std::find(std::begin(kReadingBlockErrors), std::end(kReadingBlockErrors), code) !=
            std::end(kReadingBlockErrors);
        if (answered)
            LogQueuedInstrumentErrors();
        if (code != 0 && (answered || report))
            PostInstrumentError(tvane::Format("%d,%s", code, text.c_str()));
        return answered;
    } catch (const tvane::Exception&) {
        return true;
    }
}

void CLoggerDoc::ReadAlarmQueue() {
    if (IsInstrumentOffline())
        return;
    try {
        if (!m_services.instrument->IsAlarmInQue())
            return;
        for (int i = 0; i < kMaxQueuedEntries; ++i) {
            IDocumentInstrument::Alarm alarm;
            if (!m_services.instrument->GetAlarmInQue(alarm) || alarm.channel == 0)
                return;
            const double seconds =
                static_cast<double>(alarm.time - m_engine->GetDocumentTime().GetTime());
            CDatasetEvent event(
                alarm.limit == 1 ? CDatasetEvent::LowLimit : CDatasetEvent::HighLimit,
                alarm.channel, seconds * 1000.0 + alarm.milliseconds + m_engine->GetStartTick(),
                tvane::Format(insttext::kAlarmEvent, alarm.value, alarm.units.c_str(),
                              alarm.output));
            BroadcastEvent(event);
        }
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
}

std::string CLoggerDoc::GetCardInfoInSlot(std::int16_t slot, bool& ok) {
    ok = false;
    if (m_services.instrument == nullptr)
        return {};
    try {
        return m_services.instrument->GetCardInfoInSlot(slot, ok);
    } catch (const tvane::Exception&) {
        ok = false;
        LogInstrumentError();
        return {};
    }
}

bool CLoggerDoc::GetReadingsCount(std::int32_t& count) {
    if (m_services.instrument == nullptr)
        return false;
    try {
        return m_services.instrument->GetReadingsCount(count);
    } catch (const tvane::Exception&) {
        LogInstrumentError();
        return false;
    }
}

void CDownloadNotice::Init(IDocumentInstrument& instrument) {
    bool scanning = false;
    instrument.IsInstrumentScanning(scanning);
    scanInProgress = scanning;
    if (scanning) {
        storedData = true;
    } else {
        std::int32_t count = 0;
        storedData = instrument.GetReadingsCount(count) && count != 0;
    }
    continueSelected = true;
    uploadChosen = false;
}

void CLoggerDoc::OnInstrumentSettings() {
    if (!m_scan || m_services.instrument == nullptr)
        return;
    StopMonitorTimer();
    try {
        if (!m_services.instrument->CheckSerialSettings())
            return;
        // The sheet starts from the setup's alarm output choice and the setup
        // keeps what the user chose there.
        SendAlarmOutputChoice();
        m_services.instrument->EditControlProperties();
        m_scan->m_alarmOutputTracking = m_services.instrument->IsAlarmOutputTracking() ? 1 : 0;
        m_scan->m_alarmPolarityLow = m_services.instrument->IsAlarmPolarityLowOnFail() ? 1 : 0;
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
    SyncMonitorChannel(false);
}

void CLoggerDoc::SendAlarmOutputChoice() {
    if (m_scan->m_alarmOutputTracking != 0)
        m_services.instrument->SetAlarmOutputTracking();
    else
        m_services.instrument->SetAlarmOutputLatched();
    if (m_scan->m_alarmPolarityLow != 0)
        m_services.instrument->SetLowAlarmPolarity();
    else
        m_services.instrument->SetHighAlarmPolarity();
}
