#include "platform/tapi/ScriptedModem.h"

#include "platform/core/CaseInsensitive.h"
#include "platform/profile/Profile.h"
#include "platform/tapi/LineConfiguration.h"

namespace tvane::tapi {

void ScriptedModem::Configure(int index, const std::string& name) const {
    const std::string section = "Line" + std::to_string(index);
    const char* file = LineConfiguration::kFile;
    WritePrivateProfileString(section, "Name", name, file);
    WritePrivateProfileString(section, "Port", PortPath(), file);
    WritePrivateProfileString(section, "Flow", std::string("NONE"), file);
}

void ScriptedModem::HangUpRemote() {
    if (!m_data)
        return;
    m_data = false;
    Result("NO CARRIER");
}

void ScriptedModem::Pump() {
    if (flood && !m_data)
        m_line.Send(std::string(1000, '\xA5'));
    m_line.Pump();
    if (m_dialCountdown > 0 && --m_dialCountdown == 0) {
        if (!m_dialResult.empty())
            Result(m_dialResult);
        m_data = m_dialResult.rfind("CONNECT", 0) == 0;
    }
}

void ScriptedModem::OnBytes(std::string& bytes) {
    if (silent || (flood && !m_data)) {
        bytes.clear();
        return;
    }
    if (m_data) {
        if (bytes == "+++") {
            bytes.clear();
            ++escapes;
            m_data = false;
            Result("OK");
            return;
        }
        std::size_t end;
        while ((end = bytes.find('\n')) != std::string::npos) {
            std::string line = bytes.substr(0, end);
            bytes.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty())
                continue;
            received.push_back(line);
            if (auto drop = m_drops.find(line); drop != m_drops.end()) {
                // The carrier goes while the answer is on its way: the modem says so
                // at once, in the same burst.
                m_line.Send(drop->second + "\r\nNO CARRIER\r\n");
                m_drops.erase(drop);
                m_data = false;
                bytes.clear();
                return;
            }
            if (auto rule = m_rules.find(line); rule != m_rules.end())
                m_line.Send(rule->second + lineEnd);
        }
        return;
    }
    while (!bytes.empty()) {
        if (m_dialCountdown > 0) {
            // Any character stops a dial under way.
            m_dialCountdown = 0;
            bytes.erase(0, 1);
            Result("NO CARRIER");
            continue;
        }
        const std::size_t end = bytes.find('\r');
        if (end == std::string::npos)
            break;
        std::string line = bytes.substr(0, end);
        bytes.erase(0, end + 1);
        // Whatever comes before "AT" is not a command (an escape seen in command mode).
        const std::size_t at = ToUpperAscii(line).find("AT");
        if (at != std::string::npos)
            Command(line.substr(at));
    }
    // Line feeds after the carriage return are ignored.
    if (!bytes.empty() && bytes.find_first_not_of('\n') == std::string::npos)
        bytes.clear();
}

void ScriptedModem::Command(const std::string& line) {
    commands.push_back(line);
    const std::string upper = ToUpperAscii(line);
    if (upper.rfind("ATD", 0) != 0) {
        if (upper.rfind("ATH", 0) == 0)
            m_data = false;
        Result("OK");
        return;
    }
    const std::string number = line.substr(3);
    dialed.push_back(number);
    m_dialCountdown = dialPumps > 0 ? dialPumps : 1;
    if (!number.empty() && number.back() == ';') {
        m_dialResult = "OK";
        return;
    }
    switch (outcome) {
    case Outcome::Connect:
        m_dialResult = connectText;
        break;
    case Outcome::Busy:
        m_dialResult = "BUSY";
        break;
    case Outcome::NoCarrier:
        m_dialResult = "NO CARRIER";
        break;
    case Outcome::NoDialTone:
        m_dialResult = "NO DIALTONE";
        break;
    case Outcome::NoAnswer:
        m_dialResult = "NO ANSWER";
        break;
    case Outcome::Error:
        m_dialResult = "ERROR";
        break;
    case Outcome::Silent:
        m_dialResult.clear();
        break;
    }
}

} // namespace tvane::tapi
