// The monitor channel: the one channel the instrument measures continuously,
// read by the monitor timer outside a run and by the scan poll during one.
#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/ILoggerApp.h"
#include "app/InstrumentTexts.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/ui/Prompter.h"
#include "platform/ui/TimerService.h"
#include "scan/CFXSetup.h"
#include "scan/ISetupEditor.h"

namespace {
tvane::ITimerService& FrameTimers(ILoggerApp& app) {
    return app.GetMainFrame() ? app.GetMainFrame()->Timers() : tvane::TimerService();
}
} // namespace

bool CLoggerDoc::IsMonitorChannelUsable(std::int32_t channel) const {
    if (channel <= 0)
        return false;
    const CFXSetup* row = FindSetupRow(channel);
    return row != nullptr && row->IsScanCapable();
}

void CLoggerDoc::StopMonitorTimer() {
    m_monitorTimer.Stop();
}

void CLoggerDoc::ScheduleMonitorInRun(std::uint32_t now) {
    m_monitorTimer.Stop();
    m_monitorIntervalTimer.Set(m_monitorInterval, now);
}

void CLoggerDoc::HaltMonitorTimers() {
    m_monitorTimer.Stop();
    m_monitorIntervalTimer.Reset();
}

bool CLoggerDoc::IsMonitorReadDue(std::uint32_t now) {
    return m_monitorChannel > 100 && m_monitorIntervalTimer.IsDue(now);
}

void CLoggerDoc::StartMonitorTimer(std::uint32_t interval) {
    m_monitorTimer.Stop();
    m_monitorInterval = interval;
    if (IsScanning()) {
        m_monitorIntervalTimer.Reset();
        m_monitorIntervalTimer.Set(interval, tvane::Clock().TickCount());
    } else if (IsMonitorChannelUsable(GetMonitorChannel())) {
        m_monitorTimer.SetWindow(&FrameTimers(m_app));
        m_monitorTimer.Start(interval);
    }
}

