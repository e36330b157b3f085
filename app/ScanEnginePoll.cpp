// The scan poll and the reading path: fetch a batch, file it per channel,
// derive the computed channels, act on alarms, store and announce it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/CScanEngine.h"

#include "app/CLoggerDoc.h"
#include "app/ILoggerApp.h"
#include "app/IScanHost.h"
#include "app/IScanInstrument.h"
#include "app/ScanEngineTexts.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/CChannelMath.h"
#include "scan/CCompChnlArray.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CReadingInfo.h"
#include "scan/ComputedChannels.h"

namespace {

// The run's setup and readings as the evaluation of computed channels sees them.
class ComputedHost final : public IComputedChannelHost {
public:
    ComputedHost(const CLoggerDoc& doc, CScanEngine& engine) : m_doc(doc), m_engine(engine) {}
    const CFXSetup* FindSetupRow(std::int32_t channel) const override {
        return m_doc.FindSetupRow(channel);
    }
    const ReadingRecord* LatestReading(std::int32_t channel) const override {
        return m_engine.GetLatestReading(channel);
    }
    void AddComputedReading(const ReadingRecord& reading) override {
        m_engine.AddComputedReading(reading);
    }

private:
    const CLoggerDoc& m_doc;
    CScanEngine& m_engine;
};

std::string BoxText(const char* what) {
    std::string text = what != nullptr ? what : "";
    if (text.size() > 255)
        text.resize(255);
    return text;
}

} // namespace

void CScanEngine::OnScanTimer() {
    if (m_doc.IsActionBusy())
        return;
    if (!IsScanning() || m_doc.GetServices().scanInstrument == nullptr ||
        m_doc.GetServices().scanHost == nullptr) {
        m_scanTimer.Stop();
        return;
    }
    m_scanTimer.Stop();
    const std::uint32_t now = tvane::Clock().TickCount();

    IScanInstrument& instrument = *m_doc.GetServices().scanInstrument;
    IScanHost& host = *m_doc.GetServices().scanHost;
    try {
        // Nothing more is asked of an instrument that sent nothing this poll: each
        // question would wait for another time-out.
        m_bufferWord = 0;
        const bool answered =
            (!m_instrumentSilent || m_answerRetryTimer.IsDue(now)) && FetchPollReadings(now);

        if (answered && m_instrumentCheckTimer.IsDue(now)) {
            bool scanning = true;
            instrument.IsInstrumentScanning(scanning);
            if (!scanning) {
                m_terminationCode = kTerminationCompleted;
                ProcessNewReadings(m_bufferWord, false);
                EndScan(true);
                return;
            }
            host.LogInstrumentError();
            host.ReadAlarmQueue();
        }
        m_graphicsFlag = 0;
        if (m_bufferWord > 0 && !ProcessNewReadings(m_bufferWord, false)) {
            if (m_terminationCode != kTerminationLimit &&
                m_terminationCode != kTerminationDatasetFull)
                m_terminationCode = kTerminationReadings;
            EndScan(false);
            return;
        }
        if (m_terminationCode == kTerminationDatasetFull) {
            EndScan(false);
            return;
        }
        if (m_autoSaveTimer.IsDue(now) && m_dataset && m_dataset->IsOpen())
            WriteRunHeader();
        if (answered && m_doc.IsMonitorReadDue(now))
            host.ReadMonitorChannel();
        if (!m_instrumentSilent && m_showCountdown && m_countdownDisplayTimer.IsDue(now))
            ShowWaitingStatus();
        m_graphicsFlag = 0;

        if (answered && m_doc.GetScan() &&
            m_doc.GetScan()->m_stopMode == CFXScan::kStopAfterCount &&
            m_lastScanNumber >= m_doc.GetScan()->m_scanCount) {
            bool scanning = true;
            if (instrument.IsInstrumentScanning(scanning) && !scanning) {
                m_terminationCode = kTerminationCompleted;
                EndScan(true);
                return;
            }
        }
        if (m_doc.GetScan() && m_doc.GetScan()->m_stopMode == CFXScan::kStopTimed &&
            tvane::CTime::GetCurrentTime().GetTime() >= m_doc.GetScan()->m_stopTime.GetTime()) {
            m_terminationCode = kTerminationCompleted;
            EndScan(true);
            return;
        }
        m_scanTimer.Start(m_scanPollInterval);
    } catch (const tvane::UserException&) {
        // The user was told already; the instrument is left as it is for this run.
        m_terminationCode = kTerminationCompleted;
        EndRun(true, true);
    } catch (const tvane::Exception& e) {
        // Anything else means the instrument could not be served: not a success.
        // The user learns why (a full disk, a dropped link) before the end of
        // the run asks to name its data.
        m_terminationCode = kTerminationInstrument;
        StopTimers();
        tvane::ShowMessage(BoxText(e.what()));
        EndRun(true, true);
    }
}

