#include "app/CDocumentScanHost.h"

#include <string>

#include "app/CLoggerDoc.h"
#include "database/CStateInfo.h"
#include "scan/CReadingInfo.h"

std::int16_t CDocumentScanHost::GetReadingsPerPoll() {
    m_doc.GetConnectSpeed();
    return m_doc.GetScanEngine().GetReadingsPerPoll();
}

bool CDocumentScanHost::ValidateInstrumentForRun(bool download, bool check) {
    return m_doc.ValidateInstrumentForRun(download, check);
}

bool CDocumentScanHost::InstrumentMatchesSetup() {
    return m_doc.IsScanListCurrent();
}

void CDocumentScanHost::LogInstrumentError() {
    m_doc.LogInstrumentError();
}

bool CDocumentScanHost::LogReadingsFailure(bool report) {
    return m_doc.LogReadingsFailure(report);
}

void CDocumentScanHost::ReadAlarmQueue() {
    m_doc.ReadAlarmQueue();
}

void CDocumentScanHost::ReadMonitorChannel() {
    m_doc.OnMonitorTimer();
}

void CDocumentScanHost::StopMonitor() {
    m_doc.StopMonitor();
}

bool CDocumentScanHost::DoInstrumentAction(CReadingInfo& request) {
    // Alarm actions act at once; nobody is asked.
    return m_doc.DoInstrumentAction(request, false);
}
