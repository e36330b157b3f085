// Setup upload: the setup rebuilt from the instrument's channel
// configurations and scan settings, and the stored readings fetched into the
// current dataset.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/IDocumentOperations.h"
#include "app/InstrumentTexts.h"
#include "database/CDataset.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Clock.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXScan.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/ChannelCodes.h"
#include "scan/records/CChannelConfig.h"
#include "scan/records/ReadingRecord.h"
#include "shared/DocumentHints.h"

namespace {
constexpr std::uint32_t kNoCells = 0xFFFFFFFFu;
constexpr std::int32_t kMaxReadingsPerRequest = 32767;
// Consecutive failed fetches the user may retry before the fetch gives up.
constexpr int kMaxFetchRetries = 3;

bool IsScanRow(const CFXSetup* row) {
    return row != nullptr && row->IsScanCapable() && row->Name != "Computed";
}

void ShowUploadMessage(const std::string& text) {
    tvane::ShowMessage(text, tvane::MsgButtons::Ok, tvane::MsgIcon::None, insttext::kUploadHelp);
}
} // namespace

void CLoggerDoc::GetConnectSpeed() {
    const std::string text = tvane::GetPrivateProfileString("Settings", insttext::kConnectSpeed,
                                                            "115200", insttext::kLinkwellIni, 51);
    switch (std::atoi(text.c_str())) {
    case 1200:
        m_engine->SetReadingsPerPoll(2);
        break;
    case 2400:
        m_engine->SetReadingsPerPoll(4);
        break;
    case 4800:
        m_engine->SetReadingsPerPoll(8);
        break;
    case 9600:
        m_engine->SetReadingsPerPoll(16);
        break;
    case 19200:
        m_engine->SetReadingsPerPoll(32);
        break;
    case 38400:
        m_engine->SetReadingsPerPoll(64);
        break;
    default:
        m_engine->SetReadingsPerPoll(100);
        break;
    }
}

void CLoggerDoc::UploadScanSettings() {
    if (m_services.instrument == nullptr || !m_scan)
        return;
    CFXScan& scan = *m_scan;
    scan.m_alarmOutputTracking = m_services.instrument->IsAlarmOutputTracking() ? 1 : 0;
    scan.m_alarmPolarityLow = m_services.instrument->IsAlarmPolarityLowOnFail() ? 1 : 0;
    const std::string source = m_services.instrument->GetTriggerSource();
    if (source == insttext::kTriggerExternal) {
        scan.m_startMode = CFXScan::kStartExternalTrigger;
    } else if (source.rfind(insttext::kTriggerAlarmPrefix, 0) == 0) {
        scan.m_startMode = CFXScan::kStartOnAlarm;
        std::size_t digits = 4;
        while (digits < source.size() && !std::isdigit(static_cast<unsigned char>(source[digits])))
            ++digits;
        scan.m_alarmStartChannel = std::atoi(source.c_str() + std::min(digits, source.size()));
    } else {
        scan.m_startMode = CFXScan::kStartImmediately;
    }
    std::int32_t count = 0;
    if (m_services.instrument->GetScanCount(count)) {
        scan.m_stopMode = count > 0 ? CFXScan::kStopAfterCount : CFXScan::kStopByUser;
        scan.m_scanCount = std::max(count, 0);
    }
    double interval = 0.0;
    if (m_services.instrument->GetScanInterval(interval))
        scan.m_scanInterval = interval;
}

bool CLoggerDoc::IsScanListSame(const std::vector<std::int32_t>& channels) const {
    for (std::int32_t i = 0; m_setup && i < m_setup->GetSize(); ++i) {
        const CFXSetup* row = GetSetupRow(i);
        if (!IsScanRow(row))
            continue;
        const bool listed =
            FindChannelIndex(static_cast<std::int32_t>(row->Channel), channels) >= 0;
        if (listed != (row->ChannelMode != 0))
            return false;
    }
    for (std::int32_t channel : channels)
        if (!IsScanRow(FindSetupRow(channel)))
            return false;
    return true;
}