void CScanEngine::StoreLastScanIndex() {
    const std::int32_t scans = m_dataset->GetScanCount();
    const auto last = static_cast<std::int16_t>(scans > 0 ? scans - 1 : 0);
    m_dataset->SetRunValue(last);
    // The document's copy goes back into the header whenever the dataset closes.
    m_runWord = last;
}

void CScanEngine::WriteRunHeader() {
    CDataset& dataset = *m_dataset;
    dataset.WriteHeader();
    // The header stands for the run so far, as its end would leave it, in case
    // the run is cut off: its last scan index too.
    const std::int16_t before = dataset.GetRunValue();
    StoreLastScanIndex();
    if (dataset.GetRunValue() != before)
        dataset.WriteHeader();
}

bool CScanEngine::FetchPollReadings(std::uint32_t now) {
    IScanInstrument& instrument = *m_doc.GetServices().scanInstrument;
    // The driver is never asked for more than the buffer holds, and a count it
    // returns beyond what was asked is not trusted.
    const std::int32_t most =
        std::clamp<std::int32_t>(m_readingsPerPoll, 0, m_readingBufferCapacity);
    instrument.InitMeasurement(most);
    std::int32_t got = 0;
    // A silent instrument is logged once, when it falls silent.
    const bool answered = instrument.GetReadings(m_readingBuffer.get(), most, got) ||
                          m_doc.GetServices().scanHost->LogReadingsFailure(!m_instrumentSilent);
    m_bufferWord = static_cast<std::int16_t>(std::clamp<std::int32_t>(got, 0, most));
    SetInstrumentSilent(!answered, now);
    return answered;
}

void CScanEngine::SetInstrumentSilent(bool silent, std::uint32_t now) {
    if (silent)
        m_answerRetryTimer.Set(kAnswerRetryInterval, now);
    if (silent == m_instrumentSilent)
        return;
    m_instrumentSilent = silent;
    // Once it answers again, its check counts from now rather than catching up.
    if (!silent)
        m_instrumentCheckTimer.Set(m_instrumentCheckInterval, now);
    if (IDocumentFrame* frame = m_doc.GetApp().GetMainFrame())
        frame->SetPaneText(0, silent ? scantext::kNotAnswering : "");
}

bool CScanEngine::ProcessNewReadings(std::int16_t count, bool afterRun) {
    if (count <= 0)
        return true;
    count = std::min(count, m_readingBufferCapacity);
    // The dataset takes what still fits; once it is full the run ends, with
    // everything up to here stored.
    if (m_dataset && m_dataset->IsOpen()) {
        const std::int64_t room = m_dataset->GetReadingRoom();
        if (count >= room) {
            count = static_cast<std::int16_t>(room);
            m_terminationCode = kTerminationDatasetFull;
            if (count <= 0)
                return false;
        }
    }
    m_readingBufferCount = count;
    bool result = StoreNewReadings(m_readingBuffer.get(), count);
    if (!result)
        return false;
    result = ProcessAlarms(m_readingBuffer.get(), m_bufferWord, afterRun);
    m_doc.UpdateAllViews(nullptr, HINT_NEW_READINGS);
    UpdateScanStatus(false);
    // Ticks that queued up while the batch was processed are dropped.
    m_scanTimer.Stop();
    if (result)
        m_graphicsFlag = 1;
    return result;
}

bool CScanEngine::StoreNewReadings(ReadingRecord* buffer, std::int16_t count) {
    bool restartMark = IsScanning();
    // The lists keep their storage from batch to batch, so filing a batch does
    // not allocate once every channel has been seen.
    for (auto& [channel, list] : m_readingStore)
        list.clear();
    m_bufferWord = 0;

    bool result = true;
    if (!m_dataset || !m_dataset->IsOpen() || !m_dataset->AppendReadings(buffer, count)) {
        result = false;
    } else {
        const std::uint32_t now = tvane::Clock().TickCount();
        for (std::int16_t i = 0; i < count; ++i) {
            ReadingRecord& record = buffer[i];
            AddReadingToStore(&record);
            ++m_bufferWord;
            const std::int32_t channel = record.Channel;
            if (m_showCountdown && restartMark && channel == m_lastScanChannel) {
                RestartCountdown(now);
                restartMark = false;
            }
            if (m_doc.GetMonitorChannel() != 0 && channel == m_doc.GetMonitorChannel())
                m_doc.SetMonitorValue(record.Value);
            StoreReading(record);
        }
    }
    m_lastScanNumber = buffer[count - 1].ScanNumber;
    return result;
}

