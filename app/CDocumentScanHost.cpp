#include "app/CDocumentScanHost.h"

#include <string>

#include "app/CLoggerDoc.h"
#include "database/CStateInfo.h"
#include "scan/CReadingInfo.h"

std::int16_t CDocumentScanHost::GetReadingsPerPoll() {
    m_doc.GetConnectSpeed();
    return m_doc.m_readingsPerPoll;
}

bool CDocumentScanHost::ValidateInstrumentForRun(bool download, bool check) {
    return m_doc.ValidateInstrumentForRun(download, check);
}

bool CDocumentScanHost::InstrumentMatchesSetup() {
    if (m_doc.IsInstrumentOffline())
        return true;
    const CStateInfo& state = m_doc.GetStateInfo();
    for (std::int16_t slot = 1; slot <= 3; ++slot) {
        bool ok = false;
        // The driver numbers the slots 100, 200 and 300.
        const std::string module =
            m_doc.GetCardInfoInSlot(static_cast<std::int16_t>(slot * 100), ok);
        if (!ok || module != state.m_modules[static_cast<std::size_t>(slot - 1)])
            return false;
    }
    return true;
}

void CDocumentScanHost::LogInstrumentError() {
    m_doc.LogInstrumentError();
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

void CDocumentScanHost::DropDisplayRequests() {
    m_doc.DropInstrumentActions();
}

bool CDocumentScanHost::DoInstrumentAction(CReadingInfo& request) {
    // Alarm actions act at once; nobody is asked.
    return m_doc.DoInstrumentAction(request, false);
}
