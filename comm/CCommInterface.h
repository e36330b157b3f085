#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tvane::comm {

// One way of reaching an instrument. The control and its setup page use a transport
// only through these virtual operations; a transport overrides the pure ones and
// those it does differently. Settings dialogs are not part of it: a transport that
// has one is also an ITransportSettings, and the window dialogs go over is the
// setup page's (DialogOwner).
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

    // What every transport does its own way.
    virtual bool Open(const char* address) = 0;
    virtual bool Close() = 0;
    virtual bool Send(const char* command) = 0;
    // Reads one answer of at most size bytes. Transports that reach an instrument end
    // the text with a zero byte in place of its closing line feed; count includes it.
    virtual bool Read(char* buffer, int32_t size, int32_t& count) = 0;
    virtual int16_t IsMsgAvailable() = 0;

    // The rest have the bodies most transports keep: a step with nothing to do
    // succeeds, the address and timeouts are stored, the kind follows the type.
    virtual bool IsKind(int32_t kind) const;
    virtual bool HasKind(int32_t kind) const;
    virtual bool Initialize();
    virtual bool LoadEntryPoints();
    virtual bool Prepare();
    virtual bool Connect();
    virtual bool Transfer(int32_t a, int32_t b, int32_t c, int32_t d);
    virtual bool GoToLocal();
    virtual bool GoToRemote();
    virtual bool ScanController(const std::string& controller);
    virtual bool SetAddress(const char* address);
    virtual bool SetCommTimeout(int32_t ms);
    virtual int32_t GetCommTimeout();
    virtual bool GetListenerMask(const std::string& controller, uint32_t& mask);
    virtual void SetPollTimeout(int32_t ms);
    virtual int32_t GetPollTimeout();
    virtual bool SetLanTimeout(int32_t ms);
    virtual int32_t GetLanTimeout();
    // Appends one FormatSearchLine line per instrument that passes MatchesFilter. A null
    // pattern lets everything pass; flag 1 comes from the open-any search.
    virtual bool Search(std::vector<std::string>& results, const char* pattern, int32_t flag);
    virtual void SetExclusive(int32_t exclusive);
    virtual int32_t GetExclusive();
    virtual void Clear();
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
    // The end every open shares: reached, the error is cleared and the transport is
    // open; otherwise failureCode is the error and the open fails.
    bool FinishOpen(bool reached, int32_t failureCode);
    // One step of an address search, with the transport set to the entry's
    // address: sends its identity query and appends "model\taddress\tdescription"
    // when the reply passes the filter.
    void ProbeSearchEntry(const SearchEntry& entry, const char* pattern,
                          std::vector<std::string>& results);

    int32_t m_type;
    int32_t m_errorCode = 0;
    std::string m_errorText;
    std::string m_noErrorText;
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
