// Instrument actions requested by displays and the document's channel
// utilities.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "app/CLoggerDoc.h"
#include "app/IDocumentInstrument.h"
#include "app/InstrumentTexts.h"
#include "database/CDatasetEvent.h"
#include "platform/core/Exception.h"
#include "platform/core/Format.h"
#include "platform/ui/Prompter.h"
#include "scan/CFXSetup.h"
#include "scan/CFXSetupArray.h"
#include "scan/ChannelCodes.h"
#include "shared/DocumentHints.h"

namespace {
constexpr std::uint32_t kKindTotalizer = 0x2;
constexpr std::uint32_t kKindGeneralSwitch = 0x10;
constexpr std::uint32_t kKindAnalogWrite = 0x20;
constexpr std::uint32_t kKindExclusiveSwitch = 0x40;
constexpr std::uint32_t kKindMatrixSwitch = 0x80;
constexpr std::uint32_t kKindSwitching = 0x100;
constexpr std::uint32_t kKindDigitalRead = 0x400;
constexpr std::uint32_t kKindDigitalWrite = 0x800;

bool IsSwitchKind(std::uint32_t kind) {
    return kind == kKindGeneralSwitch || kind == kKindMatrixSwitch || kind == kKindSwitching ||
           kind == kKindExclusiveSwitch;
}

double StoredValue(const CFXSetup& row) {
    return row.ActionValue.empty() ? 0.0 : std::strtod(row.ActionValue.c_str(), nullptr);
}
} // namespace

// --- Channel utilities ------------------------------------------------------

std::int32_t CLoggerDoc::FindChannelIndex(std::int32_t channel,
                                          const std::vector<std::int32_t>& channels) {
    for (std::size_t i = 0; i < channels.size(); ++i)
        if (channels[i] == channel)
            return static_cast<std::int32_t>(i);
    return -1;
}

void CLoggerDoc::GetFunctionDefaultValue(const std::string& function, double& value) {
    switch (FunctionCode(function)) {
    case kFnDcVolts:
    case kFn2wOhms:
    case kFn4wOhms:
    case kFnTemperature:
    case kFnDcCurrent:
        value = 0.001;
        break;
    case kFnAcVolts:
    case kFnFrequency:
    case kFnPeriod:
    case kFnAcCurrent:
        value = 1.0;
        break;
    default:
        value = 0.0;
        break;
    }
}

void CLoggerDoc::SetOutputValue(CFXSetup& row, double value) {
    row.ActionValue = tvane::Format("%e", value);
}

void CLoggerDoc::GetOutputValue(CFXSetup& row, double& value, std::uint32_t kind) {
    if (row.ActionValue.empty()) {
        const bool digital = kind == kKindDigitalWrite || kind == kKindDigitalRead;
        SetOutputValue(row, digital ? 255.0 : 0.0);
    }
    value = std::strtod(row.ActionValue.c_str(), nullptr);
}

// --- Display actions --------------------------------------------------------

void CLoggerDoc::AnnounceOpenedSwitch(const CReadingInfo& request, int moduleCode) {
    if (request.m_value <= 0.0 || !m_setup)
        return;
    const std::int32_t channel = request.m_channel;
    const std::int32_t base = (channel / 100) * 100;
    CFXSetup* opened = nullptr;
    if (moduleCode == 0) {
        std::int32_t partner = 0;
        if (channel % 100 == 21)
            partner = channel + 1;
        else if (channel % 100 == 22)
            partner = channel - 1;
        if (partner != 0)
            opened = FindSetupRow(partner);
    } else if (moduleCode == 4 || moduleCode == 5 || moduleCode == 7) {
        std::int32_t first = base + 1, last = base + 40;
        if (moduleCode != 7) {
            first = channel - base <= 14 ? base + 11 : base + 21;
            last = first + 3;
        }
        for (std::int32_t i = 0; i < m_setup->GetSize() && opened == nullptr; ++i) {
            CFXSetup* row = GetSetupRow(i);
            if (row == nullptr)
                continue;
            const auto number = static_cast<std::int32_t>(row->Channel);
            if (number != channel && number >= first && number <= last && StoredValue(*row) > 0.0)
                opened = row;
        }
    }
    if (opened == nullptr)
        return;
    SetOutputValue(*opened, 0.0);
    CReadingInfo answer;
    answer.m_channel = static_cast<std::int32_t>(opened->Channel);
    answer.m_value = 0.0;
    answer.m_status = 0;
    answer.m_request = request.m_request;
    UpdateAllViews(nullptr, HINT_ACTION_RESULT, &answer);
}

