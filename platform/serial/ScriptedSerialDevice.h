#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"

namespace tvane {

// The far end of a serial line, played from a script: a pseudo-terminal pair whose
// slave a SerialPort opens by its path, with a device on the master side that answers
// the lines it receives. It serves as the message pump of the waits on the line, so
// it answers while the port's owner waits, in a fixed order and without threads;
// given a fake clock it also moves time on by one step per pump.
class ScriptedSerialDevice final : public IMessagePump {
public:
    // Throws std::runtime_error when no pseudo-terminal can be had.
    ScriptedSerialDevice();
    ~ScriptedSerialDevice() override;
    ScriptedSerialDevice(const ScriptedSerialDevice&) = delete;
    ScriptedSerialDevice& operator=(const ScriptedSerialDevice&) = delete;

    // Where a port opens this device.
    const std::string& PortPath() const { return m_path; }

    // Each time the line arrives (without its line end), the reply goes back
    // followed by lineEnd. A line without a rule gets no answer.
    void On(const std::string& line, const std::string& reply);
    // The same with the reply sent as raw pieces, one piece per pump.
    void OnPieces(const std::string& line, std::vector<std::string> pieces);
    void Forget(const std::string& line) { m_rules.erase(line); }
    std::string lineEnd = "\n";

    // A device that speaks more than lines (a modem) takes the received bytes itself:
    // when set, it gets the bytes not yet taken and removes what it has handled, and
    // the line rules are not used.
    std::function<void(std::string& received)> onBytes;

    // Bytes sent at the next pump, whatever was received.
    void Send(const std::string& bytes) { m_outgoing.push_back(bytes); }

    void AdvanceClockOnPump(FakeClock* clock, std::uint32_t stepMs) {
        m_clock = clock;
        m_stepMs = stepMs;
    }

    // Takes in what arrived and answers it, sends one waiting piece, then moves the
    // fake clock on.
    void Pump() override;
    // Takes in what arrived and answers it, without moving time.
    void Service();

    std::vector<std::string> received; // every line received, in order, without line end
    std::string pending;               // bytes received after the last line end

private:
    int m_master = -1;
    std::string m_path;
    std::map<std::string, std::vector<std::string>> m_rules;
    std::deque<std::string> m_outgoing;
    FakeClock* m_clock = nullptr;
    std::uint32_t m_stepMs = 0;
};

} // namespace tvane
