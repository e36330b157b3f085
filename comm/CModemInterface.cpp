#include "comm/CModemInterface.h"

#include <algorithm>
#include <cstring>

#include "comm/CommStrings.h"
#include "comm/IDialDialog.h"
#include "comm/InterfaceTypes.h"
#include "comm/ModemAnswerBlock.h"
#include "comm/ModemPort.h"
#include "comm/ModemTelephony.h"
#include "comm/RememberedNumber.h"
#include "comm/TelephonyPump.h"
#include "platform/core/Clock.h"
#include "platform/core/Format.h"
#include "platform/tapi/Line.h"
#include "platform/tapi/TapiDiagnostics.h"
#include "platform/ui/Prompter.h"

namespace tvane::comm {
namespace {

constexpr int32_t kIdentityBuffer = 80;
constexpr const char* kNotConnected = "Not connected, click 'Connect now' button";

IDialDialog* g_dialDialog = nullptr;

ModemTelephony& Telephony() {
    return ModemTelephony::Instance();
}

std::string PhonePrefix() {
    return LoadResString(IDS_PHONE_NUMBER);
}

} // namespace

IDialDialog* DialDialog() {
    return g_dialDialog;
}
void SetDialDialog(IDialDialog* dialog) {
    g_dialDialog = dialog;
}

CModemInterface::CModemInterface() : CCommInterface(kTypeModem) {
    m_addressCount = 1;
    m_address = Format("%sNot set\t \t%s", PhonePrefix().c_str(), kNotConnected);
    Telephony().SetCurrent(this);
}

CModemInterface::~CModemInterface() {
    Telephony().ClearCurrent(this);
}

std::string CModemInterface::NotConnectedLine(const std::string& number) const {
    return Format("%s %s\t \t%s", PhonePrefix().c_str(), number.c_str(), kNotConnected);
}

void CModemInterface::StatusMessage(const std::string& text, bool show) {
    tapi::OutputDebugPrintf("%s", text.c_str());
    if (show && m_progressDialog && m_progressDialog->IsOpen())
        m_progressDialog->AddLine(text);
}

void CModemInterface::DestroyProgress() {
    if (m_progressDialog)
        m_progressDialog->Close();
    m_progressDialog.reset();
}

bool CModemInterface::ShowDialDialog(RememberedNumber& number, bool connectPath) {
    IDialDialog* dialog = DialDialog();
    if (!dialog) {
        ShowMessage(LoadResString(IDS_DIAL_DIALOG_NOT_AVAILABLE));
        return false;
    }
    RememberedNumber edited = number;
    if (edited.phoneNumber == RememberedNumber::kNotSet)
        edited.phoneNumber.clear();
    if (!dialog->Run(edited, connectPath, DialogOwner()))
        return false;
    number = edited;
    number.Write();
    m_address = NotConnectedLine(number.phoneNumber);
    return true;
}

bool CModemInterface::Initialize() {
    ModemTelephony& t = Telephony();
    t.SetCurrent(this);
    if (!t.Initialize(DialogOwner())) {
        SetError(IDS_NO_CONNECTION);
        return false;
    }
    m_addressCount = 1;
    m_searchTable[0] = SearchEntry{};
    if (t.CallInProgress() || PageMode())
        return true;
    MessageRequest ask;
    ask.text = "Connect to remote instrument now?";
    ask.caption = "Dial-up Modem";
    ask.buttons = MsgButtons::YesNo;
    ask.icon = MsgIcon::Question;
    if (Prompter().Ask(ask) != MsgAnswer::Yes)
        return true;
    RememberedNumber number = RememberedNumber::Read();
    if (t.UsableDevices().empty()) {
        t.OfferControlPanel();
        return false;
    }
    if (!ShowDialDialog(number, true))
        return false;
    return Connect();
}

bool CModemInterface::Open(const char* address) {
    if (Initialize() && address && m_address.empty())
        m_address = Format("%s Not set\t \t%s", PhonePrefix().c_str(), kNotConnected);
    return true;
}

bool CModemInterface::Connect() {
    ModemTelephony& t = Telephony();
    t.SetCurrent(this);
    ClearError();
    if (!t.Initialize(DialogOwner()))
        return false;
    if (t.UsableDevices().empty()) {
        t.OfferControlPanel();
        return false;
    }
    m_sharedMemory = ModemAnswerBlock::Create();
    RememberedNumber number = RememberedNumber::Read();
    if ((number.dialable.empty() || number.device == -1) && !ShowDialDialog(number, true))
        return false;

    m_progressDialog = CreateCallProgressDialog(DialogOwner());
    StatusMessage("Initializing...", true);
    if (!t.Initialize(DialogOwner()) || !t.PlaceCall(number)) {
        DestroyProgress();
        if (!t.LastStatus().empty())
            SetError(IDS_NO_CONNECTION, t.LastStatus().c_str());
        return false;
    }
    // The dialog goes when the call is up or over, or when the user cancels.
    while (m_progressDialog && m_progressDialog->IsOpen()) {
        PumpTelephony();
        if (m_progressDialog && m_progressDialog->IsOpen() && m_progressDialog->TakeCancel()) {
            t.HangupCall();
            DestroyProgress();
            return false;
        }
    }
    DestroyProgress();
    if (!t.CallConnected()) {
        // Say why: the page shows the transport's error.
        SetError(IDS_NO_CONNECTION, t.LastStatus().empty() ? nullptr : t.LastStatus().c_str());
        return false;
    }

    Send("\r\n");
    char buffer[kIdentityBuffer] = {};
    int32_t count = 0;
    if (Send(LoadResString(IDS_IDENTITY_QUERY).c_str()))
        Read(buffer, kIdentityBuffer, count);
    std::string reply(buffer, ::strnlen(buffer, sizeof buffer));
    // Line noise after CONNECT is no identity: an instrument answers in plain text.
    const bool text = std::all_of(reply.begin(), reply.end(), [](char c) {
        return static_cast<unsigned char>(c) >= 0x20 && static_cast<unsigned char>(c) < 0x7F;
    });
    if (count == 0 || reply.empty() || !text || !MatchesFilter(reply.c_str(), "")) {
        MessageRequest box;
        box.text = "Connection established but instrument not responding.  Check instrument "
                   "configuration.\n\nCall will now be terminated.";
        box.caption = "Dial-up Modem";
        box.icon = MsgIcon::Warning;
        Prompter().Ask(box);
        Close();
        return false;
    }
    std::string description;
    ParseIdentity(reply, description);
    m_address =
        Format("%s    %s\t \t%s", reply.c_str(), number.phoneNumber.c_str(), description.c_str());
    m_open = 1;
    return true;
}

bool CModemInterface::Close() {
    m_address = Format("%s %s\t \tDetails not available", PhonePrefix().c_str(),
                       RememberedNumber::Read().phoneNumber.c_str());
    DestroyProgress();
    m_sharedMemory.reset();
    Telephony().HangupCall();
    Telephony().Shutdown();
    m_open = 0;
    return true;
}

bool CModemInterface::Send(const char* command) {
    if (m_sharedMemory)
        m_sharedMemory->Clear();
    if (!ModemPort::PostWrite(std::string(command ? command : "") + "\r\n")) {
        SetError(IDS_NO_CONNECTION);
        return false;
    }
    return true;
}

void CModemInterface::LineDropped() {
    tapi::OutputDebugPrintf("The line was dropped.\n");
    SetError(IDS_MODEM_LINE_DROPPED);
    Telephony().HangupCall();
    m_address = NotConnectedLine(RememberedNumber::Read().phoneNumber);
    m_open = 0;
}

int16_t CModemInterface::IsMsgAvailable() {
    if (!m_sharedMemory)
        return 0;
    const uint32_t start = Clock().TickCount();
    for (;;) {
        if (m_sharedMemory->Ready())
            return 1;
        if (m_sharedMemory->Dropped()) {
            LineDropped();
            return 0;
        }
        if (Clock().TickCount() - start >= kAnswerWaitMs)
            return 0;
        PumpTelephony(0);
        m_sharedMemory->Wait(std::chrono::milliseconds(kAnswerStepMs));
    }
}

bool CModemInterface::Read(char* buffer, int32_t size, int32_t& count) {
    count = 0;
    if (!buffer || size <= 0)
        return false;
    buffer[0] = '\0';
    if (IsMsgAvailable() == 0)
        return false;
    const std::string text = m_sharedMemory ? m_sharedMemory->Text() : std::string();
    count = static_cast<int32_t>(std::min<std::size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(count));
    // The answer ends with a zero in place of its line feed, as every transport's does.
    TerminateAnswer(buffer, size, count);
    return count > 0;
}

bool CModemInterface::GoToLocal() {
    Send("syst:local");
    return true;
}

bool CModemInterface::SetCommTimeout(int32_t) {
    return true;
}
int32_t CModemInterface::GetCommTimeout() {
    return 0;
}

bool CModemInterface::Search(std::vector<std::string>& results, const char*, int32_t) {
    m_address = NotConnectedLine(RememberedNumber::Read().phoneNumber);
    results.push_back(m_address);
    return true;
}

void CModemInterface::Clear() {}

bool CModemInterface::EditSettings() {
    ModemTelephony& t = Telephony();
    t.SetCurrent(this);
    if (!t.Initialize(DialogOwner()))
        return false;
    if (t.UsableDevices().empty()) {
        t.OfferControlPanel();
        return false;
    }
    RememberedNumber number = RememberedNumber::Read();
    ShowDialDialog(number, false);
    return false;
}

bool CModemInterface::FormatSearchLine(std::string& line) {
    line = m_address;
    return true;
}

bool CModemInterface::ReleaseLine(bool confirm) {
    ModemTelephony& t = Telephony();
    if (!t.CallConnected())
        return true;
    if (confirm) {
        MessageRequest ask;
        ask.text = "Call in progress, hang up now?";
        ask.caption = "Connected";
        ask.buttons = MsgButtons::YesNo;
        ask.icon = MsgIcon::Warning;
        if (Prompter().Ask(ask) == MsgAnswer::No)
            return false;
    }
    t.HangupCall();
    t.Shutdown();
    m_open = 0;
    return true;
}

} // namespace tvane::comm
