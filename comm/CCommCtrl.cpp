#include "comm/CCommCtrl.h"

#include <cstdlib>

#include "comm/CommStrings.h"
#include "comm/ICommSetupSheet.h"
#include "comm/InterfaceTypes.h"
#include "comm/LastInterface.h"
#include "comm/TransportFactory.h"
#include "platform/core/CaseInsensitive.h"
#include "platform/core/Format.h"

namespace tvane::comm {
namespace {

constexpr int32_t kRecvMsgBuffer = 1024;
constexpr std::size_t kOpenArgumentChars = 30;
constexpr std::size_t kAddressSplitChars = 127;
constexpr int kFirstBusAddress = 1;
constexpr int kLastBusAddress = 30;

ICommSetupSheet* g_sheet = nullptr;

} // namespace

ICommSetupSheet* CommSetupSheet() {
    return g_sheet;
}
void SetCommSetupSheet(ICommSetupSheet* sheet) {
    g_sheet = sheet;
}

CCommCtrl::CCommCtrl() : m_noErrorText(LoadResString(IDS_NO_ERROR)) {
    ClearError();
    SetInterfaceType(static_cast<int16_t>(ReadLastInterface()));
}

CCommCtrl::~CCommCtrl() {
    if (m_transport) {
        m_transport->GoToLocal();
        m_transport->ReleaseLine(false);
    }
}

void CCommCtrl::SetInterfaceType(int16_t type) {
    m_interfaceType = type;
    m_interfaceName = TypeToName(type);
}

void CCommCtrl::ExchangeProperties(IPropertyExchange& px) {
    int16_t type = m_interfaceType;
    px.Short("InterfaceName", type, kTypeWenxGpibDefault);
    px.String("ControllerName", m_controllerName, "None");
    px.Short("Address", m_address, -1);
    if (px.IsLoading())
        SetInterfaceType(type);
}

void CCommCtrl::SetError(int32_t code, const char* text) {
    if (code == 0) {
        ClearError();
        return;
    }
    m_errorCode = code;
    m_errorText = text ? std::string(text) : LoadResString(static_cast<unsigned>(code));
}

void CCommCtrl::ClearError() {
    m_errorCode = 0;
    m_errorText = m_noErrorText;
}

bool CCommCtrl::IsValidInterface() {
    if (!m_transport) {
        SetError(IDS_NO_CONNECTION);
        return false;
    }
    return m_transport->IsOpen();
}

bool CCommCtrl::OpenInterface(const std::string& name, const std::string& address,
                              int16_t exclusive) {
    if (EqualsNoCase(name, "any"))
        return OpenAny(address.c_str(), exclusive);
    const std::string useName = name.empty() ? m_interfaceName : name;
    const std::string useAddress =
        address.empty() ? Format("%s,%d", m_controllerName.c_str(), m_address) : address;
    const int32_t useExclusive = exclusive == -1 ? m_exclusive : exclusive;
    // An existing transport is reused whatever its type.
    if (!m_transport)
        m_transport = CreateTransport(useName);
    m_interfaceType = static_cast<int16_t>(NameToType(useName));
    m_interfaceName = useName;
    if (!m_transport || !OpenTransport(useAddress))
        return false;
    ApplyExclusive(useExclusive);
    return true;
}

bool CCommCtrl::Open(const std::optional<std::string>& name,
                     const std::optional<std::string>& address, std::optional<int16_t> exclusive) {
    const std::string useName = name ? name->substr(0, kOpenArgumentChars) : std::string();
    const std::string useAddress = address ? address->substr(0, kOpenArgumentChars) : std::string();
    return OpenInterface(useName, useAddress, exclusive ? *exclusive : int16_t{-1});
}

void CCommCtrl::SplitAddress(const std::string& address) {
    const std::string copy = address.substr(0, kAddressSplitChars);
    const std::size_t comma = copy.find(',');
    if (comma == std::string::npos)
        return;
    m_address = static_cast<int16_t>(std::atoi(copy.c_str() + comma + 1));
    m_controllerName = copy.substr(0, comma);
}

bool CCommCtrl::OpenTransport(const std::string& address) {
    if (!m_transport || !m_transport->Open(address.c_str()))
        return false;
    m_addressText = address;
    SplitAddress(address);
    // Only an instrument that answers the identity query counts as opened.
    const bool identified = m_transport->FormatSearchLine(m_identityLine);
    if (identified)
        ClearError();
    return identified;
}

void CCommCtrl::ApplyExclusive(int32_t exclusive) {
    if (!IsValidInterface())
        return;
    m_transport->SetExclusive(exclusive);
    m_transport->GoToRemote();
}

void CCommCtrl::PutExclusive(int32_t exclusive) {
    m_exclusive = exclusive;
    ApplyExclusive(exclusive);
}

void CCommCtrl::DropTransport() {
    if (!m_transport)
        return;
    m_transport->ReleaseLine(false);
    m_transport.reset();
}

bool CCommCtrl::TryControllers(const char* pattern, int16_t exclusive, bool useListenerMask,
                               int16_t type, const char* name) {
    std::string controller;
    for (int32_t index = 0; m_transport->GetControllerName(index, controller); ++index) {
        uint32_t mask = 0xFFFFFFFFu;
        if (useListenerMask && !m_transport->GetListenerMask(controller, mask))
            continue;
        for (int a = kFirstBusAddress; a <= kLastBusAddress; ++a) {
            if (!(mask & (1u << a)))
                continue;
            if (!OpenTransport(Format("%s,%d", controller.c_str(), a)))
                continue;
            std::string line;
            m_transport->FormatSearchLine(line);
            if (!m_transport->MatchesFilter(line.c_str(), pattern)) {
                m_identityLine.clear();
                continue;
            }
            ApplyExclusive(exclusive);
            m_address = static_cast<int16_t>(a);
            m_interfaceType = type;
            m_interfaceName = name;
            m_controllerName = controller;
            return true;
        }
    }
    return false;
}

bool CCommCtrl::OpenAny(const char* pattern, int16_t exclusive) {
    if (!pattern)
        return false;
    DropTransport();

    m_transport = CreateTransport("WENX");
    if (m_transport && m_transport->Initialize()) {
        SetInterfaceType(kTypeWenx);
        if (TryControllers(pattern, exclusive, true, kTypeWenx, "WENX"))
            return true;
    }

    DropTransport();
    m_transport = CreateTransport("GPIB");
    if (m_transport && m_transport->Initialize()) {
        SetInterfaceType(kTypeGpib32);
        if (TryControllers(pattern, exclusive, false, kTypeGpib32, "GPIB"))
            return true;
    }

    DropTransport();
    m_transport = CreateTransport("RS232");
    if (m_transport && m_transport->Initialize()) {
        SetInterfaceType(kTypeRs232);
        std::vector<std::string> results;
        if (m_transport->Search(results, pattern, 1)) {
            ApplyExclusive(exclusive);
            m_interfaceType = kTypeRs232;
            m_address = 0;
            m_interfaceName = "RS232";
            m_controllerName = "COM1,0";
            return true;
        }
    }
    return false;
}

bool CCommCtrl::Close() {
    if (IsValidInterface()) {
        m_transport->Close();
        m_transport->SetExclusive(0);
    }
    m_transport.reset();
    return true;
}

bool CCommCtrl::SendMsg(const char* text) {
    if (!IsValidInterface())
        return false;
    return m_transport->Send(text ? text : "");
}

std::optional<std::string> CCommCtrl::RecvMsg() {
    char buffer[kRecvMsgBuffer] = {};
    int32_t count = 0;
    if (!IsValidInterface())
        return std::nullopt;
    const bool ok = m_transport->Read(buffer, kRecvMsgBuffer, count);
    CCommInterface::TerminateAnswer(buffer, kRecvMsgBuffer, count);
    if (!ok)
        return std::nullopt;
    return std::string(buffer);
}

bool CCommCtrl::RecvRawMsg(char* buffer, int32_t size, int32_t& count) {
    if (!buffer || size <= 0)
        return false;
    buffer[0] = '\0';
    if (!IsValidInterface())
        return false;
    int32_t got = 0;
    const bool ok = m_transport->Read(buffer, size, got);
    CCommInterface::TerminateAnswer(buffer, size, got);
    count = got;
    return ok;
}

std::optional<std::string> CCommCtrl::SendQuery(const std::string& text) {
    if (!SendMsg(text.c_str()) || text.find('?') == std::string::npos)
        return std::nullopt;
    return RecvMsg();
}

int16_t CCommCtrl::IsMsgAvailable() {
    return m_transport ? m_transport->IsMsgAvailable() : 0;
}

int16_t CCommCtrl::ClearInstrument() {
    if (!m_transport)
        return 0;
    m_transport->Clear();
    return 1;
}

// Without a transport there is nothing to switch or ask; these succeed quietly,
// except that nothing is said to respond.
bool CCommCtrl::GoToLocal() {
    if (m_transport)
        m_transport->GoToLocal();
    return true;
}

bool CCommCtrl::GoToRemote() {
    if (m_transport)
        m_transport->GoToRemote();
    return true;
}

bool CCommCtrl::IsInstrumentResponding() {
    return m_transport && m_transport->IsInstrumentResponding();
}

bool CCommCtrl::GetSerialSettings(std::string& baud, std::string& parity, std::string& handshake) {
    if (m_transport)
        m_transport->GetSerialSettings(baud, parity, handshake);
    return true;
}

bool CCommCtrl::GetCommError(std::string& text, int32_t& code) {
    if (m_transport)
        return m_transport->GetLastError(text, code);
    if (m_errorCode == 0)
        return false;
    text = m_errorText;
    code = m_errorCode;
    ClearError();
    return true;
}

bool CCommCtrl::GetCommTimeout(int32_t& ms) {
    if (!IsValidInterface())
        return false;
    ms = m_transport->GetCommTimeout();
    return true;
}

bool CCommCtrl::PutCommTimeout(int32_t ms) {
    if (!IsValidInterface())
        return false;
    m_transport->SetCommTimeout(ms);
    return true;
}

bool CCommCtrl::GetLanTimeout(int32_t& ms) {
    if (!IsValidInterface())
        return false;
    ms = m_transport->GetLanTimeout();
    return true;
}

bool CCommCtrl::PutLanTimeout(int32_t ms) {
    if (!IsValidInterface())
        return false;
    m_transport->SetLanTimeout(ms);
    return true;
}

bool CCommCtrl::GetPollTimeout(int32_t& ms) {
    if (!IsValidInterface())
        return false;
    ms = m_transport->GetPollTimeout();
    return true;
}

bool CCommCtrl::PutPollTimeout(int32_t ms) {
    if (!IsValidInterface())
        return false;
    m_transport->SetPollTimeout(ms);
    return true;
}

std::optional<SearchSelection> CCommCtrl::Search(int32_t type, const char* pattern, int32_t flag) {
    if (type == -1)
        type = ReadLastInterface();
    ICommSetupSheet* sheet = CommSetupSheet();
    if (!sheet) {
        SetError(IDS_SETUP_NOT_AVAILABLE);
        return std::nullopt;
    }
    ICommSetupSheet::Request request;
    request.type = type;
    request.pattern = pattern ? pattern : "";
    request.flag = flag;
    request.current = m_transport.get();
    request.status = m_identityLine.empty() ? LoadResString(IDS_CLICK_SEARCH) : m_identityLine;
    ICommSetupSheet::Result result = sheet->Run(request);
    if (!result.selected)
        return std::nullopt;

    if (result.transport && result.transport.get() != m_transport.get()) {
        DropTransport();
        m_transport = std::move(result.transport);
    }
    if (m_transport)
        m_transport->SetPageMode(false);
    m_identityLine = result.line;

    SearchSelection selection;
    selection.type = result.type;
    selection.address = result.address;
    selection.instId = result.model;
    selection.interfaceName = TypeToName(result.type);
    m_interfaceType = static_cast<int16_t>(result.type);
    m_addressText = result.address;
    SplitAddress(result.address);
    m_instId = result.model;
    m_interfaceName = selection.interfaceName;
    WriteLastInterface(m_interfaceType);
    return selection;
}

bool CCommCtrl::ShowProperties() {
    ICommSetupSheet* sheet = CommSetupSheet();
    if (!sheet) {
        SetError(IDS_SETUP_NOT_AVAILABLE);
        return false;
    }
    return sheet->ShowProperties(*this);
}

} // namespace tvane::comm
