#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/MessagePump.h"
#include "platform/serial/ScriptedSerialDevice.h"

namespace tvane::tapi {

// A Hayes modem on a pseudo-terminal, with an instrument at the far end of its calls,
// played from a script. In command mode it answers AT commands ending in a carriage
// return; a dial ends, after dialPumps pumps, with the outcome set; connected, it
// passes lines to the instrument until "+++" takes it back to command mode. Like
// ScriptedSerialDevice it is the message pump of the waits on it.
class ScriptedModem final : public IMessagePump {
public:
    enum class Outcome { Connect, Busy, NoCarrier, NoDialTone, NoAnswer, Error, Silent };

    ScriptedModem() {
        m_line.onBytes = [this](std::string& bytes) { OnBytes(bytes); };
    }

    const std::string& PortPath() const { return m_line.PortPath(); }
    // Makes this modem line device index of tapi.ini, without flow control.
    void Configure(int index, const std::string& name = "Scripted modem") const;

    // What the next whole dial ends in, and after how many pumps.
    Outcome outcome = Outcome::Connect;
    std::string connectText = "CONNECT 9600";
    int dialPumps = 3;
    // A modem that answers nothing (switched off).
    bool silent = false;
    // A modem stuck sending line noise without pause in command mode: it takes no
    // command.
    bool flood = false;

    // The instrument: each time line arrives during a call, reply and lineEnd go back.
    void On(const std::string& line, const std::string& reply) { m_rules[line] = reply; }
    std::string lineEnd = "\n";
    // The next time line arrives, only partial gets through before the carrier is lost.
    void DropDuring(const std::string& line, const std::string& partial) {
        m_drops[line] = partial;
    }
    // The far end hangs up now.
    void HangUpRemote();
    // Someone calls the modem.
    void Ring() { Result("RING"); }

    bool InDataMode() const { return m_data; }
    std::vector<std::string> commands; // AT commands, as received
    std::vector<std::string> dialed;   // what followed ATD
    std::vector<std::string> received; // lines the instrument got
    int escapes = 0;                   // "+++" received during a call

    void AdvanceClockOnPump(FakeClock* clock, std::uint32_t stepMs) {
        m_line.AdvanceClockOnPump(clock, stepMs);
    }
    void Pump() override;

private:
    void OnBytes(std::string& bytes);
    void Command(const std::string& line);
    void Result(const std::string& text) { m_line.Send("\r\n" + text + "\r\n"); }

    ScriptedSerialDevice m_line;
    std::map<std::string, std::string> m_rules;
    std::map<std::string, std::string> m_drops;
    bool m_data = false;
    int m_dialCountdown = 0; // pumps left until the dial's result
    std::string m_dialResult;
};

} // namespace tvane::tapi
