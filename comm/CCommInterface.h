#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tvane::comm {

// A window that owns the messages and dialogs of a transport; null when none. The
// setup page hands its own window to the transport it works with.
using WindowHandle = void*;

// One way of reaching an instrument. The control and its setup page use a transport
// only through these virtual operations, which keep the order the transports have
// always had; every transport overrides the pure ones.
class CCommInterface {
public:
    // One bus address of a search.
    struct SearchEntry {
        std::string line;     // result line, emptied before a search
        int32_t status = -1;  // -1 before a search
        int32_t searched = 0; // 1 when the address is in the controller's search mask
        std::string identityQuery;
    };
    static constexpr int kSearchEntries = 32;
    // The address text is kept in a 200-character field: 199 characters and a zero.
    static constexpr std::size_t kAddressChars = 199;

    virtual ~CCommInterface();
    CCommInterface(const CCommInterface&) = delete;
    CCommInterface& operator=(const CCommInterface&) = delete;

    virtual bool GetListenerMask(const std::string& controller, uint32_t& mask);
    virtual bool IsKind(int32_t kind) const = 0;
    virtual bool HasKind(int32_t kind) const = 0;
    virtual bool Initialize() = 0;
    virtual bool Open(const char* address) = 0;
    virtual bool LoadEntryPoints() = 0;
    virtual bool Prepare() = 0;
    virtual bool Connect() = 0;
    virtual bool Close() = 0;
    virtual bool Send(const char* command) = 0;
    virtual bool Transfer(int32_t a, int32_t b, int32_t c, int32_t d) = 0;
    // Reads one answer of at most size bytes. Transports that reach an instrument end
    // the text with a zero byte in place of its closing line feed; count includes it.
    virtual bool Read(char* buffer, int32_t size, int32_t& count) = 0;
    virtual bool GoToLocal() = 0;
    virtual bool GoToRemote() = 0;
    virtual bool ScanController(const std::string& controller) = 0;
    virtual bool SetAddress(const char* address) = 0;
    virtual bool SetCommTimeout(int32_t ms) = 0;
    virtual int32_t GetCommTimeout() = 0;
    virtual void SetPollTimeout(int32_t ms);
    virtual int32_t GetPollTimeout();
    virtual bool SetLanTimeout(int32_t ms);
    virtual int32_t GetLanTimeout();
    // Appends one FormatSearchLine line per instrument that passes MatchesFilter. A null
    // pattern lets everything pass; flag 1 comes from the open-any search.
    virtual bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag);
    virtual void SetExclusive(int32_t exclusive);
    virtual int32_t GetExclusive();
    virtual int16_t IsMsgAvailable() = 0;
    virtual void Clear();
    virtual bool EditSettings();
    // The controller at index, or false past the last one.
    virtual bool GetControllerName(int32_t index, std::string& name);
    virtual bool IsType(int32_t type);
    virtual int32_t GetType();
    virtual std::string GetAddress();
    // Sends the identity query and builds "model\taddress\tdescription".
    virtual bool FormatSearchLine(std::string& line);
    // Splits an IEEE 488.2 identity reply; the reply is replaced by the model name.
    virtual bool ParseIdentity(std::string& reply, std::string& description);
    virtual bool MatchesFilter(const char* text, const char* pattern);
    virtual bool IsOpen();
    virtual bool IsInstrumentResponding();
    // Asked before the control deletes the transport; false keeps it (a call the user
    // does not want to hang up).
    virtual bool ReleaseLine(bool confirm);
    virtual bool GetSerialSettings(std::string& baud, std::string& parity, std::string& handshake);

    // The error slot: code 0 when cleared, otherwise a string id of the control (or a
    // library's own code) with its text.
    void SetError(int32_t code, const char* text = nullptr);
    void ClearError();
    std::string GetErrorCode(int32_t& code) const;
    // Hands out the error and clears it; always true.
    bool GetLastError(std::string& text, int32_t& code);

    WindowHandle OwnerWindow() const { return m_owner; }
    void SetOwnerWindow(WindowHandle owner) { m_owner = owner; }
    bool PageMode() const { return m_pageMode != 0; }
    void SetPageMode(bool on) { m_pageMode = on ? 1 : 0; }
    const std::string& IdentityQuery() const { return m_identityQuery; }

    // Makes a received answer a terminated text within the caller's buffer: a
    // closing line feed (or CR LF) becomes the zero byte, and an answer that filled
    // the buffer loses its last byte to the terminator. count keeps the bytes
    // received, at most size.
    static void TerminateAnswer(char* buffer, int32_t size, int32_t& count);

protected:
    explicit CCommInterface(int32_t type);
    void StoreAddress(const char* address);
    // One step of an address search, with the transport set to the entry's
    // address: sends its identity query and appends "model\taddress\tdescription"
    // when the reply passes the filter.
    void ProbeSearchEntry(const SearchEntry& entry, const char* pattern,
                          std::vector<std::string>& results);

    int32_t m_type;
    int32_t m_errorCode = 0;
    std::string m_errorText;
    std::string m_noErrorText;
    WindowHandle m_owner = nullptr;
    int32_t m_commTimeout = 5000;
    int32_t m_pollTimeout = 10;
    int32_t m_lanTimeout = 15000;
    std::string m_address;
    int32_t m_exclusive = 0;
    int32_t m_open = 0;
    std::string m_identityQuery;
    int32_t m_addressCount = 0;
    std::array<SearchEntry, kSearchEntries> m_searchTable;
    int32_t m_pageMode = 0;
};

// What the transports' kind checks answer (IsKind / HasKind).
enum TransportKind : int32_t {
    kKindSimulated = 1,
    kKindGpib32 = 2,
    kKindRs232 = 4,
    kKindWenx = 5,
    kKindModem = 6,
};

} // namespace tvane::comm