bool CLoggerDoc::DoInstrumentAction(CReadingInfo& request, bool ask) {
    if (m_actionBusy)
        return false;
    CFXSetup* row = FindSetupRow(request.m_channel);
    // A display may name a channel the setup no longer has: refuse it.
    if (row == nullptr)
        return false;
    m_actionBusy = true;
    struct BusyGuard {
        bool& flag;
        ~BusyGuard() { flag = false; }
    } guard{m_actionBusy};

    const std::uint32_t kind = GetModuleKind(*row);
    const int moduleCode = ModuleCode(row->Name);

    if (request.m_request == CReadingInfo::kRequestQuery) {
        GetOutputValue(*row, request.m_value, kind);
        UpdateAllViews(nullptr, HINT_ACTION_RESULT, &request);
        return true;
    }

    const bool acts = kind == kKindDigitalRead || kind == kKindDigitalWrite ||
                      kind == kKindTotalizer || kind == kKindAnalogWrite || IsSwitchKind(kind);
    if (!acts)
        return false;

    if (!IsScanning() && m_setupInInstrument == 0 && !IsInstrumentOffline()) {
        bool download = false;
        if (ask) {
            // Still busy: a request arriving while the download pumps messages
            // is refused.
            download = tvane::ShowMessage(insttext::kAskDownload, tvane::MsgButtons::YesNo,
                                          tvane::MsgIcon::Question) == tvane::MsgAnswer::Yes &&
                       DownloadSetup();
        }
        if (!download) {
            SetOutputValue(*row, request.m_value);
            if (kind == kKindExclusiveSwitch || kind == kKindSwitching) {
                if (kind == kKindExclusiveSwitch && request.m_value == 0.0) {
                    request.m_value = 1.0;
                    SetOutputValue(*row, request.m_value);
                }
                if (request.m_value > 0.0)
                    AnnounceOpenedSwitch(CReadingInfo(request), moduleCode);
            }
            UpdateAllViews(nullptr, HINT_ACTION_RESULT, &request);
            return true;
        }
    }

    if (m_services.instrument == nullptr)
        return false;
    const std::uint32_t type =
        request.m_request == CReadingInfo::kRequestRead    ? CDatasetEvent::InputOperation
        : request.m_request == CReadingInfo::kRequestWrite ? CDatasetEvent::OutputOperation
                                                           : CDatasetEvent::User;
    CDatasetEvent event(type, request.m_channel, GetElapsedRunTime());
    const auto channel = static_cast<std::int16_t>(request.m_channel);
    bool ok = false;
    try {
        switch (kind) {
        case kKindDigitalRead: {
            std::int16_t value = 0;
            ok = m_services.instrument->DigitalRead(channel, value);
            if (ok)
                request.m_value = value;
            event.m_text = tvane::Format(insttext::kDioRead, static_cast<std::int16_t>(value));
            break;
        }
        case kKindDigitalWrite:
            ok = m_services.instrument->DigitalWrite(channel, request.m_value);
            event.m_text =
                tvane::Format(insttext::kDioWrite, static_cast<std::int16_t>(request.m_value));
            break;
        case kKindTotalizer: {
            double value = 0.0;
            ok = m_services.instrument->TotalizeRead(
                channel, value, FunctionCode(row->Function) == kFnTotalizeReset);
            if (ok)
                request.m_value = value;
            event.m_text =
                tvane::Format(insttext::kTotalizeRead, static_cast<long>(request.m_value));
            break;
        }
        case kKindAnalogWrite:
            ok = m_services.instrument->AnalogWrite(channel, request.m_value);
            event.m_text = tvane::Format(insttext::kDacWrite, request.m_value);
            break;
        default: // the switches
            if (kind == kKindExclusiveSwitch && request.m_value != 1.0) {
                // A bank channel is opened only by closing another one.
                ok = true;
                request.m_status = 0;
                request.m_value = 1.0;
            } else if (kind == kKindExclusiveSwitch ||
                       static_cast<long long>(request.m_value) != 0) {
                ok = m_services.instrument->CloseChannel(channel);
            } else {
                ok = m_services.instrument->OpenChannel(channel);
            }
            if (request.m_value > 0.0) {
                event.m_text = insttext::kSwitchClose;
                if (ok) {
                    SetOutputValue(*row, request.m_value);
                    AnnounceOpenedSwitch(CReadingInfo(request), moduleCode);
                }
            } else {
                event.m_text = insttext::kSwitchOpen;
            }
            break;
        }
    } catch (const tvane::Exception&) {
        ok = false;
    }
    // Only what the instrument took is kept: a later query answers its state,
    // not the one asked for.
    if (ok)
        SetOutputValue(*row, request.m_value);

    if (ok && request.m_status != 0)
        BroadcastEvent(event);
    if (ok && !IsScanning())
        LogInstrumentError();
    if (ok) {
        UpdateAllViews(nullptr, HINT_ACTION_RESULT, &request);
    } else {
        tvane::ShowMessage(insttext::kActionError);
        // The driver's own error says why (time-out, error reply, link lost);
        // during a run the poll's own report takes the instrument's queue.
        if (!IsScanning())
            LogInstrumentError();
    }
    return ok;
}
