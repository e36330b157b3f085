#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "comm/CCommInterface.h"
#include "comm/DialogOwner.h"
#include "platform/tapi/TapiConstants.h"

namespace tvane::comm {

class CModemInterface;
struct RememberedNumber;

// The dial-up calls of the process: the telephony session, the line and the one call
// on it, whichever modem transport placed it. The newest modem transport is the
// current one; the call's status lines go to it. Callbacks of the telephony layer
// arrive inside the waits, which pump messages; re-entry guards keep initialising,
// shutting down and hanging up from running twice.
class ModemTelephony {
public:
    struct LineDevice {
        std::uint32_t id = 0;
        std::string name;
    };
    enum class WaitResult { Done, TimedOut, Aborted };

    // Hang-up waits give up after this long; dialling waits after the modem's own
    // limit has surely passed.
    static constexpr std::uint32_t kHangupWaitMs = 15000;
    static constexpr std::uint32_t kDialWaitMs = 180000;
    static constexpr const char* kAppName = "TapiComm";

    static ModemTelephony& Instance();

    void SetCurrent(CModemInterface* transport) { m_current = transport; }
    void ClearCurrent(CModemInterface* transport);
    CModemInterface* Current() const { return m_current; }

    bool Initialize(WindowHandle owner);
    bool Shutdown();
    // TRUE when the error is handled and the call should be tried again.
    bool HandleLineError(std::int32_t result);
    // Offers to add a modem; counts as "no device" whatever the user does.
    bool OfferControlPanel();
    // The modems a call can be placed on, in device order.
    std::vector<LineDevice> UsableDevices();

    // Opens the remembered device and dials; false (after hanging up) on failure.
    bool PlaceCall(const RememberedNumber& number);
    bool HangupCall();

    bool CallInProgress() const { return m_callInProgress; }
    bool CallConnected() const { return m_callConnected; }
    tapi::HLINEAPP App() const { return m_app; }
    std::uint32_t DeviceCount() const { return m_numDevs; }
    WindowHandle Owner() const { return m_owner; }
    void SetOwner(WindowHandle owner) { m_owner = owner; }
    // The modem configuration the next call is placed with (Configure Line); empty
    // for the modem's own.
    const std::string& DeviceConfig() const { return m_devConfig; }
    void SetDeviceConfig(std::string block) { m_devConfig = std::move(block); }
    // The last status line shown: why a call that did not connect ended.
    const std::string& LastStatus() const { return m_lastStatus; }

    WaitResult WaitForReply(std::int32_t request, std::int32_t& result, std::uint32_t ms);
    WaitResult WaitForCallState(std::uint32_t state, std::uint32_t ms);

    // The layer's callback: every message is logged, then handled while a modem
    // transport exists.
    static void LineCallback(std::uint32_t device, std::uint32_t message, std::uintptr_t instance,
                             std::uintptr_t param1, std::uintptr_t param2, std::uintptr_t param3);

private:
    ModemTelephony() = default;
    void Status(const std::string& text);
    bool Cancelled();
    bool Unusable(const char* title, const char* text);
    bool DialInParts(const RememberedNumber& number, std::uint32_t device, std::uint32_t version,
                     std::uint32_t capabilities);
    void OnCallState(std::uint32_t call, std::uint32_t state, std::uint32_t mode,
                     std::uint32_t privilege);
    void OnLineDevState(std::uint32_t state, std::uintptr_t p2, std::uintptr_t p3);
    void OnReply(std::int32_t request, std::int32_t result);

    CModemInterface* m_current = nullptr;
    tapi::HLINEAPP m_app = 0;
    std::uint32_t m_numDevs = 0;
    tapi::HLINE m_line = 0;
    tapi::HCALL m_call = 0;
    bool m_callInProgress = false;
    bool m_callConnected = false;
    bool m_inInitialize = false;
    bool m_inShutdown = false;
    bool m_inHangup = false;
    WindowHandle m_owner = nullptr;
    std::string m_devConfig;
    std::uint32_t m_callState = 0;
    std::int32_t m_awaitedRequest = 0;
    std::int32_t m_replyResult = 0;
    bool m_replyReceived = false;
    bool m_stopWaits = false; // a hang-up from a callback ends the waits under it
    std::string m_lastStatus;
    std::string m_canonical; // of the call placed, for its status lines
    std::string m_displayable;
};

} // namespace tvane::comm
