// Setup download: the scan setup written into the instrument, one channel
// configuration per scan-capable row, then the scan settings.
#include <memory>
#include <string>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/ILoggerApp.h"
#include "app/InstrumentTexts.h"
#include "app/ScanEngineTexts.h"
#include "database/CDatasetEvent.h"
#include "database/CStateInfo.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/ChannelCodes.h"
#include "scan/ISetupEditor.h"
#include "scan/records/CChannelConfig.h"

namespace {
constexpr std::uint32_t kKindAnalogWrite = 0x20;
constexpr std::uint32_t kKindDigitalWrite = 0x800;
constexpr std::uint32_t kNoCells = 0xFFFFFFFFu;

bool IsComputed(const CFXSetup& row) {
    return row.Name == "Computed";
}
} // namespace

void CLoggerDoc::OnDownloadSetup() {
    StopMonitorTimer();
    if (m_services.instrument == nullptr)
        return;
    try {
        if (!m_services.instrument->CheckSerialSettings())
            return;
        if (!(m_services.instrument->IsDMMInstalled() && m_services.instrument->IsDMMEnabled())) {
            tvane::ShowMessage(insttext::kDmmDownload);
            return;
        }
    } catch (const tvane::Exception&) {
        LogInstrumentError();
        return;
    }
    bool cancelled = false, uploadChosen = false;
    if (!CheckInstrumentConditions(cancelled, uploadChosen)) {
        CDatasetEvent event(CDatasetEvent::InstrumentError, 0, GetElapsedRunTime(),
                            insttext::kNotResponding);
        AddEvent(event);
        return;
    }
    if (!cancelled && !uploadChosen)
        DownloadSetup();
}

bool CLoggerDoc::CheckInstrumentConditions(bool& cancelled, bool& uploadChosen) {
    cancelled = uploadChosen = false;
    if (IsInstrumentOffline())
        return true;
    std::int32_t count = 0;
    bool scanning = false;
    try {
        if (!GetReadingsCount(count) || !m_services.instrument->IsInstrumentScanning(scanning)) {
            tvane::ShowMessage(insttext::kNotResponding);
            return false;
        }
        if (!scanning && count < 1)
            return true;
        CDownloadNotice notice;
        notice.Init(*m_services.instrument);
        // Without a window to ask in, nothing is overwritten.
        if (m_services.instrumentUi == nullptr ||
            !m_services.instrumentUi->RunDownloadNotice(notice)) {
            cancelled = true;
            return true;
        }
        if (notice.uploadChosen) {
            uploadChosen = true;
            m_services.instrumentUi->NewSetupFromUpload(*this);
            return true;
        }
        m_services.instrument->StopMeasurement();
    } catch (const tvane::Exception&) {
        tvane::ShowMessage(insttext::kNotResponding);
        return false;
    }
    return true;
}

bool CLoggerDoc::InstrumentModulesMatch() {
    if (IsInstrumentOffline())
        return true;
    const CStateInfo& state = GetStateInfo();
    for (std::int16_t slot = 1; slot <= 3; ++slot) {
        bool ok = false;
        // The driver numbers the slots 100, 200 and 300.
        const std::string module = GetCardInfoInSlot(static_cast<std::int16_t>(slot * 100), ok);
        if (!ok || module != state.m_modules[static_cast<std::size_t>(slot - 1)])
            return false;
    }
    return true;
}

bool CLoggerDoc::CheckInstrumentConfig(bool showMessage) {
    if (InstrumentModulesMatch())
        return true;
    CDatasetEvent event(0, 0, 0.0, scantext::kConfigMismatch);
    AddEvent(event);
    if (showMessage)
        tvane::ShowMessage(scantext::kConfigMismatch, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::Warning);
    return false;
}

bool CLoggerDoc::DownloadOutputValue(CFXSetup& row, int functionCode) {
    if (m_services.instrument == nullptr)
        return false;
    const auto channel = static_cast<std::int16_t>(row.Channel);
    double value = 0.0;
    if (functionCode == kFnDigitalWrite) {
        GetOutputValue(row, value, kKindDigitalWrite);
        return m_services.instrument->DigitalWrite(channel, value);
    }
    if (functionCode == kFnDacWrite) {
        GetOutputValue(row, value, kKindAnalogWrite);
        return m_services.instrument->AnalogWrite(channel, value);
    }
    return false;
}

