#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "comm/CCommInterface.h"
#include "comm/PropertyExchange.h"

namespace tvane::comm {

// What a search returns: the selected instrument.
struct SearchSelection {
    int32_t type = -1;
    std::string address;
    std::string instId;
    std::string interfaceName;
};

// The communications control: owns at most one transport and carries the caller's
// messages over it. Plain C++; the COM object wraps it and maps results to HRESULTs,
// BSTRs and VARIANTs.
class CCommCtrl {
public:
    CCommCtrl();
    ~CCommCtrl();
    CCommCtrl(const CCommCtrl&) = delete;
    CCommCtrl& operator=(const CCommCtrl&) = delete;

    // Properties.
    int16_t InterfaceType() const { return m_interfaceType; }
    void SetInterfaceType(int16_t type);
    const std::string& InterfaceName() const { return m_interfaceName; }
    const std::string& ControllerName() const { return m_controllerName; }
    void SetControllerName(std::string name) { m_controllerName = std::move(name); }
    int16_t Address() const { return m_address; }
    void SetAddress(int16_t address) { m_address = address; }
    int32_t Exclusive() const { return m_exclusive; }
    void SetExclusive(int32_t exclusive) { m_exclusive = exclusive; }
    const std::string& InstID() const { return m_instId; }
    void SetInstID(std::string id) { m_instId = std::move(id); }
    const std::string& IdentityLine() const { return m_identityLine; }
    const std::string& AddressText() const { return m_addressText; }
    CCommInterface* Transport() const { return m_transport.get(); }

    // The properties a container stores: "InterfaceName" (which holds the type
    // number, as stored controls have it), "ControllerName" and "Address".
    void ExchangeProperties(IPropertyExchange& px);

    // Set by property changes that a container would store.
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    // The control's own error; code 0 clears it.
    void SetError(int32_t code, const char* text = nullptr);
    void ClearError();
    int32_t ErrorCode() const { return m_errorCode; }
    const std::string& ErrorText() const { return m_errorText; }

    // A transport exists and is open; a missing one records error 1007.
    bool IsValidInterface();
    // Opens a transport by interface name ("any" tries every bus) at an address text;
    // empty arguments (and exclusive -1) mean the current properties.
    bool OpenInterface(const std::string& name, const std::string& address, int16_t exclusive);
    // The dispatch form: omitted arguments count as empty (and exclusive -1); the
    // texts are cut to 30 characters.
    bool Open(const std::optional<std::string>& name, const std::optional<std::string>& address,
              std::optional<int16_t> exclusive);
    bool Close();
    bool SendMsg(const char* text);
    // A received answer up to its terminator; nothing when the read fails.
    std::optional<std::string> RecvMsg();
    // Reads into the caller's buffer, which is always left holding a terminated text
    // within size; count is untouched when there is no valid transport.
    bool RecvRawMsg(char* buffer, int32_t size, int32_t& count);
    // Sends; a text holding a '?' also reads the answer.
    std::optional<std::string> SendQuery(const std::string& text);
    int16_t IsMsgAvailable();
    int16_t ClearInstrument();
    bool GoToLocal();
    bool GoToRemote();
    bool IsInstrumentResponding();
    bool GetSerialSettings(std::string& baud, std::string& parity, std::string& handshake);
    // The open transport's error (cleared by this), or the control's own; false and
    // nothing written when neither exists.
    bool GetCommError(std::string& text, int32_t& code);
    // The exclusive property as the dispatch interface sets it: applied to the link.
    void PutExclusive(int32_t exclusive);
    void ApplyExclusive(int32_t exclusive);

    // Time-outs of the open transport; false (nothing done) without one.
    bool GetCommTimeout(int32_t& ms);
    bool PutCommTimeout(int32_t ms);
    bool GetLanTimeout(int32_t& ms);
    bool PutLanTimeout(int32_t ms);
    bool GetPollTimeout(int32_t& ms);
    bool PutPollTimeout(int32_t ms);

    // The interactive search in the Communication Setup sheet; type -1 starts on the
    // last interface. Nothing when cancelled or when the sheet is not available.
    std::optional<SearchSelection> Search(int32_t type, const char* pattern, int32_t flag);
    // Shows the property frame; false when it is not available.
    bool ShowProperties();

private:
    bool OpenTransport(const std::string& address);
    bool OpenAny(const char* pattern, int16_t exclusive);
    bool TryControllers(const char* pattern, int16_t exclusive, bool useListenerMask, int16_t type,
                        const char* name);
    void DropTransport();
    void SplitAddress(const std::string& address);

    int32_t m_errorCode = 0;
    std::string m_errorText;
    std::string m_noErrorText;
    std::unique_ptr<CCommInterface> m_transport;
    std::string m_identityLine;
    std::string m_addressText;
    std::string m_interfaceName;
    std::string m_instId = "None";
    int16_t m_interfaceType = 0;
    std::string m_controllerName = "None";
    int16_t m_address = -1;
    int32_t m_exclusive = 0;
    bool m_modified = false;
};

} // namespace tvane::comm