void CScanEngine::StoreReading(ReadingRecord& record) {
    if (!m_doc.GetComputedChannels() || m_doc.GetComputedChannels()->GetSize() == 0)
        return;
    KeepLatestReading(record);
    if (record.Channel == m_lastScanChannel && m_doc.GetChannelMath()) {
        ComputedHost host(m_doc, *this);
        EvaluateComputedChannels(*m_doc.GetComputedChannels(), *m_doc.GetChannelMath(), host);
    }
}

void CScanEngine::KeepLatestReading(const ReadingRecord& record) {
    m_latestReadings[static_cast<std::uint16_t>(record.Channel)] = record;
}

const ReadingRecord* CScanEngine::GetLatestReading(std::int32_t channel) const {
    const auto it = m_latestReadings.find(static_cast<std::uint16_t>(channel));
    return it == m_latestReadings.end() ? nullptr : &it->second;
}

bool CScanEngine::AddComputedReading(const ReadingRecord& reading) {
    // Computed readings go behind the batch; a full buffer drops them rather
    // than writing past its end.
    if (m_readingBufferCount >= m_readingBufferCapacity)
        return false;
    ReadingRecord& slot = m_readingBuffer[m_readingBufferCount];
    slot = reading;
    ++m_readingBufferCount;
    AddReadingToStore(&slot);
    ++m_bufferWord;
    KeepLatestReading(slot);
    return true;
}

void CScanEngine::AddReadingToStore(ReadingRecord* record) {
    m_readingStore[static_cast<std::uint16_t>(record->Channel)].push_back(record);
}

std::int16_t CScanEngine::GetChannelReadings(std::int32_t channel,
                                             std::vector<ReadingRecord*>& out) const {
    const auto it = m_readingStore.find(static_cast<std::uint16_t>(channel));
    if (it == m_readingStore.end() || it->second.empty())
        return 0;
    out.insert(out.begin(), it->second.begin(), it->second.end());
    return static_cast<std::int16_t>(out.size());
}

std::int16_t CScanEngine::GetAlignedChannelReadings(std::int32_t channel,
                                                    std::vector<ReadingRecord*>& out,
                                                    std::int32_t n, std::int32_t firstScan) {
    const auto it = m_readingStore.find(static_cast<std::uint16_t>(channel));
    if (n < 0)
        n = 0;
    if (it == m_readingStore.end() || it->second.empty()) {
        out.assign(static_cast<std::size_t>(n), nullptr);
        return static_cast<std::int16_t>(out.size());
    }
    const auto& list = it->second;
    if (static_cast<std::int32_t>(list.size()) == n &&
        list.back()->ScanNumber == firstScan + n - 1) {
        out.assign(list.begin(), list.end());
        return static_cast<std::int16_t>(out.size());
    }
    out.assign(static_cast<std::size_t>(n), nullptr);
    std::int32_t slot = 0;
    std::int32_t expected = firstScan;
    for (ReadingRecord* record : list) {
        if (slot >= n)
            break;
        const std::int32_t scan = record->ScanNumber;
        if (scan > expected) {
            // Leave the skipped scans empty, but never run past the slots.
            const std::int32_t skipped = std::min(scan - expected, n - slot);
            if (channel < 900)
                m_missingReadings += skipped;
            slot += skipped;
            expected = scan;
            if (slot >= n)
                break;
        }
        out[static_cast<std::size_t>(slot++)] = record;
        ++expected;
    }
    return static_cast<std::int16_t>(out.size());
}