void CLoggerDoc::ApplyScanList(const std::vector<std::int32_t>& channels) {
    for (std::int32_t i = 0; m_setup && i < m_setup->GetSize(); ++i) {
        CFXSetup* row = GetSetupRow(i);
        if (IsScanRow(row))
            row->ChannelMode =
                FindChannelIndex(static_cast<std::int32_t>(row->Channel), channels) >= 0 ? 1 : 0;
    }
}

bool CLoggerDoc::UploadStoredReadings(CDataset& dataset, std::vector<std::int32_t>& channels) {
    if (m_services.instrument == nullptr || !m_engine->GetReadingBuffer())
        return false;
    std::int32_t total = 0;
    if (!GetReadingsCount(total))
        return false;
    m_services.instrument->SetReadingFormat(m_options);
    std::unique_ptr<IInstrumentProgress> progress;
    if (m_services.instrumentUi != nullptr)
        progress = m_services.instrumentUi->CreateProgress(insttext::kDataCaption);
    if (progress) {
        progress->SetRange(0, 100);
        progress->SetPos(2);
    }
    // A request never asks for more than the reading buffer holds.
    const std::int32_t capacity =
        std::min<std::int32_t>({kMaxReadingsPerRequest, m_engine->GetReadingBufferCapacity(),
                                CLoggerDoc::kReadingBufferCapacity});
    std::int32_t fetched = 0;
    int failures = 0;
    while (fetched < total) {
        const std::int32_t requested = std::min(capacity, total - fetched);
        std::int32_t count = 0;
        bool ok = false;
        try {
            ok = m_services.instrument->FetchReadings(m_engine->GetReadingBuffer(), requested,
                                                      count);
        } catch (const tvane::Exception&) {
            ok = false;
        }
        if (!ok) {
            LogInstrumentError();
            if (++failures >= kMaxFetchRetries ||
                tvane::ShowMessage(insttext::kContinueUploading, tvane::MsgButtons::YesNo,
                                   tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
                break;
            continue;
        }
        failures = 0;
        count = std::clamp(count, 0, requested);
        if (count == 0)
            break; // the instrument has no more to give
        // Readings the dataset cannot keep are not counted as fetched.
        if (!dataset.AppendReadings(m_engine->GetReadingBuffer(), static_cast<std::int16_t>(count)))
            break;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t channel = m_engine->GetReadingBuffer()[i].Channel;
            if (FindChannelIndex(channel, channels) < 0)
                channels.push_back(channel);
        }
        fetched += count;
        if (progress) {
            if (progress->CheckCancel())
                break;
            progress->SetPos(static_cast<int>(fetched * 100.0 / total));
            progress->SetText(tvane::Format(insttext::kUploadingReading, static_cast<long>(fetched),
                                            static_cast<long>(total)));
        }
    }
    progress.reset();
    if (fetched < total)
        ShowUploadMessage(tvane::Format(insttext::kUploadProcessed, static_cast<long>(fetched),
                                        static_cast<long>(total)));
    return fetched == total;
}

bool CLoggerDoc::UploadStoredData(CDataset& dataset, std::vector<std::int32_t>& channels) {
    GetConnectSpeed();
    if (!UploadStoredReadings(dataset, channels))
        return false;
    std::int64_t time = 0;
    std::int16_t milliseconds = 0;
    double tick = 0.0;
    if (m_services.instrument->GetScanTime(time, milliseconds))
        dataset.SetStartTime(tvane::CTime(time));
    if (m_services.instrument->GetStartTickCount(tick))
        dataset.SetFirstTick(tick);
    dataset.WriteHeader();
    return true;
}

bool CLoggerDoc::UploadSetup(bool uploadData, bool keepScanning) {
    m_setupInInstrument = 0;
    if (IsInstrumentOffline() || !m_setup)
        return false;
    bool cancelled = false, failed = false;
    std::int32_t failedChannel = 0;
    try {
        if (!keepScanning)
            m_services.instrument->StopMeasurement();
        if (!m_services.instrument->ClearScanList() || !m_services.instrument->ConfigureUpload()) {
            ShowUploadMessage(insttext::kUploadFailed);
            return false;
        }
        m_services.instrument->GetScanList();
        std::string lists[4];
        for (int i = 0; i < 4; ++i)
            lists[i] = m_services.instrument->GetAlarmList(static_cast<std::int16_t>(i + 1));

        std::unique_ptr<IInstrumentProgress> progress;
        if (m_services.instrumentUi != nullptr)
            progress = m_services.instrumentUi->CreateProgress(insttext::kUploadCaption);
        if (progress)
            progress->SetRange(0, 100);
        int total = 0, done = 0;
        for (std::int32_t i = 0; i < m_setup->GetSize(); ++i)
            if (const CFXSetup* row = GetSetupRow(i); row != nullptr && row->IsScanCapable())
                ++total;
        for (std::int32_t i = 0; i < m_setup->GetSize(); ++i) {
            CFXSetup* row = GetSetupRow(i);
            if (row == nullptr || !row->IsScanCapable() || row->CellFlags == kNoCells)
                continue;
            CChannelConfig config;
            if (!m_services.instrument->UploadChannelConfig(static_cast<std::int16_t>(row->Channel),
                                                            row->Name, config)) {
                failed = true;
                failedChannel = static_cast<std::int32_t>(row->Channel);
                break;
            }
            row->ChannelMode = config.InScanList;
            row->Function = FunctionText(config.Function, config.SubType);
            if (auto it = m_functionTable.find(row->Function); it != m_functionTable.end()) {
                row->AdvSettingsType = it->second.advSettingsType;
                row->AdvSettings = it->second.defaultAdvSettings;
            }
            row->Range = FormatRangeValue(config.Range, config.Function);
            row->SetIntegration(config.IntegrationCode, config.Resolution);
            row->Scaling = config.ScalingOn;
            row->Gain = config.Gain;
            row->Offset = config.Offset;
            row->Units = config.Unit;
            row->AlarmHi = config.HighLimit;
            row->AlarmLo = config.LowLimit;
            row->SetAlarmTest(static_cast<std::int16_t>(config.AlarmMode));
            row->SetAlarmOutput(tvane::Format("%ld", static_cast<long>(row->Channel)), lists[0],
                                lists[1], lists[2], lists[3]);
            for (const auto& option : config.Options)
                if (option.Id != 2 && option.Id != -1)
                    row->SetAdvancedValue(static_cast<std::uint32_t>(option.Id), option.Text);
            row->SetFunctionDefaults();
            ++done;
            if (progress) {
                if (progress->CheckCancel()) {
                    cancelled = true;
                    break;
                }
                progress->SetPos(total > 0 ? done * 100 / total : 100);
                progress->SetText(tvane::Format(insttext::kUploadingChannel,
                                                static_cast<long>(row->Channel), done, total));
            }
        }
        progress.reset();
        UploadScanSettings();

        std::int32_t count = 0;
        if (!failed && !cancelled && uploadData && !keepScanning && GetReadingsCount(count) &&
            count > 0 && GetDataset()) {
            std::vector<std::int32_t> channels;
            if (UploadStoredData(*GetDataset(), channels)) {
                const bool mismatch =
                    m_services.instrument->IsConfigChanged() || !IsScanListSame(channels);
                if (mismatch &&
                    tvane::ShowMessage(insttext::kMismatch, tvane::MsgButtons::YesNo,
                                       tvane::MsgIcon::Question) != tvane::MsgAnswer::Yes)
                    cancelled = true;
                ApplyScanList(channels);
            }
        }
    } catch (const tvane::Exception&) {
        failed = true;
    }

    CDatasetEvent event(CDatasetEvent::Upload, 0, GetElapsedRunTime(),
                        FormatNow() + insttext::kUploadEvent);
    BroadcastEvent(event);
    LogInstrumentError();

    if (!failed && !cancelled) {
        m_setupInInstrument = 1;
        return true;
    }
    if (cancelled)
        ShowUploadMessage(insttext::kUploadCancelled);
    else if (failedChannel != 0)
        ShowUploadMessage(
            tvane::Format(insttext::kUploadChannelFailed, static_cast<long>(failedChannel)));
    else
        ShowUploadMessage(insttext::kUploadFailed);
    return false;
}
