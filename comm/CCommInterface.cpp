#include "comm/CCommInterface.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "comm/CommStrings.h"
#include "comm/InterfaceTypes.h"
#include "platform/core/Format.h"
#include "platform/profile/Profile.h"

namespace tvane::comm {
namespace {

constexpr std::size_t kIdentityQueryChars = 24;
constexpr int32_t kIdentityBuffer = 200;
// What an address search reads of an identity reply.
constexpr int32_t kSearchReadSize = 80;
constexpr int kMaxFilterTokens = 10;

bool Contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

std::string_view LeadingDigits(std::string_view s) {
    std::size_t n = 0;
    while (n < s.size() && std::isdigit(static_cast<unsigned char>(s[n])))
        ++n;
    return s.substr(0, n);
}

} // namespace

CCommInterface::CCommInterface(int32_t type)
    : m_type(type), m_noErrorText(LoadResString(IDS_NO_ERROR)) {
    ClearError();
    m_identityQuery =
        GetPrivateProfileString("Settings", "DefIDString", LoadResString(IDS_IDENTITY_QUERY),
                                LinkwellIni(), kIdentityQueryChars + 1);
}

CCommInterface::~CCommInterface() = default;

bool CCommInterface::IsKind(int32_t kind) const {
    switch (m_type) {
    case kTypeSimulated:
        return kind == kKindSimulated;
    case kTypeGpib32:
        return kind == kKindGpib32;
    case kTypeRs232:
        return kind == kKindRs232;
    case kTypeModem:
        return kind == kKindModem;
    default: // the gateway types
        return kind == kKindWenx;
    }
}
bool CCommInterface::HasKind(int32_t kind) const {
    return IsKind(kind);
}

bool CCommInterface::Initialize() {
    return true;
}
bool CCommInterface::LoadEntryPoints() {
    return true;
}
bool CCommInterface::Prepare() {
    return true;
}
bool CCommInterface::Connect() {
    return true;
}
bool CCommInterface::Transfer(int32_t, int32_t, int32_t, int32_t) {
    return true;
}
bool CCommInterface::GoToLocal() {
    return true;
}
bool CCommInterface::GoToRemote() {
    return true;
}
bool CCommInterface::ScanController(const std::string&) {
    return true;
}
bool CCommInterface::SetAddress(const char* address) {
    StoreAddress(address);
    return true;
}
bool CCommInterface::SetCommTimeout(int32_t ms) {
    m_commTimeout = ms;
    return true;
}
int32_t CCommInterface::GetCommTimeout() {
    return m_commTimeout;
}

bool CCommInterface::GetListenerMask(const std::string&, uint32_t& mask) {
    mask = 0;
    return false;
}

void CCommInterface::SetPollTimeout(int32_t ms) {
    m_pollTimeout = ms;
}
int32_t CCommInterface::GetPollTimeout() {
    return m_pollTimeout;
}
bool CCommInterface::SetLanTimeout(int32_t ms) {
    m_lanTimeout = ms;
    return true;
}
int32_t CCommInterface::GetLanTimeout() {
    return m_lanTimeout;
}

bool CCommInterface::Search(std::vector<std::string>&, const char*, int32_t) {
    return true;
}

void CCommInterface::SetExclusive(int32_t exclusive) {
    m_exclusive = exclusive;
}
int32_t CCommInterface::GetExclusive() {
    return m_exclusive;
}

void CCommInterface::Clear() {}

bool CCommInterface::GetControllerName(int32_t, std::string&) {
    return false;
}

bool CCommInterface::IsType(int32_t type) {
    return m_type == type;
}
int32_t CCommInterface::GetType() {
    return m_type;
}
std::string CCommInterface::GetAddress() {
    return m_address;
}

bool CCommInterface::FormatSearchLine(std::string& line) {
    line.clear();
    if (!Send(LoadResString(IDS_IDENTITY_QUERY).c_str()))
        return false;
    char buffer[kIdentityBuffer] = {};
    int32_t count = 0;
    if (!Read(buffer, kIdentityBuffer, count) || count < 1)
        return false;
    // A reply that fills the buffer gives up its last byte to the terminator.
    buffer[kIdentityBuffer - 1] = '\0';
    std::string reply(buffer);
    std::string description;
    if (!ParseIdentity(reply, description))
        return false;
    line = Format("%s\t%s\t%s", reply.c_str(), m_address.c_str(), description.c_str());
    return true;
}

void CCommInterface::ProbeSearchEntry(const SearchEntry& entry, const char* pattern,
                                      std::vector<std::string>& results) {
    if (!Send(entry.identityQuery.c_str()))
        return;
    char buffer[kSearchReadSize] = {};
    int32_t count = 0;
    Read(buffer, kSearchReadSize, count);
    if (count > 0 && MatchesFilter(buffer, pattern)) {
        buffer[kSearchReadSize - 1] = '\0';
        std::string reply = buffer;
        std::string description;
        ParseIdentity(reply, description);
        results.push_back(
            Format("%s\t%s\t%s", reply.c_str(), entry.line.c_str(), description.c_str()));
    }
}

bool CCommInterface::ParseIdentity(std::string& reply, std::string& description) {
    description = reply;
    const std::size_t comma = reply.find(',');
    const std::string first = reply.substr(0, comma);
    std::string second;
    if (comma != std::string::npos)
        second = reply.substr(comma + 1, reply.find(',', comma + 1) - (comma + 1));
    if (second.empty()) {
        description = "Invalid";
        return false;
    }
    std::string model;
    if (Contains(reply, "BRANNOCK"))
        model = "KX" + second;
    else if (Contains(reply, "ORVANTA"))
        model = "Orvanta" + second;
    else if (second[0] == 'K')
        model = second;
    else if (reply[0] == 'K')
        model = first;
    else {
        if (!std::isalnum(static_cast<unsigned char>(reply[0])))
            description = "Unknown device";
        return false;
    }
    reply = model;
    return true;
}

bool CCommInterface::MatchesFilter(const char* text, const char* pattern) {
    if (!pattern || pattern[0] == '*')
        return true;
    const std::string_view line = text ? text : "";
    if (Contains(line, "simulated"))
        return true;
    const std::size_t lineComma = line.find(',');
    const std::string_view afterComma =
        lineComma == std::string_view::npos ? std::string_view() : line.substr(lineComma + 1);
    std::string_view rest = pattern;
    for (int n = 0; n < kMaxFilterTokens; ++n) {
        const std::size_t comma = rest.find(',');
        std::string_view token = rest.substr(0, comma);
        // "KXQT7100" is tested as "7100".
        while (!token.empty() && (std::isspace(static_cast<unsigned char>(token[0])) ||
                                  std::isalpha(static_cast<unsigned char>(token[0]))))
            token.remove_prefix(1);
        if (Contains(line, token))
            return true;
        // "9*" picks the instrument at bus address 9 of an address text.
        if (Contains(token, "*") && lineComma != std::string_view::npos &&
            (LeadingDigits(token).empty() || LeadingDigits(afterComma) == LeadingDigits(token)))
            return true;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return false;
}

bool CCommInterface::IsOpen() {
    return m_open != 0;
}
bool CCommInterface::IsInstrumentResponding() {
    return true;
}
bool CCommInterface::ReleaseLine(bool) {
    return true;
}
bool CCommInterface::GetSerialSettings(std::string&, std::string&, std::string&) {
    return true;
}

void CCommInterface::SetError(int32_t code, const char* text) {
    if (code == kNoErrorCode) {
        ClearError();
        return;
    }
    m_errorCode = code;
    m_errorText = text ? std::string(text) : LoadResString(static_cast<unsigned>(code));
}

void CCommInterface::ClearError() {
    m_errorCode = 0;
    m_errorText = m_noErrorText;
}

std::string CCommInterface::GetErrorCode(int32_t& code) const {
    code = m_errorCode;
    return m_errorText;
}

bool CCommInterface::GetLastError(std::string& text, int32_t& code) {
    text = m_errorText;
    code = m_errorCode;
    ClearError();
    return true;
}

void CCommInterface::TerminateAnswer(char* buffer, int32_t size, int32_t& count) {
    if (!buffer || size <= 0) {
        count = 0;
        return;
    }
    count = std::clamp(count, int32_t{0}, size);
    if (count > 0 && buffer[count - 1] == '\n') {
        buffer[count - 1] = '\0';
        if (count > 1 && buffer[count - 2] == '\r')
            buffer[count - 2] = '\0';
    }
    if (count < size)
        buffer[count] = '\0';
    else
        buffer[size - 1] = '\0';
}

bool CCommInterface::FinishOpen(bool reached, int32_t failureCode) {
    if (!reached) {
        SetError(failureCode);
        return false;
    }
    ClearError();
    m_open = 1;
    return true;
}

void CCommInterface::StoreAddress(const char* address) {
    if (!address)
        return;
    m_address.assign(address, std::min(std::strlen(address), kAddressChars));
}

} // namespace tvane::comm
