#include "platform/serial/ScriptedSerialDevice.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace tvane {

ScriptedSerialDevice::ScriptedSerialDevice() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        throw std::runtime_error("no pseudo-terminal available");
    char name[128] = {};
    if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        ::close(m_master);
        throw std::runtime_error("pseudo-terminal could not be set up");
    }
    m_path = name;
}

ScriptedSerialDevice::~ScriptedSerialDevice() {
    ::close(m_master);
}

void ScriptedSerialDevice::On(const std::string& line, const std::string& reply) {
    m_rules[line] = {reply + lineEnd};
}

void ScriptedSerialDevice::OnPieces(const std::string& line, std::vector<std::string> pieces) {
    m_rules[line] = std::move(pieces);
}

void ScriptedSerialDevice::Service() {
    char chunk[4096];
    for (;;) {
        // Reading also takes in what the port's side still has on its way. With the
        // port closed the master reads an error: nothing has arrived.
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0)
            break;
        pending.append(chunk, static_cast<std::size_t>(n));
    }
    if (onBytes) {
        onBytes(pending);
        return;
    }
    std::size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        received.push_back(line);
        auto rule = m_rules.find(line);
        if (rule != m_rules.end())
            m_outgoing.insert(m_outgoing.end(), rule->second.begin(), rule->second.end());
    }
}

void ScriptedSerialDevice::Pump() {
    Service();
    if (!m_outgoing.empty()) {
        const std::string& piece = m_outgoing.front();
        std::size_t done = 0;
        while (done < piece.size()) {
            const ssize_t n = ::write(m_master, piece.data() + done, piece.size() - done);
            if (n < 0 && errno != EINTR)
                break; // a line nobody reads drops the rest
            if (n > 0)
                done += static_cast<std::size_t>(n);
        }
        m_outgoing.pop_front();
    }
    if (m_clock)
        m_clock->Advance(m_stepMs);
}

} // namespace tvane