bool CLoggerDoc::DownloadSetup() {
    StopMonitorTimer();
    m_setupInInstrument = 0;
    if (m_services.instrument == nullptr || !m_setup)
        return false;
    if (!CheckInstrumentConfig(true)) {
        LogInstrumentError();
        return false;
    }
    if (ISetupEditor* editor = m_app.GetSetupEditor();
        editor != nullptr && !editor->ValidateCurrentCell())
        return false;

    // Rows that become scan channels; computed ones have nothing to send, and
    // rows without cells are skipped below, so the count ends at 100 %.
    int active = 0;
    for (std::int32_t i = 0; i < m_setup->GetSize(); ++i)
        if (const CFXSetup* row = GetSetupRow(i); row != nullptr && row->IsScanCapable() &&
                                                  !IsComputed(*row) && row->CellFlags != kNoCells)
            ++active;
    // Nothing to download is a setup without an active channel, however many
    // rows it has.
    if (active == 0) {
        tvane::ShowMessage(insttext::kNoChannels, tvane::MsgButtons::Ok, tvane::MsgIcon::Warning);
        return true;
    }

    std::unique_ptr<IInstrumentProgress> progress;
    if (m_services.instrumentUi != nullptr)
        progress = m_services.instrumentUi->CreateProgress(insttext::kDownloadCaption);
    if (progress) {
        progress->SetRange(0, 100);
        progress->SetPos(2);
    }

    bool error = false, cancelled = false;
    try {
        if (!m_services.instrument->ClearScanList()) {
            LogInstrumentError();
            return false;
        }
        int downloaded = 0;
        for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
            CFXSetup* row = GetSetupRow(i);
            if (row == nullptr)
                continue;
            CChannelConfig config;
            const int code = FunctionCode(row->Function);
            if ((code == kFnDigitalWrite || code == kFnDacWrite) &&
                !DownloadOutputValue(*row, code)) {
                error = true;
                break;
            }
            if (!row->IsScanCapable() || row->CellFlags == kNoCells)
                continue;
            ++downloaded;
            if (row->FillChannelConfig(config) &&
                !m_services.instrument->DownloadChannelConfig(config)) {
                error = true;
                break;
            }
            if (progress && progress->CheckCancel()) {
                cancelled = true;
                break;
            }
            if (progress) {
                progress->SetPos(static_cast<int>(downloaded * 100.0 / active));
                progress->SetText(tvane::Format(insttext::kDownloadingChannel,
                                                static_cast<int>(config.Channel), downloaded,
                                                active));
            }
        }
    } catch (const tvane::Exception&) {
        error = true;
    }

    CDatasetEvent event(CDatasetEvent::Download, 0, GetElapsedRunTime(),
                        FormatNow() + insttext::kDownloadEvent);
    BroadcastEvent(event);
    LogInstrumentError();
    if (!error && !cancelled && !ConfigureScan())
        error = true;
    const bool result = !error && !cancelled;
    progress.reset();

    if (result)
        m_setupInInstrument = 1;
    else if (cancelled)
        tvane::ShowMessage(insttext::kDownloadCancelled, tvane::MsgButtons::Ok,
                           tvane::MsgIcon::None, insttext::kDownloadHelp);
    else
        tvane::ShowMessage(insttext::kDownloadError);

    const std::int32_t monitor = GetMonitorChannel();
    if (IsMonitorChannelUsable(monitor)) {
        StartMonitorTimer(m_monitorInterval);
        const CFXSetup* row = FindSetupRow(monitor);
        m_setupText = row->Units;
        if (row->ChannelMode != 0)
            StartMonitor();
    }
    return result;
}

bool CLoggerDoc::ConfigureScan() {
    if (m_services.instrument == nullptr || !m_scan)
        return false;
    bool ok = false;
    try {
        SendAlarmOutputChoice();
        std::string source = insttext::kTriggerImmediate;
        if (m_scan->m_startMode == CFXScan::kStartExternalTrigger)
            source = insttext::kTriggerExternal;
        else if (m_scan->m_startMode == CFXScan::kStartOnAlarm)
            source = tvane::Format(insttext::kTriggerAlarm, m_scan->m_alarmStartChannel);
        ok = m_services.instrument->SetTriggerSource(source);
        if (ok) {
            m_services.instrument->SetScanCount(
                m_scan->m_stopMode == CFXScan::kStopAfterCount ? m_scan->m_scanCount : -1);
            m_services.instrument->SetScanInterval(m_scan->m_scanInterval);
            ok = m_services.instrument->SetReadingFormat(m_options);
        }
        LogInstrumentError();
        if (ok)
            ok = m_services.instrument->InitInstrument();
    } catch (const tvane::Exception&) {
        LogInstrumentError();
        return false;
    }
    return ok;
}

bool CLoggerDoc::IsScanListCurrent() {
    if (IsInstrumentOffline())
        return true;
    if (!InstrumentModulesMatch())
        return false;
    std::string list;
    try {
        list = m_services.instrument->GetScanList();
    } catch (const tvane::Exception&) {
        LogInstrumentError();
        return false;
    }
    for (std::int32_t i = 0; m_setup && i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = GetSetupRow(i);
        if (row == nullptr || row->ChannelMode == 0 || !row->IsScanCapable() || IsComputed(*row))
            continue;
        if (list.find(tvane::Format("%ld", static_cast<long>(row->Channel))) == std::string::npos)
            return false;
    }
    return true;
}

bool CLoggerDoc::ValidateInstrumentForRun(bool forceDownload, bool checkConditions) {
    const bool offline = IsInstrumentOffline();
    if (!offline) {
        const auto refuse = [this] {
            m_setupInInstrument = 0;
            return false;
        };
        try {
            if (!m_services.instrument->CheckSerialSettings())
                return refuse();
            if (!(m_services.instrument->IsDMMInstalled() &&
                  m_services.instrument->IsDMMEnabled())) {
                tvane::ShowMessage(insttext::kDmmRun);
                return refuse();
            }
        } catch (const tvane::Exception&) {
            LogInstrumentError();
            return refuse();
        }
        if (checkConditions) {
            bool cancelled = false, uploadChosen = false;
            if (!CheckInstrumentConditions(cancelled, uploadChosen) || cancelled || uploadChosen)
                return refuse();
        }
    }
    if (forceDownload)
        return DownloadSetup();
    if (!offline) {
        bool changed = false;
        try {
            changed = m_services.instrument->IsConfigChanged();
        } catch (const tvane::Exception&) {
            changed = true;
        }
        if (changed)
            return DownloadSetup();
    }
    return true;
}