std::string CScanEngine::GetListField(int n, const std::string& list) {
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t end = list.find(';', start);
        if (end == std::string::npos)
            return {};
        start = end + 1;
    }
    const std::size_t end = list.find(';', start);
    return list.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool CScanEngine::ProcessAlarms(ReadingRecord* buffer, std::int16_t count, bool afterRun) {
    bool result = true;
    bool journaled = false;
    for (std::int16_t i = 0; i < count && result; ++i) {
        const ReadingRecord& record = buffer[i];
        const std::uint8_t alarm = record.AlarmState;
        if (alarm == ReadingAlarmNone)
            continue;
        const std::int32_t channel = record.Channel;
        const CFXSetup* row = m_doc.FindSetupRow(channel);
        if (row == nullptr || row->Alarms == scantext::kAlarmOff)
            continue;
        const std::string maskText = GetListField(1, row->AlarmActions);
        if (maskText.empty())
            continue;
        const long mask = std::strtol(maskText.c_str(), nullptr, 10);
        const bool mayAct = IsScanning() || afterRun;

        if ((mask & 0x1) != 0 && IsScanning()) {
            result = false;
            m_terminationCode = kTerminationLimit;
        }
        if ((mask & 0x2) != 0)
            tvane::Prompter().Beep(tvane::MsgIcon::None);
        if ((mask & 0x4) != 0) {
            const double value = record.Value;
            std::string text =
                tvane::Format(scantext::kAlarmJournal, static_cast<long>(record.ScanNumber), value);
            if (value == kOverloadValue)
                text += scantext::kOverload;
            const double time = static_cast<double>(static_cast<std::int64_t>(record.Time));
            CDatasetEvent event(alarm == ReadingAlarmLow ? CDatasetEvent::LowLimit
                                                         : CDatasetEvent::HighLimit,
                                channel, time, std::move(text));
            if (!m_doc.IsEventLogFull() && m_dataset && m_dataset->IsOpen()) {
                m_dataset->AppendEvent(event);
                journaled = true;
            }
            m_doc.LogEvent();
        }
        const auto act = [&](int field, double value) {
            const std::string text = GetListField(field, row->AlarmActions);
            CReadingInfo request;
            request.m_channel = text.size() > 1 ? std::atoi(text.c_str() + 1) : 0;
            request.m_value = value;
            request.m_status = 1;
            request.m_request = CReadingInfo::kRequestWrite;
            m_doc.GetServices().scanHost->DoInstrumentAction(request);
        };
        if ((mask & 0x8) != 0 && mayAct && m_doc.GetServices().scanHost != nullptr)
            act(2, 1.0);
        if ((mask & 0x10) != 0 && mayAct && m_doc.GetServices().scanHost != nullptr)
            act(3, 0.0);
        if ((mask & 0x20) != 0 && mayAct) {
            const std::string port = GetListField(5, row->AlarmActions);
            DoDigitalAlarmAction(
                static_cast<std::int16_t>(port.size() > 1 ? std::atoi(port.c_str() + 1) : 0),
                GetListField(4, row->AlarmActions));
        }
    }
    if (journaled)
        m_doc.UpdateAllViews(nullptr, HINT_READING);
    return result;
}

bool CScanEngine::DoDigitalAlarmAction(std::int16_t channel, const std::string& pattern) {
    if (m_doc.GetServices().scanInstrument == nullptr || m_doc.GetServices().scanHost == nullptr)
        return false;
    std::int16_t read = 0;
    if (!m_doc.GetServices().scanInstrument->DigitalReadState(channel, read))
        return false;
    const std::uint8_t current = static_cast<std::uint8_t>(read);
    std::uint8_t value = 0;
    const std::size_t length = pattern.size();
    for (std::size_t bit = 0; bit < 8 && bit < length; ++bit) {
        const char c = pattern[length - 1 - bit];
        const std::uint8_t mask = static_cast<std::uint8_t>(1u << bit);
        if (c == '1')
            value |= mask;
        else if (c != '0')
            value |= current & mask;
    }
    if (value == current)
        return true;
    CReadingInfo request;
    request.m_channel = channel;
    request.m_value = value;
    request.m_status = 1;
    request.m_request = CReadingInfo::kRequestWrite;
    return m_doc.GetServices().scanHost->DoInstrumentAction(request);
}

void CScanEngine::RestartCountdown(std::uint32_t now) {
    m_countdownDisplayTimer.Reset();
    m_countdownDisplayTimer.Set(m_countdownDisplayInterval, now);
    m_countdownStep = 0;
    ShowWaitingStatus();
}

void CScanEngine::ShowWaitingStatus() {
    ++m_countdownStep;
    const long interval = m_doc.GetScan() ? static_cast<long>(m_doc.GetScan()->m_scanInterval) : 0;
    long remaining = interval - static_cast<long>(m_countdownStep) *
                                    static_cast<long>(m_countdownDisplayInterval) / 1000;
    remaining = std::max(remaining, 0L);
    const long days = remaining / 86400;
    const int hours = static_cast<int>(remaining / 3600 % 24);
    const int minutes = static_cast<int>(remaining / 60 % 60);
    const int seconds = static_cast<int>(remaining % 60);
    std::string text = days > 0
                           ? tvane::Format(scantext::kToScanDays, days, hours, minutes, seconds)
                           : tvane::Format(scantext::kToScan, hours, minutes, seconds);
    const std::int32_t mode = m_doc.GetScan() ? m_doc.GetScan()->m_startMode : 0;
    if (mode == CFXScan::kStartExternalTrigger)
        text = scantext::kWaitingTrigger;
    else if (mode == CFXScan::kStartOnAlarm)
        text = scantext::kWaitingAlarm;
    // The status texts first: before the run is marked as scanning they would
    // empty pane 0 again.
    UpdateScanStatus(false);
    if (IDocumentFrame* frame = m_doc.GetApp().GetMainFrame())
        frame->SetPaneText(0, text);
}
