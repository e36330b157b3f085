#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/serial/SerialPort.h"
#include "platform/tapi/LineConfiguration.h"
#include "platform/tapi/LineTypes.h"
#include "platform/tapi/TapiConstants.h"

namespace tvane::tapi {

// One open line: a modem's port and the one call on it, as a state machine driven
// by the modem's result codes and by time. It never blocks: Advance() takes what the
// modem has said and moves on, and the layer calls it whenever it is pumped.
class ModemLine {
public:
    // Queues a callback message (message, device handle, param1..3).
    using Post = std::function<void(std::uint32_t message, std::uint32_t device, std::uintptr_t p1,
                                    std::uintptr_t p2, std::uintptr_t p3)>;

    enum class Phase {
        NoCall,
        Initializing,    // the Init command is out, waiting for OK
        DialingPart,     // "ATD…;" is out, waiting for OK
        PartDialled,     // a part is dialled; the next comes with lineDial
        Calling,         // the last "ATD…" is out, waiting for the result
        Connected,       // data phase: the port is the caller's
        Ended,           // busy, no carrier…: the modem is back in command mode
        DropDtr,         // hanging up: DTR is low for a moment
        DropGuardBefore, // silence before the escape
        DropGuardAfter,  // silence after the escape
        DropAbort,       // a dial is being cut short: waiting for its result
        DropHangup,      // "ATH0" is out, waiting for OK
        Idle,            // dropped; waiting to be deallocated
    };

    // How long the modem gets to answer a command, and the guard times of the escape.
    static constexpr std::uint32_t kCommandMs = 3000;
    static constexpr std::uint32_t kDtrLowMs = 500;
    static constexpr std::uint32_t kGuardMs = 1000;
    // A modem that sends this much while it should answer one command is not
    // answering: it is flooding the line.
    static constexpr std::size_t kFloodBytes = 4096;

    ModemLine(HLINE handle, std::uint32_t deviceId, const ModemDevice& device,
              std::uintptr_t instance, Post post);
    ~ModemLine();
    ModemLine(const ModemLine&) = delete;
    ModemLine& operator=(const ModemLine&) = delete;

    // Opens the port: 0, LINEERR_ALLOCATED when another holds it, else
    // LINEERR_OPERATIONFAILED.
    std::int32_t Open();
    // Lowers DTR on a call that is still up and closes the port.
    void Close();

    HLINE Handle() const { return m_handle; }
    std::uint32_t DeviceId() const { return m_deviceId; }
    std::uintptr_t Instance() const { return m_instance; }
    HCALL Call() const { return m_call; }
    Phase CurrentPhase() const { return m_phase; }
    bool HasCall() const { return m_phase != Phase::NoCall; }
    void SetSettings(const ModemSettings& settings) { m_device.settings = settings; }
    void SetStatusMessages(std::uint32_t lineStates) { m_lineStates = lineStates; }

    // The request ids are the layer's; each gets its LINE_REPLY.
    std::int32_t MakeCall(HCALL call, std::int32_t request, const std::string& dest);
    std::int32_t Dial(std::int32_t request, const std::string& dest);
    std::int32_t Drop(std::int32_t request);
    std::int32_t Deallocate();
    LineCallStatus CallStatus() const;
    // A duplicate of the port's descriptor for "comm/datamodem": of the line when it
    // is open, of the call only once connected.
    std::int32_t DataModemId(bool ofCall, LineDeviceId* id) const;

    // The descriptor to wait on while the layer reads the modem; -1 when it does not.
    int WaitDescriptor() const;
    void Advance();

private:
    void Enter(Phase phase, std::uint32_t ms = 0);
    bool Expired() const;
    void Write(const std::string& text);
    void Reply(std::int32_t result);
    void State(std::uint32_t state, std::uint32_t mode = 0);
    void SendDial(const std::string& dest);
    void OnResult(const std::string& result);
    void OnTimeout();
    void Ended(std::uint32_t state, std::uint32_t mode);
    // The drop is answered and the call is idle.
    void FinishDrop(std::int32_t result);
    // The make-call fails while the modem is being initialised, for the reason given.
    void FailInitializing(std::string why);

    HLINE m_handle;
    std::uint32_t m_deviceId;
    ModemDevice m_device;
    std::uintptr_t m_instance;
    Post m_post;
    SerialPort m_port;
    std::uint32_t m_lineStates = 0;

    HCALL m_call = 0;
    Phase m_phase = Phase::NoCall;
    std::uint32_t m_phaseStart = 0;
    std::uint32_t m_phaseMs = 0;
    std::uint32_t m_callState = 0;
    std::uint32_t m_callStateMode = 0;
    std::int32_t m_request = 0; // make-call or dial awaiting its reply
    std::int32_t m_dropRequest = 0;
    std::string m_pendingDial;    // the number to dial once the Init command is done
    bool m_dialStarted = false;   // DIALING has been reported
    std::string m_input;          // modem output not yet a whole line
    std::size_t m_phaseBytes = 0; // bytes the modem sent since the phase began
    std::string m_failure;        // why the last request failed, for CallStatus
    std::uint32_t m_rings = 0;
};

} // namespace tvane::tapi