void CLoggerDoc::ConfigureMonitorChannel(std::int32_t channel) {
    CFXSetup* row = channel == 0 || channel == -1 ? nullptr : FindSetupRow(channel);
    const bool usable = IsMonitorChannelUsable(channel);
    const char* refusal = nullptr;
    if (row != nullptr && IsScanning() && row->ChannelMode == 0)
        refusal = insttext::kMonitorNotInScan;
    else if (row != nullptr && row->ChannelMode == 0 && m_setupInInstrument != 0)
        refusal = insttext::kMonitorNotEnabled;
    else if (row != nullptr && row->ChannelMode == 0)
        refusal = insttext::kMonitorNotSame;
    else if (usable && m_setupInInstrument == 0 && !IsScanning())
        refusal = insttext::kMonitorNotSame;
    if (refusal != nullptr) {
        tvane::ShowMessage(refusal);
        return;
    }

    m_monitorTimer.SetWindow(&FrameTimers(m_app));
    m_monitorTimer.Stop();
    if (IsScanning())
        m_engine->StopPollTimer();
    ISetupEditor* editor = m_app.GetSetupEditor();
    if (editor != nullptr)
        editor->ShowMonitorChannel(GetMonitorChannel(), false);
    m_monitorChannel = static_cast<std::uint32_t>(channel);
    try {
        if (m_services.instrument != nullptr)
            m_services.instrument->EnableMonitorChnl(false);
        if (usable) {
            if (editor != nullptr)
                editor->ShowMonitorChannel(channel, true);
            m_setupText = row->Units;
            if (m_services.instrument != nullptr) {
                m_services.instrument->SetMonitorChnl(static_cast<std::int16_t>(channel));
                m_services.instrument->EnableMonitorChnl(true);
            }
            if (m_services.instrumentUi != nullptr)
                m_services.instrumentUi->ShowMonitorChannel(channel, true);
            StartMonitorTimer(m_monitorInterval);
        } else {
            if (m_services.instrumentUi != nullptr)
                m_services.instrumentUi->ShowMonitorChannel(channel, false);
            LogInstrumentError();
        }
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
    if (IsScanning())
        m_engine->StartPollTimer();
}

void CLoggerDoc::StartMonitor() {
    const std::int32_t channel = GetMonitorChannel();
    if (!IsMonitorChannelUsable(channel))
        return;
    try {
        if (m_services.instrument != nullptr &&
            m_services.instrument->SetMonitorChnl(static_cast<std::int16_t>(channel)))
            m_services.instrument->EnableMonitorChnl(true);
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
    if (m_services.instrumentUi != nullptr)
        m_services.instrumentUi->ShowMonitorChannel(channel, true);
    StartMonitorTimer(m_monitorInterval);
}

void CLoggerDoc::StopMonitor() {
    StopMonitorTimer();
    const std::int32_t channel = GetMonitorChannel();
    if (!IsMonitorChannelUsable(channel))
        return;
    try {
        if (m_services.instrument != nullptr)
            m_services.instrument->EnableMonitorChnl(false);
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
    if (m_services.instrumentUi != nullptr)
        m_services.instrumentUi->ShowMonitorChannel(channel, false);
}

void CLoggerDoc::RestartMonitor() {
    const std::int32_t channel = GetMonitorChannel();
    if (channel == 0 || m_services.instrument == nullptr)
        return;
    const CFXSetup* row = FindSetupRow(channel);
    if (row == nullptr || !row->IsScanCapable() || row->ChannelMode == 0)
        return;
    try {
        if (m_services.instrument->IsMonitorChannelEnabled())
            StartMonitorTimer(m_monitorInterval);
    } catch (const tvane::Exception&) {
        LogInstrumentError();
    }
}

void CLoggerDoc::OnMonitorTimer() {
    if (m_actionBusy)
        return;
    StopMonitorTimer();
    if (m_services.instrument == nullptr)
        return;
    const std::int32_t channel = GetMonitorChannel();
    try {
        std::int16_t monitored = 0;
        m_services.instrument->GetMonitorChannel(monitored);
        const bool enabled = m_services.instrument->IsMonitorChannelEnabled();
        if (monitored != channel || !enabled) {
            // Changed at the instrument's front panel: stop for good until the
            // monitor is configured again.
            StopMonitorTimer();
            if (m_services.instrumentUi != nullptr)
                m_services.instrumentUi->ShowMonitorChannel(channel, false);
            return;
        }
        double value = 0.0;
        if (m_services.instrument->ReadMonitorChnl(value)) {
            m_monitorValue = value;
            if (m_services.instrumentUi != nullptr)
                m_services.instrumentUi->ShowMonitorValue(value, m_setupText);
        }
    } catch (const tvane::Exception&) {
        LogInstrumentError();
        return;
    }
    if (!IsScanning()) {
        m_monitorTimer.SetWindow(&FrameTimers(m_app));
        m_monitorTimer.Start(m_monitorInterval);
    }
}

bool CLoggerDoc::SyncMonitorChannel(bool askInstrument) {
    std::int32_t channel = GetMonitorChannel();
    bool ok = m_services.instrument != nullptr || !askInstrument;
    bool enabled = false;
    try {
        if (askInstrument && m_services.instrument != nullptr) {
            std::int16_t answer = 0;
            ok = m_services.instrument->GetMonitorChannel(answer);
            if (ok)
                channel = answer;
        }
        const CFXSetup* row = channel > 0 ? FindSetupRow(channel) : nullptr;
        enabled = ok && row != nullptr && row->ChannelMode != 0 && row->IsScanCapable() &&
                  m_services.instrument != nullptr &&
                  m_services.instrument->IsMonitorChannelEnabled();
    } catch (const tvane::Exception&) {
        ok = false;
        enabled = false;
    }
    ConfigureMonitorChannel(enabled ? channel : 0);
    return ok;
}
