#include "comm/ScriptedTransport.h"

#include <algorithm>
#include <cstring>

#include "comm/InterfaceTypes.h"

namespace tvane::comm {

ScriptedTransport::ScriptedTransport(std::shared_ptr<Script> script, int32_t type)
    : CCommInterface(type), m_script(std::move(script)) {}

ScriptedTransport::~ScriptedTransport() {
    m_script->transcript.push_back("[deleted]");
}

bool ScriptedTransport::GetListenerMask(const std::string& controller, uint32_t& mask) {
    mask = 0;
    auto it = m_script->listenerMasks.find(controller);
    if (it == m_script->listenerMasks.end())
        return false;
    mask = it->second;
    return mask != 0;
}

bool ScriptedTransport::Initialize() {
    return m_script->initializes;
}

bool ScriptedTransport::Open(const char* address) {
    m_script->transcript.push_back(std::string("[open ") + (address ? address : "") + "]");
    m_open = 0;
    StoreAddress(address);
    return FinishOpen(m_script->present.empty() || m_script->present.count(m_address),
                      m_script->openFailureCode);
}

bool ScriptedTransport::Close() {
    m_script->transcript.push_back("[close]");
    m_open = 0;
    return true;
}

bool ScriptedTransport::Send(const char* command) {
    const std::string text = command ? command : "";
    m_script->transcript.push_back("> " + text);
    m_script->sent.push_back(text);
    auto failure = m_script->sendFailures.find(text);
    if (failure != m_script->sendFailures.end()) {
        SetError(failure->second.first, failure->second.second.c_str());
        return false;
    }
    auto rule = m_script->rules.find(text);
    if (rule != m_script->rules.end() && !rule->second.first.empty()) {
        auto& [steps, next] = rule->second;
        m_script->pending.push_back(steps[std::min(next, steps.size() - 1)]);
        ++next;
    }
    return true;
}

bool ScriptedTransport::Read(char* buffer, int32_t size, int32_t& count) {
    count = 0;
    if (!buffer || size <= 0)
        return false;
    if (m_script->pending.empty()) {
        m_script->transcript.push_back("< (time-out)");
        SetError(m_script->timeoutCode, m_script->timeoutText.c_str());
        TerminateAnswer(buffer, size, count);
        return false;
    }
    Step& step = m_script->pending.front();
    if (step.kind != Step::Reply) {
        if (step.kind == Step::Timeout) {
            m_script->transcript.push_back("< (time-out)");
            SetError(m_script->timeoutCode, m_script->timeoutText.c_str());
        } else {
            m_script->transcript.push_back("< (error " + std::to_string(step.code) + ")");
            SetError(step.code, step.text.c_str());
        }
        m_script->pending.pop_front();
        TerminateAnswer(buffer, size, count);
        return false;
    }
    // Like a bus read: at most the caller's size; what does not fit stays for the
    // next read.
    const std::size_t n = std::min(step.text.size(), static_cast<std::size_t>(size));
    std::memcpy(buffer, step.text.data(), n);
    count = static_cast<int32_t>(n);
    step.text.erase(0, n);
    if (step.text.empty())
        m_script->pending.pop_front();
    TerminateAnswer(buffer, size, count);
    m_script->transcript.push_back("< " + std::string(buffer, ::strnlen(buffer, size)));
    return true;
}

bool ScriptedTransport::GoToLocal() {
    m_script->transcript.push_back("[local]");
    return true;
}

bool ScriptedTransport::GoToRemote() {
    m_script->transcript.push_back("[remote]");
    return true;
}

bool ScriptedTransport::Search(std::vector<std::string>& results, const char* pattern, int32_t) {
    bool found = false;
    for (const auto& line : m_script->searchLines)
        if (MatchesFilter(line.c_str(), pattern)) {
            results.push_back(line);
            found = true;
        }
    return m_script->searchResult && found;
}

void ScriptedTransport::SetExclusive(int32_t exclusive) {
    m_script->transcript.push_back("[exclusive " + std::to_string(exclusive) + "]");
    CCommInterface::SetExclusive(exclusive);
}

int16_t ScriptedTransport::IsMsgAvailable() {
    return m_script->pending.empty() ? 0 : 1;
}

void ScriptedTransport::Clear() {
    m_script->transcript.push_back("[clear]");
    m_script->pending.clear();
}

bool ScriptedTransport::GetControllerName(int32_t index, std::string& name) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_script->controllers.size())
        return false;
    name = m_script->controllers[index];
    return true;
}

bool ScriptedTransport::IsInstrumentResponding() {
    return m_script->responding;
}

bool ScriptedTransport::ReleaseLine(bool confirm) {
    m_script->transcript.push_back(std::string("[release ") + (confirm ? "1" : "0") + "]");
    return m_script->releases;
}

bool ScriptedTransport::GetSerialSettings(std::string& baud, std::string& parity,
                                          std::string& handshake) {
    if (!m_script->baud.empty())
        baud = m_script->baud;
    if (!m_script->parity.empty())
        parity = m_script->parity;
    if (!m_script->handshake.empty())
        handshake = m_script->handshake;
    return true;
}

} // namespace tvane::comm
